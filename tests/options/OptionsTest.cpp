// The preferences record on a temporary registry, with the start-with-system
// entry kept as the Run value in that registry.
#include <gtest/gtest.h>

#include <optional>

#include "TestSupport.h"
#include "app/SLApplication.h"
#include "library/SLRegistry.h"
#include "platform/AutoStart.h"
#include "rules/clsOptions.h"

namespace {

const std::string kOptionsKey = std::string(kProductKey) + "\\Options";
const std::string kRunKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr RegHive kHKCU = RegHive::CurrentUser;

class OptionsTest : public testing::Test {
 protected:
  OptionsTest() { SetAutoStart(&autoStart_); }
  ~OptionsTest() override { SetAutoStart(nullptr); }

  // The Run value "VLMN" as stored, or nothing when it does not exist.
  std::optional<std::string> RunValue() {
    if (!RegValueExists(kHKCU, kRunKey, "VLMN")) return std::nullopt;
    return ReadRegString(kHKCU, kRunKey, "VLMN", "<not a string>");
  }

  ScopedTestRegistry registry_;
  TRegistryAutoStart autoStart_;
};

TSLTrackingRule* Tracking(uint8_t attribute, uint8_t comparison, const std::string& value) {
  auto* rule = new TSLTrackingRule;
  rule->Attribute = attribute;
  rule->Comparison = comparison;
  rule->Value = value;
  return rule;
}

TEST_F(OptionsTest, FreshProfileLoadsTheDefaults) {
  TVLMNOptions options;
  options.Load();
  EXPECT_TRUE(options.CloseMinimizes);
  EXPECT_TRUE(options.SaveWindow);
  EXPECT_EQ(options.FontName, "Tahoma");
  EXPECT_EQ(options.FontSize, 8);
  EXPECT_EQ(options.TrackingRules.Count(), 0);
  EXPECT_EQ(options.PastingRules.Count(), 0);
  EXPECT_TRUE(options.ShowTips);
  EXPECT_FALSE(options.AutoStart);
}

TEST_F(OptionsTest, MissingEntriesKeepTheCurrentValues) {
  TVLMNOptions options;
  options.CloseMinimizes = false;
  options.ShowTips = false;
  options.FontName = "Sans";
  options.FontSize = 13;
  options.Load();
  EXPECT_FALSE(options.CloseMinimizes);
  EXPECT_FALSE(options.ShowTips);
  EXPECT_EQ(options.FontName, "Sans");
  EXPECT_EQ(options.FontSize, 13);
}

TEST_F(OptionsTest, AnyRunValueMeansAutoStart) {
  for (const std::string& data : {std::string(), std::string("/usr/bin/kvlmn")}) {
    WriteRegString(kHKCU, kRunKey, "VLMN", data);
    TVLMNOptions options;
    options.Load();
    EXPECT_TRUE(options.AutoStart) << "'" << data << "'";
  }
  DeleteRegValue(kHKCU, kRunKey, "VLMN");
  TVLMNOptions options;
  options.Load();
  EXPECT_FALSE(options.AutoStart);
}

TEST_F(OptionsTest, SaveWritesTheStoredFormAndLoadReadsItBack) {
  TVLMNOptions options;
  options.CloseMinimizes = false;
  options.SaveWindow = false;
  options.ShowTips = false;
  options.FontSize = 11;
  options.FontName = "DejaVu Sans";
  options.TrackingRules.Add(Tracking(raClassName, rcEqual, "Notepad"));
  options.TrackingRules.Add(Tracking(raCaption, rcContains, "a;b"));
  options.Save();

  EXPECT_EQ(ReadRegInteger(kHKCU, kOptionsKey, "CloseMinimizes", -1), 0);
  EXPECT_EQ(ReadRegInteger(kHKCU, kOptionsKey, "SaveWindow", -1), 0);
  EXPECT_EQ(ReadRegInteger(kHKCU, kOptionsKey, "ShowTips", -1), 0);
  EXPECT_EQ(ReadRegInteger(kHKCU, kOptionsKey, "FontSize", -1), 11);
  EXPECT_EQ(ReadRegString(kHKCU, kOptionsKey, "FontName", ""), "DejaVu Sans");
  EXPECT_EQ(ReadRegValueNames(kHKCU, kOptionsKey, "Tracking"),
            (std::vector<std::string>{"0;0;Notepad", "1;1;a;b"}));
  EXPECT_EQ(ReadRegString(kHKCU, kOptionsKey + "\\Tracking", "0;0;Notepad", "<missing>"), "");

  TVLMNOptions back;
  back.Load();
  EXPECT_FALSE(back.CloseMinimizes);
  EXPECT_FALSE(back.SaveWindow);
  EXPECT_FALSE(back.ShowTips);
  EXPECT_EQ(back.FontSize, 11);
  EXPECT_EQ(back.FontName, "DejaVu Sans");
  ASSERT_EQ(back.TrackingRules.Count(), 2);
  EXPECT_EQ(back.TrackingRules[0]->Value, "Notepad");
  EXPECT_EQ(back.TrackingRules[1]->Attribute, raCaption);
  EXPECT_EQ(back.TrackingRules[1]->Value, "a;b");
}

TEST_F(OptionsTest, PastingRuleKeysSurviveSaveAndLoadInOrder) {
  TVLMNOptions options;
  auto* rule = new TSLPastingRule;
  rule->Attribute = raCaption;
  rule->Comparison = rcContains;
  rule->Value = "Terminal";
  rule->Standard = false;
  rule->Keys = {"24662", "16470", "8237", "45"};
  options.PastingRules.Add(rule);
  auto* standard = new TSLPastingRule;
  standard->Attribute = raClassName;
  standard->Comparison = rcEqual;
  standard->Value = "Edit";
  options.PastingRules.Add(standard);
  options.Save();

  TVLMNOptions back;
  back.Load();
  ASSERT_EQ(back.PastingRules.Count(), 2);
  EXPECT_FALSE(back.PastingRules[0]->Standard);
  EXPECT_EQ(back.PastingRules[0]->Keys, rule->Keys);
  EXPECT_EQ(back.PastingRules[0]->Value, "Terminal");
  EXPECT_TRUE(back.PastingRules[1]->Standard);
  EXPECT_TRUE(back.PastingRules[1]->Keys.empty());
  EXPECT_EQ(back.PastingRules[1]->Value, "Edit");
}

TEST_F(OptionsTest, RemovingTheLastRuleLeavesAnEmptyTrackingKey) {
  TVLMNOptions options;
  options.TrackingRules.Add(Tracking(raCaption, rcContains, "Word"));
  options.Save();
  options.TrackingRules.Clear();
  options.Save();

  auto key = registry_.Get().OpenKey(kHKCU, kOptionsKey + "\\Tracking", false);
  ASSERT_NE(key, nullptr);
  EXPECT_TRUE(key->ValueNames().empty());
  EXPECT_TRUE(key->SubKeyNames().empty());
  TVLMNOptions back;
  back.Load();
  EXPECT_EQ(back.TrackingRules.Count(), 0);
}

TEST_F(OptionsTest, BadTrackingLineStopsRuleReadingButNotTheRest) {
  WriteRegValueNames(kHKCU, kOptionsKey, "Tracking", {"0;0;good", "x;0;bad", "1;1;after"});
  WriteRegValueNames(kHKCU, kOptionsKey, "Pasting", {"0;0;TRUE;;pasting"});
  WriteRegBool(kHKCU, kOptionsKey, "ShowTips", false);

  TVLMNOptions options;
  EXPECT_NO_THROW(options.Load());
  ASSERT_EQ(options.TrackingRules.Count(), 1);
  EXPECT_EQ(options.TrackingRules[0]->Value, "good");
  EXPECT_EQ(options.PastingRules.Count(), 0);
  EXPECT_FALSE(options.ShowTips);
}

TEST_F(OptionsTest, BadPastingLineKeepsTrackingAndEarlierPastingRules) {
  WriteRegValueNames(kHKCU, kOptionsKey, "Tracking", {"0;0;one", "1;1;two"});
  WriteRegValueNames(kHKCU, kOptionsKey, "Pasting",
                     {"0;0;TRUE;;first", "0;?;TRUE;;bad", "1;1;TRUE;;after"});
  WriteRegBool(kHKCU, kOptionsKey, "ShowTips", false);

  TVLMNOptions options;
  EXPECT_NO_THROW(options.Load());
  EXPECT_EQ(options.TrackingRules.Count(), 2);
  ASSERT_EQ(options.PastingRules.Count(), 1);
  EXPECT_EQ(options.PastingRules[0]->Value, "first");
  EXPECT_FALSE(options.ShowTips);
}

TEST_F(OptionsTest, RuleLinesDifferingOnlyInCaseShareOneStoredValue) {
  TVLMNOptions options;
  options.TrackingRules.Add(Tracking(raClassName, rcEqual, "Notepad"));
  options.TrackingRules.Add(Tracking(raClassName, rcEqual, "NOTEPAD"));
  options.Save();

  TVLMNOptions back;
  back.Load();
  ASSERT_EQ(back.TrackingRules.Count(), 1);
  EXPECT_EQ(back.TrackingRules[0]->Value, "Notepad");  // the case first written is kept
}

TEST_F(OptionsTest, SaveNeverTouchesTheRunValue) {
  for (std::optional<std::string> before :
       {std::optional<std::string>(), std::optional<std::string>(""),
        std::optional<std::string>("/opt/kvlmn")}) {
    for (bool autoStart : {false, true}) {
      SCOPED_TRACE(testing::Message()
                   << (before ? "'" + *before + "'" : "no value") << " / " << autoStart);
      if (before)
        WriteRegString(kHKCU, kRunKey, "VLMN", *before);
      else
        DeleteRegValue(kHKCU, kRunKey, "VLMN");
      TVLMNOptions options;
      options.AutoStart = autoStart;
      options.Save();
      EXPECT_EQ(RunValue(), before);
    }
  }
}

TEST_F(OptionsTest, ApplyAutoStartWritesAndDeletesTheRunValue) {
  const std::string exe = "/opt/My Apps/kvlmn";
  ApplyAutoStart(true, exe);
  EXPECT_EQ(RunValue(), exe);  // the bare path: no quotes, no arguments
  TVLMNOptions options;
  options.Load();
  EXPECT_TRUE(options.AutoStart);

  ApplyAutoStart(false, exe);
  EXPECT_EQ(RunValue(), std::nullopt);
  options.Load();
  EXPECT_FALSE(options.AutoStart);
  EXPECT_NO_THROW(ApplyAutoStart(false, exe));
}

TEST_F(OptionsTest, StoredUnderTheDescriptorsProductKey) {
  TSLApplication descriptor;
  descriptor.ProductKey = "Software\\Test\\Elsewhere";
  SLApplication = &descriptor;
  TVLMNOptions options;
  options.FontSize = 21;
  options.Save();
  SLApplication = nullptr;

  EXPECT_EQ(ReadRegInteger(kHKCU, "Software\\Test\\Elsewhere\\Options", "FontSize", -1), 21);
  EXPECT_FALSE(RegValueExists(kHKCU, kOptionsKey, "FontSize"));
}

}  // namespace
