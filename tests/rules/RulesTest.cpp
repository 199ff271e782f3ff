// Window rules: codes, names, matching, first-match search, stored lines and
// the duplicate test.
#include <gtest/gtest.h>

#include "app/SLApplication.h"
#include "framework/SLExceptions.h"
#include "rules/SLRules.h"

namespace {

TSLTrackingRule* Tracking(uint8_t attribute, uint8_t comparison, const std::string& value) {
  auto* rule = new TSLTrackingRule;
  rule->Attribute = attribute;
  rule->Comparison = comparison;
  rule->Value = value;
  return rule;
}

TSLPastingRule* Pasting(uint8_t attribute, uint8_t comparison, const std::string& value,
                        bool standard = true, std::vector<std::string> keys = {}) {
  auto* rule = new TSLPastingRule;
  rule->Attribute = attribute;
  rule->Comparison = comparison;
  rule->Value = value;
  rule->Standard = standard;
  rule->Keys = std::move(keys);
  return rule;
}

TEST(RuleCodesTest, PositionsAndCodesConvertBothWays) {
  struct Case {
    int position;
    uint8_t code;
  } fromIndex[] = {{0, 1}, {1, 2}, {-1, 0}, {2, 0}, {255, 0}};
  for (const Case& c : fromIndex) {
    EXPECT_EQ(AttributeFromIndex(c.position), c.code) << c.position;
    EXPECT_EQ(ComparisonFromIndex(c.position), c.code) << c.position;
  }
  struct Back {
    uint8_t code;
    int position;
  } toIndex[] = {{1, 0}, {2, 1}, {0, -1}, {3, -1}, {255, -1}};
  for (const Back& c : toIndex) {
    EXPECT_EQ(AttributeToIndex(c.code), c.position) << int(c.code);
    EXPECT_EQ(ComparisonToIndex(c.code), c.position) << int(c.code);
  }
}

TEST(RuleNamesTest, ComeFromTheStringTableInTheProgramsLanguage) {
  ASSERT_EQ(SLApplication, nullptr);
  EXPECT_EQ(AttributeName(raClassName), "Class Name");
  EXPECT_EQ(AttributeName(raCaption), "Caption");
  EXPECT_EQ(ComparisonName(rcEqual), "Is exactly equal to");
  EXPECT_EQ(ComparisonName(rcContains), "Contains");
  for (uint8_t code : {0, 3, 200}) {
    EXPECT_EQ(AttributeName(code), "<Undefined>");
    EXPECT_EQ(ComparisonName(code), "<Undefined>");
  }
  EXPECT_EQ(PastingMethodName(true), "Standard");
  EXPECT_EQ(PastingMethodName(false), "Keys");

  TSLApplication portuguese;
  portuguese.English = false;
  SLApplication = &portuguese;
  EXPECT_EQ(AttributeName(raClassName), "Nome da Classe");
  EXPECT_EQ(ComparisonName(7), "<Indefinido>");
  EXPECT_EQ(PastingMethodName(false), "Teclas");
  SLApplication = nullptr;
}

TEST(MatchTextTest, ComparesCaseSensitivelyAtCharacterBoundaries) {
  const std::string euro = "\xE2\x82\xAC";
  struct Case {
    std::string text, value;
    uint8_t comparison;
    bool match;
  } cases[] = {
      {"Document1 - Word", "Word", rcContains, true},
      {"document - word", "Word", rcContains, false},
      {"Edit", "Edit", rcEqual, true},
      {"edit", "Edit", rcEqual, false},
      {"RichEdit", "Edit", rcEqual, false},
      {"RichEdit", "Edit", rcContains, true},
      {"Edit ", "Edit", rcEqual, false},  // no trimming
      {"Word", "Word", rcContains, true},
      {"Wor", "Word", rcContains, false},
      {"", "Word", rcContains, false},
      {"Word", "", rcContains, false},
      {"", "", rcContains, false},
      {"Price " + euro + "5", euro, rcContains, true},
      {"Price " + euro, "\x82\xAC", rcContains, false},  // would start inside the euro sign
      {"Edit", "Edit", rcUndefined, false},
      {"Edit", "Edit", 3, false},
  };
  for (const Case& c : cases)
    EXPECT_EQ(MatchText(c.text, c.value, c.comparison), c.match)
        << "'" << c.text << "' vs '" << c.value << "' comparison " << int(c.comparison);
}

TEST(FindRuleTest, FirstMatchingRuleInListOrderDecides) {
  TSLTrackingRules rules;
  rules.Add(Tracking(raUndefined, rcContains, "Word"));  // never matches
  rules.Add(Tracking(raClassName, rcEqual, "OpusApp"));
  rules.Add(Tracking(raCaption, rcContains, "Word"));
  rules.Add(Tracking(raCaption, rcContains, "Doc"));

  const TWindowTexts word{"OpusApp", "Document1 - Word"};
  EXPECT_EQ(FindTrackingRule(rules, word), rules[1]);
  const TWindowTexts other{"Other", "Document1 - Word"};
  EXPECT_EQ(FindTrackingRule(rules, other), rules[2]);
  const TWindowTexts caption{"Word", "Word"};  // the class name is never tested by caption rules
  EXPECT_EQ(FindTrackingRule(rules, caption), rules[2]);
  const TWindowTexts none{"Word", "Nothing here"};
  EXPECT_EQ(FindTrackingRule(rules, none), nullptr);
  EXPECT_EQ(FindTrackingRule(TSLTrackingRules(), word), nullptr);

  TSLPastingRules pasting;
  pasting.Add(Pasting(raCaption, rcContains, "Term", false, {"8237"}));
  pasting.Add(Pasting(raCaption, rcContains, "Terminal", true));
  EXPECT_EQ(FindPastingRule(pasting, {"x", "Terminal"}), pasting[0]);
  EXPECT_EQ(FindPastingRule(pasting, {"Terminal", "x"}), nullptr);
}

TEST(RuleLinesTest, TrackingRulesWriteIndexesAndValue) {
  TSLTrackingRules rules;
  rules.Add(Tracking(raClassName, rcEqual, "Notepad"));
  rules.Add(Tracking(raCaption, rcContains, "a;b"));
  rules.Add(Tracking(raUndefined, 9, "x"));
  const std::vector<std::string> expected = {"0;0;Notepad", "1;1;a;b", "-1;-1;x"};
  EXPECT_EQ(TrackingRulesToStrings(rules), expected);
  EXPECT_TRUE(TrackingRulesToStrings(TSLTrackingRules()).empty());
}

TEST(RuleLinesTest, PastingRulesWriteMethodAndEachKeyWithCrLf) {
  TSLPastingRules rules;
  rules.Add(Pasting(raClassName, rcContains, "Edit", true));
  rules.Add(Pasting(raCaption, rcContains, "Term", false, {"16470", "8237"}));
  rules.Add(Pasting(raCaption, rcEqual, "One", false, {"16470"}));
  const std::vector<std::string> expected = {"0;1;TRUE;;Edit", "1;1;FALSE;16470\r\n8237\r\n;Term",
                                             "1;0;FALSE;16470\r\n;One"};
  EXPECT_EQ(PastingRulesToStrings(rules), expected);
}

TEST(RuleLinesTest, ReadingTrackingLinesSkipsIncompleteOnes) {
  TSLTrackingRules rules;
  rules.Add(Tracking(raCaption, rcContains, "left over"));
  StringsToTrackingRules(rules, {
                                    "0;0;Notepad",
                                    "no separator",
                                    "",
                                    "1;0",        // one separator only
                                    "1;1;",       // empty value
                                    "1;1;a;b",    // the value keeps its own separators
                                    "5;-3;kept",  // out-of-range numbers read as code 0
                                    " 1 ;+0;blanks",
                                });
  ASSERT_EQ(rules.Count(), 4);
  struct Expected {
    uint8_t attribute, comparison;
    const char* value;
  } expected[] = {{raClassName, rcEqual, "Notepad"},
                  {raCaption, rcContains, "a;b"},
                  {raUndefined, rcUndefined, "kept"},
                  {raCaption, rcEqual, "blanks"}};
  for (int i = 0; i < 4; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(rules[i]->Attribute, expected[i].attribute);
    EXPECT_EQ(rules[i]->Comparison, expected[i].comparison);
    EXPECT_EQ(rules[i]->Value, expected[i].value);
  }
  EXPECT_EQ(AttributeName(rules[2]->Attribute), "<Undefined>");
  EXPECT_EQ(FindTrackingRule(rules, {"kept", "kept"}), nullptr);
}

TEST(RuleLinesTest, NonNumericFieldEndsTheReadingAndKeepsEarlierRules) {
  struct Case {
    std::vector<std::string> lines;
    const char* message;
  } cases[] = {
      {{"0;0;first", "x;0;bad", "1;1;after"}, "'x' is not a valid integer value"},
      {{"0;0;first", "0;zero;bad", "1;1;after"}, "'zero' is not a valid integer value"},
      // The first field is converted before the second separator is looked for.
      {{"0;0;first", "abc;no second separator", "1;1;after"}, "'abc' is not a valid integer value"},
      // ... and both before the value is checked.
      {{"0;0;first", "0; ;", "1;1;after"}, "' ' is not a valid integer value"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.message);
    TSLTrackingRules rules;
    try {
      StringsToTrackingRules(rules, c.lines);
      ADD_FAILURE() << "no exception";
    } catch (const EConvertError& e) {
      EXPECT_EQ(std::string(e.what()), c.message);
    }
    ASSERT_EQ(rules.Count(), 1);
    EXPECT_EQ(rules[0]->Value, "first");

    TSLPastingRules pasting;
    std::vector<std::string> pastingLines;
    for (const std::string& line : c.lines)
      pastingLines.push_back(line.substr(0, 4) == "0;0;" ? "0;0;TRUE;;" + line.substr(4) : line);
    EXPECT_THROW(StringsToPastingRules(pasting, pastingLines), EConvertError);
    ASSERT_EQ(pasting.Count(), 1);
    EXPECT_EQ(pasting[0]->Value, "first");
  }
}

TEST(RuleLinesTest, ReadingPastingLinesTakesMethodKeysAndValue) {
  TSLPastingRules rules;
  StringsToPastingRules(rules,
                        {
                            "1;1;FALSE;16470\r\n;a;b",
                            "0;0;TRUE",                  // no keys field
                            "0;0;TRUE;",                 // no separator after the keys
                            "0;0;FALSE;16470\r\nvalue",  // the same, with text after the keys
                            "0;0;TRUE;;",                // empty value
                            "0;0;true;;lower",           // only "TRUE" is true
                            "0;1;TRUE;;std",
                            "1;0;FALSE;1\n2\r3\r\n;mixed",
                        });
  ASSERT_EQ(rules.Count(), 4);
  EXPECT_EQ(rules[0]->Attribute, raCaption);
  EXPECT_EQ(rules[0]->Comparison, rcContains);
  EXPECT_FALSE(rules[0]->Standard);
  EXPECT_EQ(rules[0]->Keys, std::vector<std::string>{"16470"});
  EXPECT_EQ(rules[0]->Value, "a;b");

  EXPECT_FALSE(rules[1]->Standard);
  EXPECT_EQ(rules[1]->Value, "lower");
  EXPECT_TRUE(rules[2]->Standard);
  EXPECT_TRUE(rules[2]->Keys.empty());
  EXPECT_EQ(rules[3]->Keys, (std::vector<std::string>{"1", "2", "3"}));
}

TEST(RuleLinesTest, ReadingClearsTheListAndWrittenLinesReadBack) {
  TSLPastingRules rules;
  rules.Add(Pasting(raCaption, rcContains, "x;y", false, {"16470", "8237", "45", "32813"}));
  rules.Add(Pasting(raClassName, rcEqual, "Edit"));
  const std::vector<std::string> lines = PastingRulesToStrings(rules);

  TSLPastingRules back;
  back.Add(Pasting(raCaption, rcEqual, "stale"));
  StringsToPastingRules(back, lines);
  ASSERT_EQ(back.Count(), 2);
  for (int i = 0; i < 2; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(back[i]->Attribute, rules[i]->Attribute);
    EXPECT_EQ(back[i]->Comparison, rules[i]->Comparison);
    EXPECT_EQ(back[i]->Value, rules[i]->Value);
    EXPECT_EQ(back[i]->Standard, rules[i]->Standard);
    EXPECT_EQ(back[i]->Keys, rules[i]->Keys);
  }

  TSLTrackingRules tracking;
  tracking.Add(Tracking(raCaption, rcContains, "stale"));
  StringsToTrackingRules(tracking, {});
  EXPECT_EQ(tracking.Count(), 0);
}

TEST(RuleExistsTest, SameAttributeComparisonAndExactValueAtAnotherPosition) {
  TSLTrackingRules rules;
  rules.Add(Tracking(raCaption, rcContains, "Word"));
  rules.Add(Tracking(raClassName, rcEqual, "Edit"));

  struct Case {
    uint8_t attribute, comparison;
    const char* value;
    int skipIndex;
    bool exists;
  } cases[] = {
      {raCaption, rcContains, "Word", -1, true},
      {raCaption, rcContains, "word", -1, false},  // case counts
      {raCaption, rcEqual, "Word", -1, false},
      {raClassName, rcContains, "Word", -1, false},
      {raCaption, rcContains, "Word", 0, false},  // the edited rule itself
      {raCaption, rcContains, "Word", 1, true},
      {raClassName, rcEqual, "Edit", 1, false},
  };
  for (const Case& c : cases) {
    TSLTrackingRule rule;
    rule.Attribute = c.attribute;
    rule.Comparison = c.comparison;
    rule.Value = c.value;
    EXPECT_EQ(TrackingRuleExists(c.skipIndex, rules, rule), c.exists)
        << c.value << " skip " << c.skipIndex;
  }
}

TEST(RuleExistsTest, PastingRulesIgnoreMethodAndKeys) {
  TSLPastingRules rules;
  rules.Add(Pasting(raCaption, rcContains, "Term", false, {"8237"}));

  TSLPastingRule other;
  other.Attribute = raCaption;
  other.Comparison = rcContains;
  other.Value = "Term";
  other.Standard = true;
  EXPECT_TRUE(PastingRuleExists(-1, rules, other));
  other.Standard = false;
  other.Keys = {"16470", "45"};
  EXPECT_TRUE(PastingRuleExists(-1, rules, other));
  EXPECT_FALSE(PastingRuleExists(0, rules, other));
  other.Value = "TERM";
  EXPECT_FALSE(PastingRuleExists(-1, rules, other));
}

}  // namespace
