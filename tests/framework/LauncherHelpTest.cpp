// The web page launcher, help contexts and pages, F1 and Escape in dialogs,
// and the system information tool, all through the recording launcher.
#include <gtest/gtest.h>

#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QtTest/QTest>
#include <filesystem>

#include "FakeLauncher.h"
#include "GuiTest.h"
#include "TestSupport.h"
#include "app/SLApplication.h"
#include "framework/SLDesktopLauncher.h"
#include "framework/SLDialogKeys.h"
#include "framework/SLExceptions.h"
#include "framework/SLHelp.h"
#include "library/SLRegistry.h"

namespace {

// A descriptor whose help file has the index page and the import/export page.
struct HelpFixture {
  HelpFixture() {
    std::filesystem::create_directories(dir.File("kvlmn-help"));
    WriteFileBytes(dir.File("kvlmn-help/index.html"), "<html></html>");
    WriteFileBytes(dir.File("kvlmn-help/context-600.html"), "<html></html>");
    descriptor.HelpFile = dir.File("kvlmn.chm");
  }
  std::string Url(const char* page) { return "file://" + dir.File("kvlmn-help/") + page; }
  TempDir dir;
  TSLApplication descriptor;
  TFakeLauncher launcher;
};

}  // namespace

TEST(OpenURL, PrefixesHttpUnlessTheTextStartsWithItExactly) {
  struct Case {
    const char* given;
    const char* opened;  // nullptr: nothing opened
  };
  const Case cases[] = {
      {"www.kestrelay.example/", "http://www.kestrelay.example/"},
      {"http://www.kestrelay.example/", "http://www.kestrelay.example/"},
      {"HTTP://www.kestrelay.example/", "http://HTTP://www.kestrelay.example/"},
      {"https://secure.example/", "http://https://secure.example/"},
      {"http:/", "http://http:/"},
      {"", nullptr},
  };
  for (const Case& c : cases) {
    TFakeLauncher launcher;
    OpenURL(c.given);
    if (c.opened == nullptr)
      EXPECT_TRUE(launcher.urls.empty()) << c.given;
    else
      EXPECT_EQ(launcher.urls, std::vector<std::string>{c.opened}) << c.given;
  }
}

TEST(ShowHelp, OpensThePageOfTheContext) {
  HelpFixture f;
  ShowHelp(f.descriptor, 0);
  ShowHelp(f.descriptor, 600);
  ShowHelp(f.descriptor, 700);  // no page of its own: the default topic
  EXPECT_EQ(f.launcher.urls,
            (std::vector<std::string>{f.Url("index.html"), f.Url("context-600.html"),
                                      f.Url("index.html")}));
  EXPECT_TRUE(f.launcher.beeps.empty());
}

TEST(ShowHelp, MissingHelpDoesNothingAndAMissingOpenerIsExplained) {
  HelpFixture f;
  TSLApplication noHelp;
  ShowHelp(noHelp, 0);
  noHelp.HelpFile = f.dir.File("elsewhere/kvlmn.chm");
  ShowHelp(noHelp, 600);
  EXPECT_TRUE(f.launcher.urls.empty());
  EXPECT_TRUE(f.launcher.beeps.empty());

  f.launcher.openSucceeds = false;
  try {
    ShowHelp(f.descriptor, 600);
    FAIL() << "no exception";
  } catch (const ESLException& e) {
    EXPECT_EQ(e.Message(), "Unable to show help file '" + f.descriptor.HelpFile + "'.");
    EXPECT_EQ(e.Details, "no opener installed");
    EXPECT_EQ(e.MessageType, smtWarning);
  }
}

TEST(OpenURL, AMissingOpenerIsAWarningNamingThePage) {
  TFakeLauncher launcher;
  launcher.openSucceeds = false;
  try {
    OpenURL("www.kestrelay.example/");
    FAIL() << "no exception";
  } catch (const ESLException& e) {
    EXPECT_EQ(e.Message(), "Unable to open the web page 'http://www.kestrelay.example/'.");
    EXPECT_EQ(e.Details, "no opener installed");
    EXPECT_EQ(e.MessageType, smtWarning);
  }
}

// The desktop's launcher with PATH set to a folder of the test's own: no
// xdg-open, one that runs, and one that cannot be started.
TEST(DesktopLauncher, TellsWhetherTheOpenerIsMissingOrFailed) {
  TempDir dir;
  const std::string opener = dir.File("xdg-open");
  struct Case {
    const char* script;  // nullptr: no opener in the folder
    bool opens;
    std::string failure;
  } cases[] = {
      {nullptr, false,
       "No program that opens addresses is installed. Install xdg-utils (its xdg-open command "
       "opens web pages, help pages and e-mail in the desktop's programs)."},
      {"#!/bin/sh\nexit 0\n", true, ""},
      {"not a program\n", false,
       "The program that opens addresses (" + opener + ") could not be started."},
  };
  const QByteArray path = qgetenv("PATH");
  qputenv("PATH", QByteArray::fromStdString(dir.Path()));
  TSLDesktopLauncher launcher;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.script != nullptr ? c.script : "none");
    std::filesystem::remove(opener);
    if (c.script != nullptr) {
      ASSERT_TRUE(WriteFileBytes(opener, c.script));
      std::filesystem::permissions(opener, std::filesystem::perms::owner_all);
    }
    EXPECT_EQ(launcher.OpenURL("http://www.kestrelay.example/"), c.opens);
    if (!c.opens) EXPECT_EQ(launcher.OpenFailure(), c.failure);
  }
  qputenv("PATH", path);
}

