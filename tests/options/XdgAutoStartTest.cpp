// The XDG autostart entry that starts the program with the desktop session.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <sstream>

#include "TestSupport.h"
#include "platform/AutoStart.h"
#include "platform/linux/XdgAutoStart.h"
#include "rules/clsOptions.h"

namespace fs = std::filesystem;

namespace {

// Sets an environment variable for the life of the object.
class ScopedEnv {
 public:
  ScopedEnv(const char* name, const char* value) : name_(name) {
    if (const char* old = std::getenv(name)) old_ = old;
    if (value)
      setenv(name, value, 1);
    else
      unsetenv(name);
  }
  ~ScopedEnv() {
    if (old_)
      setenv(name_, old_->c_str(), 1);
    else
      unsetenv(name_);
  }

 private:
  const char* name_;
  std::optional<std::string> old_;
};

// The Exec value read back as a launcher does: first the string escapes of a
// desktop-entry value, then the quoting of one argument, then "%%".
std::vector<std::string> ExecArguments(const std::string& value) {
  std::string unescaped;
  for (size_t i = 0; i < value.size(); ++i) {
    if (value[i] == '\\' && i + 1 < value.size()) {
      const char c = value[++i];
      unescaped += c == 's' ? ' ' : c == 'n' ? '\n' : c == 't' ? '\t' : c == 'r' ? '\r' : c;
    } else {
      unescaped += value[i];
    }
  }
  std::vector<std::string> args;
  std::string arg;
  bool inArg = false, quoted = false;
  for (size_t i = 0; i < unescaped.size(); ++i) {
    const char c = unescaped[i];
    if (quoted) {
      if (c == '"') {
        quoted = false;
      } else if (c == '\\' && i + 1 < unescaped.size()) {
        const char next = unescaped[++i];
        EXPECT_TRUE(next == '"' || next == '`' || next == '$' || next == '\\')
            << "undefined escape \\" << next;
        arg += next;
      } else {
        EXPECT_NE(c, '`');
        EXPECT_NE(c, '$');
        arg += c;
      }
    } else if (c == '"') {
      quoted = inArg = true;
    } else if (c == ' ') {
      if (inArg) args.push_back(arg);
      arg.clear();
      inArg = false;
    } else {
      EXPECT_EQ(std::string(" \t\n\"'\\><~|&;$*?#()`").find(c), std::string::npos)
          << "reserved character '" << c << "' outside quotes";
      arg += c;
      inArg = true;
    }
  }
  EXPECT_FALSE(quoted) << "unterminated quote";
  if (inArg) args.push_back(arg);
  for (std::string& a : args) {
    std::string plain;
    for (size_t i = 0; i < a.size(); ++i) {
      if (a[i] == '%') {
        EXPECT_TRUE(i + 1 < a.size() && a[i + 1] == '%') << "field code in " << a;
        ++i;
      }
      plain += a[i];
    }
    a = plain;
  }
  return args;
}

// Key=value lines of the one [Desktop Entry] group.
std::vector<std::pair<std::string, std::string>> EntryKeys(const std::string& text) {
  std::istringstream in(text);
  std::string line;
  std::getline(in, line);
  EXPECT_EQ(line, "[Desktop Entry]");
  std::vector<std::pair<std::string, std::string>> keys;
  while (std::getline(in, line)) {
    const size_t eq = line.find('=');
    EXPECT_NE(eq, std::string::npos) << line;
    if (eq != std::string::npos) keys.emplace_back(line.substr(0, eq), line.substr(eq + 1));
  }
  return keys;
}

class XdgAutoStartTest : public testing::Test {
 protected:
  TempDir dir_;
  ScopedEnv config_{"XDG_CONFIG_HOME", (dir_.Path() + "/config home").c_str()};
  std::string entry_ = dir_.Path() + "/config home/autostart/kvlmn.desktop";
  TXdgAutoStart autoStart_;
};

TEST_F(XdgAutoStartTest, EntryPathFollowsTheBaseDirectoryRules) {
  ScopedEnv home("HOME", "/home/someone");
  EXPECT_EQ(TXdgAutoStart::EntryPath(), entry_);
  struct Case {
    const char* config;
    const char* path;
  } cases[] = {
      {nullptr, "/home/someone/.config/autostart/kvlmn.desktop"},
      {"", "/home/someone/.config/autostart/kvlmn.desktop"},
      {"relative/dir", "/home/someone/.config/autostart/kvlmn.desktop"},
      {"/etc/xdg-user", "/etc/xdg-user/autostart/kvlmn.desktop"},
  };
  for (const Case& c : cases) {
    ScopedEnv config("XDG_CONFIG_HOME", c.config);
    EXPECT_EQ(TXdgAutoStart::EntryPath(), c.path) << (c.config ? c.config : "(unset)");
  }
}

TEST_F(XdgAutoStartTest, WriteExistsDeleteWithAPathContainingSpaces) {
  const std::string exe = "/opt/My Apps/Vellumin 1.0/kvlmn";
  EXPECT_FALSE(autoStart_.Exists());
  autoStart_.Write(exe);  // creates the missing folders
  ASSERT_TRUE(fs::is_regular_file(entry_));
  EXPECT_TRUE(autoStart_.Exists());

  const auto keys = EntryKeys(ReadFileBytes(entry_));
  const std::vector<std::pair<std::string, std::string>> expectedOther = {
      {"Type", "Application"},
      {"Name", "Kestrelay Vellumin"},
      {"Terminal", "false"},
      {"X-GNOME-Autostart-enabled", "true"},
  };
  for (const auto& kv : expectedOther)
    EXPECT_NE(std::find(keys.begin(), keys.end(), kv), keys.end()) << kv.first;
  auto exec = std::find_if(keys.begin(), keys.end(), [](auto& kv) { return kv.first == "Exec"; });
  ASSERT_NE(exec, keys.end());
  EXPECT_EQ(ExecArguments(exec->second), std::vector<std::string>{exe});

  autoStart_.Delete();
  EXPECT_FALSE(fs::exists(entry_));
  EXPECT_FALSE(autoStart_.Exists());
  EXPECT_NO_THROW(autoStart_.Delete());
}

TEST_F(XdgAutoStartTest, ExecSurvivesCharactersSpecialToDesktopEntries) {
  const std::string paths[] = {
      "/usr/bin/kvlmn",
      "/tmp/quote\"back\\slash/kvlmn",
      "/tmp/dollar$HOME/back`tick`/kvlmn",
      "/tmp/100%/%f/kvlmn",
      "/tmp/it's (a) test; & more #1/kvlmn",
      "/tmp/tab\there/new\nline/kvlmn",
      "/tmp/\xC3\xA9t\xC3\xA9/kvlmn",
  };
  for (const std::string& exe : paths) {
    SCOPED_TRACE(exe);
    const auto keys = EntryKeys(TXdgAutoStart::EntryText(exe));
    auto exec = std::find_if(keys.begin(), keys.end(), [](auto& kv) { return kv.first == "Exec"; });
    ASSERT_NE(exec, keys.end());
    EXPECT_EQ(ExecArguments(exec->second), std::vector<std::string>{exe});
  }
}

TEST_F(XdgAutoStartTest, WriteReplacesAnOldEntryAndFailsSilently) {
  autoStart_.Write("/old/kvlmn");
  autoStart_.Write("/new/kvlmn");
  EXPECT_NE(ReadFileBytes(entry_).find("Exec=\"/new/kvlmn\"\n"), std::string::npos);
  EXPECT_EQ(ReadFileBytes(entry_).find("/old/"), std::string::npos);
  EXPECT_FALSE(fs::exists(entry_ + ".tmp"));

  // A regular file where the configuration folder should be: nothing can be written.
  const std::string blocker = dir_.File("blocker");
  ASSERT_TRUE(WriteFileBytes(blocker, "x"));
  ScopedEnv config("XDG_CONFIG_HOME", blocker.c_str());
  EXPECT_NO_THROW(autoStart_.Write("/usr/bin/kvlmn"));
  EXPECT_FALSE(autoStart_.Exists());
}

TEST_F(XdgAutoStartTest, AFolderInPlaceOfTheEntryIsNoEntry) {
  fs::create_directories(entry_);
  EXPECT_FALSE(autoStart_.Exists());
  autoStart_.Delete();
  EXPECT_TRUE(fs::is_directory(entry_));
}

TEST_F(XdgAutoStartTest, IsTheDefaultStartWithSystemEntryOnLinux) {
  SetAutoStart(nullptr);
  ApplyAutoStart(true, "/usr/bin/kvlmn");
  EXPECT_TRUE(fs::is_regular_file(entry_));
  EXPECT_TRUE(AutoStartEntry().Exists());
  ApplyAutoStart(false, "/usr/bin/kvlmn");
  EXPECT_FALSE(fs::exists(entry_));
}

}  // namespace
