#pragma once
// The help engine on Windows: HtmlHelpA from the HTML Help library, loaded on
// the first call and kept until the engine ends.
#include <cstdint>
#include <string>

inline constexpr unsigned kHelpDisplayTopic = 0x0000;  // HH_DISPLAY_TOPIC
inline constexpr unsigned kHelpContext = 0x000F;       // HH_HELP_CONTEXT

class TWin32HelpEngine {
 public:
  explicit TWin32HelpEngine(std::string library = "HHCtrl.ocx");
  ~TWin32HelpEngine();
  TWin32HelpEngine(const TWin32HelpEngine&) = delete;
  TWin32HelpEngine& operator=(const TWin32HelpEngine&) = delete;

  // What HtmlHelpA answers (a window handle, or 0); -1 with a short beep
  // (1000 Hz, 100 ms, through the launcher) when the library or its entry is
  // missing. The load is tried once.
  intptr_t Call(void* caller, const std::string& file, unsigned command, uintptr_t data);

 private:
  std::string library_;
  bool tried_ = false;
  void* module_ = nullptr;
  void* htmlHelp_ = nullptr;
};

// The engine ShowHelp uses; SetHelpEngine installs another (tests), null
// restores the one of HHCtrl.ocx.
TWin32HelpEngine& HelpEngine();
void SetHelpEngine(TWin32HelpEngine* engine);
