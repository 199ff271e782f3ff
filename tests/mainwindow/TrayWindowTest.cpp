// The tray menu, the closing rule and the stored window placement.
#include <QMenu>
#include <QScreen>
#include <QStatusBar>
#include <QSystemTrayIcon>
#include <QToolBar>

#include "MainWindowFixture.h"
#include "library/SLRegistry.h"
#include "paste/LastWindow.h"
#include "paste/clsTracker.h"
#include "platform/Desktop.h"
#include "ui/main/PasteHost.h"

namespace {

const std::string kStorage = std::string(kProductKey) + "\\Storage";

QStringList Entries(QMenu* menu) {
  QStringList list;
  for (QAction* a : menu->actions())
    list << (a->isSeparator() ? QString("-") : a->text() + (a->menu() ? ">" : ""));
  return list;
}

// A sub-menu as it is about to show (its entries are made then).
QMenu* Opened(QAction* entry) {
  QMenu* menu = entry->menu();
  emit menu->aboutToShow();
  return menu;
}

using TrayTest = MainWindowFixture;

TEST_F(TrayTest, SampleLibraryMenu) {
  EXPECT_EQ(Entries(w->popTray), QStringList({"E-mail signatures>", "Login>", "Passwords>", "-",
                                              "Open Vellumin", "-", "&Help", "-", "Exit"}));
  EXPECT_EQ(w->popTray->defaultAction(), w->actStdOpen);
  EXPECT_TRUE(w->actStdOpen->font().bold());
  for (QAction* a : w->popTray->actions())
    EXPECT_EQ(TrayEntryTag(a), a->menu() ? 0 : -1) << a->text().toStdString();
  EXPECT_EQ(Entries(Opened(w->popTray->actions()[1])), QStringList({"Intranet", "Server"}));
  // Item entries carry their index in TrayItems, depth first.
  ASSERT_EQ(w->TrayItems.Count(), 5);
  QAction* server = Opened(w->popTray->actions()[2])->actions()[1];
  EXPECT_EQ(w->TrayItems[TrayEntryTag(server)], RootFolder->Folders[2]->Items[1]);
  EXPECT_EQ(w->TrayIcon->contextMenu(), w->popTray);
  EXPECT_EQ(w->TrayIcon->toolTip(), "Kestrelay Vellumin");
}

TEST_F(TrayTest, RebuildKeepsFixedEntriesAndListsRootItemsAndEmptyFolders) {
  auto* empty = new TFolder;
  empty->Name = "Nothing here";
  RootFolder->Folders.Add(empty);
  auto* loose = new TPasteItem;
  loose->Name = "Loose";
  RootFolder->Items.Add(loose);
  w->LibraryChanged();
  w->LibraryChanged();  // twice: nothing doubles
  EXPECT_EQ(Entries(w->popTray),
            QStringList({"E-mail signatures>", "Login>", "Passwords>", "Nothing here", "Loose", "-",
                         "Open Vellumin", "-", "&Help", "-", "Exit"}));
  QAction* emptyEntry = w->popTray->actions()[3];
  EXPECT_EQ(TrayEntryTag(emptyEntry), 0);
  EXPECT_EQ(w->TrayItems.Count(), 6);
  EXPECT_EQ(w->TrayItems[TrayEntryTag(w->popTray->actions()[4])], loose);
  // The empty folder's entry does nothing when clicked.
  w->popTray->actions()[3]->trigger();
  QApplication::processEvents();
  EXPECT_EQ(Outline(*RootFolder).find("Nothing here/\n") != std::string::npos, true);
}

TEST_F(TrayTest, LibraryEntriesFollowLastWindowFixedEntriesStayEnabled) {
  LastWindow = kNoWindow;
  w->PasteHost->tTrackingTimer();
  for (QAction* a : w->popTray->actions())
    EXPECT_EQ(a->isEnabled(), TrayEntryTag(a) == -1) << a->text().toStdString();
  LastWindow = 4242;
  EnableTrayItems(w->PasteHost);
  for (QAction* a : w->popTray->actions()) EXPECT_TRUE(a->isEnabled()) << a->text().toStdString();
  LastWindow = kNoWindow;
}

// Records what the paste path puts on the clipboard.
struct RecordingClipboard : IClipboardWriter {
  std::vector<std::string> texts;
  void SetText(const std::string& text) override { texts.push_back(text); }
};

TEST_F(TrayTest, ItemClickIsHandledAfterTheMenuClosed) {
  RecordingClipboard clipboard;
  SetClipboardWriter(&clipboard);
  LastWindow = 4242;
  QAction* intranet = Opened(w->popTray->actions()[1])->actions()[0];
  intranet->trigger();
  EXPECT_TRUE(clipboard.texts.empty());  // not inside the menu's own handling
  QApplication::processEvents();
  ASSERT_EQ(clipboard.texts.size(), 1u);
  EXPECT_EQ(clipboard.texts[0], RootFolder->Folders[1]->Items[0]->Value);
  SetClipboardWriter(nullptr);
  LastWindow = kNoWindow;
}

TEST_F(TrayTest, CloseRuleBothWays) {
  w->ShowMainWindow(true);
  ASSERT_TRUE(QTest::qWaitForWindowExposed(w));
  VLMNOptions->CloseMinimizes = true;
  EXPECT_FALSE(w->close());
  EXPECT_FALSE(w->isVisible());
  EXPECT_TRUE(w->Minimized());
  w->ShowMainWindow(true);
  EXPECT_TRUE(w->isVisible());
  EXPECT_FALSE(w->Minimized());

  // Exit goes through even while the close box minimises.
  ASSERT_TRUE(w->alActions->Execute(w->actFileExit));
  EXPECT_TRUE(w->Closing);
  EXPECT_FALSE(w->isVisible());
  EXPECT_FALSE(w->Minimized());
}

TEST_F(TrayTest, CloseBoxEndsTheProgramWhenItDoesNotMinimise) {
  w->ShowMainWindow(true);
  ASSERT_TRUE(QTest::qWaitForWindowExposed(w));
  VLMNOptions->CloseMinimizes = false;
  RootFolder->Folders[0]->Name = "Changed";
  EXPECT_TRUE(w->close());
  EXPECT_FALSE(w->Minimized());
  Stop();  // destruction writes the library
  EXPECT_NE(StoredOutline().find("Changed/"), std::string::npos);
}

TEST_F(TrayTest, PlacementRoundTripWithSaveWindowOn) {
  w->ShowMainWindow(true);
  ASSERT_TRUE(QTest::qWaitForWindowExposed(w));
  const QRect placed(70, 80, 600, 450);
  w->setGeometry(placed);
  w->alActions->Execute(w->actViewToolbar);
  w->alActions->Execute(w->actViewPreview);
  w->alActions->Execute(w->actViewOnTop);
  w->Closing = true;
  w->close();
  Stop();
  const int ppi = qRound(QGuiApplication::primaryScreen()->logicalDotsPerInch());
  const QSize screen = QGuiApplication::primaryScreen()->size();
  const std::string sized =
      "(" + std::to_string(screen.width()) + "x" + std::to_string(screen.height()) + ")";
  EXPECT_EQ(ReadRegString(RegHive::CurrentUser, kStorage, "NormPos", ""), "70,80,670,530");
  EXPECT_EQ(ReadRegString(RegHive::CurrentUser, kStorage, "NormPos" + sized, ""), "70,80,670,530");
  EXPECT_EQ(ReadRegString(RegHive::CurrentUser, kStorage, "PixelsPerInch", ""),
            std::to_string(ppi));
  EXPECT_EQ(ReadRegString(RegHive::CurrentUser, kStorage, "FormStyle", ""), "3");
  EXPECT_EQ(ReadRegString(RegHive::CurrentUser, kStorage, "tbMain_Visible", ""), "FALSE");
  EXPECT_EQ(ReadRegString(RegHive::CurrentUser, kStorage, "sbMain_Visible", ""), "TRUE");
  EXPECT_EQ(ReadRegString(RegHive::CurrentUser, kStorage, "tbMenu_CurrentDock", ""), "DockTop");
  EXPECT_EQ(ReadRegString(RegHive::CurrentUser, kStorage, "FormVersion", ""), "0");

  Start();
  EXPECT_FALSE(w->IsOnTop());
  w->ShowMainWindow(true);
  ASSERT_TRUE(QTest::qWaitForWindowExposed(w));
  EXPECT_EQ(w->geometry(), placed);
  EXPECT_TRUE(w->tbMain->isHidden());
  EXPECT_FALSE(w->pRight->isHidden());  // the preview panel is not kept
  EXPECT_TRUE(w->tSetFormStyle->isActive());
  QTRY_VERIFY(w->IsOnTop());
  EXPECT_TRUE(w->isVisible());
}

TEST_F(TrayTest, StoreIsLeftAloneWhenTheWindowWasNeverShown) {
  WriteRegString(RegHive::CurrentUser, kStorage, "NormPos", "1,2,3,4");
  Stop();
  EXPECT_EQ(ReadRegString(RegHive::CurrentUser, kStorage, "NormPos", ""), "1,2,3,4");
  EXPECT_FALSE(RegValueExists(RegHive::CurrentUser, kStorage, "FormStyle"));
}

TEST_F(TrayTest, SaveWindowOffCentresTheDesignSizeAndKeepsNothing) {
  Stop();
  WriteRegString(RegHive::CurrentUser, kStorage, "NormPos", "10,10,900,700");
  WriteRegString(RegHive::CurrentUser, kStorage, "FormStyle", "3");
  Start({}, [] { VLMNOptions->SaveWindow = false; });
  w->ShowMainWindow(true);
  ASSERT_TRUE(QTest::qWaitForWindowExposed(w));
  EXPECT_EQ(w->size(), QSize(511, 407));
  const QPoint centre = QGuiApplication::primaryScreen()->availableGeometry().center();
  EXPECT_LE((w->geometry().center() - centre).manhattanLength(), 8);  // frame rounding
  EXPECT_FALSE(w->tSetFormStyle->isActive());
  w->move(5, 5);
  w->Closing = true;
  w->close();
  Stop();
  EXPECT_EQ(ReadRegString(RegHive::CurrentUser, kStorage, "NormPos", ""), "10,10,900,700");
}

}  // namespace

namespace {

TEST_F(TrayTest, TipOfTheDayAtCreationStoresTheAnswer) {
  Stop();
  std::vector<std::pair<bool, bool>> calls;
  Start({}, [] { VLMNOptions->ShowTips = true; });
  MainCommands.ShowTipOfTheDay = [&](bool showTips, bool fromMenu) {
    calls.emplace_back(showTips, fromMenu);
    return false;
  };
  EXPECT_TRUE(calls.empty());  // not inside the creation: once the loop runs
  QApplication::processEvents();
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_EQ(calls[0], std::make_pair(true, false));
  EXPECT_FALSE(VLMNOptions->ShowTips);
  TVLMNOptions stored;
  stored.Load();
  EXPECT_FALSE(stored.ShowTips);

  ASSERT_TRUE(w->alActions->Execute(w->actHelpTipOfTheDay));
  ASSERT_EQ(calls.size(), 2u);
  EXPECT_EQ(calls[1], std::make_pair(false, true));
}

}  // namespace
