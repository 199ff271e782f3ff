#include "ui/main/PasteHost.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QPainter>
#include <QStatusBar>
#include <QTimer>
#include <QWindow>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "app/Strings.h"
#include "framework/SLAppEvents.h"
#include "framework/SLDialogCommon.h"
#include "framework/SLExceptions.h"
#include "platform/Desktop.h"
#ifdef VELLUMIN_X11
#include "platform/linux/X11Desktop.h"
#if QT_CONFIG(xcb)
#include <QtGui/private/qtx11extras_p.h>
#include <xcb/xcb.h>
#endif
#endif

namespace {

#if defined(VELLUMIN_X11) && QT_CONFIG(xcb)
// Whether a window of this client (Qt's connection) owns the selection.
bool OwnSelection(xcb_connection_t* connection, const char* name) {
  xcb_intern_atom_reply_t* atom = xcb_intern_atom_reply(
      connection, xcb_intern_atom(connection, 0, static_cast<uint16_t>(strlen(name)), name),
      nullptr);
  if (atom == nullptr) return false;
  xcb_get_selection_owner_reply_t* owner = xcb_get_selection_owner_reply(
      connection, xcb_get_selection_owner(connection, atom->atom), nullptr);
  free(atom);
  if (owner == nullptr) return false;
  const xcb_setup_t* setup = xcb_get_setup(connection);
  const bool ours = owner->owner != XCB_NONE &&
                    (owner->owner & ~setup->resource_id_mask) == setup->resource_id_base;
  free(owner);
  return ours;
}
#endif

// The clipboard and, where the desktop has one, the primary selection: X
// terminals paste the selection with Shift+Insert.
class TQtClipboardWriter : public IClipboardWriter {
 public:
  bool SetText(const std::string& text) override {
    QClipboard* clipboard = QGuiApplication::clipboard();
    const QString value = ToQ(text);
#if defined(VELLUMIN_X11) && QT_CONFIG(xcb)
    // Qt takes a selection with the time of the last event it saw. A click
    // that came another way (a tray host over D-Bus) leaves that time stale,
    // and the server ignores a take older than the owner's: the take gets a
    // current server time, and is confirmed before anything is typed.
    const bool x11 = QX11Info::isPlatformX11();
    if (x11) QX11Info::setAppTime(QX11Info::getTimestamp());
#endif
    clipboard->setText(value, QClipboard::Clipboard);
    const bool selection = clipboard->supportsSelection();
    if (selection) clipboard->setText(value, QClipboard::Selection);
#if defined(VELLUMIN_X11) && QT_CONFIG(xcb)
    if (x11) {
      xcb_connection_t* connection = QX11Info::connection();
      return OwnSelection(connection, "CLIPBOARD") &&
             (!selection || OwnSelection(connection, "PRIMARY"));
    }
#endif
    return true;
  }
};

// A paste that found the clipboard kept by another program typed nothing:
// the user hears of it once the click's handling is over.
void ReportOutcome(TPasteOutcome outcome) {
  if (outcome != TPasteOutcome::NotOnClipboard) return;
  QTimer::singleShot(0, qApp, [] {
    aeMainException(qApp, std::make_exception_ptr(ESLException(Text(Str::MainClipboardNotTaken),
                                                               std::string(), smtWarning)));
  });
}

// Lets the toolkit's own connection catch up (a closing menu's keyboard grab,
// the selection ownership) before keys go out on another connection.
void SyncToolkitDisplay() {
#if defined(VELLUMIN_X11) && QT_CONFIG(xcb)
  if (auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>())
    X11SyncDisplay(x11->display());
#endif
}

}  // namespace

namespace {
bool gReachesWindows = false;
}

bool DesktopSeamsReachWindows() {
  return gReachesWindows;
}

void InstallDesktopSeams() {
  static TQtClipboardWriter clipboard;
  SetClipboardWriter(&clipboard);
#ifdef VELLUMIN_X11
  if (QGuiApplication::platformName() == QLatin1String("xcb")) {
    static std::unique_ptr<TX11Desktop> desktop =
        TX11Desktop::Open([](int delayMs, std::function<void()> task) {
          QTimer::singleShot(delayMs, Qt::PreciseTimer, qApp, std::move(task));
        });
    if (desktop) {
      SetWindowSystem(desktop.get());
      SetKeyInjector(desktop.get());
      gReachesWindows = true;
    }
  }
#endif
}

