// The search: scope, fields and match case, the sorted result rows and the
// header clicks, remove (first selected row only), rename (cut to 100
// characters, empty refused), modify, and the changed flag.
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QTreeWidget>

#include <QCheckBox>

#include "DialogTest.h"
#include "framework/SLActions.h"
#include "library/clsLibrary.h"
#include "ui/dialogs/clsSearch.h"
#include "ui/dialogs/frmSearch.h"

namespace {

TPasteItem* Item(TFolder* folder, const char* name, const char* value) {
  auto* item = new TPasteItem;
  item->Name = name;
  item->Kind = 1;
  item->Value = value;
  folder->Items.Add(item);
  return item;
}

TFolder* Folder(TFolder* parent, const char* name) {
  auto* folder = new TFolder;
  folder->Name = name;
  parent->Folders.Add(folder);
  return folder;
}

// Root: "ABC name" | Mail: "sig", "plain" > Old: "deep abc" | Other: "\xc3\x89t\xc3\xa9".
class SearchDlg : public ::testing::Test {
 public:
  void SetUp() override {
    root.Name = "Root";
    Item(&root, "ABC name", "v1");
    mail = Folder(&root, "Mail");
    Item(mail, "sig", "Best ABC regards");
    Item(mail, "plain", "nothing");
    old = Folder(mail, "Old");
    Item(old, "deep abc", "x");
    Item(Folder(&root, "Other"), "\xc3\x89t\xc3\xa9", "summer");
    RootFolder = &root;
  }
  void TearDown() override { RootFolder = nullptr; }

  // Runs a search in a dialog over `current`; the rows' names in list order.
  QStringList Search(TSearchDlg& d, const QString& text, const char* field, bool matchCase,
                     bool allFolders) {
    Find<QLineEdit>(&d, "txtSearchText")->setText(text);
    d.findChild<QRadioButton*>(field)->setChecked(true);
    Find<QCheckBox>(&d, "chkMatchCase")->setChecked(matchCase);
    (allFolders ? Find<QRadioButton>(&d, "radAllFolders")
                : Find<QRadioButton>(&d, "radCurrentFolder"))
        ->setChecked(true);
    d.alActions->Execute(d.actSearch);
    return Names(d);
  }
  static QStringList Names(TSearchDlg& d, int column = 0) {
    QStringList names;
    for (int i = 0; i < Find<QTreeWidget>(&d, "lvItems")->topLevelItemCount(); ++i)
      names << Find<QTreeWidget>(&d, "lvItems")->topLevelItem(i)->text(column);
    return names;
  }
  static void ClickHeader(TSearchDlg& d, int column) {
    QHeaderView* header = Find<QTreeWidget>(&d, "lvItems")->header();
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                      QPoint(header->sectionViewportPosition(column) + 10, header->height() / 2));
  }

  TFolder root;
  TFolder *mail = nullptr, *old = nullptr;
};

TEST_F(SearchDlg, FieldsScopeAndMatchCase) {
  const struct {
    const char* text;
    const char* field;
    bool matchCase, allFolders;
    TFolder* SearchDlg::*current;
    QStringList names;
  } cases[] = {
      {"abc", "radAllFields", false, true, &SearchDlg::mail, {"ABC name", "deep abc", "sig"}},
      {"abc", "radName", true, true, &SearchDlg::mail, {"deep abc"}},
      {"abc", "radValue", false, true, &SearchDlg::mail, {"sig"}},
      {"abc", "radAllFields", false, false, &SearchDlg::mail, {"deep abc", "sig"}},  // sub-folders
                                                                                     // too
      {" abc", "radName", false, true, &SearchDlg::mail, {"deep abc"}},  // the blank counts
      {"\xc3\xa9t", "radName", false, true, &SearchDlg::mail, {}},       // é is not folded to É
      {"\xc3\x89t", "radName", false, true, &SearchDlg::mail, {"\xc3\x89t\xc3\xa9"}},
  };
  for (const auto& c : cases) {
    TSearchDlg d;
    d.CurrentFolder = this->*c.current;
    EXPECT_EQ(Search(d, QString::fromUtf8(c.text), c.field, c.matchCase, c.allFolders), c.names)
        << c.text << " " << c.field;
    EXPECT_EQ(Find<QStatusBar>(&d, "sbStatus")->currentMessage(),
              QString("%1 item(s)").arg(c.names.size()));
  }
  // The root as current folder: the same as all folders.
  TSearchDlg all, current;
  current.CurrentFolder = &root;
  EXPECT_EQ(Search(current, "a", "radAllFields", false, false),
            Search(all, "a", "radAllFields", false, true));
  EXPECT_EQ(Names(all, 2), (QStringList{"Root", "Old", "Mail", "Mail"}));
}

TEST_F(SearchDlg, HeaderClicksFlipOrSwitchTheSortColumn) {
  TSearchDlg d;
  d.show();
  Search(d, "a", "radAllFields", true, true);
  EXPECT_EQ(Names(d), (QStringList{"ABC name", "deep abc", "plain", "sig"}));
  ClickHeader(d, 0);  // the same column: descending
  EXPECT_EQ(Names(d), (QStringList{"sig", "plain", "deep abc", "ABC name"}));
  ClickHeader(d, 1);  // another column: by value, ascending
  EXPECT_EQ(Names(d, 1), (QStringList{"Best ABC regards", "nothing", "v1", "x"}));
  ClickHeader(d, 1);
  EXPECT_EQ(Names(d, 1), (QStringList{"x", "v1", "nothing", "Best ABC regards"}));
  d.close();
}

