#pragma once
// The desktop seams of the paste path: the window system (foreground window,
// window texts, validity, activation), synthesised key input and the
// clipboard. The core talks only to these interfaces; the program installs
// the desktop's implementation (X11 on Linux, Win32 on Windows) and tests
// install fakes. With nothing installed, a null desktop answers "no window",
// refuses every activation and drops keys and texts.
#include <cstdint>
#include <functional>
#include <string>

#include "paste/LastWindow.h"

class IWindowSystem {
 public:
  virtual ~IWindowSystem() = default;
  // The window that has the focus system-wide, or kNoWindow.
  virtual TWindowHandle ForegroundWindow() = 0;
  // The window's class name and caption, whole; empty when the system has none.
  virtual std::string ClassName(TWindowHandle window) = 0;
  virtual std::string Caption(TWindowHandle window) = 0;
  // Whether the handle still names a window whose attributes can be read.
  virtual bool IsWindow(TWindowHandle window) = 0;
  // Asks for the window to become the active one. `answer` gets true once it
  // really is active and false when the system refused or did not comply in
  // time. It may be called before Activate returns or later from the event
  // loop, never both, and exactly once. A newer request supersedes a pending
  // one, which is then answered false.
  virtual void Activate(TWindowHandle window, std::function<void(bool)> answer) = 0;
};

class IKeyInjector {
 public:
  virtual ~IKeyInjector() = default;
  // One synthesised press (down) or release of a Windows virtual key.
  virtual void SendKey(uint8_t vk, bool down) = 0;
  // The key that types `ch` on the present keyboard layout: the virtual-key
  // code in the low byte, the shift state in the high byte (1 Shift, 2 Ctrl,
  // 4 Alt); -1 when no key types it.
  virtual int16_t KeyScan(char ch) = 0;
};

class IClipboardWriter {
 public:
  virtual ~IClipboardWriter() = default;
  // Replaces the clipboard's contents with the text. False when the system
  // clipboard does not hold it afterwards (another program kept it).
  virtual bool SetText(const std::string& text) = 0;
};

// The installed implementations (the null desktop when none is). Installing
// does not transfer ownership; pass nullptr to go back to the null desktop.
IWindowSystem& WindowSystem();
IKeyInjector& KeyInjector();
IClipboardWriter& ClipboardWriter();
void SetWindowSystem(IWindowSystem* windowSystem);
void SetKeyInjector(IKeyInjector* injector);
void SetClipboardWriter(IClipboardWriter* clipboard);
