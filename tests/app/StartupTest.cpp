// The start-up sequence and shut-down on a clean or used profile, with the
// user interface replaced by recording fakes.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "TestSupport.h"
#include "app/SLApplication.h"
#include "app/Startup.h"
#include "library/SLRegistry.h"
#include "library/clsLibrary.h"
#include "paste/LastWindow.h"
#include "platform/AutoStart.h"
#include "platform/VersionRecord.h"
#include "platform/linux/SqliteHive.h"
#include "rules/clsOptions.h"

namespace {

const std::string kKey = kProductKey;
const std::string kLibrary = LibraryKey(kProductKey);

class Startup : public ::testing::Test {
 protected:
  void SetUp() override {
    SetAutoStart(&autoStart_);
    exe_ = dir_.File("kvlmn");
    WriteFileBytes(exe_, version_record::Encode("FileVersion=2.1.0.7\nTranslation=040904E4\n"));
  }
  void TearDown() override {
    FinalizeApplication();
    SetAutoStart(nullptr);
  }

  // Fake services that record what start-up asked of the user interface.
  TStartupServices Services(bool firstInstance = true) {
    TStartupServices s;
    s.CheckSingleInstance = [this, firstInstance](bool english) {
      calls_.push_back(english ? "instance" : "instance in Portuguese");
      return firstInstance;
    };
    s.ShowSplash = [this] { calls_.push_back("splash " + SLApplication->Version); };
    s.Sleep = [this](int ms) { calls_.push_back("sleep " + std::to_string(ms)); };
    s.CloseSplash = [this] { calls_.push_back("close splash"); };
    s.ReleaseSplashBitmap = [this] { calls_.push_back("release bitmap"); };
    return s;
  }

  static std::vector<std::string> SubKeys(const std::string& key) {
    std::vector<std::string> names;
    GetRegKeyNames(RegHive::CurrentUser, key, names);
    return names;
  }

  ScopedTestRegistry registry_;
  TRegistryAutoStart autoStart_;
  TempDir dir_;
  std::string exe_;
  std::vector<std::string> calls_;
};

}  // namespace

TEST_F(Startup, FirstStartSeedsTheSampleAndStoresItOnlyAtTheEnd) {
  LastWindow = 42;
  ASSERT_TRUE(InitializeApplication(exe_, Services()));
  EXPECT_EQ(calls_, (std::vector<std::string>{"instance", "splash 2.1.0 Build 7", "sleep 2000",
                                              "close splash"}));
  ASSERT_NE(SLApplication, nullptr);
  EXPECT_EQ(SLApplication->Title, "Kestrelay Vellumin");
  EXPECT_EQ(SLApplication->ProductKey, "Software\\Kestrelay\\Kestrelay Ardentry\\Vellumin");
  EXPECT_EQ(SLApplication->ExePath, dir_.Path() + "/");
  EXPECT_EQ(SLApplication->HelpFile, dir_.File("kvlmn.chm"));
  EXPECT_EQ(SLApplication->TipFile, dir_.File("kvlmn.tip"));
  EXPECT_EQ(LastWindow, kNoWindow);

  EXPECT_EQ(ReadRegString(RegHive::LocalMachine, kKey, "Location", ""), dir_.Path() + "/");
  EXPECT_EQ(ReadRegString(RegHive::LocalMachine, kKey, "Version", ""), "2.1.0 Build 7");
  EXPECT_EQ(ReadRegInteger(RegHive::CurrentUser, kKey, "Executed", 0), 1);
  EXPECT_TRUE(SubKeys(kLibrary).empty());
  EXPECT_FALSE(RegValueExists(RegHive::CurrentUser, kLibrary, "Name"));

  ASSERT_NE(RootFolder, nullptr);
  EXPECT_EQ(RootFolder->Name, "Root");
  ASSERT_EQ(RootFolder->Folders.Count(), 3);
  std::vector<std::string> folders, items;
  for (TFolder* f : RootFolder->Folders) {
    folders.push_back(f->Name);
    for (TPasteItem* i : f->Items) {
      items.push_back(i->Name + "=" + i->Value);
      EXPECT_EQ(i->Kind, 1);
    }
  }
  EXPECT_EQ(folders, (std::vector<std::string>{"E-mail signatures", "Login", "Passwords"}));
  EXPECT_EQ(
      items,
      (std::vector<std::string>{
          "john.doe@example.com=John Doe - john.doe@example.com - http://www.example.com/",
          "Intranet=John.Doe", "Server=JohnDoeSrv", "Intranet=Rbtmwq53", "Server=pqzrwtn_316"}));
  ASSERT_NE(VLMNOptions, nullptr);
  EXPECT_FALSE(VLMNOptions->AutoStart);

  FinalizeApplication();
  EXPECT_EQ(SLApplication, nullptr);
  EXPECT_EQ(RootFolder, nullptr);
  EXPECT_EQ(VLMNOptions, nullptr);
  EXPECT_EQ(calls_.back(), "release bitmap");
  EXPECT_EQ(SubKeys(kLibrary), (std::vector<std::string>{"f_0", "f_1", "f_2"}));
  EXPECT_EQ(ReadRegString(RegHive::CurrentUser, kLibrary + "\\f_2\\i_1", "Value", ""),
            "pqzrwtn_316");
  EXPECT_TRUE(RegValueExists(RegHive::CurrentUser, kKey + "\\Options", "ShowTips"));

  // The next start loads what was stored.
  ASSERT_TRUE(InitializeApplication(exe_, Services()));
  EXPECT_EQ(RootFolder->Folders.Count(), 3);
  EXPECT_EQ(RootFolder->Folders[1]->Items[1]->Value, "JohnDoeSrv");
}

