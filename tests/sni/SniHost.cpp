// A StatusNotifierItem watcher and host for the desktop tests: what a panel
// that speaks StatusNotifierItem does over the session bus, and no more.
//
//   sni_host watch FILE         owns org.kde.StatusNotifierWatcher, says a host
//                               is registered, and appends "SERVICE PATH" of
//                               every item that registers to FILE
//   sni_host menu SERVICE       prints the item's whole menu, a line per entry:
//                               "LABEL PATH<TAB>enabled|disabled<TAB>ID"; a
//                               sub-menu is opened (AboutToShow) before its
//                               entries are read, as a host does on hover
//   sni_host click SERVICE PATH opens the menus on the way and sends the
//                               "clicked" event for the entry PATH (labels
//                               joined by "/", mnemonic marks left out);
//                               refused when an entry on the way is disabled
//   sni_host activate SERVICE   calls Activate, a host's left click
//   sni_host title SERVICE      prints the item's Title and Status
//
// Every command but watch ends with status 0 on success, 1 on failure, 2 on
// bad arguments.
#include <QCoreApplication>
#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusContext>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusReply>
#include <QDBusVariant>
#include <QDateTime>
#include <QFile>
#include <QObject>
#include <QStringList>
#include <QTextStream>

#include <cstdio>

namespace {

const QString kWatcherService = QStringLiteral("org.kde.StatusNotifierWatcher");
const QString kWatcherPath = QStringLiteral("/StatusNotifierWatcher");
const QString kItemInterface = QStringLiteral("org.kde.StatusNotifierItem");
const QString kMenuInterface = QStringLiteral("com.canonical.dbusmenu");

void Say(const QString& text) {
  std::fprintf(stdout, "%s\n", text.toLocal8Bit().constData());
  std::fflush(stdout);
}

void Complain(const QString& text) {
  std::fprintf(stderr, "sni_host: %s\n", text.toLocal8Bit().constData());
}

}  // namespace

// The watcher: items register with it, hosts ask it whether a host exists.
class TWatcher : public QObject, protected QDBusContext {
  Q_OBJECT
  Q_CLASSINFO("D-Bus Interface", "org.kde.StatusNotifierWatcher")
  Q_PROPERTY(QStringList RegisteredStatusNotifierItems READ RegisteredStatusNotifierItems)
  Q_PROPERTY(bool IsStatusNotifierHostRegistered READ IsStatusNotifierHostRegistered)
  Q_PROPERTY(int ProtocolVersion READ ProtocolVersion)

 public:
  explicit TWatcher(QString file) : file_(std::move(file)) {}

  QStringList RegisteredStatusNotifierItems() const { return items_; }
  bool IsStatusNotifierHostRegistered() const { return true; }
  int ProtocolVersion() const { return 0; }

 public slots:
  Q_SCRIPTABLE void RegisterStatusNotifierItem(const QString& serviceOrPath) {
    // An item names either its bus name (the path is then the usual one) or
    // its object path on the caller's own connection.
    QString service = serviceOrPath;
    QString path = QStringLiteral("/StatusNotifierItem");
    if (serviceOrPath.startsWith(QLatin1Char('/'))) {
      service = message().service();
      path = serviceOrPath;
    }
    const QString entry = service + QLatin1Char(' ') + path;
    items_.append(service + path);
    QFile out(file_);
    if (out.open(QIODevice::Append | QIODevice::Text)) out.write((entry + '\n').toUtf8());
    emit StatusNotifierItemRegistered(service + path);
  }
  Q_SCRIPTABLE void RegisterStatusNotifierHost(const QString&) {}

 signals:
  Q_SCRIPTABLE void StatusNotifierItemRegistered(const QString& item);
  Q_SCRIPTABLE void StatusNotifierItemUnregistered(const QString& item);
  Q_SCRIPTABLE void StatusNotifierHostRegistered();

 private:
  QString file_;
  QStringList items_;
};

