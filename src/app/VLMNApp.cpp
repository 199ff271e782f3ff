#include "app/VLMNApp.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/socket.h>
#include <unistd.h>
#endif

#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QSocketNotifier>
#include <QVBoxLayout>
#include <csignal>
#include <chrono>
#include <memory>
#include <thread>

#include "app/SLApplication.h"
#include "app/Startup.h"
#include "app/Strings.h"
#include "framework/SLAppEvents.h"
#include "framework/SLDesktopLauncher.h"
#include "framework/SLSplashFrm2.h"
#include "platform/SingleInstance.h"
#include "ui/main/frmMain.h"
#ifdef _WIN32
#include "platform/windows/Win32Desktop.h"
#include "platform/windows/Win32Launcher.h"
#endif

namespace {

#ifndef _WIN32
// SIGTERM and SIGINT end the program as Exit does: the handler only writes a
// byte; the message loop reads it and quits, and the main window's
// destruction writes the library and the options.
int gSignalPipe[2] = {-1, -1};

void OnTerminationSignal(int) {
  char byte = 1;
  [[maybe_unused]] ssize_t n = write(gSignalPipe[1], &byte, 1);
}

void InstallTerminationHandlers(QObject* owner) {
  if (socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, gSignalPipe) != 0) return;
  auto* notifier = new QSocketNotifier(gSignalPipe[0], QSocketNotifier::Read, owner);
  QObject::connect(notifier, &QSocketNotifier::activated, owner, [] {
    char byte;
    [[maybe_unused]] ssize_t n = read(gSignalPipe[0], &byte, 1);
    if (VLMNMain != nullptr) VLMNMain->Closing = true;
    QCoreApplication::quit();
  });
  struct sigaction action {};
  action.sa_handler = OnTerminationSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  sigaction(SIGTERM, &action, nullptr);
  sigaction(SIGINT, &action, nullptr);
}
#endif

bool CheckSingleInstance() {
  if (AcquireSingleInstance("KVLMN")) return true;
#ifdef _WIN32
  MessageBoxA(nullptr, Text(Str::SingleInstance).c_str(), kApplicationTitle, 0x40);
#else
  QMessageBox box(QMessageBox::Information, QString::fromUtf8(kApplicationTitle),
                  QString::fromLocal8Bit(Text(Str::SingleInstance).c_str()), QMessageBox::Ok);
  box.exec();
#endif
  return false;
}

// The splash picture, drawn once at start-up and freed at shut-down.
QPixmap* gSplashBitmap = nullptr;

void ShowStartupSplash() {
  gSplashBitmap = LoadSplashBitmap();
  ShowSplash(*SLApplication, gSplashBitmap, QColor(255, 255, 255));
}

void ReleaseSplashBitmap() {
  delete gSplashBitmap;
  gSplashBitmap = nullptr;
}

}  // namespace

int RunProgram(int& argc, char** argv) {
  // Its notify hands every exception escaping an event handler to aeMainException.
  TSLApplicationObject app(argc, argv);
#ifdef _WIN32
  InstallWin32Launcher();
#else
  InstallDesktopLauncher();
#endif
  QApplication::setApplicationName(QString::fromUtf8(kApplicationTitle));
  QApplication::setQuitOnLastWindowClosed(false);

  TStartupServices services;
  services.CheckSingleInstance = CheckSingleInstance;
  services.ShowSplash = ShowStartupSplash;
  services.CloseSplash = HideSplash;
  services.ReleaseSplashBitmap = ReleaseSplashBitmap;
  services.Sleep = [](int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); };
  if (!InitializeApplication(QCoreApplication::applicationFilePath().toLocal8Bit().toStdString(),
                             services))
    return 0;
  QApplication::setApplicationName(QString::fromLocal8Bit(SLApplication->Title.c_str()));

  // Created hidden; the tray opens it.
  VLMNMain = new TVLMNMain;
  QObject::connect(&app, &QGuiApplication::commitDataRequest, VLMNMain,
                   &TVLMNMain::SessionCommitData);
#ifdef _WIN32
  // After the main window, whose paste host installs the toolkit's clipboard:
  // on Windows the clipboard is written as CF_TEXT only.
  InstallWin32Desktop();
#else
  InstallTerminationHandlers(&app);
#endif

  int code = app.exec();
  delete VLMNMain;  // writes the library and the options, then frees them
  return code;
}
