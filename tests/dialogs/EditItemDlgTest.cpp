// The item editor: OK enabling, the typed-marker filter, pasted text, the
// copy-out only on OK, the resizing rule and the stored placement.
#include <QClipboard>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <vector>

#include "DialogTest.h"
#include "TestSupport.h"
#include "app/SLApplication.h"
#include "library/SLRegistry.h"
#include "rules/clsOptions.h"
#include "ui/dialogs/frmEditItemDlg.h"

namespace {

TEST(EditItemDlg, OkNeedsNameAndContents) {
  bool enabledEmpty = true, enabledNameOnly = true, enabledBoth = false, enabledCleared = true;
  WhenModal([&](QWidget* d) {
    auto* ok = Find<QPushButton>(d, "cmdOK");
    enabledEmpty = EnabledAfterIdle(ok);
    QTest::keyClicks(Find(d, "txtName"), "sig");
    enabledNameOnly = EnabledAfterIdle(ok);
    QTest::keyClicks(Find(d, "txtContent"), "x");
    enabledBoth = EnabledAfterIdle(ok);
    QTest::keyClick(Find(d, "txtContent"), Qt::Key_Backspace);
    enabledCleared = EnabledAfterIdle(ok);
    QTest::keyClicks(Find(d, "txtContent"), "y");
    Idle();
    QTest::keyClick(Find(d, "txtName"), Qt::Key_Return);  // Enter in the name presses OK
  });
  std::string name, value;
  EXPECT_TRUE(AddPasteItemDlg(name, value));
  EXPECT_FALSE(enabledEmpty);
  EXPECT_FALSE(enabledNameOnly);
  EXPECT_TRUE(enabledBoth);
  EXPECT_FALSE(enabledCleared);
  EXPECT_EQ(name, "sig");
  EXPECT_EQ(value, "y");
}

TEST(EditItemDlg, TypedMarkersAreDroppedPastedOnesKept) {
  WhenModal([](QWidget* d) {
    QTest::keyClicks(Find(d, "txtName"), "a;b$c");
    QTest::keyClicks(Find(d, "txtContent"), "a;b$c");
    QTest::keyClick(Find(d, "txtContent"), Qt::Key_Return);  // a new line, not OK
    QApplication::clipboard()->setText("p;q$r");
    QTest::keyClick(Find(d, "txtContent"), Qt::Key_V, Qt::ControlModifier);
    Idle();
    Find<QPushButton>(d, "cmdOK")->click();
  });
  std::string name, value;
  ASSERT_TRUE(AddPasteItemDlg(name, value));
  EXPECT_EQ(name, "abc");
  EXPECT_EQ(value, "abc\r\np;q$r");
}

// Items keep CR LF line breaks through the editor; what the user did not
// touch comes back byte for byte.
TEST(EditItemDlg, LineBreaksAreCrLfAndUntouchedTextIsKept) {
  struct Case {
    const char* what;
    std::string stored;
    QString typedAtEnd;  // empty: OK without a change
    std::string back;
  };
  const std::vector<Case> cases = {
      {"unchanged CR LF", "a\r\nb", "", "a\r\nb"},
      {"unchanged bare LF", "a\nb", "", "a\nb"},
      {"unchanged no-break space", "x\xC2\xA0y\r\nz", "", "x\xC2\xA0y\r\nz"},
      {"edited", "a\r\nb\xC2\xA0", "c",
       "a\r\nb\xC2\xA0"
       "c"},
      {"edited bare LF", "a\nb", "c", "a\r\nbc"},
  };
  for (const Case& c : cases) {
    WhenModal([&](QWidget* d) {
      if (!c.typedAtEnd.isEmpty()) {
        QTest::keyClick(Find(d, "txtContent"), Qt::Key_End, Qt::ControlModifier);
        QTest::keyClicks(Find(d, "txtContent"), c.typedAtEnd);
      }
      Idle();
      Find<QPushButton>(d, "cmdOK")->click();
    });
    std::string name = "n", value = c.stored;
    ASSERT_TRUE(EditPasteItemDlg(name, value)) << c.what;
    EXPECT_EQ(value, c.back) << c.what;
    EXPECT_EQ(name, "n") << c.what;
  }
  // Typed lines.
  WhenModal([](QWidget* d) {
    QTest::keyClicks(Find(d, "txtName"), "lines");
    QTest::keyClicks(Find(d, "txtContent"), "one");
    QTest::keyClick(Find(d, "txtContent"), Qt::Key_Return);
    QTest::keyClicks(Find(d, "txtContent"), "two");
    QTest::keyClick(Find(d, "txtContent"), Qt::Key_Return, Qt::ShiftModifier);
    QTest::keyClicks(Find(d, "txtContent"), "three");
    Idle();
    Find<QPushButton>(d, "cmdOK")->click();
  });
  std::string name, value;
  ASSERT_TRUE(AddPasteItemDlg(name, value));
  EXPECT_EQ(value, "one\r\ntwo\r\nthree");
}

TEST(EditItemDlg, EditCopiesOutOnlyOnOk) {
  std::string name = "Server", value = "line1\nline2";
  bool okAfterClearing = true;
  QString shownValue;
  WhenModal([&](QWidget* d) {
    shownValue = Find<QPlainTextEdit>(d, "txtContent")->toPlainText();
    Find<QPlainTextEdit>(d, "txtContent")->clear();
    okAfterClearing = EnabledAfterIdle(Find(d, "cmdOK"));
    QTest::keyClick(Find(d, "txtContent"), Qt::Key_Escape);  // Esc closes as Cancel
  });
  EXPECT_FALSE(EditPasteItemDlg(name, value));
  EXPECT_EQ(shownValue, "line1\nline2");
  EXPECT_FALSE(okAfterClearing);
  EXPECT_EQ(name, "Server");
  EXPECT_EQ(value, "line1\nline2");

  WhenModal([](QWidget* d) {
    EXPECT_EQ(d->windowTitle(), "Edit Paste Item...");
    QTest::keyClicks(Find(d, "txtName"), "2");
    Idle();
    Find<QPushButton>(d, "cmdOK")->click();
  });
  EXPECT_TRUE(EditPasteItemDlg(name, value));
  EXPECT_EQ(name, "Server2");
  EXPECT_EQ(value, "line1\nline2");
}

TEST(EditItemDlg, NameStopsAtOneHundredCharacters) {
  WhenModal([](QWidget* d) {
    QTest::keyClicks(Find(d, "txtName"), QString(120, QLatin1Char('n')));
    QTest::keyClicks(Find(d, "txtContent"), "v");
    Idle();
    Find<QPushButton>(d, "cmdOK")->click();
  });
  std::string name, value;
  ASSERT_TRUE(AddPasteItemDlg(name, value));
  EXPECT_EQ(name, std::string(100, 'n'));
}

// The limit is for typing: a longer imported name survives Modify + OK and
// its edits, and typing never makes it longer than it came.
TEST(EditItemDlg, LongerStoredNameIsKeptAndTypingNeverLengthensIt) {
  struct Case {
    const char* what;
    std::function<void(QWidget*)> edit;
    std::string back;
  };
  const std::string stored(150, 'i');
  const std::vector<Case> cases = {
      {"untouched", [](QWidget*) {}, stored},
      {"typed at the end",
       [](QWidget* name) {
         QTest::keyClick(name, Qt::Key_End);
         QTest::keyClicks(name, "xyz");
       },
       stored},
      {"last character replaced",
       [](QWidget* name) {
         QTest::keyClick(name, Qt::Key_End);
         QTest::keyClick(name, Qt::Key_Backspace);
         QTest::keyClicks(name, "z");
       },
       std::string(149, 'i') + "z"},
      {"shortened, then typed",
       [](QWidget* name) {
         QTest::keyClick(name, Qt::Key_End);
         for (int i = 0; i < 60; ++i) QTest::keyClick(name, Qt::Key_Backspace);
         QTest::keyClicks(name, QString(70, QLatin1Char('t')));
       },
       std::string(90, 'i') + std::string(60, 't')},
  };
  for (const Case& c : cases) {
    WhenModal([&](QWidget* d) {
      c.edit(Find(d, "txtName"));
      Idle();
      Find<QPushButton>(d, "cmdOK")->click();
    });
    std::string name = stored, value = "v";
    ASSERT_TRUE(EditPasteItemDlg(name, value)) << c.what;
    EXPECT_EQ(name, c.back) << c.what;
  }
}

TEST(EditItemDlg, FieldsFollowTheWindowSize) {
  TEditItemDlg dialog;
  dialog.show();
  dialog.resize(200, 200);
  EXPECT_EQ(dialog.size(), QSize(200, 200));
  EXPECT_EQ(Find(&dialog, "txtName")->width(), 160);
  EXPECT_EQ(Find(&dialog, "txtContent")->width(), 160);
  EXPECT_EQ(Find(&dialog, "txtContent")->height(), 49);
  dialog.resize(100, 100);  // below the minimum
  EXPECT_EQ(dialog.size(), QSize(200, 200));
  dialog.close();
}

// The placement is kept in the registry only while SaveWindow is on.
TEST(EditItemDlg, PlacementStoredOnlyWithSaveWindow) {
  ScopedTestRegistry registry;
  TVLMNOptions options;
  VLMNOptions = &options;
  const std::string section = std::string(kProductKey) + "\\EditItemDlgStorage";
  for (const bool save : {false, true}) {
    options.SaveWindow = save;
    WhenModal([](QWidget* d) {
      d->resize(300, 250);
      Find<QPushButton>(d, "cmdCancel")->click();
    });
    std::string name, value;
    AddPasteItemDlg(name, value);
    EXPECT_EQ(RegValueExists(RegHive::CurrentUser, section, "NormPos"), save) << save;
  }
  QSize reopened;
  WhenModal([&](QWidget* d) {
    reopened = d->size();
    Find<QPushButton>(d, "cmdCancel")->click();
  });
  std::string name, value;
  AddPasteItemDlg(name, value);
  EXPECT_EQ(reopened, QSize(300, 250));
  VLMNOptions = nullptr;
}

}  // namespace
