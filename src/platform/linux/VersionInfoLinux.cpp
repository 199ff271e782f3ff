#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string_view>

#include "platform/VersionInfo.h"
#include "platform/VersionRecord.h"

// The file is mapped, not read: the search touches only the pages up to the
// record, which sits with the program's constant data near the start, and
// never the debug information that makes up most of a development build.
std::optional<TVersionBlock> ReadVersionBlock(const std::string& path) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return std::nullopt;
  struct stat info {};
  if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) || info.st_size <= 0) {
    ::close(fd);
    return std::nullopt;
  }
  const auto size = static_cast<size_t>(info.st_size);
  void* bytes = ::mmap(nullptr, size, PROT_READ, MAP_PRIVATE, fd, 0);
  ::close(fd);
  if (bytes == MAP_FAILED) return std::nullopt;
  std::optional<TVersionBlock> block;
  try {
    block = version_record::Find(std::string_view(static_cast<const char*>(bytes), size));
  } catch (...) {
    block.reset();
  }
  ::munmap(bytes, size);
  return block;
}
