#include "ui/dialogs/ProgramDialogs.h"

#include <QTreeWidgetItem>

#include "ui/dialogs/frmCopyToDlg.h"
#include "ui/dialogs/frmEditItemDlg.h"
#include "ui/dialogs/frmOptions.h"
#include "ui/dialogs/frmSearch.h"
#include "ui/main/frmMain.h"

namespace {

QTreeWidget* TreeOf(QTreeWidgetItem* node) {
  return node != nullptr ? node->treeWidget() : nullptr;
}

}  // namespace

TMainDialogs ProgramDialogs() {
  TMainDialogs dialogs;
  dialogs.AddPasteItem = AddPasteItemDlg;
  dialogs.EditPasteItem = EditPasteItemDlg;
  dialogs.CopyFolderTo = [](QTreeWidgetItem* node) { return CopyFolderToDlg(TreeOf(node)); };
  dialogs.MoveFolderTo = [](QTreeWidgetItem* node) { return MoveFolderToDlg(TreeOf(node)); };
  dialogs.CopyItemTo = [](QTreeWidgetItem* node) { return CopyItemToDlg(TreeOf(node)); };
  dialogs.MoveItemTo = [](QTreeWidgetItem* node) { return MoveItemToDlg(TreeOf(node)); };
  dialogs.SearchPasteItems = [](TFolder* folder, const std::function<void()>& changed) {
    return ::SearchPasteItems(folder, changed);
  };
  dialogs.ShowPreferences = [] { ::ShowPreferences(); };
  PreferencesApplyFont() = [] {
    if (VLMNMain != nullptr) VLMNMain->ApplyFont();
  };
  return dialogs;
}
