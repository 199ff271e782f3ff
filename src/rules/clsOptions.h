#pragma once
// The preferences record and its stored form under ProductKey\Options.
#include <cstdint>
#include <string>

#include "rules/SLRules.h"

class TVLMNOptions {
 public:
  bool CloseMinimizes = true;
  bool SaveWindow = true;
  bool AutoStart = true;  // replaced by Load: whether the start-with-system entry exists
  bool ShowTips = true;
  int32_t FontSize = 8;
  std::string FontName = "Tahoma";
  TSLTrackingRules TrackingRules;
  TSLPastingRules PastingRules;

  // Reads the stored form; a missing entry keeps the field's current value.
  void Load();
  // Writes the stored form (not AutoStart).
  void Save();
};

// The one options record, created by start-up.
extern TVLMNOptions* VLMNOptions;

// Writes (enable) or deletes the start-with-system entry for the program file.
void ApplyAutoStart(bool enable, const std::string& exeName);
