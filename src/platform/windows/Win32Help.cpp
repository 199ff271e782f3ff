#include "platform/windows/Win32Help.h"

#include <windows.h>

#include "framework/SLLauncher.h"

namespace {

using HtmlHelpFunction = HWND(WINAPI*)(HWND, LPCSTR, UINT, DWORD_PTR);

TWin32HelpEngine* gHelpEngine = nullptr;

}  // namespace

TWin32HelpEngine::TWin32HelpEngine(std::string library) : library_(std::move(library)) {}

TWin32HelpEngine::~TWin32HelpEngine() {
  if (module_ != nullptr) FreeLibrary(static_cast<HMODULE>(module_));
}

intptr_t TWin32HelpEngine::Call(void* caller, const std::string& file, unsigned command,
                                uintptr_t data) {
  if (!tried_) {
    tried_ = true;
    module_ = LoadLibraryA(library_.c_str());
    if (module_ != nullptr)
      htmlHelp_ =
          reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(module_), "HtmlHelpA"));
  }
  if (htmlHelp_ == nullptr) {
    Launcher().Beep(1000, 100);
    return -1;
  }
  auto htmlHelp = reinterpret_cast<HtmlHelpFunction>(htmlHelp_);
  return reinterpret_cast<intptr_t>(
      htmlHelp(static_cast<HWND>(caller), file.c_str(), command, data));
}

TWin32HelpEngine& HelpEngine() {
  static TWin32HelpEngine engine;
  return gHelpEngine != nullptr ? *gHelpEngine : engine;
}

void SetHelpEngine(TWin32HelpEngine* engine) {
  gHelpEngine = engine;
}
