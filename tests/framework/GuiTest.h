#pragma once
// Helpers for driving modal dialogs from a test: the action runs once the
// next modal dialog is on screen, while the code under test waits in exec().
#include <QApplication>
#include <QTimer>
#include <QWidget>
#include <functional>

template <typename T = QWidget>
T* Find(QWidget* parent, const char* name) {
  return parent->findChild<T*>(QString::fromLatin1(name));
}

// Runs `act` with the active modal dialog as soon as one is visible.
inline void WhenModal(std::function<void(QWidget*)> act) {
  auto* timer = new QTimer(qApp);
  timer->setInterval(2);
  QObject::connect(timer, &QTimer::timeout, [timer, act] {
    QWidget* dialog = QApplication::activeModalWidget();
    if (dialog == nullptr || !dialog->isVisible()) return;
    timer->stop();
    timer->deleteLater();
    act(dialog);
  });
  timer->start();
}

// The widget that has the keyboard focus in the dialog (the dialog itself when none).
inline QWidget* FocusIn(QWidget* dialog) {
  QWidget* focus = dialog->focusWidget();
  return focus != nullptr ? focus : dialog;
}
