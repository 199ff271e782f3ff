#pragma once
// TSLClipboard: the main window's one-node clipboard for moving and copying
// inside the tree. It never touches the system clipboard.
class QTreeWidgetItem;

class TSLClipboard {
 public:
  bool IsCut = false;               // true: the pending operation is a move
  QTreeWidgetItem* Node = nullptr;  // the pending node; none when nothing is pending

  bool Pending() const { return Node != nullptr; }
  void Set(QTreeWidgetItem* node, bool isCut) {
    Node = node;
    IsCut = isCut;
  }
  void Clear() {
    Node = nullptr;
    IsCut = false;
  }
};
