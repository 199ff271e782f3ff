#include "ui/main/SLVCLUtils.h"

#include <QAbstractItemView>
#include <QLineEdit>

QLineEdit* OpenEditor(const QAbstractItemView* view) {
  if (view == nullptr) return nullptr;
  // indexWidget() also answers the editor open on an index (there are no
  // other index widgets in these views).
  auto* editor = qobject_cast<QLineEdit*>(view->indexWidget(view->currentIndex()));
  if (editor != nullptr && editor->isVisible()) return editor;
  return nullptr;
}

void TreeEditorCut(QAbstractItemView* view) {
  if (QLineEdit* editor = OpenEditor(view)) editor->cut();
}

void TreeEditorCopy(QAbstractItemView* view) {
  if (QLineEdit* editor = OpenEditor(view)) editor->copy();
}

void TreeEditorPaste(QAbstractItemView* view) {
  if (QLineEdit* editor = OpenEditor(view)) editor->paste();
}

void TreeEditorSelectAll(QAbstractItemView* view) {
  if (QLineEdit* editor = OpenEditor(view)) editor->selectAll();
}

void TreeEditorDelete(QAbstractItemView* view) {
  QLineEdit* editor = OpenEditor(view);
  if (editor == nullptr) return;
  if (!editor->hasSelectedText()) {
    // Select the one character after the caret (QString positions never
    // split a character), keep the caret in view, then delete it.
    const int caret = editor->cursorPosition();
    if (caret >= editor->text().size()) return;
    int next = caret + 1;
    if (editor->text().at(caret).isHighSurrogate() && next < editor->text().size()) ++next;
    editor->setSelection(caret, next - caret);
  }
  editor->del();
}

void ListEditorDelete(QAbstractItemView* view) {
  TreeEditorDelete(view);
}