namespace {

// The "Last Window" panel: a caption of any length is drawn cut to the panel
// with an ellipsis, and never asks for more width, so the window keeps the
// size the user or the stored placement gave it. text() stays the whole text.
class TElidedLabel : public QLabel {
 public:
  explicit TElidedLabel(QWidget* parent) : QLabel(parent) {
    setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
  }

  QString ShownText() const {
    return fontMetrics().elidedText(text(), Qt::ElideRight, contentsRect().width());
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    painter.setPen(palette().color(foregroundRole()));
    painter.drawText(contentsRect(), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                     ShownText());
  }
};

}  // namespace

TPasteHost::TPasteHost(QMainWindow* mainWindow) : QObject(mainWindow), mainWindow_(mainWindow) {
  setObjectName("PasteHost");
  InstallDesktopSeams();
  lastWindowLabel_ = new TElidedLabel(mainWindow);
  lastWindowLabel_->setObjectName("sbLastWindow");
  // Window titles are other programs' texts: never markup (rich text would
  // load the images and links a page title names).
  lastWindowLabel_->setTextFormat(Qt::PlainText);
  mainWindow->statusBar()->addWidget(lastWindowLabel_, 1);
  showLastWindow_ = [this](const QString& text) { lastWindowLabel_->setText(text); };

  tTracking = new QTimer(this);
  tTracking->setObjectName("tTracking");
  tTracking->setInterval(250);
  connect(tTracking, &QTimer::timeout, this, &TPasteHost::tTrackingTimer);
  tTracking->start();
}

void TPasteHost::SetTrayMenu(QMenu* menu) {
  trayMenu_ = menu;
}

void TPasteHost::SetLastWindowPanel(std::function<void(const QString&)> show) {
  showLastWindow_ = std::move(show);
}

void TPasteHost::tTrackingTimer() {
  // An open tray menu is the foreground window on Windows (Qt brings a tray
  // menu to the front, so that a click elsewhere closes it): tracking it
  // would forget the window the user is about to paste into and disable the
  // menu's own entries. The user is choosing; what was remembered stays.
  if (trayMenu_ != nullptr && trayMenu_->isVisible()) return;
  TrackForegroundWindow(*this);
  EnableTrayItems(trayMenu_ ? this : nullptr);
}

void TPasteHost::PasteItemClick(QAction* entry, const TSLList<TPasteItem>& trayItems,
                                TPasteDone done) {
  PasteTag(TrayEntryTag(entry), trayItems, std::move(done));
}

void TPasteHost::PasteTag(int tag, const TSLList<TPasteItem>& trayItems, TPasteDone done) {
  SyncToolkitDisplay();
  ::PasteItemClick(trayItems, tag, [done = std::move(done)](TPasteOutcome o) {
    ReportOutcome(o);
    if (done) done(o);
  });
}

TWindowHandle TPasteHost::MainWindowHandle() {
  // The top-level window's native id (the X window id under xcb); none while
  // it has no native window. Asked afresh: changing the window flags
  // (always on top) makes a new native window.
  return static_cast<TWindowHandle>(mainWindow_->window()->internalWinId());
}

bool TPasteHost::IsOwnWindow(TWindowHandle window) {
  if (window == kNoWindow) return false;
  if (window == MainWindowHandle()) return true;
  // Every native window the program has now: new window flags (always on
  // top) give the main window a new one, and dialogs have their own.
  for (QWindow* own : QGuiApplication::allWindows())
    if (own->handle() != nullptr && static_cast<TWindowHandle>(own->winId()) == window) return true;
  return false;
}

void TPasteHost::ShowLastWindow(const std::string& text) {
  if (showLastWindow_) showLastWindow_(ToQ(text));
}

int TPasteHost::EntryCount() {
  return trayMenu_ ? static_cast<int>(trayMenu_->actions().size()) : 0;
}

int TPasteHost::EntryTag(int index) {
  return TrayEntryTag(trayMenu_->actions().at(index));
}

void TPasteHost::SetEntryEnabled(int index, bool enabled) {
  trayMenu_->actions().at(index)->setEnabled(enabled);
}

int TrayEntryTag(const QAction* entry) {
  if (entry == nullptr) return -1;
  bool ok = false;
  const int tag = entry->data().toInt(&ok);
  return ok ? tag : -1;
}
