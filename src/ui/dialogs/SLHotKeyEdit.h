#pragma once
// THotKeyEdit: a field that takes one key with any modifiers and keeps it as
// a shortcut value (virtual-key code, Shift 0x2000, Ctrl 0x4000, Alt 0x8000).
// Holding modifiers alone shows them until a key completes the combination;
// Backspace without modifiers empties the field (value 0). Tab and Esc keep
// their dialog meaning.
#include <QLineEdit>
#include <cstdint>

class THotKeyEdit : public QLineEdit {
  Q_OBJECT

 public:
  explicit THotKeyEdit(QWidget* parent = nullptr);

  uint16_t Value() const { return value_; }
  void SetValue(uint16_t value);

 signals:
  void valueChanged(uint16_t value);

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void keyReleaseEvent(QKeyEvent* event) override;
  bool event(QEvent* event) override;

 private:
  void ShowValue();
  uint16_t value_ = 0;
};
