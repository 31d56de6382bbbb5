#pragma once

// What a screen reader sees of the program beyond Qt's defaults: every
// top-level window is a frame named by its title, and a tool button with a
// drop-down menu can be pressed as well as opened, and the editor's text is
// read and placed by the editor's own interface. Install once, after the
// application object exists.
void installAccessibleInterfaces();