TEST_F(Startup, StartAfterAKilledFirstRunFindsAnEmptyLibrary) {
  WriteRegBool(RegHive::CurrentUser, kKey, "Executed", true);
  ASSERT_TRUE(InitializeApplication(exe_, Services()));
  EXPECT_EQ(RootFolder->Name, "");
  EXPECT_EQ(RootFolder->Folders.Count(), 0);
  EXPECT_EQ(RootFolder->Items.Count(), 0);
}

TEST_F(Startup, SecondInstanceStopsBeforeAnythingIsWritten) {
  EXPECT_FALSE(InitializeApplication(exe_, Services(false)));
  EXPECT_EQ(calls_, (std::vector<std::string>{"instance"}));
  EXPECT_EQ(SLApplication, nullptr);
  EXPECT_EQ(RootFolder, nullptr);
  EXPECT_FALSE(RegValueExists(RegHive::CurrentUser, kKey, "Executed"));
  EXPECT_FALSE(RegValueExists(RegHive::LocalMachine, kKey, "Location"));
}

TEST_F(Startup, SecondInstanceOfAPortugueseBuildIsToldInPortuguese) {
  WriteFileBytes(exe_, version_record::Encode("FileVersion=2.1.0.7\nTranslation=041604E4\n"));
  EXPECT_FALSE(InitializeApplication(exe_, Services(false)));
  EXPECT_EQ(calls_, (std::vector<std::string>{"instance in Portuguese"}));
}

TEST_F(Startup, SessionEndWritesEverythingAndFreesNothing) {
  ASSERT_TRUE(InitializeApplication(exe_, Services()));
  VLMNOptions->ShowTips = false;
  SaveApplicationData();
  EXPECT_EQ(SubKeys(kLibrary).size(), 3u);
  EXPECT_FALSE(ReadRegBool(RegHive::CurrentUser, kKey + "\\Options", "ShowTips", true));
  ASSERT_NE(RootFolder, nullptr);
  ASSERT_NE(SLApplication, nullptr);

  // The session went on: a later change is still written by the final save,
  // and the objects are freed once.
  RootFolder->Folders.Remove(RootFolder->Folders[0]);
  FinalizeApplication();
  FinalizeApplication();
  EXPECT_EQ(SubKeys(kLibrary).size(), 2u);
  EXPECT_EQ(std::count(calls_.begin(), calls_.end(), "release bitmap"), 1);
}

TEST_F(Startup, UnwritableMachineHiveDoesNotStopStartUp) {
  TempDir other;
  WriteFileBytes(other.File("not-a-folder"), "x");
  SqliteRegistry registry(other.File("HKCU.hive"), other.File("not-a-folder") + "/HKLM.hive");
  SetRegistry(&registry);
  ASSERT_TRUE(InitializeApplication(exe_, Services()));
  EXPECT_FALSE(RegValueExists(RegHive::LocalMachine, kKey, "Location"));
  EXPECT_EQ(ReadRegInteger(RegHive::CurrentUser, kKey, "Executed", 0), 1);
  EXPECT_EQ(RootFolder->Folders.Count(), 3);
  FinalizeApplication();
  SetRegistry(&registry_.Get());
}

TEST_F(Startup, PortugueseBuildSeedsThePortugueseSample) {
  WriteFileBytes(exe_, version_record::Encode("FileVersion=2.1.0.7\nTranslation=041604E4\n"));
  ASSERT_TRUE(InitializeApplication(exe_, Services()));
  EXPECT_FALSE(SLApplication->English);
  EXPECT_EQ(RootFolder->Name, "Raiz");
  EXPECT_EQ(RootFolder->Folders[2]->Name, "Senhas");
}
