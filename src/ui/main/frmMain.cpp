#include "ui/main/frmMain.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFileDialog>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPersistentModelIndex>
#include <QPlainTextEdit>
#include <QScreen>
#include <QSessionManager>
#include <QSplitter>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QSystemTrayIcon>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <algorithm>

#include "app/SLApplication.h"
#include "app/Startup.h"
#include "app/StartupTrace.h"
#include "app/Strings.h"
#include "framework/SLAppEvents.h"
#include "framework/SLDialogCommon.h"
#include "framework/SLFormStorage.h"
#include "framework/SLMsgDetailsFrm.h"
#include "framework/SLMsgFrm.h"
#include "framework/SLText.h"
#include "framework/SLUtils.h"
#include "library/clsLibrary.h"
#include "rules/clsOptions.h"
#include "ui/dialogs/ProgramDialogs.h"
#include "ui/main/MainCommands.h"
#include "ui/main/MainDialogs.h"
#include "ui/main/PasteHost.h"
#include "ui/main/SLVCLUtils.h"
#include "ui_frmMain.h"

TVLMNMain* VLMNMain = nullptr;
TMainDialogs MainDialogs = ProgramDialogs();

// The pictures are compiled into this static library: their registration
// has to be asked for by name.
static void InitMainImages() {
  static const bool done = [] {
    Q_INIT_RESOURCE(images);
    return true;
  }();
  (void)done;
}

namespace {

// Home and End in a tray menu select its first and last enabled entry, as
// desktop menus do; a Qt menu that does not scroll ignores both keys.
class TMenuHomeEnd : public QObject {
 public:
  using QObject::QObject;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    auto* menu = qobject_cast<QMenu*>(watched);
    if (menu == nullptr || event->type() != QEvent::KeyPress) return false;
    auto* key = static_cast<QKeyEvent*>(event);
    if (key->modifiers() != Qt::NoModifier) return false;
    if (key->key() != Qt::Key_Home && key->key() != Qt::Key_End) return false;
    QList<QAction*> entries = menu->actions();
    if (key->key() == Qt::Key_End) std::reverse(entries.begin(), entries.end());
    for (QAction* entry : entries)
      if (!entry->isSeparator() && entry->isVisible() && entry->isEnabled()) {
        menu->setActiveAction(entry);
        break;
      }
    return true;
  }
};

void AddHomeEnd(QMenu* menu) {
  menu->installEventFilter(new TMenuHomeEnd(menu));
}

constexpr int kNameMax = 100;

QString T(Str id) {
  return ToQ(Text(id));
}

TSLImageList LoadImages(const QStringList& names) {
  QList<QIcon> icons;
  for (const QString& name : names) {
    QIcon icon;
    icon.addFile(":/main/images/" + name + ".png", QSize(16, 16));
    icon.addFile(":/main/images/" + name + "@2x.png", QSize(32, 32));
    icons.append(icon);
  }
  return TSLImageList(icons);
}

// A folder node's icon shows the open folder while the node is selected.
QIcon NodeIcon(const TSLImageList& images, int image, int selectedImage) {
  if (image == selectedImage) return images.Image(image);
  QIcon icon;
  const QIcon normal = images.Image(image), selected = images.Image(selectedImage);
  for (int size : {16, 32}) {
    icon.addPixmap(normal.pixmap(size, size), QIcon::Normal);
    icon.addPixmap(selected.pixmap(size, size), QIcon::Selected);
  }
  return icon;
}

bool IsBelow(const QTreeWidgetItem* node, const QTreeWidgetItem* ancestor) {
  for (const QTreeWidgetItem* p = node != nullptr ? node->parent() : nullptr; p != nullptr;
       p = p->parent())
    if (p == ancestor) return true;
  return false;
}

std::string DockName(Qt::ToolBarArea area) {
  return area == Qt::BottomToolBarArea ? "DockBottom" : "DockTop";
}

}  // namespace

QIcon ProgramIcon() {
  // Made once: start-up asks for it before the splash and again for the tray.
  static const QIcon icon = [] {
    InitMainImages();
    QIcon made;
    for (int size : {16, 32, 48, 64, 128, 256})
      made.addFile(QStringLiteral(":/main/images/kvlmn-%1.png").arg(size), QSize(size, size));
    return made;
  }();
  return icon;
}

TVLMNMain::TVLMNMain(QWidget* parent) : QMainWindow(parent), ui_(std::make_unique<Ui::frmMain>()) {
  TrayItems.OwnsObjects = false;
  TraceStartup("main window: begin");
  InitMainImages();
  ui_->setupUi(this);
  setObjectName("VLMNMain");
  // 1. The caption.
  setWindowTitle(ToQ(SLApplication != nullptr ? SLApplication->Title : kApplicationTitle));
  setWindowIcon(ProgramIcon());

  sbMain = ui_->sbMain;
  pClient = ui_->pClient;
  lblPasteItems = ui_->lblPasteItems;
  tvItems = ui_->tvItems;
  sSplitter = ui_->sSplitter;
  pRight = ui_->pRight;
  lblPreview = ui_->lblPreview;
  cmdClosePreview = ui_->cmdClosePreview;
  txtPreview = ui_->txtPreview;
  lblPasteItems->setText(T(Str::MainPasteItemsLabel));
  lblPreview->setText(T(Str::MainPreviewLabel));
  cmdClosePreview->setStatusTip(T(Str::ActViewPreviewHint));
  cmdClosePreview->setToolTip(T(Str::ActViewPreviewHint));
  QPalette previewPalette = txtPreview->palette();
  previewPalette.setColor(QPalette::Inactive, QPalette::Highlight,
                          previewPalette.color(QPalette::Active, QPalette::Highlight));
  previewPalette.setColor(QPalette::Inactive, QPalette::HighlightedText,
                          previewPalette.color(QPalette::Active, QPalette::HighlightedText));
  txtPreview->setPalette(previewPalette);
  sSplitter->setStretchFactor(0, 1);
  sSplitter->setStretchFactor(1, 0);
  sSplitter->setSizes({511 - 185 - 3, 185});

  imlItems = LoadImages({"tree0-root", "tree1-folder-open", "tree2-folder", "tree3-item"});
  imlMenus =
      LoadImages({"menu00-help", "menu01-cut", "menu02-copy", "menu03-paste", "menu04-remove",
                  "menu05-search", "menu06-ontop-off", "menu07-ontop-on", "menu08-new-folder",
                  "menu09-folder-open", "menu10-add-item", "menu11-modify-item",
                  "menu12-item-to-folder", "menu13-move-up", "menu14-move-down"});

  // Status bar: panel 0 the hint, panel 1 the tracker's text (added by the paste host).
  sbHint = new QLabel(sbMain);
  sbHint->setObjectName("sbHint");
  sbHint->setTextFormat(Qt::PlainText);
  sbHint->setFixedWidth(300);
  sbMain->addWidget(sbHint);

  TraceStartup("main window: widgets");
  CreateActions();
  CreateMenus();
  TraceStartup("main window: actions and menus");

  connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) {
    if (now != nullptr && now->window() == this && now != mnuMain && !mnuMain->isAncestorOf(now))
      lastControl_ = now;
  });

  // The tree's events.
  tvItems->OnEditing = [this](QTreeWidgetItem* node) { return tvItemsEditing(node); };
  tvItems->OnEdited = [this](QTreeWidgetItem* node, const QString& text) {
    tvItemsEdited(node, text);
  };
  tvItems->OnKeyUp = [this](int key) { tvItemsKeyUp(key); };
  tvItems->OnDragOver = [this](QTreeWidgetItem* target, bool fromTree) {
    return tvItemsDragOver(target, fromTree);
  };
  tvItems->OnDragDrop = [this](QTreeWidgetItem* target) { tvItemsDragDrop(target); };
  connect(tvItems, &QTreeWidget::currentItemChanged, this, [this] { tvItemsChange(); });
  connect(tvItems, &QTreeWidget::itemDoubleClicked, this, [this] { tvItemsDblClick(); });
  connect(tvItems, &QWidget::customContextMenuRequested, this,
          [this](const QPoint& at) { popItems->popup(tvItems->viewport()->mapToGlobal(at)); });
  connect(txtPreview, &QWidget::customContextMenuRequested, this,
          [this](const QPoint& at) { popPreview->popup(txtPreview->mapToGlobal(at)); });
  connect(cmdClosePreview, &QToolButton::clicked, this,
          [this] { alActions->Execute(actViewPreview); });

  tSetFormStyle = new QTimer(this);
  tSetFormStyle->setObjectName("tSetFormStyle");
  tSetFormStyle->setInterval(100);
  tSetFormStyle->setSingleShot(true);
  connect(tSetFormStyle, &QTimer::timeout, this, &TVLMNMain::tSetFormStyleTimer);

  // The tracking timer and the tracker's status panel.
  PasteHost = new TPasteHost(this);

  // 3. The placement store; 4. the font; 5. the tray menu; 6. the tree.
  TraceStartup("main window: paste host");
  SetUpStorage();
  ApplyFont();
  TraceStartup("main window: placement and font");
  CreateTray();
  BuildTrayMenu();
  TraceStartup("main window: tray menu");
  BuildTree(true);
  TraceStartup("main window: tree");

  tTrayWatch = new QTimer(this);
  tTrayWatch->setObjectName("tTrayWatch");
  tTrayWatch->setInterval(1000);
  connect(tTrayWatch, &QTimer::timeout, this, &TVLMNMain::tTrayWatchTimer);
  tTrayWatch->start();

  // Once the icon is up and the loop idles, not on the first right-click.
  QTimer::singleShot(0, this, [this] { PrepareTrayMenu(); });
  // Tracking and pasting fail without a word on a desktop the program
  // cannot reach: say so once, from the loop.
  if (MainCommands.PastingUnavailable && MainCommands.PastingUnavailable())
    QTimer::singleShot(0, this,
                       [this] { TellAboutDesktop(Str::MainNoPasting, Str::MainNoPastingHelp); });

  // 7. The tip of the day, once the message loop runs: its dialog then
  // lives inside the loop, where the end of the session or a termination
  // request can still end the program in order.
  if (VLMNOptions != nullptr && VLMNOptions->ShowTips)
    QTimer::singleShot(0, this, [] {
      if (VLMNOptions == nullptr) return;
      VLMNOptions->ShowTips = MainCommands.ShowTipOfTheDay(VLMNOptions->ShowTips, false);
      VLMNOptions->Save();
    });
}

