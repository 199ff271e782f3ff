// The preferences: loading, applying (font size, autostart entry, saving),
// the rule lists with their duplicate checks and the question on removal,
// and the one open dialog.
#include <QCheckBox>
#include <QComboBox>
#include <QFontComboBox>
#include <QFontDatabase>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTreeWidget>

#include "DialogTest.h"
#include "TestSupport.h"
#include "library/SLRegistry.h"
#include "platform/AutoStart.h"
#include "rules/clsOptions.h"
#include "ui/dialogs/frmOptions.h"

namespace {

const char kRunKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";

class OptionsDlg : public ::testing::Test {
 protected:
  void SetUp() override {
    SetAutoStart(&autoStart);
    VLMNOptions = &options;
    options.FontName = "DejaVu Sans";
    options.FontSize = 10;
    options.AutoStart = false;
    auto* rule = new TSLTrackingRule;
    rule->Attribute = raCaption;
    rule->Comparison = rcEqual;
    rule->Value = "Foo";
    options.TrackingRules.Add(rule);
  }
  void TearDown() override {
    VLMNOptions = nullptr;
    SetAutoStart(nullptr);
  }
  static QTreeWidget* List(QWidget* d, const char* name) { return Find<QTreeWidget>(d, name); }
  // Selects the row, then clicks the button.
  static void Click(QWidget* d, const char* button, QTreeWidget* list = nullptr, int row = 0) {
    if (list != nullptr) {
      list->setCurrentItem(list->topLevelItem(row));
      Idle();
    }
    Find<QPushButton>(d, button)->click();
  }

