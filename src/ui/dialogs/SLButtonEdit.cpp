#include "ui/dialogs/SLButtonEdit.h"

#include <QToolButton>

TButtonEdit::TButtonEdit(QWidget* parent) : QLineEdit(parent), button_(new QToolButton(this)) {
  setReadOnly(true);
  button_->setObjectName(QStringLiteral("cmdEllipsis"));
  button_->setText(QStringLiteral("..."));
  button_->setCursor(Qt::ArrowCursor);
  button_->setFocusPolicy(Qt::NoFocus);
  connect(button_, &QToolButton::clicked, this, &TButtonEdit::buttonClicked);
}

void TButtonEdit::resizeEvent(QResizeEvent* event) {
  QLineEdit::resizeEvent(event);
  const int side = height() - 4;
  button_->setGeometry(width() - side - 2, 2, side, side);
  setTextMargins(0, 0, side + 2, 0);
}