TVLMNMain::~TVLMNMain() {
  // The library goes below: nothing the tree does while it is taken apart
  // (an open editor committing, the selection moving) may reach it.
  tvItems->OnEditing = {};
  tvItems->OnEdited = {};
  tvItems->OnKeyUp = {};
  tvItems->OnDragOver = {};
  tvItems->OnDragDrop = {};
  tvItems->disconnect(this);
  tvItems->blockSignals(true);
  alActions->StopIdleUpdates();
  alStd->StopIdleUpdates();
  if (PasteHost != nullptr && PasteHost->tTracking != nullptr) PasteHost->tTracking->stop();
  TrayIcon->hide();
  // The store saves once more when nothing saved it since it restored.
  if (Storage->Restored() && !Storage->SavedSinceRestore()) Storage->SaveFormPlacement(true);
  SaveAndRelease(false);
  if (VLMNMain == this) VLMNMain = nullptr;
}

// ---------------------------------------------------------------- actions

void TVLMNMain::CreateActions() {
  alActions = new TSLActionList(this, "alActions", &imlMenus);
  alActions->OnUpdate = [this] { alActionsUpdate(); };
  TSLActionList& a = *alActions;
  using K = QKeySequence;
  const K none;
  actFile = a.Add("actFile", T(Str::ActFile), none, -1, T(Str::ActFileHint), NullHandler);
  actEdit = a.Add("actEdit", T(Str::ActEdit), none, -1, T(Str::ActEditHint), NullHandler);
  actView = a.Add("actView", T(Str::ActView), none, -1, T(Str::ActViewHint), NullHandler);
  actItem = a.Add("actItem", T(Str::ActItem), none, -1, T(Str::ActItemHint), NullHandler);
  actHelp = a.Add("actHelp", T(Str::ActHelp), none, -1, T(Str::ActHelpHint), NullHandler);

  actEditCut = a.Add("actEditCut", T(Str::ActEditCut), K(Qt::CTRL | Qt::Key_X), 1,
                     T(Str::ActEditCutHint), [this] { actEditCutExecute(); });
  actEditCopy = a.Add("actEditCopy", T(Str::ActEditCopy), K(Qt::CTRL | Qt::Key_C), 2,
                      T(Str::ActEditCopyHint), [this] { actEditCopyExecute(); });
  actEditPaste = a.Add("actEditPaste", T(Str::ActEditPaste), K(Qt::CTRL | Qt::Key_V), 3,
                       T(Str::ActEditPasteHint), [this] { actEditPasteExecute(); });
  actEditSelectAll = a.Add("actEditSelectAll", T(Str::ActEditSelectAll), K(Qt::CTRL | Qt::Key_A),
                           -1, T(Str::ActEditSelectAllHint), [this] { actEditSelectAllExecute(); });
  actEditSearch = a.Add("actEditSearch", T(Str::ActEditSearch), K(Qt::CTRL | Qt::Key_S), 5,
                        T(Str::ActEditSearchHint), [this] { actEditSearchExecute(); });
  actItemNewFolder =
      a.Add("actItemNewFolder", T(Str::ActItemNewFolder), K(Qt::CTRL | Qt::SHIFT | Qt::Key_N), 8,
            T(Str::ActItemNewFolderHint), [this] { actItemNewFolderExecute(); });
  actItemAdd = a.Add("actItemAdd", T(Str::ActItemAdd), K(Qt::CTRL | Qt::Key_N), 10,
                     T(Str::ActItemAddHint), [this] { actItemAddExecute(); });
  actItemModify = a.Add("actItemModify", T(Str::ActItemModify), K(Qt::CTRL | Qt::Key_M), 11,
                        T(Str::ActItemModifyHint), [this] { actItemModifyExecute(); });
  actItemRename = a.Add("actItemRename", T(Str::ActItemRename), K(Qt::Key_F2), -1,
                        T(Str::ActItemRenameHint), [this] { actItemRenameExecute(); });
  actItemRemove = a.Add("actItemRemove", T(Str::ActItemRemove), K(Qt::Key_Delete), 4,
                        T(Str::ActItemRemoveHint), [this] { actItemRemoveExecute(); });
  actItemMoveUp = a.Add("actItemMoveUp", T(Str::ActItemMoveUp), none, 13, T(Str::ActItemMoveUpHint),
                        [this] { actItemMoveExecute(-1); });
  actItemMoveDown = a.Add("actItemMoveDown", T(Str::ActItemMoveDown), none, 14,
                          T(Str::ActItemMoveDownHint), [this] { actItemMoveExecute(+1); });
  actItemCopyTo = a.Add("actItemCopyTo", T(Str::ActItemCopyTo), none, -1, T(Str::ActItemCopyToHint),
                        [this] { actItemCopyToExecute(false); });
  actItemMoveTo = a.Add("actItemMoveTo", T(Str::ActItemMoveTo), none, -1, T(Str::ActItemMoveToHint),
                        [this] { actItemCopyToExecute(true); });
  actItemPasteLast = a.Add("actItemPasteLast", T(Str::ActItemPasteLast), none, -1,
                           T(Str::ActItemPasteLastHint), [this] { actItemPasteLastExecute(); });

  actFileImport = a.Add("actFileImport", T(Str::ActFileImport), none, -1, T(Str::ActFileImportHint),
                        [this] { actFileImportExecute(); });
  actFileExport = a.Add("actFileExport", T(Str::ActFileExport), none, -1, T(Str::ActFileExportHint),
                        [this] { actFileExportExecute(); });
  actFilePreferences =
      a.Add("actFilePreferences", T(Str::ActFilePreferences), none, -1,
            T(Str::ActFilePreferencesHint), [this] { actFilePreferencesExecute(); });
  actFileExit = a.Add("actFileExit", T(Str::ActFileExit), none, -1, T(Str::ActFileExitHint),
                      [this] { actFileExitExecute(); });
  actViewPreview = a.Add("actViewPreview", T(Str::ActViewPreview), none, -1,
                         T(Str::ActViewPreviewHint), [this] { actViewPreviewExecute(); });
  actViewToolbar =
      a.Add("actViewToolbar", T(Str::ActViewToolbar), none, -1, T(Str::ActViewToolbarHint),
            [this] { tbMain->setVisible(tbMain->isHidden()); });
  actViewStatusBar =
      a.Add("actViewStatusBar", T(Str::ActViewStatusBar), none, -1, T(Str::ActViewStatusBarHint),
            [this] { sbMain->setVisible(sbMain->isHidden()); });
  actViewOnTop = a.Add("actViewOnTop", T(Str::ActViewOnTop), none, 6, T(Str::ActViewOnTopHint),
                       [this] { actViewOnTopExecute(); });
  for (QAction* check : {actViewPreview, actViewToolbar, actViewStatusBar, actViewOnTop})
    check->setCheckable(true);
  actHelpContents = a.Add("actHelpContents", T(Str::ActHelpContents), K(Qt::Key_F1), 0,
                          T(Str::ActHelpContentsHint), [this] { actHelpContentsExecute(); });
  actHelpTipOfTheDay =
      a.Add("actHelpTipOfTheDay", T(Str::ActHelpTipOfTheDay), none, -1,
            T(Str::ActHelpTipOfTheDayHint), [this] { actHelpTipOfTheDayExecute(); });
  actHelpOnTheWeb = a.Add("actHelpOnTheWeb", T(Str::ActHelpOnTheWeb), none, -1,
                          T(Str::ActHelpOnTheWebHint), [this] { actHelpOnTheWebExecute(); });
  actHelpSendEmail = a.Add("actHelpSendEmail", T(Str::ActHelpSendEmail), none, -1,
                           T(Str::ActHelpSendEmailHint), [this] { actHelpSendEmailExecute(); });
  actHelpAbout = a.Add("actHelpAbout", T(Str::ActHelpAbout), none, -1, T(Str::ActHelpAboutHint),
                       [this] { actHelpAboutExecute(); });
  // The shortcuts work wherever the focus is in this window.
  addActions(alActions->Actions());

  alStd = new TSLActionList(this, "alStd", &imlItems);
  actStdOpen = alStd->Add("actStdOpen", T(Str::MainTrayOpen), none, -1, QString(),
                          [this] { actStdOpenExecute(); });
  QFont bold = actStdOpen->font();
  bold.setBold(true);
  actStdOpen->setFont(bold);
  actStdHelp = alStd->Add("actStdHelp", T(Str::MainTrayHelp), none, -1, QString(),
                          [this] { actHelpContentsExecute(); });
  actStdExit = alStd->Add("actStdExit", T(Str::MainTrayExit), none, -1, QString(),
                          [this] { actFileExitExecute(); });
}

