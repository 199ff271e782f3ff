// The desktop seams on Windows: key lookup and synthesised key sequences
// (recorded by a low-level keyboard hook), the window texts, activation and
// the clipboard, with a window of the test's own.
#include <gtest/gtest.h>
#include <windows.h>

#include <future>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "paste/SLKeys.h"
#include "platform/windows/Win32Desktop.h"

namespace {

struct KeyEvent {
  DWORD vk;
  bool down;
  bool extended;
  bool operator==(const KeyEvent&) const = default;
};

void PrintTo(const KeyEvent& e, std::ostream* os) {
  *os << std::hex << "0x" << e.vk << (e.down ? " down" : " up") << (e.extended ? " ext" : "");
}

// The events a low-level keyboard hook sees. The hook lives in a thread of
// its own with its own message loop, as the system calls it from there.
std::mutex gMutex;
std::vector<KeyEvent> gRecorded;

// Records every key event and swallows it, so nothing reaches a window.
LRESULT CALLBACK RecordKey(int code, WPARAM message, LPARAM data) {
  if (code == HC_ACTION) {
    const auto* key = reinterpret_cast<const KBDLLHOOKSTRUCT*>(data);
    const bool down = message == WM_KEYDOWN || message == WM_SYSKEYDOWN;
    std::lock_guard<std::mutex> lock(gMutex);
    gRecorded.push_back({key->vkCode, down, (key->flags & LLKHF_EXTENDED) != 0});
    return 1;
  }
  return CallNextHookEx(nullptr, code, message, data);
}

// Handles this thread's messages for a moment.
void PumpMessages(int milliseconds) {
  const ULONGLONG end = GetTickCount64() + milliseconds;
  MSG msg;
  while (GetTickCount64() < end) {
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
    Sleep(5);
  }
}

class KeysTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetKeyInjector(&desktop_);
    std::promise<DWORD> started;
    auto threadId = started.get_future();
    recorder_ = std::thread([&started] {
      MSG msg;
      PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE);  // the thread's queue
      HHOOK hook = SetWindowsHookExA(WH_KEYBOARD_LL, RecordKey, GetModuleHandleA(nullptr), 0);
      started.set_value(hook != nullptr ? GetCurrentThreadId() : 0);
      while (GetMessageA(&msg, nullptr, 0, 0) > 0) DispatchMessageA(&msg);
      if (hook != nullptr) UnhookWindowsHookEx(hook);
    });
    recorderId_ = threadId.get();
    ASSERT_NE(recorderId_, 0u) << "no keyboard hook";
  }
  void TearDown() override {
    if (recorder_.joinable()) {
      PostThreadMessageA(recorderId_, WM_QUIT, 0, 0);
      recorder_.join();
    }
    SetKeyInjector(nullptr);
  }
  // The events recorded since the last call, once `expected` have come (or
  // after two seconds), and after a pause in which no other may follow.
  std::vector<KeyEvent> Recorded(size_t expected) {
    for (int i = 0; i < 200 && Count() < expected; ++i) Sleep(10);
    Sleep(50);
    std::lock_guard<std::mutex> lock(gMutex);
    std::vector<KeyEvent> out;
    out.swap(gRecorded);
    return out;
  }
  size_t Count() {
    std::lock_guard<std::mutex> lock(gMutex);
    return gRecorded.size();
  }

  TWin32Desktop desktop_;
  std::thread recorder_;
  DWORD recorderId_ = 0;
};

