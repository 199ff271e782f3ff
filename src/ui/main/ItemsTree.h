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
// the key table. Space belongs to the key table alone: the view's keyboard
// search never sees it, so the selection cannot jump before Modify runs.
//
// Selection: the highlighted node is always the current node, the one every
// command acts on; a click in the empty part of the view, or Ctrl+click on
// the node, does not take the highlight away from it.
//
// Renaming by a slow second click: the view opens the editor a double-click
// interval after the click. A key pressed in the tree in between (Ctrl+M
// opening the item editor, say), the tree losing the focus, or a modal
// dialog being up cancels it, so no rename starts behind or after a dialog.
#include <QStyledItemDelegate>
#include <QTreeWidget>
#include <functional>

enum TNodeImage { niRoot = 0, niFolderOpen = 1, niFolder = 2, niItem = 3 };

// A node of the library tree. The library object, the image index, the cut
// mark and the icon are members, answered through data(), instead of item
// data: a plain item stores each role in a list of variants, which made the
// roles cost some 250 bytes a node (2.5 MB for a library of 10,000 items).
// The node stores its text alone. The static helpers of TItemsTree work on
// plain items too (the copy dialog's), through their item data.
class TItemNode : public QTreeWidgetItem {
 public:
  TItemNode() : QTreeWidgetItem(Type) {}
  static constexpr int Type = QTreeWidgetItem::UserType + 1;

  QVariant data(int column, int role) const override;
  void setData(int column, int role, const QVariant& value) override;

  void* object = nullptr;
  int image = -1;
  bool cut = false;
  QIcon icon;
};

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
  // Closes the open name editor, if any, handing its text to OnEdited as
  // Return would.
  void CommitEditor();

 protected:
  bool edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) override;
  bool event(QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void keyReleaseEvent(QKeyEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
  void timerEvent(QTimerEvent* event) override;
  void selectionChanged(const QItemSelection& selected, const QItemSelection& deselected) override;
  void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
  void startDrag(Qt::DropActions supportedActions) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dragMoveEvent(QDragMoveEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  bool AcceptsDrop(QDropEvent* event);
  void SelectCurrent();
  int pressedKey_ = 0;
  bool inViewTimer_ = false;
  bool clickRenameCancelled_ = false;
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
