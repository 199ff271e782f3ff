// The version block read from program files with and without a version
// resource, the instance lock as a second process sees it, and the launchers.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "BuildConfig.h"
#include "WineCheck.h"
#include "app/SLApplication.h"
#include "framework/SLExceptions.h"
#include "framework/SLHelp.h"
#include "library/SLRegistry.h"
#include "platform/SingleInstance.h"
#include "platform/VersionInfo.h"
#include "platform/windows/Win32Launcher.h"

namespace {

// The copyright sign in the system's ANSI code page, as the A functions give it.
std::string Ansi(const wchar_t* text) {
  char buffer[256] = {};
  const int n = WideCharToMultiByte(CP_ACP, 0, text, -1, buffer, sizeof buffer, nullptr, nullptr);
  return std::string(buffer, n > 0 ? n - 1 : 0);
}

struct VersionCase {
  const char* program;  // beside the test program
  bool english;
  const char* table;
  bool copyright;
};

TEST(VersionBlock, ReadFromTheVersionResource) {
  const std::string version =
      std::to_string(VELLUMIN_VERSION_MAJOR) + "." + std::to_string(VELLUMIN_VERSION_MINOR) + "." +
      std::to_string(VELLUMIN_VERSION_PATCH) + " Build " + std::to_string(VELLUMIN_BUILD_NUMBER);
  const std::string notice = Ansi(L"Copyright \u00a9 2026 Kestrelay");
  const VersionCase cases[] = {
      {"helper_en.exe", true, "040904E4", true},
      {"helper_ptbr.exe", false, "041604E4", true},
      {"helper_nocopyright.exe", true, "040904E4", false},
  };
  for (const VersionCase& c : cases) {
    SCOPED_TRACE(c.program);
    const std::string path = ProgramFolder() + c.program;
    auto block = ReadVersionBlock(path);
    ASSERT_TRUE(block.has_value());
    ASSERT_TRUE(block->FixedInfo.has_value());
    EXPECT_EQ(block->FixedInfo->FileVersionMS,
              uint32_t(VELLUMIN_VERSION_MAJOR) << 16 | VELLUMIN_VERSION_MINOR);
    EXPECT_EQ(block->FixedInfo->FileVersionLS,
              uint32_t(VELLUMIN_VERSION_PATCH) << 16 | VELLUMIN_BUILD_NUMBER);
    ASSERT_EQ(block->Translations.size(), 1u);
    EXPECT_EQ(block->Translations[0], c.english ? 0x04E40409u : 0x04E40416u);
    EXPECT_EQ(block->Strings.count(std::string(c.table) + "\\LegalCopyright"),
              c.copyright ? 1u : 0u);
    EXPECT_EQ(block->Strings[std::string(c.table) + "\\ProductName"], "Kestrelay Vellumin");

    EXPECT_EQ(GetVersionText(path), version);
    EXPECT_EQ(IsEnglishBuild(path), c.english);
    EXPECT_EQ(GetLegalCopyright(path), c.copyright ? notice : "");
  }
}

TEST(VersionBlock, ProgramsWithoutResourceOrFile) {
  const std::string plain = ProgramFolder() + "helper_plain.exe";
  EXPECT_EQ(ReadVersionBlock(plain), std::nullopt);
  EXPECT_EQ(GetVersionText(plain), "0.0.0");
  EXPECT_TRUE(IsEnglishBuild(plain));
  EXPECT_EQ(GetLegalCopyright(plain), GetLegalCopyright(ProgramFolder() + "missing.exe"));
  EXPECT_FALSE(GetLegalCopyright(plain).empty());  // the built-in notice
  EXPECT_EQ(ReadVersionBlock(ProgramFolder() + "missing.exe"), std::nullopt);
}

// Runs the helper and returns its exit code (-1 when it could not run).
DWORD RunHelper(const std::string& arguments, PROCESS_INFORMATION* keep = nullptr) {
  std::string command = "\"" + ProgramFolder() + "helper_plain.exe\" " + arguments;
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process = {};
  if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &process))
    return DWORD(-1);
  if (keep != nullptr) {
    *keep = process;
    return 0;
  }
  WaitForSingleObject(process.hProcess, 30000);
  DWORD code = DWORD(-1);
  GetExitCodeProcess(process.hProcess, &code);
  CloseHandle(process.hProcess);
  CloseHandle(process.hThread);
  return code;
}

