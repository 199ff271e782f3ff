#pragma once
// The dialogs that the main window's commands open, as entry points the
// dialogs fill in (and tests replace). A command whose dialog is not set
// does nothing.
#include <functional>
#include <string>

class QTreeWidgetItem;
class TFolder;

struct TMainDialogs {
  // AddPasteItemDlg: true with the new item's name and value when confirmed.
  std::function<bool(std::string& name, std::string& value)> AddPasteItem;
  // EditPasteItemDlg: edits name and value in place; true when confirmed.
  std::function<bool(std::string& name, std::string& value)> EditPasteItem;
  // CopyFolderToDlg, MoveFolderToDlg, CopyItemToDlg, MoveItemToDlg: the
  // target node chosen in the tree, or nullptr when cancelled.
  std::function<QTreeWidgetItem*(QTreeWidgetItem*node)> CopyFolderTo, MoveFolderTo, CopyItemTo,
      MoveItemTo;
  // SearchPasteItems: searches below the folder; true when it changed the
  // library. The dialog calls `changed` right after each change it makes (an
  // item it removes is freed at once), while it is still open.
  std::function<bool(TFolder* folder, const std::function<void()>& changed)> SearchPasteItems;
  // ShowPreferences: opens the preferences (or brings them to the front).
  std::function<void()> ShowPreferences;
};

extern TMainDialogs MainDialogs;
