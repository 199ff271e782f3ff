// Every Windows test program runs with HKEY_CURRENT_USER and
// HKEY_LOCAL_MACHINE redirected (RegOverridePredefKey) to a scratch key of
// its own, HKCU\Software\Vellumin Tests\sandbox-<process>-<tick>, from before
// main until the program ends. The code under test still opens the
// predefined keys with the system's own calls, so the tests stay honest, but
// a developer's own settings (the program's Options key, the Run value "VLMN")
// are never read, written or deleted. A sandbox that cannot be set up stops
// the program before any test runs.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

[[noreturn]] void Fail(const char* what, LSTATUS status) {
  std::fprintf(stderr, "registry sandbox: %s (error %ld); no test runs on the real registry\n",
               what, static_cast<long>(status));
  std::fflush(stderr);
  std::_Exit(3);
}

class TRegistrySandbox {
 public:
  TRegistrySandbox() {
    path_ = "Software\\Vellumin Tests\\sandbox-" + std::to_string(GetCurrentProcessId()) + "-" +
            std::to_string(GetTickCount64());
    HKEY root = nullptr;
    LSTATUS status = RegCreateKeyExA(HKEY_CURRENT_USER, path_.c_str(), 0, nullptr, 0,
                                     KEY_ALL_ACCESS, nullptr, &root, nullptr);
    if (status != ERROR_SUCCESS) Fail("cannot create the scratch key", status);
    Redirect(root, HKEY_CURRENT_USER, "CurrentUser");
    Redirect(root, HKEY_LOCAL_MACHINE, "LocalMachine");
    RegCloseKey(root);
  }
  ~TRegistrySandbox() {
    RegOverridePredefKey(HKEY_LOCAL_MACHINE, nullptr);
    RegOverridePredefKey(HKEY_CURRENT_USER, nullptr);
    RegDeleteTreeA(HKEY_CURRENT_USER, path_.c_str());
  }

 private:
  // Points `predefined` at root\<name> and proves it: a value written through
  // the predefined key must appear under the scratch key.
  static void Redirect(HKEY root, HKEY predefined, const char* name) {
    HKEY target = nullptr;
    LSTATUS status =
        RegCreateKeyExA(root, name, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &target, nullptr);
    if (status != ERROR_SUCCESS) Fail("cannot create a scratch hive", status);
    status = RegOverridePredefKey(predefined, target);
    if (status != ERROR_SUCCESS) Fail("cannot redirect a predefined key", status);
    const DWORD probe = 1;
    status = RegSetKeyValueA(predefined, nullptr, "Sandbox probe", REG_DWORD, &probe, sizeof probe);
    if (status != ERROR_SUCCESS) Fail("cannot write through the redirected key", status);
    status =
        RegGetValueA(target, nullptr, "Sandbox probe", RRF_RT_REG_DWORD, nullptr, nullptr, nullptr);
    if (status != ERROR_SUCCESS) Fail("the redirect did not take", status);
    RegDeleteValueA(target, "Sandbox probe");
    RegCloseKey(target);
  }

  std::string path_;
};

// Constructed before main, so before GoogleTest lists or runs any test.
TRegistrySandbox sandbox;

}  // namespace
