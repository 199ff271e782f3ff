// Prints, as UTF-8, the text of the edit control of the top-level window
// whose caption is the argument (the window's own text when it has none):
// what a paste delivered to Notepad or to the paste target, read back.
//   wintext <caption>
#include <windows.h>

#include <cstdio>
#include <string>

namespace {

std::wstring Wide(const char* utf8) {
  const int size = MultiByteToWideChar(CP_UTF8, 0, utf8, -1, nullptr, 0);
  std::wstring text(size > 0 ? size - 1 : 0, L'\0');
  if (size > 1) MultiByteToWideChar(CP_UTF8, 0, utf8, -1, text.data(), size);
  return text;
}

std::string Utf8(const std::wstring& text) {
  const int size = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()),
                                       nullptr, 0, nullptr, nullptr);
  std::string out(size, '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), out.data(), size,
                      nullptr, nullptr);
  return out;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: wintext <caption>\n");
    return 2;
  }
  HWND window = FindWindowW(nullptr, Wide(argv[1]).c_str());
  if (window == nullptr) {
    std::fprintf(stderr, "wintext: no window '%s'\n", argv[1]);
    return 1;
  }
  HWND edit = FindWindowExW(window, nullptr, L"Edit", nullptr);
  if (edit != nullptr) window = edit;
  const LRESULT length = SendMessageW(window, WM_GETTEXTLENGTH, 0, 0);
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  SendMessageW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
  text.resize(static_cast<size_t>(length));
  const std::string out = Utf8(text);
  std::fwrite(out.data(), 1, out.size(), stdout);
  return 0;
}
