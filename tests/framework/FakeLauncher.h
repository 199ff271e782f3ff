#pragma once
// A launcher that records what would have been opened or started.
#include <stdexcept>
#include <string>
#include <vector>

#include "framework/SLLauncher.h"

class TFakeLauncher : public ISLLauncher {
 public:
  TFakeLauncher() { SetLauncher(this); }
  ~TFakeLauncher() override { SetLauncher(nullptr); }

  bool OpenURL(const std::string& url) override {
    if (throwOnOpen) throw std::runtime_error("opener crashed");
    urls.push_back(url);
    return openSucceeds;
  }
  bool StartProgram(const std::string& path) override {
    programs.push_back(path);
    return startSucceeds;
  }
  std::string FindSystemInfoProgram() override { return installedSystemInfo; }
  void Beep(int frequency, int milliseconds) override {
    beeps.push_back(std::to_string(frequency) + "/" + std::to_string(milliseconds));
  }

  std::string OpenFailure() override { return "no opener installed"; }

  std::vector<std::string> urls, programs, beeps;
  bool openSucceeds = true, startSucceeds = true, throwOnOpen = false;
  std::string installedSystemInfo;
};
