// A paste target of the tests: a top-level window "Vellumin Paste Target"
// holding one Unicode (W) multi-line edit control that has the focus, as a
// Windows program's text field. What arrives is read with wintext.
#include <windows.h>

namespace {

HWND gEdit = nullptr;

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_SIZE:
      if (gEdit != nullptr) MoveWindow(gEdit, 0, 0, LOWORD(lParam), HIWORD(lParam), TRUE);
      return 0;
    case WM_SETFOCUS:
      if (gEdit != nullptr) SetFocus(gEdit);
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcW(window, message, wParam, lParam);
  }
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show) {
  WNDCLASSW windowClass = {};
  windowClass.lpfnWndProc = WindowProc;
  windowClass.hInstance = instance;
  windowClass.lpszClassName = L"VelluminPasteTarget";
  windowClass.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
  RegisterClassW(&windowClass);
  HWND window =
      CreateWindowExW(0, windowClass.lpszClassName, L"Vellumin Paste Target", WS_OVERLAPPEDWINDOW,
                      100, 100, 500, 300, nullptr, nullptr, instance, nullptr);
  gEdit = CreateWindowExW(0, L"Edit", L"",
                          WS_CHILD | WS_VISIBLE | ES_MULTILINE | ES_AUTOVSCROLL | WS_VSCROLL, 0, 0,
                          500, 300, window, nullptr, instance, nullptr);
  ShowWindow(window, show);
  SetFocus(gEdit);
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return 0;
}