TEST_F(KeysTest, SequencesReachTheSystemInOrderWithTheirFlags) {
  const KeyEvent shiftDown{VK_SHIFT, true, false}, shiftUp{VK_SHIFT, false, false};
  const KeyEvent ctrlDown{VK_CONTROL, true, false}, ctrlUp{VK_CONTROL, false, false};
  const KeyEvent altDown{VK_MENU, true, false}, altUp{VK_MENU, false, false};
  struct Case {
    const char* what;
    void (*press)();
    std::vector<KeyEvent> events;
  };
  const Case cases[] = {
      {"Ctrl+V",
       [] { PressShortCut(0x4056); },
       {ctrlDown, {'V', true, false}, {'V', false, false}, ctrlUp}},
      {"the standard paste keystroke",
       [] { PressCtrlChar('V'); },
       {ctrlDown, {'V', true, false}, {'V', false, false}, ctrlUp}},
      {"Shift+Insert, extended",
       [] { PressShortCut(0x202D); },
       {shiftDown, {VK_INSERT, true, true}, {VK_INSERT, false, true}, shiftUp}},
      {"Ctrl+Shift+Insert, modifiers released in pressing order",
       [] { PressShortCut(0x602D); },
       {shiftDown, ctrlDown, {VK_INSERT, true, true}, {VK_INSERT, false, true}, shiftUp, ctrlUp}},
      {"Alt+E",
       [] { PressShortCut(0x8045); },
       {altDown, {'E', true, false}, {'E', false, false}, altUp}},
      {"F1 alone", [] { PressShortCut(112); }, {{VK_F1, true, false}, {VK_F1, false, false}}},
      {"Home, End, Delete, arrows extended",
       [] {
         for (uint16_t key : {VK_HOME, VK_END, VK_DELETE, VK_LEFT, VK_NEXT}) PressShortCut(key);
       },
       {{VK_HOME, true, true},
        {VK_HOME, false, true},
        {VK_END, true, true},
        {VK_END, false, true},
        {VK_DELETE, true, true},
        {VK_DELETE, false, true},
        {VK_LEFT, true, true},
        {VK_LEFT, false, true},
        {VK_NEXT, true, true},
        {VK_NEXT, false, true}}},
      {"keypad 0 is not extended",
       [] { PressShortCut(VK_NUMPAD0); },
       {{VK_NUMPAD0, true, false}, {VK_NUMPAD0, false, false}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    c.press();
    EXPECT_EQ(Recorded(c.events.size()), c.events);
  }
}

TEST(KeyScan, CharactersMapToTheirKeysOnTheUsLayout) {
  TWin32Desktop desktop;
  EXPECT_EQ(desktop.KeyScan('v'), 0x56);
  EXPECT_EQ(desktop.KeyScan('V'), 0x156);  // Shift in the high byte
  EXPECT_EQ(desktop.KeyScan('1'), 0x31);
  EXPECT_EQ(desktop.KeyScan('!'), 0x131);
  EXPECT_EQ(desktop.KeyScan(' '), 0x20);
  EXPECT_EQ(desktop.KeyScan('\t'), 0x09);
}

// A plain top-level window of the test's own.
HWND CreateTarget(const char* caption) {
  static ATOM atom = [] {
    WNDCLASSA wc = {};
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "VelluminTestTarget";
    return RegisterClassA(&wc);
  }();
  if (atom == 0) return nullptr;
  HWND window =
      CreateWindowExA(0, "VelluminTestTarget", caption, WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10,
                      200, 100, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
  PumpMessages(50);
  return window;
}

TEST(WindowSystem, TextsValidityAndActivation) {
  TWin32Desktop desktop;
  const std::string longCaption(300, 'c');
  HWND first = CreateTarget("First target");
  HWND second = CreateTarget(longCaption.c_str());
  ASSERT_NE(first, nullptr);
  ASSERT_NE(second, nullptr);
  const auto handle = [](HWND w) { return reinterpret_cast<TWindowHandle>(w); };

  EXPECT_EQ(desktop.ClassName(handle(first)), "VelluminTestTarget");
  EXPECT_EQ(desktop.Caption(handle(first)), "First target");
  EXPECT_EQ(desktop.Caption(handle(second)), longCaption);  // whole; the tracker cuts
  EXPECT_TRUE(desktop.IsWindow(handle(first)));

  for (HWND target : {first, second, first}) {
    int answers = 0;
    bool active = false;
    desktop.Activate(handle(target), [&](bool ok) {
      ++answers;
      active = ok;
    });
    EXPECT_EQ(answers, 1);
    EXPECT_TRUE(active);
    EXPECT_EQ(desktop.ForegroundWindow(), handle(target));
    PumpMessages(20);
  }

  DestroyWindow(second);
  EXPECT_FALSE(desktop.IsWindow(handle(second)));
  EXPECT_EQ(desktop.ClassName(handle(second)), "");
  EXPECT_EQ(desktop.Caption(handle(second)), "");
  int answers = 0;
  bool active = true;
  desktop.Activate(handle(second), [&](bool ok) {
    ++answers;
    active = ok;
  });
  EXPECT_EQ(answers, 1);
  EXPECT_FALSE(active);
  EXPECT_FALSE(desktop.IsWindow(kNoWindow));
  DestroyWindow(first);
}

// The clipboard's text in FORMAT, read as CHAR units up to the first zero;
// "<none>" when the format is not there, "<not opened>" when the clipboard
// cannot be opened.
template <typename Char>
std::basic_string<Char> ClipboardData(UINT format) {
  const auto marker = [](std::string_view text) {
    return std::basic_string<Char>(text.begin(), text.end());
  };
  std::basic_string<Char> text = marker("<none>");
  if (!OpenClipboard(nullptr)) return marker("<not opened>");
  if (HANDLE data = GetClipboardData(format)) {
    if (const Char* chars = static_cast<const Char*>(GlobalLock(data))) {
      text = chars;
      GlobalUnlock(data);
    }
  }
  CloseClipboard();
  return text;
}

std::string ClipboardText(UINT format) {
  return ClipboardData<char>(format);
}

std::wstring ClipboardUnicode() {
  return ClipboardData<wchar_t>(CF_UNICODETEXT);
}

// The formats placed, in order; the system may offer converted ones after them.
std::vector<UINT> PlacedFormats(size_t count) {
  std::vector<UINT> formats;
  if (!OpenClipboard(nullptr)) return formats;
  for (UINT format = EnumClipboardFormats(0); format != 0 && formats.size() < count;
       format = EnumClipboardFormats(format))
    formats.push_back(format);
  CloseClipboard();
  return formats;
}

TEST(Clipboard, HoldsTheUtf8TextAsCfTextAndAsUnicode) {
  TWin32Desktop desktop;
  desktop.SetText("first");
  const std::string utf8 =
      "line 1\r\nGr\xC3\xBC\xC3\x9F"
      "e \xD0\x9F\xD1\x80 \xE4\xBD\xA0 \xF0\x9F\x8E\x89";
  desktop.SetText(utf8);
  EXPECT_EQ(ClipboardText(CF_TEXT), utf8);
  EXPECT_EQ(ClipboardUnicode(), L"line 1\r\nGr\u00FC\u00DFe \u041F\u0440 \u4F60 \U0001F389");
  EXPECT_EQ(PlacedFormats(2), (std::vector<UINT>{CF_TEXT, CF_UNICODETEXT}));
  // Bytes that are no UTF-8 stay CF_TEXT only.
  desktop.SetText("line 2 \xE9");
  EXPECT_EQ(ClipboardText(CF_TEXT), "line 2 \xE9");
  desktop.SetText("");
  EXPECT_EQ(ClipboardText(CF_TEXT), "");
  EXPECT_EQ(ClipboardUnicode(), L"");

  // Held by someone else for longer than the retries last: the error the
  // paste engine lets through.
  ASSERT_TRUE(OpenClipboard(nullptr));
  EXPECT_THROW(desktop.SetText("x"), std::runtime_error);
  CloseClipboard();
}

}  // namespace
