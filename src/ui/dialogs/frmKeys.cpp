#include "ui/dialogs/frmKeys.h"

#include "framework/SLDialogCommon.h"
#include "framework/SLHelp.h"
#include "framework/SLText.h"
#include "ui/dialogs/DialogParts.h"
#include "ui/dialogs/RuleDialogs.h"
#include "ui/dialogs/SLHotKeyEdit.h"
#include "ui_frmKeys.h"

TEditKeysDlg::TEditKeysDlg(QWidget* parent)
    : TSLDialog(parent), ui(std::make_unique<Ui::TEditKeysDlg>()) {
  ui->setupUi(this);
  PrepareFixedDialog(this, kHelpPreferences);
  hkKeys = {ui->hkKey1, ui->hkKey2, ui->hkKey3, ui->hkKey4};
  // OK is always available.
  connect(ui->cmdOK, &QPushButton::clicked, this, &QDialog::accept);
  connect(ui->cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
  RelayDialogKeys(this);
}

TEditKeysDlg::~TEditKeysDlg() = default;

bool EditKeyCombination(QWidget* owner, std::vector<std::string>& keys) {
  TEditKeysDlg dialog(owner);
  for (size_t i = 0; i < keys.size() && i < dialog.hkKeys.size(); ++i) {
    int32_t value = 0;
    try {
      value = StrToInt(keys[i]);
    } catch (...) {  // a damaged entry shows as an empty field
    }
    dialog.hkKeys[i]->SetValue(static_cast<uint16_t>(value));
  }
  CentreOver(&dialog, owner);
  if (dialog.exec() != QDialog::Accepted) return false;
  keys.clear();
  for (THotKeyEdit* field : dialog.hkKeys) {
    if (field->Value() == 0) break;
    keys.push_back(IntToStr(field->Value()));
  }
  return true;
}
