// The baseline of the tray benchmark: what plain Qt Widgets costs for the
// same shape of program. A tray icon whose menu is laid out like the
// program's (folder entries with sub-menus, a separator, Open, Help, Exit),
// and a 511x407 main window with a tree of the same entries, created hidden
// at start-up and shown when the icon is activated.
//
//   bare_tray [--items N]
//
// Without --items the menu holds the three folders of the sample library
// (1, 2 and 2 items); with it, N items in folders of 100. Sub-menus get their
// entries the first time they open, as the program's do.
#include <QAction>
#include <QApplication>
#include <QIcon>
#include <QMainWindow>
#include <QMenu>
#include <QPainter>
#include <QPixmap>
#include <QString>
#include <QSystemTrayIcon>
#include <QTreeWidget>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

struct Folder {
  QString name;
  std::vector<QString> items;
};

std::vector<Folder> MakeLibrary(int items) {
  std::vector<Folder> folders;
  if (items <= 0) {
    folders.push_back({"E-mail signatures", {"E-mail address"}});
    folders.push_back({"Login", {"Intranet", "Server"}});
    folders.push_back({"Passwords", {"Intranet", "Server"}});
    return folders;
  }
  for (int n = 1; n <= items; ++n) {
    if ((n - 1) % 100 == 0) folders.push_back({QString("Folder %1").arg(folders.size() + 1), {}});
    folders.back().items.push_back(QString("Item %1").arg(n));
  }
  return folders;
}

QIcon DrawIcon(QColor fill, bool round) {
  QPixmap pixmap(16, 16);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setPen(QPen(Qt::black, 1));
  painter.setBrush(fill);
  if (round)
    painter.drawEllipse(1, 1, 14, 14);
  else
    painter.drawRect(2, 3, 12, 10);
  return QIcon(pixmap);
}

}  // namespace

int main(int argc, char** argv) {
  int items = 0;
  for (int i = 1; i < argc; ++i)
    if (std::strcmp(argv[i], "--items") == 0 && i + 1 < argc) items = std::atoi(argv[++i]);

  QApplication app(argc, argv);
  app.setQuitOnLastWindowClosed(false);
  const std::vector<Folder> library = MakeLibrary(items);
  const QIcon folderIcon = DrawIcon(QColor(240, 200, 80), false);
  const QIcon itemIcon = DrawIcon(QColor(80, 140, 220), false);

  QMainWindow window;
  window.setWindowTitle("bare_tray");
  auto* tree = new QTreeWidget(&window);
  tree->setHeaderHidden(true);
  for (const Folder& folder : library) {
    auto* node = new QTreeWidgetItem(tree, {folder.name});
    node->setIcon(0, folderIcon);
    for (const QString& name : folder.items) {
      auto* leaf = new QTreeWidgetItem(node, {name});
      leaf->setIcon(0, itemIcon);
    }
  }
  window.setCentralWidget(tree);
  window.resize(511, 407);

  QMenu menu;
  for (const Folder& folder : library) {
    QMenu* sub = menu.addMenu(folderIcon, folder.name);
    QObject::connect(sub, &QMenu::aboutToShow, sub, [sub, &folder, &itemIcon] {
      if (!sub->isEmpty()) return;
      for (const QString& name : folder.items) sub->addAction(itemIcon, name);
    });
  }
  menu.addSeparator();
  QAction* open = menu.addAction("Open");
  QFont bold = open->font();
  bold.setBold(true);
  open->setFont(bold);
  menu.setDefaultAction(open);
  menu.addSeparator();
  menu.addAction("&Help");
  menu.addSeparator();
  QAction* exit = menu.addAction("Exit");

  auto showWindow = [&window] {
    window.show();
    window.raise();
    window.activateWindow();
  };
  QObject::connect(open, &QAction::triggered, &window, showWindow);
  QObject::connect(exit, &QAction::triggered, &app, &QCoreApplication::quit);

  QSystemTrayIcon tray(DrawIcon(QColor(58, 110, 165), true));
  tray.setToolTip("bare_tray");
  tray.setContextMenu(&menu);
  QObject::connect(
      &tray, &QSystemTrayIcon::activated, &window, [&](QSystemTrayIcon::ActivationReason reason) {
        if (reason == QSystemTrayIcon::DoubleClick || reason == QSystemTrayIcon::Trigger)
          showWindow();
      });
  tray.show();
  return app.exec();
}
