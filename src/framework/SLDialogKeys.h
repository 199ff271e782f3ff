#pragma once
// Keys every modal dialog of the program answers on release: Escape closes
// the dialog and F1 opens the help at the dialog's help context.
#include <QDialog>

class TSLApplication;

// A window's help context (0 when none was set: the default topic).
void SetHelpContext(QWidget* form, int context);
int HelpContext(const QWidget* form);

// Two independent tests, in this order: Escape closes Form; F1 opens the help
// at Form's help context. Key is a Qt key code.
void HandleDialogKey(int Key, QWidget* Form, const TSLApplication& Descriptor);

// Escape closes a dialog on its release only when its press reached the
// dialog too. A press that closed an open drop-down list, a completer or a
// context menu went to that popup, and its release must leave the dialog (and
// what was typed in it) as it is. NoteEscapePress records a press that reached
// Form; TakeEscapePress tells whether one did since the last release and
// forgets it. WatchEscapePresses starts the watch on where presses begin; a
// dialog calls it before the user can press anything (TSLDialog on show).
void WatchEscapePresses();
void NoteEscapePress(QWidget* Form);
bool TakeEscapePress(QWidget* Form);

// A modal dialog whose key releases go through HandleDialogKey with the
// program's descriptor. Escape acts on its release, not on its press.
class TSLDialog : public QDialog {
  Q_OBJECT

 public:
  using QDialog::QDialog;

 protected:
  void showEvent(QShowEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void keyReleaseEvent(QKeyEvent* event) override;  // FormKeyUp
};
