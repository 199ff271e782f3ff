#pragma once
// The registry seam: the few operations the program needs from a hierarchical,
// typed key/value store that behaves like the Windows registry.
//
//  - Key paths are relative to a hive, components separated by '\'. Empty
//    components are ignored ("a\\b" is "a\b").
//  - Key and value names compare without regard to ASCII letter case; the case
//    first written is the case kept and reported.
//  - Sub-key names are enumerated sorted case-insensitively by their upper-case
//    form, as Windows does ("f_10" before "f_2"); value names in creation order
//    (overwriting a value keeps its position).
//  - Values are typed; data is kept as raw bytes.
//
// Implementations: platform/linux/SqliteHive (one SQLite file per hive) and the
// Win32 registry. Tests use the SQLite hive on a temporary file.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

enum class RegHive : uint32_t {
  CurrentUser = 0x80000001u,   // HKEY_CURRENT_USER
  LocalMachine = 0x80000002u,  // HKEY_LOCAL_MACHINE
};

// Registry value types, numbered as on Windows.
enum class RegType : uint32_t {
  String = 1,        // REG_SZ
  ExpandString = 2,  // REG_EXPAND_SZ
  DWord = 4,         // REG_DWORD: 4 bytes, little-endian
};

struct RegValue {
  RegType type = RegType::String;
  std::string data;  // string bytes without terminator, or the 4 DWORD bytes

  static RegValue FromString(std::string s, RegType t = RegType::String) {
    return RegValue{t, std::move(s)};
  }
  static RegValue FromDWord(uint32_t v) {
    std::string d(4, '\0');
    for (int i = 0; i < 4; ++i) d[i] = static_cast<char>((v >> (8 * i)) & 0xFF);
    return RegValue{RegType::DWord, std::move(d)};
  }
  // The DWORD held, when this is a well-formed DWORD value.
  std::optional<uint32_t> AsDWord() const {
    if (type != RegType::DWord || data.size() != 4) return std::nullopt;
    uint32_t v = 0;
    for (int i = 0; i < 4; ++i) v |= uint32_t(uint8_t(data[i])) << (8 * i);
    return v;
  }
  bool operator==(const RegValue&) const = default;
};

// An open key. Short-lived: the registry routines open one per call and drop it.
// Every operation reports success or failure; none throws.
class IRegKey {
 public:
  virtual ~IRegKey() = default;
  virtual std::optional<RegValue> QueryValue(const std::string& name) = 0;
  virtual bool SetValue(const std::string& name, const RegValue& value) = 0;
  virtual bool DeleteValue(const std::string& name) = 0;
  virtual std::vector<std::string> ValueNames() = 0;
  virtual std::vector<std::string> SubKeyNames() = 0;
  // Deletes the direct sub-key `name` with everything below it.
  virtual bool DeleteSubKeyTree(const std::string& name) = 0;
};

class IRegistry {
 public:
  virtual ~IRegistry() = default;
  // Opens the key at `path` (empty: the hive's root). With `create`, missing
  // keys along the path are created. Returns null when the key is missing (and
  // not created) or the hive cannot be opened or written.
  virtual std::unique_ptr<IRegKey> OpenKey(RegHive hive, const std::string& path, bool create) = 0;

  // A batch groups every change to one hive until CommitBatch into one atomic
  // write: a crash leaves either everything before the batch or everything
  // after it. Batches do not nest. Implementations without transactions may
  // treat these as no-ops (and return true).
  virtual bool BeginBatch(RegHive hive) = 0;
  virtual bool CommitBatch(RegHive hive) = 0;
  virtual void RollbackBatch(RegHive hive) = 0;
};

// The process-wide registry. The first call creates the platform's default
// implementation; SetRegistry installs another one (tests), null restores it.
IRegistry& Registry();
void SetRegistry(IRegistry* registry);

// Runs a group of registry changes as one batch; rolls back when not committed.
class RegistryBatch {
 public:
  RegistryBatch(RegHive hive) : hive_(hive), open_(Registry().BeginBatch(hive)) {}
  ~RegistryBatch() {
    if (open_) Registry().RollbackBatch(hive_);
  }
  bool Commit() {
    if (!open_) return false;
    open_ = false;
    return Registry().CommitBatch(hive_);
  }
  RegistryBatch(const RegistryBatch&) = delete;
  RegistryBatch& operator=(const RegistryBatch&) = delete;

 private:
  RegHive hive_;
  bool open_;
};
