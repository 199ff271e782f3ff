#include "framework/SLActions.h"

#include <QAbstractEventDispatcher>
#include <QThread>

TSLActionList::TSLActionList(QObject* owner, const QString& name, const TSLImageList* images)
    : QObject(owner), images_(images) {
  setObjectName(name);
  // The idle hook: the event loop is about to wait for the next event.
  if (QAbstractEventDispatcher* dispatcher = QAbstractEventDispatcher::instance(thread()))
    idle_ =
        connect(dispatcher, &QAbstractEventDispatcher::aboutToBlock, this, &TSLActionList::Update);
}

TSLActionList::~TSLActionList() {
  StopIdleUpdates();
}

void TSLActionList::StopIdleUpdates() {
  if (idle_) disconnect(idle_);
  idle_ = {};
}

QAction* TSLActionList::Add(const char* name, const QString& caption, const QKeySequence& shortcut,
                            int imageIndex, const QString& hint, std::function<void()> execute) {
  auto* action = new QAction(caption, this);
  action->setObjectName(QString::fromLatin1(name));
  if (!shortcut.isEmpty()) action->setShortcut(shortcut);
  action->setStatusTip(hint);
  action->setToolTip(hint);
  action->setProperty("ImageIndex", -1);
  SetImageIndex(action, imageIndex);
  actions_.append(action);
  // Every way of running the action (menu, shortcut, toolbar, trigger())
  // comes through here.
  handlers_.insert(action, std::move(execute));
  connect(action, &QAction::triggered, this, [this, action] { Run(action); });
  return action;
}

void TSLActionList::SetImageIndex(QAction* action, int imageIndex) {
  if (ImageIndex(action) == imageIndex && imageIndex >= 0) return;
  action->setProperty("ImageIndex", imageIndex);
  action->setIcon(images_ != nullptr ? images_->Image(imageIndex) : QIcon());
}

int TSLActionList::ImageIndex(const QAction* action) {
  bool ok = false;
  const int index = action->property("ImageIndex").toInt(&ok);
  return ok ? index : -1;
}

void TSLActionList::Update() {
  if (updating_ || !OnUpdate) return;
  updating_ = true;
  try {
    OnUpdate();
  } catch (...) {
    updating_ = false;
    throw;
  }
  updating_ = false;
}

bool TSLActionList::Execute(QAction* action) {
  if (action == nullptr || !handlers_.contains(action)) return false;
  return Run(action);
}

bool TSLActionList::Run(QAction* action) {
  Update();
  if (!action->isEnabled()) return false;
  const std::function<void()> run =
      handlers_.value(action);  // a copy: the command may change the list
  if (run) run();
  return true;
}

QAction* TSLActionList::Find(const QString& name) const {
  for (QAction* action : actions_)
    if (action->objectName() == name) return action;
  return nullptr;
}

void NullHandler() {}
