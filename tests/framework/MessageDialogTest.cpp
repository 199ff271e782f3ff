// The two message dialogs: button sets, captions in both languages, results,
// Escape and the close box, the default button, the argument checks and the
// fold-out details pane.
#include <gtest/gtest.h>

#include <QFontDatabase>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QtTest/QTest>
#include <stdexcept>
#include <vector>

#include "GuiTest.h"
#include "framework/SLMsgDetailsFrm.h"
#include "framework/SLMsgFrm.h"

namespace {

struct SetCase {
  TSLMessageButtons set;
  std::vector<int> lefts;
  std::vector<const char*> english;
  std::vector<const char*> portuguese;
  std::vector<TSLMessageResult> results;
  TSLMessageResult fallback;
};

const std::vector<SetCase>& SetCases() {
  static const std::vector<SetCase> cases = {
      {smbOK, {168}, {"&OK"}, {"&OK"}, {smrOK}, smrOK},
      {smbYesNo, {120, 208}, {"&Yes", "&No"}, {"&Sim", "&Não"}, {smrYes, smrNo}, smrNo},
      {smbYesNoCancel,
       {88, 168, 248},
       {"&Yes", "&No", "&Cancel"},
       {"&Sim", "&Não", "&Cancelar"},
       {smrYes, smrNo, smrCancel},
       smrCancel},
      {smbYesNoCancelAll,
       {48, 128, 208, 288},
       {"&Yes", "&No", "&Cancel", "&All"},
       {"&Sim", "&Não", "&Cancelar", "&Todos"},
       {smrYes, smrNo, smrCancel, smrAll},
       smrCancel},
      {smbYesNoToAllCancel,
       {8, 88, 168, 248, 328},
       {"&Yes", "Y&es to All", "&No", "No &to All", "&Cancel"},
       {"&Sim", "S&im a Todos", "&Não", "Não &a Todos", "&Cancelar"},
       {smrYes, smrYesToAll, smrNo, smrNoToAll, smrCancel},
       smrCancel},
  };
  return cases;
}

QPushButton* Button(QWidget* dialog, int position) {
  return Find<QPushButton>(dialog,
                           QStringLiteral("cmdBtn0%1").arg(position).toLatin1().constData());
}

TSLMessageResult Ask(TSLMessageButtons set, int16_t defaultButton,
                     std::function<void(QWidget*)> act, TSLLanguage language = slEnglish,
                     TSLMessageType type = smtQuestion) {
  WhenModal(std::move(act));
  return SLMessage("Proceed?", "Caption", type, set, defaultButton, language, "");
}

}  // namespace

TEST(MessageDialog, EachSetShowsItsButtonsAndEachButtonReturnsItsMeaning) {
  for (const SetCase& c : SetCases()) {
    for (TSLLanguage language : {slEnglish, slPortuguese}) {
      const auto& captions = language == slEnglish ? c.english : c.portuguese;
      for (size_t pressed = 0; pressed < c.results.size(); ++pressed) {
        SCOPED_TRACE(testing::Message() << "set " << int(c.set) << " language " << int(language)
                                        << " button " << pressed + 1);
        TSLMessageResult result = Ask(
            c.set, 1,
            [&](QWidget* dialog) {
              EXPECT_EQ(dialog->size(), QSize(410, 83));
              for (int p = 1; p <= 5; ++p) {
                QPushButton* button = Button(dialog, p);
                ASSERT_NE(button, nullptr);
                const bool used = p <= int(captions.size());
                EXPECT_EQ(button->isVisible(), used) << "button " << p;
                if (!used) continue;
                EXPECT_EQ(button->text(), QString::fromUtf8(captions[p - 1]));
                EXPECT_EQ(button->geometry(), QRect(c.lefts[p - 1], 7, 75, 25));
              }
              Button(dialog, int(pressed) + 1)->click();
            },
            language);
        EXPECT_EQ(result, c.results[pressed]);
      }
    }
  }
}

TEST(MessageDialog, EscapeAndCloseBoxGiveTheFallbackResult) {
  for (const SetCase& c : SetCases()) {
    SCOPED_TRACE(int(c.set));
    EXPECT_EQ(Ask(c.set, 1, [](QWidget* d) { QTest::keyClick(FocusIn(d), Qt::Key_Escape); }),
              c.fallback);
    EXPECT_EQ(Ask(c.set, 1, [](QWidget* d) { d->close(); }), c.fallback);
  }
}

TEST(MessageDialog, EscapePressAloneDoesNotCloseTheDialog) {
  bool stillOpenAfterPress = false;
  TSLMessageResult result = Ask(smbYesNo, 1, [&](QWidget* d) {
    QTest::keyPress(FocusIn(d), Qt::Key_Escape);
    stillOpenAfterPress = d->isVisible();
    QTest::keyRelease(FocusIn(d), Qt::Key_Escape);
  });
  EXPECT_TRUE(stillOpenAfterPress);
  EXPECT_EQ(result, smrNo);
}