void TVLMNMain::CreateMenus() {
  auto menuOf = [this](QAction* header, std::initializer_list<QAction*> entries) {
    auto* menu = new QMenu(this);
    menu->setObjectName("mnu" + header->objectName().mid(3));
    for (QAction* entry : entries) {
      if (entry == nullptr)
        menu->addSeparator();
      else
        menu->addAction(entry);
    }
    header->setMenu(menu);
    return menu;
  };
  menuOf(actFile,
         {actFileImport, actFileExport, nullptr, actFilePreferences, nullptr, actFileExit});
  menuOf(actEdit, {actEditCut, actEditCopy, actEditPaste, nullptr, actEditSelectAll, nullptr,
                   actEditSearch});
  menuOf(actView, {actViewPreview, actViewToolbar, actViewStatusBar, nullptr, actViewOnTop});
  menuOf(actItem, {actItemNewFolder, nullptr, actItemAdd, actItemModify, nullptr, actItemRename,
                   actItemRemove, nullptr, actItemMoveUp, actItemMoveDown, nullptr, actItemCopyTo,
                   actItemMoveTo, nullptr, actItemPasteLast});
  menuOf(actHelp, {actHelpContents, actHelpTipOfTheDay, nullptr, actHelpOnTheWeb, actHelpSendEmail,
                   nullptr, actHelpAbout});

  // The menu bar lives in a toolbar, so the user can move and dock it.
  tbMenu = new QToolBar(T(Str::MainStandardMenu), this);
  tbMenu->setObjectName("tbMenu");
  tbMenu->setAllowedAreas(Qt::TopToolBarArea | Qt::BottomToolBarArea);
  tbMenu->setMovable(true);
  tbMenu->toggleViewAction()->setVisible(false);  // no close button
  mnuMain = new QMenuBar(tbMenu);
  mnuMain->setObjectName("mnuMain");
  mnuMain->setNativeMenuBar(false);
  for (QAction* header : {actFile, actEdit, actView, actItem, actHelp}) mnuMain->addAction(header);
  tbMenu->addWidget(mnuMain);
  addToolBar(Qt::TopToolBarArea, tbMenu);
  addToolBarBreak(Qt::TopToolBarArea);

  tbMain = new QToolBar(T(Str::MainStandardToolbar), this);
  tbMain->setObjectName("tbMain");
  tbMain->setAllowedAreas(Qt::TopToolBarArea | Qt::BottomToolBarArea);
  tbMain->setMovable(true);
  tbMain->setIconSize(QSize(16, 16));
  for (QAction* entry :
       {actItemNewFolder, (QAction*)nullptr, actItemAdd, actItemModify, (QAction*)nullptr,
        actItemRemove, (QAction*)nullptr, actEditCut, actEditCopy, actEditPaste, (QAction*)nullptr,
        actEditSearch, (QAction*)nullptr, actItemMoveUp, actItemMoveDown, (QAction*)nullptr,
        actViewOnTop, (QAction*)nullptr, actHelpContents}) {
    if (entry == nullptr)
      tbMain->addSeparator();
    else
      tbMain->addAction(entry);
  }
  addToolBar(Qt::TopToolBarArea, tbMain);
  // The window's own context menu would offer to hide the menu bar.
  setContextMenuPolicy(Qt::NoContextMenu);

  popItems = new QMenu(this);
  popItems->setObjectName("popItems");
  for (QAction* entry :
       {actItemNewFolder, (QAction*)nullptr, actItemAdd, actItemModify, (QAction*)nullptr,
        actItemRename, actItemRemove, (QAction*)nullptr, actItemMoveUp, actItemMoveDown,
        (QAction*)nullptr, actItemCopyTo, actItemMoveTo, (QAction*)nullptr, actEditSearch}) {
    if (entry == nullptr)
      popItems->addSeparator();
    else
      popItems->addAction(entry);
  }
  popPreview = new QMenu(this);
  popPreview->setObjectName("popPreview");
  popPreview->addAction(actEditCopy);
  popPreview->addSeparator();
  popPreview->addAction(actEditSelectAll);
}

