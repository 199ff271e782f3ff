#pragma once
// The launchers on Windows: ShellExecuteA for addresses and programs, the
// system information tool registered under HKEY_LOCAL_MACHINE, and Beep.
#include "framework/SLLauncher.h"

class TWin32Launcher : public ISLLauncher {
 public:
  // Both answer false when the shell's result is 32 or less.
  bool OpenURL(const std::string& url) override;
  bool StartProgram(const std::string& path) override;
  // "SOFTWARE\Microsoft\Shared Tools\MSINFO", value "Path"; "" when missing.
  std::string FindSystemInfoProgram() override;
  void Beep(int frequency, int milliseconds) override;
};

// Installs the launcher for the rest of the run.
void InstallWin32Launcher();

// The top-level window that owns the program's windows (an HWND): the one in
// front when it is ours, else none. The parent of shell, mail and help calls.
void* Win32ApplicationWindow();
