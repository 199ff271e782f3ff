#pragma once
// The library tree tvItems: each node refers to a library object and tells
// its kind by its image index (0 root, 2 folder, 3 item). This class adds to
// QTreeWidget only what the main window needs from the control itself: the
// editing and drag-and-drop hooks and the key routing described below.
//
// Key routing: the key table of the tree (Esc, Delete, Space) acts on a key
// release only when the tree itself received the matching press. Keys typed
// in the in-place name editor stay in the editor: it takes Delete, Space and
// the clipboard keys for itself (Qt's shortcut override), so one Delete press
// deletes one character there and never runs Remove, and a typed blank never
// opens the item editor. Outside the editor the tree claims Delete before the
// Remove command's shortcut sees it, so one press runs Remove once, through
// the key table.
#include <QStyledItemDelegate>
#include <QTreeWidget>
#include <functional>

enum TNodeImage { niRoot = 0, niFolderOpen = 1, niFolder = 2, niItem = 3 };

class TItemsTree : public QTreeWidget {
  Q_OBJECT

 public:
  explicit TItemsTree(QWidget* parent = nullptr);

  // Node data: the library object and the image index.
  static void* NodeObject(const QTreeWidgetItem* node);
  static int NodeImage(const QTreeWidgetItem* node);
  static void SetNodeData(QTreeWidgetItem* node, void* object, int image);
  static bool IsCutMarked(const QTreeWidgetItem* node);
  static void SetCutMark(QTreeWidgetItem* node, bool cut);

  // tvItemsEditing: false refuses the editor.
  std::function<bool(QTreeWidgetItem* node)> OnEditing;
  // tvItemsEdited: the text the user accepted.
  std::function<void(QTreeWidgetItem* node, const QString& text)> OnEdited;
  // tvItemsKeyUp
  std::function<void(int key)> OnKeyUp;
  // tvItemsDragOver: whether a drop of the dragged (selected) node on target is accepted.
  std::function<bool(QTreeWidgetItem* target, bool fromTree)> OnDragOver;
  // tvItemsDragDrop
  std::function<void(QTreeWidgetItem* target)> OnDragDrop;

  bool IsEditing() const { return state() == EditingState; }

 protected:
  bool edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) override;
  bool event(QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void keyReleaseEvent(QKeyEvent* event) override;
  void startDrag(Qt::DropActions supportedActions) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dragMoveEvent(QDragMoveEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  bool AcceptsDrop(QDropEvent* event);
  int pressedKey_ = 0;
};

// Paints the cut mark (a dimmed node) and hands accepted names to OnEdited
// instead of writing them into the node.
class TItemsDelegate : public QStyledItemDelegate {
  Q_OBJECT

 public:
  explicit TItemsDelegate(TItemsTree* tree);
  QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                        const QModelIndex& index) const override;
  void setModelData(QWidget* editor, QAbstractItemModel* model,
                    const QModelIndex& index) const override;

 protected:
  void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override;

 private:
  TItemsTree* tree_;
};