TEST(MessageDialog, DefaultButtonTakesTheFocusAndLeadsTheRotatedTabOrder) {
  struct Case {
    TSLMessageButtons set;
    int16_t requested;
    int expected;
  };
  const Case cases[] = {{smbYesNo, 0, 1},
                        {smbYesNo, -4, 1},
                        {smbYesNo, 3, 1},
                        {smbYesNo, 2, 2},
                        {smbYesNoCancel, 3, 3},
                        {smbYesNoToAllCancel, 5, 5},
                        {smbYesNoToAllCancel, 6, 1},
                        {smbOK, 2, 1}};
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "set " << int(c.set) << " default " << c.requested);
    Ask(c.set, c.requested, [&](QWidget* dialog) {
      EXPECT_EQ(dialog->focusWidget(), Button(dialog, c.expected));
      // Tab order: position p sits at (p - d + 5) mod 5.
      std::vector<QPushButton*> chain;
      QWidget* w = Button(dialog, c.expected);
      for (int steps = 0; steps < 40 && chain.size() < 5; ++steps, w = w->nextInFocusChain())
        if (auto* b = qobject_cast<QPushButton*>(w)) chain.push_back(b);
      ASSERT_EQ(chain.size(), 5u);
      for (int t = 0; t < 5; ++t) EXPECT_EQ(chain[t], Button(dialog, (c.expected - 1 + t) % 5 + 1));
      dialog->close();
    });
  }
}

TEST(MessageDialog, EnterAtOnceOnDefaultButtonTwoOfYesNoReturnsNo) {
  EXPECT_EQ(Ask(smbYesNo, 2, [](QWidget* d) { QTest::keyClick(FocusIn(d), Qt::Key_Return); }),
            smrNo);
  EXPECT_EQ(Ask(smbYesNo, 1, [](QWidget* d) { QTest::keyClick(FocusIn(d), Qt::Key_Return); }),
            smrYes);
}

TEST(MessageDialog, PictureFollowsTheMessageType) {
  const char* pictures[] = {"imgError", "imgWarning", "imgInformation", "imgQuestion"};
  for (int type = 0; type < 4; ++type) {
    Ask(
        smbOK, 1,
        [&](QWidget* dialog) {
          for (const char* name : pictures) {
            auto* picture = Find<QLabel>(dialog, name);
            ASSERT_NE(picture, nullptr);
            EXPECT_EQ(picture->isVisible(), name == pictures[type]) << name << " type " << type;
            EXPECT_FALSE(picture->pixmap().isNull());
          }
          dialog->close();
        },
        slEnglish, TSLMessageType(type));
  }
}

TEST(MessageDialog, CaptionTextAndFont) {
  QString caption, text, family;
  WhenModal([&](QWidget* d) {
    caption = d->windowTitle();
    text = Find<QLabel>(d, "lblMessage")->text();
    family = d->font().family();
    d->close();
  });
  SLMessage("Line one\nline two", "", smtInformation, smbOK, 1, slEnglish, "No Such Font Here");
  EXPECT_EQ(caption, QApplication::applicationDisplayName());
  EXPECT_EQ(text, "Line one\nline two");
  EXPECT_EQ(family, "Tahoma");

  const QString installed = QFontDatabase::families().value(0);
  ASSERT_FALSE(installed.isEmpty());
  WhenModal([&](QWidget* d) {
    caption = d->windowTitle();
    family = d->font().family();
    d->close();
  });
  SLMessage("x", "Given", smtInformation, smbOK, 1, slEnglish, installed.toStdString());
  EXPECT_EQ(caption, "Given");
  EXPECT_EQ(family, installed);
}

TEST(MessageDialog, InvalidArgumentsRaiseInLanguageTypeButtonsOrder) {
  struct Case {
    int language, type, buttons;
    const char* message;
  };
  const Case cases[] = {
      {2, 0, 0, "Invalid language id. in call to SLMessage."},
      {2, 4, 5, "Invalid language id. in call to SLMessage."},
      {1, 4, 0, "Invalid message type in call to SLMessage."},
      {0, 4, 5, "Invalid message type in call to SLMessage."},
      {1, 0, 5, "Invalid button definition in call to SLMessage."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.message);
    try {
      SLMessage("x", "", TSLMessageType(c.type), TSLMessageButtons(c.buttons), 1,
                TSLLanguage(c.language), "");
      ADD_FAILURE() << "no exception";
    } catch (const ESLException&) {
      ADD_FAILURE() << "raised as ESLException";
    } catch (const std::runtime_error& e) {
      EXPECT_STREQ(e.what(), c.message);
    }
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
  }
  EXPECT_THROW(
      try {
        SLMessageDetails("x", "", "", smtQuestion, slEnglish, "", false);
      } catch (const std::runtime_error& e) {
        EXPECT_STREQ(e.what(), "Invalid message type in call to SLMessageDetails.");
        throw;
      },
      std::runtime_error);
  EXPECT_THROW(
      try {
        SLMessageDetails("x", "", "", smtQuestion, TSLLanguage(7), "", false);
      } catch (const std::runtime_error& e) {
        EXPECT_STREQ(e.what(), "Invalid language id. in call to SLMessageDetails.");
        throw;
      },
      std::runtime_error);
}

