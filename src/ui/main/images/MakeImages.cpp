// Draws the main window's pictures: the four tree images, the fifteen command
// images and the program icon. Each picture is drawn on a 16-unit grid and
// written at 16 pixels and at 32 pixels (the "@2x" file that Qt picks on
// high-density screens); the program icon also at the usual theme sizes.
// The PNG files are kept in the repository; run this again after a change:
//   g++ -std=c++20 -fPIC MakeImages.cpp $(pkg-config --cflags --libs Qt6Gui) -o /tmp/make-images
//   QT_QPA_PLATFORM=offscreen /tmp/make-images <this folder>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <functional>
#include <vector>

namespace {

using Draw = std::function<void(QPainter&)>;

const QColor kOutline(60, 60, 70);
const QColor kPaper(252, 252, 252);
const QColor kLine(90, 120, 180);
const QColor kFolder(238, 196, 80);
const QColor kFolderDark(184, 138, 40);
const QColor kBlue(40, 100, 190);
const QColor kRed(200, 40, 40);
const QColor kGreen(40, 150, 60);

QPen Pen(const QColor& c, double w = 1.0) {
  QPen p(c, w);
  p.setJoinStyle(Qt::RoundJoin);
  p.setCapStyle(Qt::RoundCap);
  return p;
}

void Page(QPainter& p, double x, double y, double w, double h, bool lines = true) {
  QPainterPath path;
  path.moveTo(x, y);
  path.lineTo(x + w - 3, y);
  path.lineTo(x + w, y + 3);
  path.lineTo(x + w, y + h);
  path.lineTo(x, y + h);
  path.closeSubpath();
  p.setPen(Pen(kOutline));
  p.setBrush(kPaper);
  p.drawPath(path);
  p.drawLine(QPointF(x + w - 3, y), QPointF(x + w - 3, y + 3));
  p.drawLine(QPointF(x + w - 3, y + 3), QPointF(x + w, y + 3));
  if (!lines) return;
  p.setPen(Pen(kLine));
  for (double ly = y + 5; ly < y + h - 1; ly += 2) p.drawLine(QPointF(x + 2, ly), QPointF(x + w - 2, ly));
}

void ClosedFolder(QPainter& p, double dx = 0, double dy = 0) {
  QPainterPath tab;
  tab.moveTo(1.5 + dx, 4.5 + dy);
  tab.lineTo(2.5 + dx, 2.5 + dy);
  tab.lineTo(6.5 + dx, 2.5 + dy);
  tab.lineTo(7.5 + dx, 4.5 + dy);
  tab.closeSubpath();
  p.setPen(Pen(kFolderDark));
  p.setBrush(kFolderDark.lighter(130));
  p.drawPath(tab);
  p.setBrush(kFolder);
  p.drawRoundedRect(QRectF(1.5 + dx, 4.5 + dy, 13, 9), 1, 1);
}

void OpenFolder(QPainter& p) {
  ClosedFolder(p);
  QPainterPath front;
  front.moveTo(3.5, 7.5);
  front.lineTo(15.5, 7.5);
  front.lineTo(13.5, 13.5);
  front.lineTo(1.5, 13.5);
  front.closeSubpath();
  p.setPen(Pen(kFolderDark));
  p.setBrush(kFolder.lighter(115));
  p.drawPath(front);
}

void Arrow(QPainter& p, bool up, const QColor& c) {
  QPainterPath a;
  if (up) {
    a.moveTo(8, 1.5);
    a.lineTo(14.5, 8);
    a.lineTo(10.5, 8);
    a.lineTo(10.5, 14.5);
    a.lineTo(5.5, 14.5);
    a.lineTo(5.5, 8);
    a.lineTo(1.5, 8);
  } else {
    a.moveTo(8, 14.5);
    a.lineTo(14.5, 8);
    a.lineTo(10.5, 8);
    a.lineTo(10.5, 1.5);
    a.lineTo(5.5, 1.5);
    a.lineTo(5.5, 8);
    a.lineTo(1.5, 8);
  }
  a.closeSubpath();
  p.setPen(Pen(c.darker(140)));
  p.setBrush(c);
  p.drawPath(a);
}

void Plus(QPainter& p, double cx, double cy, const QColor& c) {
  p.setPen(Pen(Qt::white, 4));
  p.drawLine(QPointF(cx - 3, cy), QPointF(cx + 3, cy));
  p.drawLine(QPointF(cx, cy - 3), QPointF(cx, cy + 3));
  p.setPen(Pen(c, 2));
  p.drawLine(QPointF(cx - 3, cy), QPointF(cx + 3, cy));
  p.drawLine(QPointF(cx, cy - 3), QPointF(cx, cy + 3));
}

void Pin(QPainter& p, bool on) {
  const QColor head = on ? kRed : QColor(130, 130, 140);
  p.save();
  if (!on) {
    p.translate(8, 8);
    p.rotate(35);
    p.translate(-8, -8);
  }
  p.setPen(Pen(QColor(90, 90, 90), 1.2));
  p.drawLine(QPointF(8, 10), QPointF(8, 15));
  p.setPen(Pen(head.darker(150)));
  p.setBrush(head);
  p.drawRoundedRect(QRectF(5.5, 1.5, 5, 5), 1, 1);
  p.drawRect(QRectF(3.5, 7.5, 9, 2.5));
  p.setBrush(head.lighter(120));
  p.drawRect(QRectF(6.5, 6, 3, 1.5));
  p.restore();
}

void Help(QPainter& p) {
  p.setPen(Pen(kBlue.darker(140)));
  p.setBrush(kBlue);
  p.drawEllipse(QRectF(1.5, 1.5, 13, 13));
  p.setPen(Pen(Qt::white, 2));
  QPainterPath q;
  q.moveTo(5.8, 6.2);
  q.cubicTo(5.8, 3.2, 10.4, 3.2, 10.4, 6.0);
  q.cubicTo(10.4, 7.8, 8, 8, 8, 9.8);
  p.setBrush(Qt::NoBrush);
  p.drawPath(q);
  p.setPen(Qt::NoPen);
  p.setBrush(Qt::white);
  p.drawEllipse(QPointF(8, 12.2), 1.2, 1.2);
}

void Scissors(QPainter& p) {
  p.setPen(Pen(QColor(70, 70, 80), 1.5));
  p.drawLine(QPointF(4, 1.5), QPointF(11, 10.5));
  p.drawLine(QPointF(12, 1.5), QPointF(5, 10.5));
  p.setPen(Pen(kRed.darker(120), 1.5));
  p.setBrush(Qt::white);
  p.drawEllipse(QRectF(1.5, 10, 4.5, 4.5));
  p.drawEllipse(QRectF(10, 10, 4.5, 4.5));
}

void CopyPages(QPainter& p) {
  Page(p, 1.5, 1.5, 8, 10);
  Page(p, 6.5, 4.5, 8, 10);
}

void Clipboard(QPainter& p) {
  p.setPen(Pen(QColor(110, 70, 30)));
  p.setBrush(QColor(180, 120, 60));
  p.drawRoundedRect(QRectF(1.5, 2.5, 10, 12), 1, 1);
  p.setBrush(QColor(200, 200, 210));
  p.setPen(Pen(QColor(90, 90, 100)));
  p.drawRoundedRect(QRectF(4.5, 1.5, 4, 3), 1, 1);
  Page(p, 6.5, 5.5, 8, 9.5);
}

void Cross(QPainter& p) {
  p.setPen(Pen(kRed.darker(150), 4));
  p.drawLine(QPointF(3.5, 3.5), QPointF(12.5, 12.5));
  p.drawLine(QPointF(12.5, 3.5), QPointF(3.5, 12.5));
  p.setPen(Pen(kRed, 2.4));
  p.drawLine(QPointF(3.5, 3.5), QPointF(12.5, 12.5));
  p.drawLine(QPointF(12.5, 3.5), QPointF(3.5, 12.5));
}

void Magnifier(QPainter& p) {
  p.setPen(Pen(QColor(80, 60, 40), 3));
  p.drawLine(QPointF(10, 10), QPointF(14.5, 14.5));
  p.setPen(Pen(QColor(70, 70, 80), 1.5));
  p.setBrush(QColor(190, 225, 250));
  p.drawEllipse(QRectF(1.5, 1.5, 9, 9));
  p.setPen(Pen(Qt::white, 1));
  p.drawArc(QRectF(3.5, 3.5, 5, 5), 100 * 16, 80 * 16);
}

void Pencil(QPainter& p) {
  p.save();
  p.translate(11, 10);
  p.rotate(45);
  p.setPen(Pen(QColor(120, 80, 20)));
  p.setBrush(QColor(240, 180, 40));
  p.drawRect(QRectF(-1.5, -6, 3, 8));
  p.setBrush(QColor(240, 210, 170));
  QPainterPath tip;
  tip.moveTo(-1.5, 2);
  tip.lineTo(1.5, 2);
  tip.lineTo(0, 5);
  tip.closeSubpath();
  p.drawPath(tip);
  p.restore();
}

void Library(QPainter& p) {
  // A filing box holding a note: the root of the library.
  p.setPen(Pen(kBlue.darker(150)));
  p.setBrush(kBlue.lighter(120));
  p.drawRoundedRect(QRectF(1.5, 6.5, 13, 8), 1, 1);
  Page(p, 3.5, 1.5, 9, 9, true);
  p.setPen(Pen(kBlue.darker(150)));
  p.setBrush(kBlue);
  p.drawRoundedRect(QRectF(1.5, 8.5, 13, 6), 1, 1);
  p.setPen(Pen(Qt::white));
  p.drawLine(QPointF(6, 11.5), QPointF(10, 11.5));
}

void ProgramIcon(QPainter& p) {
  p.setPen(Pen(kBlue.darker(160)));
  p.setBrush(kBlue);
  p.drawRoundedRect(QRectF(0.5, 0.5, 15, 15), 3, 3);
  Page(p, 3.5, 2.5, 9, 11, false);
  // A "V" stroke on the page.
  p.setPen(Pen(kBlue.darker(110), 1.8));
  p.drawLine(QPointF(5.5, 5.5), QPointF(8, 11));
  p.drawLine(QPointF(8, 11), QPointF(10.5, 5.5));
}

void Write(const QString& folder, const QString& name, const Draw& draw, int size) {
  QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  p.scale(size / 16.0, size / 16.0);
  draw(p);
  p.end();
  image.save(folder + "/" + name, "PNG");
}

}  // namespace

