// The tree and the preview: building, selection, renaming in place, the key
// table, double click, drag and drop and the font.
#include <QClipboard>
#include <QLineEdit>
#include <QPlainTextEdit>

#include "MainWindowFixture.h"
#include "framework/SLText.h"

namespace {

// Login gets two sub-folders ("Hosts" with a folder and an item, and
// "Empty"); the root gets an item of its own.
void Nested(TFolder& root) {
  TFolder* login = root.Folders[1];
  auto* hosts = new TFolder;
  hosts->Name = "Hosts";
  auto* deep = new TFolder;
  deep->Name = "Deep";
  hosts->Folders.Add(deep);
  auto* h1 = new TPasteItem;
  h1->Name = "h1";
  h1->Value = "host one";
  hosts->Items.Add(h1);
  login->Folders.Add(hosts);
  auto* empty = new TFolder;
  empty->Name = "Empty";
  login->Folders.Add(empty);
  auto* note = new TPasteItem;
  note->Name = "Note";
  note->Value = "line 1\r\nline 2";
  root.Items.Add(note);
}

class TreeTest : public MainWindowFixture {
 protected:
  void SetUp() override { Start(Nested); }
  QLineEdit* Editor() { return OpenEditor(w->tvItems); }
};

TEST_F(TreeTest, BuiltExpandedWithRootSelectedFoldersBeforeItems) {
  EXPECT_EQ(w->RootNode()->text(0), "Paste Items");
  EXPECT_EQ(TItemsTree::NodeImage(w->RootNode()), niRoot);
  EXPECT_EQ(TItemsTree::NodeObject(w->RootNode()), RootFolder);
  EXPECT_EQ(w->tvItems->currentItem(), w->RootNode());
  EXPECT_EQ(TreeOutline(w->RootNode()), Outline(*RootFolder));
  EXPECT_EQ(Children(Node("Login")), QStringList({"Hosts", "Empty", "Intranet", "Server"}));
  for (QTreeWidgetItemIterator it(w->tvItems); *it != nullptr; ++it)
    EXPECT_TRUE((*it)->childCount() == 0 || (*it)->isExpanded()) << (*it)->text(0).toStdString();
  EXPECT_EQ(w->txtPreview->toPlainText(), "<No item selected>");
  EXPECT_FALSE(w->txtPreview->isEnabled());
}

TEST_F(TreeTest, PreviewFollowsTheSelection) {
  Select("Note");
  EXPECT_EQ(w->txtPreview->toPlainText(), "line 1\nline 2");
  EXPECT_TRUE(w->txtPreview->isEnabled());
  Select("Login");
  EXPECT_EQ(w->txtPreview->toPlainText(), "<No item selected>");
  EXPECT_FALSE(w->txtPreview->isEnabled());
}

TEST_F(TreeTest, FontAppliesToTreeAndPreviewOnly) {
  VLMNOptions->FontName = "DejaVu Serif";
  VLMNOptions->FontSize = 13;
  w->ApplyFont();
  for (QWidget* control :
       {static_cast<QWidget*>(w->tvItems), static_cast<QWidget*>(w->txtPreview)}) {
    EXPECT_EQ(control->font().family(), "DejaVu Serif");
    EXPECT_EQ(control->font().pointSize(), 13);
  }
  EXPECT_NE(w->sbMain->font().pointSize(), 13);
  EXPECT_NE(w->mnuMain->font().pointSize(), 13);
}

TEST_F(TreeTest, RenameRefusedOnRootAndAcceptedNamesAreCutTo100Characters) {
  ShowWithTreeFocus();
  Select("");
  w->alActions->Execute(w->actItemRename);
  EXPECT_EQ(Editor(), nullptr);

  struct Case {
    std::string typed, stored;
  } cases[] = {
      {std::string(150, 'a'), std::string(100, 'a')},
      // Two-byte characters: 100 of them, never half of one.
      {[] {
         std::string s;
         for (int i = 0; i < 150; ++i) s += "\xc3\xa9";
         return s;
       }(),
       [] {
         std::string s;
         for (int i = 0; i < 100; ++i) s += "\xc3\xa9";
         return s;
       }()},
      {"   ", "   "},  // blanks are a name
  };
  for (const Case& c : cases) {
    Select("Login/Intranet");
    w->alActions->Execute(w->actItemRename);
    ASSERT_NE(Editor(), nullptr);
    Editor()->setText(QString::fromUtf8(c.typed.c_str()));
    QTest::keyClick(Editor(), Qt::Key_Return);
    QApplication::processEvents();  // the editor commits from the queue
    QTreeWidgetItem* node = w->tvItems->currentItem();
    EXPECT_EQ(node->text(0).toStdString(), c.stored);
    EXPECT_EQ(RootFolder->Folders[1]->Items[0]->Name, c.stored);
    EXPECT_NE(StoredOutline().find(c.stored + "\n"), std::string::npos);
    node->setText(0, "Intranet");
    RootFolder->Folders[1]->Items[0]->Name = "Intranet";
  }
}

TEST_F(TreeTest, EmptyNameWarnsKeepsTheOldNameAndReopensTheEditor) {
  ShowWithTreeFocus();
  struct Case {
    QString path, message;
  } cases[] = {{"Login/Server", "You must type a valid item name."},
               {"Login/Hosts", "You must type a valid folder name."}};
  for (const Case& c : cases) {
    const QString old = Node(c.path)->text(0);
    Select(c.path);
    const std::string before = StoredOutline();
    w->alActions->Execute(w->actItemRename);
    ASSERT_NE(Editor(), nullptr);
    Editor()->clear();
    QString shown;
    WhenModal([&](QWidget* dialog) {
      shown = DialogText(dialog);
      QTest::keyClick(dialog, Qt::Key_Escape);
    });
    QTest::keyClick(Editor(), Qt::Key_Return);
    QTRY_VERIFY(!shown.isEmpty());
    EXPECT_TRUE(shown.contains(c.message)) << shown.toStdString();
    QTRY_VERIFY(Editor() != nullptr);
    EXPECT_EQ(w->tvItems->currentItem()->text(0), old);
    EXPECT_EQ(StoredOutline(), before);
    QTest::keyClick(Editor(), Qt::Key_Escape);
    QTRY_VERIFY(Editor() == nullptr);
  }
}

TEST_F(TreeTest, KeysInTheEditorStayInTheEditor) {
  ShowWithTreeFocus();
  int itemEditorOpened = 0, questions = 0;
  MainDialogs.EditPasteItem = [&](std::string&, std::string&) { return ++itemEditorOpened, false; };
  Select("Login/Intranet");
  w->alActions->Execute(w->actItemRename);
  QLineEdit* editor = Editor();
  ASSERT_NE(editor, nullptr);
  editor->setCursorPosition(0);
  WhenModal([&](QWidget* dialog) {
    ++questions;
    dialog->close();
  });
  QTest::keyClick(editor, Qt::Key_Delete);  // one character goes, nothing is removed
  QTest::keyClick(editor, Qt::Key_Space);   // a blank, not the item editor
  QApplication::processEvents();
  EXPECT_EQ(editor->text(), " ntranet");
  EXPECT_EQ(itemEditorOpened, 0);
  EXPECT_EQ(questions, 0);
  // Ctrl+C copies the editor's selection; the node clipboard stays as it was.
  editor->setSelection(1, 4);
  QTest::keyClick(editor, Qt::Key_C, Qt::ControlModifier);
  EXPECT_EQ(QApplication::clipboard()->text(), "ntra");
  EXPECT_FALSE(w->NodeClipboard.Pending());
  // Remove while the editor is open deletes in the editor.
  editor->setCursorPosition(0);
  w->alActions->Execute(w->actItemRemove);
  EXPECT_EQ(editor->text(), "ntranet");
  EXPECT_EQ(RootFolder->Folders[1]->Items.Count(), 2);
  QTest::keyClick(editor, Qt::Key_Escape);
  QApplication::processEvents();
  QApplication::processEvents();  // the pending question timer, if any
  EXPECT_EQ(questions, 0);
}

TEST_F(TreeTest, KeyTableInTheTree) {
  ShowWithTreeFocus();
  int itemEditorOpened = 0, questions = 0;
  MainDialogs.EditPasteItem = [&](std::string&, std::string&) { return ++itemEditorOpened, false; };
  Select("Login");
  QTest::keyClick(w->tvItems, Qt::Key_Space);
  EXPECT_EQ(itemEditorOpened, 0);
  Select("Login/Server");
  QTest::keyClick(w->tvItems, Qt::Key_Space);
  EXPECT_EQ(itemEditorOpened, 1);
  // One Delete press asks one question.
  WhenModal([&](QWidget* dialog) {
    ++questions;
    Press(dialog, "&No");
  });
  QTest::keyClick(w->tvItems, Qt::Key_Delete);
  QApplication::processEvents();
  EXPECT_EQ(questions, 1);
  EXPECT_EQ(RootFolder->Folders[1]->Items.Count(), 2);
  // Esc cancels a pending cut (made with the command's shortcut).
  w->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(w));
  w->tvItems->setFocus();
  QTest::keyClick(w->tvItems, Qt::Key_X, Qt::ControlModifier);
  EXPECT_TRUE(TItemsTree::IsCutMarked(Node("Login/Server")));
  QTest::keyClick(w->tvItems, Qt::Key_Escape);
  EXPECT_FALSE(TItemsTree::IsCutMarked(Node("Login/Server")));
  EXPECT_FALSE(w->NodeClipboard.Pending());
  Select("Login");
  EXPECT_FALSE(Enabled(w->actEditPaste));
}