namespace {

struct TEntry {
  int id = 0;
  QString label;
  bool enabled = true;
  bool visible = true;
  bool separator = false;
  bool subMenu = false;
  QList<TEntry> children;
};

// A label as the user reads it: "_" marks the mnemonic, "__" is an underscore.
QString PlainLabel(const QString& label) {
  QString plain;
  for (qsizetype i = 0; i < label.size(); ++i) {
    if (label.at(i) == QLatin1Char('_') && i + 1 < label.size()) ++i;
    plain += label.at(i);
  }
  return plain;
}

// Reads one "(ia{sv}av)" layout node.
TEntry ReadNode(const QDBusArgument& arg) {
  TEntry node;
  QVariantMap properties;
  arg.beginStructure();
  arg >> node.id >> properties;
  arg.beginArray();
  while (!arg.atEnd()) {
    QDBusVariant child;
    arg >> child;
    node.children.append(ReadNode(child.variant().value<QDBusArgument>()));
  }
  arg.endArray();
  arg.endStructure();
  node.label = PlainLabel(properties.value(QStringLiteral("label")).toString());
  node.enabled = properties.value(QStringLiteral("enabled"), true).toBool();
  node.visible = properties.value(QStringLiteral("visible"), true).toBool();
  node.separator =
      properties.value(QStringLiteral("type")).toString() == QLatin1String("separator");
  node.subMenu =
      properties.value(QStringLiteral("children-display")).toString() == QLatin1String("submenu");
  return node;
}

class THost {
 public:
  explicit THost(QString service) : service_(std::move(service)) {}

  bool Open() {
    const QDBusMessage reply = Call(
        QStringLiteral("/StatusNotifierItem"), QStringLiteral("org.freedesktop.DBus.Properties"),
        QStringLiteral("Get"), {kItemInterface, QStringLiteral("Menu")});
    if (reply.type() != QDBusMessage::ReplyMessage) return Failed(reply);
    menuPath_ =
        reply.arguments().value(0).value<QDBusVariant>().variant().value<QDBusObjectPath>().path();
    if (menuPath_.isEmpty()) {
      Complain(QStringLiteral("the item has no menu"));
      return false;
    }
    return true;
  }

  // The entries under ID, once the host has told the item that it opens.
  bool Layout(int id, TEntry& node) {
    Call(menuPath_, kMenuInterface, QStringLiteral("AboutToShow"), {id});
    const QDBusMessage reply =
        Call(menuPath_, kMenuInterface, QStringLiteral("GetLayout"), {id, 1, QStringList()});
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().size() < 2)
      return Failed(reply);
    node = ReadNode(reply.arguments().at(1).value<QDBusArgument>());
    return true;
  }

  bool Print(int id, const QString& prefix) {
    TEntry node;
    if (!Layout(id, node)) return false;
    for (const TEntry& entry : node.children) {
      if (entry.separator || !entry.visible) continue;
      const QString path = prefix.isEmpty() ? entry.label : prefix + QLatin1Char('/') + entry.label;
      Say(path + QLatin1Char('\t') + (entry.enabled ? "enabled" : "disabled") + QLatin1Char('\t') +
          QString::number(entry.id));
      if (entry.subMenu && !Print(entry.id, path)) return false;
    }
    return true;
  }

