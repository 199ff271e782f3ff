// Checks that a test run leaves the user's own settings alone. Run by
// scripts/windows-test around the whole CTest run:
//   registry_guard plant   before: marks the real HKCU Options key and Run value "VLMN"
//   registry_guard check   after: exit 0 when both marks are as planted, 1 otherwise;
//                          either way the real keys are put back as they were
// This program does not take the tests' registry sandbox: it works on the
// real HKEY_CURRENT_USER.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <optional>
#include <string>

namespace {

constexpr const char* kOptionsKey = "Software\\Kestrelay\\Kestrelay Ardentry\\Vellumin\\Options";
constexpr const char* kRunKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr const char* kRunValue = "VLMN";
constexpr const char* kMarkValue = "Vellumin test sentinel";
constexpr const char* kMarkData = "planted before the test run";
constexpr const char* kRunMarkData = "C:\\vellumin-test-sentinel\\kvlmn.exe";
// What `plant` found, so that `check` can compare and put it back.
constexpr const char* kGuardKey = "Software\\Vellumin Tests\\Guard";

std::optional<std::string> ReadString(const char* key, const char* value) {
  char buffer[1024];
  DWORD size = sizeof buffer;
  if (RegGetValueA(HKEY_CURRENT_USER, key, value, RRF_RT_REG_SZ, nullptr, buffer, &size) !=
      ERROR_SUCCESS)
    return std::nullopt;
  return std::string(buffer);
}

bool WriteString(const char* key, const char* value, const std::string& data) {
  return RegSetKeyValueA(HKEY_CURRENT_USER, key, value, REG_SZ, data.c_str(),
                         static_cast<DWORD>(data.size() + 1)) == ERROR_SUCCESS;
}

bool KeyExists(const char* key) {
  HKEY handle;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, key, 0, KEY_READ, &handle) != ERROR_SUCCESS) return false;
  RegCloseKey(handle);
  return true;
}

int Plant() {
  const bool optionsExisted = KeyExists(kOptionsKey);
  const std::optional<std::string> run = ReadString(kRunKey, kRunValue);
  if (!WriteString(kGuardKey, "OptionsExisted", optionsExisted ? "1" : "0") ||
      !WriteString(kGuardKey, "RunExisted", run ? "1" : "0") ||
      !WriteString(kGuardKey, "RunData", run.value_or("")) ||
      !WriteString(kOptionsKey, kMarkValue, kMarkData) ||
      (!run && !WriteString(kRunKey, kRunValue, kRunMarkData))) {
    std::fprintf(stderr, "registry_guard: could not plant the marks\n");
    return 1;
  }
  return 0;
}

int Check() {
  const std::optional<std::string> optionsExisted = ReadString(kGuardKey, "OptionsExisted");
  if (!optionsExisted) {
    std::fprintf(stderr, "registry_guard: nothing was planted\n");
    return 1;
  }
  const bool runExisted = ReadString(kGuardKey, "RunExisted") == "1";
  const std::string runData =
      runExisted ? ReadString(kGuardKey, "RunData").value_or("") : kRunMarkData;
  int result = 0;
  if (ReadString(kOptionsKey, kMarkValue) != kMarkData) {
    std::fprintf(stderr, "registry_guard: the test run changed or deleted HKCU\\%s\n", kOptionsKey);
    result = 1;
  }
  const std::optional<std::string> run = ReadString(kRunKey, kRunValue);
  if (run != runData) {
    std::fprintf(stderr, "registry_guard: the test run changed or deleted HKCU\\%s\\%s\n", kRunKey,
                 kRunValue);
    result = 1;
  }
  // Back as it was before `plant`.
  RegDeleteKeyValueA(HKEY_CURRENT_USER, kOptionsKey, kMarkValue);
  if (*optionsExisted == "0") RegDeleteKeyA(HKEY_CURRENT_USER, kOptionsKey);
  if (runExisted)
    WriteString(kRunKey, kRunValue, runData);
  else
    RegDeleteKeyValueA(HKEY_CURRENT_USER, kRunKey, kRunValue);
  RegDeleteTreeA(HKEY_CURRENT_USER, kGuardKey);
  return result;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 2 && std::strcmp(argv[1], "plant") == 0) return Plant();
  if (argc == 2 && std::strcmp(argv[1], "check") == 0) return Check();
  std::fprintf(stderr, "usage: registry_guard plant|check\n");
  return 2;
}
