#pragma once

#include <QGuiApplication>

// The busy (wait) cursor over the whole program while a long piece of work
// runs; the cursor before it comes back when the guard goes, however the work
// ends. An error raised in the work unwinds through the guard before the
// error box shows, so that box never gets the wait cursor. Keep the guard
// around the work only: a dialog or message box shown inside its scope would
// get the wait cursor.
class BusyCursor {
public:
    BusyCursor() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
    ~BusyCursor() { QGuiApplication::restoreOverrideCursor(); }
    BusyCursor(const BusyCursor &) = delete;
    BusyCursor &operator=(const BusyCursor &) = delete;
};
