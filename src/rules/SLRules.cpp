#include "rules/SLRules.h"

#include <string_view>

#include "app/Strings.h"
#include "framework/SLText.h"
#include "framework/SLUtils.h"

namespace {

// The drop-down lists hold the defined codes in code order: position 0 is
// code 1, position 1 is code 2.
uint8_t CodeFromIndex(int position) {
  return (position == 0 || position == 1) ? static_cast<uint8_t>(position + 1) : 0;
}

int CodeToIndex(uint8_t code) {
  return (code == 1 || code == 2) ? code - 1 : -1;
}

// Cuts the text before the first ";" off `rest` and returns it; false (and
// `rest` untouched) when there is no ";".
bool TakeField(std::string_view& rest, std::string_view& field) {
  const size_t sep = rest.find(';');
  if (sep == std::string_view::npos) return false;
  field = rest.substr(0, sep);
  rest.remove_prefix(sep + 1);
  return true;
}

// Reads the two leading fields shared by both line forms. Throws
// EConvertError when a field is not a number.
bool TakeAttributeAndComparison(std::string_view& rest, uint8_t& attribute, uint8_t& comparison) {
  std::string_view field;
  if (!TakeField(rest, field)) return false;
  attribute = AttributeFromIndex(StrToInt(std::string(field)));
  if (!TakeField(rest, field)) return false;
  comparison = ComparisonFromIndex(StrToInt(std::string(field)));
  return true;
}

std::string LineHead(uint8_t attribute, uint8_t comparison) {
  return IntToStr(AttributeToIndex(attribute)) + ";" + IntToStr(ComparisonToIndex(comparison)) +
         ";";
}

template <class Rule>
const Rule* FindRule(const TSLList<Rule>& rules, const TWindowTexts& window) {
  for (const Rule* rule : rules)
    if (RuleMatches(rule->Attribute, rule->Comparison, rule->Value, window)) return rule;
  return nullptr;
}

template <class Rule>
bool RuleExists(int skipIndex, const TSLList<Rule>& rules, const Rule& rule) {
  for (int i = 0; i < rules.Count(); ++i) {
    if (i == skipIndex) continue;
    const Rule* other = rules[i];
    if (other->Attribute == rule.Attribute && other->Comparison == rule.Comparison &&
        other->Value == rule.Value)
      return true;
  }
  return false;
}

}  // namespace

uint8_t AttributeFromIndex(int position) {
  return CodeFromIndex(position);
}
uint8_t ComparisonFromIndex(int position) {
  return CodeFromIndex(position);
}
int AttributeToIndex(uint8_t code) {
  return CodeToIndex(code);
}
int ComparisonToIndex(uint8_t code) {
  return CodeToIndex(code);
}

std::string AttributeName(uint8_t code) {
  switch (code) {
    case raClassName:
      return Text(Str::RuleClassName);
    case raCaption:
      return Text(Str::RuleCaption);
    default:
      return Text(Str::RuleUndefined);
  }
}

std::string ComparisonName(uint8_t code) {
  switch (code) {
    case rcEqual:
      return Text(Str::RuleEqual);
    case rcContains:
      return Text(Str::RuleContains);
    default:
      return Text(Str::RuleUndefined);
  }
}

std::string PastingMethodName(bool standard) {
  return Text(standard ? Str::MethodStandard : Str::MethodKeys);
}

bool MatchText(const std::string& text, const std::string& value, uint8_t comparison) {
  switch (comparison) {
    case rcEqual:
      return text == value;
    case rcContains:
      if (text.empty() || value.empty()) return false;
      return FindAtCharBoundary(text, value) != std::string_view::npos;
    default:
      return false;
  }
}

bool RuleMatches(uint8_t attribute, uint8_t comparison, const std::string& value,
                 const TWindowTexts& window) {
  switch (attribute) {
    case raClassName:
      return MatchText(window.ClassName, value, comparison);
    case raCaption:
      return MatchText(window.Caption, value, comparison);
    default:
      return false;
  }
}

const TSLTrackingRule* FindTrackingRule(const TSLTrackingRules& rules, const TWindowTexts& window) {
  return FindRule(rules, window);
}

const TSLPastingRule* FindPastingRule(const TSLPastingRules& rules, const TWindowTexts& window) {
  return FindRule(rules, window);
}

std::vector<std::string> TrackingRulesToStrings(const TSLTrackingRules& rules) {
  std::vector<std::string> lines;
  lines.reserve(rules.Count());
  for (const TSLTrackingRule* rule : rules)
    lines.push_back(LineHead(rule->Attribute, rule->Comparison) + rule->Value);
  return lines;
}

void StringsToTrackingRules(TSLTrackingRules& rules, const std::vector<std::string>& lines) {
  rules.Clear();
  for (const std::string& line : lines) {
    std::string_view rest = line;
    uint8_t attribute, comparison;
    if (!TakeAttributeAndComparison(rest, attribute, comparison)) continue;
    if (rest.empty()) continue;
    auto* rule = new TSLTrackingRule;
    rule->Attribute = attribute;
    rule->Comparison = comparison;
    rule->Value = std::string(rest);
    rules.Add(rule);
  }
}

std::vector<std::string> PastingRulesToStrings(const TSLPastingRules& rules) {
  std::vector<std::string> lines;
  lines.reserve(rules.Count());
  for (const TSLPastingRule* rule : rules) {
    std::string keys;
    for (const std::string& key : rule->Keys) keys += key + "\r\n";
    lines.push_back(LineHead(rule->Attribute, rule->Comparison) + BoolToText(rule->Standard) + ";" +
                    keys + ";" + rule->Value);
  }
  return lines;
}

void StringsToPastingRules(TSLPastingRules& rules, const std::vector<std::string>& lines) {
  rules.Clear();
  for (const std::string& line : lines) {
    std::string_view rest = line;
    uint8_t attribute, comparison;
    if (!TakeAttributeAndComparison(rest, attribute, comparison)) continue;
    std::string_view standard, keys;
    if (!TakeField(rest, standard) || !TakeField(rest, keys)) continue;
    if (rest.empty()) continue;
    auto* rule = new TSLPastingRule;
    rule->Attribute = attribute;
    rule->Comparison = comparison;
    rule->Standard = TextToBool(std::string(standard));
    rule->Keys = SplitLines(keys);
    rule->Value = std::string(rest);
    rules.Add(rule);
  }
}

bool TrackingRuleExists(int skipIndex, const TSLTrackingRules& rules, const TSLTrackingRule& rule) {
  return RuleExists(skipIndex, rules, rule);
}

bool PastingRuleExists(int skipIndex, const TSLPastingRules& rules, const TSLPastingRule& rule) {
  return RuleExists(skipIndex, rules, rule);
}
