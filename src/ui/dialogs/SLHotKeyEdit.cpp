#include "ui/dialogs/SLHotKeyEdit.h"

#include <QKeyEvent>

#include "app/Strings.h"
#include "framework/SLDialogCommon.h"
#include "ui/dialogs/SLKeyMap.h"

THotKeyEdit::THotKeyEdit(QWidget* parent) : QLineEdit(parent) {
  setReadOnly(true);
  setContextMenuPolicy(Qt::NoContextMenu);
  ShowValue();
}

void THotKeyEdit::SetValue(uint16_t value) {
  const bool changed = value != value_;
  value_ = value;
  ShowValue();
  if (changed) emit valueChanged(value_);
}

void THotKeyEdit::ShowValue() {
  setText(value_ == 0 ? ToQ(Text(Str::DlgHotKeyNone)) : ShortCutText(value_));
}

bool THotKeyEdit::event(QEvent* event) {
  // Every key but Tab and Esc is a candidate, accelerators and shortcuts included.
  if (event->type() == QEvent::ShortcutOverride) {
    auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() != Qt::Key_Escape && key->key() != Qt::Key_Tab &&
        key->key() != Qt::Key_Backtab) {
      event->accept();
      return true;
    }
  }
  return QLineEdit::event(event);
}

void THotKeyEdit::keyPressEvent(QKeyEvent* event) {
  const int key = event->key();
  const Qt::KeyboardModifiers mods = event->modifiers();
  if (key == Qt::Key_Escape || key == Qt::Key_Tab || key == Qt::Key_Backtab) {
    event->ignore();
    return;
  }
  event->accept();
  if (key == Qt::Key_Backspace &&
      (mods & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier)) == 0) {
    SetValue(0);
    return;
  }
  const uint16_t value = ShortCutOfKey(key, mods);
  if (value != 0) {
    SetValue(value);
    return;
  }
  // Modifiers alone: show them while they are held.
  QString pending;
  if (mods & Qt::ControlModifier) pending += QStringLiteral("Ctrl + ");
  if (mods & Qt::ShiftModifier) pending += QStringLiteral("Shift + ");
  if (mods & Qt::AltModifier) pending += QStringLiteral("Alt + ");
  if (!pending.isEmpty()) setText(pending);
}

void THotKeyEdit::keyReleaseEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape) {
    event->ignore();
    return;
  }
  if ((event->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier)) == 0)
    ShowValue();
  event->accept();
}
