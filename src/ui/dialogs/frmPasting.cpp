#include "ui/dialogs/frmPasting.h"

#include "app/Strings.h"
#include "framework/SLActions.h"
#include "framework/SLDialogCommon.h"
#include "rules/SLRules.h"
#include "ui/dialogs/DialogParts.h"
#include "ui/dialogs/RuleDialogs.h"
#include "ui/dialogs/frmKeys.h"
#include "ui_frmPasting.h"

TPastingDlg::TPastingDlg(QWidget* parent)
    : TSLDialog(parent), ui(std::make_unique<Ui::TPastingDlg>()) {
  ui->setupUi(this);
  PrepareRuleDialog(this, ui->cbField, ui->cbCondition, ui->txtValue);
  alActions = new TSLActionList(this, QStringLiteral("alActions"));
  actOK = alActions->Add("actOK", ui->cmdOK->text(), {}, -1, {}, [this] { accept(); });
  actCancel = alActions->Add("actCancel", ui->cmdCancel->text(), {}, -1, {}, [this] { reject(); });
  alActions->OnUpdate = [this] {
    actOK->setEnabled(ui->cbField->currentIndex() >= 0 && ui->cbCondition->currentIndex() >= 0 &&
                      !ui->txtValue->text().isEmpty() &&
                      (ui->radStandard->isChecked() || !ui->txtKeyCombination->text().isEmpty()));
  };
  BindButton(ui->cmdOK, actOK);
  BindButton(ui->cmdCancel, actCancel);
  // The method choice only enables the field; its text and the keys stay.
  connect(ui->radStandard, &QRadioButton::clicked, this,
          [this] { ui->txtKeyCombination->setEnabled(false); });
  connect(ui->radKeys, &QRadioButton::clicked, this,
          [this] { ui->txtKeyCombination->setEnabled(true); });
  connect(ui->txtKeyCombination, &TButtonEdit::buttonClicked, this,
          &TPastingDlg::txtKeyCombinationButtonClick);
  alActions->Update();
  RelayDialogKeys(this);
}

TPastingDlg::~TPastingDlg() = default;

void TPastingDlg::done(int result) {
  alActions->StopIdleUpdates();
  TSLDialog::done(result);
}

void TPastingDlg::txtKeyCombinationButtonClick() {
  if (!EditKeyCombination(this, Keys)) return;
  ui->txtKeyCombination->setText(Keys.empty() ? QString() : ToQ(Text(Str::DlgKeyCombination)));
}

namespace {

bool RunPasting(QWidget* owner, TSLPastingRule& rule, bool adding) {
  TPastingDlg dialog(owner);
  if (adding) {
    dialog.Keys = rule.Keys;
  } else {
    dialog.ui->cbField->setCurrentIndex(AttributeToIndex(rule.Attribute));
    dialog.ui->cbCondition->setCurrentIndex(ComparisonToIndex(rule.Comparison));
    dialog.ui->txtValue->setText(ToQ(rule.Value));
    if (!rule.Standard) {
      dialog.ui->radKeys->setChecked(true);
      dialog.ui->txtKeyCombination->setText(ToQ(Text(Str::DlgKeyCombination)));
      dialog.ui->txtKeyCombination->setEnabled(true);
      dialog.Keys = rule.Keys;
    }
  }
  CentreOver(&dialog, owner);
  if (dialog.exec() != QDialog::Accepted) return false;
  rule.Attribute = AttributeFromIndex(dialog.ui->cbField->currentIndex());
  rule.Comparison = ComparisonFromIndex(dialog.ui->cbCondition->currentIndex());
  rule.Value = FromQ(dialog.ui->txtValue->text());
  rule.Standard = dialog.ui->radStandard->isChecked();
  rule.Keys.clear();
  if (!rule.Standard) rule.Keys = dialog.Keys;
  return true;
}

}  // namespace

bool AddPastingRuleDlg(QWidget* owner, TSLPastingRule& rule) {
  return RunPasting(owner, rule, true);
}

bool EditPastingRuleDlg(QWidget* owner, TSLPastingRule& rule) {
  return RunPasting(owner, rule, false);
}