TEST_F(SearchDlg, RemoveTakesTheFirstSelectedRowOnly) {
  TSearchDlg d;
  d.CurrentFolder = &root;
  Search(d, "abc", "radAllFields", false, true);  // ABC name, deep abc, sig
  Find<QTreeWidget>(&d, "lvItems")->topLevelItem(1)->setSelected(true);
  Find<QTreeWidget>(&d, "lvItems")->topLevelItem(2)->setSelected(true);
  QString question;
  ModalScript script{[&](QWidget* m) {
    for (QLabel* l : m->findChildren<QLabel*>())
      if (l->text().contains("delete")) question = l->text();
    ClickButton(m, "&Yes");
  }};
  d.alActions->Execute(d.actRemove);
  EXPECT_EQ(question, "Are you sure that you want to delete item 'deep abc'?");
  EXPECT_EQ(old->Items.Count(), 0);
  EXPECT_EQ(mail->Items.Count(), 2);
  EXPECT_EQ(Names(d), (QStringList{"ABC name", "sig"}));
  EXPECT_EQ(Find<QStatusBar>(&d, "sbStatus")->currentMessage(), "2 item(s)");
  EXPECT_TRUE(d.Changed);
}

TEST_F(SearchDlg, RenameCutsToOneHundredAndRefusesEmpty) {
  TSearchDlg d;
  d.show();
  Search(d, "sig", "radName", false, true);
  QTreeWidgetItem* row = Find<QTreeWidget>(&d, "lvItems")->topLevelItem(0);
  row->setSelected(true);
  d.alActions->Execute(d.actRename);
  auto* editor = d.findChild<QLineEdit*>("lvItemsEditor");
  ASSERT_NE(editor, nullptr);
  EXPECT_FALSE(Find<QPushButton>(&d, "cmdSearch")->isDefault());  // Enter ends the editing
  editor->setText(QString(120, QLatin1Char('r')));
  QTest::keyClick(editor, Qt::Key_Return);  // commits from the event loop
  Idle();
  EXPECT_EQ(mail->Items[0]->Name, std::string(100, 'r'));
  EXPECT_EQ(row->text(0), QString(100, QLatin1Char('r')));
  EXPECT_TRUE(Find<QPushButton>(&d, "cmdSearch")->isDefault());
  EXPECT_TRUE(d.Changed);

  d.alActions->Execute(d.actRename);
  editor = d.findChild<QLineEdit*>("lvItemsEditor");
  ASSERT_NE(editor, nullptr);
  ModalScript script{[](QWidget* m) { ClickButton(m, "&OK"); }};
  editor->clear();
  QTest::keyClick(editor, Qt::Key_Return);
  Idle();
  Idle();
  EXPECT_TRUE(script.Done());
  EXPECT_EQ(mail->Items[0]->Name, std::string(100, 'r'));
  EXPECT_EQ(row->text(0), QString(100, QLatin1Char('r')));
  EXPECT_NE(d.findChild<QLineEdit*>("lvItemsEditor"), nullptr);  // editing again
  d.close();
}

TEST_F(SearchDlg, ChangedOnlyAfterAChange) {
  {
    ModalScript searchOnly{[](QWidget* d) {
      auto* s = static_cast<TSearchDlg*>(d);
      QTest::keyClicks(Find<QLineEdit>(s, "txtSearchText"), "abc");
      Idle();
      Find<QPushButton>(s, "cmdSearch")->click();
      QTest::keyClick(Find<QLineEdit>(s, "txtSearchText"), Qt::Key_Escape);  // stays open
      EXPECT_TRUE(s->isVisible());
      EXPECT_EQ(Find<QTreeWidget>(s, "lvItems")->topLevelItemCount(), 3);
      Find<QPushButton>(s, "cmdClose")->click();
    }};
    EXPECT_FALSE(SearchPasteItems(mail));
  }

  ModalScript modify{
      [](QWidget* d) {
        auto* s = static_cast<TSearchDlg*>(d);
        Find<QLineEdit>(s, "txtSearchText")->setText("plain");
        Idle();
        Find<QPushButton>(s, "cmdSearch")->click();
        Find<QTreeWidget>(s, "lvItems")->topLevelItem(0)->setSelected(true);
        s->alActions->Execute(s->actModify);
        EXPECT_EQ(Find<QTreeWidget>(s, "lvItems")->topLevelItem(0)->text(1), "nothing more");
        Find<QPushButton>(s, "cmdClose")->click();
      },
      [](QWidget* e) {
        QTest::keyClick(e->findChild<QWidget*>("txtContent"), Qt::Key_End, Qt::ControlModifier);
        QTest::keyClicks(e->findChild<QWidget*>("txtContent"), " more");
        Idle();
        e->findChild<QPushButton*>("cmdOK")->click();
      },
  };
  EXPECT_TRUE(SearchPasteItems(mail));
  EXPECT_EQ(mail->Items[1]->Value, "nothing more");
}

TEST(TextMatcher, AsciiFoldingOnlyAndCharacterStarts) {
  TTextMatcher folded("abc", false), exact("abc", true);
  EXPECT_TRUE(folded.Contains("xxABCxx"));
  EXPECT_FALSE(exact.Contains("xxABCxx"));
  // "\xa9" is the second byte of "é": no match may start inside a character.
  TTextMatcher inside("\xa9", true);
  EXPECT_FALSE(inside.Contains("\xc3\xa9"));
  EXPECT_TRUE(inside.Contains("\xc3\xa9\xa9"));  // a stray byte at a boundary
}

}  // namespace
