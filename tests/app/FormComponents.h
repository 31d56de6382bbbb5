#pragma once

#include "app/Document.h"
#include "app/Unit1.h"
#include "editor/TRxRichEdit.h"
#include "widgets/ColorBox.h"
#include "widgets/Ruler.h"
#include "widgets/StatusBar.h"
#include "widgets/UpDown.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QTimer>
#include <QToolButton>
#include <gtest/gtest.h>

// The main window's components, found by their object names as a user's
// tools (and assistive technology) find them.
template <typename T>
T *component(const TForm1 &form, const QString &name)
{
    T *found = form.findChild<T *>(name);
    EXPECT_NE(found, nullptr) << name.toStdString();
    return found;
}

inline TRxRichEdit *RxRichEdit1(const TForm1 &f) { return component<TRxRichEdit>(f, "RxRichEdit1"); }
inline QWidget *CoolBar1(const TForm1 &f) { return component<QWidget>(f, "CoolBar1"); }
inline RulerBand *Panel1(const TForm1 &f) { return component<RulerBand>(f, "Panel1"); }
inline StatusBar *StatusBar1(const TForm1 &f) { return component<StatusBar>(f, "StatusBar1"); }
inline StatusBar *StatusBar2(const TForm1 &f) { return component<StatusBar>(f, "StatusBar2"); }
inline QComboBox *ComboBox1(const TForm1 &f) { return component<QComboBox>(f, "ComboBox1"); }
inline QLineEdit *Edit1(const TForm1 &f) { return component<QLineEdit>(f, "Edit1"); }
inline TUpDown *UpDown1(const TForm1 &f) { return component<TUpDown>(f, "UpDown1"); }
inline TColorBox *ColorBox1(const TForm1 &f) { return component<TColorBox>(f, "ColorBox1"); }
inline TColorBox *ColorBox2(const TForm1 &f) { return component<TColorBox>(f, "ColorBox2"); }
inline QCheckBox *CB1(const TForm1 &f) { return component<QCheckBox>(f, "CB1"); }
inline QCheckBox *CB2(const TForm1 &f) { return component<QCheckBox>(f, "CB2"); }
inline QCheckBox *CB3(const TForm1 &f) { return component<QCheckBox>(f, "CB3"); }
inline QMenu *PopupMenu1(const TForm1 &f) { return component<QMenu>(f, "PopupMenu1"); }
inline QMenu *PopupMenu2(const TForm1 &f) { return component<QMenu>(f, "PopupMenu2"); }
inline QMenu *PopupMenu4(const TForm1 &f) { return component<QMenu>(f, "PopupMenu4"); }
inline QTimer *Timer1(const TForm1 &f) { return component<QTimer>(f, "Timer1"); }
inline QTimer *Timer2(const TForm1 &f) { return component<QTimer>(f, "Timer2"); }
inline QLabel *rulerMarker(const TForm1 &f, const char *name) { return component<QLabel>(f, name); }
inline QAction *menuItem(const TForm1 &f, const QString &name) { return component<QAction>(f, name); }
inline QToolButton *toolButton(const TForm1 &f, int number)
{
    return component<QToolButton>(f, QStringLiteral("ToolButton%1").arg(number));
}

// Every menu item of both menus and the drop-down menus, separators and
// submenus included, by name.
inline QStringList menuItemNames(const TForm1 &f)
{
    QStringList names;
    for (QAction *action : f.findChildren<QAction *>()) {
        if (!action->objectName().isEmpty() && !names.contains(action->objectName()))
            names.append(action->objectName());
    }
    return names;
}

// Switches the interface language as the user does, through the check box;
// at a first start the box is ticked for English, so one click may change nothing.
inline void useLanguage(TForm1 &f, bool english)
{
    for (int clicks = 0; clicks < 2 && f.english() != english; ++clicks)
        CB3(f)->click();
    ASSERT_EQ(f.english(), english);
}
