#include "ui/dialogs/frmOptions.h"

#include <QAbstractItemModel>
#include <QApplication>
#include <QFontDatabase>
#include <QMenu>
#include <QPointer>

#include "app/SLApplication.h"
#include "app/Strings.h"
#include "framework/SLActions.h"
#include "framework/SLDialogCommon.h"
#include "framework/SLHelp.h"
#include "rules/clsOptions.h"
#include "ui/dialogs/DialogParts.h"
#include "ui/dialogs/frmPasting.h"
#include "ui/dialogs/frmTracking.h"
#include "ui_frmOptions.h"

std::function<void()>& PreferencesApplyFont() {
  static std::function<void()> applyFont;
  return applyFont;
}

namespace {

constexpr int kRuleRole = Qt::UserRole;

template <typename T>
T* RuleOf(const QTreeWidgetItem* row) {
  return row != nullptr ? static_cast<T*>(row->data(0, kRuleRole).value<void*>()) : nullptr;
}

QTreeWidgetItem* Selected(const QTreeWidget* list) {
  const QList<QTreeWidgetItem*> rows = list->selectedItems();
  return rows.isEmpty() ? nullptr : rows.first();
}

// The open dialog, if any (the module's open flag).
QPointer<TOptionsDlg> OpenDialog;

std::string ProgramFile() {
  return SLApplication != nullptr ? SLApplication->ExeName
                                  : FromQ(QCoreApplication::applicationFilePath());
}

}  // namespace

TOptionsDlg::TOptionsDlg(TVLMNOptions& options, QWidget* parent)
    : TSLDialog(parent), ui(std::make_unique<Ui::TOptionsDlg>()), options_(options) {
  ui->setupUi(this);
  setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint |
                 Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
  setFixedSize(size());
  SetDialogFont(this, kDialogFontName);
  SetHelpContext(this, kHelpPreferences);
  FillFontList();
  const int trackingWidths[] = {120, 130, 120}, pastingWidths[] = {90, 100, 110, 70};
  for (int i = 0; i < 3; ++i) ui->lvTracking->setColumnWidth(i, trackingWidths[i]);
  for (int i = 0; i < 4; ++i) ui->lvPasting->setColumnWidth(i, pastingWidths[i]);

  alActions = new TSLActionList(this, QStringLiteral("alActions"));
  auto add = [this](const char* name, QAbstractButton* button, std::function<void()> run) {
    QAction* action = alActions->Add(name, button->text(), {}, -1, {}, std::move(run));
    BindButton(button, action);
    return action;
  };
  actOK = add("actOK", ui->cmdOK, [this] {
    ApplyPreferences();
    accept();
  });
  actCancel = add("actCancel", ui->cmdCancel, [this] { reject(); });
  actApply = add("actApply", ui->cmdApply, [this] { ApplyPreferences(); });
  actAddTracking = add("actAddTracking", ui->cmdAddTracking, [this] { actAddTrackingExecute(); });
  actModifyTracking =
      add("actModifyTracking", ui->cmdModifyTracking, [this] { actModifyTrackingExecute(); });
  actRemoveTracking =
      add("actRemoveTracking", ui->cmdRemoveTracking, [this] { actRemoveTrackingExecute(); });
  actAddPasting = add("actAddPasting", ui->cmdAddPasting, [this] { actAddPastingExecute(); });
  actModifyPasting =
      add("actModifyPasting", ui->cmdModifyPasting, [this] { actModifyPastingExecute(); });
  actRemovePasting =
      add("actRemovePasting", ui->cmdRemovePasting, [this] { actRemovePastingExecute(); });
  alActions->OnUpdate = [this] { alActionsUpdate(); };

  // The lists' context menus offer their three commands; a double click on a
  // row clicks Modify when it is enabled.
  const struct {
    QTreeWidget* list;
    const char* menu;
    QAction *add, *modify, *remove;
    QAbstractButton* modifyButton;
  } lists[] = {{ui->lvTracking, "popTracking", actAddTracking, actModifyTracking, actRemoveTracking,
                ui->cmdModifyTracking},
               {ui->lvPasting, "popPasting", actAddPasting, actModifyPasting, actRemovePasting,
                ui->cmdModifyPasting}};
  for (const auto& l : lists) {
    auto* menu = new QMenu(this);
    menu->setObjectName(QString::fromLatin1(l.menu));
    menu->addActions({l.add, l.modify, l.remove});
    connect(l.list, &QWidget::customContextMenuRequested, menu, [this, menu, l](const QPoint& at) {
      alActions->Update();
      menu->popup(l.list->viewport()->mapToGlobal(at));
    });
    QAbstractButton* modify = l.modifyButton;
    connect(l.list, &QTreeWidget::itemDoubleClicked, modify, [this, modify] {
      alActions->Update();
      if (modify->isEnabled()) modify->click();
    });
  }
  alActionsUpdate();
  RelayDialogKeys(this);
}

