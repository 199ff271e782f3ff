#pragma once
// TSLFormStorage: keeps a window's placement and some of its properties in
// the registry (RegistryRoot\Key\Section), all as text. It restores when the
// window is first shown and saves when the form asks it to.
//
// Values: "Flags", "ShowCmd", "PixelsPerInch", "MinMaxPos", "NormPos" (the
// last two also once more under names carrying the screen size, such as
// "NormPos(1024x768)"), "Visible", "FormVersion", then one value per stored
// property ("<component>_<property>").
//
// It writes only once it has restored during this run, and never while it is
// inactive, unless a save is forced (the session is ending).
#include <QObject>
#include <QPointer>
#include <functional>
#include <string>
#include <vector>

#include "platform/Registry.h"

class QWidget;

class TSLFormStorage : public QObject {
  Q_OBJECT

 public:
  explicit TSLFormStorage(QWidget* form);

  RegHive RegistryRoot = RegHive::CurrentUser;
  std::string Key;      // e.g. the descriptor's ProductKey
  std::string Section;  // sub-key, e.g. "Storage"
  bool Active = true;

  // A stored property: its value name and how to read and apply its text.
  void AddProperty(const std::string& name, std::function<std::string()> get,
                   std::function<void(const std::string&)> set);

  // Called after the placement was restored / before it is saved; the form
  // reads and writes its own values there (ReadString, WriteString).
  std::function<void()> OnRestorePlacement;
  std::function<void()> OnSavePlacement;

  // Whether the application counts as minimised (ShowCmd 2 when saving).
  std::function<bool()> IsMinimized;

  void RestoreFormPlacement();
  // destroying: the window is being destroyed ("Visible" becomes "1").
  // force: write even while inactive or before a restore (session end).
  void SaveFormPlacement(bool destroying = false, bool force = false);

  bool Restored() const { return restored_; }
  // Whether something changed the placement since the last restore and
  // nothing has saved it yet.
  bool SavedSinceRestore() const { return saved_; }

  std::string SectionKey() const { return Key + "\\" + Section; }
  std::string ReadString(const std::string& name, const std::string& defaultValue) const;
  void WriteString(const std::string& name, const std::string& value) const;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  struct Property {
    std::string name;
    std::function<std::string()> get;
    std::function<void(const std::string&)> set;
  };
  QPointer<QWidget> form_;
  std::vector<Property> properties_;
  bool restored_ = false;
  bool saved_ = false;
};
