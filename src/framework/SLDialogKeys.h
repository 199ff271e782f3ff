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

// A modal dialog whose key releases go through HandleDialogKey with the
// program's descriptor. Escape acts on its release, not on its press.
class TSLDialog : public QDialog {
  Q_OBJECT

 public:
  using QDialog::QDialog;

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void keyReleaseEvent(QKeyEvent* event) override;  // FormKeyUp
};
