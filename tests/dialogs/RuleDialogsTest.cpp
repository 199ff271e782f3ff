// The rule and key editors: OK enabling, the apostrophe filter, the method
// choice, the key list run and the copy-out only on OK.
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>

#include "DialogTest.h"
#include "rules/SLRules.h"
#include "ui/dialogs/SLButtonEdit.h"
#include "ui/dialogs/SLHotKeyEdit.h"
#include "ui/dialogs/frmKeys.h"
#include "ui/dialogs/frmPasting.h"
#include "ui/dialogs/frmTracking.h"

namespace {

using Keys = std::vector<std::string>;

bool OkEnabled(QWidget* d) {
  return EnabledAfterIdle(Find(d, "cmdOK"));
}

TEST(TrackingDlg, NewRuleNeedsBothListsAndAValue) {
  TSLTrackingRule rule;
  std::vector<bool> steps;
  QString comboTexts;
  WhenModal([&](QWidget* d) {
    auto* field = Find<QComboBox>(d, "cbField");
    auto* condition = Find<QComboBox>(d, "cbCondition");
    comboTexts = condition->itemText(0) + "|" + condition->itemText(1);
    steps.push_back(OkEnabled(d));  // nothing chosen
    field->setCurrentIndex(1);
    steps.push_back(OkEnabled(d));
    condition->setCurrentIndex(0);
    steps.push_back(OkEnabled(d));
    QTest::keyClicks(Find(d, "txtValue"), "it's;x");
    steps.push_back(OkEnabled(d));
    Find<QPushButton>(d, "cmdOK")->click();
  });
  EXPECT_TRUE(AddTrackingRuleDlg(nullptr, rule));
  EXPECT_EQ(steps, (std::vector<bool>{false, false, false, true}));
  EXPECT_EQ(comboTexts, "Is exacly equal to|Contains");
  EXPECT_EQ(rule.Attribute, raCaption);
  EXPECT_EQ(rule.Comparison, rcEqual);
  EXPECT_EQ(rule.Value, "its;x");
}

TEST(TrackingDlg, EditShowsTheRuleAndCancelKeepsIt) {
  TSLTrackingRule rule;
  rule.Attribute = raClassName;
  rule.Comparison = rcContains;
  rule.Value = "Shell_TrayWnd";
  int field = -1, condition = -1;
  QString value;
  WhenModal([&](QWidget* d) {
    field = Find<QComboBox>(d, "cbField")->currentIndex();
    condition = Find<QComboBox>(d, "cbCondition")->currentIndex();
    value = Find<QLineEdit>(d, "txtValue")->text();
    Find<QComboBox>(d, "cbField")->setCurrentIndex(1);
    QTest::keyClick(Find(d, "txtValue"), Qt::Key_Escape);
  });
  EXPECT_FALSE(EditTrackingRuleDlg(nullptr, rule));
  EXPECT_EQ(field, 0);
  EXPECT_EQ(condition, 1);
  EXPECT_EQ(value, "Shell_TrayWnd");
  EXPECT_EQ(rule.Attribute, raClassName);
}

// Fills the four key fields of the keys dialog, then OK.
void FillKeys(QWidget* pastingDlg, std::array<uint16_t, 4> values, bool ok = true) {
  WhenModal(
      [values, ok](QWidget* k) {
        for (int i = 0; i < 4; ++i) {
          auto* field = Find<THotKeyEdit>(k, ("hkKey" + std::to_string(i + 1)).c_str());
          field->SetValue(values[i]);
        }
        Find<QPushButton>(k, ok ? "cmdOK" : "cmdCancel")->click();
      },
      pastingDlg);
  Find<TButtonEdit>(pastingDlg, "txtKeyCombination")->Button()->click();
}

TEST(PastingDlg, KeysMethodNeedsAKeyAndStandardDropsThem) {
  TSLPastingRule rule;
  std::vector<bool> steps;
  QString fieldText;
  WhenModal([&](QWidget* d) {
    Find<QComboBox>(d, "cbField")->setCurrentIndex(0);
    Find<QComboBox>(d, "cbCondition")->setCurrentIndex(1);
    QTest::keyClicks(Find(d, "txtValue"), "xterm");
    steps.push_back(OkEnabled(d));  // standard method
    Find<QRadioButton>(d, "radKeys")->click();
    steps.push_back(OkEnabled(d));        // keys, none chosen
    FillKeys(d, {0x202D, 0, 0x4056, 0});  // Key #1 and #3: one key
    fieldText = Find<QLineEdit>(d, "txtKeyCombination")->text();
    steps.push_back(OkEnabled(d));
    FillKeys(d, {0, 0, 0, 0});  // all emptied
    steps.push_back(OkEnabled(d));
    FillKeys(d, {0x202D, 0, 0, 0});
    Find<QRadioButton>(d, "radStandard")->click();
    steps.push_back(Find(d, "txtKeyCombination")->isEnabled());
    steps.push_back(OkEnabled(d));
    Find<QPushButton>(d, "cmdOK")->click();
  });
  ASSERT_TRUE(AddPastingRuleDlg(nullptr, rule));
  EXPECT_EQ(steps, (std::vector<bool>{true, false, true, false, false, true}));
  EXPECT_EQ(fieldText, "<key combination>");
  EXPECT_TRUE(rule.Standard);
  EXPECT_TRUE(rule.Keys.empty());
  EXPECT_EQ(rule.Attribute, raClassName);
  EXPECT_EQ(rule.Comparison, rcContains);
  EXPECT_EQ(rule.Value, "xterm");
}

TEST(PastingDlg, KeysRuleTakesTheRunOfFilledFields) {
  TSLPastingRule rule;
  rule.Attribute = raCaption;
  rule.Comparison = rcEqual;
  rule.Value = "Terminal";
  rule.Standard = false;
  rule.Keys = {"16429"};
  QString shown;
  bool fieldEnabled = false;
  WhenModal([&](QWidget* d) {
    shown = Find<QLineEdit>(d, "txtKeyCombination")->text();
    fieldEnabled = Find(d, "txtKeyCombination")->isEnabled();
    FillKeys(d, {0x4041, 0x4043, 0, 0x4056});
    Idle();
    Find<QPushButton>(d, "cmdOK")->click();
  });
  ASSERT_TRUE(EditPastingRuleDlg(nullptr, rule));
  EXPECT_EQ(shown, "<key combination>");
  EXPECT_TRUE(fieldEnabled);
  EXPECT_FALSE(rule.Standard);
  EXPECT_EQ(rule.Keys, (Keys{"16449", "16451"}));
}

TEST(PastingDlg, StandardRuleSwitchedToKeysWaitsForKeys) {
  TSLPastingRule rule;
  rule.Attribute = raCaption;
  rule.Comparison = rcEqual;
  rule.Value = "Terminal";
  rule.Keys = {"16429"};  // a standard rule's leftover keys are not offered
  bool okBefore = false, okAfter = true, enabled = false;
  QString text = "x";
  WhenModal([&](QWidget* d) {
    okBefore = OkEnabled(d);
    Find<QRadioButton>(d, "radKeys")->click();
    enabled = Find(d, "txtKeyCombination")->isEnabled();
    text = Find<QLineEdit>(d, "txtKeyCombination")->text();
    okAfter = OkEnabled(d);
    Find<QPushButton>(d, "cmdCancel")->click();
  });
  EXPECT_FALSE(EditPastingRuleDlg(nullptr, rule));
  EXPECT_TRUE(okBefore);
  EXPECT_TRUE(enabled);
  EXPECT_EQ(text, "");
  EXPECT_FALSE(okAfter);
  EXPECT_EQ(rule.Keys, Keys{"16429"});
}

TEST(EditKeysDlg, ShowsFourKeepsRunCancelKeepsList) {
  Keys keys = {"16470", "8237", "65", "66", "67"};  // five stored
  std::array<uint16_t, 4> shown{};
  WhenModal([&](QWidget* k) {
    for (int i = 0; i < 4; ++i)
      shown[i] = Find<THotKeyEdit>(k, ("hkKey" + std::to_string(i + 1)).c_str())->Value();
    Find<QPushButton>(k, "cmdOK")->click();
  });
  ASSERT_TRUE(EditKeyCombination(nullptr, keys));
  EXPECT_EQ(shown, (std::array<uint16_t, 4>{0x4056, 0x202D, 65, 66}));
  EXPECT_EQ(keys, (Keys{"16470", "8237", "65", "66"}));

  WhenModal([](QWidget* k) {
    Find<THotKeyEdit>(k, "hkKey1")->SetValue(0);
    Find<QPushButton>(k, "cmdCancel")->click();
  });
  EXPECT_FALSE(EditKeyCombination(nullptr, keys));
  EXPECT_EQ(keys.size(), 4u);
}

// A hot-key field takes one key with any modifiers from the keyboard;
// Backspace empties it.
TEST(EditKeysDlg, FieldsTakeTypedCombinations) {
  Keys keys;
  WhenModal([](QWidget* k) {
    QTest::keyClick(Find(k, "hkKey1"), Qt::Key_Insert, Qt::ShiftModifier);
    QTest::keyClick(Find(k, "hkKey2"), Qt::Key_V, Qt::ControlModifier | Qt::AltModifier);
    QTest::keyClick(Find(k, "hkKey3"), Qt::Key_X);
    QTest::keyClick(Find(k, "hkKey3"), Qt::Key_Backspace);
    QTest::keyClick(Find(k, "hkKey4"), Qt::Key_F5);
    EXPECT_EQ(Find<QLineEdit>(k, "hkKey2")->text(), "Ctrl + Alt + V");
    Find<QPushButton>(k, "cmdOK")->click();
  });
  ASSERT_TRUE(EditKeyCombination(nullptr, keys));
  EXPECT_EQ(keys, (Keys{"8237", "49238"}));
}

}  // namespace
