#include "ui/dialogs/frmEditItemDlg.h"

#include <QApplication>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QResizeEvent>
#include <QTextDocument>

#include "app/SLApplication.h"
#include "framework/SLActions.h"
#include "framework/SLDialogCommon.h"
#include "framework/SLFormStorage.h"
#include "framework/SLHelp.h"
#include "rules/clsOptions.h"
#include "ui/dialogs/DialogParts.h"
#include "ui_frmEditItemDlg.h"

#include <algorithm>

namespace {
// The longest name the user can type (the name field's design limit).
constexpr int kTypedNameLimit = 100;
}  // namespace

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

// The editor's text with CR LF line breaks, the form items are stored in.
// The raw text keeps every character as typed (no-break spaces too); only
// the document's paragraph and line separators stand for line breaks.
QString ContentWithCrLf(const QPlainTextEdit* editor) {
  QString text = editor->document()->toRawText();
  text.replace(QChar::ParagraphSeparator, QStringLiteral("\r\n"));
  text.replace(QChar::LineSeparator, QStringLiteral("\r\n"));
  return text;
}

bool RunEditor(std::string& name, std::string& value, bool adding) {
  TEditItemDlg dialog(QApplication::activeWindow());
  dialog.setWindowTitle(adding ? QStringLiteral("Add Paste Item...")
                               : QStringLiteral("Edit Paste Item..."));
  SetHelpContext(&dialog, adding ? kHelpItemAdd : kHelpItemModify);
  QString shownName, shownContent;
  if (!adding) {
    // The 100-character limit is for typing: a longer name that came in
    // with an import is shown and kept whole, and typing never makes it
    // longer than it came.
    const QString stored = ToQ(name);
    dialog.ui->txtName->setMaxLength(std::max<int>(kTypedNameLimit, int(stored.size())));
    dialog.ui->txtName->setText(stored);
    dialog.ui->txtContent->setPlainText(ToQ(value));
    shownName = dialog.ui->txtName->text();
    shownContent = dialog.ui->txtContent->document()->toRawText();
  }
  if (dialog.exec() != QDialog::Accepted) return false;
  // What the user left as it was comes back byte for byte: the editor would
  // otherwise change stored line breaks and bytes it cannot show.
  const QString typedName = dialog.ui->txtName->text();
  if (adding || typedName != shownName) name = FromQ(typedName);
  if (adding || dialog.ui->txtContent->document()->toRawText() != shownContent)
    value = FromQ(ContentWithCrLf(dialog.ui->txtContent));
  return true;
}

}  // namespace

bool AddPasteItemDlg(std::string& name, std::string& value) {
  return RunEditor(name, value, true);
}

bool EditPasteItemDlg(std::string& name, std::string& value) {
  return RunEditor(name, value, false);
}