void TVLMNMain::alActionsUpdate() {
  QTreeWidgetItem* node = tvItems->currentItem();
  const bool object = node != nullptr && TItemsTree::NodeObject(node) != nullptr;
  const int image = TItemsTree::NodeImage(node);
  const bool item = object && image == niItem;
  const bool folder = object && image == niFolder;
  const bool root = object && image == niRoot;
  const bool container = folder || root;
  QWidget* active = ActiveControl();
  const bool editing = OpenEditor(tvItems) != nullptr;
  const bool treeFocus = active != nullptr && (active == tvItems || tvItems->isAncestorOf(active));
  const bool previewActive = active == txtPreview;
  const bool previewText = previewActive && !txtPreview->toPlainText().isEmpty();
  const bool previewSelection = previewActive && txtPreview->textCursor().hasSelection();
  QTreeWidgetItem* pending = NodeClipboard.Node;

  const bool cutCopy = previewSelection || (treeFocus && !root);
  actEditCut->setEnabled(cutCopy);
  actEditCopy->setEnabled(cutCopy);
  const bool pasteIntoSelf = pending != nullptr && NodeClipboard.IsCut &&
                             TItemsTree::NodeImage(pending) == niFolder &&
                             (node == pending || IsBelow(node, pending));
  actEditPaste->setEnabled((treeFocus && container && pending != nullptr && !pasteIntoSelf) ||
                           (treeFocus && editing));
  actEditSelectAll->setEnabled(previewText || (treeFocus && editing));
  actEditSearch->setEnabled(object && !editing);
  actItemNewFolder->setEnabled(container);
  actItemAdd->setEnabled(container);
  actItemModify->setEnabled(item);
  actItemRename->setEnabled(!root);
  actItemCopyTo->setEnabled(!root);
  actItemMoveTo->setEnabled(!root);
  actItemPasteLast->setEnabled(item && LastWindow != kNoWindow);
  actItemRemove->setEnabled(treeFocus && (folder || item || editing));

  int index = -1, count = 0;
  if (folder || item) {
    TFolder* parent = ParentFolder(node);
    if (parent != nullptr) {
      if (folder) {
        index = parent->Folders.IndexOf(static_cast<TFolder*>(TItemsTree::NodeObject(node)));
        count = parent->Folders.Count();
      } else {
        index = parent->Items.IndexOf(static_cast<TPasteItem*>(TItemsTree::NodeObject(node)));
        count = parent->Items.Count();
      }
    }
  }
  actItemMoveUp->setEnabled(!root && index > 0);
  actItemMoveDown->setEnabled(!root && index >= 0 && index < count - 1);

  actViewPreview->setChecked(!pRight->isHidden());
  actViewToolbar->setChecked(!tbMain->isHidden());
  actViewStatusBar->setChecked(!sbMain->isHidden());
  actViewOnTop->setChecked(IsOnTop());
  alActions->SetImageIndex(actViewOnTop, IsOnTop() ? 7 : 6);
}

// ---------------------------------------------------------------- tree

QTreeWidgetItem* TVLMNMain::RootNode() const {
  return tvItems->topLevelItem(0);
}

TFolder* TVLMNMain::NodeFolder(QTreeWidgetItem* node) const {
  const int image = TItemsTree::NodeImage(node);
  if (image == niRoot || image == niFolder)
    return static_cast<TFolder*>(TItemsTree::NodeObject(node));
  return nullptr;
}

TFolder* TVLMNMain::ParentFolder(QTreeWidgetItem* node) const {
  return node != nullptr ? NodeFolder(node->parent()) : nullptr;
}

QTreeWidgetItem* TVLMNMain::AddNode(QTreeWidgetItem* parent, int index, void* object,
                                    const QString& text, int image) {
  auto* node = new TItemNode;
  node->setText(0, text);
  TItemsTree::SetNodeData(node, object, image);
  node->setIcon(0, NodeIcon(imlItems, image, image == niFolder ? niFolderOpen : image));
  if (parent == nullptr)
    tvItems->addTopLevelItem(node);
  else if (index < 0 || index >= parent->childCount())
    parent->addChild(node);
  else
    parent->insertChild(index, node);
  return node;
}

void TVLMNMain::BuildTree(bool expandAll) {
  // A pending node never outlives its node.
  ClearCutMarks();
  NodeClipboard.Clear();
  tvItems->setUpdatesEnabled(false);
  struct Resume {
    QWidget* w;
    ~Resume() { w->setUpdatesEnabled(true); }
  } resume{tvItems};
  const QSignalBlocker quiet(tvItems);
  tvItems->clear();
  QTreeWidgetItem* root = AddNode(nullptr, -1, RootFolder, T(Str::MainRootNode), niRoot);
  if (RootFolder != nullptr) AddFolderNodes(root, RootFolder);
  if (expandAll) tvItems->expandAll();
  tvItems->setCurrentItem(root);
  tvItems->scrollToItem(root);
  tvItemsChange();
}

void TVLMNMain::AddFolderNodes(QTreeWidgetItem* node, TFolder* folder) {
  for (TFolder* sub : folder->Folders) {
    QTreeWidgetItem* child = AddNode(node, -1, sub, ToQ(sub->Name), niFolder);
    AddFolderNodes(child, sub);
  }
  for (TPasteItem* item : folder->Items) AddNode(node, -1, item, ToQ(item->Name), niItem);
}

void TVLMNMain::ApplyFont() {
  if (VLMNOptions == nullptr) return;
  QFont font = tvItems->font();
  font.setFamily(ToQ(VLMNOptions->FontName));
  if (VLMNOptions->FontSize > 0) font.setPointSize(VLMNOptions->FontSize);
  tvItems->setFont(font);
  txtPreview->setFont(font);
}

void TVLMNMain::tvItemsChange() {
  QTreeWidgetItem* node = tvItems->currentItem();
  if (TItemsTree::NodeImage(node) == niItem && TItemsTree::NodeObject(node) != nullptr) {
    auto* item = static_cast<TPasteItem*>(TItemsTree::NodeObject(node));
    txtPreview->setEnabled(true);
    txtPreview->setPlainText(DisplayLines(item->Value));
  } else {
    txtPreview->setPlainText(T(Str::MainNoItemSelected));
    // A greyed preview cannot hold the focus; it does not pass it on either,
    // so no other control becomes active behind the user's back.
    if (focusWidget() == txtPreview) txtPreview->clearFocus();
    txtPreview->setEnabled(false);
  }
}

bool TVLMNMain::tvItemsEditing(QTreeWidgetItem* node) {
  if (TItemsTree::NodeImage(node) == niRoot) return false;
  OldNodeText = node->text(0);
  return true;
}

