// Tip of the day: when it opens, what it shows, how Next Tip cycles and what
// it returns for the ShowTips preference.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QIcon>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QtTest/QTest>
#include <algorithm>
#include <set>

#include "GuiTest.h"
#include "TestSupport.h"
#include "app/SLApplication.h"
#include "framework/SLCipher.h"
#include "framework/SLTipOfTheDay.h"
#include "framework/SLTips.h"

namespace {

struct TipFixture {
  explicit TipFixture(const char* contents) {
    descriptor.Title = "Kestrelay Vellumin";
    descriptor.FontName = "Tahoma";
    descriptor.TipFile = dir.File("kvlmn.tip");
    if (contents != nullptr) WriteFileBytes(descriptor.TipFile, contents);
  }
  TempDir dir;
  TSLApplication descriptor;
};

QString Tip(QWidget* form) {
  return Find<QLabel>(form, "lblMessage")->text();
}
void Next(QWidget* form) {
  Find<QPushButton>(form, "cmdNextTip")->click();
}

}  // namespace

TEST(TipOfTheDay, NoFileOrNoTipsOpensNoDialog) {
  struct Case {
    const char* contents;  // nullptr: no file
    bool showTips, asked;
    bool warning;
    bool result;
  };
  const Case cases[] = {
      {"a tip\n", false, false, false, false},  // start-up with tips off: nothing at all
      {nullptr, true, false, false, false},     // missing at start-up: silently off
      {nullptr, true, true, true, false},       // missing, asked: one warning, then off
      {nullptr, false, true, true, false},
      {"", true, false, false, true},  // empty file: no dialog, preference kept
      {"", false, true, false, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << (c.contents ? "file" : "no file") << " showTips "
                                    << c.showTips << " asked " << c.asked);
    TipFixture f(c.contents);
    int warnings = 0;
    QString text;
    int buttons = 0;
    WhenModal([&](QWidget* d) {
      ++warnings;
      text = Find<QLabel>(d, "lblMessage") ? Find<QLabel>(d, "lblMessage")->text() : QString();
      for (auto* b : d->findChildren<QPushButton*>()) buttons += b->isVisible();
      EXPECT_TRUE(Find<QWidget>(d, "imgWarning")->isVisible());
      d->close();
    });
    EXPECT_EQ(ShowTipOfTheDay(f.descriptor, c.showTips, c.asked), c.result);
    EXPECT_EQ(warnings, c.warning ? 1 : 0);
    if (c.warning) {
      EXPECT_EQ(text.toStdString(), SecretText(TSLSecret::TipFileMissing, true));
      EXPECT_EQ(buttons, 1);
    }
    for (QTimer* t : qApp->findChildren<QTimer*>()) t->deleteLater();  // unused watcher
    QCoreApplication::processEvents();
  }
}

TEST(TipOfTheDay, LayoutTextsAndTheCheckBoxDecideTheResult) {
  TipFixture f("only tip\n");
  QPixmap picture(16, 16);
  picture.fill(Qt::red);
  const QIcon programIcon(picture);
  f.descriptor.Icon = &programIcon;
  for (bool untick : {false, true}) {
    WhenModal([&](QWidget* d) {
      EXPECT_EQ(d->windowIcon().cacheKey(), programIcon.cacheKey());
      EXPECT_EQ(d->size(), QSize(441, 249));
      EXPECT_EQ(d->windowTitle(), "Tip Of The Day...");
      EXPECT_EQ(Find<QLabel>(d, "lbl01")->text(), "Did you know...");
      EXPECT_EQ(Find<QLabel>(d, "lbl01")->font().pointSize(), 14);
      auto* check = Find<QCheckBox>(d, "chkShowTips");
      EXPECT_EQ(check->text(), "&Show tips at startup");
      EXPECT_TRUE(check->isChecked());
      EXPECT_EQ(Find<QPushButton>(d, "cmdNextTip")->geometry(), QRect(272, 216, 75, 25));
      EXPECT_EQ(Find<QPushButton>(d, "cmdClose")->geometry(), QRect(352, 216, 75, 25));
      EXPECT_EQ(Find<QPushButton>(d, "cmdClose")->text(), "&Close");
      EXPECT_FALSE(Find<QLabel>(d, "imgIcon")->pixmap().isNull());
      if (untick) check->click();
      QTest::keyClick(FocusIn(d), Qt::Key_Return);  // Close is the default button
    });
    EXPECT_EQ(ShowTipOfTheDay(f.descriptor, true, false), !untick);
  }
  // Asked from the menu with the preference off: the box starts unticked.
  bool initiallyChecked = true;
  WhenModal([&](QWidget* d) {
    initiallyChecked = Find<QCheckBox>(d, "chkShowTips")->isChecked();
    QTest::keyClick(FocusIn(d), Qt::Key_Escape);
  });
  EXPECT_FALSE(ShowTipOfTheDay(f.descriptor, false, true));
  EXPECT_FALSE(initiallyChecked);
}

TEST(TipOfTheDay, NextTipCyclesThroughTheTipsInShuffledOrder) {
  struct Case {
    const char* contents;
    int tips;
  };
  for (const Case& c : {Case{"only tip", 1}, Case{"one\ntwo\nthree", 3},
                        Case{"one\r\ntwo\r\nthree\r\n", 3}, Case{"one\rtwo\n\nfour\n", 4}}) {
    SCOPED_TRACE(c.contents);
    TipFixture f(c.contents);
    std::vector<QString> seen;
    WhenModal([&](QWidget* d) {
      for (int i = 0; i <= c.tips; ++i) {
        seen.push_back(Tip(d));
        Next(d);
      }
      d->close();
    });
    ShowTipOfTheDay(f.descriptor, true, true);
    ASSERT_EQ(int(seen.size()), c.tips + 1);
    EXPECT_EQ(seen.front(), seen.back());  // back to the first after a full round
    std::set<QString> distinct(seen.begin(), seen.end() - 1);
    EXPECT_EQ(int(distinct.size()), c.tips);
  }
}

TEST(TipOfTheDay, EachOpeningReshuffles) {
  TipFixture f("one\ntwo\nthree\n");
  std::set<QString> firstTips;
  for (int opening = 0; opening < 30; ++opening) {
    WhenModal([&](QWidget* d) {
      firstTips.insert(Tip(d));
      d->close();
    });
    ShowTipOfTheDay(f.descriptor, true, false);
  }
  EXPECT_GT(firstTips.size(), 1u);  // one first tip in 30 openings: chance 3^-29
}

TEST(TipOfTheDay, UnreadableFileOpensTheDialogEmpty) {
  TSLApplication d;
  d.TipFile = "/proc/self/mem";  // exists, but reading it at offset 0 fails even for root
  QString tip = "unset";
  WhenModal([&](QWidget* form) {
    tip = Tip(form);
    form->close();
  });
  EXPECT_TRUE(ShowTipOfTheDay(d, true, false));
  EXPECT_EQ(tip, "");
}

TEST(Tips, ShuffleKeepsEveryLineAndTheShippedFileHasUsefulTips) {
  std::vector<std::string> lines{"a", "b", "c", "d", "e", "b"};
  auto shuffled = lines;
  ShuffleStrings(shuffled);
  std::sort(lines.begin(), lines.end());
  std::sort(shuffled.begin(), shuffled.end());
  EXPECT_EQ(shuffled, lines);

  auto tips = ReadTipFile(VELLUMIN_BUILD_DIR "/kvlmn.tip");
  EXPECT_GE(tips.size(), 15u);
  for (const std::string& tip : tips) EXPECT_GT(tip.size(), 30u) << tip;
}
