#include <atomic>

#include "platform/Registry.h"
#include "platform/linux/SqliteHive.h"

// The process-wide registry on Linux: the user's and the machine's hive files,
// opened on first use, unless a test installed another registry.
namespace {
std::atomic<IRegistry*> installed{nullptr};
}

IRegistry& Registry() {
  if (IRegistry* r = installed.load()) return *r;
  static SqliteRegistry standard(SqliteRegistry::DefaultCurrentUserPath(),
                                 SqliteRegistry::DefaultLocalMachinePath());
  return standard;
}

void SetRegistry(IRegistry* registry) {
  installed.store(registry);
}
