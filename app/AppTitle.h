#pragma once

// The application title: the taskbar text, the error box title and the tail of
// the window title.
inline constexpr char kAppTitle[] = "Veltrix 3.0";
