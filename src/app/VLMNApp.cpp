#include "app/VLMNApp.h"

#include <sys/socket.h>
#include <unistd.h>

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

namespace {

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

bool CheckSingleInstance() {
  if (AcquireSingleInstance("KVLMN")) return true;
  QMessageBox box(QMessageBox::Information, QString::fromUtf8(kApplicationTitle),
                  QString::fromLocal8Bit(Text(Str::SingleInstance).c_str()), QMessageBox::Ok);
  box.exec();
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
  InstallDesktopLauncher();
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
  InstallTerminationHandlers(&app);

  int code = app.exec();
  delete VLMNMain;  // writes the library and the options, then frees them
  return code;
}
