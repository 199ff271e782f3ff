#include "rules/clsOptions.h"

#include <exception>

#include "app/SLApplication.h"
#include "library/SLRegistry.h"
#include "platform/AutoStart.h"

TVLMNOptions* VLMNOptions = nullptr;

namespace {

constexpr RegHive kHive = RegHive::CurrentUser;

// The per-user key of the preferences: below the descriptor's ProductKey once
// start-up has built the descriptor, below the built-in key before that.
std::string OptionsKey() {
  const std::string productKey = (SLApplication != nullptr && !SLApplication->ProductKey.empty())
                                     ? SLApplication->ProductKey
                                     : std::string(kProductKey);
  return productKey + "\\Options";
}

}  // namespace

void TVLMNOptions::Load() {
  const std::string key = OptionsKey();
  CloseMinimizes = ReadRegBool(kHive, key, "CloseMinimizes", CloseMinimizes);
  SaveWindow = ReadRegBool(kHive, key, "SaveWindow", SaveWindow);
  FontName = ReadRegString(kHive, key, "FontName", FontName);
  FontSize = ReadRegInteger(kHive, key, "FontSize", FontSize);
  AutoStart = AutoStartEntry().Exists();
  // A stored rule line with a non-numeric field ends the rule reading: the
  // rules read so far stay, and after a failure in the tracking rules the
  // pasting rules are not read at all. The remaining options still load.
  try {
    StringsToTrackingRules(TrackingRules, ReadRegValueNames(kHive, key, "Tracking"));
    StringsToPastingRules(PastingRules, ReadRegValueNames(kHive, key, "Pasting"));
  } catch (const std::exception&) {
  }
  ShowTips = ReadRegBool(kHive, key, "ShowTips", ShowTips);
}

void TVLMNOptions::Save() {
  const std::string key = OptionsKey();
  // One batch, so that an interrupted save leaves the previous options whole.
  RegistryBatch batch(kHive);
  WriteRegBool(kHive, key, "CloseMinimizes", CloseMinimizes);
  WriteRegBool(kHive, key, "SaveWindow", SaveWindow);
  WriteRegString(kHive, key, "FontName", FontName);
  WriteRegInteger(kHive, key, "FontSize", FontSize);
  WriteRegValueNames(kHive, key, "Tracking", TrackingRulesToStrings(TrackingRules));
  WriteRegValueNames(kHive, key, "Pasting", PastingRulesToStrings(PastingRules));
  WriteRegBool(kHive, key, "ShowTips", ShowTips);
  batch.Commit();
}

void ApplyAutoStart(bool enable, const std::string& exeName) {
  if (enable)
    AutoStartEntry().Write(exeName);
  else
    AutoStartEntry().Delete();
}
