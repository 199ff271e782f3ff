#pragma once
// The desktop seams on X11: EWMH for the foreground window and activation,
// WM_CLASS and _NET_WM_NAME / WM_NAME for the window texts, XTest for keys.
// Uses its own connection to the display. Activation does not block: after
// the request it polls _NET_ACTIVE_WINDOW and the input focus through the
// scheduler the program provides (its event loop), and answers once the
// window really is active, has the focus and no other client grabs the
// keyboard, or false after ActivationTimeout.
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "platform/Desktop.h"

class TX11Desktop : public IWindowSystem, public IKeyInjector {
 public:
  // Runs `task` once, `delayMs` milliseconds from now, from the event loop.
  using TScheduler = std::function<void(int delayMs, std::function<void()> task)>;

  // Null when the display cannot be opened ($DISPLAY when displayName is null).
  static std::unique_ptr<TX11Desktop> Open(TScheduler scheduler, const char* displayName = nullptr);
  ~TX11Desktop() override;
  TX11Desktop(const TX11Desktop&) = delete;
  TX11Desktop& operator=(const TX11Desktop&) = delete;

  TWindowHandle ForegroundWindow() override;
  std::string ClassName(TWindowHandle window) override;
  std::string Caption(TWindowHandle window) override;
  bool IsWindow(TWindowHandle window) override;
  void Activate(TWindowHandle window, std::function<void(bool)> answer) override;

  // A key whose keysym has no keycode on the present keymap is not sent.
  void SendKey(uint8_t vk, bool down) override;
  int16_t KeyScan(char ch) override;

  // Whether the server offers XTest (without it keys are dropped).
  bool HasXTest() const { return xtest_; }
  // The keysym of a Windows virtual key (US layout for the OEM keys); 0 when none.
  static unsigned long KeysymOfVirtualKey(uint8_t vk);

  std::chrono::milliseconds ActivationTimeout{500};
  int PollIntervalMs = 1;

 private:
  struct TState;
  explicit TX11Desktop(std::unique_ptr<TState> state);
  void Poll(uint64_t request, TWindowHandle window, std::chrono::steady_clock::time_point deadline);
  bool IsActive(TWindowHandle window);
  bool HasFocus(TWindowHandle window);
  // Whether another client holds an active grab of the keyboard.
  bool KeyboardGrabbed();
  void RefreshKeymap();

  std::unique_ptr<TState> s_;
  bool xtest_ = false;
  std::shared_ptr<int> alive_ = std::make_shared<int>(0);
};

// Waits until the X server has handled every request sent so far on the given
// Xlib display (a Display*), e.g. the toolkit's own connection.
void X11SyncDisplay(void* display);
