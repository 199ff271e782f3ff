// The import/export progress dialog, offscreen: the run starts on its own,
// nothing ends the dialog while it runs, the rows and the label tell the
// result, and the details toggle folds the list away and back.
#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollBar>
#include <QStyleOptionViewItem>
#include <QTest>
#include <QTextDocument>
#include <QTimer>
#include <QTreeWidget>
#include <chrono>
#include <functional>

#include <gtest/gtest.h>

#include "TestSupport.h"
#include "exchange/frmImpExp.h"

namespace {

const std::string kHead = "KVLMN 1\r\n\r\nName;Kind;Value;\r\n";

template <typename T>
T* Find(QWidget* parent, const char* name) {
  T* child = parent->findChild<T*>(QString::fromLatin1(name));
  EXPECT_NE(child, nullptr) << name;
  return child;
}

bool WaitUntil(const std::function<bool()>& done, int ms = 10000) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
  while (!done()) {
    if (std::chrono::steady_clock::now() > end) return false;
    QTest::qWait(5);
  }
  return true;
}

// Whether a row's picture is the error one (red) rather than the success one (green).
bool IsErrorPicture(const QTreeWidgetItem* row) {
  const QColor centre = row->icon(0).pixmap(16, 16).toImage().pixelColor(8, 3);
  return centre.red() > centre.green();
}

struct Row {
  std::string text;
  bool error;
  bool operator==(const Row&) const = default;
};

std::vector<Row> RowsOf(QWidget* dialog) {
  std::vector<Row> rows;
  auto* list = Find<QTreeWidget>(dialog, "lvDetails");
  for (int i = 0; i < list->topLevelItemCount(); ++i) {
    QTreeWidgetItem* row = list->topLevelItem(i);
    rows.push_back({row->text(0).toStdString(), IsErrorPicture(row)});
  }
  return rows;
}

void SendKey(QWidget* target, int key) {
  QTest::keyPress(target, static_cast<Qt::Key>(key));
  QTest::keyRelease(target, static_cast<Qt::Key>(key));
}

// A library of its own for each test.
class ImpExpDlgTest : public testing::Test {
 protected:
  void SetUp() override {
    saved_ = RootFolder;
    RootFolder = &root_;
  }
  void TearDown() override { RootFolder = saved_; }

  std::string WriteFile(const std::string& bytes) {
    const std::string path = dir_.File("in.vle");
    EXPECT_TRUE(WriteFileBytes(path, bytes));
    return path;
  }

  TempDir dir_;
  TFolder root_;
  TFolder* saved_ = nullptr;
};

}  // namespace

TEST_F(ImpExpDlgTest, NothingEndsTheDialogWhileTheImportRuns) {
  std::string file = kHead;
  for (int i = 0; i < 50; ++i) file += "item " + std::to_string(i) + ";1;value;\r\n";
  TImpExpDlg dialog(TImpExpDlg::TMode::Import, WriteFile(file));
  EXPECT_EQ(dialog.windowTitle(), "Import Paste Items...");
  auto* close = Find<QPushButton>(&dialog, "cmdClose");
  auto* details = Find<QPushButton>(&dialog, "cmdDetails");
  EXPECT_EQ(close->text(), "&Close");
  EXPECT_EQ(details->text(), "&Details <<");
  EXPECT_TRUE(close->isDefault());

  std::vector<int> positions;
  int checkedAt = -1;
  QObject::connect(&dialog, &TImpExpDlg::progressShown, &dialog, [&](int position) {
    positions.push_back(position);
    if (position != 50) return;
    // Half-way through the run: every way out is refused.
    checkedAt = position;
    EXPECT_TRUE(dialog.Busy());
    EXPECT_FALSE(close->isEnabled());
    EXPECT_FALSE(details->isEnabled());
    EXPECT_FALSE(dialog.close());
    SendKey(&dialog, Qt::Key_Escape);
    dialog.reject();
    QTest::mouseClick(close, Qt::LeftButton);
    EXPECT_TRUE(dialog.isVisible());
  });

  dialog.show();
  EXPECT_FALSE(close->isEnabled());
  EXPECT_FALSE(details->isEnabled());
  ASSERT_TRUE(WaitUntil([&] { return close->isEnabled(); }));

  EXPECT_EQ(checkedAt, 50);
  EXPECT_TRUE(dialog.isVisible());
  EXPECT_FALSE(dialog.Busy());
  EXPECT_TRUE(details->isEnabled());
  // The bar moves with every line.
  std::vector<int> expected = {0};
  for (int k = 1; k <= 50; ++k) expected.push_back(k * 100 / 50);
  expected.push_back(100);
  EXPECT_EQ(positions, expected);
  EXPECT_EQ(Find<QProgressBar>(&dialog, "pBar")->value(), 100);
  EXPECT_EQ(Find<QLabel>(&dialog, "lblDescription")->text(),
            "Import finished.\n\nSee details for more information.");
  EXPECT_EQ(RowsOf(&dialog).size(), 50u);
  ASSERT_NE(dialog.ResultFolder(), nullptr);
  EXPECT_EQ(dialog.ResultFolder()->Items.Count(), 50);
  EXPECT_EQ(root_.Folders.Count(), 1);

  // Once the run has ended, Escape closes the dialog.
  SendKey(&dialog, Qt::Key_Escape);
  EXPECT_FALSE(dialog.isVisible());
}

