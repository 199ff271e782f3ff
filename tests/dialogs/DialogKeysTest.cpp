// Keys every dialog answers the same way: Enter on a focused button presses
// that button, Enter elsewhere presses the default one; Escape that closes an
// open list leaves the dialog open.
#include <QAbstractItemView>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <QWindow>

#include "DialogTest.h"
#include "library/clsLibrary.h"
#include "rules/SLRules.h"
#include "ui/dialogs/SLButtonEdit.h"
#include "ui/dialogs/frmCopyToDlg.h"
#include "ui/dialogs/frmEditItemDlg.h"
#include "ui/dialogs/frmPasting.h"
#include "ui/dialogs/frmSearch.h"
#include "ui/dialogs/frmTracking.h"
#include "ui/main/ItemsTree.h"

namespace {

// Gives `name` the keyboard focus and presses Enter on it.
void EnterOn(QWidget* dialog, const char* name) {
  auto* button = Find<QPushButton>(dialog, name);
  button->setFocus(Qt::TabFocusReason);
  QTest::keyClick(button, Qt::Key_Return);
}

TEST(DialogKeys, EnterOnFocusedCancelCancelsTheItemEditor) {
  WhenModal([](QWidget* d) {
    QTest::keyClicks(Find(d, "txtName"), "sig");
    QTest::keyClicks(Find(d, "txtContent"), "x");
    Idle();  // OK is enabled: Enter reaching the dialog would save
    EnterOn(d, "cmdCancel");
  });
  std::string name, value;
  EXPECT_FALSE(AddPasteItemDlg(name, value));
  EXPECT_EQ(name, "");
}

TEST(DialogKeys, EnterOnFocusedCancelCancelsTheFolderChooser) {
  TItemsTree tree;
  auto* root = new QTreeWidgetItem(QStringList{"Root"});
  TItemsTree::SetNodeData(root, nullptr, niRoot);
  tree.addTopLevelItem(root);
  auto* item = new QTreeWidgetItem(root, QStringList{"sig"});
  TItemsTree::SetNodeData(item, nullptr, niItem);
  tree.setCurrentItem(item);
  WhenModal([](QWidget* d) { EnterOn(d, "cmdCancel"); });
  EXPECT_EQ(MoveItemToDlg(&tree), nullptr);
  // Enter on the tree still presses OK.
  WhenModal([](QWidget* d) { QTest::keyClick(Find(d, "tvFolders"), Qt::Key_Return); });
  EXPECT_EQ(MoveItemToDlg(&tree), root);
}

TEST(DialogKeys, EnterOnFocusedCloseClosesTheSearchAndEnterInTheTextSearches) {
  TFolder root;
  root.Name = "Root";
  auto* item = new TPasteItem;
  item->Name = "abc";
  item->Kind = 1;
  item->Value = "v";
  root.Items.Add(item);
  RootFolder = &root;
  {
    TSearchDlg d;
    d.show();
    auto* text = Find<QLineEdit>(&d, "txtSearchText");
    auto* list = Find<QTreeWidget>(&d, "lvItems");
    text->setFocus();
    QTest::keyClicks(text, "abc");
    Idle();
    QTest::keyClick(text, Qt::Key_Return);
    EXPECT_EQ(list->topLevelItemCount(), 1);
    list->clear();
    Idle();
    EnterOn(&d, "cmdClose");
    EXPECT_FALSE(d.isVisible());
    EXPECT_EQ(list->topLevelItemCount(), 0);  // no second search
  }
  RootFolder = nullptr;
}

// Escape through the window system, as the user presses it: the press goes
// to the open popup if there is one, the release to the focused widget.
void Escape(QWidget* dialog) {
  QTest::keyPress(dialog->windowHandle(), Qt::Key_Escape);
  QTest::keyRelease(dialog->windowHandle(), Qt::Key_Escape);
}

TEST(DialogKeys, EscapeThatClosesADropDownListLeavesTheRuleEditorOpen) {
  struct Case {
    const char* combo;
    std::function<bool()> run;
  };
  TSLTrackingRule tracking;
  TSLPastingRule pasting;
  const std::vector<Case> cases = {
      {"cbField", [&] { return AddTrackingRuleDlg(nullptr, tracking); }},
      {"cbCondition", [&] { return AddTrackingRuleDlg(nullptr, tracking); }},
      {"cbField", [&] { return AddPastingRuleDlg(nullptr, pasting); }},
      {"cbCondition", [&] { return AddPastingRuleDlg(nullptr, pasting); }},
  };
  for (const Case& c : cases) {
    bool listShown = false, listClosed = false, openAfterListEscape = false,
         closedBySecondEscape = false;
    WhenModal([&](QWidget* d) {
      auto* combo = Find<QComboBox>(d, c.combo);
      combo->setFocus();
      combo->showPopup();
      listShown = combo->view()->isVisible();
      Escape(d);
      listClosed = !combo->view()->isVisible();
      openAfterListEscape = d->isVisible();
      Escape(d);  // a second one closes the dialog
      closedBySecondEscape = !d->isVisible();
      if (d->isVisible()) d->close();
    });
    EXPECT_FALSE(c.run()) << c.combo;
    EXPECT_TRUE(listShown) << c.combo;
    EXPECT_TRUE(listClosed) << c.combo;
    EXPECT_TRUE(openAfterListEscape) << c.combo;
    EXPECT_TRUE(closedBySecondEscape) << c.combo;
  }
}

// The keys field opens its dialog from the keyboard: F4 or Alt+Down on the
// field, and Space on the ellipsis button, which Tab reaches after the field.
TEST(DialogKeys, ButtonFieldOpensFromTheKeyboard) {
  QWidget form;
  auto* layout = new QVBoxLayout(&form);
  auto* field = new TButtonEdit(&form);
  auto* next = new QLineEdit(&form);
  layout->addWidget(field);
  layout->addWidget(next);
  form.show();
  QApplication::setActiveWindow(&form);
  ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
  QSignalSpy opened(field, &TButtonEdit::buttonClicked);
  field->setFocus();
  QTest::keyClick(field, Qt::Key_F4);
  EXPECT_EQ(opened.count(), 1);
  QTest::keyClick(field, Qt::Key_Down, Qt::AltModifier);
  EXPECT_EQ(opened.count(), 2);
  QTest::keyClick(field, Qt::Key_Down);  // a plain Down opens nothing
  EXPECT_EQ(opened.count(), 2);
  QTest::keyClick(field, Qt::Key_Tab);
  EXPECT_EQ(QApplication::focusWidget(), field->Button());
  QTest::keyClick(field->Button(), Qt::Key_Space);
  EXPECT_EQ(opened.count(), 3);
  QTest::keyClick(field->Button(), Qt::Key_Tab);
  EXPECT_EQ(QApplication::focusWidget(), next);
}

}  // namespace
