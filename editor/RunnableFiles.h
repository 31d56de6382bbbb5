#pragma once

#include <QString>

// Whether the desktop could take a file for a program to start rather than a
// document to show: handing it to the shell's "open" might run it.
namespace runnablefiles {

// True for programs, scripts, launchers and installers: an executable bit, a
// "#!" start, a name ending the desktop runs (.desktop, .sh, .exe…) or a type
// the MIME database counts as runnable. Anything that is neither a plain file
// nor a folder, and a file that cannot be looked into, counts as runnable too.
// Only the first bytes of a plain file are read; a pipe is never opened for
// reading.
bool isRunnable(const QString &path);

} // namespace runnablefiles
