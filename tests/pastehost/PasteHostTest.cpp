#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDialog>
#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QTest>
#include <QTimer>
#include <QWindow>

#include "FakeDesktop.h"
#include "library/clsLibrary.h"
#include "rules/clsOptions.h"
#include "ui/main/PasteHost.h"

namespace {

constexpr TWindowHandle kEditor = 10;

class PasteHostTest : public testing::Test {
 protected:
  PasteHostTest() {
    VLMNOptions = &options;
    LastWindow = kNoWindow;
    main.setWindowTitle("Kestrelay Vellumin");
    host = new TPasteHost(&main);
    main.show();
  }
  ~PasteHostTest() override {
    VLMNOptions = nullptr;
    LastWindow = kNoWindow;
  }

  QString StatusText() { return main.findChild<QLabel*>("sbLastWindow")->text(); }

  TVLMNOptions options;
  QMainWindow main;
  TPasteHost* host;
};

TEST_F(PasteHostTest, ClipboardWriterPutsTheTextOnTheClipboard) {
  InstallDesktopSeams();
  ClipboardWriter().SetText("Ol\xC3\xA1\nsecond line \xE2\x9C\x93");
  EXPECT_EQ(QGuiApplication::clipboard()->text(),
            QString::fromUtf8("Ol\u00e1\nsecond line \u2713"));
}

TEST_F(PasteHostTest, TrackingTimerTicksEvery250msAndFollowsTheForegroundWindow) {
  TFakeDesktop desk;
  desk.AddWindow(kEditor, "Notepad", "notes.txt - Notepad");
  ASSERT_NE(host->tTracking, nullptr);
  EXPECT_EQ(host->tTracking->objectName(), "tTracking");
  EXPECT_EQ(host->tTracking->interval(), 250);
  EXPECT_TRUE(host->tTracking->isActive());

  desk.Foreground = kEditor;
  EXPECT_TRUE(QTest::qWaitFor([] { return LastWindow == kEditor; }, 1000));
  EXPECT_EQ(StatusText(), "Last Window: notes.txt - Notepad / Notepad");

  // The main window's own handle is its top-level native window.
  ASSERT_NE(main.internalWinId(), 0u);
  desk.AddWindow(main.internalWinId(), "TVLMNMain", "Kestrelay Vellumin");
  desk.Foreground = main.internalWinId();
  EXPECT_TRUE(QTest::qWaitFor([] { return LastWindow == kNoWindow; }, 1000));
  EXPECT_EQ(StatusText(), "Last Window: notes.txt - Notepad / Notepad");
}

// The program's own windows are never a target: the main window whatever
// its flags (always on top gives it a new native window) and the dialogs.
TEST_F(PasteHostTest, OwnWindowsAreNeverTheTarget) {
  TFakeDesktop desk;
  desk.AddWindow(kEditor, "Notepad", "notes.txt - Notepad");
  main.setWindowFlag(Qt::WindowStaysOnTopHint, true);
  main.show();
  QDialog dialog(&main);
  dialog.setWindowTitle("Search Paste Items");
  dialog.show();
  for (QWidget* own : {static_cast<QWidget*>(&main), static_cast<QWidget*>(&dialog)}) {
    const auto handle = static_cast<TWindowHandle>(own->windowHandle()->winId());
    desk.AddWindow(handle, "kvlmn", own->windowTitle().toStdString());
    desk.Foreground = kEditor;
    host->tTrackingTimer();
    ASSERT_EQ(LastWindow, kEditor);
    desk.Foreground = handle;
    host->tTrackingTimer();
    EXPECT_EQ(LastWindow, kNoWindow) << own->windowTitle().toStdString();
    EXPECT_EQ(StatusText(), "Last Window: notes.txt - Notepad / Notepad");
  }
}

// On Windows the open tray menu is the foreground window: while it is open
// the remembered window and the entries stay as they were.
TEST_F(PasteHostTest, AnOpenTrayMenuKeepsTheRememberedWindow) {
  TFakeDesktop desk;
  desk.AddWindow(kEditor, "Notepad", "notes.txt - Notepad");
  QMenu menu(&main);
  QAction* entry = menu.addAction("Login");
  entry->setData(0);
  host->SetTrayMenu(&menu);
  desk.Foreground = kEditor;
  host->tTrackingTimer();
  ASSERT_EQ(LastWindow, kEditor);
  ASSERT_TRUE(entry->isEnabled());

  menu.popup(QPoint(10, 10));
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&menu));
  const auto handle = static_cast<TWindowHandle>(menu.windowHandle()->winId());
  desk.AddWindow(handle, "kvlmn", "Kestrelay Vellumin");
  desk.Foreground = handle;
  host->tTrackingTimer();
  EXPECT_EQ(LastWindow, kEditor);
  EXPECT_TRUE(entry->isEnabled());

  menu.hide();
  host->tTrackingTimer();  // closed, the menu is an own window like any other
  EXPECT_EQ(LastWindow, kNoWindow);
  EXPECT_FALSE(entry->isEnabled());
  host->SetTrayMenu(nullptr);
}

