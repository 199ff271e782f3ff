#pragma once
// A plain in-memory registry written for clarity, not speed: the reference the
// SQLite hive is compared with. Batches copy the hive and restore the copy on
// rollback.
#include <map>
#include <optional>

#include "platform/Registry.h"

class ModelRegistry : public IRegistry {
 public:
  struct Key {
    std::string name;
    std::map<std::string, Key> kids;  // by upper-case name
    std::vector<std::pair<std::string, RegValue>> values;
  };

  std::unique_ptr<IRegKey> OpenKey(RegHive hive, const std::string& path, bool create) override;
  bool BeginBatch(RegHive hive) override;
  bool CommitBatch(RegHive hive) override;
  void RollbackBatch(RegHive hive) override;

  // The key at the path's components, or null.
  Key* Resolve(RegHive hive, const std::vector<std::string>& parts, bool create);

 private:
  Key hives_[2];
  std::optional<Key> saved_[2];
};
