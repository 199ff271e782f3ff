#include "ui/dialogs/SLButtonEdit.h"

#include <QKeyEvent>
#include <QToolButton>

TButtonEdit::TButtonEdit(QWidget* parent) : QLineEdit(parent), button_(new QToolButton(this)) {
  setReadOnly(true);
  button_->setObjectName(QStringLiteral("cmdEllipsis"));
  button_->setText(QStringLiteral("..."));
  button_->setCursor(Qt::ArrowCursor);
  button_->setFocusPolicy(Qt::TabFocus);
  connect(button_, &QToolButton::clicked, this, &TButtonEdit::buttonClicked);
}

void TButtonEdit::resizeEvent(QResizeEvent* event) {
  QLineEdit::resizeEvent(event);
  const int side = height() - 4;
  button_->setGeometry(width() - side - 2, 2, side, side);
  setTextMargins(0, 0, side + 2, 0);
}

void TButtonEdit::keyPressEvent(QKeyEvent* event) {
  const Qt::KeyboardModifiers mods = event->modifiers() & ~Qt::KeypadModifier;
  const bool altDown = event->key() == Qt::Key_Down && mods == Qt::AltModifier;
  const bool f4 = event->key() == Qt::Key_F4 && mods == Qt::NoModifier;
  if ((altDown || f4) && button_->isEnabled()) {
    event->accept();
    button_->click();
    return;
  }
  QLineEdit::keyPressEvent(event);
}
