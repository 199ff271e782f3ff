#pragma once
// TTrackingDlg: edits one tracking rule; the rule takes the choices only on OK.
#include <memory>

#include "framework/SLDialogKeys.h"

namespace Ui {
class TTrackingDlg;
}
class QAction;
class TSLActionList;
class TSLTrackingRule;

class TTrackingDlg : public TSLDialog {
  Q_OBJECT

 public:
  explicit TTrackingDlg(QWidget* parent = nullptr);
  ~TTrackingDlg() override;

  std::unique_ptr<Ui::TTrackingDlg> ui;
  TSLActionList* alActions;
  QAction* actOK;
  QAction* actCancel;

 protected:
  void done(int result) override;
};

bool AddTrackingRuleDlg(QWidget* owner, TSLTrackingRule& rule);
bool EditTrackingRuleDlg(QWidget* owner, TSLTrackingRule& rule);
