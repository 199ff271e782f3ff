#pragma once
// TPastingDlg: edits one pasting rule: the window it applies to and the paste
// method, standard or a key combination. The key combination is chosen in
// the keys dialog on a working list that lives as long as this dialog; the
// rule takes everything only on OK.
#include <memory>
#include <string>
#include <vector>

#include "framework/SLDialogKeys.h"

namespace Ui {
class TPastingDlg;
}
class QAction;
class TSLActionList;
class TSLPastingRule;

class TPastingDlg : public TSLDialog {
  Q_OBJECT

 public:
  explicit TPastingDlg(QWidget* parent = nullptr);
  ~TPastingDlg() override;

  std::unique_ptr<Ui::TPastingDlg> ui;
  TSLActionList* alActions;
  QAction* actOK;
  QAction* actCancel;
  std::vector<std::string> Keys;  // the working key list

  void txtKeyCombinationButtonClick();

 protected:
  void done(int result) override;
};

bool AddPastingRuleDlg(QWidget* owner, TSLPastingRule& rule);
bool EditPastingRuleDlg(QWidget* owner, TSLPastingRule& rule);
