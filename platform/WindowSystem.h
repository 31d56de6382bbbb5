#pragma once

// What the desktop's window system lets the program do.
namespace platform {

// False on Wayland: a client can neither place its windows nor learn where
// the compositor put them, so a position Qt reports there is not the window's.
bool windowPositionsKnown();

} // namespace platform
