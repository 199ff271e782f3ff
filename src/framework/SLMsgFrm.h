#pragma once
// SLMessage: the one way the program asks, warns and informs. A fixed-size
// dialog with a picture for the message type, the word-wrapped message and
// one of five button sets; it returns which button ended it.
#include <QDialog>
#include <array>
#include <cstdint>
#include <string>

#include "framework/SLDialogCommon.h"
#include "framework/SLMessages.h"

class QLabel;
class QPushButton;

class TSLMessage : public TSLEscapeDialog {
  Q_OBJECT

 public:
  explicit TSLMessage(QWidget* parent = nullptr);

  QWidget* pBottom;
  QWidget* pLeft;
  QWidget* pMessage;
  QLabel* imgQuestion;
  QLabel* imgWarning;
  QLabel* imgError;
  QLabel* imgInformation;
  QLabel* lblMessage;
  std::array<QPushButton*, 5> cmdBtn;  // cmdBtn01 .. cmdBtn05 from the left

  int PressedButton = 0;  // 1 to 5 from the left; 0 while none was pressed
  TSLMessageResult FallbackResult = smrOK;
};

// Shows the dialog modally and returns the button's meaning, or the set's
// fallback result when it was closed without a button. Bad Language,
// MessageType or Buttons values (checked in that order) throw
// std::runtime_error before anything is shown. A DefaultButton outside the
// set counts as 1.
TSLMessageResult SLMessage(const std::string& Text, const std::string& Caption,
                           TSLMessageType MessageType, TSLMessageButtons Buttons,
                           int16_t DefaultButton, TSLLanguage Language,
                           const std::string& FontName);
