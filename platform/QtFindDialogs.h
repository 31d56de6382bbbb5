#pragma once

#include "platform/FindDialogs.h"

#include <QPointer>

class QCheckBox;
class QDialog;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace platform {

// The classic find (or replace) dialog as a small modeless QDialog, owned by
// the window that opened it. It is built at its first opening and kept,
// hidden, between openings; what was typed survives even a new owner.
class QtFindDialog : public FindDialog {
public:
    explicit QtFindDialog(bool withReplace);
    ~QtFindDialog() override;

    void show(QWidget *owner, FindDialogEvents events) override;
    void close() override;
    bool isOpen() const override;
    QString findText() const override { return findText_; }
    QString replaceText() const override { return withReplace_ ? replaceText_ : QString(); }
    bool matchCase() const override { return matchCase_; }
    bool wholeWord() const override { return wholeWord_; }
    bool searchDown() const override { return withReplace_ || down_; }

    // The dialog window while it exists.
    QDialog *window() const { return dialog_; }

private:
    void build(QWidget *owner);
    void run(const std::function<void()> &event) const;
    void updateButtons();

    bool withReplace_;
    QPointer<QDialog> dialog_;
    QLineEdit *findEdit_ = nullptr;
    QLineEdit *replaceEdit_ = nullptr;
    QPushButton *findNext_ = nullptr;
    QPushButton *replace_ = nullptr;
    QPushButton *replaceAll_ = nullptr;
    FindDialogEvents events_;
    QString findText_;
    QString replaceText_;
    bool matchCase_ = false;
    bool wholeWord_ = false;
    bool down_ = true;
};

class QtFindDialogs : public FindDialogs {
public:
    FindDialog &findDialog() override { return find_; }
    FindDialog &replaceDialog() override { return replace_; }

private:
    QtFindDialog find_{false};
    QtFindDialog replace_{true};
};

} // namespace platform
