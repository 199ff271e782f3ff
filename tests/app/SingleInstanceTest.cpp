// One instance per session: a second process cannot take the lock while the
// first holds it, and can once the first has ended. The lock lives in
// $XDG_RUNTIME_DIR when that is the user's own private folder, else in the
// folder of the user's hive; a link planted at the lock's place is never
// followed, and a lock that cannot be taken refuses the start as well.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <optional>

#include "TestSupport.h"
#include "platform/SingleInstance.h"

namespace fs = std::filesystem;

namespace {

// Runs AcquireSingleInstance in a child process; its exit code carries the answer.
std::optional<InstanceLock> AcquiredInChild(const std::string& name) {
  pid_t pid = fork();
  if (pid == 0) _exit(static_cast<int>(AcquireSingleInstance(name)));
  int status = 0;
  waitpid(pid, &status, 0);
  if (!WIFEXITED(status)) return std::nullopt;
  return static_cast<InstanceLock>(WEXITSTATUS(status));
}

const char* Describe(std::optional<InstanceLock> lock) {
  if (!lock) return "child crashed";
  switch (*lock) {
    case InstanceLock::Taken:
      return "taken";
    case InstanceLock::HeldElsewhere:
      return "held elsewhere";
    case InstanceLock::Unavailable:
      return "unavailable";
  }
  return "?";
}

// The variables that place the lock, set per test and restored afterwards.
class SingleInstance : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char* name : kVariables) {
      const char* value = std::getenv(name);
      saved_.push_back(value ? std::optional<std::string>(value) : std::nullopt);
      unsetenv(name);
    }
    ASSERT_EQ(mkdir(dir_.File("registry").c_str(), 0700), 0);
    ASSERT_EQ(mkdir(dir_.File("runtime").c_str(), 0700), 0);
    Set("VELLUMIN_REGISTRY_DIR", dir_.File("registry"));
    Set("HOME", dir_.File("home"));
  }
  void TearDown() override {
    for (size_t i = 0; i < saved_.size(); ++i) {
      if (saved_[i])
        setenv(kVariables[i], saved_[i]->c_str(), 1);
      else
        unsetenv(kVariables[i]);
    }
  }
  static void Set(const char* name, const std::string& value) { setenv(name, value.c_str(), 1); }
  std::string File(const std::string& name) const { return dir_.File(name); }
  bool WriteFile(const std::string& name, const std::string& bytes) const {
    return WriteFileBytes(File(name), bytes);
  }

 private:
  static constexpr const char* kVariables[] = {"XDG_RUNTIME_DIR", "VELLUMIN_REGISTRY_DIR",
                                               "XDG_CONFIG_HOME", "HOME"};
  TempDir dir_;
  std::vector<std::optional<std::string>> saved_;
};

bool IsRegularFile(const std::string& path) {
  struct stat st;
  return lstat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

unsigned ModeOf(const std::string& path) {
  struct stat st;
  return lstat(path.c_str(), &st) == 0 ? st.st_mode & 07777 : 0;
}

}  // namespace

// In the runtime folder or, without a usable one, in the hive's folder: a
// second process is refused while the first holds the lock.
TEST_F(SingleInstance, SecondProcessIsRefusedWhileTheFirstRuns) {
  for (bool runtime : {true, false}) {
    SCOPED_TRACE(runtime ? "in XDG_RUNTIME_DIR" : "in the hive's folder");
    const std::string name = runtime ? "KVLMN" : "KVLMN-hive";
    if (runtime)
      Set("XDG_RUNTIME_DIR", File("runtime"));
    else
      unsetenv("XDG_RUNTIME_DIR");
    EXPECT_EQ(AcquiredInChild(name), InstanceLock::Taken)
        << "nobody holds it yet (and the child's lock died with it)";
    ASSERT_EQ(AcquireSingleInstance(name), InstanceLock::Taken);
    EXPECT_EQ(AcquiredInChild(name), InstanceLock::HeldElsewhere);
    EXPECT_EQ(AcquiredInChild(name + "-other"), InstanceLock::Taken);
    EXPECT_TRUE(IsRegularFile(File(runtime ? "runtime/" : "registry/") + name + ".lock"));
  }
}