TOptionsDlg::~TOptionsDlg() = default;

void TOptionsDlg::done(int result) {
  alActions->StopIdleUpdates();
  TSLDialog::done(result);
}

void TOptionsDlg::FillFontList() {
  // Scalable fonts with Latin letters; each name is drawn in its own font.
  // Symbol fonts often claim Latin too, and their names would be drawn in
  // symbols: every family with the Symbol writing system is left out.
  ui->txtFont->setEditable(false);
  ui->txtFont->setWritingSystem(QFontDatabase::Latin);
  ui->txtFont->setFontFilters(QFontComboBox::ScalableFonts);
  QAbstractItemModel* fonts = ui->txtFont->model();
  for (int row = fonts->rowCount() - 1; row >= 0; --row) {
    const QString family = fonts->index(row, 0).data().toString();
    if (QFontDatabase::writingSystems(family).contains(QFontDatabase::Symbol))
      fonts->removeRow(row);
  }
}

void TOptionsDlg::LoadPreferences() {
  ui->chkCloseMinimizes->setChecked(options_.CloseMinimizes);
  ui->chkSaveWindow->setChecked(options_.SaveWindow);
  ui->chkAutoStartup->setChecked(options_.AutoStart);
  // A stored font that is not installed stays at the top of the list,
  // selected, so confirming keeps it until the user picks another.
  const QString font = ToQ(options_.FontName);
  int at = ui->txtFont->findText(font, Qt::MatchFixedString);
  if (at < 0 && !font.isEmpty()) {
    ui->txtFont->insertItem(0, font);
    at = 0;
  }
  ui->txtFont->setCurrentIndex(at);
  const int size = ui->cbFontSize->findText(QString::number(options_.FontSize), Qt::MatchExactly);
  ui->cbFontSize->setCurrentIndex(size >= 0 ? size : 0);

  ui->lvTracking->setUpdatesEnabled(false);
  ui->lvTracking->clear();
  for (int i = 0; i < options_.TrackingRules.Count(); ++i) {
    auto* row = new QTreeWidgetItem(ui->lvTracking);
    row->setData(0, kRuleRole, QVariant::fromValue<void*>(options_.TrackingRules[i]));
    SetRow(row, *options_.TrackingRules[i]);
  }
  ui->lvTracking->setUpdatesEnabled(true);
  ui->lvPasting->setUpdatesEnabled(false);
  ui->lvPasting->clear();
  for (int i = 0; i < options_.PastingRules.Count(); ++i) {
    auto* row = new QTreeWidgetItem(ui->lvPasting);
    row->setData(0, kRuleRole, QVariant::fromValue<void*>(options_.PastingRules[i]));
    SetRow(row, *options_.PastingRules[i]);
  }
  ui->lvPasting->setUpdatesEnabled(true);
}

void TOptionsDlg::ApplyPreferences() {
  options_.CloseMinimizes = ui->chkCloseMinimizes->isChecked();
  options_.SaveWindow = ui->chkSaveWindow->isChecked();
  options_.FontName = FromQ(ui->txtFont->currentText());
  options_.FontSize =
      ui->cbFontSize->currentIndex() < 0 ? 8 : ui->cbFontSize->currentText().toInt();
  options_.AutoStart = ui->chkAutoStartup->isChecked();
  ApplyAutoStart(options_.AutoStart, ProgramFile());
  if (PreferencesApplyFont()) PreferencesApplyFont()();
  options_.Save();
}

void TOptionsDlg::alActionsUpdate() {
  const bool tracking = Selected(ui->lvTracking) != nullptr;
  const bool pasting = Selected(ui->lvPasting) != nullptr;
  actModifyTracking->setEnabled(tracking);
  actRemoveTracking->setEnabled(tracking);
  actModifyPasting->setEnabled(pasting);
  actRemovePasting->setEnabled(pasting);
}

void TOptionsDlg::SetRow(QTreeWidgetItem* row, const TSLTrackingRule& rule) {
  row->setText(0, ToQ(AttributeName(rule.Attribute)));
  row->setText(1, ToQ(ComparisonName(rule.Comparison)));
  row->setText(2, ToQ(rule.Value));
}

void TOptionsDlg::SetRow(QTreeWidgetItem* row, const TSLPastingRule& rule) {
  row->setText(0, ToQ(AttributeName(rule.Attribute)));
  row->setText(1, ToQ(ComparisonName(rule.Comparison)));
  row->setText(2, ToQ(rule.Value));
  row->setText(3, ToQ(PastingMethodName(rule.Standard)));
}

