#pragma once
// The paste path inside the program: the tracking timer tTracking of the main
// window, the status-bar panel that names the last window, the enabling of
// the tray menu's library entries and the click of a paste item's entry.
// The logic lives in the core (clsTracker, clsPaste); this only wires it to
// Qt and installs the desktop seams (X11 under the xcb platform, the Qt
// clipboard for the text).
#include <QObject>
#include <QPointer>
#include <functional>
#include <string>

#include "library/SLList.h"
#include "paste/clsPaste.h"
#include "paste/clsTracker.h"

class QAction;
class QLabel;
class QMainWindow;
class QMenu;
class QTimer;
class TPasteItem;

// Installs the program's desktop seams (made once, kept for the life of the
// program); calling it again puts them back in place of any others.
void InstallDesktopSeams();
// Whether those seams reach other programs' windows: false where the
// platform in use has no seam of ours (a Wayland session), which leaves
// tracking and pasting to the null desktop.
bool DesktopSeamsReachWindows();

class TPasteHost : public QObject, public ITrackerView, public ITrayEntries {
  Q_OBJECT

 public:
  // Owned by (a child of) the main window; starts tTracking at once.
  explicit TPasteHost(QMainWindow* mainWindow);

  // The tray menu whose top-level entries EnableTrayItems acts on. Each
  // entry's tag is its QAction::data() as an integer; an entry without an
  // integer there counts as a fixed entry (tag -1).
  void SetTrayMenu(QMenu* menu);
  // Where the "Last Window: ..." text goes; by default a status-bar label.
  void SetLastWindowPanel(std::function<void(const QString&)> show);

  // The click of a paste item's tray entry (the tag carried by its data()).
  void PasteItemClick(QAction* entry, const TSLList<TPasteItem>& trayItems, TPasteDone done = {});
  // The same for the item trayItems holds at `tag` (Paste into last window).
  void PasteTag(int tag, const TSLList<TPasteItem>& trayItems, TPasteDone done = {});

  QTimer* tTracking = nullptr;

  // ITrackerView
  TWindowHandle MainWindowHandle() override;
  bool IsOwnWindow(TWindowHandle window) override;
  void ShowLastWindow(const std::string& text) override;
  // ITrayEntries
  int EntryCount() override;
  int EntryTag(int index) override;
  void SetEntryEnabled(int index, bool enabled) override;

 public slots:
  void tTrackingTimer();

 private:
  QMainWindow* mainWindow_;
  QPointer<QMenu> trayMenu_;
  QLabel* lastWindowLabel_ = nullptr;
  std::function<void(const QString&)> showLastWindow_;
};

// The tag of a tray entry: its data() as an integer, -1 without one.
int TrayEntryTag(const QAction* entry);
