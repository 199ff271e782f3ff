#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "FakeDesktop.h"
#include "framework/SLExceptions.h"
#include "library/clsLibrary.h"
#include "paste/clsPaste.h"
#include "rules/clsOptions.h"

namespace {

constexpr TWindowHandle kEditor = 10, kTerminal = 20;
const std::string kValue = "Dear Ana,\r\nbest wishes \xE2\x9C\x93";
// What the clipboard gets: the platform's line breaks.
#ifdef _WIN32
const std::string kClipboardValue = kValue;
#else
const std::string kClipboardValue = "Dear Ana,\nbest wishes \xE2\x9C\x93";
#endif

std::vector<std::string> CtrlV() {
  return {"key 17 down", "key 86 down", "key 86 up", "key 17 up"};
}
std::vector<std::string> ShiftInsert() {
  return {"key 16 down", "key 45 down", "key 45 up", "key 16 up"};
}
std::vector<std::string> Concat(std::vector<std::string> a, const std::vector<std::string>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

class PasteEngineTest : public testing::Test {
 protected:
  PasteEngineTest() {
    VLMNOptions = &options;
    desk.AddWindow(kEditor, "Notepad", "notes.txt - Notepad");
    desk.AddWindow(kTerminal, "XTerm", "shell");
    trayItems.OwnsObjects = false;
    first.Name = "Greeting";
    first.Value = kValue;
    second.Name = "Login";
    second.Value = "ana";
    trayItems.Add(&first);
    trayItems.Add(&second);
    LastWindow = kEditor;
  }
  ~PasteEngineTest() override {
    VLMNOptions = nullptr;
    LastWindow = kNoWindow;
  }

  void AddRule(uint8_t attribute, uint8_t comparison, const std::string& value, bool standard,
               std::vector<std::string> keys = {}) {
    auto* rule = new TSLPastingRule;
    rule->Attribute = attribute;
    rule->Comparison = comparison;
    rule->Value = value;
    rule->Standard = standard;
    rule->Keys = std::move(keys);
    options.PastingRules.Add(rule);
  }

  // Clicks the entry with the tag and returns the outcome reported, if any.
  std::optional<TPasteOutcome> Click(int tag = 0) {
    std::optional<TPasteOutcome> outcome;
    PasteItemClick(trayItems, tag, [&outcome](TPasteOutcome o) { outcome = o; });
    return outcome;
  }

  std::vector<std::string> Expected(TWindowHandle window, const std::vector<std::string>& keys,
                                    const std::string& text = kClipboardValue) {
    return Concat({"clipboard " + text, "activate " + std::to_string(window), "active"}, keys);
  }

  TFakeDesktop desk;
  TVLMNOptions options;
  TPasteItem first, second;
  TSLList<TPasteItem> trayItems;
};

TEST_F(PasteEngineTest, WithoutRulesPutsTextOnClipboardActivatesAndTypesCtrlV) {
  EXPECT_EQ(Click(), TPasteOutcome::Delivered);
  EXPECT_EQ(desk.Journal, Expected(kEditor, CtrlV()));
  EXPECT_EQ(desk.Foreground, kEditor);
}

TEST_F(PasteEngineTest, ClipboardKeptByAnotherProgramTypesNothing) {
  desk.ClipboardTaken = false;
  EXPECT_EQ(Click(), TPasteOutcome::NotOnClipboard);
  EXPECT_EQ(desk.Journal, std::vector<std::string>{"clipboard refused"});
  EXPECT_TRUE(desk.Keys.empty());
}

TEST_F(PasteEngineTest, FirstMatchingRuleDecidesTheKeys) {
  const std::vector<std::string> shiftInsert = {"8237"};
  struct Case {
    const char* name;
    std::function<void()> addRules;
    std::vector<std::string> keys;
  };
  const std::vector<Case> cases = {
      {"standard rule", [&] { AddRule(raClassName, rcEqual, "XTerm", true); }, CtrlV()},
      {"keys rule", [&] { AddRule(raClassName, rcEqual, "XTerm", false, shiftInsert); },
       ShiftInsert()},
      {"keys rule on caption", [&] { AddRule(raCaption, rcContains, "she", false, shiftInsert); },
       ShiftInsert()},
      {"rule for another window",
       [&] { AddRule(raClassName, rcEqual, "Notepad", false, shiftInsert); }, CtrlV()},
      {"undefined attribute", [&] { AddRule(raUndefined, rcEqual, "XTerm", false, shiftInsert); },
       CtrlV()},
      {"keys rule before standard rule",
       [&] {
         AddRule(raCaption, rcEqual, "shell", false, shiftInsert);
         AddRule(raClassName, rcEqual, "XTerm", true);
       },
       ShiftInsert()},
      {"standard rule before keys rule",
       [&] {
         AddRule(raClassName, rcEqual, "XTerm", true);
         AddRule(raCaption, rcEqual, "shell", false, shiftInsert);
       },
       CtrlV()},
      {"two keys rules",
       [&] {
         AddRule(raClassName, rcEqual, "XTerm", false, {"16470", "8237"});
         AddRule(raCaption, rcEqual, "shell", false, {"112"});
       },
       Concat(CtrlV(), ShiftInsert())},
      {"empty key list", [&] { AddRule(raClassName, rcEqual, "XTerm", false); }, {}},
  };
  for (const Case& c : cases) {
    options.PastingRules.Clear();
    desk.Journal.clear();
    c.addRules();
    LastWindow = kTerminal;
    EXPECT_EQ(Click(), TPasteOutcome::Delivered) << c.name;
    EXPECT_EQ(desk.Journal, Expected(kTerminal, c.keys)) << c.name;
  }
}

TEST_F(PasteEngineTest, RulesSeeThePresentCaptionNotTheRememberedOne) {
  AddRule(raCaption, rcContains, "Inbox", false, {"8237"});
  desk.Windows[kEditor].Caption = "Inbox - Mail";
  LastWindow = kEditor;  // remembered while it showed the inbox
  desk.Windows[kEditor].Caption = "Draft - Mail";
  Click();
  EXPECT_EQ(desk.Journal, Expected(kEditor, CtrlV()));

  desk.Journal.clear();
  desk.Windows[kEditor].Caption = "Inbox (1) - Mail";
  Click();
  EXPECT_EQ(desk.Journal, Expected(kEditor, ShiftInsert()));
}

TEST_F(PasteEngineTest, NothingHappensWithoutTargetOrItem) {
  LastWindow = kNoWindow;
  EXPECT_EQ(Click(0), TPasteOutcome::Ignored);
  LastWindow = kEditor;
  EXPECT_EQ(Click(-1), TPasteOutcome::Ignored);
  EXPECT_EQ(Click(2), TPasteOutcome::Ignored);
  EXPECT_TRUE(desk.Journal.empty());
}

TEST_F(PasteEngineTest, RefusedActivationLeavesTextOnClipboardAndTypesNothing) {
  desk.Windows[kEditor].Activatable = false;
  EXPECT_EQ(Click(1), TPasteOutcome::Refused);
  desk.Windows.erase(kEditor);  // closed since it was remembered
  EXPECT_EQ(Click(0), TPasteOutcome::Refused);
  EXPECT_TRUE(desk.Keys.empty());
  EXPECT_EQ(desk.ClipboardTexts, (std::vector<std::string>{"ana", kClipboardValue}));
  EXPECT_EQ(LastWindow, kEditor);
}

TEST_F(PasteEngineTest, KeysWaitForTheActivationAnswer) {
  desk.Answer = TFakeDesktop::TAnswer::Later;
  AddRule(raClassName, rcEqual, "XTerm", false, {"8237"});
  LastWindow = kTerminal;
  std::optional<TPasteOutcome> outcome;
  PasteItemClick(trayItems, 0, [&](TPasteOutcome o) { outcome = o; });
  EXPECT_FALSE(outcome.has_value());
  EXPECT_TRUE(desk.Keys.empty());
  // The tracker moves on meanwhile: the paste still goes to the window clicked for.
  LastWindow = kEditor;
  desk.AnswerPending();
  EXPECT_EQ(outcome, TPasteOutcome::Delivered);
  EXPECT_EQ(desk.Journal, Expected(kTerminal, ShiftInsert()));
}

TEST_F(PasteEngineTest, NewerClickSupersedesAPendingOne) {
  desk.Answer = TFakeDesktop::TAnswer::Later;
  std::vector<TPasteOutcome> outcomes;
  PasteItemClick(trayItems, 0, [&](TPasteOutcome o) { outcomes.push_back(o); });
  PasteItemClick(trayItems, 1, [&](TPasteOutcome o) { outcomes.push_back(o); });
  desk.AnswerPending();
  EXPECT_EQ(outcomes,
            (std::vector<TPasteOutcome>{TPasteOutcome::Refused, TPasteOutcome::Delivered}));
  EXPECT_EQ(desk.Keys.size(), 4u);  // one Ctrl+V, for the second click
  EXPECT_EQ(desk.ClipboardTexts.back(), "ana");
}

TEST_F(PasteEngineTest, NonNumericKeyEntryThrowsAfterTheKeysBeforeIt) {
  AddRule(raClassName, rcEqual, "Notepad", false, {"8237", "Ctrl+V", "112"});
  bool doneCalled = false;
  EXPECT_THROW(PasteItemClick(trayItems, 0, [&](TPasteOutcome) { doneCalled = true; }),
               EConvertError);
  EXPECT_FALSE(doneCalled);
  EXPECT_EQ(desk.Journal, Expected(kEditor, ShiftInsert()));
}

TEST_F(PasteEngineTest, PasteByRuleReportsWhetherTheStandardKeystrokeIsLeft) {
  EXPECT_FALSE(PasteByRule(kTerminal));
  AddRule(raClassName, rcEqual, "XTerm", false, {"8237"});
  EXPECT_TRUE(PasteByRule(kTerminal));
  EXPECT_FALSE(PasteByRule(kEditor));
  EXPECT_EQ(desk.Journal, ShiftInsert());
}

}  // namespace
