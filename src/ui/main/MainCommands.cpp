#include "ui/main/MainCommands.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QStringList>
#include <QSystemTrayIcon>

#include "app/SLApplication.h"
#include "app/Strings.h"
#include "exchange/clsExportFile.h"
#include "exchange/frmImpExp.h"
#include "framework/SLAboutFrm2.h"
#include "framework/SLDialogCommon.h"
#include "framework/SLExceptions.h"
#include "framework/SLHelp.h"
#include "framework/SLLauncher.h"
#include "framework/SLMapi.h"
#include "framework/SLMsgFrm.h"
#include "framework/SLText.h"
#include "framework/SLTipOfTheDay.h"
#include "library/clsLibrary.h"
#include "ui/main/PasteHost.h"

TMainCommands MainCommands;

QString QtFileFilter(const std::string& filter) {
  // "Text|pattern|Text|pattern": Qt shows the text and reads the pattern in parentheses.
  const QStringList parts = ToQ(filter).split('|');
  QStringList filters;
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
    const QString text = parts.at(i), pattern = parts.at(i + 1);
    filters << (text.contains("(" + pattern + ")") ? text : text + " (" + pattern + ")");
  }
  return filters.join(";;");
}

namespace {

// The file dialog. Saving, Qt's own dialog takes a name in a folder that does
// not exist (the export then fails on it); the system dialogs refuse such a
// path and stay open, and so does this one.
class TFileDialog : public QFileDialog {
 public:
  using QFileDialog::QFileDialog;

 protected:
  void accept() override {
    const QStringList files = selectedFiles();
    if (acceptMode() == AcceptSave && !files.isEmpty()) {
      const QFileInfo chosen(files.first());
      if (!chosen.isDir() && !QFileInfo(chosen.absolutePath()).isDir()) {
        const bool english = SLApplication == nullptr || SLApplication->English;
        SLMessage(FormatOne(Text(Str::ExportFolderMissing),
                            FromQ(QDir::toNativeSeparators(chosen.absolutePath()))),
                  FromQ(windowTitle()), smtWarning, smbOK, 0, LanguageOf(english),
                  SLApplication != nullptr ? SLApplication->FontName : std::string());
        return;
      }
    }
    QFileDialog::accept();
  }
};

QString FileDialog(QWidget* owner, const char* name, Str title, QFileDialog::AcceptMode mode) {
  TFileDialog dialog(owner);
  dialog.setObjectName(QString::fromLatin1(name));
  dialog.setWindowTitle(ToQ(Text(title)));
  dialog.setNameFilter(QtFileFilter(Text(Str::MainExportFilter)));
  dialog.setDefaultSuffix(QString::fromLatin1(kExportFileExt));
  dialog.setAcceptMode(mode);
  // Open: the path and the file must exist. Save: asks before replacing a file.
  dialog.setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile
                                                     : QFileDialog::AnyFile);
  dialog.setSizeGripEnabled(true);
  dialog.selectFile(QString());
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return QString();
  return dialog.selectedFiles().first();
}

}  // namespace

TMainCommands::TMainCommands() {
  ChooseImportFile = [](QWidget* owner) {
    return FromQ(FileDialog(owner, "ImportDlg", Str::MainImportTitle, QFileDialog::AcceptOpen));
  };
  ChooseExportFile = [](QWidget* owner) {
    return FromQ(FileDialog(owner, "ExportDlg", Str::MainExportTitle, QFileDialog::AcceptSave));
  };
  CheckImportFileName = [](const std::string& name) { ::CheckImportFileName(name); };
  CheckExportFileExt = [](const std::string& name) { ::CheckExportFileExt(name); };
  ImportPasteItems = [](const std::string& name) { return ::ImportPasteItems(name); };
  ExportPasteItems = [](const std::string& name) { ::ExportPasteItems(name); };
  ShowHelp = [](int context) { ::ShowHelp(*SLApplication, context); };
  ShowTipOfTheDay = [](bool showTips, bool fromMenu) {
    return ::ShowTipOfTheDay(*SLApplication, showTips, fromMenu);
  };
  OpenHomePage = [] { ::OpenURL(SLApplication->WebAddresses->HomePage); };
  SendSupportMail = [](QWidget*) { ::SendSupportMail(*SLApplication); };
  ShowAbout = [] { ::ShowAbout(*SLApplication, SLApplication->FontName); };
  TrayAvailable = [] { return QSystemTrayIcon::isSystemTrayAvailable(); };
  PastingUnavailable = [] {
    return QGuiApplication::platformName().startsWith(QLatin1String("wayland")) &&
           !DesktopSeamsReachWindows();
  };
}
