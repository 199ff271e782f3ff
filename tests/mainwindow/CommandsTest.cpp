// The action list and the Edit, Item, File and View commands.
#include <QClipboard>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QSplitter>
#include <QStatusBar>
#include <QTextCursor>
#include <QToolBar>

#include "MainWindowFixture.h"
#include "exchange/clsExportFile.h"
#include "exchange/frmImpExp.h"
#include "library/SLRegistry.h"

namespace {

void Nested(TFolder& root) {
  TFolder* login = root.Folders[1];
  for (const char* name : {"Hosts", "Empty"}) {
    auto* folder = new TFolder;
    folder->Name = name;
    login->Folders.Add(folder);
  }
  auto* deep = new TFolder;
  deep->Name = "Deep";
  login->Folders[0]->Folders.Add(deep);
  auto* note = new TPasteItem;
  note->Name = "Note";
  note->Value = "a note";
  root.Items.Add(note);
}

// Closes the import dialog once its run has brought a folder.
void CloseImportWhenDone() {
  auto* timer = new QTimer(qApp);
  timer->setObjectName("WhenModal");
  timer->setInterval(10);
  QObject::connect(timer, &QTimer::timeout, [timer] {
    auto* dialog = qobject_cast<TImpExpDlg*>(QApplication::activeModalWidget());
    if (dialog == nullptr || dialog->Busy() || dialog->ResultFolder() == nullptr) return;
    timer->stop();
    timer->deleteLater();
    dialog->close();
  });
  timer->start();
}

class CommandsTest : public MainWindowFixture {
 protected:
  void SetUp() override {
    Start(Nested);
    ShowWithTreeFocus();
  }
  QStringList EnabledOf(std::initializer_list<QAction*> actions) {
    w->alActions->Update();
    QStringList names;
    for (QAction* a : actions)
      if (a->isEnabled()) names << a->objectName();
    return names;
  }
};

TEST_F(CommandsTest, EnablingWithRootFolderAndItemSelected) {
  const auto all = {w->actEditCut,    w->actEditCopy,      w->actEditPaste,  w->actEditSelectAll,
                    w->actEditSearch, w->actItemNewFolder, w->actItemAdd,    w->actItemModify,
                    w->actItemRename, w->actItemRemove,    w->actItemMoveUp, w->actItemMoveDown,
                    w->actItemCopyTo, w->actItemMoveTo};
  struct Case {
    QString path;
    QStringList enabled;
  } cases[] = {
      {"", {"actEditSearch", "actItemNewFolder", "actItemAdd"}},
      {"Login",
       {"actEditCut", "actEditCopy", "actEditSearch", "actItemNewFolder", "actItemAdd",
        "actItemRename", "actItemRemove", "actItemMoveUp", "actItemMoveDown", "actItemCopyTo",
        "actItemMoveTo"}},
      {"Login/Intranet",
       {"actEditCut", "actEditCopy", "actEditSearch", "actItemModify", "actItemRename",
        "actItemRemove", "actItemMoveDown", "actItemCopyTo", "actItemMoveTo"}},
      {"Note",  // the only item of the root: neither way
       {"actEditCut", "actEditCopy", "actEditSearch", "actItemModify", "actItemRename",
        "actItemRemove", "actItemCopyTo", "actItemMoveTo"}},
  };
  for (const Case& c : cases) {
    Select(c.path);
    EXPECT_EQ(EnabledOf(all), c.enabled) << "selected: '" << c.path.toStdString() << "'";
  }
  // Working the menu bar with the keys leaves the tree the active control.
  Select("Login/Intranet");
  w->mnuMain->setFocus();
  ASSERT_EQ(w->focusWidget(), w->mnuMain);
  EXPECT_TRUE(Enabled(w->actItemRemove));
  EXPECT_TRUE(Enabled(w->actEditCut));
  w->tvItems->setFocus();
  // File, Help and the menu headers are always enabled.
  for (QAction* a : {w->actFile, w->actHelp, w->actFileImport, w->actFileExit, w->actHelpAbout})
    EXPECT_TRUE(Enabled(a));
}

TEST_F(CommandsTest, MoveUpAndDownLimits) {
  struct Case {
    QString path;
    bool up, down;
  } cases[] = {{"E-mail signatures", false, true}, {"Passwords", true, false},
               {"Login/Hosts", false, true},       {"Login/Empty", true, false},
               {"Login/Intranet", false, true},    {"Login/Server", true, false},
               {"Login/Hosts/Deep", false, false}};
  for (const Case& c : cases) {
    Select(c.path);
    EXPECT_EQ(Enabled(w->actItemMoveUp), c.up) << c.path.toStdString();
    EXPECT_EQ(Enabled(w->actItemMoveDown), c.down) << c.path.toStdString();
  }
  // A disabled command does nothing, whoever runs it.
  Select("Login/Intranet");
  EXPECT_FALSE(w->alActions->Execute(w->actItemMoveUp));
  w->actItemMoveUp->trigger();
  EXPECT_EQ(Children(Node("Login")), QStringList({"Hosts", "Empty", "Intranet", "Server"}));

  EXPECT_TRUE(w->alActions->Execute(w->actItemMoveDown));
  EXPECT_EQ(Children(Node("Login")), QStringList({"Hosts", "Empty", "Server", "Intranet"}));
  Select("Login/Empty");
  EXPECT_TRUE(w->alActions->Execute(w->actItemMoveUp));
  EXPECT_EQ(Children(Node("Login")), QStringList({"Empty", "Hosts", "Server", "Intranet"}));
  EXPECT_EQ(w->tvItems->currentItem(), Node("Login/Empty"));
  EXPECT_EQ(StoredOutline(), Outline(*RootFolder));
  EXPECT_EQ(TreeOutline(w->RootNode()), Outline(*RootFolder));
}

TEST_F(CommandsTest, CopyAnItemAndPasteTwice) {
  Select("Login/Intranet");
  w->alActions->Execute(w->actEditCopy);
  Select("Passwords");
  EXPECT_TRUE(w->alActions->Execute(w->actEditPaste));
  EXPECT_EQ(w->tvItems->currentItem(), Node("Passwords")->child(2));
  EXPECT_FALSE(Enabled(w->actEditPaste));  // an item is no place to paste into
  Select("Passwords");
  EXPECT_TRUE(w->alActions->Execute(w->actEditPaste));
  EXPECT_EQ(Children(Node("Passwords")),
            QStringList({"Intranet", "Server", "Intranet", "Intranet"}));
  EXPECT_EQ(RootFolder->Folders[2]->Items[3]->Value, RootFolder->Folders[1]->Items[0]->Value);
  EXPECT_EQ(Children(Node("Login")), QStringList({"Hosts", "Empty", "Intranet", "Server"}));
  EXPECT_TRUE(w->NodeClipboard.Pending());
  EXPECT_EQ(StoredOutline(), Outline(*RootFolder));
}

TEST_F(CommandsTest, CutAnItemIntoItsOwnFolderMakesItLast) {
  Select("Login/Intranet");
  w->alActions->Execute(w->actEditCut);
  EXPECT_TRUE(TItemsTree::IsCutMarked(Node("Login/Intranet")));
  Select("Login");
  ASSERT_TRUE(w->alActions->Execute(w->actEditPaste));
  EXPECT_EQ(Children(Node("Login")), QStringList({"Hosts", "Empty", "Server", "Intranet"}));
  EXPECT_FALSE(w->NodeClipboard.Pending());
  EXPECT_FALSE(TItemsTree::IsCutMarked(Node("Login/Intranet")));
  EXPECT_FALSE(Enabled(w->actEditPaste));
  EXPECT_EQ(StoredOutline(), Outline(*RootFolder));
}

TEST_F(CommandsTest, CutFolderCannotGoBelowItselfCopyCan) {
  Select("Login");
  w->alActions->Execute(w->actEditCut);
  for (const char* target : {"Login", "Login/Hosts", "Login/Hosts/Deep"}) {
    Select(target);
    EXPECT_FALSE(Enabled(w->actEditPaste)) << target;
  }
  Select("Passwords");
  EXPECT_TRUE(Enabled(w->actEditPaste));

  Select("Login");
  w->alActions->Execute(w->actEditCopy);
  Select("Login/Hosts");
  ASSERT_TRUE(w->alActions->Execute(w->actEditPaste));
  // The copy is the folder as it was, first among Hosts' sub-folders.
  EXPECT_EQ(Children(Node("Login/Hosts")), QStringList({"Login", "Deep"}));
  EXPECT_EQ(Children(Node("Login/Hosts/Login")),
            QStringList({"Hosts", "Empty", "Intranet", "Server"}));
  EXPECT_EQ(Children(Node("Login/Hosts/Login/Hosts")), QStringList({"Deep"}));
  EXPECT_EQ(TreeOutline(w->RootNode()), Outline(*RootFolder));
  EXPECT_EQ(StoredOutline(), Outline(*RootFolder));
}

TEST_F(CommandsTest, CopyToCancelsAnEarlierCut) {
  Select("Login/Intranet");
  w->alActions->Execute(w->actEditCut);
  QTreeWidgetItem* chosen = nullptr;
  MainDialogs.CopyItemTo = [&](QTreeWidgetItem* node) {
    EXPECT_EQ(node, Node("Passwords/Server"));
    return chosen = Node("E-mail signatures");
  };
  Select("Passwords/Server");
  ASSERT_TRUE(w->alActions->Execute(w->actItemCopyTo));
  EXPECT_EQ(Children(Node("E-mail signatures")), QStringList({"john.doe@example.com", "Server"}));
  EXPECT_EQ(Children(Node("Passwords")), QStringList({"Intranet", "Server"}));
  EXPECT_EQ(Children(Node("Login")), QStringList({"Hosts", "Empty", "Intranet", "Server"}));
  EXPECT_FALSE(TItemsTree::IsCutMarked(Node("Login/Intranet")));
  EXPECT_EQ(w->NodeClipboard.Node, Node("Passwords/Server"));
  EXPECT_FALSE(w->NodeClipboard.IsCut);

  MainDialogs.MoveFolderTo = [&](QTreeWidgetItem*) { return Node("Passwords"); };
  Select("Login/Hosts");
  ASSERT_TRUE(w->alActions->Execute(w->actItemMoveTo));
  EXPECT_EQ(Children(Node("Passwords")), QStringList({"Hosts", "Intranet", "Server"}));
  EXPECT_EQ(Children(Node("Login")), QStringList({"Empty", "Intranet", "Server"}));
  EXPECT_EQ(StoredOutline(), Outline(*RootFolder));
}

TEST_F(CommandsTest, CopyToFromThePreviewPastesNothing) {
  Select("Login/Intranet");
  w->txtPreview->setFocus();
  MainDialogs.CopyItemTo = [&](QTreeWidgetItem*) { return Node("Passwords"); };
  ASSERT_TRUE(w->alActions->Execute(w->actItemCopyTo));
  EXPECT_EQ(Children(Node("Passwords")), QStringList({"Intranet", "Server"}));
  EXPECT_TRUE(w->NodeClipboard.Pending());
}

TEST_F(CommandsTest, PreviewSelectionGoesToTheSystemClipboard) {
  Select("Login/Intranet");
  w->txtPreview->setFocus();
  EXPECT_FALSE(Enabled(w->actEditCopy));
  EXPECT_TRUE(Enabled(w->actEditSelectAll));
  QTextCursor cursor = w->txtPreview->textCursor();
  cursor.setPosition(0);
  cursor.setPosition(3, QTextCursor::KeepAnchor);
  w->txtPreview->setTextCursor(cursor);
  EXPECT_FALSE(Enabled(w->actEditPaste));
  QApplication::clipboard()->clear();
  ASSERT_TRUE(w->alActions->Execute(w->actEditCut));
  EXPECT_EQ(QApplication::clipboard()->text(), w->txtPreview->toPlainText().left(3));
  EXPECT_EQ(RootFolder->Folders[1]->Items.Count(), 2);
  EXPECT_FALSE(w->NodeClipboard.Pending());
}

// The system clipboard is written only by Copy on the preview: the tree's
// own copy keys do nothing, with Copy disabled (the root) or not.
TEST_F(CommandsTest, TreeKeysNeverWriteTheSystemClipboard) {
  ShowWithTreeFocus();
  struct Case {
    const char* node;
    Qt::Key key;
  };
  for (const Case& c :
       {Case{"", Qt::Key_C}, Case{"", Qt::Key_Insert}, Case{"Login/Intranet", Qt::Key_Insert},
        Case{"Login", Qt::Key_Insert}, Case{"Login/Intranet", Qt::Key_C}}) {
    w->NodeClipboard.Clear();
    QApplication::clipboard()->setText("sentinel");
    Select(c.node);
    w->tvItems->setFocus();
    w->alActionsUpdate();  // as when the program goes idle
    QTest::keyClick(w->tvItems, c.key, Qt::ControlModifier);
    QApplication::processEvents();
    EXPECT_EQ(QApplication::clipboard()->text(), "sentinel") << c.node << " " << c.key;
  }
  // Ctrl+C on an item is the Copy command: the node waits to be pasted.
  EXPECT_TRUE(w->NodeClipboard.Pending());
}

TEST_F(CommandsTest, RemoveAsksAndNoKeepsYesRemoves) {
  Select("Login/Hosts/Deep");
  w->alActions->Execute(w->actEditCut);  // pending inside the folder that goes
  Select("Login");
  const std::string before = StoredOutline();
  QString asked;
  WhenModal([&](QWidget* dialog) {
    asked = DialogText(dialog);
    Press(dialog, "&No");
  });
  w->alActions->Execute(w->actItemRemove);
  EXPECT_TRUE(asked.contains("Are you sure that you want to delete folder 'Login'?"));
  EXPECT_EQ(Children(Node("")).size(), 4);
  EXPECT_EQ(StoredOutline(), before);

  WhenModal([&](QWidget* dialog) { Press(dialog, "&Yes"); });
  w->alActions->Execute(w->actItemRemove);
  EXPECT_EQ(Children(Node("")), QStringList({"E-mail signatures", "Passwords", "Note"}));
  EXPECT_EQ(w->tvItems->currentItem(), w->RootNode());
  EXPECT_FALSE(w->NodeClipboard.Pending());
  EXPECT_EQ(StoredOutline(), Outline(*RootFolder));

  Select("Note");
  WhenModal([&](QWidget* dialog) {
    asked = DialogText(dialog);
    Press(dialog, "&Yes");
  });
  w->alActions->Execute(w->actItemRemove);
  EXPECT_TRUE(asked.contains("Are you sure that you want to delete item 'Note'?"));
  EXPECT_EQ(RootFolder->Items.Count(), 0);
}

TEST_F(CommandsTest, NewFolderGoesBeforeTheFirstItemWithItsNameStored) {
  Select("Login");
  ASSERT_TRUE(w->alActions->Execute(w->actItemNewFolder));
  EXPECT_EQ(Children(Node("Login")),
            QStringList({"Hosts", "Empty", "New Folder", "Intranet", "Server"}));
  EXPECT_EQ(w->tvItems->currentItem(), Node("Login/New Folder"));
  EXPECT_NE(OpenEditor(w->tvItems), nullptr);
  EXPECT_EQ(StoredOutline(), Outline(*RootFolder));
  EXPECT_NE(StoredOutline().find("New Folder/"), std::string::npos);
  QTest::keyClick(OpenEditor(w->tvItems), Qt::Key_Escape);

  Select("Login/Hosts/Deep");  // no items: the new node is the last child
  ASSERT_TRUE(w->alActions->Execute(w->actItemNewFolder));
  EXPECT_EQ(Children(Node("Login/Hosts/Deep")), QStringList({"New Folder"}));
}

TEST_F(CommandsTest, AddAndModifyItem) {
  MainDialogs.AddPasteItem = [](std::string& name, std::string& value) {
    name = "Added";
    value = "v1\r\nv2";
    return true;
  };
  Select("Login");
  ASSERT_TRUE(w->alActions->Execute(w->actItemAdd));
  EXPECT_EQ(Children(Node("Login")).last(), "Added");
  EXPECT_EQ(RootFolder->Folders[1]->Items[2]->Kind, 1);
  EXPECT_EQ(w->txtPreview->toPlainText(), "v1\nv2");
  MainDialogs.EditPasteItem = [](std::string& name, std::string& value) {
    EXPECT_EQ(name, "Added");
    name = "Changed";
    value = "v3";
    return true;
  };
  ASSERT_TRUE(w->alActions->Execute(w->actItemModify));
  EXPECT_EQ(w->tvItems->currentItem()->text(0), "Changed");
  EXPECT_EQ(w->txtPreview->toPlainText(), "v3");
  EXPECT_EQ(StoredOutline(), Outline(*RootFolder));
  // The tray menu shows it at once.
  bool found = false;
  for (TPasteItem* item : w->TrayItems) found = found || item->Name == "Changed";
  EXPECT_TRUE(found);
}

TEST_F(CommandsTest, SearchRunsOnTheItemsFolderAndRebuildsWhenChanged) {
  TFolder* searched = nullptr;
  MainDialogs.SearchPasteItems = [&](TFolder* folder, const std::function<void()>& changed) {
    searched = folder;
    folder->Items[0]->Name = "Found";
    changed();
    return true;
  };
  Select("Login/Intranet");
  w->alActions->Execute(w->actEditCut);
  ASSERT_TRUE(w->alActions->Execute(w->actEditSearch));
  EXPECT_EQ(searched, RootFolder->Folders[1]);
  EXPECT_EQ(Children(Node("Login")), QStringList({"Hosts", "Empty", "Found", "Server"}));
  EXPECT_FALSE(w->NodeClipboard.Pending());
  EXPECT_EQ(StoredOutline(), Outline(*RootFolder));
}

TEST_F(CommandsTest, ImportPlacesTheFolderAfterTheRootFoldersExpandedAndSelected) {
  TempDir dir;
  const std::string file = dir.File("in.VLE");
  {
    struct : IImpExpProgress {
      void ShowProgress(const std::string&, const std::string&, int) override {}
      void AddDetail(const std::string&, bool) override {}
    } quiet;
    TFolder source;
    auto* item = new TPasteItem;
    item->Name = "From file";
    item->Value = "x";
    source.Items.Add(item);
    WriteExportFile(file, source, "1.0.0", quiet);
  }
  MainCommands.ChooseImportFile = [&](QWidget*) { return file; };
  CloseImportWhenDone();
  ASSERT_TRUE(w->alActions->Execute(w->actFileImport));
  const QStringList top = Children(Node(""));
  ASSERT_EQ(top.size(), 5);
  EXPECT_EQ(top.last(), "Note");
  QTreeWidgetItem* imported = Node("")->child(3);
  EXPECT_EQ(w->tvItems->currentItem(), imported);
  EXPECT_TRUE(imported->isExpanded());
  EXPECT_EQ(Children(imported), QStringList({"From file"}));
  EXPECT_EQ(StoredOutline(), Outline(*RootFolder));

  // The checks end the command with their warning and change nothing.
  MainCommands.ChooseImportFile = [&](QWidget*) { return dir.File("missing.vle"); };
  EXPECT_THROW(w->alActions->Execute(w->actFileImport), ESLException);
  MainCommands.ChooseExportFile = [&](QWidget*) { return dir.File("out.txt"); };
  EXPECT_THROW(w->alActions->Execute(w->actFileExport), ESLException);
  EXPECT_EQ(Children(Node("")).size(), 5);
}

TEST_F(CommandsTest, ViewTogglesAndTheirMarks) {
  QSplitterHandle* handle = w->sSplitter->handle(1);
  ASSERT_TRUE(Enabled(w->actViewPreview));
  EXPECT_TRUE(w->actViewPreview->isChecked());
  w->alActions->Execute(w->actViewPreview);
  EXPECT_TRUE(w->pRight->isHidden());
  EXPECT_TRUE(handle->isHidden());
  w->alActions->Update();
  EXPECT_FALSE(w->actViewPreview->isChecked());
  w->cmdClosePreview->click();  // the same toggle
  EXPECT_FALSE(w->pRight->isHidden());
  EXPECT_FALSE(handle->isHidden());

  for (auto [action, bar] : {std::pair<QAction*, QWidget*>{w->actViewToolbar, w->tbMain},
                             {w->actViewStatusBar, w->sbMain}}) {
    w->alActions->Execute(action);
    w->alActions->Update();
    EXPECT_TRUE(bar->isHidden());
    EXPECT_FALSE(action->isChecked());
    w->alActions->Execute(action);
    w->alActions->Update();
    EXPECT_FALSE(bar->isHidden());
    EXPECT_TRUE(action->isChecked());
  }

  for (int round = 0; round < 2; ++round) {
    w->alActions->Execute(w->actViewOnTop);
    w->alActions->Update();
    const bool onTop = round == 0;
    EXPECT_EQ(w->IsOnTop(), onTop);
    EXPECT_EQ(w->actViewOnTop->isChecked(), onTop);
    EXPECT_EQ(TSLActionList::ImageIndex(w->actViewOnTop), onTop ? 7 : 6);
    EXPECT_TRUE(w->isVisible());
  }
}

TEST_F(CommandsTest, MenusAndToolbarShowTheActionsInOrder) {
  auto names = [](QWidget* widget) {
    QStringList list;
    for (QAction* a : widget->actions()) list << (a->isSeparator() ? "|" : a->objectName());
    return list.join(' ');
  };
  EXPECT_EQ(names(w->actItem->menu()),
            "actItemNewFolder | actItemAdd actItemModify | actItemRename actItemRemove | "
            "actItemMoveUp actItemMoveDown | actItemCopyTo actItemMoveTo | actItemPasteLast");
  EXPECT_EQ(names(w->tbMain),
            "actItemNewFolder | actItemAdd actItemModify | actItemRemove | actEditCut actEditCopy "
            "actEditPaste | actEditSearch | actItemMoveUp actItemMoveDown | actViewOnTop | "
            "actHelpContents");
  EXPECT_EQ(names(w->popPreview), "actEditCopy | actEditSelectAll");
  EXPECT_EQ(names(w->mnuMain), "actFile actEdit actView actItem actHelp");
  EXPECT_EQ(w->actItemNewFolder->shortcut(), QKeySequence("Ctrl+Shift+N"));
  EXPECT_EQ(w->actItemRemove->statusTip(), "Remove selected folder or item");
  // The hint of whatever is under the mouse goes to panel 0.
  QStatusTipEvent tip("Create a new folder");
  QApplication::sendEvent(w, &tip);
  EXPECT_EQ(w->sbHint->text(), "Create a new folder");
  EXPECT_EQ(w->sbHint->width(), 300);
}

}  // namespace

// Saving, the file dialog refuses a path in a folder that does not exist: it
// says so and stays open; a path in an existing folder is taken.
TEST(ExportFileDialog, RefusesAFolderThatDoesNotExist) {
  TempDir dir;
  QString warning;
  bool stayedOpen = false;
  WhenModal([&](QWidget* dialog) {
    auto* name = dialog->findChild<QLineEdit*>("fileNameEdit");
    ASSERT_NE(name, nullptr);
    name->setText(QString::fromStdString(dir.File("no/such/out.vle")));
    WhenModal([&](QWidget* message) {
      warning = DialogText(message);
      Press(message, "&OK");
    });
    QTest::keyClick(name, Qt::Key_Return);
    stayedOpen = dialog->isVisible();
    name->setText(QString::fromStdString(dir.File("out.vle")));
    QTest::keyClick(name, Qt::Key_Return);
  });
  EXPECT_EQ(TMainCommands().ChooseExportFile(nullptr), dir.File("out.vle"));
  EXPECT_TRUE(stayedOpen);
  EXPECT_TRUE(warning.contains("The folder '" + QString::fromStdString(dir.File("no/such")) +
                               "' does not exist."))
      << warning.toStdString();
}
