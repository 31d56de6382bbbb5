#pragma once

#include "app/ShortcutTable.h"

#include <QObject>
#include <functional>

class QWidget;

// Hands the menus' shortcut keys typed anywhere in `window` to the menu item
// that carries them: while a control that carries the context menu has the
// focus, the context menu is asked first. An open menu keeps its keys.
class ShortcutDispatcher : public QObject {
    Q_OBJECT
public:
    using ContextMenuTest = std::function<bool(QWidget *focused)>;
    using MenuItemRunner = std::function<void(const QString &item)>;

    // Watches the whole application's key events from now until destroyed.
    ShortcutDispatcher(QWidget &window, ContextMenuTest contextMenuFirst, MenuItemRunner runMenuItem);
    ~ShortcutDispatcher() override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QWidget &window_;
    ContextMenuTest contextMenuFirst_;
    MenuItemRunner runMenuItem_;
    ShortcutTable table_ = ShortcutTable::fromMenus();
};
