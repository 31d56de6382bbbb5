#include "app/Accessibility.h"

#include "editor/RichEditAccessible.h"
#include "editor/TRxRichEdit.h"

#include <QAccessibleWidget>
#include <QToolButton>

namespace {

// Qt gives a split tool button (MenuButtonPopup) the role of a menu button,
// whose only action opens the menu: the button's own command is out of reach
// without a mouse. Every tool button gets this interface, since Qt asks for it
// when the button is made, before it has a menu.
class ToolButtonAccessible : public QAccessibleWidget {
public:
    explicit ToolButtonAccessible(QToolButton *button) : QAccessibleWidget(button, QAccessible::PushButton) {}

    QAccessible::Role role() const override
    {
        if (button()->menu())
            return QAccessible::ButtonDropDown;
        return button()->isCheckable() ? QAccessible::CheckBox : QAccessible::PushButton;
    }

    QString text(QAccessible::Text t) const override
    {
        QString text = QAccessibleWidget::text(t);
        if (t == QAccessible::Name && text.isEmpty())
            text = QString(button()->text()).remove(QLatin1Char('&'));
        return text;
    }

    QAccessible::State state() const override
    {
        QAccessible::State state = QAccessibleWidget::state();
        state.hasPopup = button()->menu() != nullptr;
        if (button()->isCheckable()) {
            state.checkable = true;
            state.checked = button()->isChecked();
        }
        state.pressed = button()->isDown();
        return state;
    }

    QStringList actionNames() const override
    {
        if (!widget()->isEnabled())
            return {};
        QStringList names{pressAction()};
        if (button()->isCheckable())
            names << toggleAction();
        if (button()->menu())
            names << showMenuAction();
        return names;
    }

    void doAction(const QString &action) override
    {
        if (!widget()->isEnabled())
            return;
        if (action == pressAction() || action == toggleAction())
            button()->click();
        else if (action == showMenuAction() && button()->menu())
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
    // Qt's text edit interface places every character on the first line
    // under our layout, and its value is the whole text.
    if (className == QLatin1String("TRxRichEdit"))
        return new RichEditAccessible(static_cast<TRxRichEdit *>(widget));
    if (className == QLatin1String("QToolButton"))
        return new ToolButtonAccessible(static_cast<QToolButton *>(widget));
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
