#include "framework/SLMsgDetailsFrm.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>
#include <memory>
#include <stdexcept>

#include "app/Strings.h"
#include "framework/SLDialogCommon.h"

TSLMessageDetails::TSLMessageDetails(QWidget* parent) : TSLEscapeDialog(parent) {
  setObjectName("SLMessageDetails");
  setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                 Qt::WindowCloseButtonHint | Qt::CustomizeWindowHint);
  setWindowModality(Qt::ApplicationModal);

  imgCritical = NewPicture(this, "imgCritical", QStyle::SP_MessageBoxCritical);
  imgWarning = NewPicture(this, "imgWarning", QStyle::SP_MessageBoxWarning);
  imgInformation = NewPicture(this, "imgInformation", QStyle::SP_MessageBoxInformation);

  lblErrorMsg = new QLabel(this);
  lblErrorMsg->setObjectName("lblErrorMsg");
  lblErrorMsg->setGeometry(48, 8, 257, 65);
  lblErrorMsg->setWordWrap(true);
  lblErrorMsg->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  lblErrorMsg->setTextFormat(Qt::PlainText);

  cmdOK = new QPushButton(this);
  cmdOK->setObjectName("cmdOK");
  cmdOK->setGeometry(326, 8, 75, 25);
  cmdOK->setDefault(true);
  connect(cmdOK, &QPushButton::clicked, this, &QDialog::accept);

  cmdDetails = new QPushButton(this);
  cmdDetails->setObjectName("cmdDetails");
  cmdDetails->setGeometry(326, 40, 75, 25);
  cmdDetails->setAutoDefault(true);
  connect(cmdDetails, &QPushButton::clicked, this, &TSLMessageDetails::cmdDetailsClick);

  txtErrorDetails = new QPlainTextEdit(this);
  txtErrorDetails->setObjectName("txtErrorDetails");
  txtErrorDetails->setGeometry(8, 80, 393, 100);
  txtErrorDetails->setReadOnly(true);

  setTabOrder(cmdOK, cmdDetails);
  setTabOrder(cmdDetails, txtErrorDetails);
  cmdOK->setFocus(Qt::OtherFocusReason);
  SetOuterHeight(kFoldedHeight);
}

void TSLMessageDetails::SetOuterHeight(int height) {
  outerHeight_ = height;
  ApplyOuterSize();
}

void TSLMessageDetails::ApplyOuterSize() {
  // Before the window manager has framed the window the frame counts as none;
  // showEvent and the later frame notices correct the client size.
  const QSize frame = frameGeometry().size() - geometry().size();
  const QSize client(kOuterWidth - frame.width(), outerHeight_ - frame.height());
  if (size() != client || minimumSize() != client) setFixedSize(client);
}

void TSLMessageDetails::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  ApplyOuterSize();
  QTimer::singleShot(0, this, [this] { ApplyOuterSize(); });
}

bool TSLMessageDetails::event(QEvent* event) {
  bool handled = QDialog::event(event);
  if (event->type() == QEvent::Move || event->type() == QEvent::WindowActivate) ApplyOuterSize();
  return handled;
}

void TSLMessageDetails::cmdDetailsClick() {
  if (DetailsState == 0) {
    cmdDetails->setText(CaptionUnfolded);
    DetailsState = 1;
    SetOuterHeight(kUnfoldedHeight);
  } else {
    cmdDetails->setText(CaptionFolded);
    DetailsState = 0;
    SetOuterHeight(kFoldedHeight);
  }
}

void SLMessageDetails(const std::string& Text, const std::string& Details,
                      const std::string& Caption, TSLMessageType MessageType, TSLLanguage Language,
                      const std::string& FontName, bool ShowDetails) {
  auto dialog = std::make_unique<TSLMessageDetails>();
  for (QLabel* picture : {dialog->imgCritical, dialog->imgWarning, dialog->imgInformation})
    picture->hide();

  ApplyDialogFont(dialog.get(), FontName);

  if (Language != slPortuguese && Language != slEnglish)
    throw std::runtime_error("Invalid language id. in call to SLMessageDetails.");
  const bool english = Language == slEnglish;
  dialog->CaptionOK = ToQ(::Text(Str::MsgOK, english));
  dialog->CaptionFolded = ToQ(::Text(Str::MsgDetailsFolded, english));
  dialog->CaptionUnfolded = ToQ(::Text(Str::MsgDetailsUnfolded, english));

  dialog->SetOuterHeight(TSLMessageDetails::kFoldedHeight);
  dialog->setWindowTitle(Caption.empty() ? ApplicationTitle() : ToQ(Caption));
  dialog->lblErrorMsg->setText(DisplayLines(NormalizeLineBreaks(Text)));
  dialog->txtErrorDetails->setPlainText(DisplayLines(NormalizeLineBreaks(Details)));

  switch (MessageType) {
    case smtError:
      dialog->imgCritical->show();
      break;
    case smtWarning:
      dialog->imgWarning->show();
      break;
    case smtInformation:
      dialog->imgInformation->show();
      break;
    default:
      throw std::runtime_error("Invalid message type in call to SLMessageDetails.");
  }

  dialog->cmdOK->setText(dialog->CaptionOK);
  dialog->cmdDetails->setText(dialog->CaptionFolded);
  dialog->DetailsState = 0;
  dialog->cmdDetails->setVisible(!Details.empty());
  if (ShowDetails && !Details.empty()) dialog->cmdDetailsClick();

  CentreOnScreen(dialog.get());
  QApplication::beep();
  dialog->exec();
}