TEST_F(TreeTest, MoveWhileRenamingKeepsTheTypedName) {
  ShowWithTreeFocus();
  Select("Login/Server");
  w->alActions->Execute(w->actItemRename);
  ASSERT_NE(Editor(), nullptr);
  Editor()->setText("Renamed");
  // From the context menu: the editor keeps the focus while the menu is up.
  w->popItems->popup(w->tvItems->mapToGlobal(QPoint(20, 20)));
  ASSERT_TRUE(QTest::qWaitForWindowExposed(w->popItems));
  QTest::mouseClick(w->popItems, Qt::LeftButton, {},
                    w->popItems->actionGeometry(w->actItemMoveUp).center());
  QTRY_VERIFY(!w->popItems->isVisible());
  QApplication::processEvents();
  EXPECT_EQ(Editor(), nullptr);
  EXPECT_EQ(Children(Node("Login")), QStringList({"Hosts", "Empty", "Renamed", "Intranet"}));
  EXPECT_EQ(RootFolder->Folders[1]->Items[0]->Name, "Renamed");
  EXPECT_NE(StoredOutline().find("Renamed\n"), std::string::npos);
}

// Space runs Modify on the node it was pressed on, nothing else: the view's
// keyboard search would first jump to the next name that starts with a blank.
TEST_F(TreeTest, SpaceOnlyModifiesTheSelectedItem) {
  ShowWithTreeFocus();
  Node("Login/Server")->setText(0, " Server");
  RootFolder->Folders[1]->Items[1]->Name = " Server";
  std::vector<std::string> edited;
  MainDialogs.EditPasteItem = [&](std::string& name, std::string&) {
    edited.push_back(name);
    return false;
  };
  Select("Login/Intranet");
  QTest::keyClick(w->tvItems, Qt::Key_Space);
  EXPECT_EQ(edited, std::vector<std::string>({"Intranet"}));
  EXPECT_EQ(w->tvItems->currentItem(), Node("Login/Intranet"));
}

