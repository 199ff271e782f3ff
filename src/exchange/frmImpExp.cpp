#include "exchange/frmImpExp.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QPainter>
#include <QPixmap>

#include "app/SLApplication.h"
#include "app/Strings.h"
#include "framework/SLDialogCommon.h"
#include "framework/SLHelp.h"
#include "ui_frmImpExp.h"

namespace {

// Client heights with the details shown and hidden. The hidden height ends
// just above the details list, whatever frame the window manager adds.
constexpr int kClientWidth = 401;
constexpr int kHeightDetailsShown = 265;
constexpr int kHeightDetailsHidden = 102;
constexpr int kDetailsColumnWidth = 255;
constexpr int kCellPadding = 16;

// The row pictures: a red disc with a white cross, a green disc with a white tick.
QIcon RowPicture(bool error) {
  QPixmap pixmap(16, 16);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(Qt::NoPen);
  p.setBrush(error ? QColor(0xC6, 0x28, 0x28) : QColor(0x2E, 0x7D, 0x32));
  p.drawEllipse(QRectF(0.5, 0.5, 15, 15));
  p.setPen(QPen(Qt::white, 2.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  if (error) {
    p.drawLine(QPointF(5, 5), QPointF(11, 11));
    p.drawLine(QPointF(11, 5), QPointF(5, 11));
  } else {
    const QPointF tick[] = {{4, 8.5}, {7, 11.5}, {12, 5}};
    p.drawPolyline(tick, 3);
  }
  p.end();
  return QIcon(pixmap);
}

// A tooltip shows rich text when the text looks like markup; a row quotes
// names and file names from outside, so it is escaped and shown as it is.
QString PlainToolTip(const QString& text) {
  return QStringLiteral("<p style='white-space:pre-wrap'>") + text.toHtmlEscaped() +
         QStringLiteral("</p>");
}

}  // namespace

TImpExpDlg::TImpExpDlg(TMode mode, const std::string& fileName, QWidget* parent)
    : TSLDialog(parent), ui(std::make_unique<Ui::TImpExpDlg>()), mode_(mode), fileName_(fileName) {
  ui->setupUi(this);
  setWindowTitle(
      ToQ(Text(mode == TMode::Export ? Str::ExchExportCaption : Str::ExchImportCaption)));
  // A fixed-size dialog: a caption and a close box, nothing to resize or maximise.
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
  setFixedSize(kClientWidth, kHeightDetailsShown);
  SetHelpContext(this, kHelpImportExport);

  imlImages[0] = RowPicture(true);
  imlImages[1] = RowPicture(false);
  // The column keeps its 255 px and widens to the longest row, which the
  // list then scrolls to sideways; every row also shows whole as a tooltip.
  ui->lvDetails->header()->setStretchLastSection(false);
  ui->lvDetails->setColumnWidth(0, kDetailsColumnWidth);
  ui->lblDescription->setText(
      ToQ(Text(mode == TMode::Export ? Str::ExchExporting : Str::ExchImporting)));

  actClose = new QAction(ToQ(Text(Str::ExchClose)), this);
  actClose->setObjectName("actClose");
  actClose->setEnabled(false);
  connect(actClose, &QAction::triggered, this, &TImpExpDlg::actCloseExecute);

  actDetails = new QAction(ToQ(Text(Str::ExchDetailsShown)), this);
  actDetails->setObjectName("actDetails");
  actDetails->setData(0);
  actDetails->setEnabled(false);
  connect(actDetails, &QAction::triggered, this, &TImpExpDlg::actDetailsExecute);

  // The buttons show their action's caption and state and run it.
  const std::pair<QPushButton*, QAction*> bound[] = {{ui->cmdClose, actClose},
                                                     {ui->cmdDetails, actDetails}};
  for (const auto& [button, action] : bound) {
    auto sync = [button, action] {
      button->setText(action->text());
      button->setEnabled(action->isEnabled());
    };
    sync();
    connect(action, &QAction::changed, button, sync);
    connect(button, &QPushButton::clicked, action, &QAction::trigger);
  }

  tTimer = new QTimer(this);
  tTimer->setObjectName("tTimer");
  tTimer->setInterval(100);
  connect(tTimer, &QTimer::timeout, this, &TImpExpDlg::tTimerTimer);
}

TImpExpDlg::~TImpExpDlg() = default;

void TImpExpDlg::ShowProgress(const std::string& title, const std::string& text, int position) {
  const bool moved = ui->pBar->value() != position;
  ui->lblDescription->setText(ToQ(title + "\n\n" + text));
  ui->pBar->setValue(position);
  emit progressShown(position);
  LetMessagesRun(moved);
}

void TImpExpDlg::AddDetail(const std::string& text, bool error) {
  const QString shown = ToQ(text);
  auto* row = new QTreeWidgetItem(QStringList{shown});
  row->setIcon(0, imlImages[error ? 0 : 1]);
  row->setToolTip(0, PlainToolTip(shown));
  ui->lvDetails->addTopLevelItem(row);
  // The icon, its spacing and the cell's margins, then the text.
  const int needed = ui->lvDetails->iconSize().width() + kCellPadding +
                     ui->lvDetails->fontMetrics().horizontalAdvance(shown);
  if (needed > ui->lvDetails->columnWidth(0)) ui->lvDetails->setColumnWidth(0, needed);
  LetMessagesRun(false);
}

// Painting the window after every one of a hundred thousand lines would take
// far longer than the run itself, so pending messages run at the first
// report, whenever the bar moves, and otherwise at most every
// kMessagePeriodMs: often enough for painting and for the refused close
// requests, rarely enough to cost little.
void TImpExpDlg::LetMessagesRun(bool always) {
  if (!always && messageClock_.isValid() && messageClock_.elapsed() < kMessagePeriodMs) return;
  QCoreApplication::processEvents();
  messageClock_.start();
}

void TImpExpDlg::showEvent(QShowEvent* event) {
  TSLDialog::showEvent(event);
  if (!centred_) {
    centred_ = true;
    CentreOnScreen(this);
  }
  if (!busy_ && !actClose->isEnabled()) tTimer->start();
}

void TImpExpDlg::tTimerTimer() {
  busy_ = true;
  tTimer->stop();
  if (mode_ == TMode::Import)
    resultFolder_ = ReadExportFile(fileName_, *RootFolder, *this);
  else
    WriteExportFile(fileName_, *RootFolder,
                    SLApplication != nullptr ? SLApplication->Version : std::string(), *this);
  actDetails->setEnabled(true);
  actClose->setEnabled(true);
  busy_ = false;
}

void TImpExpDlg::actCloseExecute() {
  close();
}

void TImpExpDlg::actDetailsExecute() {
  if (actDetails->data().toInt() != 0) {
    actDetails->setData(0);
    actDetails->setText(ToQ(Text(Str::ExchDetailsShown)));
    setFixedSize(kClientWidth, kHeightDetailsShown);
  } else {
    actDetails->setData(1);
    actDetails->setText(ToQ(Text(Str::ExchDetailsHidden)));
    setFixedSize(kClientWidth, kHeightDetailsHidden);
  }
}

void TImpExpDlg::closeEvent(QCloseEvent* event) {
  if (busy_) {
    event->ignore();
    return;
  }
  TSLDialog::closeEvent(event);
}

void TImpExpDlg::keyPressEvent(QKeyEvent* event) {
  if (busy_) {
    event->accept();
    return;
  }
  TSLDialog::keyPressEvent(event);
}

void TImpExpDlg::keyReleaseEvent(QKeyEvent* event) {
  if (busy_) {
    event->accept();
    return;
  }
  TSLDialog::keyReleaseEvent(event);
}

// Every way of ending the dialog comes here: none works during the run.
void TImpExpDlg::done(int result) {
  if (busy_) return;
  TSLDialog::done(result);
}

void ExportPasteItems(const std::string& fileName) {
  TImpExpDlg dialog(TImpExpDlg::TMode::Export, fileName);
  dialog.exec();
}

TFolder* ImportPasteItems(const std::string& fileName) {
  TImpExpDlg dialog(TImpExpDlg::TMode::Import, fileName);
  dialog.exec();
  return dialog.ResultFolder();
}
