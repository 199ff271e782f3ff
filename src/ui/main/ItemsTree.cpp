#include "ui/main/ItemsTree.h"

#include <QApplication>
#include <QDrag>
#include <QDropEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMimeData>

namespace {
constexpr int kObjectRole = Qt::UserRole;
constexpr int kImageRole = Qt::UserRole + 1;
constexpr int kCutRole = Qt::UserRole + 2;
}  // namespace

TItemsTree::TItemsTree(QWidget* parent) : QTreeWidget(parent) {
  setHeaderHidden(true);
  setColumnCount(1);
  setIndentation(19);
  setRootIsDecorated(false);  // no button at the top level
  setSelectionMode(SingleSelection);
  setEditTriggers(SelectedClicked);
  setDragEnabled(true);
  setAcceptDrops(true);
  setDropIndicatorShown(false);
  setDragDropMode(DragDrop);
  setDefaultDropAction(Qt::MoveAction);
  setExpandsOnDoubleClick(true);
  setItemDelegate(new TItemsDelegate(this));
  // The selection stays visible while the tree does not have the focus.
  QPalette p = palette();
  p.setColor(QPalette::Inactive, QPalette::Highlight,
             p.color(QPalette::Active, QPalette::Highlight));
  p.setColor(QPalette::Inactive, QPalette::HighlightedText,
             p.color(QPalette::Active, QPalette::HighlightedText));
  setPalette(p);
}

QVariant TItemNode::data(int column, int role) const {
  if (column == 0) {
    switch (role) {
      case kObjectRole:
        return QVariant::fromValue(reinterpret_cast<quintptr>(object));
      case kImageRole:
        return image;
      case kCutRole:
        return cut;
      case Qt::DecorationRole:
        return icon;
      default:
        break;
    }
  }
  return QTreeWidgetItem::data(column, role);
}

void TItemNode::setData(int column, int role, const QVariant& value) {
  if (column == 0) {
    switch (role) {
      case kObjectRole:
        object = reinterpret_cast<void*>(value.value<quintptr>());
        return;
      case kImageRole:
        image = value.toInt();
        return;
      case kCutRole:
        cut = value.toBool();
        emitDataChanged();
        return;
      case Qt::DecorationRole:
        icon = value.value<QIcon>();
        emitDataChanged();
        return;
      default:
        break;
    }
  }
  QTreeWidgetItem::setData(column, role, value);
}

void* TItemsTree::NodeObject(const QTreeWidgetItem* node) {
  return node != nullptr ? reinterpret_cast<void*>(node->data(0, kObjectRole).value<quintptr>())
                         : nullptr;
}

int TItemsTree::NodeImage(const QTreeWidgetItem* node) {
  return node != nullptr ? node->data(0, kImageRole).toInt() : -1;
}

void TItemsTree::SetNodeData(QTreeWidgetItem* node, void* object, int image) {
  node->setData(0, kObjectRole, QVariant::fromValue(reinterpret_cast<quintptr>(object)));
  node->setData(0, kImageRole, image);
  Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
  if (image != niRoot) flags |= Qt::ItemIsEditable | Qt::ItemIsDragEnabled;
  if (image != niItem) flags |= Qt::ItemIsDropEnabled;
  node->setFlags(flags);
}

bool TItemsTree::IsCutMarked(const QTreeWidgetItem* node) {
  return node != nullptr && node->data(0, kCutRole).toBool();
}

void TItemsTree::SetCutMark(QTreeWidgetItem* node, bool cut) {
  if (IsCutMarked(node) != cut) node->setData(0, kCutRole, cut);
}

bool TItemsTree::edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) {
  // The slow second click: the view asks again from its timer, with every
  // trigger allowed, once the double-click interval has passed.
  if (trigger == SelectedClicked) clickRenameCancelled_ = false;
  if (inViewTimer_ && trigger == AllEditTriggers &&
      (clickRenameCancelled_ || QApplication::activeModalWidget() != nullptr))
    return false;
  if (trigger != NoEditTriggers && index.isValid() && state() != EditingState) {
    QTreeWidgetItem* node = itemFromIndex(index);
    if (node == nullptr || NodeImage(node) == niRoot) return false;
    if ((editTriggers() & trigger) || trigger == AllEditTriggers) {
      if (OnEditing && !OnEditing(node)) return false;
    }
  }
  return QTreeWidget::edit(index, trigger, event);
}

void TItemsTree::CommitEditor() {
  if (!IsEditing()) return;
  QWidget* editor = indexWidget(currentIndex());
  if (editor == nullptr) return;
  commitData(editor);
  closeEditor(editor, QAbstractItemDelegate::NoHint);
}

bool TItemsTree::event(QEvent* event) {
  if (event->type() == QEvent::ShortcutOverride || event->type() == QEvent::KeyPress)
    clickRenameCancelled_ = true;
  // Delete belongs to the key table while the tree itself has the keyboard.
  if (event->type() == QEvent::ShortcutOverride) {
    auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() == Qt::Key_Delete && key->modifiers() == Qt::NoModifier && !IsEditing()) {
      event->accept();
      return true;
    }
  }
  return QTreeWidget::event(event);
}