  bool Click(const QStringList& labels) {
    int parent = 0;
    for (qsizetype depth = 0; depth < labels.size(); ++depth) {
      TEntry node;
      if (!Layout(parent, node)) return false;
      const TEntry* found = nullptr;
      for (const TEntry& entry : node.children)
        if (!entry.separator && entry.visible && entry.label == labels.at(depth)) found = &entry;
      if (found == nullptr) {
        Complain(QStringLiteral("no entry '%1'").arg(labels.mid(0, depth + 1).join('/')));
        return false;
      }
      // A panel opens no disabled sub-menu and clicks no disabled entry.
      if (!found->enabled) {
        Complain(QStringLiteral("entry '%1' is disabled").arg(labels.mid(0, depth + 1).join('/')));
        return false;
      }
      if (depth + 1 < labels.size()) {
        parent = found->id;
        continue;
      }
      const auto now = static_cast<uint>(QDateTime::currentSecsSinceEpoch());
      const QDBusMessage reply =
          Call(menuPath_, kMenuInterface, QStringLiteral("Event"),
               {found->id, QStringLiteral("clicked"), QVariant::fromValue(QDBusVariant(0)), now});
      if (reply.type() != QDBusMessage::ReplyMessage) return Failed(reply);
    }
    return true;
  }

  bool Activate() {
    const QDBusMessage reply = Call(QStringLiteral("/StatusNotifierItem"), kItemInterface,
                                    QStringLiteral("Activate"), {0, 0});
    return reply.type() == QDBusMessage::ReplyMessage || Failed(reply);
  }

  bool Title() {
    for (const char* name : {"Title", "Status"}) {
      const QDBusMessage reply = Call(
          QStringLiteral("/StatusNotifierItem"), QStringLiteral("org.freedesktop.DBus.Properties"),
          QStringLiteral("Get"), {kItemInterface, QString::fromLatin1(name)});
      if (reply.type() != QDBusMessage::ReplyMessage) return Failed(reply);
      Say(QString::fromLatin1(name) + QLatin1Char('\t') +
          reply.arguments().value(0).value<QDBusVariant>().variant().toString());
    }
    return true;
  }

 private:
  QDBusMessage Call(const QString& path, const QString& interface, const QString& method,
                    const QVariantList& args) {
    QDBusMessage call = QDBusMessage::createMethodCall(service_, path, interface, method);
    call.setArguments(args);
    return QDBusConnection::sessionBus().call(call, QDBus::Block, 5000);
  }

  static bool Failed(const QDBusMessage& reply) {
    Complain(reply.errorName() + QStringLiteral(": ") + reply.errorMessage());
    return false;
  }

  QString service_;
  QString menuPath_;
};

int Watch(const QString& file) {
  QDBusConnection bus = QDBusConnection::sessionBus();
  if (!bus.isConnected()) {
    Complain(QStringLiteral("no session bus"));
    return 1;
  }
  auto* watcher = new TWatcher(file);
  if (!bus.registerObject(kWatcherPath, watcher,
                          QDBusConnection::ExportScriptableSlots |
                              QDBusConnection::ExportScriptableSignals |
                              QDBusConnection::ExportAllProperties) ||
      !bus.registerService(kWatcherService)) {
    Complain(QStringLiteral("cannot own %1: %2").arg(kWatcherService, bus.lastError().message()));
    return 1;
  }
  Say(QStringLiteral("watching"));
  return QCoreApplication::exec();
}

}  // namespace

int main(int argc, char* argv[]) {
  QCoreApplication app(argc, argv);
  const QStringList args = app.arguments().mid(1);
  const QString command = args.value(0);
  if (command == QLatin1String("watch") && args.size() == 2) return Watch(args.at(1));
  if (args.size() < 2) {
    Complain(QStringLiteral(
        "usage: sni_host watch FILE | menu|activate|title SERVICE | click SERVICE PATH"));
    return 2;
  }
  THost host(args.at(1));
  if (!host.Open()) return 1;
  if (command == QLatin1String("menu")) return host.Print(0, QString()) ? 0 : 1;
  if (command == QLatin1String("activate")) return host.Activate() ? 0 : 1;
  if (command == QLatin1String("title")) return host.Title() ? 0 : 1;
  if (command == QLatin1String("click") && args.size() == 3)
    return host.Click(args.at(2).split(QLatin1Char('/'))) ? 0 : 1;
  Complain(QStringLiteral("unknown command '%1'").arg(command));
  return 2;
}

#include "SniHost.moc"