  ScopedTestRegistry registry;
  TRegistryAutoStart autoStart;
  TVLMNOptions options;
};

// Fills a tracking rule dialog and confirms it.
ModalScript::Step TrackingRule(int field, int condition, const char* value) {
  return [=](QWidget* r) {
    Find<QComboBox>(r, "cbField")->setCurrentIndex(field);
    Find<QComboBox>(r, "cbCondition")->setCurrentIndex(condition);
    Find<QLineEdit>(r, "txtValue")->setText(value);
    Idle();
    Find<QPushButton>(r, "cmdOK")->click();
  };
}

TEST_F(OptionsDlg, UnlistedSizeShowsEightAndOkStoresIt) {
  options.FontSize = 9;
  options.FontName = "No Such Font Anywhere";
  QString size, font;
  ModalScript script{[&](QWidget* d) {
    size = Find<QComboBox>(d, "cbFontSize")->currentText();
    font = Find<QFontComboBox>(d, "txtFont")->currentText();
    Find<QPushButton>(d, "cmdOK")->click();
  }};
  ShowPreferences();
  EXPECT_EQ(size, "8");
  EXPECT_EQ(font, "No Such Font Anywhere");  // kept, not replaced by a fallback
  EXPECT_EQ(options.FontSize, 8);
  EXPECT_EQ(options.FontName, "No Such Font Anywhere");
  TVLMNOptions stored;
  stored.Load();
  EXPECT_EQ(stored.FontSize, 8);
}

// Symbol fonts draw their names in symbols: the list leaves every family
// with the Symbol writing system out, and keeps the text fonts.
TEST_F(OptionsDlg, FontListLeavesSymbolFontsOut) {
  QStringList symbolFonts;
  for (const QString& family : QFontDatabase::families())
    if (QFontDatabase::writingSystems(family).contains(QFontDatabase::Symbol))
      symbolFonts << family;
  if (symbolFonts.isEmpty()) GTEST_SKIP() << "no symbol font installed";
  QStringList listed;
  ModalScript script{[&](QWidget* d) {
    auto* fonts = Find<QFontComboBox>(d, "txtFont");
    for (int i = 0; i < fonts->count(); ++i) listed << fonts->itemText(i);
    Find<QPushButton>(d, "cmdCancel")->click();
  }};
  ShowPreferences();
  EXPECT_TRUE(listed.contains("DejaVu Sans")) << listed.join(", ").toStdString();
  for (const QString& family : symbolFonts)
    EXPECT_FALSE(listed.contains(family)) << family.toStdString();
}

TEST_F(OptionsDlg, InstalledFontIsFoundRegardlessOfCase) {
  QFontComboBox installed;
  installed.setWritingSystem(QFontDatabase::Latin);
  installed.setFontFilters(QFontComboBox::ScalableFonts);
  const QString family = installed.itemText(installed.count() - 1);
  ASSERT_FALSE(family.isEmpty());
  options.FontName = family.toUpper().toStdString();
  QString shown;
  int matches = 0;
  ModalScript script{[&](QWidget* d) {
    auto* fonts = Find<QFontComboBox>(d, "txtFont");
    shown = fonts->currentText();
    for (int i = 0; i < fonts->count(); ++i)
      matches += fonts->itemText(i).compare(family, Qt::CaseInsensitive) == 0;
    Find<QPushButton>(d, "cmdOK")->click();
  }};
  ShowPreferences();
  EXPECT_EQ(shown, family);
  EXPECT_EQ(matches, 1);  // the listed font is selected, nothing added
  EXPECT_EQ(options.FontName, family.toStdString());
}

TEST_F(OptionsDlg, ApplyWritesAndDeletesTheAutostartEntry) {
  std::vector<bool> exists;
  bool fontApplied = false;
  PreferencesApplyFont() = [&] { fontApplied = true; };
  ModalScript script{[&](QWidget* d) {
    Find<QCheckBox>(d, "chkAutoStartup")->setChecked(true);
    Find<QPushButton>(d, "cmdApply")->click();
    exists.push_back(RegValueExists(RegHive::CurrentUser, kRunKey, "VLMN"));
    Find<QCheckBox>(d, "chkAutoStartup")->setChecked(false);
    Find<QPushButton>(d, "cmdApply")->click();
    exists.push_back(RegValueExists(RegHive::CurrentUser, kRunKey, "VLMN"));
    Find<QPushButton>(d, "cmdCancel")->click();
  }};
  ShowPreferences();
  PreferencesApplyFont() = nullptr;
  EXPECT_EQ(exists, (std::vector<bool>{true, false}));
  EXPECT_TRUE(fontApplied);
}

// The first step drives the preferences; each of its clicks opens the
// dialogs that the following steps answer, in order.
TEST_F(OptionsDlg, DuplicateRulesAreRefusedCaseDifferenceIsNot) {
  ModalScript script{
      [&](QWidget* d) {
        d->findChild<QTabWidget*>("pcOptions")->setCurrentIndex(1);
        Click(d, "cmdAddTracking");                               // the same as the stored rule
        Click(d, "cmdAddTracking");                               // differs in letter case only
        Click(d, "cmdModifyTracking", List(d, "lvTracking"), 0);  // unchanged
        Click(d, "cmdModifyTracking", List(d, "lvTracking"), 1);  // made equal to row 0
        Find<QPushButton>(d, "cmdCancel")->click();
      },
      TrackingRule(1, 0, "Foo"),
      [](QWidget* m) { ClickButton(m, "&OK"); },  // the duplicate message
      TrackingRule(1, 0, "foo"),
      [](QWidget* r) { Find<QPushButton>(r, "cmdOK")->click(); },
      TrackingRule(1, 0, "Foo"),
      [](QWidget* m) { ClickButton(m, "&OK"); },
  };
  ShowPreferences();
  EXPECT_TRUE(script.Done());
  EXPECT_TRUE(script.unexpected.isEmpty()) << script.unexpected.join("\n").toStdString();
  ASSERT_EQ(options.TrackingRules.Count(), 2);  // Cancel keeps the added rule
  EXPECT_EQ(options.TrackingRules[0]->Value, "Foo");
  EXPECT_EQ(options.TrackingRules[1]->Value, "foo");
}

TEST_F(OptionsDlg, RemoveAsksAndNoIsTheDefault) {
  auto* rule = new TSLPastingRule;
  rule->Attribute = raClassName;
  rule->Comparison = rcContains;
  rule->Value = "term";
  rule->Standard = false;
  rule->Keys = {"8237"};
  options.PastingRules.Add(rule);
  QStringList rowTexts;
  int rowsAfterNo = -1;
  ModalScript script{
      [&](QWidget* d) {
        QTreeWidgetItem* row = List(d, "lvPasting")->topLevelItem(0);
        for (int i = 0; i < 4; ++i) rowTexts << row->text(i);
        Click(d, "cmdRemovePasting", List(d, "lvPasting"), 0);
        rowsAfterNo = List(d, "lvPasting")->topLevelItemCount();
        Click(d, "cmdRemovePasting", List(d, "lvPasting"), 0);
        Find<QPushButton>(d, "cmdCancel")->click();
      },
      [](QWidget* m) { QTest::keyClick(m, Qt::Key_Return); },  // Enter answers No
      [](QWidget* m) { ClickButton(m, "&Yes"); },
  };
  ShowPreferences();
  EXPECT_TRUE(script.unexpected.isEmpty()) << script.unexpected.join("\n").toStdString();
  EXPECT_EQ(rowTexts, (QStringList{"Class Name", "Contains", "term", "Keys"}));
  EXPECT_EQ(rowsAfterNo, 1);
  EXPECT_EQ(options.PastingRules.Count(), 0);
}

TEST_F(OptionsDlg, CancelKeepsRulesButNotSettingsAndASecondCallRaises) {
  int dialogsOpen = 0;
  ModalScript script{
      [&](QWidget* d) {
        Find<QCheckBox>(d, "chkSaveWindow")->setChecked(!options.SaveWindow);
        ShowPreferences();  // already open: brings it to the front only
        for (QWidget* w : QApplication::topLevelWidgets())
          if (w->inherits("TOptionsDlg") && w->isVisible()) ++dialogsOpen;
        Click(d, "cmdAddTracking");
        Find<QPushButton>(d, "cmdCancel")->click();
      },
      TrackingRule(0, 1, "Notepad"),
  };
  const bool saveWindow = options.SaveWindow;
  ShowPreferences();
  EXPECT_EQ(dialogsOpen, 1);
  EXPECT_EQ(options.SaveWindow, saveWindow);
  ASSERT_EQ(options.TrackingRules.Count(), 2);
  EXPECT_EQ(options.TrackingRules[1]->Attribute, raClassName);
  EXPECT_EQ(options.TrackingRules[1]->Comparison, rcContains);
}

}  // namespace