void TItemsTree::keyPressEvent(QKeyEvent* event) {
  if (!event->isAutoRepeat()) pressedKey_ = event->key();
  // The view's own copy (Ctrl+C, Ctrl+Insert) would put the node's text on
  // the system clipboard behind the Copy command's back, also while Copy is
  // disabled: the clipboard keys belong to the main window's commands.
  if (event->key() == Qt::Key_Delete || event->key() == Qt::Key_Escape ||
      event->matches(QKeySequence::Copy) || event->matches(QKeySequence::Cut) ||
      event->matches(QKeySequence::Paste) || event->key() == Qt::Key_Space) {
    event->accept();
    return;
  }
  QTreeWidget::keyPressEvent(event);
}

void TItemsTree::keyReleaseEvent(QKeyEvent* event) {
  const int key = event->key();
  const bool ours = !event->isAutoRepeat() && key == pressedKey_ && !IsEditing();
  if (!event->isAutoRepeat()) pressedKey_ = 0;
  if (ours && OnKeyUp) OnKeyUp(key);
  QTreeWidget::keyReleaseEvent(event);
}

void TItemsTree::focusOutEvent(QFocusEvent* event) {
  clickRenameCancelled_ = true;
  QTreeWidget::focusOutEvent(event);
}

void TItemsTree::timerEvent(QTimerEvent* event) {
  inViewTimer_ = true;
  QTreeWidget::timerEvent(event);
  inViewTimer_ = false;
}

void TItemsTree::selectionChanged(const QItemSelection& selected,
                                  const QItemSelection& deselected) {
  QTreeWidget::selectionChanged(selected, deselected);
  SelectCurrent();
}

void TItemsTree::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
  QTreeWidget::currentChanged(current, previous);
  SelectCurrent();
}

void TItemsTree::SelectCurrent() {
  const QModelIndex current = currentIndex();
  if (current.isValid() && selectionModel() != nullptr && !selectionModel()->isSelected(current))
    selectionModel()->select(current, QItemSelectionModel::ClearAndSelect);
}

void TItemsTree::startDrag(Qt::DropActions supportedActions) {
  QTreeWidgetItem* node = currentItem();
  if (node == nullptr || NodeImage(node) == niRoot) return;
  const QModelIndexList indexes = {currentIndex()};
  QMimeData* data = model()->mimeData(indexes);
  if (data == nullptr) return;
  auto* drag = new QDrag(this);
  drag->setMimeData(data);
  drag->setPixmap(node->icon(0).pixmap(16, 16));
  // The drop itself does the move (a cut and a paste); nothing is removed here.
  drag->exec(supportedActions, Qt::MoveAction);
}

bool TItemsTree::AcceptsDrop(QDropEvent* event) {
  const bool fromTree = event->source() == this;
  QTreeWidgetItem* target = itemAt(event->position().toPoint());
  return OnDragOver && OnDragOver(target, fromTree);
}

void TItemsTree::dragEnterEvent(QDragEnterEvent* event) {
  if (event->source() == this) {
    setState(DraggingState);
    event->acceptProposedAction();
  } else {
    event->ignore();
  }
}

void TItemsTree::dragMoveEvent(QDragMoveEvent* event) {
  QTreeWidget::dragMoveEvent(event);  // auto-scroll and auto-expand
  if (AcceptsDrop(event)) {
    event->setDropAction(Qt::MoveAction);
    event->accept();
  } else {
    event->ignore();
  }
}

void TItemsTree::dropEvent(QDropEvent* event) {
  setState(NoState);
  if (!AcceptsDrop(event)) {
    event->ignore();
    return;
  }
  event->setDropAction(Qt::CopyAction);  // the source is not removed by the view
  event->accept();
  if (OnDragDrop) OnDragDrop(itemAt(event->position().toPoint()));
}

TItemsDelegate::TItemsDelegate(TItemsTree* tree) : QStyledItemDelegate(tree), tree_(tree) {}

QWidget* TItemsDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                                      const QModelIndex& index) const {
  auto* editor = new QLineEdit(parent);
  editor->setObjectName("tvItemsEditor");
  editor->setFrame(true);
  return editor;
}

void TItemsDelegate::setModelData(QWidget* editor, QAbstractItemModel* model,
                                  const QModelIndex& index) const {
  auto* line = qobject_cast<QLineEdit*>(editor);
  QTreeWidgetItem* node = tree_->itemFromIndex(index);
  if (line != nullptr && node != nullptr && tree_->OnEdited) tree_->OnEdited(node, line->text());
}

void TItemsDelegate::initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const {
  QStyledItemDelegate::initStyleOption(option, index);
  if (index.data(kCutRole).toBool()) option->state &= ~QStyle::State_Enabled;
}
