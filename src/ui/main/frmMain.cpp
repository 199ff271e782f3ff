#include "ui/main/frmMain.h"

#include <QSessionManager>

#include "app/SLApplication.h"
#include "app/Startup.h"

TVLMNMain* VLMNMain = nullptr;

TVLMNMain::TVLMNMain(QWidget* parent) : QMainWindow(parent) {
  setObjectName("VLMNMain");
  setWindowTitle(QString::fromLocal8Bit(SLApplication ? SLApplication->Title.c_str() : ""));
  resize(511, 407);
}

TVLMNMain::~TVLMNMain() {
  FinalizeApplication();
  if (VLMNMain == this) VLMNMain = nullptr;
}

void TVLMNMain::SessionCommitData(QSessionManager& manager) {
  Closing = true;
  SaveApplicationData();
  manager.release();
}
