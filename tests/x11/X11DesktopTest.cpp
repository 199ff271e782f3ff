// The X11 desktop seams against a real X server with a window manager
// (run-x11.sh starts Xvfb and openbox): window texts, validity, activation
// answered only once the window is active, and the key events that really
// arrive in the focused window.
#include <gtest/gtest.h>

// After gtest: Xlib defines macros such as None.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/keysym.h>

#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "paste/SLKeys.h"
#include "paste/clsTracker.h"
#include "platform/linux/X11Desktop.h"

namespace {

using Clock = std::chrono::steady_clock;

// The event loop of the test: the tasks the desktop schedules, run when due.
struct TLoop {
  struct TTask {
    Clock::time_point due;
    std::function<void()> task;
  };
  std::vector<TTask> tasks;

  TX11Desktop::TScheduler Scheduler() {
    return [this](int delayMs, std::function<void()> task) {
      tasks.push_back({Clock::now() + std::chrono::milliseconds(delayMs), std::move(task)});
    };
  }
  bool RunUntil(const std::function<bool()>& done, int ms) {
    const auto deadline = Clock::now() + std::chrono::milliseconds(ms);
    while (!done()) {
      if (Clock::now() > deadline) return false;
      std::vector<TTask> due;
      for (auto it = tasks.begin(); it != tasks.end();) {
        if (it->due <= Clock::now()) {
          due.push_back(std::move(*it));
          it = tasks.erase(it);
        } else {
          ++it;
        }
      }
      for (auto& t : due) t.task();
      std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
    return true;
  }
};

struct TReceived {
  bool press;
  KeySym sym;
  unsigned modifiers;  // ShiftMask | ControlMask | Mod1Mask held at the event
  bool operator==(const TReceived&) const = default;
};

std::ostream& operator<<(std::ostream& out, const TReceived& r) {
  return out << (r.press ? "press " : "release ") << XKeysymToString(r.sym) << " mods "
             << r.modifiers;
}

class X11DesktopTest : public testing::Test {
 protected:
  // One connection for the whole program: window ids of a closed connection
  // come back on the next one while the window manager may still name them.
  static void SetUpTestSuite() { display = XOpenDisplay(nullptr); }
  static void TearDownTestSuite() {
    if (display) XCloseDisplay(display);
    display = nullptr;
  }
  void SetUp() override {
    ASSERT_NE(display, nullptr) << "no X display";
    desktop = TX11Desktop::Open(loop.Scheduler());
    ASSERT_NE(desktop, nullptr);
    SetWindowSystem(desktop.get());
    SetKeyInjector(desktop.get());
  }
  void TearDown() override {
    SetWindowSystem(nullptr);
    SetKeyInjector(nullptr);
  }

  Window MakeWindow(const char* instance, const char* cls, bool map = true) {
    Window w =
        XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0, 200, 100, 0, 0, 0xFFFFFF);
    XSelectInput(display, w, KeyPressMask | KeyReleaseMask);
    if (cls) {
      XClassHint hint{const_cast<char*>(instance), const_cast<char*>(cls)};
      XSetClassHint(display, w, &hint);
    }
    if (map) XMapWindow(display, w);
    XSync(display, False);
    if (map) Settle(w);
    return w;
  }

  // Waits until the window manager has taken the window on (it sets WM_STATE)
  // and has given it the focus as it does to new windows, so that this does
  // not race with the activations a test asks for.
  void Settle(Window w) {
    const Atom wmState = XInternAtom(display, "WM_STATE", False);
    const auto managed = [&] {
      Atom type = 0;
      int format = 0;
      unsigned long count = 0, after = 0;
      unsigned char* data = nullptr;
      XGetWindowProperty(display, w, wmState, 0, 2, False, AnyPropertyType, &type, &format, &count,
                         &after, &data);
      if (data) XFree(data);
      return type != 0;
    };
    loop.RunUntil(managed, 2000);
    loop.RunUntil([&] { return desktop->ForegroundWindow() == w; }, 1000);
  }

  void SetNetWmName(Window w, const std::string& name) {
    XChangeProperty(display, w, XInternAtom(display, "_NET_WM_NAME", False),
                    XInternAtom(display, "UTF8_STRING", False), 8, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(name.data()),
                    static_cast<int>(name.size()));
    XSync(display, False);
  }

  std::optional<bool> Activate(Window w, int ms = 2000) {
    std::optional<bool> answer;
    desktop->Activate(w, [&answer](bool ok) { answer = ok; });
    loop.RunUntil([&] { return answer.has_value(); }, ms);
    return answer;
  }