TEST_F(PasteHostTest, MarkupInAWindowTitleIsShownLiterally) {
  TFakeDesktop desk;
  const std::string caption = "<img src=/dev/zero><b>bold</b> & more";
  desk.AddWindow(kEditor, "<i>browser</i>", caption);
  desk.Foreground = kEditor;
  host->tTrackingTimer();
  auto* label = main.findChild<QLabel*>("sbLastWindow");
  const QString shown =
      QString::fromUtf8("Last Window: <img src=/dev/zero><b>bold</b> & more / <i>browser</i>");
  ASSERT_EQ(label->text(), shown);
  // Drawn as the characters themselves: as wide as the literal text (rich
  // text would draw an image, a bold word and no tags).
  label->adjustSize();
  EXPECT_EQ(label->textFormat(), Qt::PlainText);
  EXPECT_GE(label->sizeHint().width(), label->fontMetrics().horizontalAdvance(shown));
}

TEST_F(PasteHostTest, TickEnablesTopLevelLibraryEntriesOnly) {
  TFakeDesktop desk;
  desk.AddWindow(kEditor, "Notepad", "notes.txt - Notepad");
  QMenu tray;
  QMenu* folder = tray.addMenu("Signatures");
  folder->menuAction()->setData(0);
  QAction* inside = folder->addAction("Formal");
  inside->setData(0);
  tray.addAction("Login")->setData(1);
  tray.addSeparator();
  QAction* exit = tray.addAction("Exit");
  host->SetTrayMenu(&tray);

  host->tTrackingTimer();  // nothing in front
  EXPECT_FALSE(folder->menuAction()->isEnabled());
  EXPECT_FALSE(tray.actions().at(1)->isEnabled());
  EXPECT_TRUE(exit->isEnabled());
  EXPECT_TRUE(inside->isEnabled());

  desk.Foreground = kEditor;
  host->tTrackingTimer();
  EXPECT_TRUE(folder->menuAction()->isEnabled());
  EXPECT_TRUE(tray.actions().at(1)->isEnabled());
}

TEST_F(PasteHostTest, ClickPastesTheItemOfTheEntryTag) {
  TFakeDesktop desk;
  desk.AddWindow(kEditor, "Notepad", "notes.txt - Notepad");
  TPasteItem first, second;
  first.Value = "first";
  second.Value = "second";
  TSLList<TPasteItem> trayItems;
  trayItems.OwnsObjects = false;
  trayItems.Add(&first);
  trayItems.Add(&second);
  LastWindow = kEditor;

  QAction entry;
  entry.setData(1);
  std::optional<TPasteOutcome> outcome;
  host->PasteItemClick(&entry, trayItems, [&](TPasteOutcome o) { outcome = o; });
  EXPECT_EQ(outcome, TPasteOutcome::Delivered);
  EXPECT_EQ(desk.ClipboardTexts, std::vector<std::string>{"second"});
  EXPECT_EQ(desk.Keys.size(), 4u);

  // Stored values break lines with CR LF, older ones maybe with bare LFs; the
  // clipboard gets the platform's line breaks.
  second.Value = "one\r\ntwo\nthree\r\n";
  host->PasteItemClick(&entry, trayItems, [&](TPasteOutcome o) { outcome = o; });
  EXPECT_EQ(desk.ClipboardTexts.back(), "one\ntwo\nthree\n");
  desk.ClipboardTexts.pop_back();

  QAction fixed;  // no tag
  host->PasteItemClick(&fixed, trayItems, [&](TPasteOutcome o) { outcome = o; });
  EXPECT_EQ(outcome, TPasteOutcome::Ignored);
  EXPECT_EQ(desk.ClipboardTexts.size(), 1u);
}

}  // namespace

int main(int argc, char** argv) {
  // Also when the build lists the tests, without the test environment.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
