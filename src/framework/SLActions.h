#pragma once
// TSLActionList: the commands of one form. Every command is a QAction that the
// menus, toolbars and context menus only show. One enabling routine (OnUpdate,
// the form's alActionsUpdate) sets what is available; the list runs it
// whenever the user interface goes idle and again right before any command
// runs, so a command that comes out disabled does nothing, whoever runs it
// (a menu, a shortcut, a toolbar button or another command).
#include <QAction>
#include <QHash>
#include <QIcon>
#include <QKeySequence>
#include <QList>
#include <QObject>
#include <functional>

// A list of pictures addressed by index, as the actions and tree nodes use them.
class TSLImageList {
 public:
  TSLImageList() = default;
  explicit TSLImageList(QList<QIcon> images) : images_(std::move(images)) {}
  int Count() const { return static_cast<int>(images_.size()); }
  // The picture at index; a null icon outside the list (no image).
  QIcon Image(int index) const {
    return index >= 0 && index < Count() ? images_.at(index) : QIcon();
  }

 private:
  QList<QIcon> images_;
};

class TSLActionList : public QObject {
  Q_OBJECT

 public:
  // The list works for `owner` (usually the form) and is freed with it.
  TSLActionList(QObject* owner, const QString& name, const TSLImageList* images = nullptr);
  ~TSLActionList() override;

  // Creates an action called `name` (its object name) with its caption, its
  // shortcut (none when empty), its picture (-1: none), its hint (the status
  // bar text and the tooltip) and what it does.
  QAction* Add(const char* name, const QString& caption, const QKeySequence& shortcut,
               int imageIndex, const QString& hint, std::function<void()> execute);
  // Sets the action's picture from the list's images; its "ImageIndex"
  // property keeps the index.
  void SetImageIndex(QAction* action, int imageIndex);
  static int ImageIndex(const QAction* action);

  // The enabling routine; run by Update.
  std::function<void()> OnUpdate;

  // Runs the enabling routine now (never re-entered).
  void Update();
  // Runs the enabling routine, then the action when it came out enabled.
  // Returns whether it ran. Actions that are not in this list are refused.
  bool Execute(QAction* action);

  QAction* Find(const QString& name) const;
  const QList<QAction*>& Actions() const { return actions_; }

  // Stops the idle updates (the form is going away).
  void StopIdleUpdates();

 private:
  bool Run(QAction* action);

  const TSLImageList* images_;
  QHash<QAction*, std::function<void()>> handlers_;
  QList<QAction*> actions_;
  QMetaObject::Connection idle_;
  bool updating_ = false;
};

// An action with no command of its own: the headers of the menu bar's menus.
void NullHandler();
