#pragma once

#include "platform/FindDialogs.h"

namespace platform {

// A find or replace dialog that never appears: tests fill in its fields and
// press its buttons as the user would.
class FakeFindDialog : public FindDialog {
public:
    explicit FakeFindDialog(bool withReplace) : withReplace_(withReplace) {}

    void show(QWidget *owner, FindDialogEvents newEvents) override;
    void close() override;
    bool isOpen() const override { return open; }
    QString findText() const override { return findFieldText(findWhat); }
    QString replaceText() const override { return withReplace_ ? findFieldText(replaceWith) : QString(); }
    bool matchCase() const override { return matchCaseTicked; }
    bool wholeWord() const override { return wholeWordTicked; }
    bool searchDown() const override { return withReplace_ || !upChosen; }

    // The user's buttons. Each does what the real one does and returns false
    // where the real one could not be pressed: the dialog is closed, "Find
    // what" is empty, or the button is not on this dialog.
    bool pressFindNext();
    bool pressReplace();
    bool pressReplaceAll();
    bool pressCancel();

    // The fields as typed; the dialog reads them back as its one-line fields
    // would hold them.
    QString findWhat;
    QString replaceWith;
    bool matchCaseTicked = false;
    bool wholeWordTicked = false;
    bool upChosen = false;

    bool open = false;
    int shown = 0; // every request to show or raise it
    QWidget *owner = nullptr;
    FindDialogEvents events;

private:
    bool press(const std::function<void()> &event, bool onThisDialog);

    bool withReplace_;
};

class FakeFindDialogs : public FindDialogs {
public:
    FindDialog &findDialog() override { return find; }
    FindDialog &replaceDialog() override { return replace; }

    FakeFindDialog find{false};
    FakeFindDialog replace{true};
};

} // namespace platform