int main(int argc, char** argv) {
  QGuiApplication app(argc, argv);
  const QString folder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(".");
  const std::vector<std::pair<QString, Draw>> pictures = {
      {"tree0-root", Library},
      {"tree1-folder-open", OpenFolder},
      {"tree2-folder", [](QPainter& p) { ClosedFolder(p); }},
      {"tree3-item", [](QPainter& p) { Page(p, 2.5, 1.5, 11, 13); }},
      {"menu00-help", Help},
      {"menu01-cut", Scissors},
      {"menu02-copy", CopyPages},
      {"menu03-paste", Clipboard},
      {"menu04-remove", Cross},
      {"menu05-search", Magnifier},
      {"menu06-ontop-off", [](QPainter& p) { Pin(p, false); }},
      {"menu07-ontop-on", [](QPainter& p) { Pin(p, true); }},
      {"menu08-new-folder",
       [](QPainter& p) {
         ClosedFolder(p);
         Plus(p, 11.5, 11, kGreen);
       }},
      {"menu09-folder-open", OpenFolder},
      {"menu10-add-item",
       [](QPainter& p) {
         Page(p, 1.5, 1.5, 10, 13);
         Plus(p, 11.5, 11, kGreen);
       }},
      {"menu11-modify-item",
       [](QPainter& p) {
         Page(p, 1.5, 1.5, 10, 13);
         Pencil(p);
       }},
      {"menu12-item-to-folder",
       [](QPainter& p) {
         ClosedFolder(p, 0, 2);
         Page(p, 6.5, 0.5, 7, 9, false);
       }},
      {"menu13-move-up", [](QPainter& p) { Arrow(p, true, kBlue.lighter(130)); }},
      {"menu14-move-down", [](QPainter& p) { Arrow(p, false, kBlue.lighter(130)); }},
  };
  for (const auto& [name, draw] : pictures) {
    Write(folder, name + ".png", draw, 16);
    Write(folder, name + "@2x.png", draw, 32);
  }
  for (int size : {16, 32, 48, 64, 128, 256})
    Write(folder, QStringLiteral("kvlmn-%1.png").arg(size), ProgramIcon, size);
  return 0;
}
