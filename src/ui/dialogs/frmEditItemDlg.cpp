#include "ui/dialogs/frmEditItemDlg.h"

#include <QApplication>
#include <QResizeEvent>

#include "app/SLApplication.h"
#include "framework/SLActions.h"
#include "framework/SLDialogCommon.h"
#include "framework/SLFormStorage.h"
#include "framework/SLHelp.h"
#include "rules/clsOptions.h"
#include "ui/dialogs/DialogParts.h"
#include "ui_frmEditItemDlg.h"

TEditItemDlg::TEditItemDlg(QWidget* parent)
    : TSLDialog(parent), ui(std::make_unique<Ui::TEditItemDlg>()) {
  ui->setupUi(this);
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
  SetDialogFont(this, kDialogFontName);

  alActions = new TSLActionList(this, QStringLiteral("alActions"));
  actOK = alActions->Add("actOK", ui->cmdOK->text(), {}, -1, {}, [this] { accept(); });
  actCancel = alActions->Add("actCancel", ui->cmdCancel->text(), {}, -1, {}, [this] { reject(); });
  alActions->OnUpdate = [this] { alActionsUpdate(); };
  BindButton(ui->cmdOK, actOK);
  BindButton(ui->cmdCancel, actCancel);

  // FormKeyPress: the export file's markers are never typed into an item.
  auto* filter = new TTypedCharFilter(this, QStringLiteral(";$"));
  filter->Watch(ui->txtName);
  filter->Watch(ui->txtContent);

  Storage = new TSLFormStorage(this);
  Storage->RegistryRoot = RegHive::CurrentUser;
  Storage->Key = SLApplication != nullptr ? SLApplication->ProductKey : kProductKey;
  Storage->Section = "EditItemDlgStorage";
  Storage->Active = VLMNOptions != nullptr && VLMNOptions->SaveWindow;
  if (!Storage->Active) CentreOnScreen(this);
  alActionsUpdate();
  RelayDialogKeys(this);
}

TEditItemDlg::~TEditItemDlg() = default;

void TEditItemDlg::alActionsUpdate() {
  actOK->setEnabled(!ui->txtName->text().isEmpty() && !ui->txtContent->document()->isEmpty());
}

void TEditItemDlg::resizeEvent(QResizeEvent* event) {
  TSLDialog::resizeEvent(event);
  const int w = width(), h = height();
  ui->txtName->resize(w - 40, ui->txtName->height());
  ui->txtContent->resize(ui->txtName->width(), h - 151);
  ui->pBottom->setGeometry(0, h - ui->pBottom->height(), w, ui->pBottom->height());
  ui->cmdOK->move(w - 166, ui->cmdOK->y());
  ui->cmdCancel->move(w - 83, ui->cmdCancel->y());
}

void TEditItemDlg::done(int result) {
  alActions->StopIdleUpdates();
  Storage->SaveFormPlacement();
  TSLDialog::done(result);
}

namespace {

bool RunEditor(std::string& name, std::string& value, bool adding) {
  TEditItemDlg dialog(QApplication::activeWindow());
  dialog.setWindowTitle(adding ? QStringLiteral("Add Paste Item...")
                               : QStringLiteral("Edit Paste Item..."));
  SetHelpContext(&dialog, adding ? kHelpItemAdd : kHelpItemModify);
  if (!adding) {
    dialog.ui->txtName->setText(ToQ(name));
    dialog.ui->txtContent->setPlainText(ToQ(value));
  }
  if (dialog.exec() != QDialog::Accepted) return false;
  name = FromQ(dialog.ui->txtName->text());
  value = FromQ(dialog.ui->txtContent->toPlainText());
  return true;
}

}  // namespace

bool AddPasteItemDlg(std::string& name, std::string& value) {
  return RunEditor(name, value, true);
}

bool EditPasteItemDlg(std::string& name, std::string& value) {
  return RunEditor(name, value, false);
}
