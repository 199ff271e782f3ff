// The tray menu, the closing rule and the stored window placement.
#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>
#include <QScopeGuard>
#include <QScreen>
#include <QStatusBar>
#include <QSystemTrayIcon>
#include <QToolBar>

#include "MainWindowFixture.h"
#include "app/VLMNApp.h"
#include "library/SLRegistry.h"
#include "paste/LastWindow.h"
#include "paste/clsTracker.h"
#include "platform/Desktop.h"
#include "ui/dialogs/frmSearch.h"
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

// Answers the next modal message by closing it; its text and that of its
// details go to `told`.
void RecordNextMessage(QStringList& told) {
  WhenModal([&told](QWidget* dialog) {
    QString text = DialogText(dialog);
    for (QPlainTextEdit* details : dialog->findChildren<QPlainTextEdit*>())
      text += details->toPlainText();
    told << text;
    dialog->close();
  });
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

TEST_F(TrayTest, HomeAndEndSelectTheFirstAndLastEnabledEntry) {
  LastWindow = kNoWindow;  // no last window: the library entries are greyed
  EnableTrayItems(w->PasteHost);
  w->popTray->popup(QPoint(10, 10));
  ASSERT_TRUE(QTest::qWaitForWindowExposed(w->popTray));
  QTest::keyClick(w->popTray, Qt::Key_End);
  EXPECT_EQ(w->popTray->activeAction(), w->actStdExit);
  QTest::keyClick(w->popTray, Qt::Key_Home);
  EXPECT_EQ(w->popTray->activeAction(), w->actStdOpen);
  LastWindow = 4242;
  EnableTrayItems(w->PasteHost);
  QTest::keyClick(w->popTray, Qt::Key_Home);
  EXPECT_EQ(w->popTray->activeAction(), w->popTray->actions()[0]);
  w->popTray->hide();
  // A sub-menu answers the same keys.
  QMenu* login = Opened(w->popTray->actions()[1]);
  login->popup(QPoint(10, 10));
  ASSERT_TRUE(QTest::qWaitForWindowExposed(login));
  QTest::keyClick(login, Qt::Key_End);
  EXPECT_EQ(login->activeAction()->text(), "Server");
  QTest::keyClick(login, Qt::Key_Home);
  EXPECT_EQ(login->activeAction()->text(), "Intranet");
  login->hide();
  LastWindow = kNoWindow;
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

TEST_F(TrayTest, NamesAreShownAsTheyAreAmpersandsIncluded) {
  TFolder* folder = RootFolder->Folders[0];
  folder->Name = "R&D <b>notes</b>";
  folder->Items[0]->Name = "Tom & Jerry";
  w->LibraryChanged();
  QAction* folderEntry = w->popTray->actions()[0];
  // The text a menu draws: single "&"s are mnemonic marks and vanish.
  EXPECT_EQ(folderEntry->iconText(), "R&D <b>notes</b>");
  EXPECT_EQ(Opened(folderEntry)->actions()[0]->iconText(), "Tom & Jerry");
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
  bool SetText(const std::string& text) override {
    texts.push_back(text);
    return true;
  }
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

// Clicks every item entry of the tray menu, opening each sub-menu as a user
// would, and checks that each pastes the value of the item it names. Returns
// the "Folder/Item" paths of the entries it found.
QStringList ClickEveryTrayItem(TVLMNMain* w, RecordingClipboard& clipboard) {
  QStringList seen;
  std::function<void(QMenu*, TFolder*, const QString&)> walk = [&](QMenu* menu, TFolder* folder,
                                                                   const QString& path) {
    for (QAction* entry : menu->actions()) {
      if (TrayEntryTag(entry) < 0) continue;
      const std::string name = entry->text().toStdString();
      if (entry->menu() != nullptr) {
        TFolder* sub = nullptr;
        for (TFolder* f : folder->Folders)
          if (f->Name == name) sub = f;
        ASSERT_NE(sub, nullptr) << name;
        walk(Opened(entry), sub, path + entry->text() + "/");
        continue;
      }
      if (!entry->property("TrayItem").toBool()) continue;
      const TPasteItem* named = nullptr;
      for (TPasteItem* item : folder->Items)
        if (item->Name == name) named = item;
      ASSERT_NE(named, nullptr) << "an entry for a removed item: " << name;
      clipboard.texts.clear();
      w->popTrayClick(entry);
      ASSERT_EQ(clipboard.texts.size(), 1u) << name;
      EXPECT_EQ(clipboard.texts[0], named->Value) << (path + entry->text()).toStdString();
      seen << path + entry->text();
    }
  };
  walk(w->popTray, RootFolder, QString());
  return seen;
}

TEST_F(TrayTest, RemovalInTheSearchDialogLeavesEveryTrayEntryPastingItsOwnItem) {
  RecordingClipboard clipboard;
  SetClipboardWriter(&clipboard);
  LastWindow = 4242;
  MainDialogs.SearchPasteItems = [](TFolder* folder, const std::function<void()>& changed) {
    return ::SearchPasteItems(folder, changed);
  };
  QStringList whileOpen;
  WhenModal([&](QWidget* dialog) {
    auto* search = static_cast<TSearchDlg*>(dialog);
    const auto closeAtTheEnd = qScopeGuard([search] { search->close(); });
    search->findChild<QLineEdit*>("txtSearchText")->setText("Intranet");
    ASSERT_TRUE(search->alActions->Execute(search->actSearch));
    auto* list = search->findChild<QTreeWidget*>("lvItems");
    ASSERT_EQ(list->topLevelItemCount(), 2);
    list->sortItems(2, Qt::AscendingOrder);  // by folder: Login first
    list->topLevelItem(0)->setSelected(true);
    // The question, answered once it is on screen above the search dialog.
    QTimer answer;
    answer.setInterval(5);
    QObject::connect(&answer, &QTimer::timeout, [&] {
      QWidget* question = QApplication::activeModalWidget();
      if (question == nullptr || question == search || !question->isVisible()) return;
      answer.stop();
      Press(question, "&Yes");
    });
    answer.start();
    search->alActions->Execute(search->actRemove);
    // The tray menu opens while the dialog is still up; its sub-menus are
    // filled now, after the change.
    whileOpen = ClickEveryTrayItem(w, clipboard);
  });
  Select("");
  ASSERT_TRUE(w->alActions->Execute(w->actEditSearch));
  EXPECT_EQ(whileOpen, QStringList({"E-mail signatures/john.doe@example.com", "Login/Server",
                                    "Passwords/Intranet", "Passwords/Server"}));
  EXPECT_EQ(ClickEveryTrayItem(w, clipboard), whileOpen);
  EXPECT_EQ(StoredOutline(), Outline(*RootFolder));
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
  w->SessionEnding();  // the log-off writes the placement of a window once shown
  EXPECT_EQ(ReadRegString(RegHive::CurrentUser, kStorage, "NormPos", ""), "70,80,670,530");
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

TEST_F(TrayTest, AboutBoxAndWindowsWithoutAnIconShowTheProgramIcon) {
  const TStartupServices services = ProgramStartupServices();
  ASSERT_NE(services.Icon, nullptr);
  const QIcon& icon = *static_cast<const QIcon*>(services.Icon);
  ASSERT_FALSE(icon.isNull());
  EXPECT_EQ(QApplication::windowIcon().cacheKey(), icon.cacheKey());
  SLApplication->Icon = services.Icon;  // as start-up hands it to the descriptor
  QImage shown;
  WhenModal([&](QWidget* d) {
    shown = d->findChild<QLabel*>("imgApplicationIcon")->pixmap().toImage();
    d->close();
  });
  w->alActions->Execute(w->actHelpAbout);
  EXPECT_FALSE(shown.isNull());
  EXPECT_EQ(shown, icon.pixmap(32, 32).toImage());
}

TEST_F(TrayTest, StoreIsLeftAloneWhenTheWindowWasNeverShown) {
  WriteRegString(RegHive::CurrentUser, kStorage, "NormPos", "1,2,3,4");
  w->SessionEnding();  // a log-off while the program lives in the tray
  EXPECT_EQ(ReadRegString(RegHive::CurrentUser, kStorage, "NormPos", ""), "1,2,3,4");
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

namespace {

// The "Last Window" panel is cut to the status bar: no caption, however long,
// widens the window, lets it grow on the next layout, or cuts the whole text.
TEST_F(TrayTest, LastWindowCaptionsNeverWidenTheWindow) {
  w->ShowMainWindow(true);
  ASSERT_TRUE(QTest::qWaitForWindowExposed(w));
  ASSERT_EQ(w->size(), QSize(511, 407));  // the design size on a first start
  auto* label = w->findChild<QLabel*>("sbLastWindow");
  ASSERT_NE(label, nullptr);
  for (int length : {20, 60, 90, 200}) {
    const std::string text = "Last Window: " + std::string(length, 'W') + " / editor";
    w->PasteHost->ShowLastWindow(text);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
    QApplication::processEvents();
    EXPECT_EQ(w->size(), QSize(511, 407)) << length;
    EXPECT_LE(w->minimumSizeHint().width(), 511) << length;
    EXPECT_LE(label->geometry().right(), w->statusBar()->width()) << length;
    EXPECT_EQ(label->text().toStdString(), text) << length;
  }
}

}  // namespace

// No notification area: after the grace ticks the main window shows and the
// user is told once; minimising and the close box keep the window on the
// taskbar, and the command on the Item menu pastes the selected item. Once
// an area appears, the close box hides the window in the tray again.
// A desktop the program cannot paste on (a Wayland session, where it has no
// seam) is named once at start-up, with what works instead.
TEST_F(TrayTest, ADesktopWithoutPastingIsToldOnceAtStart) {
  Stop();
  int asked = 0;
  MainCommands.PastingUnavailable = [&] {
    ++asked;
    return true;
  };
  QStringList told;
  RecordNextMessage(told);
  Start();
  QTRY_COMPARE(told.size(), 1);
  EXPECT_TRUE(told[0].contains("cannot paste on this desktop")) << told[0].toStdString();
  EXPECT_TRUE(told[0].contains("QT_QPA_PLATFORM=xcb")) << told[0].toStdString();
  for (int i = 0; i < 2 * TVLMNMain::kNoTrayGraceTicks; ++i) w->tTrayWatchTimer();
  QApplication::processEvents();
  EXPECT_EQ(told.size(), 1);
  EXPECT_EQ(asked, 1);
}

TEST_F(TrayTest, WithoutANotificationAreaTheWindowStaysAndTellsOnce) {
  Stop();
  bool available = false;
  MainCommands.TrayAvailable = [&] { return available; };
  trayMissing_ = true;
  Start();
  VLMNOptions->CloseMinimizes = true;
  QStringList told;
  RecordNextMessage(told);
  for (int i = 1; i < TVLMNMain::kNoTrayGraceTicks; ++i) w->tTrayWatchTimer();
  EXPECT_FALSE(w->isVisible());  // a panel that starts late gets its time
  w->tTrayWatchTimer();
  EXPECT_TRUE(w->WithoutTray());
  EXPECT_TRUE(w->isVisible());
  QTRY_COMPARE(told.size(), 1);
  EXPECT_TRUE(told[0].contains("no notification area")) << told[0].toStdString();
  EXPECT_TRUE(told[0].contains("gnome-shell-extension-appindicator")) << told[0].toStdString();
  for (int i = 0; i < 2 * TVLMNMain::kNoTrayGraceTicks; ++i) w->tTrayWatchTimer();
  QApplication::processEvents();
  EXPECT_EQ(told.size(), 1);

  EXPECT_FALSE(w->close());
  EXPECT_TRUE(w->isVisible());
  EXPECT_FALSE(w->Minimized());  // not hidden in a tray that is not there

  RecordingClipboard clipboard;
  SetClipboardWriter(&clipboard);
  const auto cleanup = qScopeGuard([] {
    SetClipboardWriter(nullptr);
    LastWindow = kNoWindow;
  });
  Select("Login/Server");
  LastWindow = kNoWindow;
  EXPECT_FALSE(Enabled(w->actItemPasteLast));
  LastWindow = 4242;
  ASSERT_TRUE(Enabled(w->actItemPasteLast));
  w->alActions->Execute(w->actItemPasteLast);
  EXPECT_EQ(clipboard.texts, std::vector<std::string>{RootFolder->Folders[1]->Items[1]->Value});
  Select("Login");
  EXPECT_FALSE(Enabled(w->actItemPasteLast));

  available = true;
  w->tTrayWatchTimer();
  EXPECT_FALSE(w->WithoutTray());
  EXPECT_FALSE(w->close());
  EXPECT_FALSE(w->isVisible());
  EXPECT_TRUE(w->Minimized());
}