void TVLMNMain::tvItemsEdited(QTreeWidgetItem* node, const QString& text) {
  const int image = TItemsTree::NodeImage(node);
  if (text.isEmpty()) {
    node->setText(0, OldNodeText);
    // Once the editor has closed: the warning through the application-wide
    // handler, then the editor again on the same node.
    const QPersistentModelIndex where = tvItems->indexFromItem(node);
    const std::string message =
        Text(image == niFolder ? Str::MainInvalidFolderName : Str::MainInvalidItemName);
    QTimer::singleShot(0, this, [this, where, message] {
      ReportWarning(message);
      if (where.isValid()) {
        QTreeWidgetItem* again = tvItems->itemFromIndex(where);
        tvItems->setCurrentItem(again);
        tvItems->editItem(again);
      }
    });
    return;
  }
  const std::string name = TruncateChars(FromQ(text), kNameMax);
  node->setText(0, ToQ(name));
  void* object = TItemsTree::NodeObject(node);
  if (image == niFolder)
    static_cast<TFolder*>(object)->Name = name;
  else if (image == niItem)
    static_cast<TPasteItem*>(object)->Name = name;
  LibraryChanged();
}

void TVLMNMain::ReportWarning(const std::string& message) {
  aeMainException(this, std::make_exception_ptr(ESLException(message, std::string(), smtWarning)));
}

void TVLMNMain::tvItemsKeyUp(int key) {
  switch (key) {
    case Qt::Key_Escape:
      ClearCutMarks();
      NodeClipboard.Clear();
      break;
    case Qt::Key_Delete:
      alActions->Execute(actItemRemove);
      break;
    case Qt::Key_Space:
      alActions->Execute(actItemModify);
      break;
    default:
      break;
  }
}

void TVLMNMain::tvItemsDblClick() {
  alActions->Execute(actItemModify);
}

bool TVLMNMain::tvItemsDragOver(QTreeWidgetItem* target, bool fromTree) {
  QTreeWidgetItem* dragged = tvItems->currentItem();
  return fromTree && target != nullptr && dragged != nullptr &&
         TItemsTree::NodeImage(target) != niItem && target != dragged &&
         !IsBelow(target, dragged) && TItemsTree::NodeImage(dragged) != niRoot;
}

void TVLMNMain::tvItemsDragDrop(QTreeWidgetItem* target) {
  QTreeWidgetItem* dragged = tvItems->currentItem();
  if (dragged == nullptr || target == nullptr) return;
  NodeClipboard.Set(dragged, true);
  tvItems->setCurrentItem(target);
  alActions->Execute(actEditPaste);
}

void TVLMNMain::DeleteNode(QTreeWidgetItem* node) {
  if (NodeClipboard.Node != nullptr &&
      (NodeClipboard.Node == node || IsBelow(NodeClipboard.Node, node))) {
    ClearCutMarks();
    NodeClipboard.Clear();
  }
  delete node;
}

void TVLMNMain::ClearCutMarks() {
  for (QTreeWidgetItemIterator it(tvItems); *it != nullptr; ++it)
    TItemsTree::SetCutMark(*it, false);
}

void TVLMNMain::LibraryChanged() {
  if (SLApplication != nullptr && RootFolder != nullptr)
    SaveLibrary(RegHive::CurrentUser, LibraryKey(SLApplication->ProductKey), *RootFolder);
  BuildTrayMenu();
}

// ---------------------------------------------------------------- Edit and Item commands

QWidget* TVLMNMain::ActiveControl() const {
  QWidget* active = focusWidget();
  // The menu bar takes the keyboard while it is worked with the keys; the
  // control the user was in stays the active one.
  if (active != nullptr && (active == mnuMain || mnuMain->isAncestorOf(active)))
    return lastControl_;
  return active;
}

void TVLMNMain::actEditCutExecute() {
  QWidget* active = ActiveControl();
  if (active != tvItems && !tvItems->isAncestorOf(active)) {
    if (active == txtPreview) txtPreview->copy();  // read-only: Cut copies
    return;
  }
  if (OpenEditor(tvItems) != nullptr) {
    TreeEditorCut(tvItems);
    return;
  }
  QTreeWidgetItem* node = tvItems->currentItem();
  if (node == nullptr || TItemsTree::NodeObject(node) == nullptr) return;
  ClearCutMarks();
  NodeClipboard.Set(node, true);
  TItemsTree::SetCutMark(node, true);
}

void TVLMNMain::actEditCopyExecute() {
  QWidget* active = ActiveControl();
  if (active != tvItems && !tvItems->isAncestorOf(active)) {
    if (active == txtPreview) txtPreview->copy();
    return;
  }
  if (OpenEditor(tvItems) != nullptr) {
    TreeEditorCopy(tvItems);
    return;
  }
  QTreeWidgetItem* node = tvItems->currentItem();
  if (node == nullptr || TItemsTree::NodeObject(node) == nullptr) return;
  ClearCutMarks();
  NodeClipboard.Set(node, false);
}

void TVLMNMain::actEditPasteExecute() {
  if (OpenEditor(tvItems) != nullptr) {
    TreeEditorPaste(tvItems);
    return;
  }
  QTreeWidgetItem* node = tvItems->currentItem();
  QTreeWidgetItem* pending = NodeClipboard.Node;
  if (node == nullptr || pending == nullptr) return;
  QTreeWidgetItem* target = TItemsTree::NodeImage(node) == niItem ? node->parent() : node;
  TFolder* targetFolder = NodeFolder(target);
  if (targetFolder == nullptr) return;
  QTreeWidgetItem* added;
  if (TItemsTree::NodeImage(pending) == niFolder) {
    auto* copy = new TFolder;
    copy->Assign(*static_cast<TFolder*>(TItemsTree::NodeObject(pending)));
    targetFolder->Folders.Insert(0, copy);
    added = AddNode(target, 0, copy, ToQ(copy->Name), niFolder);
    tvItems->setCurrentItem(added);
    AddFolderNodes(added, copy);
  } else {
    auto* copy = new TPasteItem;
    copy->Assign(*static_cast<TPasteItem*>(TItemsTree::NodeObject(pending)));
    targetFolder->Items.Add(copy);
    added = AddNode(target, -1, copy, ToQ(copy->Name), niItem);
    tvItems->setCurrentItem(added);
  }
  tvItems->scrollToItem(added);
  if (NodeClipboard.IsCut) {
    TFolder* source = ParentFolder(pending);
    void* object = TItemsTree::NodeObject(pending);
    if (source != nullptr) {
      if (TItemsTree::NodeImage(pending) == niFolder)
        source->Folders.Remove(static_cast<TFolder*>(object));
      else
        source->Items.Remove(static_cast<TPasteItem*>(object));
    }
    DeleteNode(pending);
    NodeClipboard.Clear();
  }
  ClearCutMarks();
  LibraryChanged();
}

void TVLMNMain::actEditSelectAllExecute() {
  if (ActiveControl() == txtPreview)
    txtPreview->selectAll();
  else
    TreeEditorSelectAll(tvItems);
}

void TVLMNMain::actEditSearchExecute() {
  QTreeWidgetItem* node = tvItems->currentItem();
  if (node == nullptr) return;
  TFolder* folder = TItemsTree::NodeImage(node) == niItem ? ParentFolder(node) : NodeFolder(node);
  if (folder == nullptr || !MainDialogs.SearchPasteItems) return;
  // The tray menu stays usable while the dialog is up, and the tree and
  // TrayItems refer to the items the dialog may free: both are rebuilt at
  // each change, before the dialog returns to the event loop.
  MainDialogs.SearchPasteItems(folder, [this] {
    BuildTree(true);
    LibraryChanged();
  });
}

