#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <string>

#include "platform/SingleInstance.h"

namespace {
std::string LockPath(const std::string& name) {
  const char* runtime = std::getenv("XDG_RUNTIME_DIR");
  if (runtime != nullptr && *runtime != '\0') return std::string(runtime) + "/" + name + ".lock";
  return "/tmp/" + name + "-" + std::to_string(getuid()) + ".lock";
}
}  // namespace

bool AcquireSingleInstance(const std::string& name) {
  int fd = open(LockPath(name).c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
  if (fd < 0) return true;  // no place for a lock: do not keep the user from working
  if (flock(fd, LOCK_EX | LOCK_NB) == 0) return true;  // fd stays open: the lock lives on
  int err = errno;
  close(fd);
  return err != EWOULDBLOCK;
}
