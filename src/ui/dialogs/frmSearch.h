#pragma once
// TSearchDlg: finds paste items by a text in their name, value or either,
// lists them with their folder, and lets the user modify, rename or remove
// them in place. It works on the library objects themselves and tells its
// caller at once after each change (items it removes are freed then), and at
// the end whether it changed anything.
#include <QString>
#include <functional>
#include <memory>
#include <string>

#include "framework/SLDialogKeys.h"

namespace Ui {
class TSearchDlg;
}
class QAction;
class QMenu;
class QTreeWidgetItem;
class TFolder;
class TPasteItem;
class TSLActionList;
class TSLFormStorage;

class TSearchDlg : public TSLDialog {
  Q_OBJECT

 public:
  explicit TSearchDlg(QWidget* parent = nullptr);
  ~TSearchDlg() override;

  std::unique_ptr<Ui::TSearchDlg> ui;
  TSLActionList* alActions;
  QAction *actSearch, *actClear, *actClose, *actModify, *actRename, *actRemove;
  QMenu* popItems;
  TSLFormStorage* Storage;  // "SearchStorage"; active only while SaveWindow is on

  bool Changed = false;
  // Runs right after each change of the library, before the dialog goes back
  // to the event loop: whoever refers to library objects catches up then.
  std::function<void()> OnLibraryChanged;
  TFolder* CurrentFolder = nullptr;
  TFolder* SearchRoot = nullptr;  // where the last search started; none before
  int SortColumn = 0;             // 0 Name, 1 Value, 2 Folder
  bool SortAscending = true;
  QString OldName;
  bool Editing = false;  // a name is being edited in place

  void SetStatus(const QString& text);
  // The item a result row refers to.
  static TPasteItem* RowItem(const QTreeWidgetItem* row);
  // Called by the list's name editor.
  void lvItemsEditing(QTreeWidgetItem* row);
  void lvItemsEdited(QTreeWidgetItem* row, const QString& text);
  void lvItemsEditorClosed();

 protected:
  void resizeEvent(QResizeEvent* event) override;
  void keyReleaseEvent(QKeyEvent* event) override;  // FormKeyUp
  bool eventFilter(QObject* watched, QEvent* event) override;
  void done(int result) override;

 private:
  void alActionsUpdate();
  void actSearchExecute();
  void actClearExecute();
  void actModifyExecute();
  void actRenameExecute();
  void actRemoveExecute();
  void pTopResize();
  void SortRows();
  void lvItemsColumnClick(int column);
  QTreeWidgetItem* FirstSelected() const;
  void SetUpStorage();
  void LibraryEdited();
};

// Opens the search over `folder` (the folder current in the main tree);
// true when the user changed the library from the dialog. `changed` runs
// after each change, while the dialog is still open.
bool SearchPasteItems(TFolder* folder, std::function<void()> changed = {});
