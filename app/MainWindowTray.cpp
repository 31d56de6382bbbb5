// The notification-area icon: minimizing hides the window there, a double
// click on the icon brings it back, a click opens the context menu.
#include "app/Unit1.h"

#include "platform/Platform.h"

#include <QCursor>
#include <QGuiApplication>
#include <QMenu>
#include <QSessionManager>
#include <QTimer>
#include <QWindowStateChangeEvent>

namespace {
const char kTrayTip[] = "Veltrix 2.0";
}

void TForm1::connectTray()
{
    platform_.trayIcon().setActivationHandler([this](platform::TrayIcon::Activation activation) {
        run(nullptr, [&] {
            if (activation == platform::TrayIcon::Activation::DoubleClick) {
                RemoveTrayIcon();
                RestoreFromTray();
            } else {
                ShowTrayMenu();
            }
        });
    });
    // Log-off and shutdown ask like a close does; Cancel refuses them.
    connect(qApp, &QGuiApplication::commitDataRequest, this, [this](QSessionManager &manager) {
        if (!manager.allowsInteraction())
            return;
        bool allowed = false;
        run(nullptr, [&] { allowed = FormCloseQuery(); });
        manager.release();
        if (!allowed)
            manager.cancel();
    });
}

void TForm1::changeEvent(QEvent *event)
{
    QMainWindow::changeEvent(event);
    if (event->type() != QEvent::WindowStateChange)
        return;
    if (!isMinimized()) {
        shownState_ = windowState();
        return;
    }
    // Without a tray the window minimizes as any other: it must stay reachable.
    if (platform_.trayIcon().isAvailable()) {
        QTimer::singleShot(0, this, [this] {
            HideToTray();
            AddTrayIcon();
        });
    }
}

void TForm1::AddTrayIcon()
{
    platform_.trayIcon().show(QString::fromLatin1(kTrayTip));
}

void TForm1::RemoveTrayIcon()
{
    platform_.trayIcon().hide();
}

void TForm1::HideToTray()
{
    hide();
}

void TForm1::RestoreFromTray()
{
    setWindowState(shownState_ & ~Qt::WindowMinimized);
    show();
    // On Wayland the compositor decides: raise() does nothing there, and the
    // activation Qt asks for (xdg-activation) may be shown as a request for
    // attention instead when another program has the focus.
    raise();
    activateWindow();
}

void TForm1::ShowTrayMenu()
{
    const QPoint pointer = QCursor::pos();
    PopupMenu1->popup(pointer);
    PopupMenu1->activateWindow();
}
