#include "platform/linux/X11Desktop.h"

#include <X11/XKBlib.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

#include <utility>

namespace {

// How long the window manager may take to move the focus to the window it
// reports active before we move it ourselves.
constexpr std::chrono::milliseconds kFocusGrace{50};

// Longest property read for a window text: 254 characters of up to 4 bytes.
constexpr long kTextLongs = 254;

// Errors on our connection (a window that went away) are expected and only
// recorded; errors on other Xlib connections go to the previous handler.
Display* gTrapDisplay = nullptr;
bool gTrapped = false;
XErrorHandler gPreviousHandler = nullptr;

int OnXError(Display* display, XErrorEvent* event) {
  if (display == gTrapDisplay) {
    gTrapped = true;
    return 0;
  }
  return gPreviousHandler ? gPreviousHandler(display, event) : 0;
}

std::string Latin1ToUtf8(const unsigned char* data, size_t size) {
  std::string out;
  out.reserve(size);
  for (size_t i = 0; i < size; ++i) {
    const unsigned char c = data[i];
    if (c < 0x80) {
      out += static_cast<char>(c);
    } else {
      out += static_cast<char>(0xC0 | (c >> 6));
      out += static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  return out;
}

// The keysym that types a character of the narrow encoding.
KeySym KeysymOfChar(char ch) {
  const auto c = static_cast<unsigned char>(ch);
  switch (c) {
    case '\b':
      return XK_BackSpace;
    case '\t':
      return XK_Tab;
    case '\n':
    case '\r':
      return XK_Return;
    case 0x1B:
      return XK_Escape;
    default:
      break;
  }
  if (c >= 0x20 && c <= 0x7E) return c;  // Latin keysyms equal their code points
  return NoSymbol;                       // a lone byte of a multi-byte character types nothing
}

}  // namespace

struct TX11Desktop::TState {
  Display* display = nullptr;
  Window root = 0;
  Atom netActiveWindow = 0;
  Atom netWmName = 0;
  Atom utf8String = 0;
  TScheduler scheduler;
  uint64_t request = 0;  // number of the newest activation request
  std::function<void(bool)> pending;
  bool focusGiven = false;  // the pending request has set the focus itself

  // Reads up to `longs` 32-bit units of a property; false when it is missing
  // or the window is gone.
  bool ReadProperty(Window window, Atom property, Atom type, long longs, std::string& data,
                    Atom* actualTypeOut = nullptr) {
    Atom actualType = 0;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* bytes = nullptr;
    gTrapped = false;
    const int status = XGetWindowProperty(display, window, property, 0, longs, False, type,
                                          &actualType, &format, &count, &after, &bytes);
    // A property of another type than asked for comes back without data.
    const bool ok = status == Success && !gTrapped && actualType != None && bytes != nullptr &&
                    (type == AnyPropertyType || actualType == type);
    if (ok) {
      const size_t unit = format == 32 ? sizeof(long) : format / 8;
      data.assign(reinterpret_cast<const char*>(bytes), count * unit);
      if (actualTypeOut) *actualTypeOut = actualType;
    }
    if (bytes) XFree(bytes);
    return ok;
  }

  bool HasEwmhActiveWindow() {
    std::string data;
    return ReadProperty(root, netActiveWindow, XA_WINDOW, 1, data);
  }

  Window ActiveWindow() {
    std::string data;
    if (!ReadProperty(root, netActiveWindow, XA_WINDOW, 1, data) || data.size() < sizeof(long))
      return 0;
    return static_cast<Window>(*reinterpret_cast<const unsigned long*>(data.data()));
  }
};

std::unique_ptr<TX11Desktop> TX11Desktop::Open(TScheduler scheduler, const char* displayName) {
  Display* display = XOpenDisplay(displayName);
  if (display == nullptr) return nullptr;
  auto state = std::make_unique<TState>();
  state->display = display;
  state->root = DefaultRootWindow(display);
  state->netActiveWindow = XInternAtom(display, "_NET_ACTIVE_WINDOW", False);
  state->netWmName = XInternAtom(display, "_NET_WM_NAME", False);
  state->utf8String = XInternAtom(display, "UTF8_STRING", False);
  state->scheduler = std::move(scheduler);
  gPreviousHandler = XSetErrorHandler(OnXError);
  if (gPreviousHandler == OnXError) gPreviousHandler = nullptr;
  gTrapDisplay = display;

  std::unique_ptr<TX11Desktop> desktop(new TX11Desktop(std::move(state)));
  int eventBase = 0, errorBase = 0, major = 0, minor = 0;
  desktop->xtest_ = XTestQueryExtension(display, &eventBase, &errorBase, &major, &minor) == True;
  return desktop;
}

TX11Desktop::TX11Desktop(std::unique_ptr<TState> state) : s_(std::move(state)) {}

TX11Desktop::~TX11Desktop() {
  alive_.reset();
  if (gTrapDisplay == s_->display) gTrapDisplay = nullptr;
  XCloseDisplay(s_->display);
}

TWindowHandle TX11Desktop::ForegroundWindow() {
  return s_->ActiveWindow();
}

std::string TX11Desktop::ClassName(TWindowHandle window) {
  // WM_CLASS holds two zero-terminated strings: the instance, then the class.
  std::string data;
  if (window == 0 || !s_->ReadProperty(window, XA_WM_CLASS, XA_STRING, kTextLongs, data)) return {};
  const size_t end = data.find('\0');
  if (end == std::string::npos) return {};
  std::string cls = data.substr(end + 1);
  const size_t clsEnd = cls.find('\0');
  if (clsEnd != std::string::npos) cls.resize(clsEnd);
  return cls;
}

std::string TX11Desktop::Caption(TWindowHandle window) {
  if (window == 0) return {};
  std::string data;
  if (s_->ReadProperty(window, s_->netWmName, s_->utf8String, kTextLongs, data)) return data;
  Atom type = 0;
  if (!s_->ReadProperty(window, XA_WM_NAME, AnyPropertyType, kTextLongs, data, &type)) return {};
  if (type == XA_STRING)
    return Latin1ToUtf8(reinterpret_cast<const unsigned char*>(data.data()), data.size());
  if (type == s_->utf8String) return data;
  // COMPOUND_TEXT and other encodings: let Xlib convert.
  XTextProperty property{};
  property.value = reinterpret_cast<unsigned char*>(data.data());
  property.encoding = type;
  property.format = 8;
  property.nitems = data.size();
  char** list = nullptr;
  int count = 0;
  std::string text;
  if (Xutf8TextPropertyToTextList(s_->display, &property, &list, &count) >= Success && list &&
      count > 0)
    text = list[0];
  if (list) XFreeStringList(list);
  return text;
}

bool TX11Desktop::IsWindow(TWindowHandle window) {
  if (window == 0) return false;
  XWindowAttributes attributes;
  gTrapped = false;
  const Status status = XGetWindowAttributes(s_->display, window, &attributes);
  return status != 0 && !gTrapped;
}

bool TX11Desktop::IsActive(TWindowHandle window) {
  // The window manager may announce the new active window before the focus
  // has moved (or still name a window that went away and whose id came
  // back): keys go where the input focus is, so that must agree as well.
  if (s_->HasEwmhActiveWindow() && s_->ActiveWindow() != window) return false;
  // While another client grabs the keyboard (an open menu, a screen lock)
  // the keys would go to that client, whatever has the focus.
  return HasFocus(window) && !KeyboardGrabbed();
}

bool TX11Desktop::KeyboardGrabbed() {
  // The server tells whether a grab is possible only by trying one: a grab of
  // our own is released at once, before any key is sent.
  const int status =
      XGrabKeyboard(s_->display, s_->root, False, GrabModeAsync, GrabModeAsync, CurrentTime);
  if (status == GrabSuccess) {
    XUngrabKeyboard(s_->display, CurrentTime);
    XFlush(s_->display);
    return false;
  }
  return status == AlreadyGrabbed || status == GrabFrozen;
}

bool TX11Desktop::HasFocus(TWindowHandle window) {
  Window focus = 0;
  int revert = 0;
  XGetInputFocus(s_->display, &focus, &revert);
  // The focus may sit on a child of the top-level window.
  for (int depth = 0; depth < 32; ++depth) {
    if (focus == window) return true;
    if (focus == None || focus == PointerRoot || focus == s_->root) return false;
    Window root = 0, parent = 0;
    Window* children = nullptr;
    unsigned int count = 0;
    gTrapped = false;
    const Status ok = XQueryTree(s_->display, focus, &root, &parent, &children, &count);
    if (children) XFree(children);
    if (ok == 0 || gTrapped) return false;
    focus = parent;
  }
  return false;
}

void TX11Desktop::Activate(TWindowHandle window, std::function<void(bool)> answer) {
  if (s_->pending) {  // superseded
    auto older = std::move(s_->pending);
    s_->pending = nullptr;
    older(false);
  }
  const uint64_t request = ++s_->request;
  if (!IsWindow(window)) {
    answer(false);
    return;
  }
  if (IsActive(window)) {
    answer(true);
    return;
  }
  if (s_->HasEwmhActiveWindow()) {
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = s_->netActiveWindow;
    event.xclient.format = 32;
    event.xclient.data.l[0] = 2;  // source indication: a pager, i.e. the user's own request
    event.xclient.data.l[1] = CurrentTime;
    event.xclient.data.l[2] = static_cast<long>(s_->ActiveWindow());
    XSendEvent(s_->display, s_->root, False, SubstructureRedirectMask | SubstructureNotifyMask,
               &event);
  } else {
    gTrapped = false;
    XRaiseWindow(s_->display, window);
    XSetInputFocus(s_->display, window, RevertToParent, CurrentTime);
  }
  XFlush(s_->display);
  if (IsActive(window)) {
    answer(true);
    return;
  }
  s_->pending = std::move(answer);
  s_->focusGiven = false;
  Poll(request, window, std::chrono::steady_clock::now() + ActivationTimeout);
}

void TX11Desktop::Poll(uint64_t request, TWindowHandle window,
                       std::chrono::steady_clock::time_point deadline) {
  std::weak_ptr<int> alive = alive_;
  s_->scheduler(PollIntervalMs, [this, alive, request, window, deadline] {
    if (alive.expired() || request != s_->request || !s_->pending) return;
    bool active = IsActive(window);
    if (!active && !s_->focusGiven && s_->ActiveWindow() == window &&
        std::chrono::steady_clock::now() >= deadline - ActivationTimeout + kFocusGrace) {
      // The window manager calls it active but the focus went elsewhere (a
      // closing popup menu may take it along): give the focus ourselves, once.
      s_->focusGiven = true;
      XSetInputFocus(s_->display, window, RevertToParent, CurrentTime);
      XFlush(s_->display);
      active = IsActive(window);
    }
    if (!active && std::chrono::steady_clock::now() < deadline) {
      Poll(request, window, deadline);
      return;
    }
    auto answer = std::move(s_->pending);
    s_->pending = nullptr;
    answer(active);
  });
}

void TX11Desktop::RefreshKeymap() {
  // MappingNotify reaches every client; take the new keymap into account.
  while (XPending(s_->display) > 0) {
    XEvent event;
    XNextEvent(s_->display, &event);
    if (event.type == MappingNotify) XRefreshKeyboardMapping(&event.xmapping);
  }
}

void TX11Desktop::SendKey(uint8_t vk, bool down) {
  if (!xtest_) return;
  RefreshKeymap();
  const KeySym sym = KeysymOfVirtualKey(vk);
  if (sym == NoSymbol) return;
  const KeyCode code = XKeysymToKeycode(s_->display, sym);
  if (code == 0) return;
  XTestFakeKeyEvent(s_->display, code, down ? True : False, CurrentTime);
  XFlush(s_->display);
}

int16_t TX11Desktop::KeyScan(char ch) {
  RefreshKeymap();
  const KeySym sym = KeysymOfChar(ch);
  if (sym == NoSymbol) return -1;
  const KeyCode code = XKeysymToKeycode(s_->display, sym);
  if (code == 0) return -1;
  int vk = 0;
  for (int candidate = 1; candidate < 256 && vk == 0; ++candidate) {
    const KeySym candidateSym = KeysymOfVirtualKey(static_cast<uint8_t>(candidate));
    if (candidateSym != NoSymbol && XKeysymToKeycode(s_->display, candidateSym) == code)
      vk = candidate;
  }
  if (vk == 0) return -1;
  int shiftState = 0;
  if (XkbKeycodeToKeysym(s_->display, code, 0, 0) != sym) {
    if (XkbKeycodeToKeysym(s_->display, code, 0, 1) == sym)
      shiftState = 1;  // Shift
    else
      shiftState = 2 | 4;  // a third level (AltGr), reported as Ctrl+Alt
  }
  return static_cast<int16_t>((shiftState << 8) | vk);
}

unsigned long TX11Desktop::KeysymOfVirtualKey(uint8_t vk) {
  if (vk >= 'A' && vk <= 'Z') return XK_a + (vk - 'A');
  if (vk >= '0' && vk <= '9') return XK_0 + (vk - '0');
  if (vk >= 0x60 && vk <= 0x69) return XK_KP_0 + (vk - 0x60);
  if (vk >= 0x70 && vk <= 0x87) return XK_F1 + (vk - 0x70);  // F1-F24
  switch (vk) {
    case 0x03:
      return XK_Cancel;
    case 0x08:
      return XK_BackSpace;
    case 0x09:
      return XK_Tab;
    case 0x0C:
      return XK_Clear;
    case 0x0D:
      return XK_Return;
    case 0x10:
      return XK_Shift_L;
    case 0x11:
      return XK_Control_L;
    case 0x12:
      return XK_Alt_L;
    case 0x13:
      return XK_Pause;
    case 0x14:
      return XK_Caps_Lock;
    case 0x1B:
      return XK_Escape;
    case 0x20:
      return XK_space;
    case 0x21:
      return XK_Prior;
    case 0x22:
      return XK_Next;
    case 0x23:
      return XK_End;
    case 0x24:
      return XK_Home;
    case 0x25:
      return XK_Left;
    case 0x26:
      return XK_Up;
    case 0x27:
      return XK_Right;
    case 0x28:
      return XK_Down;
    case 0x29:
      return XK_Select;
    case 0x2A:
      return XK_Print;
    case 0x2B:
      return XK_Execute;
    case 0x2C:
      return XK_Print;  // Print Screen
    case 0x2D:
      return XK_Insert;
    case 0x2E:
      return XK_Delete;
    case 0x2F:
      return XK_Help;
    case 0x5B:
      return XK_Super_L;
    case 0x5C:
      return XK_Super_R;
    case 0x5D:
      return XK_Menu;
    case 0x6A:
      return XK_KP_Multiply;
    case 0x6B:
      return XK_KP_Add;
    case 0x6C:
      return XK_KP_Separator;
    case 0x6D:
      return XK_KP_Subtract;
    case 0x6E:
      return XK_KP_Decimal;
    case 0x6F:
      return XK_KP_Divide;
    case 0x90:
      return XK_Num_Lock;
    case 0x91:
      return XK_Scroll_Lock;
    case 0xA0:
      return XK_Shift_L;
    case 0xA1:
      return XK_Shift_R;
    case 0xA2:
      return XK_Control_L;
    case 0xA3:
      return XK_Control_R;
    case 0xA4:
      return XK_Alt_L;
    case 0xA5:
      return XK_Alt_R;
    // OEM keys, by the US layout.
    case 0xBA:
      return XK_semicolon;
    case 0xBB:
      return XK_equal;
    case 0xBC:
      return XK_comma;
    case 0xBD:
      return XK_minus;
    case 0xBE:
      return XK_period;
    case 0xBF:
      return XK_slash;
    case 0xC0:
      return XK_grave;
    case 0xDB:
      return XK_bracketleft;
    case 0xDC:
      return XK_backslash;
    case 0xDD:
      return XK_bracketright;
    case 0xDE:
      return XK_apostrophe;
    case 0xE2:
      return XK_less;
    default:
      return NoSymbol;
  }
}

void X11SyncDisplay(void* display) {
  if (display != nullptr) XSync(static_cast<Display*>(display), False);
}