void TVLMNMain::actItemNewFolderExecute() {
  QTreeWidgetItem* node = tvItems->currentItem();
  TFolder* parent = NodeFolder(node);
  if (parent == nullptr) return;
  auto* folder = new TFolder;
  folder->Name = Text(Str::MainNewFolderName);
  parent->Folders.Add(folder);
  // After the last sub-folder node: before the first item node, if any.
  QTreeWidgetItem* added =
      AddNode(node, parent->Items.Count() > 0 ? parent->Folders.Count() - 1 : -1, folder,
              ToQ(folder->Name), niFolder);
  tvItems->scrollToItem(added);
  tvItems->setCurrentItem(added);
  tvItems->editItem(added);
  LibraryChanged();
}

void TVLMNMain::actItemAddExecute() {
  QTreeWidgetItem* node = tvItems->currentItem();
  TFolder* folder = NodeFolder(node);
  if (folder == nullptr || !MainDialogs.AddPasteItem) return;
  std::string name, value;
  if (!MainDialogs.AddPasteItem(name, value)) return;
  auto* item = new TPasteItem;
  item->Name = name;
  item->Kind = 1;
  item->Value = value;
  folder->Items.Add(item);
  QTreeWidgetItem* added = AddNode(node, -1, item, ToQ(item->Name), niItem);
  tvItems->setCurrentItem(added);
  tvItems->scrollToItem(added);
  LibraryChanged();
}

void TVLMNMain::actItemModifyExecute() {
  QTreeWidgetItem* node = tvItems->currentItem();
  if (TItemsTree::NodeImage(node) != niItem || !MainDialogs.EditPasteItem) return;
  auto* item = static_cast<TPasteItem*>(TItemsTree::NodeObject(node));
  std::string name = item->Name, value = item->Value;
  if (!MainDialogs.EditPasteItem(name, value)) return;
  item->Name = name;
  item->Value = value;
  node->setText(0, ToQ(name));
  tvItemsChange();
  LibraryChanged();
}

void TVLMNMain::actItemRenameExecute() {
  if (QTreeWidgetItem* node = tvItems->currentItem()) tvItems->editItem(node);
}

void TVLMNMain::actItemRemoveExecute() {
  if (OpenEditor(tvItems) != nullptr) {
    TreeEditorDelete(tvItems);
    return;
  }
  QTreeWidgetItem* node = tvItems->currentItem();
  const int image = TItemsTree::NodeImage(node);
  TFolder* parent = ParentFolder(node);
  if (parent == nullptr || (image != niFolder && image != niItem)) return;
  const std::string question = FormatOne(
      Text(image == niFolder ? Str::MainDeleteFolder : Str::MainDeleteItem), FromQ(node->text(0)));
  const bool english = SLApplication == nullptr || SLApplication->English;
  const TSLMessageResult answer =
      SLMessage(question, SLApplication != nullptr ? SLApplication->Title : kApplicationTitle,
                smtQuestion, smbYesNo, 1, LanguageOf(english),
                SLApplication != nullptr ? SLApplication->FontName : std::string());
  if (answer != smrYes) return;
  tvItems->setCurrentItem(node->parent());
  tvItems->scrollToItem(node->parent());
  void* object = TItemsTree::NodeObject(node);
  if (image == niFolder)
    parent->Folders.Remove(static_cast<TFolder*>(object));
  else
    parent->Items.Remove(static_cast<TPasteItem*>(object));
  DeleteNode(node);
  LibraryChanged();
}

void TVLMNMain::actItemMoveExecute(int delta) {
  // A name being typed is kept: the editor closes with it before the node
  // moves (the view would close it on the move and drop the text).
  tvItems->CommitEditor();
  QTreeWidgetItem* node = tvItems->currentItem();
  TFolder* parent = ParentFolder(node);
  if (parent == nullptr) return;
  const int image = TItemsTree::NodeImage(node);
  void* object = TItemsTree::NodeObject(node);
  int index, count;
  if (image == niFolder) {
    index = parent->Folders.IndexOf(static_cast<TFolder*>(object));
    count = parent->Folders.Count();
  } else {
    index = parent->Items.IndexOf(static_cast<TPasteItem*>(object));
    count = parent->Items.Count();
  }
  if (index < 0 || index + delta < 0 || index + delta >= count) return;
  if (image == niFolder)
    parent->Folders.Move(index, index + delta);
  else
    parent->Items.Move(index, index + delta);
  QTreeWidgetItem* parentNode = node->parent();
  const int row = parentNode->indexOfChild(node);
  const bool expanded = node->isExpanded();
  // Moving the node keeps its sub-tree; the selection and the view follow it.
  const QSignalBlocker quiet(tvItems);
  parentNode->takeChild(row);
  parentNode->insertChild(row + delta, node);
  node->setExpanded(expanded);
  tvItems->setCurrentItem(node);
  tvItems->scrollToItem(node);
  LibraryChanged();
}

void TVLMNMain::actItemCopyToExecute(bool move) {
  QTreeWidgetItem* node = tvItems->currentItem();
  if (node == nullptr) return;
  const bool folder = TItemsTree::NodeImage(node) == niFolder;
  const auto& dialog = folder ? (move ? MainDialogs.MoveFolderTo : MainDialogs.CopyFolderTo)
                              : (move ? MainDialogs.MoveItemTo : MainDialogs.CopyItemTo);
  if (!dialog) return;
  QTreeWidgetItem* target = dialog(node);
  if (target == nullptr) return;
  ClearCutMarks();
  NodeClipboard.Set(node, move);
  tvItems->setCurrentItem(target);
  alActions->Execute(actEditPaste);
}

// ---------------------------------------------------------------- File, View and Help

void TVLMNMain::actFileImportExecute() {
  const std::string fileName = MainCommands.ChooseImportFile(this);
  if (fileName.empty()) return;
  MainCommands.CheckImportFileName(fileName);
  TFolder* folder = MainCommands.ImportPasteItems(fileName);
  if (folder == nullptr) return;
  QTreeWidgetItem* root = RootNode();
  QTreeWidgetItem* added =
      AddNode(root, RootFolder->Folders.Count() - 1, folder, ToQ(folder->Name), niFolder);
  AddFolderNodes(added, folder);
  added->setExpanded(true);
  tvItems->scrollToItem(added);
  tvItems->setCurrentItem(added);
  LibraryChanged();
}

void TVLMNMain::actFileExportExecute() {
  const std::string fileName = MainCommands.ChooseExportFile(this);
  if (fileName.empty()) return;
  MainCommands.CheckExportFileExt(fileName);
  MainCommands.ExportPasteItems(fileName);
}

void TVLMNMain::actFilePreferencesExecute() {
  if (MainDialogs.ShowPreferences) MainDialogs.ShowPreferences();
}

void TVLMNMain::actFileExitExecute() {
  Closing = true;
  close();
}

void TVLMNMain::actViewPreviewExecute() {
  // The splitter's handle hides and shows with the panel.
  const bool show = pRight->isHidden();
  pRight->setVisible(show);
  sSplitter->handle(sSplitter->indexOf(pRight))->setVisible(show);
}

void TVLMNMain::actViewOnTopExecute() {
  WantedFormStyle = IsOnTop() ? fsNormal : fsStayOnTop;
  ApplyFormStyle();
}

void TVLMNMain::actHelpContentsExecute() {
  MainCommands.ShowHelp(0);
}

void TVLMNMain::actHelpTipOfTheDayExecute() {
  if (VLMNOptions == nullptr) return;
  VLMNOptions->ShowTips = MainCommands.ShowTipOfTheDay(VLMNOptions->ShowTips, true);
  VLMNOptions->Save();
}

