#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <optional>
#include <string>

#include "platform/SingleInstance.h"
#include "platform/linux/SqliteHive.h"

// The lock is a file that only this user can create or replace: in
// $XDG_RUNTIME_DIR when that is the user's own folder and nobody else may
// write it, else beside the user's hive (${XDG_CONFIG_HOME:-~/.config}/kvlmn,
// or $VELLUMIN_REGISTRY_DIR), which is created with mode 0700 when missing.
// A shared folder such as /tmp is never used: anyone could plant a link or
// take the lock first there.
namespace {

// A folder of this user's that no one else can write into.
bool IsPrivateFolder(const std::string& dir) {
  struct stat st;
  return !dir.empty() && dir[0] == '/' && stat(dir.c_str(), &st) == 0 && S_ISDIR(st.st_mode) &&
         st.st_uid == geteuid() && (st.st_mode & (S_IWGRP | S_IWOTH)) == 0;
}

// Creates the missing folders of `dir` with mode 0700, as the hive does.
bool MakeFolders(const std::string& dir) {
  struct stat st;
  if (stat(dir.c_str(), &st) == 0) return S_ISDIR(st.st_mode);
  const size_t slash = dir.find_last_of('/');
  if (slash != std::string::npos && slash > 0 && !MakeFolders(dir.substr(0, slash))) return false;
  return mkdir(dir.c_str(), 0700) == 0 || errno == EEXIST;
}

// The folder of the lock, or nothing when there is no private one.
std::optional<std::string> LockFolder() {
  if (const char* runtime = std::getenv("XDG_RUNTIME_DIR"); runtime && IsPrivateFolder(runtime))
    return std::string(runtime);
  std::string hive = SqliteRegistry::DefaultCurrentUserPath();
  const size_t slash = hive.find_last_of('/');
  std::string dir = slash == std::string::npos ? std::string(".") : hive.substr(0, slash);
  if (dir.empty() || dir[0] != '/') {  // a relative HOME or registry folder: make it absolute
    char* cwd = getcwd(nullptr, 0);
    if (cwd == nullptr) return std::nullopt;
    dir = std::string(cwd) + "/" + dir;
    std::free(cwd);
  }
  if (!MakeFolders(dir) || !IsPrivateFolder(dir)) return std::nullopt;
  return dir;
}

}  // namespace

InstanceLock AcquireSingleInstance(const std::string& name) {
  const std::optional<std::string> dir = LockFolder();
  if (!dir) return InstanceLock::Unavailable;
  // O_NOFOLLOW: a link planted at the lock's place fails the open instead of
  // creating or locking the file it points to.
  const int fd =
      open((*dir + "/" + name + ".lock").c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600);
  if (fd < 0) return InstanceLock::Unavailable;
  struct stat st;
  if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    close(fd);
    return InstanceLock::Unavailable;
  }
  if (flock(fd, LOCK_EX | LOCK_NB) == 0)
    return InstanceLock::Taken;  // fd stays open: the lock lives on
  const int err = errno;
  close(fd);
  return err == EWOULDBLOCK ? InstanceLock::HeldElsewhere : InstanceLock::Unavailable;
}
