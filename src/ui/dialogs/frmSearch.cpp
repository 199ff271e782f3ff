#include "ui/dialogs/frmSearch.h"

#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>
#include <QStyledItemDelegate>
#include <QTimer>
#include <vector>

#include "app/SLApplication.h"
#include "app/Strings.h"
#include "framework/SLActions.h"
#include "framework/SLAppEvents.h"
#include "framework/SLDialogCommon.h"
#include "framework/SLExceptions.h"
#include "framework/SLFormStorage.h"
#include "framework/SLHelp.h"
#include "framework/SLText.h"
#include "library/SLRegistry.h"
#include "library/clsLibrary.h"
#include "rules/clsOptions.h"
#include "ui/dialogs/DialogParts.h"
#include "ui/dialogs/clsSearch.h"
#include "ui/dialogs/frmEditItemDlg.h"
#include "ui_frmSearch.h"

namespace {

constexpr int kItemRole = Qt::UserRole;
constexpr size_t kNameMax = 100;

// A result row, ordered by the text of the list's sort column with the
// locale's case-sensitive comparison.
class TResultRow : public QTreeWidgetItem {
 public:
  using QTreeWidgetItem::QTreeWidgetItem;
  bool operator<(const QTreeWidgetItem& other) const override {
    const int column = treeWidget() != nullptr ? treeWidget()->sortColumn() : 0;
    return text(column).localeAwareCompare(other.text(column)) < 0;
  }
};

// Only names are edited in place; an accepted name goes to the dialog.
class TNameDelegate : public QStyledItemDelegate {
 public:
  explicit TNameDelegate(TSearchDlg* dialog) : QStyledItemDelegate(dialog), dialog_(dialog) {
    connect(this, &QAbstractItemDelegate::closeEditor, dialog,
            [dialog] { dialog->lvItemsEditorClosed(); });
  }
  QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                        const QModelIndex& index) const override {
    if (index.column() != 0) return nullptr;
    QWidget* editor = QStyledItemDelegate::createEditor(parent, option, index);
    if (auto* line = qobject_cast<QLineEdit*>(editor)) line->setObjectName("lvItemsEditor");
    dialog_->lvItemsEditing(dialog_->findChild<QTreeWidget*>("lvItems")->topLevelItem(index.row()));
    return editor;
  }
  void setModelData(QWidget* editor, QAbstractItemModel*, const QModelIndex& index) const override {
    auto* line = qobject_cast<QLineEdit*>(editor);
    if (line == nullptr) return;
    dialog_->lvItemsEdited(dialog_->findChild<QTreeWidget*>("lvItems")->topLevelItem(index.row()),
                           line->text());
  }

 private:
  TSearchDlg* dialog_;
};

// "%d item(s)" filled with the count.
QString CountText(int count) {
  return ToQ(Text(Str::DlgSearchCount)).replace(QStringLiteral("%d"), QString::number(count));
}

// The picture on every row: a small sheet with lines of text.
QIcon RowPicture() {
  QPixmap pixmap(16, 16);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  p.setPen(QColor(0x55, 0x55, 0x55));
  p.setBrush(Qt::white);
  p.drawRect(2, 1, 11, 13);
  p.setPen(QColor(0x2E, 0x5C, 0xA8));
  for (int y = 4; y <= 11; y += 3) p.drawLine(4, y, 11, y);
  return QIcon(pixmap);
}

}  // namespace

