#pragma once
// Driving the modal dialogs from the tests: the action runs once the next
// modal dialog is on screen, while the code under test waits in exec().
#include <QAbstractButton>
#include <QApplication>
#include <QEventLoop>
#include <QLabel>
#include <QPointer>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <ostream>

#include <gtest/gtest.h>

template <typename T = QWidget>
T* Find(QWidget* parent, const char* name) {
  T* child = parent->findChild<T*>(QString::fromLatin1(name));
  EXPECT_NE(child, nullptr) << name;
  return child;
}

// Runs `act` with the active modal dialog as soon as one is visible. `skip`
// dialogs already open (the owner of the one awaited) are passed over.
inline void WhenModal(std::function<void(QWidget*)> act, QWidget* skip = nullptr) {
  auto* timer = new QTimer(qApp);
  timer->setInterval(2);
  QObject::connect(timer, &QTimer::timeout, [timer, act, skip] {
    QWidget* dialog = QApplication::activeModalWidget();
    if (dialog == nullptr || dialog == skip || !dialog->isVisible()) return;
    timer->stop();
    timer->deleteLater();
    act(dialog);
  });
  timer->start();
}

// Lets the event loop go idle once, so the enabling routines run as they do
// when the user pauses.
inline void Idle() {
  QEventLoop loop;
  QTimer::singleShot(5, &loop, &QEventLoop::quit);
  loop.exec();
}

inline bool EnabledAfterIdle(QWidget* w) {
  Idle();
  return w->isEnabled();
}

// Answers the modal dialogs that open while it lives, in order: each new
// one gets the next step. A dialog that comes when no step is left is
// closed and its class and text are kept in `unexpected`. The steps run from
// a fresh timer, so a step may open further dialogs.
class ModalScript {
 public:
  using Step = std::function<void(QWidget*)>;
  explicit ModalScript(std::initializer_list<Step> steps) : steps_(steps) {
    // A modal dialog already on screen is not one that opens while the
    // script lives (a slow run would otherwise hand it the first step).
    for (QWidget* open : QApplication::topLevelWidgets())
      if (open->isVisible() && open->isModal()) seen_.append(open);
    timer_.setInterval(2);
    QObject::connect(&timer_, &QTimer::timeout, [this] { Poll(); });
    timer_.start();
  }
  bool Done() const { return next_ == steps_.size(); }
  QStringList unexpected;

 private:
  void Poll() {
    QWidget* dialog = QApplication::activeModalWidget();
    if (dialog == nullptr || !dialog->isVisible()) return;
    for (const QPointer<QWidget>& seen : seen_)
      if (seen == dialog) return;
    seen_.append(dialog);
    if (next_ == steps_.size()) {
      QStringList texts;
      for (QLabel* label : dialog->findChildren<QLabel*>()) texts << label->text();
      unexpected << QString::fromLatin1(dialog->metaObject()->className()) + ":" +
                        texts.join(QLatin1Char('|'));
      QTimer::singleShot(0, dialog, [dialog] { dialog->close(); });
      return;
    }
    Step step = steps_[next_++];
    QPointer<QWidget> target = dialog;
    QTimer::singleShot(0, [step, target] {
      if (target) step(target);
    });
  }

  std::vector<Step> steps_;
  size_t next_ = 0;
  QList<QPointer<QWidget>> seen_;
  QTimer timer_;
};

// The button of a message dialog whose caption is `text` ("&Yes").
inline void ClickButton(QWidget* dialog, const QString& text) {
  for (QAbstractButton* b : dialog->findChildren<QAbstractButton*>())
    if (b->text() == text && b->isVisible()) {
      b->click();
      return;
    }
  QStringList seen;
  for (QAbstractButton* b : dialog->findChildren<QAbstractButton*>())
    seen << b->text() + (b->isVisible() ? "" : " (hidden)");
  ADD_FAILURE() << "no button " << text.toStdString() << " in "
                << dialog->metaObject()->className() << (dialog->isVisible() ? "" : " (hidden)")
                << ": " << seen.join(", ").toStdString();
}

inline void PrintTo(const QString& s, std::ostream* os) {
  *os << '"' << s.toStdString() << '"';
}
