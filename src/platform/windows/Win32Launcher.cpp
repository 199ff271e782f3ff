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

// The top-level window that owns the program's windows: the one in front
// when it is ours, else none.
HWND ApplicationWindow() {
  HWND front = GetForegroundWindow();
  DWORD process = 0;
  if (front != nullptr) GetWindowThreadProcessId(front, &process);
  return process == GetCurrentProcessId() ? GetAncestor(front, GA_ROOTOWNER) : nullptr;
}

}  // namespace

// Web pages open without a parent window.
bool TWin32Launcher::OpenURL(const std::string& url) {
  return ShellOpen(nullptr, url);
}

bool TWin32Launcher::StartProgram(const std::string& path) {
  return ShellOpen(ApplicationWindow(), path);
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
