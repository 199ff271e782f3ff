#pragma once
// TOptionsDlg: the preferences. The general settings reach the options only
// by OK or Apply, which also save all options; rule additions, changes and
// removals act on the options' rule lists at once and Cancel keeps them.
#include <functional>
#include <memory>

#include "framework/SLDialogKeys.h"

namespace Ui {
class TOptionsDlg;
}
class QAction;
class QTreeWidget;
class QTreeWidgetItem;
class TSLActionList;
class TSLPastingRule;
class TSLTrackingRule;
class TVLMNOptions;

class TOptionsDlg : public TSLDialog {
  Q_OBJECT

 public:
  TOptionsDlg(TVLMNOptions& options, QWidget* parent = nullptr);
  ~TOptionsDlg() override;

  void LoadPreferences();
  void ApplyPreferences();

  std::unique_ptr<Ui::TOptionsDlg> ui;
  TSLActionList* alActions;
  QAction *actOK, *actCancel, *actApply;
  QAction *actAddTracking, *actModifyTracking, *actRemoveTracking;
  QAction *actAddPasting, *actModifyPasting, *actRemovePasting;

 protected:
  void done(int result) override;

 private:
  void alActionsUpdate();
  void actAddTrackingExecute();
  void actModifyTrackingExecute();
  void actRemoveTrackingExecute();
  void actAddPastingExecute();
  void actModifyPastingExecute();
  void actRemovePastingExecute();
  void SetRow(QTreeWidgetItem* row, const TSLTrackingRule& rule);
  void SetRow(QTreeWidgetItem* row, const TSLPastingRule& rule);
  void FillFontList();

  TVLMNOptions& options_;
};

// Opens the preferences on the program's options, or brings the open
// preferences to the front.
void ShowPreferences();

// What Apply calls to give the main window its new font (set by the program).
std::function<void()>& PreferencesApplyFont();
