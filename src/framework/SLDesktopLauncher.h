#pragma once
// The desktop's launchers: xdg-open for addresses, detached processes for
// programs, and the first system information tool found on the PATH.
#include "framework/SLLauncher.h"

class TSLDesktopLauncher : public ISLLauncher {
 public:
  bool OpenURL(const std::string& url) override;
  bool StartProgram(const std::string& path) override;
  std::string FindSystemInfoProgram() override;
  void Beep(int frequency, int milliseconds) override;
  // Tells a missing xdg-open (the package to install) from one that did not start.
  std::string OpenFailure() override;
};

// Installs the desktop's launcher for the rest of the run.
void InstallDesktopLauncher();
