#pragma once

#include <QString>
#include <QStringList>

// What the program is asked to do by its command line (the arguments after
// the program name, Qt's own options already taken out).
namespace commandline {

enum class Request { Run, Help, Version };

struct Arguments {
    Request request = Request::Run;
    // The arguments that name existing files, as full paths, in the order
    // given: the first opens in this window, each other one in a copy of its own.
    QStringList files;
    // Every argument, files or not; any that names no file sends the window to
    // the tray when no file is given (autostart entries pass such switches).
    int count = 0;
};

// "--help" and "--version" win over everything else, the first one given.
// An argument starting with "-" is a switch, never a file, except after "--".
// Relative names are looked up from `workingFolder`.
Arguments parse(const QStringList &arguments, const QString &workingFolder);

QString helpText();
QString versionText();

} // namespace commandline
