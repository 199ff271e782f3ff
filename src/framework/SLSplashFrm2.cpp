#include "framework/SLSplashFrm2.h"

#include <QApplication>
#include <QLabel>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QWindow>
#include <memory>

#include "app/SLApplication.h"
#include "framework/SLCipher.h"
#include "framework/SLDialogCommon.h"

namespace {

std::unique_ptr<TSplashForm> gSplash;

QLabel* NewLabel(QWidget* parent, const char* name, QRect geometry, int pointSize) {
  auto* label = new QLabel(parent);
  label->setObjectName(name);
  label->setGeometry(geometry);
  label->setAttribute(Qt::WA_TranslucentBackground);
  label->setTextFormat(Qt::PlainText);
  QFont font(QString::fromLatin1(kDialogFontName));
  font.setPointSize(pointSize);
  label->setFont(font);
  return label;
}

void SetTextColour(QLabel* label, const QColor& colour) {
  QPalette palette = label->palette();
  palette.setColor(QPalette::WindowText, colour);
  label->setPalette(palette);
}

// One sheet of the stack on the splash: a parchment page with lines of text.
void DrawSheet(QPainter& p, QPointF centre, qreal angle, qreal lines) {
  p.save();
  p.translate(centre);
  p.rotate(angle);
  QRectF page(-70, -90, 140, 180);
  p.setPen(QPen(QColor(120, 100, 70), 1));
  p.setBrush(QColor(246, 238, 218));
  p.drawRoundedRect(page, 4, 4);
  p.setPen(QPen(QColor(150, 140, 120), 2));
  for (int i = 0; i < lines; ++i) {
    qreal y = -70 + i * 14;
    qreal right = (i % 4 == 3) ? 10 : 52;
    p.drawLine(QPointF(-54, y), QPointF(right, y));
  }
  p.restore();
}

}  // namespace

TSplashForm::TSplashForm(QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint) {
  setObjectName("SplashForm");
  setFixedSize(500, 400);
  setAutoFillBackground(true);
  QPalette palette = this->palette();
  palette.setColor(QPalette::Window, QColor(192, 192, 192));  // silver
  setPalette(palette);

  ImgSplash = new QLabel(this);
  ImgSplash->setObjectName("ImgSplash");
  ImgSplash->setGeometry(0, 0, 500, 400);

  lblCopyright = NewLabel(this, "lblCopyright", QRect(16, 280, 457, 11), 7);
  lblWarning = NewLabel(this, "lblWarning", QRect(16, 296, 457, 11), 7);
  lblWarning->setWordWrap(true);
  lblApplicationVersion = NewLabel(this, "lblApplicationVersion", QRect(16, 328, 225, 13), 8);
  lblApplicationVersion->setText(QStringLiteral("%s %s"));
  SetTextColour(lblApplicationVersion, Qt::black);
}

QPixmap DrawSplashPicture() {
  QPixmap picture(500, 400);
  QPainter p(&picture);
  p.setRenderHint(QPainter::Antialiasing);

  // Deep blue field over a silver foot where the version line sits.
  QLinearGradient sky(0, 0, 0, 318);
  sky.setColorAt(0, QColor(24, 52, 96));
  sky.setColorAt(1, QColor(58, 110, 165));
  p.fillRect(QRect(0, 0, 500, 318), sky);
  QLinearGradient foot(0, 318, 0, 400);
  foot.setColorAt(0, QColor(214, 214, 214));
  foot.setColorAt(1, QColor(184, 184, 184));
  p.fillRect(QRect(0, 318, 500, 82), foot);
  p.fillRect(QRect(0, 318, 500, 2), QColor(240, 240, 240));

  // A stack of pages with a quill across them.
  DrawSheet(p, QPointF(410, 150), 10, 9);
  DrawSheet(p, QPointF(396, 146), 2, 10);
  DrawSheet(p, QPointF(386, 144), -7, 11);
  QPainterPath quill;
  quill.moveTo(336, 250);
  quill.cubicTo(380, 170, 440, 90, 484, 40);
  quill.cubicTo(458, 110, 424, 180, 336, 250);
  p.setPen(QPen(QColor(90, 70, 40), 1.5));
  p.setBrush(QColor(255, 255, 255, 230));
  p.drawPath(quill);
  p.drawLine(QPointF(336, 250), QPointF(324, 268));

  // The name.
  QFont small(QStringLiteral("DejaVu Sans"));
  small.setPixelSize(16);
  small.setLetterSpacing(QFont::AbsoluteSpacing, 3);
  p.setFont(small);
  p.setPen(QColor(200, 218, 240));
  p.drawText(QRect(36, 70, 260, 24), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("KESTRELAY"));
  QFont title(QStringLiteral("DejaVu Serif"));
  title.setPixelSize(46);
  title.setBold(true);
  p.setFont(title);
  p.setPen(Qt::white);
  p.drawText(QRect(30, 92, 300, 70), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Vellumin"));
  p.fillRect(QRect(36, 168, 200, 3), QColor(246, 238, 218));
  QFont tag(QStringLiteral("DejaVu Sans"));
  tag.setPixelSize(14);
  tag.setItalic(true);
  p.setFont(tag);
  p.setPen(QColor(225, 232, 245));
  p.drawText(QRect(36, 180, 290, 44), Qt::AlignLeft | Qt::TextWordWrap,
             QStringLiteral("Your texts, typed where you work."));
  return picture;
}

QPixmap* LoadSplashBitmap() {
  try {
    auto bitmap = std::make_unique<QPixmap>(DrawSplashPicture());
    if (bitmap->isNull()) return nullptr;
    return bitmap.release();
  } catch (...) {
    return nullptr;
  }
}

void ShowSplash(const TSLApplication& Descriptor, const QPixmap* Bitmap, const QColor& TextColour) {
  gSplash = std::make_unique<TSplashForm>();
  TSplashForm& form = *gSplash;
  form.lblApplicationVersion->setText(FormatS(
      form.lblApplicationVersion->text(),
      {ToQ(SecretText(TSLSecret::LeadingWord, Descriptor.English)), ToQ(Descriptor.Version)}));
  form.lblCopyright->setText(ToQ(Descriptor.LegalNotice));
  SetTextColour(form.lblCopyright, TextColour);
  form.lblWarning->setText(ToQ(SecretText(TSLSecret::SplashWarning, Descriptor.English)));
  SetTextColour(form.lblWarning, TextColour);
  if (Bitmap != nullptr) form.ImgSplash->setPixmap(*Bitmap);
  CentreOnScreen(&form);
  form.show();
  // The window system exposes and the form paints itself while start-up
  // waits with the splash up: that wait runs the event loop, so nothing here
  // waits for the window to appear.
  QCoreApplication::processEvents();
}

void HideSplash() {
  gSplash.reset();
  QCoreApplication::processEvents();
}

TSplashForm* SplashForm() {
  return gSplash.get();
}
