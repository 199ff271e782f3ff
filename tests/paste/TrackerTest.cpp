#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "FakeDesktop.h"
#include "paste/clsTracker.h"
#include "rules/clsOptions.h"

namespace {

constexpr TWindowHandle kMain = 1, kEditor = 10, kTerminal = 20, kMessageWindow = 30;

class TRecordingView : public ITrackerView {
 public:
  TWindowHandle MainWindowHandle() override { return kMain; }
  void ShowLastWindow(const std::string& text) override { Texts.push_back(text); }
  std::string Shown() const { return Texts.empty() ? std::string() : Texts.back(); }
  std::vector<std::string> Texts;
};

class TFakeTray : public ITrayEntries {
 public:
  explicit TFakeTray(std::vector<int> tags) : Tags(std::move(tags)), Enabled(Tags.size(), true) {}
  int EntryCount() override { return static_cast<int>(Tags.size()); }
  int EntryTag(int index) override { return Tags.at(index); }
  void SetEntryEnabled(int index, bool enabled) override { Enabled.at(index) = enabled; }
  std::vector<int> Tags;
  std::vector<bool> Enabled;
};

class TrackerTest : public testing::Test {
 protected:
  TrackerTest() {
    VLMNOptions = &options;
    LastWindow = kNoWindow;
    desk.AddWindow(kMain, "TVLMNMain", "Kestrelay Vellumin");
    desk.AddWindow(kEditor, "Notepad", "notes.txt - Notepad");
    desk.AddWindow(kTerminal, "XTerm", "shell");
    desk.AddWindow(kMessageWindow, "", "");
  }
  ~TrackerTest() override {
    VLMNOptions = nullptr;
    LastWindow = kNoWindow;
  }

  void AddRule(uint8_t attribute, uint8_t comparison, const std::string& value) {
    auto* rule = new TSLTrackingRule;
    rule->Attribute = attribute;
    rule->Comparison = comparison;
    rule->Value = value;
    options.TrackingRules.Add(rule);
  }

  void Tick(TWindowHandle foreground) {
    desk.Foreground = foreground;
    TrackForegroundWindow(view);
  }

  TFakeDesktop desk;
  TVLMNOptions options;
  TRecordingView view;
};

TEST_F(TrackerTest, ForeignWindowBecomesTargetAndIsShown) {
  Tick(kEditor);
  EXPECT_EQ(LastWindow, kEditor);
  EXPECT_EQ(view.Shown(), "Last Window: notes.txt - Notepad / Notepad");
  Tick(kTerminal);
  EXPECT_EQ(LastWindow, kTerminal);
  EXPECT_EQ(view.Shown(), "Last Window: shell / XTerm");
}

TEST_F(TrackerTest, MainWindowOrNoForegroundForgetsTargetButKeepsStatusText) {
  for (TWindowHandle forgetting : {kMain, kNoWindow}) {
    Tick(kEditor);
    ASSERT_EQ(LastWindow, kEditor);
    const size_t shown = view.Texts.size();
    Tick(forgetting);
    EXPECT_EQ(LastWindow, kNoWindow) << forgetting;
    EXPECT_EQ(view.Texts.size(), shown) << forgetting;
    EXPECT_EQ(view.Shown(), "Last Window: notes.txt - Notepad / Notepad");
  }
}

TEST_F(TrackerTest, WindowWithoutTextsOrGoneKeepsPreviousTarget) {
  desk.AddWindow(40, "Notepad", "");   // no caption
  desk.AddWindow(41, "", "untitled");  // no class name
  desk.AddWindow(42, "Notepad", "closing");
  desk.Windows[42].Valid = false;  // its attributes can no longer be read
  for (TWindowHandle window : {kMessageWindow, TWindowHandle{40}, TWindowHandle{41},
                               TWindowHandle{42}, TWindowHandle{99}}) {
    Tick(kTerminal);
    Tick(window);
    EXPECT_EQ(LastWindow, kTerminal) << window;
    EXPECT_EQ(view.Shown(), "Last Window: shell / XTerm") << window;
  }
  // ...and it never makes a target out of nothing.
  LastWindow = kNoWindow;
  Tick(kMessageWindow);
  EXPECT_EQ(LastWindow, kNoWindow);
}

TEST_F(TrackerTest, TrackingRulesExcludeAndForgetTheTarget) {
  struct Case {
    uint8_t attribute, comparison;
    const char* value;
    bool excludesTerminal;
  };
  const Case cases[] = {
      {raClassName, rcEqual, "XTerm", true},
      {raClassName, rcEqual, "xterm", false},  // case-sensitive
      {raClassName, rcContains, "Term", true},
      {raCaption, rcEqual, "shell", true},
      {raCaption, rcContains, "hel", true},
      {raCaption, rcContains, "XTerm", false},  // the caption, not the class name
      {raUndefined, rcEqual, "XTerm", false},
      {7, rcEqual, "XTerm", false},  // unknown attribute codes match nothing
      {raClassName, 9, "XTerm", false},
  };
  for (const Case& c : cases) {
    options.TrackingRules.Clear();
    AddRule(c.attribute, c.comparison, c.value);
    Tick(kEditor);
    ASSERT_EQ(LastWindow, kEditor);
    Tick(kTerminal);
    EXPECT_EQ(LastWindow, c.excludesTerminal ? kNoWindow : kTerminal)
        << int(c.attribute) << "/" << int(c.comparison) << "/" << c.value;
    EXPECT_EQ(view.Shown(), c.excludesTerminal ? "Last Window: notes.txt - Notepad / Notepad"
                                               : "Last Window: shell / XTerm");
  }
}

TEST_F(TrackerTest, AnyMatchingRuleInTheListExcludes) {
  AddRule(raCaption, rcEqual, "no such caption");
  AddRule(raClassName, rcEqual, "XTerm");
  EXPECT_FALSE(IsWindowExcluded("Notepad", "notes.txt - Notepad"));
  EXPECT_TRUE(IsWindowExcluded("XTerm", "shell"));
  options.TrackingRules.Clear();
  EXPECT_FALSE(IsWindowExcluded("XTerm", "shell"));
}

TEST_F(TrackerTest, LongTextsAreCutTo254Characters) {
  std::string caption;
  for (int i = 0; i < 300; ++i) caption += "\xC3\xA9";  // e acute, two bytes
  desk.AddWindow(50, std::string(400, 'C'), caption);
  const std::string cutCaption = caption.substr(0, 2 * 254);
  const std::string cutClass(254, 'C');
  EXPECT_EQ(GetWindowCaption(50), cutCaption);
  EXPECT_EQ(GetWindowClassName(50), cutClass);

  Tick(50);
  EXPECT_EQ(LastWindow, 50u);
  EXPECT_EQ(view.Shown(), "Last Window: " + cutCaption + " / " + cutClass);

  // Rules see the cut texts.
  AddRule(raCaption, rcEqual, cutCaption);
  Tick(kEditor);
  Tick(50);
  EXPECT_EQ(LastWindow, kNoWindow);
}

TEST_F(TrackerTest, EnableTrayItemsFollowsLastWindowAndLeavesFixedEntries) {
  TFakeTray tray({0, -1, 1, 2, -1});
  Tick(kMain);
  EnableTrayItems(&tray);
  EXPECT_EQ(tray.Enabled, (std::vector<bool>{false, true, false, false, true}));
  Tick(kEditor);
  EnableTrayItems(&tray);
  EXPECT_EQ(tray.Enabled, (std::vector<bool>{true, true, true, true, true}));
  EnableTrayItems(nullptr);  // no tray menu yet: nothing to do
}

}  // namespace
