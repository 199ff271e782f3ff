#include "framework/SLAboutFrm2.h"

#include <QFrame>
#include <QIcon>
#include <QLabel>
#include <QLinearGradient>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <memory>

#include "app/SLApplication.h"
#include "app/Strings.h"
#include "framework/SLCipher.h"
#include "framework/SLDialogCommon.h"
#include "framework/SLHelp.h"
#include "ui/main/frmMain.h"

namespace {

QWidget* NewPanel(QWidget* parent, const char* name, QRect geometry, const QColor& colour) {
  auto* panel = new QWidget(parent);
  panel->setObjectName(name);
  panel->setGeometry(geometry);
  panel->setAutoFillBackground(true);
  QPalette palette = panel->palette();
  palette.setColor(QPalette::Window, colour);
  panel->setPalette(palette);
  return panel;
}

QLabel* NewLabel(QWidget* parent, const char* name, QPoint at) {
  auto* label = new QLabel(parent);
  label->setObjectName(name);
  label->move(at);
  label->setTextFormat(Qt::PlainText);
  return label;
}

QPushButton* NewButton(QWidget* parent, const char* name, const QString& caption, QRect geometry) {
  auto* button = new QPushButton(caption, parent);
  button->setObjectName(name);
  button->setGeometry(geometry);
  return button;
}

QColor ToColor(const TSLColor& c) {
  return QColor(c.Red, c.Green, c.Blue);
}

void Recolour(QWidget* panel, const QColor& colour) {
  QPalette palette = panel->palette();
  palette.setColor(QPalette::Window, colour);
  panel->setPalette(palette);
}

}  // namespace

QPixmap DrawAboutPicture() {
  QPixmap picture(65, 249);
  QPainter p(&picture);
  QLinearGradient shade(0, 0, 65, 0);
  shade.setColorAt(0, QColor(96, 96, 96));
  shade.setColorAt(1, QColor(40, 40, 40));
  p.fillRect(picture.rect(), shade);
  p.setPen(QColor(255, 255, 255, 90));
  p.drawLine(0, 0, 64, 0);
  p.drawLine(0, 0, 0, 248);
  return picture;
}

TAboutForm::TAboutForm(QWidget* parent) : TSLDialog(parent) {
  setObjectName("AboutForm");
  setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                 Qt::WindowCloseButtonHint | Qt::CustomizeWindowHint);
  setWindowModality(Qt::ApplicationModal);
  setFixedSize(425, 382);
  setWindowTitle(QStringLiteral("About %s..."));
  SetDialogFont(this, kDialogFontName);
  SetHelpContext(this, kHelpDefault);

  imgAbout = new QLabel(this);
  imgAbout->setObjectName("imgAbout");
  imgAbout->setGeometry(16, 16, 65, 249);
  imgAbout->setPixmap(DrawAboutPicture());

  const QColor accent(58, 110, 165);
  pLeft = NewPanel(this, "pLeft", QRect(17, 17, 63, 247), accent);
  pIcon01 = NewPanel(pLeft, "pIcon01", QRect(6, 5, 50, 47), Qt::white);
  pIcon02 = NewPanel(pIcon01, "pIcon02", QRect(1, 1, 48, 45), accent);
  pIcon03 = NewPanel(pIcon02, "pIcon03", QRect(3, 3, 42, 39), Qt::white);
  imgApplicationIcon = new QLabel(pIcon03);
  imgApplicationIcon->setObjectName("imgApplicationIcon");
  imgApplicationIcon->setGeometry(5, 4, 32, 32);

  lblApplicationName = NewLabel(this, "lblApplicationName", QPoint(96, 16));
  lblApplicationVersion = NewLabel(this, "lblApplicationVersion", QPoint(96, 40));
  lblApplicationVersion->setText(QStringLiteral("%s %s"));
  lblCopyright = NewLabel(this, "lblCopyright", QPoint(96, 60));
  lblOtherCopyrights = NewLabel(this, "lblOtherCopyrights", QPoint(96, 96));
  lblOtherCopyrights->setFixedSize(305, 49);
  lblOtherCopyrights->setWordWrap(true);
  lblOtherCopyrights->setAlignment(Qt::AlignLeft | Qt::AlignTop);

  bvlSeparator = new QFrame(this);
  bvlSeparator->setObjectName("bvlSeparator");
  bvlSeparator->setGeometry(16, 272, 393, 2);
  bvlSeparator->setFrameShape(QFrame::HLine);
  bvlSeparator->setFrameShadow(QFrame::Sunken);

  cmdOK = NewButton(this, "cmdOK", QStringLiteral("&OK"), QRect(304, 280, 105, 25));
  cmdOK->setDefault(true);
  cmdSysInfo =
      NewButton(this, "cmdSysInfo", ToQ(Text(Str::AboutSysInfo)), QRect(304, 312, 105, 25));
  cmdSupport =
      NewButton(this, "cmdSupport", ToQ(Text(Str::AboutSupport)), QRect(304, 344, 105, 25));
  cmdOK->setFocus(Qt::OtherFocusReason);

  connect(cmdOK, &QPushButton::clicked, this, &QDialog::accept);
  connect(cmdSysInfo, &QPushButton::clicked, this, [] { RunSystemInfo(); });
  connect(cmdSupport, &QPushButton::clicked, this, [] {
    if (SLApplication != nullptr) ShowHelp(*SLApplication, kHelpTechSupport);
  });
}

void ShowAbout(const TSLApplication& Descriptor, const std::string& FontName) {
  auto form = std::make_unique<TAboutForm>();
  form->setWindowTitle(
      FormatS(ToQ(Text(Str::AboutCaption, Descriptor.English)), {ToQ(Descriptor.Title)}));
  SetDialogFont(form.get(), FontName);

  form->lblApplicationName->setText(ToQ(Descriptor.Title));
  QFont nameFont = form->font();
  nameFont.setPointSize(10);
  nameFont.setBold(true);
  form->lblApplicationName->setFont(nameFont);

  form->lblApplicationVersion->setText(FormatS(
      form->lblApplicationVersion->text(),
      {ToQ(SecretText(TSLSecret::LeadingWord, Descriptor.English)), ToQ(Descriptor.Version)}));
  form->lblCopyright->setText(ToQ(Descriptor.LegalNotice));
  form->lblOtherCopyrights->setText(DisplayLines(Descriptor.Credits));
  QFont creditsFont = form->font();
  creditsFont.setPointSize(7);
  form->lblOtherCopyrights->setFont(creditsFont);
  for (QLabel* label : {form->lblApplicationName, form->lblApplicationVersion, form->lblCopyright})
    label->adjustSize();

  if (Descriptor.Icon != nullptr)
    form->imgApplicationIcon->setPixmap(static_cast<const QIcon*>(Descriptor.Icon)->pixmap(32, 32));
  const QColor accent = ToColor(Descriptor.AccentColor);
  Recolour(form->pLeft, accent);
  Recolour(form->pIcon02, accent);

  form->cmdSysInfo->setText(ToQ(Text(Str::AboutSysInfo, Descriptor.English)));
  form->cmdSupport->setText(ToQ(Text(Str::AboutSupport, Descriptor.English)));

  CentreOver(form.get(), VLMNMain);
  form->exec();
}
