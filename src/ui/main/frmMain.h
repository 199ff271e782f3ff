#pragma once
// The main window. Created hidden at the end of start-up; the program lives in
// the notification area until the user opens it. Destroying it ends the
// program in order: the library and the options are written and freed.
#include <QMainWindow>

class QSessionManager;

class TVLMNMain : public QMainWindow {
  Q_OBJECT

 public:
  explicit TVLMNMain(QWidget* parent = nullptr);
  ~TVLMNMain() override;

  // Set when the window closes for good (Exit, session end) rather than to the tray.
  bool Closing = false;

 public slots:
  // The session is ending: answer yes and write everything now, free nothing.
  void SessionCommitData(QSessionManager& manager);
};

extern TVLMNMain* VLMNMain;
