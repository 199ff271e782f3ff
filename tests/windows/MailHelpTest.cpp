// Simple MAPI and HTML Help: what reaches MAPISendMail and HtmlHelpA (through
// a stand-in library), and what happens when the library or its entry is
// missing.
#include <gtest/gtest.h>
#include <windows.h>

#include <fstream>
#include <string>
#include <vector>

#include "../framework/FakeLauncher.h"
#include "WineCheck.h"
#include "app/SLApplication.h"
#include "framework/SLHelp.h"
#include "framework/SLMapi.h"
#include "library/SLRegistry.h"
#include "platform/windows/Win32Help.h"
#include "platform/windows/Win32Mail.h"

namespace {

constexpr const char* kMessagingKey = "SOFTWARE\\Microsoft\\Windows Messaging Subsystem";

// The stand-in library beside the test program, and what it last received.
std::string FakeLibrary() {
  return ProgramFolder() + "fake_services.dll";
}

struct TFake {
  std::string LastCall() const { return Entry<const char* (*)()>("FakeLastCall")(); }
  int Calls() const { return Entry<int (*)()>("FakeCalls")(); }
  void SetResult(ULONG result) const { Entry<void (*)(ULONG)>("FakeSetResult")(result); }
  static HMODULE Module() { return GetModuleHandleA(FakeLibrary().c_str()); }
  template <typename F>
  static F Entry(const char* name) {
    return reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(Module(), name)));
  }
};

// Sets the "Simple MAPI installed" value for one test and puts the old one back.
class TMapiInstalled {
 public:
  explicit TMapiInstalled(const char* value)
      : existed_(RegValueExists(RegHive::LocalMachine, kMessagingKey, "MAPI")),
        saved_(ReadRegString(RegHive::LocalMachine, kMessagingKey, "MAPI", "")) {
    Set(value);
  }
  ~TMapiInstalled() {
    if (existed_)
      WriteRegString(RegHive::LocalMachine, kMessagingKey, "MAPI", saved_);
    else
      DeleteRegValue(RegHive::LocalMachine, kMessagingKey, "MAPI");
  }
  void Set(const char* value) {
    if (value == nullptr)
      DeleteRegValue(RegHive::LocalMachine, kMessagingKey, "MAPI");
    else
      WriteRegString(RegHive::LocalMachine, kMessagingKey, "MAPI", value);
  }

 private:
  bool existed_;
  std::string saved_;
};

// Sends through TSLMapi and names the event that reported the outcome.
std::string Outcome(TSLMapi& mapi) {
  std::string events;
  mapi.OnSuccess = [&](TSLMapi*) { events += "success;"; };
  mapi.OnUserAbort = [&](TSLMapi*) { events += "abort;"; };
  mapi.OnMapiError = [&](TSLMapi*, uint32_t code) {
    events += "error " + std::to_string(code) + ";";
  };
  mapi.Send();
  return events;
}

TEST(Win32Mail, IsTheMailSystemOnWindows) {
  EXPECT_NE(dynamic_cast<TWin32MailSystem*>(&MailSystem()), nullptr);
}

TEST(Win32Mail, WithoutSimpleMapiASendCountsAsCancelled) {
  TSLMapi mapi;
  mapi.Recipients = {"a@example.com"};
  TMapiInstalled installed(nullptr);
  {
    TWin32MailSystem mail(FakeLibrary());
    SetMailSystem(&mail);
    EXPECT_EQ(Outcome(mapi), "abort;");
    installed.Set("0");
    EXPECT_EQ(Outcome(mapi), "abort;");
    EXPECT_EQ(TFake::Module(), nullptr);  // not even loaded
  }
  installed.Set("1");
  for (const std::string& library : {ProgramFolder() + "missing.dll", std::string("version.dll")}) {
    SCOPED_TRACE(library);  // the library missing; present without MAPISendMail
    TWin32MailSystem mail(library);
    SetMailSystem(&mail);
    EXPECT_EQ(Outcome(mapi), "abort;");
    EXPECT_EQ(Outcome(mapi), "abort;");
  }
  SetMailSystem(nullptr);
}

