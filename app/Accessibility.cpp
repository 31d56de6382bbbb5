#include "app/Accessibility.h"

#include <QAccessibleWidget>
#include <QMenu>
#include <QToolButton>

namespace {

// Qt gives a split tool button (MenuButtonPopup) the role of a menu button,
// whose only action opens the menu: the button's own command is out of reach
// without a mouse.
class SplitToolButtonAccessible : public QAccessibleWidget {
public:
    explicit SplitToolButtonAccessible(QToolButton *button) : QAccessibleWidget(button, QAccessible::ButtonDropDown) {}

    QAccessible::State state() const override
    {
        QAccessible::State state = QAccessibleWidget::state();
        state.hasPopup = true;
        if (button()->isCheckable()) {
            state.checkable = true;
            state.checked = button()->isChecked();
        }
        if (button()->isDown())
            state.pressed = true;
        return state;
    }

    QStringList actionNames() const override
    {
        if (!widget()->isEnabled())
            return {};
        QStringList names{pressAction()};
        if (button()->isCheckable())
            names << toggleAction();
        return names << showMenuAction();
    }

    void doAction(const QString &action) override
    {
        if (!widget()->isEnabled())
            return;
        if (action == pressAction() || action == toggleAction())
            button()->click();
        else if (action == showMenuAction())
            button()->showMenu();
    }

    QStringList keyBindingsForAction(const QString &) const override { return {}; }

private:
    QToolButton *button() const { return static_cast<QToolButton *>(widget()); }
};

QAccessibleInterface *veltrixAccessibleFactory(const QString &className, QObject *object)
{
    if (!object || !object->isWidgetType())
        return nullptr;
    auto *widget = static_cast<QWidget *>(object);
    if (className == QLatin1String("QToolButton")) {
        auto *button = static_cast<QToolButton *>(widget);
        if (button->menu() && button->popupMode() == QToolButton::MenuButtonPopup)
            return new SplitToolButtonAccessible(button);
        return nullptr;
    }
    // The two bars of text panels; each panel is a label read by its text.
    if (className == QLatin1String("StatusBar"))
        return new QAccessibleWidget(widget, QAccessible::StatusBar);
    // A plain QWidget shown as a window (the calculator) would be a filler;
    // dialogs and the main window have interfaces of their own.
    if (className == QLatin1String("QWidget") && widget->isWindow())
        return new QAccessibleWidget(widget, QAccessible::Window);
    return nullptr;
}

} // namespace

void installAccessibleInterfaces()
{
    static bool installed = false;
    if (installed)
        return;
    installed = true;
    QAccessible::installFactory(&veltrixAccessibleFactory);
}
