// The pasting rule the desktop tests give xterm: it takes Shift+Insert as a
// paste (of PRIMARY), not Ctrl+V.
#pragma once

#include "rules/SLRules.h"

inline TSLPastingRule* XTermPasteRule() {
  auto* rule = new TSLPastingRule;
  rule->Attribute = raClassName;
  rule->Comparison = rcEqual;
  rule->Value = "XTerm";
  rule->Standard = false;
  rule->Keys = {"8237"};  // Shift+Insert
  return rule;
}