TEST_F(ImpExpDlgTest, FailedImportShowsEarlierRowsThenTheError) {
  TImpExpDlg dialog(TImpExpDlg::TMode::Import,
                    WriteFile(kHead + "a;1;x;\r\nb;1;y;\r\nc;one;z;\r\n"));
  dialog.show();
  ASSERT_TRUE(WaitUntil(
      [&] { return !dialog.Busy() && Find<QPushButton>(&dialog, "cmdClose")->isEnabled(); }));
  EXPECT_EQ(RowsOf(&dialog),
            (std::vector<Row>{{"Record 'a' imported with success", false},
                              {"Record 'b' imported with success", false},
                              {"Error: 'one' is not a valid integer value", true}}));
  EXPECT_EQ(dialog.ResultFolder(), nullptr);
  EXPECT_EQ(root_.Folders.Count(), 0);
  EXPECT_EQ(Find<QLabel>(&dialog, "lblDescription")->text(),
            "Import failed!\n\nSee details for more information.");
  EXPECT_EQ(Find<QProgressBar>(&dialog, "pBar")->value(), 100);
}

// A row longer than the list is read whole: the column widens past its
// 255 px and the list scrolls sideways, and the tooltip shows the text as it
// is, markup included.
TEST_F(ImpExpDlgTest, LongRowsScrollSidewaysAndShowWholeAsATooltip) {
  const std::string number(300, '9');
  TImpExpDlg dialog(TImpExpDlg::TMode::Import,
                    WriteFile(kHead + "<b>bold</b>;1;x;\r\nc;" + number + ";z;\r\n"));
  dialog.show();
  ASSERT_TRUE(WaitUntil([&] { return Find<QPushButton>(&dialog, "cmdClose")->isEnabled(); }));
  auto* list = Find<QTreeWidget>(&dialog, "lvDetails");
  ASSERT_EQ(list->topLevelItemCount(), 2);
  const QString shortRow = "Record '<b>bold</b>' imported with success";
  const QString longRow =
      QString::fromStdString("Error: '" + number + "' is not a valid integer value");
  EXPECT_EQ(list->topLevelItem(0)->text(0), shortRow);
  EXPECT_EQ(list->topLevelItem(1)->text(0), longRow);
  EXPECT_GE(list->columnWidth(0),
            list->iconSize().width() + list->fontMetrics().horizontalAdvance(longRow));
  QApplication::processEvents();
  QStyleOptionViewItem cell;  // what the list's delegate needs to draw the row unelided
  cell.initFrom(list);
  cell.widget = list;
  cell.decorationSize = list->iconSize();
  EXPECT_GE(list->columnWidth(0),
            list->itemDelegate()->sizeHint(cell, list->model()->index(1, 0)).width());
  EXPECT_GT(list->horizontalScrollBar()->maximum(), 0);
  for (int i = 0; i < 2; ++i) {
    QTextDocument tip;
    tip.setHtml(list->topLevelItem(i)->toolTip(0));
    EXPECT_EQ(tip.toPlainText(), list->topLevelItem(i)->text(0));
  }

  // Short rows keep the 255 px column.
  TImpExpDlg quiet(TImpExpDlg::TMode::Import, WriteFile(kHead + "a;1;x;\r\n"));
  quiet.show();
  ASSERT_TRUE(WaitUntil([&] { return Find<QPushButton>(&quiet, "cmdClose")->isEnabled(); }));
  EXPECT_EQ(Find<QTreeWidget>(&quiet, "lvDetails")->columnWidth(0), 255);
}

