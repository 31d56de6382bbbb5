#pragma once

#include <QString>
#include <functional>

class QWidget;

namespace platform {

// What the buttons of a find or replace dialog run. Replace and Replace All
// exist only on the replace dialog; `closed` runs however the dialog closes.
struct FindDialogEvents {
    std::function<void()> findNext;
    std::function<void()> replace;
    std::function<void()> replaceAll;
    std::function<void()> closed;
};

// A modeless find or replace dialog like the desktop's classic ones. It keeps
// what was typed into it between openings; the find buttons work only while
// "Find what" holds text.
class FindDialog {
public:
    virtual ~FindDialog() = default;
    // Opens the dialog, or brings it to the front when it is open. The events
    // take the place of the ones given before.
    virtual void show(QWidget *owner, FindDialogEvents events) = 0;
    virtual void close() = 0;
    virtual bool isOpen() const = 0;
    virtual QString findText() const = 0;
    virtual QString replaceText() const = 0; // empty on the find dialog
    virtual bool matchCase() const = 0;
    virtual bool wholeWord() const = 0;
    virtual bool searchDown() const = 0; // always true on the replace dialog
};

class FindDialogs {
public:
    virtual ~FindDialogs() = default;
    virtual FindDialog &findDialog() = 0;
    virtual FindDialog &replaceDialog() = 0;
};

// The longest text a field holds, as the classic dialogs' 256-character
// buffers with their terminating zero.
inline constexpr int kFindFieldMaxLength = 255;

// What a one-line field keeps of typed or pasted text: the part before the
// first line break, at most kFindFieldMaxLength characters, never half a
// surrogate pair.
QString findFieldText(const QString &typed);

} // namespace platform
