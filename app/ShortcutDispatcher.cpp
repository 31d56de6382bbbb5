#include "app/ShortcutDispatcher.h"

#include "platform/ShortcutKey.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMenu>

ShortcutDispatcher::ShortcutDispatcher(QWidget &window, ContextMenuTest contextMenuFirst, MenuItemRunner runMenuItem)
    : window_(window), contextMenuFirst_(std::move(contextMenuFirst)),
      runMenuItem_(std::move(runMenuItem))
{
    qApp->installEventFilter(this);
}

ShortcutDispatcher::~ShortcutDispatcher()
{
    qApp->removeEventFilter(this);
}

bool ShortcutDispatcher::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::ShortcutOverride && event->type() != QEvent::KeyPress)
        return false;
    auto *widget = qobject_cast<QWidget *>(watched);
    if (!widget)
        return false;
    if (qobject_cast<QMenu *>(widget)) {
        // An open menu keeps its keys: no shortcut fires while it is shown.
        if (event->type() == QEvent::ShortcutOverride)
            event->accept();
        return false;
    }
    if (widget->window() != &window_)
        return false;
    const ShortcutTable::Entry *entry =
        table_.find(platform::shortcutKey(*static_cast<QKeyEvent *>(event)), contextMenuFirst_(widget));
    if (!entry)
        return false;
    if (event->type() == QEvent::ShortcutOverride) {
        // Keep the key from the focused control's own handling and from Qt's
        // shortcut map; it arrives again as a key press.
        event->accept();
        return true;
    }
    if (entry->hasAction)
        runMenuItem_(entry->item);
    return true;
}