TSearchDlg::TSearchDlg(QWidget* parent)
    : TSLDialog(parent), ui(std::make_unique<Ui::TSearchDlg>()) {
  ui->setupUi(this);
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
  SetDialogFont(this, kDialogFontName);
  SetHelpContext(this, kHelpSearch);
  const int widths[] = {150, 230, 150};
  for (int i = 0; i < 3; ++i) ui->lvItems->setColumnWidth(i, widths[i]);
  ui->lvItems->setIconSize(QSize(16, 16));
  ui->lvItems->setItemDelegate(new TNameDelegate(this));
  ui->lvItems->header()->setSectionsClickable(true);
  ui->lvItems->header()->setSortIndicatorShown(true);
  ui->lvItems->header()->setSortIndicator(0, Qt::AscendingOrder);
  connect(ui->lvItems->header(), &QHeaderView::sectionClicked, this,
          &TSearchDlg::lvItemsColumnClick);
  ui->lvItems->installEventFilter(this);

  alActions = new TSLActionList(this, QStringLiteral("alActions"));
  actSearch = alActions->Add("actSearch", ui->cmdSearch->text(), {}, -1, {},
                             [this] { actSearchExecute(); });
  actClear =
      alActions->Add("actClear", ui->cmdClear->text(), {}, -1, {}, [this] { actClearExecute(); });
  actClose = alActions->Add("actClose", ui->cmdClose->text(), {}, -1, {}, [this] { reject(); });
  actModify =
      alActions->Add("actModify", QStringLiteral("Modify Item..."),
                     QKeySequence(Qt::CTRL | Qt::Key_O), -1, {}, [this] { actModifyExecute(); });
  actRename = alActions->Add("actRename", QStringLiteral("Rename"), QKeySequence(Qt::Key_F12), -1,
                             {}, [this] { actRenameExecute(); });
  actRemove = alActions->Add("actRemove", QStringLiteral("Remove"), QKeySequence(Qt::Key_Delete),
                             -1, {}, [this] { actRemoveExecute(); });
  alActions->OnUpdate = [this] { alActionsUpdate(); };
  BindButton(ui->cmdSearch, actSearch);
  BindButton(ui->cmdClear, actClear);
  BindButton(ui->cmdClose, actClose);
  for (QAction* a : {actModify, actRename, actRemove}) {
    a->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    ui->lvItems->addAction(a);
  }

  popItems = new QMenu(this);
  popItems->setObjectName("popItems");
  popItems->addAction(actModify);
  popItems->setDefaultAction(actModify);
  popItems->addSeparator();
  popItems->addAction(actRename);
  popItems->addSeparator();
  popItems->addAction(actRemove);
  connect(ui->lvItems, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
    alActions->Update();
    popItems->popup(ui->lvItems->viewport()->mapToGlobal(at));
  });
  connect(ui->lvItems, &QTreeWidget::itemDoubleClicked, this,
          [this] { alActions->Execute(actModify); });

  SetUpStorage();
  alActionsUpdate();
  RelayDialogKeys(this, false);  // Esc never closes the search
}

TSearchDlg::~TSearchDlg() = default;

void TSearchDlg::SetUpStorage() {
  Storage = new TSLFormStorage(this);
  Storage->RegistryRoot = RegHive::CurrentUser;
  Storage->Key = SLApplication != nullptr ? SLApplication->ProductKey : kProductKey;
  Storage->Section = "SearchStorage";
  Storage->Active = VLMNOptions != nullptr && VLMNOptions->SaveWindow;
  for (QAbstractButton* b : std::initializer_list<QAbstractButton*>{
           ui->chkMatchCase, ui->radValue, ui->radName, ui->radCurrentFolder, ui->radAllFolders,
           ui->radAllFields}) {
    Storage->AddProperty(
        FromQ(b->objectName()) + "_Checked",
        [b] { return std::string(b->isChecked() ? "1" : "0"); },
        [b](const std::string& v) {
          // Radio buttons take "1" only: checking one unchecks its group.
          if (v == "1")
            b->setChecked(true);
          else if (v == "0" && !b->autoExclusive())
            b->setChecked(false);
        });
  }
  Storage->OnRestorePlacement = [this] {
    for (int i = 0; i < 3; ++i)
      ui->lvItems->setColumnWidth(
          i, ReadRegInteger(Storage->RegistryRoot, Storage->SectionKey(),
                            "Col" + std::to_string(i + 1), ui->lvItems->columnWidth(i)));
  };
  Storage->OnSavePlacement = [this] {
    for (int i = 0; i < 3; ++i)
      WriteRegInteger(Storage->RegistryRoot, Storage->SectionKey(), "Col" + std::to_string(i + 1),
                      ui->lvItems->columnWidth(i));
  };
  if (!Storage->Active) CentreOver(this, parentWidget());
}

void TSearchDlg::done(int result) {
  alActions->StopIdleUpdates();
  Storage->SaveFormPlacement();
  TSLDialog::done(result);
}

