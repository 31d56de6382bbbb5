#include "platform/fakes/FakeFindDialogs.h"

#include <utility>

namespace platform {

void FakeFindDialog::show(QWidget *newOwner, FindDialogEvents newEvents)
{
    ++shown;
    owner = newOwner;
    events = std::move(newEvents);
    open = true;
}

void FakeFindDialog::close()
{
    if (!open)
        return;
    open = false;
    if (events.closed)
        events.closed();
}

bool FakeFindDialog::press(const std::function<void()> &event, bool onThisDialog)
{
    if (!open || !onThisDialog || findText().isEmpty())
        return false;
    // A copy: the handler may show the dialog again and replace the events.
    const std::function<void()> run = event;
    if (run)
        run();
    return true;
}

bool FakeFindDialog::pressFindNext() { return press(events.findNext, true); }
bool FakeFindDialog::pressReplace() { return press(events.replace, withReplace_); }
bool FakeFindDialog::pressReplaceAll() { return press(events.replaceAll, withReplace_); }

bool FakeFindDialog::pressCancel()
{
    if (!open)
        return false;
    close();
    return true;
}

} // namespace platform
