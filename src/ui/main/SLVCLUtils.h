#pragma once
// Operations on the in-place name editor of a tree or list view. Each does
// nothing when the view has no editor open.
class QAbstractItemView;
class QLineEdit;

// The view's open in-place editor, or nullptr.
QLineEdit* OpenEditor(const QAbstractItemView* view);

// Cuts / copies the editor's selected text to the system clipboard.
void TreeEditorCut(QAbstractItemView* view);
void TreeEditorCopy(QAbstractItemView* view);
// Pastes the system clipboard's text at the caret.
void TreeEditorPaste(QAbstractItemView* view);
void TreeEditorSelectAll(QAbstractItemView* view);
// Deletes the selection; with nothing selected, the one character after the
// caret (a whole character, never part of one).
void TreeEditorDelete(QAbstractItemView* view);
// The same for a list view's name editor.
void ListEditorDelete(QAbstractItemView* view);