// Without XDG_RUNTIME_DIR, or with one that is not the user's private folder,
// the lock is a file of mode 0600 in the hive's folder (created 0700 when missing).
TEST_F(SingleInstance, WithoutAPrivateRuntimeFolderTheLockIsInTheHiveFolder) {
  ASSERT_EQ(mkdir(File("shared").c_str(), 0700), 0);
  ASSERT_EQ(chmod(File("shared").c_str(), 01777), 0);
  ASSERT_TRUE(WriteFile("plain", ""));
  struct Case {
    const char* label;
    std::optional<std::string> runtime;
  };
  std::vector<Case> cases = {
      {"unset", std::nullopt},           {"empty", ""},
      {"relative", "runtime"},           {"writable by all", File("shared")},
      {"a regular file", File("plain")}, {"missing", File("missing")},
  };
  // Only root can give a folder away (the tests run as root in CI).
  ASSERT_EQ(mkdir(File("foreign").c_str(), 0700), 0);
  if (chown(File("foreign").c_str(), 65534, 65534) == 0)
    cases.push_back({"someone else's", File("foreign")});
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    if (c.runtime)
      Set("XDG_RUNTIME_DIR", *c.runtime);
    else
      unsetenv("XDG_RUNTIME_DIR");
    fs::remove(File("registry/KVLMN.lock"));
    EXPECT_EQ(AcquiredInChild("KVLMN"), InstanceLock::Taken);
    EXPECT_TRUE(IsRegularFile(File("registry/KVLMN.lock")));
    EXPECT_EQ(ModeOf(File("registry/KVLMN.lock")), 0600u);
    EXPECT_FALSE(fs::exists(File("shared/KVLMN.lock")));
    EXPECT_FALSE(fs::exists(File("foreign/KVLMN.lock")));
  }

  // The program's own hive folder, under XDG_CONFIG_HOME.
  unsetenv("XDG_RUNTIME_DIR");
  unsetenv("VELLUMIN_REGISTRY_DIR");
  Set("XDG_CONFIG_HOME", File("config"));
  EXPECT_EQ(AcquiredInChild("KVLMN"), InstanceLock::Taken);
  EXPECT_TRUE(IsRegularFile(File("config/kvlmn/KVLMN.lock")));
  EXPECT_EQ(ModeOf(File("config/kvlmn")), 0700u);
}

// A link at the lock's place is not followed: its target is neither created
// nor changed, and the start is refused.
TEST_F(SingleInstance, ALinkAtTheLockPlaceIsNotFollowed) {
  ASSERT_TRUE(WriteFile("victim", "precious"));
  for (bool runtime : {true, false}) {
    for (const char* target : {"victim", "created"}) {
      SCOPED_TRACE(std::string(runtime ? "in XDG_RUNTIME_DIR" : "in the hive's folder") +
                   ", link to " + target);
      if (runtime)
        Set("XDG_RUNTIME_DIR", File("runtime"));
      else
        unsetenv("XDG_RUNTIME_DIR");
      const std::string lock = File(runtime ? "runtime/KVLMN.lock" : "registry/KVLMN.lock");
      fs::remove(lock);
      fs::create_symlink(File(target), lock);
      EXPECT_EQ(AcquiredInChild("KVLMN"), InstanceLock::Unavailable);
      EXPECT_EQ(ReadFileBytes(File("victim")), "precious");
      EXPECT_FALSE(fs::exists(File("created")));
      EXPECT_TRUE(fs::is_symlink(lock));
    }
  }
}

// A lock that cannot be opened refuses the start: it is no proof that no
// other instance runs.
TEST_F(SingleInstance, ALockThatCannotBeOpenedRefusesTheStart) {
  ASSERT_TRUE(WriteFile("plain", ""));
  ASSERT_EQ(mkdir(File("registry/KVLMN.lock").c_str(), 0700), 0);
  ASSERT_EQ(mkdir(File("runtime/KVLMN.lock").c_str(), 0700), 0);
  struct Case {
    const char* label;
    std::optional<std::string> runtime, registry, config;
  };
  const Case cases[] = {
      {"the hive's folder lies below a regular file", std::nullopt, File("plain/registry"), {}},
      {"a folder at the lock's place in the hive's folder", std::nullopt, File("registry"), {}},
      {"a folder at the lock's place in the runtime folder", File("runtime"), File("registry"), {}},
      {"the configuration folder is a regular file", std::nullopt, std::nullopt, File("plain")},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    const std::pair<const char*, const std::optional<std::string>*> variables[] = {
        {"XDG_RUNTIME_DIR", &c.runtime},
        {"VELLUMIN_REGISTRY_DIR", &c.registry},
        {"XDG_CONFIG_HOME", &c.config}};
    for (const auto& [variable, value] : variables) {
      if (*value)
        Set(variable, **value);
      else
        unsetenv(variable);
    }
    const std::optional<InstanceLock> lock = AcquiredInChild("KVLMN");
    EXPECT_EQ(lock, InstanceLock::Unavailable) << Describe(lock);
  }
}
