#include "platform/windows/Win32Desktop.h"

#include <windows.h>

#include <cstring>
#include <stdexcept>
#include <string>

namespace {

HWND ToHwnd(TWindowHandle window) {
  return reinterpret_cast<HWND>(window);
}

// The window's text by one of the A functions, read in full.
template <typename GetText>
std::string ReadText(GetText get, size_t capacity) {
  std::string buffer(capacity, '\0');
  const int length = get(buffer.data(), static_cast<int>(buffer.size()));
  if (length <= 0) return {};
  buffer.resize(static_cast<size_t>(length));
  return buffer;
}

}  // namespace

TWin32Desktop::~TWin32Desktop() {
  if (clipboardOwner_ != nullptr) DestroyWindow(static_cast<HWND>(clipboardOwner_));
}

TWindowHandle TWin32Desktop::ForegroundWindow() {
  return reinterpret_cast<TWindowHandle>(GetForegroundWindow());
}

std::string TWin32Desktop::ClassName(TWindowHandle window) {
  // Class names have at most 256 characters.
  return ReadText([&](char* text, int size) { return GetClassNameA(ToHwnd(window), text, size); },
                  257);
}

std::string TWin32Desktop::Caption(TWindowHandle window) {
  const int length = GetWindowTextLengthA(ToHwnd(window));
  if (length <= 0) return {};
  return ReadText([&](char* text, int size) { return GetWindowTextA(ToHwnd(window), text, size); },
                  static_cast<size_t>(length) + 1);
}

bool TWin32Desktop::IsWindow(TWindowHandle window) {
  RECT rect;
  return window != kNoWindow && GetWindowRect(ToHwnd(window), &rect) != 0;
}

void TWin32Desktop::Activate(TWindowHandle window, std::function<void(bool)> answer) {
  const HWND target = ToHwnd(window);
  if (window == kNoWindow || !::IsWindow(target)) {
    answer(false);
    return;
  }
  // The system may refuse the change or carry it out a moment later; keys
  // must never go to another window, so success is only what is seen.
  const auto deadline = std::chrono::steady_clock::now() + ActivationTimeout;
  for (;;) {
    SetForegroundWindow(target);
    if (GetForegroundWindow() == target) {
      answer(true);
      return;
    }
    if (std::chrono::steady_clock::now() >= deadline || !::IsWindow(target)) {
      answer(false);
      return;
    }
    Sleep(10);
  }
}

bool TWin32Desktop::IsExtendedKey(uint8_t vk) {
  switch (vk) {
    case VK_PRIOR:
    case VK_NEXT:
    case VK_END:
    case VK_HOME:
    case VK_LEFT:
    case VK_UP:
    case VK_RIGHT:
    case VK_DOWN:
    case VK_INSERT:
    case VK_DELETE:
      return true;
    default:
      return false;
  }
}

void TWin32Desktop::SendKey(uint8_t vk, bool down) {
  DWORD flags = down ? 0 : KEYEVENTF_KEYUP;
  if (IsExtendedKey(vk)) flags |= KEYEVENTF_EXTENDEDKEY;
  keybd_event(vk, 0, flags, 0);
}

int16_t TWin32Desktop::KeyScan(char ch) {
  return VkKeyScanA(ch);
}

namespace {

// Copies SIZE bytes into a new global block and hands it to the open
// clipboard as FORMAT.
bool PlaceOnClipboard(UINT format, const void* data, size_t size) {
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, size);
  if (memory == nullptr) return false;
  void* bytes = GlobalLock(memory);
  if (bytes == nullptr) {
    GlobalFree(memory);
    return false;
  }
  std::memcpy(bytes, data, size);
  GlobalUnlock(memory);
  if (SetClipboardData(format, memory) != nullptr) return true;
  GlobalFree(memory);
  return false;
}

}  // namespace

bool TWin32Desktop::SetText(const std::string& text) {
  // The clipboard needs an owner window for its data to stay after closing.
  if (clipboardOwner_ == nullptr)
    clipboardOwner_ = CreateWindowExA(0, "STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                      GetModuleHandleA(nullptr), nullptr);
  bool open = false;
  for (int attempt = 0; attempt < 10 && !open; ++attempt) {
    if (attempt > 0) Sleep(10);
    open = OpenClipboard(static_cast<HWND>(clipboardOwner_)) != 0;
  }
  if (!open) throw std::runtime_error("Cannot open clipboard");
  EmptyClipboard();
  // The text up to its first zero byte, with the terminating zero.
  const size_t length = strnlen(text.c_str(), text.size());
  // The texts are UTF-8. A program that reads CF_UNICODETEXT would get the
  // one Windows makes from CF_TEXT with the input locale's legacy code page
  // (seen under Wine: "Grüße" arrived as "GrÃ¼ÃŸe"), so the Unicode text is
  // placed too, made from the UTF-8; bytes that are no UTF-8 go as CF_TEXT
  // only, as they always did.
  const int wide = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text.c_str(),
                                       static_cast<int>(length), nullptr, 0);
  bool placed = PlaceOnClipboard(CF_TEXT, text.c_str(), length + 1);
  if (placed && (wide > 0 || length == 0)) {
    std::wstring unicode(static_cast<size_t>(wide), L'\0');
    if (wide > 0)
      MultiByteToWideChar(CP_UTF8, 0, text.c_str(), static_cast<int>(length), unicode.data(), wide);
    placed =
        PlaceOnClipboard(CF_UNICODETEXT, unicode.c_str(), (unicode.size() + 1) * sizeof(wchar_t));
  }
  CloseClipboard();
  return placed;
}

void InstallWin32Desktop() {
  static TWin32Desktop desktop;
  SetWindowSystem(&desktop);
  SetKeyInjector(&desktop);
  SetClipboardWriter(&desktop);
}
