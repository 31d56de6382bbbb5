#pragma once

#include <QString>
#include <functional>

// Where the settings file lives. Beside the program when the program's folder
// can be written (a build folder, a portable copy); otherwise, as for a program
// installed in a system folder, "Veltrix/Veltrix.ini" in the user's
// configuration folder, which is created when missing.
using FolderWritableCheck = std::function<bool(const QString &folder)>;

// True when a file can really be created in `folder`. Permission bits alone
// would say yes to root on a read-only file system.
bool canCreateFileIn(const QString &folder);

// $XDG_CONFIG_HOME when it names an absolute folder, else ~/.config.
QString userConfigFolder();

QString settingsFilePath(const QString &programFolder, const FolderWritableCheck &isWritable = canCreateFileIn);
