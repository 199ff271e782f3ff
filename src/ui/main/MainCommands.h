#pragma once
// What the File and Help commands of the main window call outside the
// window: the file dialogs and the exchange file, the help, the web page,
// the support mail, the tip of the day and the about box. Each entry is
// replaceable (tests put recorders here); the defaults call the program's
// services.
#include <QString>
#include <functional>
#include <string>

class QWidget;
class TFolder;

struct TMainCommands {
  // ImportDlg / ExportDlg: the chosen file name, or "" when cancelled.
  std::function<std::string(QWidget* owner)> ChooseImportFile;
  std::function<std::string(QWidget* owner)> ChooseExportFile;
  // The file-name checks; they throw ESLException.
  std::function<void(const std::string& fileName)> CheckImportFileName;
  std::function<void(const std::string& fileName)> CheckExportFileExt;
  // The new folder, already the last sub-folder of RootFolder, or nullptr.
  std::function<TFolder*(const std::string& fileName)> ImportPasteItems;
  std::function<void(const std::string& fileName)> ExportPasteItems;
  std::function<void(int context)> ShowHelp;
  // Shows the tip of the day; returns whether tips are shown at start-up.
  std::function<bool(bool showTips, bool fromMenu)> ShowTipOfTheDay;
  std::function<void()> OpenHomePage;
  std::function<void(QWidget* owner)> SendSupportMail;
  std::function<void()> ShowAbout;
  // Whether the desktop has a notification area the tray icon can live in.
  std::function<bool()> TrayAvailable;
  // Whether this is a desktop the program cannot paste on (a Wayland session
  // without a seam of ours): said once at start-up.
  std::function<bool()> PastingUnavailable;

  TMainCommands();
};

extern TMainCommands MainCommands;

// The file dialogs' filter in Qt's form, from the program's "text|pattern" form.
QString QtFileFilter(const std::string& filter);
