#include "ui/main/PasteHost.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QStatusBar>
#include <QTimer>
#include <memory>

#include "platform/Desktop.h"
#ifdef VELLUMIN_X11
#include "platform/linux/X11Desktop.h"
#endif

namespace {

// The clipboard and, where the desktop has one, the primary selection: X
// terminals paste the selection with Shift+Insert.
class TQtClipboardWriter : public IClipboardWriter {
 public:
  void SetText(const std::string& text) override {
    QClipboard* clipboard = QGuiApplication::clipboard();
    const QString value = QString::fromLocal8Bit(text.data(), static_cast<qsizetype>(text.size()));
    clipboard->setText(value, QClipboard::Clipboard);
    if (clipboard->supportsSelection()) clipboard->setText(value, QClipboard::Selection);
  }
};

// Lets the toolkit's own connection catch up (a closing menu's keyboard grab,
// the selection ownership) before keys go out on another connection.
void SyncToolkitDisplay() {
#if defined(VELLUMIN_X11) && QT_CONFIG(xcb)
  if (auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>())
    X11SyncDisplay(x11->display());
#endif
}

}  // namespace

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
    }
  }
#endif
}

TPasteHost::TPasteHost(QMainWindow* mainWindow) : QObject(mainWindow), mainWindow_(mainWindow) {
  setObjectName("PasteHost");
  InstallDesktopSeams();
  lastWindowLabel_ = new QLabel(mainWindow);
  lastWindowLabel_->setObjectName("sbLastWindow");
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
  TrackForegroundWindow(*this);
  EnableTrayItems(trayMenu_ ? this : nullptr);
}

void TPasteHost::PasteItemClick(QAction* entry, const TSLList<TPasteItem>& trayItems,
                                TPasteDone done) {
  SyncToolkitDisplay();
  ::PasteItemClick(trayItems, TrayEntryTag(entry), std::move(done));
}

TWindowHandle TPasteHost::MainWindowHandle() {
  // The top-level window's native id (the X window id under xcb); none while
  // it has no native window. Asked afresh: changing the window flags
  // (always on top) makes a new native window.
  return static_cast<TWindowHandle>(mainWindow_->window()->internalWinId());
}

void TPasteHost::ShowLastWindow(const std::string& text) {
  if (showLastWindow_)
    showLastWindow_(QString::fromLocal8Bit(text.data(), static_cast<qsizetype>(text.size())));
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
