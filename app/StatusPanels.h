#pragma once

#include <QString>

class QDateTime;
class QLocale;
class StatusBar;
enum class TAlignment;

// The two status bars' panels by name, and every text written into them.
class StatusPanels {
public:
    // StatusBar1, left to right.
    enum Panel { Caret = 0, Modified = 1, FontName = 2, FontSize = 3, KeyboardLayout = 4, Alignment = 5,
                 Clock = 6, Length = 7, PanelCount = 8 };
    // StatusBar2, left to right.
    enum LockPanel { CapsLock = 0, ScrollLock = 1, NumLock = 2, LockPanelCount = 3 };

    StatusPanels(StatusBar &bar1, StatusBar &bar2) : bar1_(bar1), bar2_(bar2) {}

    // Panel widths from the bars' current widths: the lock keys share their
    // bar, the others are fourteenths of theirs; all but the caret centred.
    void layOut();

    void showCaret(int line, int column); // both 0-based
    void showModified(bool modified);
    // In the modified marker's place until the next change, the reason as its tip.
    void showCopyNotWritten(const QString &text, const QString &reason);
    void showFont(const QString &name, int size);
    void showKeyboardLayout(bool english, bool russianLayout);
    void showAlignment(TAlignment alignment, bool english);
    void showClock(const QDateTime &now, const QLocale &locale);
    void showLockKeys(bool capsLock, bool scrollLock, bool numLock);
    void showLength(int length);

private:
    StatusBar &bar1_;
    StatusBar &bar2_;
};
