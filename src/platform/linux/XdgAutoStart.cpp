#include "platform/linux/XdgAutoStart.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "app/SLApplication.h"
#include "framework/SLUtils.h"

namespace fs = std::filesystem;

namespace {

std::string HomeFolder() {
  if (const char* home = std::getenv("HOME"); home != nullptr && home[0] != '\0') return home;
  if (const passwd* pw = getpwuid(getuid()); pw != nullptr && pw->pw_dir != nullptr)
    return pw->pw_dir;
  return "/";
}

// XDG base directory rules: an empty or relative XDG_CONFIG_HOME is ignored.
std::string ConfigHome() {
  if (const char* config = std::getenv("XDG_CONFIG_HOME"); config != nullptr && config[0] == '/')
    return config;
  return HomeFolder() + "/.config";
}

// One Exec argument: always quoted, with the characters that are special
// inside quotes backslash-escaped and "%" doubled so it is no field code.
// Then the string escapes of every desktop-entry value are applied on top,
// which turns each backslash into two.
std::string ExecArgument(const std::string& arg) {
  std::string quoted = "\"";
  for (char c : arg) {
    if (c == '"' || c == '`' || c == '$' || c == '\\')
      quoted += '\\';
    else if (c == '%')
      quoted += '%';
    quoted += c;
  }
  quoted += '"';

  std::string escaped;
  for (char c : quoted) {
    switch (c) {
      case '\\':
        escaped += "\\\\";
        break;
      case '\n':
        escaped += "\\n";
        break;
      case '\r':
        escaped += "\\r";
        break;
      case '\t':
        escaped += "\\t";
        break;
      default:
        escaped += c;
    }
  }
  return escaped;
}

}  // namespace

std::string TXdgAutoStart::EntryPath() {
  return ConfigHome() + "/autostart/kvlmn.desktop";
}

std::string TXdgAutoStart::EntryText(const std::string& exeName) {
  std::string text = "[Desktop Entry]\n";
  text += "Type=Application\n";
  text += std::string("Name=") + kApplicationTitle + "\n";
  text += "Exec=" + ExecArgument(exeName) + "\n";
  text += "Terminal=false\n";
  text += "X-GNOME-Autostart-enabled=true\n";
  return text;
}

bool TXdgAutoStart::Exists() {
  return FileExistsSafe(EntryPath());
}

// Written to a temporary file beside the entry and renamed over it, so the
// session never finds a half-written entry. Failures are silent.
void TXdgAutoStart::Write(const std::string& exeName) {
  const fs::path entry = EntryPath();
  std::error_code ec;
  fs::create_directories(entry.parent_path(), ec);
  if (ec) return;
  const fs::path temp = entry.string() + ".tmp";
  {
    std::ofstream out(temp, std::ios::binary | std::ios::trunc);
    out << EntryText(exeName);
    out.flush();
    if (!out) {
      out.close();
      fs::remove(temp, ec);
      return;
    }
  }
  fs::rename(temp, entry, ec);
  if (ec) fs::remove(temp, ec);
}

void TXdgAutoStart::Delete() {
  DeleteFileForced(EntryPath());
}
