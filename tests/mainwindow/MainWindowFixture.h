#pragma once
// A main window over a fresh registry, with the descriptor, the options and a
// library made as start-up makes them.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QStatusBar>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidget>
#include <functional>
#include <string>

#include "TestSupport.h"
#include "app/SLApplication.h"
#include "app/Startup.h"
#include "framework/SLExceptions.h"
#include "library/SLRegistry.h"
#include "library/clsLibrary.h"
#include "rules/clsOptions.h"
#include "ui/main/MainCommands.h"
#include "ui/main/MainDialogs.h"
#include "ui/main/SLVCLUtils.h"
#include "ui/main/frmMain.h"

inline void PrintTo(const QString& s, std::ostream* os) {
  *os << '"' << s.toStdString() << '"';
}

// Runs `act` with the modal dialog once one is on screen.
inline void WhenModal(std::function<void(QWidget*)> act) {
  auto* timer = new QTimer(qApp);
  timer->setObjectName("WhenModal");
  timer->setInterval(5);
  QObject::connect(timer, &QTimer::timeout, [timer, act] {
    QWidget* dialog = QApplication::activeModalWidget();
    if (dialog == nullptr || !dialog->isVisible()) return;
    timer->stop();
    timer->deleteLater();
    act(dialog);
  });
  timer->start();
}

// All label texts of a dialog, joined.
inline QString DialogText(QWidget* dialog) {
  QString text;
  for (QLabel* label : dialog->findChildren<QLabel*>()) text += label->text() + "\n";
  return text;
}

// Presses the dialog's visible button whose caption is `caption`.
inline void Press(QWidget* dialog, const QString& caption) {
  for (QPushButton* button : dialog->findChildren<QPushButton*>())
    if (button->isVisible() && button->text() == caption) {
      button->click();
      return;
    }
  ADD_FAILURE() << "no button " << caption.toStdString();
  dialog->close();
}

class MainWindowFixture : public ::testing::Test {
 protected:
  ScopedTestRegistry registry;
  TVLMNMain* w = nullptr;
  bool trayMissing_ = false;  // set before Start: TrayAvailable is left as the test set it

  void SetUp() override { Start(); }
  void TearDown() override { Stop(); }

  // Creates the process-wide objects and the window. The library is the
  // sample library, plus what `fill` adds.
  void Start(std::function<void(TFolder&)> fill = {}, std::function<void()> options = {}) {
    SLApplication = new TSLApplication;
    SLApplication->ProductKey = kProductKey;
    SLApplication->Title = kApplicationTitle;
    SLApplication->Version = "1.0.0 Build 1";
    VLMNOptions = new TVLMNOptions;
    VLMNOptions->Load();
    VLMNOptions->ShowTips = false;
    if (options) options();
    RootFolder = new TFolder;
    if (ReadRegBool(RegHive::CurrentUser, kProductKey, "Executed", false)) {
      RootFolder->LoadFromRegistry(RegHive::CurrentUser, LibraryKey(kProductKey));
    } else {
      SeedSampleLibrary(*RootFolder);
      if (fill) fill(*RootFolder);
    }
    // The offscreen platform has no notification area; the tests that need
    // none say so.
    if (!MainCommands.TrayAvailable || !trayMissing_)
      MainCommands.TrayAvailable = [] { return true; };
    w = new TVLMNMain;
    VLMNMain = w;
  }
  void Stop() {
    // A dialog a test waited for in vain must not meet the next test.
    for (QTimer* timer : qApp->findChildren<QTimer*>("WhenModal", Qt::FindDirectChildrenOnly))
      delete timer;
    delete w;
    w = nullptr;
    MainDialogs = TMainDialogs();
    MainCommands = TMainCommands();
  }
  // Shows the window and puts the focus in the tree.
  void ShowWithTreeFocus() {
    w->ShowMainWindow(true);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(w));
    w->tvItems->setFocus();
    QApplication::processEvents();
  }

  // The node at "Folder/Sub/Item" below the root ("" is the root).
  QTreeWidgetItem* Node(const QString& path) const {
    QTreeWidgetItem* node = w->RootNode();
    if (path.isEmpty()) return node;
    for (const QString& part : path.split('/')) {
      QTreeWidgetItem* next = nullptr;
      for (int i = 0; i < node->childCount() && next == nullptr; ++i)
        if (node->child(i)->text(0) == part) next = node->child(i);
      if (next == nullptr) {
        ADD_FAILURE() << "no node " << path.toStdString();
        return nullptr;
      }
      node = next;
    }
    return node;
  }
  void Select(const QString& path) { w->tvItems->setCurrentItem(Node(path)); }
  bool Enabled(QAction* action) {
    w->alActions->Update();
    return action->isEnabled();
  }
  // Texts of a node's children.
  static QStringList Children(QTreeWidgetItem* node) {
    QStringList names;
    for (int i = 0; i < node->childCount(); ++i) names << node->child(i)->text(0);
    return names;
  }
  // The library as stored now, as "name" lines, depth first, folders marked "/".
  static std::string Outline(const TFolder& folder, const std::string& indent = "") {
    std::string s;
    for (TFolder* sub : folder.Folders)
      s += indent + sub->Name + "/\n" + Outline(*sub, indent + "  ");
    for (TPasteItem* item : folder.Items) s += indent + item->Name + "\n";
    return s;
  }
  static std::string StoredOutline() {
    TFolder stored;
    stored.LoadFromRegistry(RegHive::CurrentUser, LibraryKey(kProductKey));
    return Outline(stored);
  }
  // The tree as the same outline.
  static std::string TreeOutline(QTreeWidgetItem* node, const std::string& indent = "") {
    std::string s;
    for (int i = 0; i < node->childCount(); ++i) {
      QTreeWidgetItem* child = node->child(i);
      const bool folder = TItemsTree::NodeImage(child) == niFolder;
      s += indent + child->text(0).toStdString() + (folder ? "/" : "") + "\n";
      if (folder) s += TreeOutline(child, indent + "  ");
    }
    return s;
  }
};
