#include "ui/dialogs/frmTracking.h"

#include "framework/SLActions.h"
#include "framework/SLDialogCommon.h"
#include "framework/SLHelp.h"
#include "rules/SLRules.h"
#include "ui/dialogs/DialogParts.h"
#include "ui/dialogs/RuleDialogs.h"
#include "ui_frmTracking.h"

TTrackingDlg::TTrackingDlg(QWidget* parent)
    : TSLDialog(parent), ui(std::make_unique<Ui::TTrackingDlg>()) {
  ui->setupUi(this);
  PrepareRuleDialog(this, ui->cbField, ui->cbCondition, ui->txtValue);
  alActions = new TSLActionList(this, QStringLiteral("alActions"));
  actOK = alActions->Add("actOK", ui->cmdOK->text(), {}, -1, {}, [this] { accept(); });
  actCancel = alActions->Add("actCancel", ui->cmdCancel->text(), {}, -1, {}, [this] { reject(); });
  alActions->OnUpdate = [this] {
    actOK->setEnabled(ui->cbField->currentIndex() >= 0 && ui->cbCondition->currentIndex() >= 0 &&
                      !ui->txtValue->text().isEmpty());
  };
  BindButton(ui->cmdOK, actOK);
  BindButton(ui->cmdCancel, actCancel);
  alActions->Update();
  RelayDialogKeys(this);
}

TTrackingDlg::~TTrackingDlg() = default;

void TTrackingDlg::done(int result) {
  alActions->StopIdleUpdates();
  TSLDialog::done(result);
}

namespace {

bool RunTracking(QWidget* owner, TSLTrackingRule& rule, bool adding) {
  TTrackingDlg dialog(owner);
  if (!adding) {
    dialog.ui->cbField->setCurrentIndex(AttributeToIndex(rule.Attribute));
    dialog.ui->cbCondition->setCurrentIndex(ComparisonToIndex(rule.Comparison));
    dialog.ui->txtValue->setText(ToQ(rule.Value));
  }
  CentreOver(&dialog, owner);
  if (dialog.exec() != QDialog::Accepted) return false;
  rule.Attribute = AttributeFromIndex(dialog.ui->cbField->currentIndex());
  rule.Comparison = ComparisonFromIndex(dialog.ui->cbCondition->currentIndex());
  rule.Value = FromQ(dialog.ui->txtValue->text());
  return true;
}

}  // namespace

bool AddTrackingRuleDlg(QWidget* owner, TSLTrackingRule& rule) {
  return RunTracking(owner, rule, true);
}

bool EditTrackingRuleDlg(QWidget* owner, TSLTrackingRule& rule) {
  return RunTracking(owner, rule, false);
}