TEST(ShowHelp, AFailingOpenerBecomesAWarning) {
  HelpFixture f;
  f.launcher.throwOnOpen = true;
  try {
    ShowHelp(f.descriptor, 0);
    FAIL() << "no exception";
  } catch (const ESLException& e) {
    EXPECT_EQ(e.Message(), "Unable to show help file '" + f.descriptor.HelpFile + "'.");
    EXPECT_EQ(e.Details, "opener crashed");
    EXPECT_EQ(e.MessageType, smtWarning);
  }
}

TEST(ShowHelp, TheShippedHelpHasAPageForEveryContext) {
  const std::string folder = HelpFolder(VELLUMIN_BUILD_DIR "/kvlmn.chm");
  EXPECT_EQ(folder, VELLUMIN_BUILD_DIR "/kvlmn-help");
  for (int context : {0, 500, 600, 700, 800, 900, 1000, 1100, 1200, 1300, 60000}) {
    const std::string page = HelpPage(VELLUMIN_BUILD_DIR "/kvlmn.chm", context);
    EXPECT_EQ(page, folder + (context == 0 ? std::string("/index.html")
                                           : "/context-" + std::to_string(context) + ".html"));
    EXPECT_NE(ReadFileBytes(page).find("<h1>"), std::string::npos) << page;
  }
}

TEST(HandleDialogKey, F1OpensTheDialogsContextAndEscapeReleaseCloses) {
  HelpFixture f;
  f.descriptor.HelpFile = f.dir.File("kvlmn.chm");
  SLApplication = &f.descriptor;
  for (int context : {600, 0}) {
    TSLDialog dialog;
    SetHelpContext(&dialog, context);
    bool openAfterF1 = false, openAfterEscapePress = false;
    WhenModal([&](QWidget* d) {
      QTest::keyClick(d, Qt::Key_F1);
      openAfterF1 = d->isVisible();
      QTest::keyPress(d, Qt::Key_Escape);
      openAfterEscapePress = d->isVisible();
      QTest::keyRelease(d, Qt::Key_Escape);
    });
    dialog.exec();
    EXPECT_TRUE(openAfterF1);
    EXPECT_TRUE(openAfterEscapePress);
    EXPECT_FALSE(dialog.isVisible());
  }
  SLApplication = nullptr;
  EXPECT_EQ(f.launcher.urls,
            (std::vector<std::string>{f.Url("context-600.html"), f.Url("index.html")}));
}

TEST(RunSystemInfo, StartsTheRegisteredOrInstalledToolOrExplainsWhyNot) {
  struct Case {
    const char* registered;  // HKLM MSINFO Path, "" when absent
    const char* installed;   // what the launcher finds
    bool starts;
    const char* started;  // nullptr: nothing started
    const char* reason;   // nullptr: no exception
  };
  const Case cases[] = {
      {"", "", true, nullptr,
       "The Operating System registry contains an empty path definition for System Info."},
      {"", "/usr/bin/hardinfo", true, "/usr/bin/hardinfo", nullptr},
      {"/opt/msinfo/msinfo", "/usr/bin/hardinfo", true, "/opt/msinfo/msinfo", nullptr},
      {"", "/usr/bin/hardinfo", false, "/usr/bin/hardinfo",
       "An error was raised by the Operating System while running System Info."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.installed);
    ScopedTestRegistry registry;
    if (*c.registered)
      WriteRegString(RegHive::LocalMachine, "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO", "Path",
                     c.registered);
    TFakeLauncher launcher;
    launcher.installedSystemInfo = c.installed;
    launcher.startSucceeds = c.starts;
    try {
      RunSystemInfo();
      EXPECT_EQ(c.reason, nullptr);
    } catch (const ESLException& e) {
      ASSERT_NE(c.reason, nullptr);
      EXPECT_EQ(e.Message(), "Unable to run System Info at this time.");
      EXPECT_EQ(e.Details, c.reason);
      EXPECT_EQ(e.MessageType, smtWarning);
    }
    if (c.started)
      EXPECT_EQ(launcher.programs, std::vector<std::string>{c.started});
    else
      EXPECT_TRUE(launcher.programs.empty());
  }
}