// A slow second click on the selected node starts a rename after the
// double-click interval; a command in between (Ctrl+M) cancels it, whether
// its dialog is still up when the interval ends or already closed.
TEST_F(TreeTest, SlowSecondClickRenamesUnlessACommandFollows) {
  ShowWithTreeFocus();
  const int interval = QApplication::doubleClickInterval();
  auto clickSelected = [&] {
    const QPoint at = w->tvItems->visualItemRect(Node("Login/Server")).center();
    QTest::mouseClick(w->tvItems->viewport(), Qt::LeftButton, {}, at, interval + 100);
  };
  Select("Login/Server");
  clickSelected();
  QTRY_VERIFY_WITH_TIMEOUT(Editor() != nullptr, interval + 2000);
  QTest::keyClick(Editor(), Qt::Key_Escape);
  QTRY_VERIFY(Editor() == nullptr);

  for (const bool waitInDialog : {true, false}) {
    SCOPED_TRACE(waitInDialog);
    bool editorBehindDialog = false;
    MainDialogs.EditPasteItem = [&](std::string&, std::string&) {
      if (waitInDialog) QTest::qWait(interval + 300);
      editorBehindDialog = Editor() != nullptr;
      return false;
    };
    w->tvItems->setFocus();
    clickSelected();
    QTest::keyClick(w->tvItems, Qt::Key_M, Qt::ControlModifier);
    QTest::qWait(interval + 300);
    EXPECT_FALSE(editorBehindDialog);
    EXPECT_EQ(Editor(), nullptr);
  }
}

