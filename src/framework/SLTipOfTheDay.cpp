#include "framework/SLTipOfTheDay.h"

#include <QCheckBox>
#include <QFrame>
#include <QIcon>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QPushButton>
#include <memory>

#include "app/SLApplication.h"
#include "app/Strings.h"
#include "framework/SLCipher.h"
#include "framework/SLDialogCommon.h"
#include "framework/SLHelp.h"
#include "framework/SLMsgFrm.h"
#include "framework/SLTips.h"
#include "framework/SLUtils.h"
#include "ui/main/frmMain.h"

namespace {

QWidget* NewPanel(QWidget* parent, const char* name, QRect geometry, QPalette::ColorRole role,
                  const QColor& colour) {
  auto* panel = new QWidget(parent);
  panel->setObjectName(name);
  panel->setGeometry(geometry);
  panel->setAutoFillBackground(true);
  QPalette palette = panel->palette();
  palette.setColor(role, colour);
  panel->setPalette(palette);
  return panel;
}

QColor WorkspaceColour() {
  return QColor(128, 128, 128);
}  // the classic application workspace

}  // namespace

QPixmap DrawTipPicture() {
  QPixmap picture(30, 42);
  picture.fill(Qt::transparent);
  QPainter p(&picture);
  p.setRenderHint(QPainter::Antialiasing);
  // A light bulb: glass, glow lines and the screw base.
  QRadialGradient glass(QPointF(12, 11), 14);
  glass.setColorAt(0, QColor(255, 255, 235));
  glass.setColorAt(1, QColor(250, 220, 80));
  p.setPen(QPen(QColor(120, 90, 20), 1.2));
  p.setBrush(glass);
  QPainterPath bulb;
  bulb.moveTo(9, 29);
  bulb.cubicTo(9, 22, 2, 20, 2, 13);
  bulb.cubicTo(2, 6, 8, 1, 15, 1);
  bulb.cubicTo(22, 1, 28, 6, 28, 13);
  bulb.cubicTo(28, 20, 21, 22, 21, 29);
  bulb.closeSubpath();
  p.drawPath(bulb);
  p.setPen(QPen(QColor(200, 150, 30), 1));
  p.drawLine(QPointF(12, 28), QPointF(13, 17));
  p.drawLine(QPointF(18, 28), QPointF(17, 17));
  p.drawArc(QRectF(12, 14, 6, 5), 0, 180 * 16);
  p.setPen(QPen(QColor(70, 70, 70), 1));
  p.setBrush(QColor(170, 170, 175));
  for (int i = 0; i < 3; ++i) p.drawRoundedRect(QRectF(9, 30 + i * 3.2, 12, 3), 1, 1);
  p.setBrush(QColor(60, 60, 60));
  p.drawEllipse(QRectF(12.5, 39, 5, 2.5));
  return picture;
}

