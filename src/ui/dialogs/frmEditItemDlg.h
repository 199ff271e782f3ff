#pragma once
// TEditItemDlg: the modal editor of a paste item's name and contents. It only
// collects the two texts; the caller changes the library. It refuses typed
// ";" and "$", which the export file uses as markers.
#include <memory>
#include <string>

#include "framework/SLDialogKeys.h"

namespace Ui {
class TEditItemDlg;
}
class QAction;
class TSLActionList;
class TSLFormStorage;

class TEditItemDlg : public TSLDialog {
  Q_OBJECT

 public:
  explicit TEditItemDlg(QWidget* parent = nullptr);
  ~TEditItemDlg() override;

  std::unique_ptr<Ui::TEditItemDlg> ui;
  TSLActionList* alActions;
  QAction* actOK;
  QAction* actCancel;
  TSLFormStorage* Storage;  // "EditItemDlgStorage"; active only while SaveWindow is on

 protected:
  void resizeEvent(QResizeEvent* event) override;  // FormResize
  void done(int result) override;

 private:
  void alActionsUpdate();
};

// Opens the editor empty; true with the typed name and contents on OK.
bool AddPasteItemDlg(std::string& name, std::string& value);
// Opens the editor on name and value; on OK writes them back and returns true,
// otherwise leaves both untouched.
bool EditPasteItemDlg(std::string& name, std::string& value);
