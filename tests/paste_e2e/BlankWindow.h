#pragma once
// A top-level window with neither a class name nor a caption, on a connection
// of its own, like the tray icon's hidden window that takes the front while
// the tray menu is open. Returns its id (0 when the display cannot be opened).
unsigned long CreateBlankWindow();
