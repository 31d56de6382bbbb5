#pragma once

#include <QIcon>
#include <QString>

// Picture of a tool button, chosen by the button's component name
// ("ToolButton1" ... "ToolButton43"). The desktop icon theme supplies the
// picture where it has a fitting standard icon that can actually be read;
// otherwise a picture drawn here is used, so no button is ever blank. An
// unknown name gets a generic drawn picture.
QIcon toolbarIcon(const QString &buttonName);

// The program's own icon (window, task bar, tray).
QIcon applicationIcon();
