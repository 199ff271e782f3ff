// One instance per session: a second process cannot take the lock while the
// first holds it, and can once the first has ended.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>

#include "TestSupport.h"
#include "platform/SingleInstance.h"

namespace {
// Runs AcquireSingleInstance in a child process; its exit code says the answer.
bool AcquiredInChild(const std::string& name) {
  pid_t pid = fork();
  if (pid == 0) _exit(AcquireSingleInstance(name) ? 0 : 1);
  int status = 0;
  waitpid(pid, &status, 0);
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}
}  // namespace

TEST(SingleInstance, SecondProcessIsRefusedWhileTheFirstRuns) {
  TempDir runtime;
  setenv("XDG_RUNTIME_DIR", runtime.Path().c_str(), 1);
  EXPECT_TRUE(AcquiredInChild("KVLMN")) << "nobody holds it yet (and the child's lock died with it)";
  ASSERT_TRUE(AcquireSingleInstance("KVLMN"));
  EXPECT_FALSE(AcquiredInChild("KVLMN"));
  EXPECT_TRUE(AcquiredInChild("OTHER"));
  unsetenv("XDG_RUNTIME_DIR");
}
