// A save must never leave a half-written library: a process killed at any
// moment of a save leaves the old or the new library, complete.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <memory>
#include <random>
#include <thread>

#include "LibraryFixtures.h"
#include "TestSupport.h"
#include "platform/linux/SqliteHive.h"

namespace {

// Starts the saver on the hive and returns its pid once it is saving.
pid_t StartSaver(const std::string& hive) {
  int pipefd[2];
  if (pipe(pipefd) != 0) return -1;
  pid_t pid = fork();
  if (pid == 0) {
    dup2(pipefd[1], STDOUT_FILENO);
    close(pipefd[0]);
    execl(LIBRARY_SAVER_PATH, LIBRARY_SAVER_PATH, hive.c_str(), static_cast<char*>(nullptr));
    _exit(127);
  }
  close(pipefd[1]);
  char ready = 0;
  ssize_t n = read(pipefd[0], &ready, 1);
  close(pipefd[0]);
  return n == 1 && ready == 'R' ? pid : -1;
}

}  // namespace

TEST(LibrarySave, KilledDuringASaveLeavesTheOldOrTheNewLibrary) {
  TempDir dir;
  const std::string hive = dir.File("HKCU.hive");
  TFolder a, b;
  FillLibrary(a, 8, 60, "A");
  FillLibrary(b, 8, 60, "B");
  {
    SqliteRegistry registry(hive, ":memory:");
    SetRegistry(&registry);
    SaveLibrary(RegHive::CurrentUser, "Lib", a);
    SetRegistry(nullptr);
  }

  std::mt19937 random(20261210);
  std::uniform_int_distribution<int> delayMs(0, 1500);
  int sawA = 0, sawB = 0;
  for (int round = 0; round < 12; ++round) {
    pid_t pid = StartSaver(hive);
    ASSERT_GT(pid, 0);
    std::this_thread::sleep_for(std::chrono::milliseconds(delayMs(random)));
    kill(pid, SIGKILL);
    int status = 0;
    waitpid(pid, &status, 0);
    ASSERT_TRUE(WIFSIGNALED(status)) << "the saver must still have been saving";

    SqliteRegistry registry(hive, ":memory:");
    SetRegistry(&registry);
    TFolder loaded;
    loaded.LoadFromRegistry(RegHive::CurrentUser, "Lib");
    SetRegistry(nullptr);
    std::string whyA, whyB;
    bool isA = SameTree(loaded, a, &whyA), isB = SameTree(loaded, b, &whyB);
    ASSERT_TRUE(isA || isB) << "round " << round << ": neither library (" << whyA << "; "
                            << whyB << ")";
    (isA ? sawA : sawB)++;
  }
  RecordProperty("old", sawA);
  RecordProperty("new", sawB);
}
