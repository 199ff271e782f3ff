// The application-wide handler: what each kind of exception escaping an event
// handler shows, and whether the program goes on. The program-ending path
// runs in a child process with a real main window and a registry on disk.
#include <gtest/gtest.h>

#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <cstdio>
#include <cstdlib>
#include <functional>

#include "GuiTest.h"
#include "TestSupport.h"
#include "app/SLApplication.h"
#include "app/Startup.h"
#include "framework/SLAppEvents.h"
#include "framework/SLExceptions.h"
#include "platform/linux/SqliteHive.h"
#include "ui/main/frmMain.h"

namespace {

// Throws from its event handler, as a command that fails would.
class TThrower : public QObject {
 public:
  explicit TThrower(std::function<void()> raise) : raise_(std::move(raise)) {}
  bool event(QEvent* e) override {
    if (e->type() == QEvent::User) raise_();
    return QObject::event(e);
  }

 private:
  std::function<void()> raise_;
};

struct Shown {
  bool any = false;
  QString text, details, picture;
  bool detailsButton = false;
};

// Records the details dialog the handler shows and closes it with OK.
void RecordAndClose(Shown& shown) {
  WhenModal([&shown](QWidget* d) {
    shown.any = true;
    shown.text = Find<QLabel>(d, "lblErrorMsg")->text();
    shown.details = Find<QPlainTextEdit>(d, "txtErrorDetails")->toPlainText();
    shown.detailsButton = Find<QPushButton>(d, "cmdDetails")->isVisibleTo(d);
    for (const char* name : {"imgCritical", "imgWarning", "imgInformation"})
      if (Find<QLabel>(d, name)->isVisibleTo(d)) shown.picture = name;
    Find<QPushButton>(d, "cmdOK")->click();
  });
}

}  // namespace

TEST(ErrorHandler, WarningInformationAndUnknownTypesLetTheProgramGoOn) {
  struct Case {
    int type;
    const char* picture;  // nullptr: nothing is shown
  };
  for (const Case& c : {Case{smtWarning, "imgWarning"}, Case{smtInformation, "imgInformation"},
                        Case{3, nullptr}, Case{5, nullptr}}) {
    SCOPED_TRACE(c.type);
    TThrower thrower([&] {
      throw ESLException("You must type a valid folder name.", c.type == 2 ? "more" : "",
                         TSLMessageType(c.type));
    });
    Shown shown;
    QObject context;
    bool wentOn = false;
    RecordAndClose(shown);
    QCoreApplication::postEvent(&thrower, new QEvent(QEvent::User));
    // Reached only when the loop keeps running after the report.
    QTimer::singleShot(150, &context, [&] {
      wentOn = true;
      QCoreApplication::exit(0);
    });
    QCoreApplication::exec();
    EXPECT_TRUE(wentOn);
    if (c.picture == nullptr) {
      EXPECT_FALSE(shown.any);
      // The pending watcher found no dialog; drop it for the next case.
      for (QTimer* t : qApp->findChildren<QTimer*>()) t->deleteLater();
      continue;
    }
    ASSERT_TRUE(shown.any);
    EXPECT_EQ(shown.text, "You must type a valid folder name.");
    EXPECT_EQ(shown.picture, c.picture);
    EXPECT_EQ(shown.detailsButton, c.type == 2);
  }
}

// The child: a started program (descriptor, options, sample library, hidden
// main window) whose message loop meets an exception; it reports what the
// handler showed and how the loop ended, then winds down as the program does.
[[noreturn]] void RunEndingChild(std::function<void()> raise) {
  const std::string dir = std::getenv("VLMN_TEST_HIVES");
  SqliteRegistry registry(dir + "/HKCU.hive", dir + "/HKLM.hive");
  SetRegistry(&registry);
  if (!InitializeApplication(dir + "/kvlmn", TStartupServices{})) std::_Exit(20);
  VLMNMain = new TVLMNMain;
  TThrower thrower(std::move(raise));
  Shown shown;
  QObject context;
  RecordAndClose(shown);
  QCoreApplication::postEvent(&thrower, new QEvent(QEvent::User));
  QTimer::singleShot(2000, &context, [] {
    std::fprintf(stderr, "loop went on\n");
    QCoreApplication::exit(5);
  });
  int code = QCoreApplication::exec();
  std::fprintf(stderr, "shown=[%s] details=[%s] picture=%s closing=%d\n",
               shown.text.toUtf8().constData(), shown.details.toUtf8().constData(),
               shown.picture.toUtf8().constData(), int(VLMNMain->Closing));
  delete VLMNMain;  // writes the library and the options
  SetRegistry(nullptr);
  std::fflush(stderr);
  std::_Exit(code == 0 ? 7 : 9);
}

// Death tests run in a fresh copy of this program that repeats the test up
// to the EXPECT_EXIT; the child finds the parent's hive folder in the
// environment instead of making its own.
class ErrorHandlerEnding : public testing::Test {
 protected:
  void SetUp() override {
    if (const char* inherited = std::getenv("VLMN_TEST_HIVES")) {
      dir_ = inherited;
      return;
    }
    owned_ = std::make_unique<TempDir>();
    dir_ = owned_->Path();
    setenv("VLMN_TEST_HIVES", dir_.c_str(), 1);
  }
  void TearDown() override {
    if (owned_) unsetenv("VLMN_TEST_HIVES");
  }
  // Whether the ended program wrote its library as on Exit.
  bool LibraryWritten() {
    SqliteRegistry registry(dir_ + "/HKCU.hive", dir_ + "/HKLM.hive");
    auto key =
        registry.OpenKey(RegHive::CurrentUser, std::string(kProductKey) + "\\Folders", false);
    return key != nullptr && key->SubKeyNames().size() == 3;
  }
  std::unique_ptr<TempDir> owned_;
  std::string dir_;
};

TEST_F(ErrorHandlerEnding, ForeignExceptionShowsUnexpectedErrorAndEndsInOrder) {
  EXPECT_EXIT(RunEndingChild([] { throw std::out_of_range("index 7 out of range"); }),
              testing::ExitedWithCode(7),
              "shown=\\[Unexpected error.\\] details=\\[index 7 out of range\\] "
              "picture=imgCritical closing=1");
  EXPECT_TRUE(LibraryWritten());
}

TEST_F(ErrorHandlerEnding, ErrorTypeShowsItsMessageAndEndsInOrder) {
  EXPECT_EXIT(RunEndingChild([] { throw ESLException("Disk gone.", "sector 9", smtError); }),
              testing::ExitedWithCode(7),
              "shown=\\[Disk gone.\\] details=\\[sector 9\\] picture=imgCritical closing=1");
  EXPECT_TRUE(LibraryWritten());
}

TEST_F(ErrorHandlerEnding, ExceptionOfNoStandardClassEndsToo) {
  EXPECT_EXIT(RunEndingChild([] { throw 42; }), testing::ExitedWithCode(7),
              "shown=\\[Unexpected error.\\] details=\\[\\] picture=imgCritical closing=1");
}
