#include "framework/SLDialogCommon.h"
#include <QKeyEvent>

#include <QFontDatabase>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

bool IsFontInstalled(const std::string& name) {
  if (name.empty()) return false;
  return QFontDatabase::families().contains(ToQ(name), Qt::CaseInsensitive);
}

void SetDialogFont(QWidget* dialog, const std::string& fontName) {
  QFont font(ToQ(fontName.empty() ? std::string(kDialogFontName) : fontName));
  font.setPointSize(8);
  dialog->setFont(font);
}

void ApplyDialogFont(QWidget* dialog, const std::string& fontName) {
  SetDialogFont(dialog, IsFontInstalled(fontName) ? fontName : std::string(kDialogFontName));
}

QLabel* NewPicture(QWidget* parent, const char* name, QStyle::StandardPixmap symbol) {
  auto* label = new QLabel(parent);
  label->setObjectName(name);
  label->setGeometry(8, 8, 32, 32);
  label->setAttribute(Qt::WA_TranslucentBackground);
  label->setPixmap(parent->style()->standardIcon(symbol, nullptr, parent).pixmap(32, 32));
  label->hide();
  return label;
}

QString ApplicationTitle() {
  return QGuiApplication::applicationDisplayName();
}

void CentreOnScreen(QWidget* window) {
  QScreen* screen = QGuiApplication::primaryScreen();
  if (screen == nullptr) return;
  QRect area = screen->availableGeometry();
  window->move(area.center() - QPoint(window->width() / 2, window->height() / 2));
}

void CentreOver(QWidget* window, QWidget* over) {
  if (over == nullptr || !over->isVisible()) {
    CentreOnScreen(window);
    return;
  }
  QRect frame = over->frameGeometry();
  window->move(frame.center() - QPoint(window->width() / 2, window->height() / 2));
}

QString DisplayLines(const std::string& s) {
  QString text = ToQ(s);
  text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
  return text;
}

QString FormatS(QString pattern, std::initializer_list<QString> values) {
  qsizetype from = 0;
  for (const QString& value : values) {
    qsizetype at = pattern.indexOf(QStringLiteral("%s"), from);
    if (at < 0) break;
    pattern.replace(at, 2, value);
    from = at + value.size();
  }
  return pattern;
}

void TSLEscapeDialog::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape) {
    event->accept();  // closes on release
    return;
  }
  QDialog::keyPressEvent(event);
}

void TSLEscapeDialog::keyReleaseEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape && !event->isAutoRepeat()) {
    event->accept();
    close();
    return;
  }
  QDialog::keyReleaseEvent(event);
}
