// The splash and the about box: their sizes, texts, colours and buttons.
#include <gtest/gtest.h>

#include <QIcon>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QtTest/QTest>
#include <filesystem>

#include "FakeLauncher.h"
#include "GuiTest.h"
#include "TestSupport.h"
#include "app/SLApplication.h"
#include "framework/SLAboutFrm2.h"
#include "framework/SLSplashFrm2.h"

namespace {

void Describe(TSLApplication& d) {
  d.Title = "Kestrelay Vellumin";
  d.Version = "1.2.0 Build 30";
  d.LegalNotice = "Copyright \xc2\xa9 Kestrelay";
  d.Credits = "First line\rSecond line";
  d.AccentColor = {10, 20, 30};
  d.FontName = "Tahoma";
}

QColor TextColour(QLabel* label) {
  return label->palette().color(QPalette::WindowText);
}

}  // namespace

TEST(Splash, ShowsTheDescriptorsTextsOverThePictureUntilHidden) {
  TSLApplication d;
  Describe(d);
  for (bool english : {true, false}) {
    d.English = english;
    std::unique_ptr<QPixmap> bitmap(LoadSplashBitmap());
    ASSERT_NE(bitmap, nullptr);
    EXPECT_EQ(bitmap->size(), QSize(500, 400));
    ShowSplash(d, bitmap.get(), QColor(255, 255, 255));
    TSplashForm* splash = SplashForm();
    ASSERT_NE(splash, nullptr);
    EXPECT_TRUE(splash->isVisible());
    EXPECT_EQ(splash->size(), QSize(500, 400));
    EXPECT_TRUE(splash->windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_TRUE(splash->windowFlags() & Qt::FramelessWindowHint);
    EXPECT_EQ(splash->lblApplicationVersion->text(),
              english ? "Version 1.2.0 Build 30" : QString::fromUtf8("Versão 1.2.0 Build 30"));
    EXPECT_EQ(TextColour(splash->lblApplicationVersion), QColor(Qt::black));
    EXPECT_EQ(splash->lblCopyright->text(), QString::fromUtf8("Copyright © Kestrelay"));
    EXPECT_EQ(TextColour(splash->lblCopyright), QColor(Qt::white));
    EXPECT_EQ(TextColour(splash->lblWarning), QColor(Qt::white));
    EXPECT_GT(splash->lblWarning->text().size(), 20);
    EXPECT_EQ(splash->lblWarning->geometry(), QRect(16, 296, 457, 11));
    EXPECT_EQ(splash->ImgSplash->pixmap().size(), QSize(500, 400));
    HideSplash();
    EXPECT_EQ(SplashForm(), nullptr);
  }

  ShowSplash(d, nullptr, QColor(255, 255, 255));
  EXPECT_TRUE(SplashForm()->ImgSplash->pixmap().isNull());
  EXPECT_EQ(SplashForm()->palette().color(QPalette::Window), QColor(192, 192, 192));
  HideSplash();
}

TEST(About, FillsItsControlsFromTheDescriptor) {
  TSLApplication d;
  Describe(d);
  QIcon icon(QPixmap(32, 32));
  d.Icon = &icon;
  WhenModal([&](QWidget* w) {
    auto* form = static_cast<TAboutForm*>(w);
    EXPECT_EQ(form->size(), QSize(425, 382));
    EXPECT_EQ(form->windowTitle(), "About Kestrelay Vellumin...");
    EXPECT_EQ(form->lblApplicationName->text(), "Kestrelay Vellumin");
    EXPECT_TRUE(form->lblApplicationName->font().bold());
    EXPECT_EQ(form->lblApplicationName->font().pointSize(), 10);
    EXPECT_EQ(form->lblApplicationVersion->text(), "Version 1.2.0 Build 30");
    EXPECT_EQ(form->lblCopyright->text(), QString::fromUtf8("Copyright © Kestrelay"));
    EXPECT_EQ(form->lblOtherCopyrights->text(), "First line\nSecond line");
    EXPECT_EQ(form->lblOtherCopyrights->font().pointSize(), 7);
    EXPECT_EQ(form->pLeft->palette().color(QPalette::Window), QColor(10, 20, 30));
    EXPECT_EQ(form->pIcon02->palette().color(QPalette::Window), QColor(10, 20, 30));
    EXPECT_EQ(form->pIcon03->palette().color(QPalette::Window), QColor(Qt::white));
    EXPECT_FALSE(form->imgApplicationIcon->pixmap().isNull());
    EXPECT_EQ(form->cmdSysInfo->text(), "&System Info...");
    EXPECT_EQ(form->cmdSupport->text(), "&Tech. Support...");
    EXPECT_EQ(form->focusWidget(), form->cmdOK);
    QTest::keyClick(FocusIn(form), Qt::Key_Return);
  });
  ShowAbout(d, "Tahoma");
  EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

TEST(About, TechSupportOpensItsHelpPageAndSystemInfoFailureIsReported) {
  TempDir dir;
  std::filesystem::create_directories(dir.File("kvlmn-help"));
  WriteFileBytes(dir.File("kvlmn-help/index.html"), "x");
  WriteFileBytes(dir.File("kvlmn-help/context-60000.html"), "x");
  TSLApplication d;
  Describe(d);
  d.HelpFile = dir.File("kvlmn.chm");
  SLApplication = &d;
  ScopedTestRegistry registry;  // no System Info path registered
  TFakeLauncher launcher;       // and no tool installed
  QString warning, details;
  WhenModal([&](QWidget* about) {
    QTest::mouseClick(Find<QPushButton>(about, "cmdSupport"), Qt::LeftButton);
    // The failure travels to the application-wide handler, which shows it.
    WhenModal([&](QWidget* report) {
      warning = Find<QLabel>(report, "lblErrorMsg")->text();
      details = Find<QPlainTextEdit>(report, "txtErrorDetails")->toPlainText();
      Find<QPushButton>(report, "cmdOK")->click();
      WhenModal([](QWidget* back) { QTest::keyClick(back, Qt::Key_Escape); });
    });
    QTest::mouseClick(Find<QPushButton>(about, "cmdSysInfo"), Qt::LeftButton);
  });
  ShowAbout(d, "Tahoma");
  SLApplication = nullptr;
  EXPECT_EQ(launcher.urls,
            std::vector<std::string>{"file://" + dir.File("kvlmn-help/context-60000.html")});
  EXPECT_EQ(warning, "Unable to run System Info at this time.");
  EXPECT_EQ(details,
            "The Operating System registry contains an empty path definition for System Info.");
}
