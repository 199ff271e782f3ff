#include "platform/Desktop.h"

namespace {

class TNullDesktop : public IWindowSystem, public IKeyInjector, public IClipboardWriter {
 public:
  TWindowHandle ForegroundWindow() override { return kNoWindow; }
  std::string ClassName(TWindowHandle) override { return {}; }
  std::string Caption(TWindowHandle) override { return {}; }
  bool IsWindow(TWindowHandle) override { return false; }
  void Activate(TWindowHandle, std::function<void(bool)> answer) override { answer(false); }
  void SendKey(uint8_t, bool) override {}
  int16_t KeyScan(char) override { return -1; }
  bool SetText(const std::string&) override { return true; }
};

TNullDesktop gNullDesktop;
IWindowSystem* gWindowSystem = nullptr;
IKeyInjector* gKeyInjector = nullptr;
IClipboardWriter* gClipboard = nullptr;

}  // namespace

IWindowSystem& WindowSystem() {
  return gWindowSystem ? *gWindowSystem : gNullDesktop;
}
IKeyInjector& KeyInjector() {
  return gKeyInjector ? *gKeyInjector : gNullDesktop;
}
IClipboardWriter& ClipboardWriter() {
  return gClipboard ? *gClipboard : gNullDesktop;
}
void SetWindowSystem(IWindowSystem* windowSystem) {
  gWindowSystem = windowSystem;
}
void SetKeyInjector(IKeyInjector* injector) {
  gKeyInjector = injector;
}
void SetClipboardWriter(IClipboardWriter* clipboard) {
  gClipboard = clipboard;
}