void TSearchDlg::SetStatus(const QString& text) {
  ui->sbStatus->showMessage(text);
}

TPasteItem* TSearchDlg::RowItem(const QTreeWidgetItem* row) {
  return row != nullptr ? static_cast<TPasteItem*>(row->data(0, kItemRole).value<void*>())
                        : nullptr;
}

QTreeWidgetItem* TSearchDlg::FirstSelected() const {
  // The first selected row in the list's order.
  for (int i = 0; i < ui->lvItems->topLevelItemCount(); ++i)
    if (ui->lvItems->topLevelItem(i)->isSelected()) return ui->lvItems->topLevelItem(i);
  return nullptr;
}

void TSearchDlg::alActionsUpdate() {
  actSearch->setEnabled(!ui->txtSearchText->text().isEmpty());
  const bool selected = !ui->lvItems->selectedItems().isEmpty();
  actModify->setEnabled(selected);
  actRename->setEnabled(selected);
  actRemove->setEnabled(selected);
}

void TSearchDlg::actSearchExecute() {
  SetStatus(ToQ(Text(Str::DlgSearching)));
  SearchRoot = ui->radAllFolders->isChecked() ? RootFolder : CurrentFolder;
  ui->lvItems->setUpdatesEnabled(false);
  ui->lvItems->clear();
  std::vector<TSearchHit> hits;
  if (SearchRoot != nullptr) {
    const TSearchField field = ui->radName->isChecked()    ? TSearchField::Name
                               : ui->radValue->isChecked() ? TSearchField::Value
                                                           : TSearchField::AllFields;
    FindPasteItems(*SearchRoot, FromQ(ui->txtSearchText->text()), field,
                   ui->chkMatchCase->isChecked(), hits);
  }
  // The rows are built first and sorted once: the list is in order when it
  // shows, as if it had kept itself sorted while the rows came in.
  QList<QTreeWidgetItem*> rows;
  rows.reserve(qsizetype(hits.size()));
  const QIcon picture = RowPicture();
  for (const TSearchHit& hit : hits) {
    auto* row = new TResultRow(
        QStringList{ToQ(hit.Item->Name), ToQ(hit.Item->Value), ToQ(hit.Folder->Name)});
    row->setIcon(0, picture);
    row->setFlags(row->flags() | Qt::ItemIsEditable);
    row->setData(0, kItemRole, QVariant::fromValue<void*>(hit.Item));
    rows.append(row);
  }
  ui->lvItems->addTopLevelItems(rows);
  SortRows();
  ui->lvItems->setUpdatesEnabled(true);
  SetStatus(CountText(static_cast<int>(hits.size())));
}

void TSearchDlg::SortRows() {
  ui->lvItems->sortItems(SortColumn, SortAscending ? Qt::AscendingOrder : Qt::DescendingOrder);
}

void TSearchDlg::lvItemsColumnClick(int column) {
  if (column == SortColumn) {
    SortAscending = !SortAscending;
  } else {
    SortColumn = column;
    SortAscending = true;
  }
  SortRows();
}

void TSearchDlg::actClearExecute() {
  ui->txtSearchText->clear();
  ui->lvItems->clear();
  SetStatus(ToQ(Text(Str::DlgSearchBegin)));
  ui->txtSearchText->setFocus();
}

void TSearchDlg::actModifyExecute() {
  QTreeWidgetItem* row = FirstSelected();
  TPasteItem* item = RowItem(row);
  if (item == nullptr) return;
  std::string name = item->Name, value = item->Value;
  if (!EditPasteItemDlg(name, value)) return;
  item->Name = name;
  item->Value = value;
  row->setText(0, ToQ(name));
  row->setText(1, ToQ(value));
  LibraryEdited();
}

void TSearchDlg::actRenameExecute() {
  QTreeWidgetItem* row = FirstSelected();
  if (row == nullptr) return;
  ui->lvItems->setCurrentItem(row, 0, QItemSelectionModel::NoUpdate);
  ui->lvItems->editItem(row, 0);
}

