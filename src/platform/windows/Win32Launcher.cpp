#include "platform/windows/Win32Launcher.h"

#include <windows.h>

#include <shellapi.h>

#include "library/SLRegistry.h"

namespace {

bool ShellOpen(HWND parent, const std::string& file) {
  const auto result = reinterpret_cast<INT_PTR>(
      ShellExecuteA(parent, nullptr, file.c_str(), nullptr, nullptr, SW_SHOWNORMAL));
  return result > 32;
}

}  // namespace

void* Win32ApplicationWindow() {
  HWND front = GetForegroundWindow();
  DWORD process = 0;
  if (front != nullptr) GetWindowThreadProcessId(front, &process);
  return process == GetCurrentProcessId() ? GetAncestor(front, GA_ROOTOWNER) : nullptr;
}

// Web pages open without a parent window.
bool TWin32Launcher::OpenURL(const std::string& url) {
  return ShellOpen(nullptr, url);
}

bool TWin32Launcher::StartProgram(const std::string& path) {
  return ShellOpen(static_cast<HWND>(Win32ApplicationWindow()), path);
}

std::string TWin32Launcher::FindSystemInfoProgram() {
  return ReadRegString(RegHive::LocalMachine, "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO", "Path",
                       "");
}

void TWin32Launcher::Beep(int frequency, int milliseconds) {
  ::Beep(static_cast<DWORD>(frequency), static_cast<DWORD>(milliseconds));
}

void InstallWin32Launcher() {
  static TWin32Launcher launcher;
  SetLauncher(&launcher);
}
