// The folder chooser: which main-tree nodes it offers per mode, what it
// returns, and that every way out but OK returns none.
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>

#include <QFile>
#include <QRegularExpression>

#include "DialogTest.h"
#include "framework/SLDialogKeys.h"
#include "ui/dialogs/frmCopyToDlg.h"
#include "ui/main/ItemsTree.h"

namespace {

QTreeWidgetItem* AddNode(QTreeWidgetItem* parent, const char* text, int image) {
  auto* node = new QTreeWidgetItem(parent, QStringList{QString::fromLatin1(text)});
  TItemsTree::SetNodeData(node, nullptr, image);
  return node;
}

// "Root" > "Mail" (item "sig", folder "Work" > folder "Old"), "Logins" (item "srv").
struct MainTree {
  TItemsTree tree;
  QTreeWidgetItem *root, *mail, *sig, *work, *old, *logins;
  MainTree() {
    root = new QTreeWidgetItem(QStringList{"Root"});
    TItemsTree::SetNodeData(root, nullptr, niRoot);
    tree.addTopLevelItem(root);
    mail = AddNode(root, "Mail", niFolder);
    sig = AddNode(mail, "sig", niItem);
    work = AddNode(mail, "Work", niFolder);
    old = AddNode(work, "Old", niFolder);
    logins = AddNode(root, "Logins", niFolder);
    AddNode(logins, "srv", niItem);
  }
};

// The chooser's tree, depth first, one "indent+text" per node.
QStringList Offered(QWidget* dialog) {
  QStringList out;
  std::function<void(QTreeWidgetItem*, int)> walk = [&](QTreeWidgetItem* n, int depth) {
    out << QString(depth, QLatin1Char('.')) + n->text(0);
    for (int i = 0; i < n->childCount(); ++i) walk(n->child(i), depth + 1);
  };
  auto* tv = Find<QTreeWidget>(dialog, "tvFolders");
  for (int i = 0; i < tv->topLevelItemCount(); ++i) walk(tv->topLevelItem(i), 0);
  return out;
}

TEST(CopyToDlg, OfferedFoldersPerMode) {
  MainTree m;
  struct Case {
    QTreeWidgetItem* selected;
    QTreeWidgetItem* (*entry)(QTreeWidget*);
    QString caption, description;
    QStringList offered;
  } cases[] = {
      {m.mail,
       MoveFolderToDlg,
       "Move to Folder...",
       "Move the &selected folder to:",
       {"Root", ".Logins"}},
      {m.work,
       CopyFolderToDlg,
       "Copy to Folder...",
       "Copy the &selected folder to:",
       {"Root", ".Mail", ".Logins"}},
      {m.sig,
       CopyItemToDlg,
       "Copy to Folder...",
       "Copy the &selected item to:",
       {"Root", ".Mail", "..Work", "...Old", ".Logins"}},
      {m.sig,
       MoveItemToDlg,
       "Move to Folder...",
       "Move the &selected item to:",
       {"Root", ".Mail", "..Work", "...Old", ".Logins"}},
  };
  for (const Case& c : cases) {
    m.tree.setCurrentItem(c.selected);
    QStringList offered;
    QString caption, description;
    bool topSelectedAndExpanded = false;
    WhenModal([&](QWidget* d) {
      offered = Offered(d);
      caption = d->windowTitle();
      description = Find<QLabel>(d, "lblDescription")->text();
      auto* tv = Find<QTreeWidget>(d, "tvFolders");
      QTreeWidgetItem* top = tv->topLevelItem(0);
      topSelectedAndExpanded = tv->currentItem() == top && top->isExpanded() &&
                               (top->childCount() == 0 || !top->child(0)->isExpanded());
      Find<QPushButton>(d, "cmdCancel")->click();
    });
    EXPECT_EQ(c.entry(&m.tree), nullptr);
    EXPECT_EQ(offered, c.offered) << c.selected->text(0).toStdString();
    EXPECT_EQ(caption, c.caption);
    EXPECT_EQ(description, c.description);
    EXPECT_TRUE(topSelectedAndExpanded);
  }
}

TEST(CopyToDlg, ReturnsTheMainTreeNodeOfTheChoice) {
  MainTree m;
  m.tree.setCurrentItem(m.sig);
  WhenModal([](QWidget* d) {
    auto* tv = Find<QTreeWidget>(d, "tvFolders");
    tv->setCurrentItem(tv->topLevelItem(0)->child(0));  // its own folder
    Find<QPushButton>(d, "cmdOK")->click();
  });
  EXPECT_EQ(MoveItemToDlg(&m.tree), m.mail);
}

TEST(CopyToDlg, RootAloneIsOfferedAndReturned) {
  TItemsTree tree;
  auto* root = new QTreeWidgetItem(QStringList{"Root"});
  TItemsTree::SetNodeData(root, nullptr, niRoot);
  tree.addTopLevelItem(root);
  tree.setCurrentItem(root);
  QStringList offered;
  WhenModal([&](QWidget* d) {
    offered = Offered(d);
    QTest::keyClick(Find(d, "tvFolders"), Qt::Key_Return);  // the default button
  });
  EXPECT_EQ(CopyItemToDlg(&tree), root);
  EXPECT_EQ(offered, QStringList{"Root"});
}

TEST(CopyToDlg, EscAndCloseBoxReturnNone) {
  MainTree m;
  m.tree.setCurrentItem(m.sig);
  WhenModal([](QWidget* d) { QTest::keyClick(Find(d, "tvFolders"), Qt::Key_Escape); });
  EXPECT_EQ(CopyItemToDlg(&m.tree), nullptr);
  WhenModal([](QWidget* d) { d->close(); });
  EXPECT_EQ(CopyItemToDlg(&m.tree), nullptr);
}

// F1 in each chooser opens the page about what it does: copy folder 1000,
// move folder 1100, copy item 1200, move item 1300.
TEST(CopyToDlg, HelpContextOpensThePageAboutTheCommand) {
  struct Case {
    QTreeWidgetItem* (*run)(QTreeWidget*);
    bool folder;
    int context;
    const char* heading;
  };
  const Case cases[] = {
      {CopyFolderToDlg, true, 1000, "Copying a folder"},
      {MoveFolderToDlg, true, 1100, "Moving a folder"},
      {CopyItemToDlg, false, 1200, "Copying an item"},
      {MoveItemToDlg, false, 1300, "Moving an item"},
  };
  for (const Case& c : cases) {
    MainTree m;
    m.tree.setCurrentItem(c.folder ? m.old : m.sig);
    int context = -1;
    WhenModal([&](QWidget* d) {
      context = HelpContext(d);
      d->close();
    });
    c.run(&m.tree);
    EXPECT_EQ(context, c.context) << c.heading;
    QFile page(QStringLiteral(VELLUMIN_HELP_PAGES "/context-%1.html").arg(context));
    ASSERT_TRUE(page.open(QIODevice::ReadOnly)) << c.heading;
    const QString html = QString::fromUtf8(page.readAll());
    const QString heading =
        QRegularExpression(QStringLiteral("<h1>(.*)</h1>")).match(html).captured(1);
    EXPECT_EQ(heading, QString::fromLatin1(c.heading));
  }
}

}  // namespace