void TSearchDlg::lvItemsEditing(QTreeWidgetItem* row) {
  OldName = row != nullptr ? row->text(0) : QString();
  Editing = true;
  ui->cmdSearch->setDefault(false);
}

void TSearchDlg::lvItemsEditorClosed() {
  Editing = false;
  ui->cmdSearch->setDefault(true);
}

void TSearchDlg::lvItemsEdited(QTreeWidgetItem* row, const QString& text) {
  ui->cmdSearch->setDefault(true);
  if (row == nullptr || text == OldName) return;
  if (text.isEmpty()) {
    row->setText(0, OldName);
    // Once the editor has gone: the refusal through the application-wide
    // handler (a modal message would end a new editor at once), then the
    // editor again on the same row.
    const QPersistentModelIndex where = ui->lvItems->indexFromItem(row);
    QTimer::singleShot(0, this, [this, where] {
      aeMainException(this, std::make_exception_ptr(ESLException(Text(Str::DlgInvalidItemName),
                                                                 std::string(), smtWarning)));
      if (where.isValid()) ui->lvItems->editItem(ui->lvItems->itemFromIndex(where), 0);
    });
    return;
  }
  const std::string name = TruncateChars(FromQ(text), kNameMax);
  row->setText(0, ToQ(name));
  if (TPasteItem* item = RowItem(row)) item->Name = name;
  LibraryEdited();
}

void TSearchDlg::actRemoveExecute() {
  if (Editing) {
    if (auto* editor = ui->lvItems->findChild<QLineEdit*>("lvItemsEditor")) editor->del();
    return;
  }
  QTreeWidgetItem* row = FirstSelected();
  TPasteItem* item = RowItem(row);
  if (SearchRoot == nullptr || item == nullptr) return;
  const std::string question = FromQ(FormatS(ToQ(Text(Str::DlgDeleteItem)), {ToQ(item->Name)}));
  if (AskUser(question, smtQuestion, smbYesNo, 1) != smrYes) return;
  if (!RemovePasteItem(*SearchRoot, item)) return;
  delete row;
  SetStatus(CountText(ui->lvItems->topLevelItemCount()));
  LibraryEdited();
}

void TSearchDlg::LibraryEdited() {
  Changed = true;
  if (OnLibraryChanged) OnLibraryChanged();
}

void TSearchDlg::pTopResize() {
  const int w = ui->pTop->width();
  ui->txtSearchText->resize(w - 103, ui->txtSearchText->height());
  ui->gbOptions->resize(w - 343, ui->gbOptions->height());
  ui->pButtons->move(w - ui->pButtons->width(), 0);
}

void TSearchDlg::resizeEvent(QResizeEvent* event) {
  TSLDialog::resizeEvent(event);
  const int w = width(), h = height();
  const int status = ui->sbStatus->height();
  ui->pTop->resize(w, ui->pTop->height());
  pTopResize();
  ui->lvItems->setGeometry(0, ui->pTop->height(), w, h - ui->pTop->height() - status);
  ui->sbStatus->setGeometry(0, h - status, w, status);
}

bool TSearchDlg::eventFilter(QObject* watched, QEvent* event) {
  // lvItemsExit: leaving the list gives Enter back to Search.
  if (watched == ui->lvItems && event->type() == QEvent::FocusOut && !Editing)
    ui->cmdSearch->setDefault(true);
  return TSLDialog::eventFilter(watched, event);
}

void TSearchDlg::keyReleaseEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape) {  // the dialog stays open
    event->accept();
    return;
  }
  TSLDialog::keyReleaseEvent(event);
}

bool SearchPasteItems(TFolder* folder, std::function<void()> changed) {
  TSearchDlg dialog(QApplication::activeWindow());
  dialog.Changed = false;
  dialog.OnLibraryChanged = std::move(changed);
  dialog.CurrentFolder = folder;
  dialog.SortColumn = 0;
  dialog.SortAscending = true;
  dialog.SetStatus(ToQ(Text(Str::DlgSearchBegin)));
  if (!dialog.ui->radName->isChecked() && !dialog.ui->radValue->isChecked() &&
      !dialog.ui->radAllFields->isChecked())
    dialog.ui->radAllFields->setChecked(true);
  dialog.exec();
  return dialog.Changed;
}
