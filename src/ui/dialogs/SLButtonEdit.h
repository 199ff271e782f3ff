#pragma once
// TButtonEdit: a read-only field with an ellipsis button at its right end;
// the button is enabled with the field. From the keyboard, F4 or Alt+Down in
// the field presses the button, and Tab goes from the field to the button.
#include <QLineEdit>

class QToolButton;

class TButtonEdit : public QLineEdit {
  Q_OBJECT

 public:
  explicit TButtonEdit(QWidget* parent = nullptr);
  QToolButton* Button() const { return button_; }

 signals:
  void buttonClicked();

 protected:
  void resizeEvent(QResizeEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  QToolButton* button_;
};
