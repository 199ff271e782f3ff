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

// A plain splash shown during the start-up pause: the title and the version.
std::unique_ptr<QWidget> gSplash;

void ShowSplash() {
  gSplash = std::make_unique<QWidget>(nullptr, Qt::SplashScreen | Qt::FramelessWindowHint);
  gSplash->setObjectName("Splash");
  gSplash->setFixedSize(500, 400);
  gSplash->setStyleSheet("background-color: rgb(58, 110, 165); color: white;");
  auto* layout = new QVBoxLayout(gSplash.get());
  auto* title = new QLabel(QString::fromLocal8Bit(SLApplication->Title.c_str()));
  title->setAlignment(Qt::AlignCenter);
  QFont font = title->font();
  font.setPointSize(20);
  title->setFont(font);
  auto* version = new QLabel(QString::fromLocal8Bit(SLApplication->Version.c_str()));
  version->setAlignment(Qt::AlignCenter);
  layout->addWidget(title);
  layout->addWidget(version);
  gSplash->show();
  gSplash->repaint();
  QCoreApplication::processEvents();
}

void CloseSplash() {
  gSplash.reset();
  QCoreApplication::processEvents();
}

}  // namespace

int RunProgram(int& argc, char** argv) {
  // Its notify hands every exception escaping an event handler to aeMainException.
  TSLApplicationObject app(argc, argv);
  QApplication::setApplicationName(QString::fromUtf8(kApplicationTitle));
  QApplication::setQuitOnLastWindowClosed(false);

  TStartupServices services;
  services.CheckSingleInstance = CheckSingleInstance;
  services.ShowSplash = ShowSplash;
  services.CloseSplash = CloseSplash;
  services.Sleep = [](int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); };
  if (!InitializeApplication(QCoreApplication::applicationFilePath().toLocal8Bit().toStdString(),
                             services))
    return 0;
  QApplication::setApplicationDisplayName(QString::fromLocal8Bit(SLApplication->Title.c_str()));

  // Created hidden; the tray opens it.
  VLMNMain = new TVLMNMain;
  QObject::connect(&app, &QGuiApplication::commitDataRequest, VLMNMain,
                   &TVLMNMain::SessionCommitData);
  InstallTerminationHandlers(&app);

  int code = app.exec();
  delete VLMNMain;  // writes the library and the options, then frees them
  return code;
}