std::string UniqueName(const char* what) {
  return std::string("KVLMN-test-") + what + "-" + std::to_string(GetCurrentProcessId());
}

TEST(SingleInstance, ASecondProcessIsRefusedWhileTheFirstRuns) {
  const std::string name = UniqueName("mine");
  EXPECT_EQ(RunHelper("mutex " + name), 0u);  // free: the helper takes it and ends
  EXPECT_EQ(AcquireSingleInstance(name), InstanceLock::Taken);  // free again after the helper
  EXPECT_EQ(RunHelper("mutex " + name), 1u);                    // now held here
  EXPECT_EQ(RunHelper("mutex " + name), 1u);
}

// Another kind of object squatting on the name: no mutex, and no start.
TEST(SingleInstance, ANameTakenByAnotherKindOfObjectRefusesTheStart) {
  const std::string name = UniqueName("squatted");
  HANDLE squatter = CreateEventA(nullptr, TRUE, FALSE, name.c_str());
  ASSERT_NE(squatter, nullptr);
  EXPECT_EQ(AcquireSingleInstance(name), InstanceLock::Unavailable);
  EXPECT_EQ(RunHelper("mutex " + name), 2u);
  CloseHandle(squatter);
}

TEST(SingleInstance, TheLockEndsWithTheProcessHoldingIt) {
  const std::string name = UniqueName("other");
  HANDLE ready = CreateEventA(nullptr, TRUE, FALSE, (name + "-ready").c_str());
  HANDLE release = CreateEventA(nullptr, TRUE, FALSE, (name + "-release").c_str());
  PROCESS_INFORMATION holder = {};
  ASSERT_EQ(RunHelper("hold " + name, &holder), 0u);
  ASSERT_EQ(WaitForSingleObject(ready, 30000), WAIT_OBJECT_0);
  EXPECT_EQ(AcquireSingleInstance(name), InstanceLock::HeldElsewhere);
  SetEvent(release);
  ASSERT_EQ(WaitForSingleObject(holder.hProcess, 30000), WAIT_OBJECT_0);
  DWORD code = 99;
  GetExitCodeProcess(holder.hProcess, &code);
  EXPECT_EQ(code, 0u);
  CloseHandle(holder.hProcess);
  CloseHandle(holder.hThread);
  EXPECT_EQ(AcquireSingleInstance(name), InstanceLock::Taken);  // the holder's end freed it
  CloseHandle(ready);
  CloseHandle(release);
}

}  // namespace

namespace {

constexpr const char* kMsInfoKey = "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO";

TEST(Launcher, StartsProgramsAndFindsTheRegisteredSystemInfoTool) {
  TWin32Launcher launcher;
  EXPECT_TRUE(launcher.StartProgram(ProgramFolder() + "helper_plain.exe"));
  EXPECT_FALSE(launcher.StartProgram(ProgramFolder() + "missing.exe"));

  SetLauncher(&launcher);
  const std::string saved = ReadRegString(RegHive::LocalMachine, kMsInfoKey, "Path", "");
  WriteRegString(RegHive::LocalMachine, kMsInfoKey, "Path", "");
  EXPECT_EQ(launcher.FindSystemInfoProgram(), "");
  try {
    RunSystemInfo();
    ADD_FAILURE() << "no System Info without a registered path";
  } catch (const ESLException& e) {
    EXPECT_STREQ(e.what(), "Unable to run System Info at this time.");
    EXPECT_EQ(e.Details,
              "The Operating System registry contains an empty path definition for System Info.");
  }
  WriteRegString(RegHive::LocalMachine, kMsInfoKey, "Path", ProgramFolder() + "missing.exe");
  EXPECT_THROW(RunSystemInfo(), ESLException);
  WriteRegString(RegHive::LocalMachine, kMsInfoKey, "Path", ProgramFolder() + "helper_plain.exe");
  EXPECT_EQ(launcher.FindSystemInfoProgram(), ProgramFolder() + "helper_plain.exe");
  EXPECT_NO_THROW(RunSystemInfo());
  WriteRegString(RegHive::LocalMachine, kMsInfoKey, "Path", saved);
  SetLauncher(nullptr);
}

}  // namespace
