#pragma once
// The registry on Linux: each hive is one SQLite file that behaves like the
// Windows registry (see platform/Registry.h for the contract).
#include <string>

#include "platform/Registry.h"

class SqliteRegistry : public IRegistry {
 public:
  // Paths of the two hive files; ":memory:" gives a private in-memory hive.
  // A file that cannot be created or written makes that hive's writes fail
  // (and the registry routines skip them).
  SqliteRegistry(std::string currentUserPath, std::string localMachinePath);
  ~SqliteRegistry() override;

  std::unique_ptr<IRegKey> OpenKey(RegHive hive, const std::string& path, bool create) override;
  bool BeginBatch(RegHive hive) override;
  bool CommitBatch(RegHive hive) override;
  void RollbackBatch(RegHive hive) override;

  // Where the program keeps its hives:
  //   $VELLUMIN_REGISTRY_DIR/HKCU.hive and HKLM.hive when that variable is set
  //   (tests use it), else
  //   ${XDG_CONFIG_HOME:-~/.config}/kvlmn/HKCU.hive and /var/lib/kvlmn/HKLM.hive.
  static std::string DefaultCurrentUserPath();
  static std::string DefaultLocalMachinePath();

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};