namespace {

void ShowAdded(QTreeWidget* list, QTreeWidgetItem* row) {
  list->clearSelection();
  list->setCurrentItem(row);
  row->setSelected(true);
  list->scrollToItem(row);
  list->setFocus();
}

}  // namespace

void TOptionsDlg::actAddTrackingExecute() {
  auto rule = std::make_unique<TSLTrackingRule>();
  if (!AddTrackingRuleDlg(this, *rule)) return;
  if (TrackingRuleExists(-1, options_.TrackingRules, *rule)) {
    AskUser(Text(Str::DlgTrackingRuleExists), smtInformation, smbOK, 1);
    return;
  }
  TSLTrackingRule* added = rule.release();
  options_.TrackingRules.Add(added);
  auto* row = new QTreeWidgetItem(ui->lvTracking);
  row->setData(0, kRuleRole, QVariant::fromValue<void*>(added));
  SetRow(row, *added);
  ShowAdded(ui->lvTracking, row);
}

void TOptionsDlg::actModifyTrackingExecute() {
  QTreeWidgetItem* row = Selected(ui->lvTracking);
  auto* rule = RuleOf<TSLTrackingRule>(row);
  if (rule == nullptr) return;
  TSLTrackingRule copy = *rule;
  if (!EditTrackingRuleDlg(this, copy)) return;
  if (TrackingRuleExists(options_.TrackingRules.IndexOf(rule), options_.TrackingRules, copy)) {
    AskUser(Text(Str::DlgTrackingRuleExists), smtInformation, smbOK, 1);
    return;
  }
  rule->Attribute = copy.Attribute;
  rule->Comparison = copy.Comparison;
  rule->Value = copy.Value;
  SetRow(row, *rule);
  ui->lvTracking->scrollToItem(row);
  ui->lvTracking->setFocus();
}

void TOptionsDlg::actRemoveTrackingExecute() {
  QTreeWidgetItem* row = Selected(ui->lvTracking);
  auto* rule = RuleOf<TSLTrackingRule>(row);
  if (rule == nullptr) return;
  if (AskUser(Text(Str::DlgAreYouSure), smtQuestion, smbYesNo, 2) != smrYes) return;
  delete row;
  options_.TrackingRules.Remove(rule);
}

void TOptionsDlg::actAddPastingExecute() {
  auto rule = std::make_unique<TSLPastingRule>();
  if (!AddPastingRuleDlg(this, *rule)) return;
  if (PastingRuleExists(-1, options_.PastingRules, *rule)) {
    AskUser(Text(Str::DlgPastingRuleExists), smtInformation, smbOK, 1);
    return;
  }
  TSLPastingRule* added = rule.release();
  options_.PastingRules.Add(added);
  auto* row = new QTreeWidgetItem(ui->lvPasting);
  row->setData(0, kRuleRole, QVariant::fromValue<void*>(added));
  SetRow(row, *added);
  ShowAdded(ui->lvPasting, row);
}

void TOptionsDlg::actModifyPastingExecute() {
  QTreeWidgetItem* row = Selected(ui->lvPasting);
  auto* rule = RuleOf<TSLPastingRule>(row);
  if (rule == nullptr) return;
  TSLPastingRule copy = *rule;
  if (!EditPastingRuleDlg(this, copy)) return;
  if (PastingRuleExists(options_.PastingRules.IndexOf(rule), options_.PastingRules, copy)) {
    AskUser(Text(Str::DlgPastingRuleExists), smtInformation, smbOK, 1);
    return;
  }
  rule->Attribute = copy.Attribute;
  rule->Comparison = copy.Comparison;
  rule->Value = copy.Value;
  rule->Standard = copy.Standard;
  rule->Keys = copy.Keys;
  SetRow(row, *rule);
  ui->lvPasting->scrollToItem(row);
  ui->lvPasting->setFocus();
}

void TOptionsDlg::actRemovePastingExecute() {
  QTreeWidgetItem* row = Selected(ui->lvPasting);
  auto* rule = RuleOf<TSLPastingRule>(row);
  if (rule == nullptr) return;
  if (AskUser(Text(Str::DlgAreYouSure), smtQuestion, smbYesNo, 2) != smrYes) return;
  delete row;
  options_.PastingRules.Remove(rule);
}

void ShowPreferences() {
  if (OpenDialog) {
    OpenDialog->raise();
    OpenDialog->activateWindow();
    return;
  }
  if (VLMNOptions == nullptr) return;
  QWidget* owner = QApplication::activeWindow();
  TOptionsDlg dialog(*VLMNOptions, owner);
  OpenDialog = &dialog;
  dialog.ui->pcOptions->setCurrentIndex(0);
  dialog.LoadPreferences();
  CentreOver(&dialog, owner);
  dialog.exec();
  OpenDialog = nullptr;
}
