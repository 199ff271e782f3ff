#include "ui/dialogs/DialogParts.h"

#include <QAbstractButton>
#include <QAction>
#include <QKeyEvent>

#include "app/SLApplication.h"
#include "framework/SLDialogKeys.h"
#include "framework/SLMsgFrm.h"

std::string DialogCaption() {
  return SLApplication != nullptr ? SLApplication->Title : std::string(kApplicationTitle);
}

bool DialogEnglish() {
  return SLApplication == nullptr || SLApplication->English;
}

std::string DialogFontName() {
  return SLApplication != nullptr ? SLApplication->FontName : std::string();
}

TSLMessageResult AskUser(const std::string& text, TSLMessageType type, TSLMessageButtons buttons,
                         int defaultButton) {
  return SLMessage(text, DialogCaption(), type, buttons, static_cast<int16_t>(defaultButton),
                   LanguageOf(DialogEnglish()), DialogFontName());
}

void BindButton(QAbstractButton* button, QAction* action) {
  auto sync = [button, action] { button->setEnabled(action->isEnabled()); };
  sync();
  QObject::connect(action, &QAction::changed, button, sync);
  QObject::connect(button, &QAbstractButton::clicked, action, [action] { action->trigger(); });
}

namespace {

class TDialogKeyRelay : public QObject {
 public:
  TDialogKeyRelay(QWidget* dialog, bool escape)
      : QObject(dialog), dialog_(dialog), escape_(escape) {}

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::KeyPress) {
      // A press inside the dialog's own window; one a popup took is not.
      auto* widget = qobject_cast<QWidget*>(watched);
      if (escape_ && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape && widget != nullptr &&
          widget->window() == dialog_)
        NoteEscapePress(dialog_);
      return false;
    }
    if (event->type() != QEvent::KeyRelease) return false;
    auto* key = static_cast<QKeyEvent*>(event);
    const bool handled = key->key() == Qt::Key_F1 || (escape_ && key->key() == Qt::Key_Escape);
    if (!handled || key->isAutoRepeat()) return false;
    if (key->key() == Qt::Key_Escape && !TakeEscapePress(dialog_)) return true;
    if (SLApplication != nullptr)
      HandleDialogKey(key->key(), dialog_, *SLApplication);
    else if (key->key() == Qt::Key_Escape)
      dialog_->close();
    return true;
  }

 private:
  QWidget* dialog_;
  bool escape_;
};

}  // namespace

void RelayDialogKeys(QWidget* dialog, bool escape) {
  WatchEscapePresses();
  auto* relay = new TDialogKeyRelay(dialog, escape);
  for (QWidget* child : dialog->findChildren<QWidget*>()) child->installEventFilter(relay);
}

TTypedCharFilter::TTypedCharFilter(QObject* owner, QString refused)
    : QObject(owner), refused_(std::move(refused)) {}

void TTypedCharFilter::Watch(QWidget* widget) {
  widget->installEventFilter(this);
}

bool TTypedCharFilter::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress) {
    const QString text = static_cast<QKeyEvent*>(event)->text();
    if (text.size() == 1 && refused_.contains(text.at(0))) return true;
  }
  return QObject::eventFilter(watched, event);
}
