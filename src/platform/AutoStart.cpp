#include "platform/AutoStart.h"

#include "library/SLRegistry.h"

#ifndef _WIN32
#include "platform/linux/XdgAutoStart.h"
#endif

namespace {

constexpr const char* kRunKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr const char* kRunValue = "VLMN";

IAutoStart* g_installed = nullptr;

IAutoStart& DefaultAutoStart() {
#ifdef _WIN32
  static TRegistryAutoStart entry;
#else
  static TXdgAutoStart entry;
#endif
  return entry;
}

}  // namespace

IAutoStart& AutoStartEntry() {
  return g_installed != nullptr ? *g_installed : DefaultAutoStart();
}

void SetAutoStart(IAutoStart* autoStart) {
  g_installed = autoStart;
}

bool TRegistryAutoStart::Exists() {
  return RegValueExists(RegHive::CurrentUser, kRunKey, kRunValue);
}

// The data is the program's full path as it stands, without quotes or arguments.
void TRegistryAutoStart::Write(const std::string& exeName) {
  WriteRegString(RegHive::CurrentUser, kRunKey, kRunValue, exeName);
}

void TRegistryAutoStart::Delete() {
  DeleteRegValue(RegHive::CurrentUser, kRunKey, kRunValue);
}
