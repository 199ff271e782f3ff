#include "ui/dialogs/frmCopyToDlg.h"

#include <QTreeWidget>

#include "framework/SLActions.h"
#include "framework/SLDialogCommon.h"
#include "framework/SLHelp.h"
#include "ui/dialogs/DialogParts.h"
#include "ui/main/ItemsTree.h"
#include "ui_frmCopyToDlg.h"

namespace {

// The copy's link to the main-tree node it stands for.
constexpr int kSourceRole = Qt::UserRole + 64;

QTreeWidgetItem* SourceOf(const QTreeWidgetItem* node) {
  return node != nullptr ? static_cast<QTreeWidgetItem*>(node->data(0, kSourceRole).value<void*>())
                         : nullptr;
}

QTreeWidgetItem* CopyNode(QTreeWidgetItem* source) {
  auto* copy = new QTreeWidgetItem;
  copy->setText(0, source->text(0));
  copy->setIcon(0, source->icon(0));
  TItemsTree::SetNodeData(copy, TItemsTree::NodeObject(source), TItemsTree::NodeImage(source));
  copy->setData(0, kSourceRole, QVariant::fromValue(static_cast<void*>(source)));
  return copy;
}

void CopyChildren(QTreeWidgetItem* source, QTreeWidgetItem* copy, QTreeWidgetItem* left) {
  for (int i = 0; i < source->childCount(); ++i) {
    QTreeWidgetItem* child = source->child(i);
    if (TItemsTree::NodeImage(child) == niItem || child == left) continue;
    QTreeWidgetItem* childCopy = CopyNode(child);
    copy->addChild(childCopy);
    CopyChildren(child, childCopy, left);
  }
}

enum class TMode { CopyFolder, MoveFolder, CopyItem, MoveItem };

QTreeWidgetItem* RunChooser(QTreeWidget* tree, TMode mode) {
  static const struct {
    const char* caption;
    const char* description;
    int help;
  } kModes[] = {
      {"Copy to Folder...", "Copy the &selected folder to:", kHelpCopyFolder},
      {"Move to Folder...", "Move the &selected folder to:", kHelpMoveFolder},
      {"Copy to Folder...", "Copy the &selected item to:", kHelpCopyItem},
      {"Move to Folder...", "Move the &selected item to:", kHelpMoveItem},
  };
  const auto& m = kModes[static_cast<int>(mode)];
  TCopyToDlg dialog(tree != nullptr ? tree->window() : nullptr);
  dialog.setWindowTitle(QString::fromLatin1(m.caption));
  dialog.ui->lblDescription->setText(QString::fromLatin1(m.description));
  SetHelpContext(&dialog, m.help);
  dialog.FillFolderTree(tree);
  CentreOver(&dialog, tree != nullptr ? tree->window() : nullptr);
  if (dialog.exec() != QDialog::Accepted) return nullptr;
  return dialog.SelectedSource();
}

}  // namespace

TCopyToDlg::TCopyToDlg(QWidget* parent)
    : TSLDialog(parent), ui(std::make_unique<Ui::TCopyToDlg>()) {
  ui->setupUi(this);
  setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint |
                 Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
  setFixedSize(size());
  SetDialogFont(this, kDialogFontName);
  ui->tvFolders->setIconSize(QSize(16, 16));

  alActions = new TSLActionList(this, QStringLiteral("alActions"));
  actOK = alActions->Add("actOK", ui->cmdOK->text(), {}, -1, {}, [this] { accept(); });
  actCancel = alActions->Add("actCancel", ui->cmdCancel->text(), {}, -1, {}, [this] { reject(); });
  BindButton(ui->cmdOK, actOK);
  BindButton(ui->cmdCancel, actCancel);
  RelayDialogKeys(this);
}

TCopyToDlg::~TCopyToDlg() = default;

void TCopyToDlg::done(int result) {
  alActions->StopIdleUpdates();
  TSLDialog::done(result);
}

void TCopyToDlg::FillFolderTree(QTreeWidget* source) {
  ui->tvFolders->clear();
  if (source == nullptr || source->topLevelItemCount() == 0) return;
  QTreeWidgetItem* root = source->topLevelItem(0);
  QTreeWidgetItem* top = CopyNode(root);
  ui->tvFolders->addTopLevelItem(top);
  CopyChildren(root, top, source->currentItem());
  ui->tvFolders->setCurrentItem(top);
  ui->tvFolders->setFocus();
  top->setExpanded(true);
  ui->tvFolders->scrollToItem(top);
}

QTreeWidgetItem* TCopyToDlg::SelectedSource() const {
  return SourceOf(ui->tvFolders->currentItem());
}

QTreeWidgetItem* CopyFolderToDlg(QTreeWidget* tree) {
  return RunChooser(tree, TMode::CopyFolder);
}
QTreeWidgetItem* MoveFolderToDlg(QTreeWidget* tree) {
  return RunChooser(tree, TMode::MoveFolder);
}
QTreeWidgetItem* CopyItemToDlg(QTreeWidget* tree) {
  return RunChooser(tree, TMode::CopyItem);
}
QTreeWidgetItem* MoveItemToDlg(QTreeWidget* tree) {
  return RunChooser(tree, TMode::MoveItem);
}
