#pragma once
// The desktop seams on Windows: the foreground window and its texts,
// activation, synthesised keys (keybd_event, VkKeyScanA) and the clipboard
// written as CF_TEXT only.
#include <chrono>
#include <cstdint>
#include <functional>
#include <string>

#include "platform/Desktop.h"

class TWin32Desktop : public IWindowSystem, public IKeyInjector, public IClipboardWriter {
 public:
  TWin32Desktop() = default;
  ~TWin32Desktop() override;
  TWin32Desktop(const TWin32Desktop&) = delete;
  TWin32Desktop& operator=(const TWin32Desktop&) = delete;

  TWindowHandle ForegroundWindow() override;
  std::string ClassName(TWindowHandle window) override;
  std::string Caption(TWindowHandle window) override;
  // The rectangle query serves as the test that the handle still names a window.
  bool IsWindow(TWindowHandle window) override;
  // Asks for the foreground and answers (before returning) true only once the
  // window really is the foreground window; the request is repeated until
  // ActivationTimeout has passed, then the answer is false.
  void Activate(TWindowHandle window, std::function<void(bool)> answer) override;

  // Navigation keys go with the extended-key flag, so that they arrive as
  // the keys of the navigation block and not as those of the keypad.
  void SendKey(uint8_t vk, bool down) override;
  int16_t KeyScan(char ch) override;

  // Opens the clipboard (a few short retries while another program holds
  // it), empties it and places the text as CF_TEXT. Throws
  // std::runtime_error("Cannot open clipboard") when it stays held.
  bool SetText(const std::string& text) override;

  // Whether the key is sent with KEYEVENTF_EXTENDEDKEY.
  static bool IsExtendedKey(uint8_t vk);

  std::chrono::milliseconds ActivationTimeout{500};

 private:
  void* clipboardOwner_ = nullptr;  // a message-only window of this thread
};

// Installs one desktop for the rest of the run as window system, key
// injector and clipboard writer.
void InstallWin32Desktop();
