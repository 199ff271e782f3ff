#pragma once
// The one remembered paste target: the last foreground window the tracker
// accepted, or none.
#include <cstdint>

using TWindowHandle = uintptr_t;  // HWND on Windows, the X window id on X11
inline constexpr TWindowHandle kNoWindow = 0;

extern TWindowHandle LastWindow;