void TVLMNMain::actHelpOnTheWebExecute() {
  MainCommands.OpenHomePage();
}

void TVLMNMain::actHelpSendEmailExecute() {
  MainCommands.SendSupportMail(this);
}

void TVLMNMain::actHelpAboutExecute() {
  MainCommands.ShowAbout();
}

// ---------------------------------------------------------------- tray and window

void TVLMNMain::CreateTray() {
  popTray = new QMenu(this);
  popTray->setObjectName("popTray");
  AddHomeEnd(popTray);
  auto fixed = [](QAction* entry) {
    entry->setData(-1);
    return entry;
  };
  fixed(popTray->addSeparator());
  popTray->addAction(fixed(actStdOpen));
  popTray->setDefaultAction(actStdOpen);
  fixed(popTray->addSeparator());
  popTray->addAction(fixed(actStdHelp));
  fixed(popTray->addSeparator());
  popTray->addAction(fixed(actStdExit));
  connect(popTray, &QMenu::aboutToShow, this, [] {
    // Whatever held the mouse lets go before the menu takes it.
    if (QWidget* grabber = QWidget::mouseGrabber()) grabber->releaseMouse();
  });
  PasteHost->SetTrayMenu(popTray);

  TrayIcon = new QSystemTrayIcon(ProgramIcon(), this);
  TrayIcon->setObjectName("TrayIcon");
  TrayIcon->setToolTip(ToQ(SLApplication != nullptr ? SLApplication->Title : kApplicationTitle));
  TrayIcon->setContextMenu(popTray);
  connect(TrayIcon, &QSystemTrayIcon::activated, this,
          [this](QSystemTrayIcon::ActivationReason reason) {
            // An icon in an XEmbed area opens the window on a double click. A
            // StatusNotifierItem host sends Activate for its left click (Qt's
            // Trigger) and most never send a double click; there the menu
            // travels over D-Bus, which is what gives it a platform menu.
            const bool overDBus = popTray->platformMenu() != nullptr;
            if (reason == QSystemTrayIcon::DoubleClick ||
                (reason == QSystemTrayIcon::Trigger && overDBus))
              alStd->Execute(actStdOpen);
          });
  TrayIcon->show();
  TraceStartup("tray icon shown");
}

void TVLMNMain::popTrayClick(QAction* entry) {
  PasteHost->PasteItemClick(entry, TrayItems);
}

void TVLMNMain::ListTrayItems(TFolder* folder) {
  for (TFolder* sub : folder->Folders) ListTrayItems(sub);
  trayItemStart_.insert(folder, TrayItems.Count());
  // Insert at the end grows the list in steps (Add keeps it exactly sized).
  for (TPasteItem* item : folder->Items) TrayItems.Insert(TrayItems.Count(), item);
}

namespace {

// A name as a menu entry's caption: shown as it is, an "&" included (a menu
// takes a single one as the mark of a mnemonic).
QString MenuCaption(const std::string& name) {
  return ToQ(name).replace(QLatin1Char('&'), QLatin1String("&&"));
}

}  // namespace

void TVLMNMain::FillTrayMenu(QMenu* menu, TFolder* folder, int position) {
  auto insert = [&](QAction* entry) {
    if (position >= 0) {
      const QList<QAction*> entries = menu->actions();
      menu->insertAction(position < entries.size() ? entries.at(position) : nullptr, entry);
      ++position;
    } else {
      menu->addAction(entry);
    }
  };
  for (TFolder* sub : folder->Folders) {
    QAction* entry;
    if (sub->Folders.Count() == 0 && sub->Items.Count() == 0) {
      entry = new QAction(MenuCaption(sub->Name), menu);
    } else {
      // A sub-menu gets its entries the first time it opens.
      auto* subMenu = new QMenu(MenuCaption(sub->Name), menu);
      AddHomeEnd(subMenu);
      connect(subMenu, &QMenu::aboutToShow, this, [this, subMenu, sub] {
        if (subMenu->property("Filled").toBool()) return;
        subMenu->setProperty("Filled", true);
        FillTrayMenu(subMenu, sub, -1);
      });
      entry = subMenu->menuAction();
    }
    entry->setIcon(imlItems.Image(niFolder));
    entry->setData(0);
    insert(entry);
  }
  int tag = trayItemStart_.value(folder);
  for (TPasteItem* item : folder->Items) {
    auto* entry = new QAction(MenuCaption(item->Name), menu);
    entry->setIcon(imlItems.Image(niItem));
    entry->setData(tag++);
    entry->setProperty("TrayItem", true);
    // The click is handled once the menu has closed.
    connect(entry, &QAction::triggered, this, [this, entry] {
      QPointer<QAction> later(entry);
      QMetaObject::invokeMethod(
          this,
          [this, later] {
            if (later) popTrayClick(later);
          },
          Qt::QueuedConnection);
    });
    insert(entry);
  }
}

void TVLMNMain::PrepareTrayMenu() {
  popTray->ensurePolished();
  popTray->adjustSize();
  popTray->winId();
}

void TVLMNMain::BuildTrayMenu() {
  TrayItems.Clear();
  const QList<QAction*> entries = popTray->actions();
  for (qsizetype i = entries.size(); i-- > 0;) {
    QAction* entry = entries.at(i);
    if (TrayEntryTag(entry) == -1) continue;  // a fixed entry
    popTray->removeAction(entry);
    if (QMenu* sub = entry->menu())
      sub->deleteLater();
    else
      entry->deleteLater();
  }
  trayItemStart_.clear();
  if (RootFolder == nullptr) return;
  ListTrayItems(RootFolder);
  FillTrayMenu(popTray, RootFolder, 0);
}

void TVLMNMain::ShowMainWindow(bool bringToFront) {
  if (minimized_ || isMinimized()) {
    minimized_ = false;
    setWindowState(windowState() & ~Qt::WindowMinimized);
  }
  if (!isVisible()) show();
  if (bringToFront) raise();
  activateWindow();
}

void TVLMNMain::actStdOpenExecute() {
  ShowMainWindow(true);
}

void TVLMNMain::aeMainMinimize() {
  // Without a notification area the taskbar button is the way back.
  if (withoutTray_) {
    if (!isMinimized()) showMinimized();
    return;
  }
  // No taskbar button: the program stays in the tray only.
  minimized_ = true;
  hide();
}

void TVLMNMain::tTrayWatchTimer() {
  if (MainCommands.TrayAvailable && MainCommands.TrayAvailable()) {
    ticksWithoutTray_ = 0;
    withoutTray_ = false;
    return;
  }
  if (withoutTray_ || ++ticksWithoutTray_ < kNoTrayGraceTicks) return;
  withoutTray_ = true;
  ShowMainWindow(true);
  if (toldWithoutTray_) return;
  toldWithoutTray_ = true;
  // From the loop, not from inside the timer's own handling.
  QTimer::singleShot(0, this, [this] { TellAboutDesktop(Str::MainNoTray, Str::MainNoTrayHelp); });
}

void TVLMNMain::TellAboutDesktop(Str text, Str details) {
  const bool english = SLApplication == nullptr || SLApplication->English;
  SLMessageDetails(Text(text), Text(details),
                   SLApplication != nullptr ? SLApplication->Title : kApplicationTitle,
                   smtInformation, LanguageOf(english),
                   SLApplication != nullptr ? SLApplication->FontName : std::string(), true);
}

