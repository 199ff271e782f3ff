#pragma once
// Window rules. Tracking rules name windows the tracker never remembers as the
// paste target; pasting rules name windows that need other paste keys.
#include <cstdint>
#include <string>
#include <vector>

#include "library/SLList.h"

// Attribute codes (the window property tested).
constexpr uint8_t raUndefined = 0;
constexpr uint8_t raClassName = 1;
constexpr uint8_t raCaption = 2;
// Comparison codes.
constexpr uint8_t rcUndefined = 0;
constexpr uint8_t rcEqual = 1;
constexpr uint8_t rcContains = 2;

class TSLTrackingRule {
 public:
  uint8_t Attribute = raUndefined;
  uint8_t Comparison = rcUndefined;
  std::string Value;
};

class TSLPastingRule {
 public:
  uint8_t Attribute = raUndefined;
  uint8_t Comparison = rcUndefined;
  std::string Value;
  bool Standard = true;           // true: Ctrl+V; false: press Keys in order
  std::vector<std::string> Keys;  // decimal 16-bit shortcut codes
};

using TSLTrackingRules = TSLList<TSLTrackingRule>;
using TSLPastingRules = TSLList<TSLPastingRule>;

// Drop-down position <-> code: 0 <-> 1, 1 <-> 2; anything else gives code 0 / position -1.
uint8_t AttributeFromIndex(int position);
uint8_t ComparisonFromIndex(int position);
int AttributeToIndex(uint8_t code);
int ComparisonToIndex(uint8_t code);
// Display names from the string table ("Class Name", "Contains", "<Undefined>" ...).
std::string AttributeName(uint8_t code);
std::string ComparisonName(uint8_t code);
std::string PastingMethodName(bool standard);  // "Standard" / "Keys"

bool MatchText(const std::string& text, const std::string& value, uint8_t comparison);

// The window texts a rule is matched against.
struct TWindowTexts {
  std::string ClassName;
  std::string Caption;
};
bool RuleMatches(uint8_t attribute, uint8_t comparison, const std::string& value,
                 const TWindowTexts& window);
// The first rule of the list that matches the window, or null.
const TSLTrackingRule* FindTrackingRule(const TSLTrackingRules& rules, const TWindowTexts& window);
const TSLPastingRule* FindPastingRule(const TSLPastingRules& rules, const TWindowTexts& window);

// Stored line forms. The String->rules readers clear the list first and throw
// EConvertError on a non-numeric field (the rules added before it stay).
std::vector<std::string> TrackingRulesToStrings(const TSLTrackingRules& rules);
void StringsToTrackingRules(TSLTrackingRules& rules, const std::vector<std::string>& lines);
std::vector<std::string> PastingRulesToStrings(const TSLPastingRules& rules);
void StringsToPastingRules(TSLPastingRules& rules, const std::vector<std::string>& lines);

// Duplicate tests of the rule editors: same Attribute, Comparison and Value at
// a position other than skipIndex (-1 for a new rule).
bool TrackingRuleExists(int skipIndex, const TSLTrackingRules& rules, const TSLTrackingRule& rule);
bool PastingRuleExists(int skipIndex, const TSLPastingRules& rules, const TSLPastingRule& rule);