TTipOfTheDayForm::TTipOfTheDayForm(QWidget* parent) : TSLDialog(parent) {
  setObjectName("TipOfTheDayForm");
  setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                 Qt::WindowCloseButtonHint | Qt::CustomizeWindowHint);
  setWindowModality(Qt::ApplicationModal);
  setFixedSize(441, 249);
  SetDialogFont(this, kDialogFontName);
  SetHelpContext(this, kHelpDefault);

  auto* frame = new QFrame(this);
  frame->setObjectName("pTip");
  frame->setGeometry(8, 8, 425, 201);
  frame->setFrameShape(QFrame::Panel);
  frame->setFrameShadow(QFrame::Sunken);
  frame->setLineWidth(1);
  pTip = frame;

  pImage = NewPanel(pTip, "pImage", QRect(1, 1, 72, 199), QPalette::Window, WorkspaceColour());
  imgIcon = new QLabel(pImage);
  imgIcon->setObjectName("imgIcon");
  imgIcon->setGeometry(21, 24, 30, 42);
  imgIcon->setAttribute(Qt::WA_TranslucentBackground);
  imgIcon->setPixmap(DrawTipPicture());

  pMessage = NewPanel(pTip, "pMessage", QRect(73, 1, 351, 199), QPalette::Window, Qt::white);
  pTop = NewPanel(pMessage, "pTop", QRect(0, 0, 351, 34), QPalette::Window, Qt::white);
  lbl01 = new QLabel(pTop);
  lbl01->setObjectName("lbl01");
  lbl01->setGeometry(8, 4, 335, 28);
  QFont heading(QString::fromLatin1(kDialogFontName));
  heading.setPointSize(14);
  heading.setBold(true);
  lbl01->setFont(heading);
  pLine = NewPanel(pMessage, "pLine", QRect(0, 34, 351, 2), QPalette::Window, WorkspaceColour());
  lblMessage = new QLabel(pMessage);
  lblMessage->setObjectName("lblMessage");
  lblMessage->setGeometry(8, 40, 337, 153);
  lblMessage->setWordWrap(true);
  lblMessage->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  lblMessage->setTextFormat(Qt::PlainText);

  chkShowTips = new QCheckBox(this);
  chkShowTips->setObjectName("chkShowTips");
  chkShowTips->setGeometry(16, 216, 240, 17);
  cmdNextTip = new QPushButton(this);
  cmdNextTip->setObjectName("cmdNextTip");
  cmdNextTip->setGeometry(272, 216, 75, 25);
  cmdNextTip->setAutoDefault(true);
  cmdClose = new QPushButton(this);
  cmdClose->setObjectName("cmdClose");
  cmdClose->setGeometry(352, 216, 75, 25);
  cmdClose->setDefault(true);

  setWindowTitle(ToQ(Text(Str::TipCaption)));
  lbl01->setText(ToQ(Text(Str::TipHeading)));
  chkShowTips->setText(ToQ(Text(Str::TipShowAtStartup)));
  cmdNextTip->setText(ToQ(Text(Str::TipNext)));
  cmdClose->setText(ToQ(Text(Str::TipClose)));

  connect(cmdNextTip, &QPushButton::clicked, this, &TTipOfTheDayForm::cmdNextTipClick);
  connect(cmdClose, &QPushButton::clicked, this, &QDialog::close);
}

bool TTipOfTheDayForm::LoadTips(const TSLApplication& Descriptor, bool ShowTips) {
  SetDialogFont(this, Descriptor.FontName);
  QFont heading = lbl01->font();
  heading.setFamily(font().family());
  lbl01->setFont(heading);
  const bool english = Descriptor.English;
  setWindowTitle(ToQ(Text(Str::TipCaption, english)));
  lbl01->setText(ToQ(Text(Str::TipHeading, english)));
  chkShowTips->setText(ToQ(Text(Str::TipShowAtStartup, english)));
  cmdNextTip->setText(ToQ(Text(Str::TipNext, english)));
  cmdClose->setText(ToQ(Text(Str::TipClose, english)));

  chkShowTips->setChecked(ShowTips);
  lblMessage->clear();
  try {
    Tips = ReadTipFile(Descriptor.TipFile);
    if (Tips.empty()) return false;
    ShuffleStrings(Tips);
    TipIndex = 0;
    ShowTip(TipIndex);
  } catch (...) {
    // An unreadable file: the dialog shows with an empty tip.
  }
  return true;
}

void TTipOfTheDayForm::ShowTip(int index) {
  if (index >= 0 && index < int(Tips.size())) lblMessage->setText(ToQ(Tips[size_t(index)]));
}

void TTipOfTheDayForm::cmdNextTipClick() {
  if (TipIndex < int(Tips.size()) - 1)
    ++TipIndex;
  else
    TipIndex = 0;
  ShowTip(TipIndex);
}

bool ShowTipOfTheDay(const TSLApplication& Descriptor, bool ShowTips, bool Asked) {
  bool result = ShowTips;
  if (!Asked && !ShowTips) return result;
  if (!Descriptor.TipFile.empty() && FileExistsSafe(Descriptor.TipFile)) {
    auto form = std::make_unique<TTipOfTheDayForm>();
    if (Descriptor.Icon != nullptr)
      form->setWindowIcon(*static_cast<const QIcon*>(Descriptor.Icon));
    if (form->LoadTips(Descriptor, ShowTips)) {
      CentreOver(form.get(), VLMNMain);
      form->exec();
    }
    result = form->chkShowTips->isChecked();
  } else {
    if (Asked)
      SLMessage(SecretText(TSLSecret::TipFileMissing, Descriptor.English), Descriptor.Title,
                smtWarning, smbOK, 1, LanguageOf(Descriptor.English), Descriptor.FontName);
    result = false;
  }
  return result;
}