TEST(Win32Mail, TheMessageReachesMapiSendMailAsBuilt) {
  TMapiInstalled installed("1");
  TWin32MailSystem mail(FakeLibrary());
  SetMailSystem(&mail);
  TSLMapi mapi;
  mapi.Subject = "Kestrelay Vellumin 1.0.0 Build 1";
  mapi.Body = " ";
  mapi.FromName = "Me";
  mapi.FromAdress = "me@example.com";
  mapi.Recipients = {"a@example.com", "b@example.com"};
  mapi.CopyTo = {"c@example.com"};
  mapi.BlindCopyTo = {"d@example.com"};
  mapi.AttachedFiles = {"C:\\docs\\report.txt", "D:notes.txt"};
  mapi.ShowDialog = true;
  EXPECT_EQ(Outcome(mapi), "success;");
  const TFake fake;
  ASSERT_NE(TFake::Module(), nullptr);
  EXPECT_EQ(fake.LastCall(),
            "session 0 flags 11 reserved 0\n"
            "subject 'Kestrelay Vellumin 1.0.0 Build 1' note ' ' type (null) date (null) "
            "conversation (null) flags 0\n"
            "from [0 0 'Me' 'me@example.com' 0]\n"
            "to 4 [0 1 'a@example.com' 'SMTP:a@example.com' 0] "
            "[0 1 'b@example.com' 'SMTP:b@example.com' 0] "
            "[0 2 'c@example.com' 'SMTP:c@example.com' 0] "
            "[0 3 'd@example.com' 'SMTP:d@example.com' 0]\n"
            "files 2 [0 0 -1 'C:\\docs\\report.txt' 'report.txt'] "
            "[0 0 -1 'D:notes.txt' 'notes.txt']");

  mapi.AttachedFiles.clear();
  mapi.CopyTo.clear();
  mapi.BlindCopyTo.clear();
  mapi.ShowDialog = false;
  fake.SetResult(2);  // MAPI_E_FAILURE
  EXPECT_EQ(Outcome(mapi), "error 2;");
  EXPECT_EQ(fake.LastCall().substr(0, 29), "session 0 flags 0 reserved 0\n");
  EXPECT_NE(fake.LastCall().find("\nfiles 0 (null)"), std::string::npos);
  fake.SetResult(1);
  EXPECT_EQ(Outcome(mapi), "abort;");

  // Once loaded, the library stays for the rest of the run.
  installed.Set("0");
  fake.SetResult(0);
  EXPECT_EQ(Outcome(mapi), "success;");
  EXPECT_EQ(fake.Calls(), 4);
  SetMailSystem(nullptr);
}

// A help file to point the descriptor at; ShowHelp only checks that it exists.
class Win32Help : public testing::Test {
 protected:
  void SetUp() override {
    char folder[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, folder);
    help_ = std::string(folder) + "vellumin-help-" + std::to_string(GetCurrentProcessId()) + ".chm";
    std::ofstream(help_) << "ITSF";
    app_.HelpFile = help_;
  }
  void TearDown() override {
    SetHelpEngine(nullptr);
    DeleteFileA(help_.c_str());
  }
  std::string help_;
  TSLApplication app_;
  TFakeLauncher launcher_;
};

TEST_F(Win32Help, OpensTheFileInItsWindowAtTheContext) {
  TWin32HelpEngine engine(FakeLibrary());
  SetHelpEngine(&engine);
  ShowHelp(app_, kHelpImportExport);
  const TFake fake;
  ASSERT_NE(TFake::Module(), nullptr);
  EXPECT_EQ(fake.LastCall(), "'" + help_ + ">MainWindow' 15 600");
  ShowHelp(app_, kHelpDefault);
  EXPECT_EQ(fake.LastCall(), "'" + help_ + ">MainWindow' 0 0");
  ShowHelp(app_, kHelpTechSupport);
  EXPECT_EQ(fake.LastCall(), "'" + help_ + ">MainWindow' 15 60000");
  EXPECT_EQ(fake.Calls(), 3);

  // Without the file, or without a file name, nothing is called.
  app_.HelpFile = help_ + ".missing";
  ShowHelp(app_, kHelpSearch);
  app_.HelpFile = "";
  ShowHelp(app_, kHelpSearch);
  EXPECT_EQ(fake.Calls(), 3);
  EXPECT_TRUE(launcher_.beeps.empty());
}

TEST_F(Win32Help, WithoutTheEngineOnlyABeep) {
  for (const std::string& library : {ProgramFolder() + "missing.ocx", std::string("version.dll")}) {
    SCOPED_TRACE(library);  // the library missing; present without HtmlHelpA
    launcher_.beeps.clear();
    TWin32HelpEngine engine(library);
    EXPECT_EQ(engine.Call(nullptr, help_, kHelpDisplayTopic, 0), -1);
    SetHelpEngine(&engine);
    EXPECT_NO_THROW(ShowHelp(app_, kHelpSearch));
    EXPECT_EQ(launcher_.beeps, (std::vector<std::string>{"1000/100", "1000/100"}));
    SetHelpEngine(nullptr);
  }
}

}  // namespace

namespace {

// The compiled help file as built beside the program: every help context of
// the program opens a viewer through HtmlHelp's context table, and a number
// that is no context of ours finds no topic. Wine's own HTML Help engine.
TEST(CompiledHelp, EveryContextOfTheProgramHasItsTopic) {
  // kvlmn.chm is at the top of the build folder, two above this program.
  const std::string chm = ProgramFolder() + "..\\..\\kvlmn.chm";
  ASSERT_NE(GetFileAttributesA(chm.c_str()), INVALID_FILE_ATTRIBUTES) << chm;
  TWin32HelpEngine engine;
  const std::string file = chm + ">MainWindow";
  for (int context :
       {kHelpPreferences, kHelpImportExport, kHelpSearch, kHelpItemAdd, kHelpItemModify,
        kHelpCopyFolder, kHelpMoveFolder, kHelpCopyItem, kHelpMoveItem, kHelpTechSupport}) {
    SCOPED_TRACE(context);
    EXPECT_NE(engine.Call(nullptr, file, kHelpContext, static_cast<uintptr_t>(context)), 0);
  }
  EXPECT_NE(engine.Call(nullptr, file, kHelpDisplayTopic, 0), 0);
  EXPECT_EQ(engine.Call(nullptr, file, kHelpContext, 4242), 0);
  engine.Call(nullptr, "", 0x0012 /* HH_CLOSE_ALL */, 0);
}

}  // namespace