TEST_F(ImpExpDlgTest, ExportKeepsTheBarAtZeroUntilTheEnd) {
  auto* item = new TPasteItem;
  item->Name = "a";
  item->Kind = 1;
  item->Value = "v";
  root_.Items.Add(item);
  const std::string path = dir_.File("out.vle");
  TImpExpDlg dialog(TImpExpDlg::TMode::Export, path);
  EXPECT_EQ(dialog.windowTitle(), "Export Paste Items...");
  std::vector<int> positions;
  QObject::connect(&dialog, &TImpExpDlg::progressShown, &dialog,
                   [&](int p) { positions.push_back(p); });
  dialog.show();
  ASSERT_TRUE(WaitUntil([&] { return Find<QPushButton>(&dialog, "cmdClose")->isEnabled(); }));
  EXPECT_EQ(positions, (std::vector<int>{0, 100}));
  EXPECT_EQ(RowsOf(&dialog),
            (std::vector<Row>{{"Item 'a' exported with success", false},
                              {"File '" + path + "' saved with success.", false}}));
  EXPECT_EQ(Find<QLabel>(&dialog, "lblDescription")->text(),
            "Export finished.\n\nSee details for more information.");
  EXPECT_EQ(ReadFileBytes(path), "KVLMN \r\n\r\nName;Kind;Value;\r\na;1;v;\r\n");
}

TEST_F(ImpExpDlgTest, DetailsToggleFoldsTheListAwayAndBack) {
  TImpExpDlg dialog(TImpExpDlg::TMode::Import, WriteFile(kHead));
  dialog.show();
  auto* details = Find<QPushButton>(&dialog, "cmdDetails");
  auto* list = Find<QTreeWidget>(&dialog, "lvDetails");
  ASSERT_TRUE(WaitUntil([&] { return details->isEnabled(); }));
  EXPECT_EQ(dialog.size(), QSize(401, 265));
  EXPECT_LE(list->geometry().bottom(), dialog.height());

  QTest::mouseClick(details, Qt::LeftButton);
  EXPECT_EQ(details->text(), "&Details >>");
  EXPECT_EQ(dialog.height(), 102);
  EXPECT_GE(list->geometry().top(), dialog.height());  // cut off just above the list
  EXPECT_GE(Find<QProgressBar>(&dialog, "pBar")->geometry().bottom(), 0);
  EXPECT_LT(Find<QProgressBar>(&dialog, "pBar")->geometry().bottom(), dialog.height());

  QTest::mouseClick(details, Qt::LeftButton);
  EXPECT_EQ(details->text(), "&Details <<");
  EXPECT_EQ(dialog.size(), QSize(401, 265));
  EXPECT_LE(list->geometry().bottom(), dialog.height());
}

// The entry points show the dialog modally and hand back what the run gave.
TEST_F(ImpExpDlgTest, EntryPointsRunModallyAndReturnTheFolder) {
  auto closeWhenDone = [] {
    auto* timer = new QTimer(qApp);
    timer->setInterval(5);
    QObject::connect(timer, &QTimer::timeout, [timer] {
      QWidget* dialog = QApplication::activeModalWidget();
      if (dialog == nullptr) return;
      auto* close = dialog->findChild<QPushButton*>("cmdClose");
      if (close == nullptr || !close->isEnabled()) return;
      timer->stop();
      timer->deleteLater();
      QTest::mouseClick(close, Qt::LeftButton);
    });
    timer->start();
  };

  closeWhenDone();
  TFolder* folder = ImportPasteItems(WriteFile(kHead + "a;7;x$y;\r\n"));
  ASSERT_NE(folder, nullptr);
  ASSERT_EQ(root_.Folders.Count(), 1);
  EXPECT_EQ(root_.Folders[0], folder);
  ASSERT_EQ(folder->Items.Count(), 1);
  EXPECT_EQ(folder->Items[0]->Value, "x\r\ny");

  closeWhenDone();
  EXPECT_EQ(ImportPasteItems(WriteFile("not an export file")), nullptr);
  EXPECT_EQ(root_.Folders.Count(), 1);

  closeWhenDone();
  ExportPasteItems(dir_.File("all.vle"));
  EXPECT_EQ(ReadFileBytes(dir_.File("all.vle")), "KVLMN \r\n\r\nName;Kind;Value;\r\na;7;x$y;\r\n");
}

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  testing::InitGoogleTest(&argc, argv);
  QApplication app(argc, argv);
  QApplication::setQuitOnLastWindowClosed(false);
  return RUN_ALL_TESTS();
}