TEST(MessageDetails, FoldsBetweenTheTwoHeightsWithTheCaptionsOfTheLanguage) {
  struct Case {
    TSLLanguage language;
    const char* folded;
    const char* unfolded;
  };
  for (const Case& c : {Case{slEnglish, "&Details >>", "&Details <<"},
                        Case{slPortuguese, "&Detalhes >>", "&Detalhes <<"}}) {
    SCOPED_TRACE(c.folded);
    std::vector<int> heights;
    std::vector<QString> captions;
    WhenModal([&](QWidget* d) {
      auto* details = Find<QPushButton>(d, "cmdDetails");
      EXPECT_TRUE(details->isVisible());
      EXPECT_EQ(Find<QPushButton>(d, "cmdOK")->text(), "&OK");
      EXPECT_EQ(d->frameGeometry().width(), 409);
      heights.push_back(d->frameGeometry().height());
      captions.push_back(details->text());
      details->click();
      heights.push_back(d->frameGeometry().height());
      captions.push_back(details->text());
      EXPECT_TRUE(Find<QPlainTextEdit>(d, "txtErrorDetails")->isVisible());
      details->click();
      heights.push_back(d->frameGeometry().height());
      captions.push_back(details->text());
      QTest::keyClick(FocusIn(d), Qt::Key_Escape);
    });
    SLMessageDetails("Something failed.", "the reason", "", smtWarning, c.language, "", false);
    EXPECT_EQ(heights, (std::vector<int>{102, 212, 102}));
    EXPECT_EQ(captions,
              (std::vector<QString>{QString::fromUtf8(c.folded), QString::fromUtf8(c.unfolded),
                                    QString::fromUtf8(c.folded)}));
  }
}

TEST(MessageDetails, ShowDetailsOpensUnfoldedOnlyWhenThereAreDetails) {
  int height = 0;
  QString caption;
  bool detailsVisible = true;
  WhenModal([&](QWidget* d) {
    height = d->frameGeometry().height();
    caption = Find<QPushButton>(d, "cmdDetails")->text();
    Find<QPushButton>(d, "cmdOK")->click();
  });
  SLMessageDetails("Failed.", "why", "", smtError, slEnglish, "", true);
  EXPECT_EQ(height, 212);
  EXPECT_EQ(caption, "&Details <<");

  WhenModal([&](QWidget* d) {
    height = d->frameGeometry().height();
    detailsVisible = Find<QPushButton>(d, "cmdDetails")->isVisible();
    QTest::keyClick(FocusIn(d), Qt::Key_Return);  // OK is the default button
  });
  SLMessageDetails("Failed.", "", "", smtError, slEnglish, "", true);
  EXPECT_EQ(height, 102);
  EXPECT_FALSE(detailsVisible);
}

TEST(MessageDetails, PictureCaptionAndLineBreaksOfTheTexts) {
  const char* pictures[] = {"imgCritical", "imgWarning", "imgInformation"};
  struct Case {
    std::string details;
    int lines;
    QString shown;
  };
  const Case cases[] = {{"first\nsecond", 2, "first\nsecond"},
                        {"first\r\nsecond", 2, "first\nsecond"},
                        {"first\n", 1, "first"}};
  for (int type = 0; type < 3; ++type) {
    const Case& c = cases[type];
    QString caption, message;
    WhenModal([&](QWidget* d) {
      for (const char* name : pictures)
        EXPECT_EQ(Find<QLabel>(d, name)->isVisible(), name == pictures[type]) << name;
      auto* pane = Find<QPlainTextEdit>(d, "txtErrorDetails");
      EXPECT_EQ(pane->document()->blockCount(), c.lines);
      EXPECT_EQ(pane->toPlainText(), c.shown);
      caption = d->windowTitle();
      message = Find<QLabel>(d, "lblErrorMsg")->text();
      d->close();
    });
    SLMessageDetails("a\nb\n", c.details, type == 0 ? "" : "Mine", TSLMessageType(type), slEnglish,
                     "", false);
    EXPECT_EQ(caption, type == 0 ? QApplication::applicationDisplayName() : QString("Mine"));
    EXPECT_EQ(message, "a\nb");
  }
}

TEST(NormalizeLineBreaks, Table) {
  struct Case {
    const char* in;
    const char* out;
  };
  const Case cases[] = {
      {"", ""},
      {"plain", "plain"},
      {"a\nb", "a\r\nb"},
      {"a\r\nb", "a\r\nb"},
      {"a\n\nb", "a\r\n\r\nb"},
      {"a\n", "a"},
      {"a\r\n", "a\r"},
      {"\n", ""},
      {"\na", "\r\na"},
      {"a\rb", "a\rb"},
      {"a\n\n", "a\r\n"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(NormalizeLineBreaks(c.in), c.out) << testing::PrintToString(std::string(c.in));
}
