// Measures a tray program as its user meets it, from outside, through the X
// server only: how long until its icon sits in the tray, how long the tray
// menu takes to appear after a right click, whether the first sub-menu opens,
// whether a double click on the icon shows the main window, and the resident
// memory once all that was shown.
//
//   tray_bench <runs> <wm-class-instance> <program> [args...]
//
// Every run starts the program afresh (the environment is inherited), so the
// caller prepares whatever profile the program should find before each run.
// One line per run, then the medians:
//   run=<i> icon_ms=<x.x> menu_ms=<x.x> submenu=<0|1> main=<0|1> rss_kb=<n> main_ms=<x.x>
// A figure that could not be measured prints as "nan" and stays out of the medians.
// With TRAY_BENCH_DEBUG set, the geometry of the icon and the menu goes to
// standard error.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <functional>
#include <optional>
#include <set>
#include <string>
#include <thread>
#include <vector>

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;

double MsSince(Clock::time_point start) {
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

void SleepMs(int ms) {
  std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

// Windows come and go while the tree is walked: a window listed by
// XQueryTree may be gone by the time its attributes are asked for.
int IgnoreVanishedWindows(Display* display, XErrorEvent* error) {
  if (error->error_code == BadWindow || error->error_code == BadMatch ||
      error->error_code == BadDrawable)
    return 0;
  char text[256] = {};
  XGetErrorText(display, error->error_code, text, sizeof text);
  std::fprintf(stderr, "tray_bench: X error %d (%s), request %d\n", error->error_code, text,
               error->request_code);
  return 0;
}

// One window of the program's class, as seen at one look at the server.
struct Seen {
  Window window = 0;
  Window parent = 0;
  int x = 0, y = 0, width = 0, height = 0;  // x, y: relative to the root
  bool viewable = false;
  bool overrideRedirect = false;
};

class XDesktop {
 public:
  explicit XDesktop(Display* display) : display_(display), root_(DefaultRootWindow(display)) {}

  Window Root() const { return root_; }

  // Every window of the class instance `instance` below the root, viewable or not.
  std::vector<Seen> Windows(const std::string& instance) {
    std::vector<Seen> found;
    Walk(root_, root_, instance, found);
    return found;
  }

  // The title, _NET_WM_NAME first (UTF-8), then WM_NAME.
  std::string Title(Window window) {
    std::string title;
    Atom type = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    if (XGetWindowProperty(display_, window, Intern("_NET_WM_NAME"), 0, 1024, False,
                           Intern("UTF8_STRING"), &type, &format, &count, &after,
                           &data) == Success &&
        data != nullptr) {
      if (format == 8) title.assign(reinterpret_cast<char*>(data), count);
      XFree(data);
    }
    if (!title.empty()) return title;
    char* name = nullptr;
    if (XFetchName(display_, window, &name) && name != nullptr) {
      title = name;
      XFree(name);
    }
    return title;
  }

  // Asks the window manager to activate the window, then gives it the focus.
  void Activate(Window window) {
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = Intern("_NET_ACTIVE_WINDOW");
    event.xclient.format = 32;
    event.xclient.data.l[0] = 2;  // from a pager: no focus-stealing prevention
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(display_, root_, False, SubstructureRedirectMask | SubstructureNotifyMask, &event);
    XRaiseWindow(display_, window);
    XSetInputFocus(display_, window, RevertToParent, CurrentTime);
    XSync(display_, False);
  }

  void MovePointer(int x, int y) {
    XTestFakeMotionEvent(display_, -1, x, y, CurrentTime);
    XSync(display_, False);
  }

  void Button(unsigned button, bool press) {
    XTestFakeButtonEvent(display_, button, press ? True : False, CurrentTime);
    XSync(display_, False);
  }

  void Key(KeySym sym) {
    const KeyCode code = XKeysymToKeycode(display_, sym);
    XTestFakeKeyEvent(display_, code, True, CurrentTime);
    XTestFakeKeyEvent(display_, code, False, CurrentTime);
    XSync(display_, False);
  }

 private:
  ::Atom Intern(const char* name) { return XInternAtom(display_, name, False); }

  void Walk(Window window, Window parent, const std::string& instance, std::vector<Seen>& found) {
    if (window != root_) {
      XClassHint hint{};
      if (XGetClassHint(display_, window, &hint)) {
        const bool ours = hint.res_name != nullptr && instance == hint.res_name;
        if (hint.res_name) XFree(hint.res_name);
        if (hint.res_class) XFree(hint.res_class);
        XWindowAttributes attributes{};
        if (ours && XGetWindowAttributes(display_, window, &attributes)) {
          Seen seen;
          seen.window = window;
          seen.parent = parent;
          seen.width = attributes.width;
          seen.height = attributes.height;
          seen.viewable = attributes.map_state == IsViewable;
          seen.overrideRedirect = attributes.override_redirect;
          Window child = 0;
          XTranslateCoordinates(display_, window, root_, 0, 0, &seen.x, &seen.y, &child);
          found.push_back(seen);
        }
      }
    }
    Window rootReturn = 0, parentReturn = 0, *children = nullptr;
    unsigned count = 0;
    if (!XQueryTree(display_, window, &rootReturn, &parentReturn, &children, &count)) return;
    std::vector<Window> list(children, children + count);
    if (children) XFree(children);
    for (Window child : list) Walk(child, window, instance, found);
  }

  Display* display_;
  Window root_;
};

// Looks every `stepMs` until `test` gives a window or `limitMs` passed.
std::optional<Seen> PollFor(XDesktop& screen, const std::string& instance, int limitMs,
                            const std::function<bool(const Seen&)>& test, int stepMs = 1) {
  const Clock::time_point start = Clock::now();
  for (;;) {
    for (const Seen& seen : screen.Windows(instance))
      if (test(seen)) return seen;
    if (MsSince(start) > limitMs) return std::nullopt;
    SleepMs(stepMs);
  }
}

long ResidentKb(pid_t pid) {
  std::ifstream status("/proc/" + std::to_string(pid) + "/status");
  std::string line;
  while (std::getline(status, line))
    if (line.rfind("VmRSS:", 0) == 0) return std::strtol(line.c_str() + 6, nullptr, 10);
  return -1;
}

// SIGTERM, then SIGKILL when the program has not ended within 5 s.
void Stop(pid_t pid) {
  kill(pid, SIGTERM);
  const Clock::time_point start = Clock::now();
  int status = 0;
  while (waitpid(pid, &status, WNOHANG) == 0) {
    if (MsSince(start) > 5000) {
      std::fprintf(stderr, "tray_bench: pid %d did not end within 5 s of SIGTERM; killed\n",
                   int(pid));
      kill(pid, SIGKILL);
      waitpid(pid, &status, 0);
      return;
    }
    SleepMs(10);
  }
}

struct RunResult {
  double iconMs = NAN;
  double menuMs = NAN;
  bool submenu = false;
  bool main = false;
  double mainMs = NAN;
  long rssKb = -1;
};

bool HasWindow(const std::set<Window>& set, Window window) {
  return set.count(window) != 0;
}

// The viewable override-redirect windows of the class: menus, tooltips, popups.
std::set<Window> Popups(XDesktop& screen, const std::string& instance) {
  std::set<Window> popups;
  for (const Seen& seen : screen.Windows(instance))
    if (seen.viewable && seen.overrideRedirect) popups.insert(seen.window);
  return popups;
}

// On a fresh profile the program opens its tip of the day; it would sit over
// the desktop and take the keyboard, so it is closed with Escape.
void CloseTips(XDesktop& screen, const std::string& instance) {
  for (const Seen& seen : screen.Windows(instance)) {
    if (!seen.viewable || seen.overrideRedirect || seen.parent == screen.Root()) continue;
    if (screen.Title(seen.window).rfind("Tip Of The Day", 0) != 0) continue;
    std::fprintf(stderr, "tray_bench: closing the tip of the day (window 0x%lx)\n", seen.window);
    screen.Activate(seen.window);
    SleepMs(100);
    screen.Key(XK_Escape);
    SleepMs(100);
  }
}

// A plain window of this tool's own, standing for the window the user worked
// in before going to the tray: the program offers its paste items only when
// it knows a window to paste into.
Window CreateTarget(Display* display) {
  const Window window = XCreateSimpleWindow(display, DefaultRootWindow(display), 100, 100, 400, 300,
                                            0, 0, WhitePixel(display, DefaultScreen(display)));
  XClassHint hint{};
  hint.res_name = const_cast<char*>("tray_bench");
  hint.res_class = const_cast<char*>("TrayBench");
  XSetClassHint(display, window, &hint);
  XStoreName(display, window, "tray_bench target");
  XMapWindow(display, window);
  XSync(display, False);
  return window;
}

RunResult RunOnce(Display* display, Window target, const std::string& instance, char** argv) {
  XDesktop screen(display);
  RunResult result;

  pid_t pid = 0;
  const Clock::time_point spawned = Clock::now();
  if (posix_spawnp(&pid, argv[0], nullptr, nullptr, argv, environ) != 0) {
    std::perror("tray_bench: posix_spawnp");
    return result;
  }

  // The icon: small, viewable, and reparented into the tray (a window the
  // window manager frames is reparented too, but tray icons are the only
  // windows this small).
  const auto icon = PollFor(screen, instance, 60000, [&](const Seen& seen) {
    return seen.viewable && seen.parent != screen.Root() && seen.width <= 64 && seen.height <= 64;
  });
  if (!icon) {
    std::fprintf(stderr, "tray_bench: no tray icon of class \"%s\" within 60 s\n",
                 instance.c_str());
    Stop(pid);
    return result;
  }
  result.iconMs = MsSince(spawned);

  // Let start-up finish (the tree, a tip of the day, the first paint), with
  // the target window active, so that the program's tracker (which looks
  // every 250 ms) takes it as the window to paste into.
  for (int i = 0; i < 15; ++i) {
    SleepMs(100);
    CloseTips(screen, instance);
    if (i == 2 || i == 10) screen.Activate(target);
  }

  // Re-read the icon: the tray may have moved or resized it since.
  Seen at = *icon;
  for (const Seen& seen : screen.Windows(instance))
    if (seen.window == icon->window) at = seen;
  const int iconX = at.x + at.width / 2, iconY = at.y + at.height / 2;

  // The tray menu: a right click, timed from the press to the first new
  // viewable popup window of the class.
  const std::set<Window> before = Popups(screen, instance);
  screen.MovePointer(iconX, iconY);
  SleepMs(50);
  const Clock::time_point pressed = Clock::now();
  screen.Button(3, true);
  screen.Button(3, false);
  const auto menu = PollFor(screen, instance, 5000, [&](const Seen& seen) {
    return seen.viewable && seen.overrideRedirect && seen.window != at.window &&
           !HasWindow(before, seen.window);
  });
  if (menu) {
    result.menuMs = MsSince(pressed);
    // The first entry, a folder: resting on it opens its sub-menu.
    SleepMs(100);
    Seen shown = *menu;
    for (const Seen& seen : screen.Windows(instance))
      if (seen.window == menu->window) shown = seen;
    const int entryX = shown.x + shown.width / 2, entryY = shown.y + 12;
    screen.MovePointer(entryX, entryY - 2);
    SleepMs(20);
    screen.MovePointer(entryX, entryY);
    if (std::getenv("TRAY_BENCH_DEBUG"))
      std::fprintf(stderr, "tray_bench: icon %dx%d+%d+%d, menu %dx%d+%d+%d, pointer to %d,%d\n",
                   at.width, at.height, at.x, at.y, shown.width, shown.height, shown.x, shown.y,
                   entryX, entryY);
    result.submenu = PollFor(screen, instance, 3000, [&](const Seen& seen) {
                       return seen.viewable && seen.overrideRedirect && seen.window != at.window &&
                              seen.window != shown.window && !HasWindow(before, seen.window);
                     }).has_value();
  } else {
    std::fprintf(stderr, "tray_bench: no menu within 5 s of the right click\n");
  }
  screen.Key(XK_Escape);
  SleepMs(100);
  screen.Key(XK_Escape);
  SleepMs(200);

  // The main window: a double click on the icon.
  screen.MovePointer(iconX, iconY);
  SleepMs(50);
  const Clock::time_point clicked = Clock::now();
  screen.Button(1, true);
  screen.Button(1, false);
  SleepMs(80);
  screen.Button(1, true);
  screen.Button(1, false);
  const auto mainWindow = PollFor(screen, instance, 3000, [&](const Seen& seen) {
    return seen.viewable && !seen.overrideRedirect && seen.width > 200 && seen.height > 200;
  });
  if (mainWindow) {
    result.main = true;
    result.mainMs = MsSince(clicked);
  } else {
    std::fprintf(stderr, "tray_bench: no main window within 3 s of the double click\n");
  }
  SleepMs(500);
  result.rssKb = ResidentKb(pid);

  Stop(pid);
  return result;
}

double Median(std::vector<double> values) {
  values.erase(std::remove_if(values.begin(), values.end(), [](double v) { return std::isnan(v); }),
               values.end());
  if (values.empty()) return NAN;
  std::sort(values.begin(), values.end());
  const size_t n = values.size();
  return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 4) {
    std::fprintf(stderr, "usage: %s <runs> <wm-class-instance> <program> [args...]\n", argv[0]);
    return 2;
  }
  const int runs = std::atoi(argv[1]);
  const std::string instance = argv[2];
  if (runs < 1) {
    std::fprintf(stderr, "tray_bench: runs must be at least 1\n");
    return 2;
  }
  XSetErrorHandler(IgnoreVanishedWindows);
  Display* display = XOpenDisplay(nullptr);
  if (display == nullptr) {
    std::fprintf(stderr, "tray_bench: cannot open display \"%s\"\n", XDisplayName(nullptr));
    return 1;
  }
  int event = 0, error = 0, major = 0, minor = 0;
  if (!XTestQueryExtension(display, &event, &error, &major, &minor)) {
    std::fprintf(stderr, "tray_bench: the X server has no XTEST extension\n");
    return 1;
  }

  const Window target = CreateTarget(display);
  std::vector<double> icon, menu, rss, mainMs;
  int submenus = 0, mains = 0, failed = 0;
  for (int i = 1; i <= runs; ++i) {
    const RunResult r = RunOnce(display, target, instance, argv + 3);
    std::printf("run=%d icon_ms=%.1f menu_ms=%.1f submenu=%d main=%d rss_kb=%ld main_ms=%.1f\n", i,
                r.iconMs, r.menuMs, r.submenu ? 1 : 0, r.main ? 1 : 0, r.rssKb, r.mainMs);
    std::fflush(stdout);
    icon.push_back(r.iconMs);
    menu.push_back(r.menuMs);
    mainMs.push_back(r.mainMs);
    rss.push_back(r.rssKb >= 0 ? double(r.rssKb) : NAN);
    submenus += r.submenu;
    mains += r.main;
    if (std::isnan(r.iconMs) || std::isnan(r.menuMs)) ++failed;
    SleepMs(300);
  }
  std::printf(
      "median icon_ms=%.1f menu_ms=%.1f rss_kb=%.0f main_ms=%.1f submenu=%d/%d main=%d/%d\n",
      Median(icon), Median(menu), Median(rss), Median(mainMs), submenus, runs, mains, runs);
  XCloseDisplay(display);
  return failed == runs ? 1 : 0;
}
