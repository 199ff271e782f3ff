#include "framework/SLDesktopLauncher.h"

#include <QApplication>
#include <QProcess>
#include <QStandardPaths>

#include "app/Strings.h"
#include "framework/SLDialogCommon.h"
#include "framework/SLText.h"

bool TSLDesktopLauncher::OpenURL(const std::string& url) {
  return QProcess::startDetached(QStringLiteral("xdg-open"), {ToQ(url)});
}

bool TSLDesktopLauncher::StartProgram(const std::string& path) {
  return QProcess::startDetached(ToQ(path), {});
}

std::string TSLDesktopLauncher::FindSystemInfoProgram() {
  // System information viewers of the common desktops, then system monitors.
  for (const char* name : {"hardinfo", "kinfocenter", "lshw-gtk", "gnome-system-monitor",
                           "mate-system-monitor", "xfce4-taskmanager", "lxtask"}) {
    QString path = QStandardPaths::findExecutable(QString::fromLatin1(name));
    if (!path.isEmpty()) return FromQ(path);
  }
  return {};
}

std::string TSLDesktopLauncher::OpenFailure() {
  const QString opener = QStandardPaths::findExecutable(QStringLiteral("xdg-open"));
  if (opener.isEmpty()) return Text(Str::UrlOpenerMissing);
  return FormatOne(Text(Str::UrlOpenerFailed), FromQ(opener));
}

void TSLDesktopLauncher::Beep(int, int) {
  QApplication::beep();
}

void InstallDesktopLauncher() {
  static TSLDesktopLauncher launcher;
  SetLauncher(&launcher);
}