  // The key events the window receives up to a marker key (Pause) sent after them.
  std::vector<TReceived> Received() {
    PressShortCut(0x13);  // Pause
    std::vector<TReceived> events;
    const auto deadline = Clock::now() + std::chrono::seconds(3);
    while (Clock::now() < deadline) {
      while (XPending(display) > 0) {
        XEvent ev;
        XNextEvent(display, &ev);
        if (ev.type != KeyPress && ev.type != KeyRelease) continue;
        const KeySym sym = XLookupKeysym(&ev.xkey, 0);
        if (sym == XK_Pause) {
          if (ev.type == KeyRelease) return events;
          continue;
        }
        events.push_back(
            {ev.type == KeyPress, sym, ev.xkey.state & (ShiftMask | ControlMask | Mod1Mask)});
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    ADD_FAILURE() << "the marker key never arrived";
    return events;
  }

  TLoop loop;
  std::unique_ptr<TX11Desktop> desktop;
  static Display* display;
};

Display* X11DesktopTest::display = nullptr;

TEST_F(X11DesktopTest, ReadsClassNameAndCaption) {
  const Window w = MakeWindow("notes", "Notepad");
  XStoreName(display, w, "Caf\xE9 Latin-1");  // WM_NAME as STRING
  XSync(display, False);
  EXPECT_EQ(desktop->ClassName(w), "Notepad");
  EXPECT_EQ(desktop->Caption(w), "Caf\xC3\xA9 Latin-1");

  // A _NET_WM_NAME that is not UTF8_STRING is ignored.
  XChangeProperty(display, w, XInternAtom(display, "_NET_WM_NAME", False), XA_STRING, 8,
                  PropModeReplace, reinterpret_cast<const unsigned char*>("wrong type"), 10);
  XSync(display, False);
  EXPECT_EQ(desktop->Caption(w), "Caf\xC3\xA9 Latin-1");

  SetNetWmName(w, "\xE2\x9C\x93 UTF-8 title");  // preferred over WM_NAME
  EXPECT_EQ(desktop->Caption(w), "\xE2\x9C\x93 UTF-8 title");

  std::string longName;
  for (int i = 0; i < 300; ++i) longName += "\xC3\xBC";
  SetNetWmName(w, longName);
  EXPECT_EQ(GetWindowCaption(w), longName.substr(0, 2 * 254));

  const Window bare = MakeWindow(nullptr, nullptr);
  EXPECT_EQ(desktop->ClassName(bare), "");
  EXPECT_EQ(desktop->Caption(bare), "");
}

TEST_F(X11DesktopTest, GoneWindowIsInvalidAndRefusedAtOnce) {
  const Window w = MakeWindow("gone", "Gone");
  EXPECT_TRUE(desktop->IsWindow(w));
  XDestroyWindow(display, w);
  XSync(display, False);
  EXPECT_FALSE(desktop->IsWindow(w));
  EXPECT_EQ(desktop->ClassName(w), "");
  std::optional<bool> answer;
  desktop->Activate(w, [&answer](bool ok) { answer = ok; });
  EXPECT_EQ(answer, false);  // before Activate returned
  EXPECT_FALSE(desktop->IsWindow(0));
}

TEST_F(X11DesktopTest, ActivationIsAnsweredOnceTheWindowIsActive) {
  const Window a = MakeWindow("a", "TargetA");
  const Window b = MakeWindow("b", "TargetB");
  for (Window w : {a, b, a}) {
    EXPECT_EQ(Activate(w), true);
    EXPECT_EQ(desktop->ForegroundWindow(), w);
  }
}

TEST_F(X11DesktopTest, ActiveWindowThatLostTheFocusGetsItBack) {
  const Window w = MakeWindow("focus", "Focus");
  ASSERT_EQ(Activate(w), true);
  XSetInputFocus(display, PointerRoot, RevertToPointerRoot,
                 CurrentTime);  // as a popup may leave it
  XSync(display, False);
  EXPECT_EQ(Activate(w), true);
  Window focus = 0;
  int revert = 0;
  XGetInputFocus(display, &focus, &revert);
  EXPECT_EQ(focus, w);
}

TEST_F(X11DesktopTest, WindowTheManagerWillNotActivateIsRefusedAfterTheWait) {
  const Window shown = MakeWindow("shown", "Shown");
  ASSERT_EQ(Activate(shown), true);
  const Window hidden = MakeWindow("hidden", "Hidden", /*map=*/false);
  desktop->ActivationTimeout = std::chrono::milliseconds(300);
  const auto start = Clock::now();
  EXPECT_EQ(Activate(hidden), false);
  EXPECT_GE(Clock::now() - start, std::chrono::milliseconds(300));
  EXPECT_EQ(desktop->ForegroundWindow(), shown);
}

// Keys go to a client that grabs the keyboard, whatever has the focus: the
// activation waits for the grab to end, within the same bound.
TEST_F(X11DesktopTest, KeyboardGrabOfAnotherClientHoldsTheActivationBack) {
  const Window w = MakeWindow("grab", "Grab");
  ASSERT_EQ(Activate(w), true);
  Display* other = XOpenDisplay(nullptr);
  ASSERT_NE(other, nullptr);
  ASSERT_EQ(XGrabKeyboard(other, DefaultRootWindow(other), False, GrabModeAsync, GrabModeAsync,
                          CurrentTime),
            GrabSuccess);
  XSync(other, False);
  desktop->ActivationTimeout = std::chrono::milliseconds(300);
  EXPECT_EQ(Activate(w), false) << "refused while the grab lasts";

  // A grab that ends within the wait lets the keys go out then.
  std::optional<bool> answer;
  desktop->ActivationTimeout = std::chrono::milliseconds(2000);
  desktop->Activate(w, [&answer](bool ok) { answer = ok; });
  loop.RunUntil([] { return false; }, 150);
  EXPECT_FALSE(answer.has_value());
  XUngrabKeyboard(other, CurrentTime);
  XSync(other, False);
  loop.RunUntil([&] { return answer.has_value(); }, 2000);
  EXPECT_EQ(answer, true);
  XCloseDisplay(other);
}

TEST_F(X11DesktopTest, NewerActivationSupersedesAPendingOne) {
  const Window a = MakeWindow("a", "TargetA");
  const Window b = MakeWindow("b", "TargetB");
  ASSERT_EQ(Activate(a), true);
  std::optional<bool> first, second;
  desktop->Activate(b, [&first](bool ok) { first = ok; });
  desktop->Activate(a, [&second](bool ok) { second = ok; });
  loop.RunUntil([&] { return second.has_value(); }, 2000);
  EXPECT_EQ(first, false);
  EXPECT_EQ(second, true);
}

TEST_F(X11DesktopTest, KeysArriveInTheActiveWindowAsSynthesised) {
  const Window w = MakeWindow("keys", "Keys");
  ASSERT_EQ(Activate(w), true);

  PressShortCut(0x602D);  // Ctrl+Shift+Insert: modifiers released in press order
  EXPECT_EQ(Received(), (std::vector<TReceived>{
                            {true, XK_Shift_L, 0},
                            {true, XK_Control_L, ShiftMask},
                            {true, XK_Insert, ShiftMask | ControlMask},
                            {false, XK_Insert, ShiftMask | ControlMask},
                            {false, XK_Shift_L, ShiftMask | ControlMask},
                            {false, XK_Control_L, ControlMask},
                        }));

  PressCtrlChar('V');  // no Shift although upper case
  EXPECT_EQ(Received(), (std::vector<TReceived>{
                            {true, XK_Control_L, 0},
                            {true, XK_v, ControlMask},
                            {false, XK_v, ControlMask},
                            {false, XK_Control_L, ControlMask},
                        }));

  PressShortCut(0x8000 | 0xBD);  // Alt + the minus key (US layout)
  EXPECT_EQ(Received(), (std::vector<TReceived>{
                            {true, XK_Alt_L, 0},
                            {true, XK_minus, Mod1Mask},
                            {false, XK_minus, Mod1Mask},
                            {false, XK_Alt_L, Mod1Mask},
                        }));

  PressShortCut(0x2000 | 0x87);  // Shift+F24: F24 has no key here, nothing replaces it
  EXPECT_EQ(Received(), (std::vector<TReceived>{
                            {true, XK_Shift_L, 0},
                            {false, XK_Shift_L, ShiftMask},
                        }));
}

TEST_F(X11DesktopTest, KeyScanFollowsTheKeymap) {
  struct Case {
    char ch;
    int16_t expected;
  };
  const Case cases[] = {
      {'v', 0x56}, {'V', 0x156}, {'7', 0x37},  {'&', 0x137}, {'-', 0xBD},  {'_', 0x1BD},
      {' ', 0x20}, {'\n', 0x0D}, {'\t', 0x09}, {'/', 0xBF},  {'\xE9', -1},  // a byte of a
                                                                            // multi-byte character
  };
  for (const Case& c : cases)
    EXPECT_EQ(desktop->KeyScan(c.ch), c.expected) << "character " << int(c.ch);
}

}  // namespace
