#pragma once
// The main window. Created hidden at the end of start-up; the program lives in
// the notification area until the user opens it. Destroying it ends the
// program in order: the library and the options are written and freed.
#include <QHash>
#include <QIcon>
#include <QMainWindow>
#include <QPointer>
#include <memory>

#include "app/Strings.h"
#include "framework/SLActions.h"
#include "library/SLList.h"
#include "ui/main/ItemsTree.h"
#include "ui/main/clsClipboard.h"

class QLabel;
class QMenu;
class QMenuBar;
class QPlainTextEdit;
class QSessionManager;
class QSplitter;
class QSystemTrayIcon;
class QTimer;
class QToolBar;
class QToolButton;
class TFolder;
class TPasteHost;
class TPasteItem;
class TSLFormStorage;
namespace Ui {
class frmMain;
}

// The window style: normal or always on top (the stored "FormStyle" numbers).
enum TFormStyle { fsNormal = 0, fsStayOnTop = 3 };

class TVLMNMain : public QMainWindow {
  Q_OBJECT

 public:
  explicit TVLMNMain(QWidget* parent = nullptr);
  ~TVLMNMain() override;

  // Set when the window closes for good (Exit, session end) rather than to the tray.
  bool Closing = false;
  QString OldNodeText;
  TFormStyle WantedFormStyle = fsNormal;
  TSLList<TPasteItem> TrayItems;  // not owning
  TSLClipboard NodeClipboard;

  // Controls (their object names are these names).
  QToolBar* tbMenu;
  QMenuBar* mnuMain;
  QToolBar* tbMain;
  QStatusBar* sbMain;
  QLabel* sbHint;  // status panel 0
  QWidget* pClient;
  QLabel* lblPasteItems;
  TItemsTree* tvItems;
  QSplitter* sSplitter;
  QWidget* pRight;
  QLabel* lblPreview;
  QToolButton* cmdClosePreview;
  QPlainTextEdit* txtPreview;
  QMenu* popItems;
  QMenu* popPreview;
  QMenu* popTray;
  QSystemTrayIcon* TrayIcon;
  QTimer* tSetFormStyle;
  // Watches for the notification area: see tTrayWatchTimer.
  QTimer* tTrayWatch;
  TSLFormStorage* Storage;
  TPasteHost* PasteHost = nullptr;

  TSLImageList imlItems;
  TSLImageList imlMenus;
  TSLActionList* alActions;
  TSLActionList* alStd;

  QAction *actFile, *actEdit, *actView, *actItem, *actHelp;
  QAction *actEditCut, *actEditCopy, *actEditPaste, *actEditSelectAll, *actEditSearch;
  QAction *actItemNewFolder, *actItemAdd, *actItemModify, *actItemRename, *actItemRemove,
      *actItemMoveUp, *actItemMoveDown, *actItemCopyTo, *actItemMoveTo, *actItemPasteLast;
  QAction *actFileImport, *actFileExport, *actFilePreferences, *actFileExit;
  QAction *actViewPreview, *actViewToolbar, *actViewStatusBar, *actViewOnTop;
  QAction *actHelpContents, *actHelpTipOfTheDay, *actHelpOnTheWeb, *actHelpSendEmail, *actHelpAbout;
  QAction *actStdOpen, *actStdHelp, *actStdExit;

  // Tree and preview.
  void BuildTree(bool expandAll);
  void AddFolderNodes(QTreeWidgetItem* node, TFolder* folder);
  void ApplyFont();
  QTreeWidgetItem* RootNode() const;

  // Commands support.
  void LibraryChanged();
  void ClearCutMarks();
  void BuildTrayMenu();
  // Polishes and lays out the tray menu and creates its native window, so
  // that the right-click only has to show it.
  void PrepareTrayMenu();
  void ShowMainWindow(bool bringToFront);
  void ApplyFormStyle();
  bool IsOnTop() const;
  void SaveAndRelease(bool savePlacement);