void TVLMNMain::actItemPasteLastExecute() {
  QTreeWidgetItem* node = tvItems->currentItem();
  if (TItemsTree::NodeImage(node) != niItem) return;
  const int tag = TrayItems.IndexOf(static_cast<TPasteItem*>(TItemsTree::NodeObject(node)));
  if (tag >= 0) PasteHost->PasteTag(tag, TrayItems);
}

void TVLMNMain::aeMainRestore() {
  ShowMainWindow(false);
}

void TVLMNMain::changeEvent(QEvent* event) {
  QMainWindow::changeEvent(event);
  if (event->type() == QEvent::WindowStateChange && isMinimized() && isVisible())
    QTimer::singleShot(0, this, [this] {
      if (isMinimized()) aeMainMinimize();
    });
}

void TVLMNMain::closeEvent(QCloseEvent* event) {
  if (VLMNOptions != nullptr && VLMNOptions->CloseMinimizes && !Closing) {
    event->ignore();
    aeMainMinimize();
    return;
  }
  event->accept();
  Storage->SaveFormPlacement();
  // The main window's closing ends the program; its destruction writes and frees.
  QCoreApplication::quit();
}

bool TVLMNMain::event(QEvent* event) {
  if (event->type() == QEvent::StatusTip) {
    sbHint->setText(static_cast<QStatusTipEvent*>(event)->tip());
    return true;
  }
  return QMainWindow::event(event);
}

bool TVLMNMain::IsOnTop() const {
  return windowFlags().testFlag(Qt::WindowStaysOnTopHint);
}

void TVLMNMain::ApplyFormStyle() {
  const bool active = Storage->Active;
  Storage->Active = false;
  const bool wanted = WantedFormStyle == fsStayOnTop;
  if (wanted != IsOnTop()) {
    const bool visible = isVisible();
    setWindowFlag(Qt::WindowStaysOnTopHint, wanted);
    if (visible) show();  // new flags hide the window
  }
  Storage->Active = active;
}

void TVLMNMain::tSetFormStyleTimer() {
  tSetFormStyle->stop();
  ApplyFormStyle();
}

void TVLMNMain::SetUpStorage() {
  Storage = new TSLFormStorage(this);
  Storage->RegistryRoot = RegHive::CurrentUser;
  Storage->Key = SLApplication != nullptr ? SLApplication->ProductKey : kProductKey;
  Storage->Section = "Storage";
  Storage->Active = VLMNOptions == nullptr || VLMNOptions->SaveWindow;
  Storage->IsMinimized = [this] { return minimized_; };
  auto boolean = [](QWidget* w) {
    return std::make_pair([w] { return BoolToText(!w->isHidden()); },
                          [w](const std::string& v) { w->setVisible(TextToBool(v)); });
  };
  auto sb = boolean(sbMain);
  Storage->AddProperty("sbMain_Visible", sb.first, sb.second);
  // Where the two bars are docked: the dock, the row in it and the position in the row.
  for (QToolBar* bar : {tbMain, tbMenu}) {
    const std::string name = FromQ(bar->objectName());
    auto row = [this, bar] {
      std::vector<int> ys;
      for (QToolBar* other : {tbMain, tbMenu})
        if (toolBarArea(other) == toolBarArea(bar)) ys.push_back(other->y());
      std::sort(ys.begin(), ys.end());
      ys.erase(std::unique(ys.begin(), ys.end()), ys.end());
      int r = static_cast<int>(std::find(ys.begin(), ys.end(), bar->y()) - ys.begin());
      if (toolBarArea(bar) == Qt::BottomToolBarArea) r = static_cast<int>(ys.size()) - 1 - r;
      return r;
    };
    Storage->AddProperty(
        name + "_DockPos", [bar] { return std::to_string(bar->x()); },
        [bar](const std::string& v) { bar->setProperty("DockPos", std::atoi(v.c_str())); });
    Storage->AddProperty(
        name + "_DockRow", [row] { return std::to_string(row()); },
        [bar](const std::string& v) { bar->setProperty("DockRow", std::atoi(v.c_str())); });
    if (bar == tbMain) {
      auto visible = boolean(tbMain);
      Storage->AddProperty("tbMain_Visible", visible.first, visible.second);
    }
  }
  for (QToolBar* bar : {tbMain, tbMenu}) {
    Storage->AddProperty(
        FromQ(bar->objectName()) + "_CurrentDock",
        [this, bar] { return DockName(toolBarArea(bar)); },
        [bar](const std::string& v) {
          bar->setProperty("CurrentDock", QString::fromStdString(v));
        });
  }
  Storage->OnRestorePlacement = [this] { StorageRestorePlacement(); };
  Storage->OnSavePlacement = [this] { StorageSavePlacement(); };
  if (!Storage->Active) {
    // Not kept: the design size in the middle of the screen.
    resize(511, 407);
    if (QScreen* screen = QGuiApplication::primaryScreen())
      move(screen->availableGeometry().center() - rect().center());
  }
}

void TVLMNMain::StorageRestorePlacement() {
  // Re-dock the two bars as stored: by dock, then row, then position.
  struct Place {
    QToolBar* bar;
    Qt::ToolBarArea area;
    int row, pos;
  };
  std::vector<Place> places;
  if (!tbMenu->property("DockRow").isValid() || !tbMain->property("DockRow").isValid()) {
    places.clear();  // nothing stored yet: the bars stay where they are
  } else {
    for (QToolBar* bar : {tbMenu, tbMain}) {
      const QString dock = bar->property("CurrentDock").toString();
      Qt::ToolBarArea area = dock == "DockBottom" ? Qt::BottomToolBarArea
                             : dock == "DockTop"  ? Qt::TopToolBarArea
                                                  : toolBarArea(bar);
      places.push_back(
          {bar, area, bar->property("DockRow").toInt(), bar->property("DockPos").toInt()});
    }
    std::stable_sort(places.begin(), places.end(), [](const Place& a, const Place& b) {
      return std::tie(a.area, a.row, a.pos) < std::tie(b.area, b.row, b.pos);
    });
    for (const Place& p : places) {
      const bool visible = !p.bar->isHidden();
      removeToolBarBreak(p.bar);
      removeToolBar(p.bar);
      p.bar->setVisible(visible);
    }
    for (size_t i = 0; i < places.size(); ++i) {
      if (i > 0 && places[i].area == places[i - 1].area && places[i].row != places[i - 1].row)
        addToolBarBreak(places[i].area);
      const bool visible = !places[i].bar->isHidden();
      addToolBar(places[i].area, places[i].bar);
      places[i].bar->setVisible(visible);
    }
  }
  // The stored style is applied a moment after the window is shown.
  const std::string style = Storage->ReadString("FormStyle", IsOnTop() ? "3" : "0");
  WantedFormStyle = style == "3" ? fsStayOnTop : fsNormal;
  tSetFormStyle->start();
}

void TVLMNMain::StorageSavePlacement() {
  Storage->WriteString("FormStyle", IsOnTop() ? "3" : "0");
}

void TVLMNMain::SaveAndRelease(bool savePlacement) {
  if (released_) return;
  released_ = true;
  if (savePlacement) Storage->SaveFormPlacement(true);
  FinalizeApplication();
  TrayItems.Clear();
  NodeClipboard.Clear();
}

void TVLMNMain::SessionCommitData(QSessionManager& manager) {
  SessionEnding();
  manager.release();
}

void TVLMNMain::SessionEnding() {
  Closing = true;
  // A window that was never shown has no placement of its own: what is stored
  // stays.
  if (Storage->Restored()) Storage->SaveFormPlacement(false, true);
  SaveApplicationData();
}
