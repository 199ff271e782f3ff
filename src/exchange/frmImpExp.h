#pragma once
// TImpExpDlg: the modal window in which an export or an import runs. It shows
// a two-line description, a progress bar and the list of result lines, starts
// the run from a one-shot timer once it is on screen, and cannot be closed
// until the run has ended. Everything runs on the user-interface thread: each
// progress report lets pending window messages through.
#include <QAction>
#include <QElapsedTimer>
#include <QIcon>
#include <QTimer>
#include <memory>
#include <string>

#include "exchange/clsExportFile.h"
#include "framework/SLDialogKeys.h"

namespace Ui {
class TImpExpDlg;
}

class TImpExpDlg : public TSLDialog, public IImpExpProgress {
  Q_OBJECT

 public:
  static constexpr int kMessagePeriodMs = 20;
  enum class TMode { Export, Import };

  TImpExpDlg(TMode mode, const std::string& fileName, QWidget* parent = nullptr);
  ~TImpExpDlg() override;

  bool Busy() const { return busy_; }
  // The folder the import returned; nullptr before the run and after a failed import.
  TFolder* ResultFolder() const { return resultFolder_; }

  // The label shows the title line, a blank line and the text line; the bar
  // the position. Then pending window messages run: always when the bar
  // moves, otherwise at most every kMessagePeriodMs.
  void ShowProgress(const std::string& title, const std::string& text, int position) override;
  // Appends a row with the error or the success picture.
  void AddDetail(const std::string& text, bool error) override;

 signals:
  // Emitted by every progress report, before the pending messages run.
  void progressShown(int position);

 protected:
  void showEvent(QShowEvent* event) override;    // FormShow
  void closeEvent(QCloseEvent* event) override;  // FormCloseQuery
  void keyPressEvent(QKeyEvent* event) override;
  void keyReleaseEvent(QKeyEvent* event) override;  // FormKeyUp
  void done(int result) override;

 private:
  void LetMessagesRun(bool always);
  void tTimerTimer();
  void actCloseExecute();
  void actDetailsExecute();

  std::unique_ptr<Ui::TImpExpDlg> ui;
  QTimer* tTimer;
  QAction* actClose;
  QAction* actDetails;  // data: 0 while the details are shown, 1 while hidden
  QIcon imlImages[2];   // 0 marks an error row, 1 a success row

  TMode mode_;
  std::string fileName_;
  bool busy_ = false;
  bool centred_ = false;
  TFolder* resultFolder_ = nullptr;
  QElapsedTimer messageClock_;  // since pending messages last ran
};

// Runs an export of the whole library to fileName in the dialog.
void ExportPasteItems(const std::string& fileName);
// Runs an import of fileName in the dialog; returns the new folder, which the
// library already holds, or nullptr when the import failed.
TFolder* ImportPasteItems(const std::string& fileName);