  // Events (public so tests can drive what a real drag or editor does).
  void alActionsUpdate();
  void tvItemsChange();
  bool tvItemsEditing(QTreeWidgetItem* node);
  void tvItemsEdited(QTreeWidgetItem* node, const QString& text);
  void tvItemsKeyUp(int key);
  void tvItemsDblClick();
  bool tvItemsDragOver(QTreeWidgetItem* target, bool fromTree);
  void tvItemsDragDrop(QTreeWidgetItem* target);
  void StorageSavePlacement();
  void StorageRestorePlacement();
  void tSetFormStyleTimer();
  void aeMainMinimize();
  void aeMainRestore();
  // A click on a tray entry, handled after the menu has closed.
  void popTrayClick(QAction* entry);

  // Whether the application is minimised to the tray.
  bool Minimized() const { return minimized_; }

  // Once a second: without a notification area for kNoTrayGraceTicks ticks
  // in a row (a panel starting after the program, or restarting, gets that
  // long), the program shows its main window and says once what is missing;
  // minimising and closing then keep the window on the taskbar. When the
  // area appears, the icon appears in it and the window goes back to hiding
  // in the tray.
  void tTrayWatchTimer();
  static constexpr int kNoTrayGraceTicks = 5;
  bool WithoutTray() const { return withoutTray_; }
  void actItemPasteLastExecute();

 public slots:
  // The session is ending: answer yes and write everything now, free nothing.
  void SessionCommitData(QSessionManager& manager);
  // What the end of the session does: the placement (when known) and the
  // library are written; the program goes on until the system ends it.
  void SessionEnding();

 protected:
  bool event(QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;  // FormCloseQuery
  void changeEvent(QEvent* event) override;

 private:
  void CreateActions();
  void CreateMenus();
  void CreateTray();
  void SetUpStorage();
  // The window's active control (the menu bar never counts as one).
  QWidget* ActiveControl() const;
  TFolder* NodeFolder(QTreeWidgetItem* node) const;
  TFolder* ParentFolder(QTreeWidgetItem* node) const;
  QTreeWidgetItem* AddNode(QTreeWidgetItem* parent, int index, void* object, const QString& text,
                           int image);
  void DeleteNode(QTreeWidgetItem* node);
  // TrayItems in depth-first order; notes where each folder's own items start.
  void ListTrayItems(TFolder* folder);
  // The entries of a folder: inserted from `position` on, or appended (-1).
  void FillTrayMenu(QMenu* menu, TFolder* folder, int position);
  void ReportWarning(const std::string& message);

  void actEditCutExecute();
  void actEditCopyExecute();
  void actEditPasteExecute();
  void actEditSelectAllExecute();
  void actEditSearchExecute();
  void actItemNewFolderExecute();
  void actItemAddExecute();
  void actItemModifyExecute();
  void actItemRenameExecute();
  void actItemRemoveExecute();
  void actItemMoveExecute(int delta);
  void actItemCopyToExecute(bool move);
  void actFileImportExecute();
  void actFileExportExecute();
  void actFilePreferencesExecute();
  void actFileExitExecute();
  void actViewPreviewExecute();
  void actViewOnTopExecute();
  void actHelpContentsExecute();
  void actHelpTipOfTheDayExecute();
  void actHelpOnTheWebExecute();
  void actHelpSendEmailExecute();
  void actHelpAboutExecute();
  void actStdOpenExecute();

  std::unique_ptr<Ui::frmMain> ui_;
  QPointer<QWidget> lastControl_;
  bool minimized_ = false;
  bool withoutTray_ = false;
  // An information message with details (the desktop lacks something).
  void TellAboutDesktop(Str text, Str details);
  bool toldWithoutTray_ = false;
  int ticksWithoutTray_ = 0;
  bool released_ = false;
  QHash<const TFolder*, int> trayItemStart_;
};

extern TVLMNMain* VLMNMain;

// The program's icon (the window, the tray, the desktop entry).
QIcon ProgramIcon();
