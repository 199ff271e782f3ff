#include "framework/SLDialogKeys.h"

#include <QApplication>
#include <QKeyEvent>
#include <QVariant>

#include "app/SLApplication.h"
#include "framework/SLHelp.h"

namespace {
constexpr const char* kHelpContextProperty = "helpContext";
constexpr const char* kEscapePressedProperty = "escapePressed";

// Whether the Escape press being delivered began while a popup (a drop-down
// list, a completer, a menu) was open. The popup may already have closed by
// the time the press reaches a widget of the dialog: a drop-down list closes
// on the shortcut check that comes first, and the press then goes to the
// combo box. So the state is taken from the first event of each press.
class TEscapeOrigin : public QObject {
 public:
  bool PopupAtPress() const { return popupAtPress_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    const QEvent::Type type = event->type();
    if (type != QEvent::ShortcutOverride && type != QEvent::KeyPress && type != QEvent::KeyRelease)
      return QObject::eventFilter(watched, event);
    if (static_cast<QKeyEvent*>(event)->key() != Qt::Key_Escape) return false;
    // One press is shortcut checks, then the press itself, each passed from
    // the window to the widget and on to its parents; its release ends it.
    if (type == QEvent::KeyRelease) {
      phase_ = Phase::None;
      return false;
    }
    const Phase now = type == QEvent::ShortcutOverride ? Phase::Override : Phase::Press;
    const bool begins = phase_ == Phase::None || (now == Phase::Override && phase_ == Phase::Press);
    if (begins) popupAtPress_ = QApplication::activePopupWidget() != nullptr;
    phase_ = now;
    return false;
  }

 private:
  enum class Phase { None, Override, Press };
  Phase phase_ = Phase::None;
  bool popupAtPress_ = false;
};

TEscapeOrigin* EscapeOrigin() {
  static TEscapeOrigin* origin = [] {
    auto* o = new TEscapeOrigin;
    if (qApp != nullptr) {
      o->setParent(qApp);
      qApp->installEventFilter(o);
    }
    return o;
  }();
  return origin;
}
}  // namespace

void SetHelpContext(QWidget* form, int context) {
  form->setProperty(kHelpContextProperty, context);
}

int HelpContext(const QWidget* form) {
  return form->property(kHelpContextProperty).toInt();
}

void HandleDialogKey(int Key, QWidget* Form, const TSLApplication& Descriptor) {
  if (Key == Qt::Key_Escape) Form->close();
  if (Key == Qt::Key_F1) ShowHelp(Descriptor, HelpContext(Form));
}

void WatchEscapePresses() {
  EscapeOrigin();
}

void NoteEscapePress(QWidget* Form) {
  if (!EscapeOrigin()->PopupAtPress()) Form->setProperty(kEscapePressedProperty, true);
}

bool TakeEscapePress(QWidget* Form) {
  const bool pressed = Form->property(kEscapePressedProperty).toBool();
  Form->setProperty(kEscapePressedProperty, false);
  return pressed;
}

void TSLDialog::showEvent(QShowEvent* event) {
  WatchEscapePresses();
  QDialog::showEvent(event);
}

void TSLDialog::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape) {
    NoteEscapePress(this);
    event->accept();
    return;
  }
  QDialog::keyPressEvent(event);
}

void TSLDialog::keyReleaseEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape && !event->isAutoRepeat() && !TakeEscapePress(this)) {
    event->accept();  // the press closed a popup, not this dialog
    return;
  }
  if (!event->isAutoRepeat()) {
    if (SLApplication != nullptr)
      HandleDialogKey(event->key(), this, *SLApplication);
    else if (event->key() == Qt::Key_Escape)
      close();
  }
  QDialog::keyReleaseEvent(event);
}
