#include "paste/clsTracker.h"

#include "framework/SLText.h"
#include "platform/Desktop.h"
#include "rules/SLRules.h"
#include "rules/clsOptions.h"

TWindowHandle GetForegroundWindowHandle() {
  return WindowSystem().ForegroundWindow();
}

std::string GetWindowClassName(TWindowHandle window) {
  return TruncateChars(WindowSystem().ClassName(window), kWindowTextMax);
}

std::string GetWindowCaption(TWindowHandle window) {
  return TruncateChars(WindowSystem().Caption(window), kWindowTextMax);
}

bool IsWindowExcluded(const std::string& className, const std::string& caption) {
  if (VLMNOptions == nullptr) return false;
  const TWindowTexts texts{className, caption};
  return FindTrackingRule(VLMNOptions->TrackingRules, texts) != nullptr;
}

std::string LastWindowText(const std::string& caption, const std::string& className) {
  return "Last Window: " + caption + " / " + className;
}

void TrackForegroundWindow(ITrackerView& view) {
  const TWindowHandle window = GetForegroundWindowHandle();
  if (window == kNoWindow) {
    LastWindow = kNoWindow;
    return;
  }
  const std::string className = GetWindowClassName(window);
  const std::string caption = GetWindowCaption(window);
  if (view.IsOwnWindow(window) || IsWindowExcluded(className, caption)) {
    LastWindow = kNoWindow;
    return;
  }
  if (!className.empty() && !caption.empty() && WindowSystem().IsWindow(window)) {
    LastWindow = window;
    view.ShowLastWindow(LastWindowText(caption, className));
  }
}

void EnableTrayItems(ITrayEntries* entries) {
  if (entries == nullptr) return;
  const bool enabled = LastWindow != kNoWindow;
  const int count = entries->EntryCount();
  for (int i = 0; i < count; ++i)
    if (entries->EntryTag(i) != -1) entries->SetEntryEnabled(i, enabled);
}
