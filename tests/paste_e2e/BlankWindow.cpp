#include "BlankWindow.h"

#include <X11/Xlib.h>

unsigned long CreateBlankWindow() {
  static Display* display = XOpenDisplay(nullptr);  // lives as long as the window
  if (display == nullptr) return 0;
  const Window window =
      XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0, 120, 80, 0, 0, 0xFFFFFF);
  XMapWindow(display, window);
  XSync(display, False);
  return window;
}
