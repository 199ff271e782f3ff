#include "framework/SLMsgFrm.h"

#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <memory>
#include <stdexcept>

#include "app/Strings.h"
#include "framework/SLDialogCommon.h"

namespace {

struct ButtonSpec {
  Str caption;
  int left;
  TSLMessageResult result;
};

struct ButtonSet {
  std::vector<ButtonSpec> buttons;
  TSLMessageResult fallback;
};

const ButtonSet& SetOf(TSLMessageButtons buttons) {
  static const ButtonSet kSets[] = {
      {{{Str::MsgOK, 168, smrOK}}, smrOK},
      {{{Str::MsgYes, 120, smrYes}, {Str::MsgNo, 208, smrNo}}, smrNo},
      {{{Str::MsgYes, 88, smrYes}, {Str::MsgNo, 168, smrNo}, {Str::MsgCancel, 248, smrCancel}},
       smrCancel},
      {{{Str::MsgYes, 48, smrYes},
        {Str::MsgNo, 128, smrNo},
        {Str::MsgCancel, 208, smrCancel},
        {Str::MsgAll, 288, smrAll}},
       smrCancel},
      {{{Str::MsgYes, 8, smrYes},
        {Str::MsgYesToAll, 88, smrYesToAll},
        {Str::MsgNo, 168, smrNo},
        {Str::MsgNoToAll, 248, smrNoToAll},
        {Str::MsgCancel, 328, smrCancel}},
       smrCancel},
  };
  return kSets[buttons];
}

}  // namespace

TSLMessage::TSLMessage(QWidget* parent) : TSLEscapeDialog(parent) {
  setObjectName("SLMessage");
  setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                 Qt::WindowCloseButtonHint | Qt::CustomizeWindowHint);
  setWindowModality(Qt::ApplicationModal);
  setFixedSize(410, 83);

  pBottom = new QWidget(this);
  pBottom->setObjectName("pBottom");
  pBottom->setGeometry(0, 43, 410, 40);
  for (int i = 0; i < 5; ++i) {
    auto* button = new QPushButton(pBottom);
    button->setObjectName(QStringLiteral("cmdBtn0%1").arg(i + 1));
    button->setGeometry(0, 7, 75, 25);
    button->setAutoDefault(true);
    button->hide();
    connect(button, &QPushButton::clicked, this, [this, i] {
      PressedButton = i + 1;
      close();
    });
    cmdBtn[i] = button;
  }

  pLeft = new QWidget(this);
  pLeft->setObjectName("pLeft");
  pLeft->setGeometry(0, 0, 49, 43);
  imgQuestion = NewPicture(pLeft, "imgQuestion", QStyle::SP_MessageBoxQuestion);
  imgWarning = NewPicture(pLeft, "imgWarning", QStyle::SP_MessageBoxWarning);
  imgError = NewPicture(pLeft, "imgError", QStyle::SP_MessageBoxCritical);
  imgInformation = NewPicture(pLeft, "imgInformation", QStyle::SP_MessageBoxInformation);

  pMessage = new QWidget(this);
  pMessage->setObjectName("pMessage");
  pMessage->setGeometry(49, 0, 361, 43);
  lblMessage = new QLabel(pMessage);
  lblMessage->setObjectName("lblMessage");
  lblMessage->setGeometry(0, 7, 361, 36);
  lblMessage->setWordWrap(true);
  lblMessage->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  lblMessage->setTextFormat(Qt::PlainText);
}

TSLMessageResult SLMessage(const std::string& Text, const std::string& Caption,
                           TSLMessageType MessageType, TSLMessageButtons Buttons,
                           int16_t DefaultButton, TSLLanguage Language,
                           const std::string& FontName) {
  auto dialog = std::make_unique<TSLMessage>();
  for (QLabel* picture :
       {dialog->imgQuestion, dialog->imgWarning, dialog->imgError, dialog->imgInformation})
    picture->hide();
  for (QPushButton* button : dialog->cmdBtn) button->hide();

  ApplyDialogFont(dialog.get(), FontName);

  if (Language != slPortuguese && Language != slEnglish)
    throw std::runtime_error("Invalid language id. in call to SLMessage.");
  const bool english = Language == slEnglish;

  dialog->setWindowTitle(Caption.empty() ? ApplicationTitle() : ToQ(Caption));
  dialog->lblMessage->setText(ToQ(Text));

  switch (MessageType) {
    case smtError:
      dialog->imgError->show();
      break;
    case smtWarning:
      dialog->imgWarning->show();
      break;
    case smtInformation:
      dialog->imgInformation->show();
      break;
    case smtQuestion:
      dialog->imgQuestion->show();
      break;
    default:
      throw std::runtime_error("Invalid message type in call to SLMessage.");
  }

  if (Buttons > smbYesNoToAllCancel)
    throw std::runtime_error("Invalid button definition in call to SLMessage.");
  const ButtonSet& set = SetOf(Buttons);
  const int count = static_cast<int>(set.buttons.size());
  for (int i = 0; i < count; ++i) {
    QPushButton* button = dialog->cmdBtn[i];
    button->setText(ToQ(::Text(set.buttons[i].caption, english)));
    button->move(set.buttons[i].left, 7);
    button->show();
  }
  dialog->FallbackResult = set.fallback;

  const int d = (DefaultButton < 1 || DefaultButton > count) ? 1 : DefaultButton;

  // Tab order rotated so that the default button comes first and has the
  // focus when the dialog opens: Enter presses it.
  std::array<QPushButton*, 5> byTab{};
  for (int p = 1; p <= 5; ++p) byTab[(p - d + 5) % 5] = dialog->cmdBtn[p - 1];
  for (int t = 0; t + 1 < 5; ++t) QWidget::setTabOrder(byTab[t], byTab[t + 1]);
  dialog->cmdBtn[d - 1]->setDefault(true);
  dialog->cmdBtn[d - 1]->setFocus(Qt::OtherFocusReason);

  CentreOnScreen(dialog.get());
  dialog->PressedButton = 0;
  dialog->exec();

  const int pressed = dialog->PressedButton;
  if (Buttons == smbOK) return smrOK;
  if (pressed >= 1 && pressed <= count) return set.buttons[pressed - 1].result;
  return dialog->FallbackResult;
}
