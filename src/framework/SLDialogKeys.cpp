#include "framework/SLDialogKeys.h"

#include <QKeyEvent>
#include <QVariant>

#include "app/SLApplication.h"
#include "framework/SLHelp.h"

namespace {
constexpr const char* kHelpContextProperty = "helpContext";
}

void SetHelpContext(QWidget* form, int context) {
  form->setProperty(kHelpContextProperty, context);
}

int HelpContext(const QWidget* form) {
  return form->property(kHelpContextProperty).toInt();
}

void HandleDialogKey(int Key, QWidget* Form, const TSLApplication& Descriptor) {
  if (Key == Qt::Key_Escape) Form->close();
  if (Key == Qt::Key_F1) ShowHelp(Descriptor, HelpContext(Form));
}

void TSLDialog::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape) {
    event->accept();
    return;
  }
  QDialog::keyPressEvent(event);
}

void TSLDialog::keyReleaseEvent(QKeyEvent* event) {
  if (!event->isAutoRepeat()) {
    if (SLApplication != nullptr)
      HandleDialogKey(event->key(), this, *SLApplication);
    else if (event->key() == Qt::Key_Escape)
      close();
  }
  QDialog::keyReleaseEvent(event);
}
