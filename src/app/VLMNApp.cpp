#include "app/VLMNApp.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/socket.h>
#include <unistd.h>
#endif

#include <QApplication>
#include <QEventLoop>
#include <QIcon>
#include <QLabel>
#include <QMessageBox>
#include <QSocketNotifier>
#include <QTimer>
#include <QVBoxLayout>
#include <csignal>
#include <cstdio>
#include <memory>

#include "app/SLApplication.h"
#include "app/Startup.h"
#include "app/StartupTrace.h"
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

// Another instance running and a lock that cannot be taken both stop the
// start: in either case two instances could write one hive.
bool CheckSingleInstance(bool english) {
  const InstanceLock lock = AcquireSingleInstance("KVLMN");
  if (lock == InstanceLock::Taken) return true;
  const bool running = lock == InstanceLock::HeldElsewhere;
  const std::string& message =
      Text(running ? Str::SingleInstance : Str::SingleInstanceLockFailed, english);
#ifdef _WIN32
  MessageBoxA(nullptr, message.c_str(), kApplicationTitle, running ? 0x40 : 0x30);
#else
  std::fprintf(stderr, "%s\n", message.c_str());  // also for a start from a terminal
  QMessageBox box(running ? QMessageBox::Information : QMessageBox::Warning,
                  QString::fromUtf8(kApplicationTitle), QString::fromUtf8(message.c_str()),
                  QMessageBox::Ok);
  box.exec();
#endif
  return false;
}

// The splash picture, drawn once at start-up and freed at shut-down.
QPixmap* gSplashBitmap = nullptr;

void ShowStartupSplash() {
  gSplashBitmap = LoadSplashBitmap();
  TraceStartup("splash picture drawn");
  ShowSplash(*SLApplication, gSplashBitmap, QColor(255, 255, 255));
}

void ReleaseSplashBitmap() {
  delete gSplashBitmap;
  gSplashBitmap = nullptr;
}

}  // namespace

TStartupServices ProgramStartupServices() {
  // Every window without an icon of its own (the tip of the day, the message
  // boxes) shows the program's; the about box takes it from the descriptor.
  static const QIcon icon = ProgramIcon();
  QApplication::setWindowIcon(icon);
  TStartupServices services;
  services.CheckSingleInstance = CheckSingleInstance;
  services.ShowSplash = ShowStartupSplash;
  services.CloseSplash = HideSplash;
  services.ReleaseSplashBitmap = ReleaseSplashBitmap;
  // The splash's pause runs the event loop (user input held back until it
  // ends): the splash is exposed and painted during the pause instead of
  // before it, and stays painted if it is covered and uncovered.
  services.Sleep = [](int ms) {
    QEventLoop pause;
    QTimer::singleShot(ms, Qt::PreciseTimer, &pause, &QEventLoop::quit);
    pause.exec(QEventLoop::ExcludeUserInputEvents);
  };
  services.Icon = &icon;
  return services;
}

int RunProgram(int& argc, char** argv) {
  TraceStartup("main");
  // Its notify hands every exception escaping an event handler to aeMainException.
  TSLApplicationObject app(argc, argv);
#ifdef _WIN32
  InstallWin32Launcher();
#else
  InstallDesktopLauncher();
#endif
  QApplication::setApplicationName(QString::fromUtf8(kApplicationTitle));
  QApplication::setQuitOnLastWindowClosed(false);
  TraceStartup("application object created");

  if (!InitializeApplication(QCoreApplication::applicationFilePath().toUtf8().toStdString(),
                             ProgramStartupServices()))
    return 0;
  QApplication::setApplicationName(QString::fromUtf8(SLApplication->Title.c_str()));

  // Created hidden; the tray opens it.
  VLMNMain = new TVLMNMain;
  TraceStartup("main window created");
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