// The highlighted node is the one the commands act on: a click in the empty
// part of the view or Ctrl+click leaves the highlight on the current node.
TEST_F(TreeTest, TheHighlightStaysOnTheNodeCommandsActOn) {
  ShowWithTreeFocus();
  w->tvItems->collapseItem(Node("Login"));
  Select("Passwords");
  const QPoint empty(10, w->tvItems->viewport()->height() - 5);
  ASSERT_EQ(w->tvItems->itemAt(empty), nullptr);
  QTest::mouseClick(w->tvItems->viewport(), Qt::LeftButton, {}, empty);
  EXPECT_EQ(w->tvItems->selectedItems(), QList<QTreeWidgetItem*>({w->tvItems->currentItem()}));
  const QPoint node = w->tvItems->visualItemRect(w->tvItems->currentItem()).center();
  QTest::mouseClick(w->tvItems->viewport(), Qt::LeftButton, Qt::ControlModifier, node, 1000);
  EXPECT_EQ(w->tvItems->selectedItems(), QList<QTreeWidgetItem*>({w->tvItems->currentItem()}));
  // Ctrl+Down moves the current node without selecting it in a plain view.
  QTest::keyClick(w->tvItems, Qt::Key_Down, Qt::ControlModifier);
  EXPECT_EQ(w->tvItems->selectedItems(), QList<QTreeWidgetItem*>({w->tvItems->currentItem()}));
}

TEST_F(TreeTest, DoubleClickOpensTheItemEditorOnItemsOnly) {
  int opened = 0;
  MainDialogs.EditPasteItem = [&](std::string&, std::string&) { return ++opened, false; };
  Select("Login");
  w->tvItemsDblClick();
  EXPECT_EQ(opened, 0);
  Select("Login/Server");
  w->tvItemsDblClick();
  EXPECT_EQ(opened, 1);
}

TEST_F(TreeTest, DropRefusals) {
  struct Case {
    QString dragged, target;
    bool fromTree, accepted;
  } cases[] = {
      {"Login/Intranet", "Login/Server", true, false},  // onto an item
      {"Login/Intranet", "Passwords", true, true},
      {"Login/Intranet", "Passwords", false, false},     // not from the tree
      {"Login/Hosts", "Login/Hosts", true, false},       // onto itself
      {"Login/Hosts", "Login/Hosts/Deep", true, false},  // into its own sub-tree
      {"Login/Hosts", "", true, true},
      {"", "Login", true, false},  // the root never moves
  };
  for (const Case& c : cases) {
    Select(c.dragged);
    EXPECT_EQ(w->tvItemsDragOver(Node(c.target), c.fromTree), c.accepted)
        << c.dragged.toStdString() << " -> " << c.target.toStdString();
  }
  Select("Login/Intranet");
  EXPECT_FALSE(w->tvItemsDragOver(nullptr, true));
}

TEST_F(TreeTest, DropMovesItemLastAndFolderFirst) {
  ShowWithTreeFocus();
  Select("Login/Intranet");
  w->tvItemsDragDrop(Node("Passwords"));
  EXPECT_EQ(Children(Node("Passwords")), QStringList({"Intranet", "Server", "Intranet"}));
  EXPECT_EQ(Children(Node("Login")), QStringList({"Hosts", "Empty", "Server"}));
  EXPECT_EQ(w->tvItems->currentItem(), Node("Passwords")->child(2));

  Select("Login/Hosts");
  w->tvItemsDragDrop(Node(""));  // its parent's parent
  EXPECT_EQ(Children(Node("")),
            QStringList({"Hosts", "E-mail signatures", "Login", "Passwords", "Note"}));
  EXPECT_EQ(Children(Node("Hosts")), QStringList({"Deep", "h1"}));
  EXPECT_EQ(TreeOutline(w->RootNode()), Outline(*RootFolder));
  EXPECT_EQ(StoredOutline(), Outline(*RootFolder));
  EXPECT_FALSE(w->NodeClipboard.Pending());
}

}  // namespace
