#pragma once
// TCopyToDlg: picks the target folder of the main window's Copy To and Move
// To commands. It shows the folders of the main tree as the tree shows them,
// without items and without the node being copied or moved (nor anything
// below it), and returns the main-tree node of the chosen folder.
#include <memory>

#include "framework/SLDialogKeys.h"

namespace Ui {
class TCopyToDlg;
}
class QAction;
class QTreeWidget;
class QTreeWidgetItem;
class TSLActionList;

class TCopyToDlg : public TSLDialog {
  Q_OBJECT

 public:
  explicit TCopyToDlg(QWidget* parent = nullptr);
  ~TCopyToDlg() override;

  // Copies the main tree's folders (see above) into tvFolders, selects the
  // top node, expands it one level and gives it the focus.
  void FillFolderTree(QTreeWidget* source);
  // The main-tree node that the selected node copies, or nullptr.
  QTreeWidgetItem* SelectedSource() const;

  std::unique_ptr<Ui::TCopyToDlg> ui;
  TSLActionList* alActions;
  QAction* actOK;
  QAction* actCancel;

 protected:
  void done(int result) override;
};

// Each opens the chooser over the main tree view `tree`; the chosen main-tree
// node on OK, nullptr on Cancel, Esc or the close box.
QTreeWidgetItem* CopyFolderToDlg(QTreeWidget* tree);
QTreeWidgetItem* MoveFolderToDlg(QTreeWidget* tree);
QTreeWidgetItem* CopyItemToDlg(QTreeWidget* tree);
QTreeWidgetItem* MoveItemToDlg(QTreeWidget* tree);
