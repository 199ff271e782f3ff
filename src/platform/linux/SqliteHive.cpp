#include "platform/linux/SqliteHive.h"

#include <fcntl.h>
#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <map>
#include <mutex>
#include <utility>

// How the hive works
// ------------------
// Each hive file holds one table, one row per key: its parent's row id, its
// name as first written, and all its values packed in one blob in creation
// order. Row 0 is the hive's root.
//
// The whole hive is mirrored in memory and every read is served from there.
// The mirror is a tree of copy-on-write nodes: `committed_` is the tree as it
// stands in the file, `work_` the tree with the changes not yet written. Both
// share every node a change has not touched; a node belonging to the current
// generation is private to `work_` and is changed in place, any other node is
// copied (with the path above it) before its first change. Committing compares
// the two trees, skipping every shared sub-tree, and writes only the rows that
// really differ, in one transaction; so the library's full rewrite after a
// one-item change writes one row. Rolling back drops `work_`.
//
// Another program (or connection) may change the file: outside a batch every
// operation first asks SQLite whether the file changed since we last looked
// (PRAGMA data_version) and reloads the mirror when it did. A batch holds the
// file's write lock from its start, so nobody else can change it meanwhile.

namespace {

constexpr const char* kSchema =
    "CREATE TABLE IF NOT EXISTS hive_keys("
    " id INTEGER PRIMARY KEY,"
    " parent INTEGER NOT NULL,"
    " name BLOB NOT NULL,"
    " vals BLOB NOT NULL);"
    "INSERT OR IGNORE INTO hive_keys(id, parent, name, vals) VALUES(0, -1, x'', x'');";

char UpperAscii(char c) {
  return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

std::string UpperName(const std::string& s) {
  std::string u(s);
  for (char& c : u) c = UpperAscii(c);
  return u;
}

bool SameName(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (UpperAscii(a[i]) != UpperAscii(b[i])) return false;
  return true;
}

// Splits a key path at '\', dropping empty components.
std::vector<std::string> SplitPath(const std::string& path) {
  std::vector<std::string> parts;
  size_t start = 0;
  while (start <= path.size()) {
    size_t end = path.find('\\', start);
    if (end == std::string::npos) end = path.size();
    if (end > start) parts.push_back(path.substr(start, end - start));
    start = end + 1;
  }
  return parts;
}

std::string JoinUpper(const std::vector<std::string>& parts) {
  std::string joined;
  for (const auto& p : parts) {
    joined += UpperName(p);
    joined += '\\';
  }
  return joined;
}

struct Value {
  std::string name;
  RegType type;
  std::string data;
  bool operator==(const Value&) const = default;
};

void PutU32(std::string& out, uint32_t v) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
}

bool GetU32(const std::string& in, size_t& pos, uint32_t& v) {
  if (in.size() - pos < 4) return false;
  v = 0;
  for (int i = 0; i < 4; ++i) v |= uint32_t(uint8_t(in[pos + i])) << (8 * i);
  pos += 4;
  return true;
}

bool GetBytes(const std::string& in, size_t& pos, std::string& out) {
  uint32_t len = 0;
  if (!GetU32(in, pos, len) || in.size() - pos < len) return false;
  out.assign(in, pos, len);
  pos += len;
  return true;
}

// A key's values as stored: per value its name, type and data.
std::string PackValues(const std::vector<Value>& values) {
  std::string out;
  for (const auto& v : values) {
    PutU32(out, static_cast<uint32_t>(v.name.size()));
    out += v.name;
    PutU32(out, static_cast<uint32_t>(v.type));
    PutU32(out, static_cast<uint32_t>(v.data.size()));
    out += v.data;
  }
  return out;
}

// Reads back what PackValues wrote; a damaged tail is dropped.
std::vector<Value> UnpackValues(const std::string& in) {
  std::vector<Value> values;
  size_t pos = 0;
  while (pos < in.size()) {
    Value v;
    uint32_t type = 0;
    if (!GetBytes(in, pos, v.name) || !GetU32(in, pos, type) || !GetBytes(in, pos, v.data)) break;
    v.type = static_cast<RegType>(type);
    values.push_back(std::move(v));
  }
  return values;
}

std::string ColumnBytes(sqlite3_stmt* st, int col) {
  const void* p = sqlite3_column_blob(st, col);
  int n = sqlite3_column_bytes(st, col);
  return p ? std::string(static_cast<const char*>(p), static_cast<size_t>(n)) : std::string();
}

// Creates the missing folders of `dir` with `mode`.
bool MakeDirs(const std::string& dir, mode_t mode) {
  if (dir.empty()) return true;
  struct stat st;
  if (stat(dir.c_str(), &st) == 0) return S_ISDIR(st.st_mode);
  size_t slash = dir.find_last_of('/');
  if (slash != std::string::npos && slash > 0 && !MakeDirs(dir.substr(0, slash), mode))
    return false;
  return mkdir(dir.c_str(), mode) == 0 || errno == EEXIST;
}

// Creates the hive file (and its folder) with the given modes when it is
// missing, so SQLite's own files (-wal, -shm), which copy the database
// file's mode, get the same.
bool PrepareFile(const std::string& path, mode_t dirMode, mode_t fileMode) {
  size_t slash = path.find_last_of('/');
  if (slash != std::string::npos && slash > 0 && !MakeDirs(path.substr(0, slash), dirMode))
    return false;
  struct stat st;
  if (stat(path.c_str(), &st) == 0) return S_ISREG(st.st_mode);
  int fd = open(path.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, fileMode);
  if (fd < 0) return errno == EEXIST;
  fchmod(fd, fileMode);  // the umask must not widen or narrow it
  close(fd);
  return true;
}

}  // namespace

// ---------------------------------------------------------------------------

namespace {

struct Node;
using NodePtr = std::shared_ptr<Node>;

struct Node {
  uint64_t gen = 0;                     // the generation that made this copy
  int64_t id = -1;                      // row id in the file; -1 while not stored
  std::string name;                     // as first written
  std::map<std::string, NodePtr> kids;  // by upper-case name: Windows order
  std::vector<Value> values;            // creation order

  Value* FindValue(const std::string& valueName) {
    for (auto& v : values)
      if (SameName(v.name, valueName)) return &v;
    return nullptr;
  }
};

class Statement {
 public:
  Statement() = default;
  Statement(const Statement&) = delete;
  Statement& operator=(const Statement&) = delete;
  ~Statement() { sqlite3_finalize(st_); }
  void Finalize() {
    sqlite3_finalize(st_);
    st_ = nullptr;
  }
  bool Prepare(sqlite3* db, const char* sql) {
    Finalize();
    return sqlite3_prepare_v2(db, sql, -1, &st_, nullptr) == SQLITE_OK;
  }
  sqlite3_stmt* get() const { return st_; }
  explicit operator bool() const { return st_ != nullptr; }

 private:
  sqlite3_stmt* st_ = nullptr;
};

// Runs a prepared statement that returns no rows, then resets it.
bool Exec(sqlite3_stmt* st) {
  int rc = sqlite3_step(st);
  sqlite3_reset(st);
  sqlite3_clear_bindings(st);
  return rc == SQLITE_DONE;
}

// One hive: its file and its mirror.
class Hive {
 public:
  Hive(std::string path, mode_t dirMode, mode_t fileMode) : path_(std::move(path)) {
    Open(dirMode, fileMode);
  }
  ~Hive() {
    if (inBatch_) Run("ROLLBACK");
    ClosePrepared();
    if (db_) sqlite3_close_v2(db_);
  }
  Hive(const Hive&) = delete;
  Hive& operator=(const Hive&) = delete;

  std::mutex mutex;

  bool Usable() const { return db_ != nullptr; }

  // Reloads the mirror when another connection changed the file; called
  // before every operation outside a batch.
  void Refresh() {
    if (!db_ || inBatch_) return;
    int64_t version = DataVersion();
    if (version >= 0 && version != dataVersion_) Load();
  }

  // --- Key lookups -------------------------------------------------------

  // The key at `parts` as it stands in `work_`, or null.
  Node* Find(const std::vector<std::string>& parts, const std::string& upperPath) {
    if (cacheStamp_ == stamp_ && cachePath_ == upperPath) return cacheNode_;
    Node* node = work_.get();
    for (const auto& part : parts) {
      auto it = node->kids.find(UpperName(part));
      if (it == node->kids.end()) return nullptr;
      node = it->second.get();
    }
    Remember(upperPath, node, false);
    return node;
  }

  // The key at `parts`, made private to `work_` so it may be changed; with
  // `create` the missing keys are made. Null when missing and not created.
  Node* FindForChange(const std::vector<std::string>& parts, const std::string& upperPath,
                      bool create) {
    if (cacheStamp_ == stamp_ && cacheOwned_ && cachePath_ == upperPath) return cacheNode_;
    if (!create && !Find(parts, upperPath)) return nullptr;
    Node* node = Own(work_);
    for (const auto& part : parts) {
      NodePtr& slot = node->kids[UpperName(part)];
      if (!slot) {
        slot = std::make_shared<Node>();
        slot->gen = gen_;
        slot->name = part;
      }
      node = Own(slot);
    }
    Remember(upperPath, node, true);
    return node;
  }

  // Removes the direct sub-key `upperName` of the key at `parts`.
  bool DeleteKid(const std::vector<std::string>& parts, const std::string& upperPath,
                 const std::string& upperName) {
    Node* parent = Find(parts, upperPath);
    if (!parent || parent->kids.find(upperName) == parent->kids.end()) return false;
    parent = FindForChange(parts, upperPath, false);
    parent->kids.erase(upperName);
    ++stamp_;  // cached paths below the deleted key are gone
    return true;
  }

  // --- Changes and batches -----------------------------------------------

  // Applies one change: inside a batch to the mirror only, outside it as its
  // own transaction.
  template <class F>
  bool Change(F&& apply) {
    if (!db_) return false;
    if (inBatch_) return apply();
    if (!BeginTransaction()) return false;
    if (!apply()) {
      RollbackTransaction();
      return false;
    }
    return CommitTransaction();
  }

  bool BeginBatch() {
    if (!db_ || inBatch_) return false;
    inBatch_ = BeginTransaction();
    return inBatch_;
  }

  bool CommitBatch() {
    if (!inBatch_) return false;
    inBatch_ = false;
    return CommitTransaction();
  }

  void RollbackBatch() {
    if (!inBatch_) return;
    inBatch_ = false;
    RollbackTransaction();
  }

 private:
  // --- Opening and loading -----------------------------------------------

  void Open(mode_t dirMode, mode_t fileMode) {
    work_ = committed_ = std::make_shared<Node>();
    committed_->id = 0;
    bool memory = path_ == ":memory:";
    if (!memory && !PrepareFile(path_, dirMode, fileMode)) return;
    if (sqlite3_open_v2(path_.c_str(), &db_, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) !=
        SQLITE_OK) {
      CloseDb();
      return;
    }
    sqlite3_busy_timeout(db_, 5000);
    if (!Run("PRAGMA journal_mode=WAL") || !Run("PRAGMA synchronous=FULL") || !Run(kSchema) ||
        !PrepareAll()) {
      CloseDb();
      return;
    }
    if (!Load()) CloseDb();
  }

  void CloseDb() {
    ClosePrepared();
    if (db_) sqlite3_close_v2(db_);
    db_ = nullptr;
    work_ = committed_ = std::make_shared<Node>();
    committed_->id = 0;
  }

  bool PrepareAll() {
    return version_.Prepare(db_, "PRAGMA data_version") &&
           ins_.Prepare(db_, "INSERT INTO hive_keys(parent, name, vals) VALUES(?, ?, ?)") &&
           del_.Prepare(db_, "DELETE FROM hive_keys WHERE id = ?") &&
           setName_.Prepare(db_, "UPDATE hive_keys SET name = ? WHERE id = ?") &&
           setVals_.Prepare(db_, "UPDATE hive_keys SET vals = ? WHERE id = ?");
  }

  void ClosePrepared() {
    for (Statement* st : {&version_, &ins_, &del_, &setName_, &setVals_}) st->Finalize();
  }

  bool Run(const char* sql) {
    return sqlite3_exec(db_, sql, nullptr, nullptr, nullptr) == SQLITE_OK;
  }

  int64_t DataVersion() {
    if (sqlite3_step(version_.get()) != SQLITE_ROW) {
      sqlite3_reset(version_.get());
      return -1;
    }
    int64_t v = sqlite3_column_int64(version_.get(), 0);
    sqlite3_reset(version_.get());
    return v;
  }

  // Builds the mirror from the file. Rows whose parent is missing are skipped.
  bool Load() {
    Statement all;
    if (!all.Prepare(db_, "SELECT id, parent, name, vals FROM hive_keys ORDER BY id")) return false;
    ++gen_;
    ++stamp_;
    auto root = std::make_shared<Node>();
    root->id = 0;
    std::map<int64_t, NodePtr> byId;
    std::vector<std::pair<int64_t, NodePtr>> pending;  // (parent, node)
    int rc;
    while ((rc = sqlite3_step(all.get())) == SQLITE_ROW) {
      int64_t id = sqlite3_column_int64(all.get(), 0);
      int64_t parent = sqlite3_column_int64(all.get(), 1);
      NodePtr node = id == 0 ? root : std::make_shared<Node>();
      node->id = id;
      node->name = ColumnBytes(all.get(), 2);
      node->values = UnpackValues(ColumnBytes(all.get(), 3));
      if (id == 0) continue;
      byId[id] = node;
      pending.emplace_back(parent, node);
    }
    if (rc != SQLITE_DONE) return false;
    for (auto& [parent, node] : pending) {
      Node* p = parent == 0 ? root.get() : nullptr;
      if (!p) {
        auto it = byId.find(parent);
        if (it == byId.end()) continue;
        p = it->second.get();
      }
      p->kids.emplace(UpperName(node->name), node);
    }
    committed_ = work_ = root;
    root->name.clear();
    dataVersion_ = DataVersion();
    return true;
  }

  // --- Copy-on-write -----------------------------------------------------

  // Makes the node in `slot` private to the current generation.
  Node* Own(NodePtr& slot) {
    if (slot->gen != gen_) {
      auto copy = std::make_shared<Node>(*slot);
      copy->gen = gen_;
      slot = std::move(copy);
      ++stamp_;
    }
    return slot.get();
  }

  void Remember(const std::string& upperPath, Node* node, bool owned) {
    cachePath_ = upperPath;
    cacheNode_ = node;
    cacheOwned_ = owned;
    cacheStamp_ = stamp_;
  }

  // --- Transactions ------------------------------------------------------

  bool BeginTransaction() {
    if (!Run("BEGIN IMMEDIATE")) return false;
    int64_t version = DataVersion();
    if (version != dataVersion_ && !Load()) {
      Run("ROLLBACK");
      return false;
    }
    return true;
  }

  // Writes the difference between the two trees and commits; on failure the
  // mirror goes back to what the file holds.
  bool CommitTransaction() {
    bool ok = true;
    if (work_ != committed_) ok = WriteDiff(committed_.get(), work_.get());
    ok = ok && Run("COMMIT");
    if (!ok) {
      Run("ROLLBACK");
      work_ = committed_;
    } else {
      committed_ = work_;
    }
    ++gen_;  // every node is shared again
    ++stamp_;
    return ok;
  }

  void RollbackTransaction() {
    Run("ROLLBACK");
    work_ = committed_;
    ++gen_;
    ++stamp_;
  }

  // Writes what changed from `was` to `now`, two versions of the same key.
  bool WriteDiff(const Node* was, Node* now) {
    if (was == now) return true;
    now->id = was->id;
    if (now->name != was->name && !SetName(now->id, now->name)) return false;
    if (now->values != was->values && !SetValues(now->id, now->values)) return false;
    auto a = was->kids.begin();
    auto b = now->kids.begin();
    while (a != was->kids.end() || b != now->kids.end()) {
      if (b == now->kids.end() || (a != was->kids.end() && a->first < b->first)) {
        if (!DeleteRows(a->second.get())) return false;
        ++a;
      } else if (a == was->kids.end() || b->first < a->first) {
        if (!InsertRows(now->id, b->second.get())) return false;
        ++b;
      } else {
        if (!WriteDiff(a->second.get(), b->second.get())) return false;
        ++a;
        ++b;
      }
    }
    return true;
  }

  bool InsertRows(int64_t parent, Node* node) {
    std::string packed = PackValues(node->values);
    sqlite3_stmt* st = ins_.get();
    sqlite3_bind_int64(st, 1, parent);
    sqlite3_bind_blob(st, 2, node->name.data(), static_cast<int>(node->name.size()), SQLITE_STATIC);
    sqlite3_bind_blob(st, 3, packed.data(), static_cast<int>(packed.size()), SQLITE_STATIC);
    if (!Exec(st)) return false;
    node->id = sqlite3_last_insert_rowid(db_);
    for (auto& [upper, kid] : node->kids)
      if (!InsertRows(node->id, kid.get())) return false;
    return true;
  }

  bool DeleteRows(const Node* node) {
    for (const auto& [upper, kid] : node->kids)
      if (!DeleteRows(kid.get())) return false;
    sqlite3_bind_int64(del_.get(), 1, node->id);
    return Exec(del_.get());
  }

  bool SetName(int64_t id, const std::string& name) {
    sqlite3_stmt* st = setName_.get();
    sqlite3_bind_blob(st, 1, name.data(), static_cast<int>(name.size()), SQLITE_STATIC);
    sqlite3_bind_int64(st, 2, id);
    return Exec(st);
  }

  bool SetValues(int64_t id, const std::vector<Value>& values) {
    std::string packed = PackValues(values);
    sqlite3_stmt* st = setVals_.get();
    sqlite3_bind_blob(st, 1, packed.data(), static_cast<int>(packed.size()), SQLITE_STATIC);
    sqlite3_bind_int64(st, 2, id);
    return Exec(st);
  }

  std::string path_;
  sqlite3* db_ = nullptr;
  Statement version_, ins_, del_, setName_, setVals_;
  int64_t dataVersion_ = -1;
  bool inBatch_ = false;

  NodePtr committed_;  // as stored in the file
  NodePtr work_;       // with the changes not yet written
  uint64_t gen_ = 1;   // nodes of this generation belong to work_ alone

  // The last key looked up; valid while stamp_ is unchanged.
  uint64_t stamp_ = 1;
  uint64_t cacheStamp_ = 0;
  std::string cachePath_;
  Node* cacheNode_ = nullptr;
  bool cacheOwned_ = false;
};

// An open key: the hive and the path. Every call looks the key up again, so a
// handle stays valid whatever happens to the mirror meanwhile.
class SqliteKey : public IRegKey {
 public:
  SqliteKey(Hive& hive, std::vector<std::string> parts)
      : hive_(hive), parts_(std::move(parts)), upperPath_(JoinUpper(parts_)) {}

  std::optional<RegValue> QueryValue(const std::string& name) override {
    return Guard(std::optional<RegValue>(), [&]() -> std::optional<RegValue> {
      hive_.Refresh();
      Node* node = hive_.Find(parts_, upperPath_);
      Value* v = node ? node->FindValue(name) : nullptr;
      if (!v) return std::nullopt;
      return RegValue{v->type, v->data};
    });
  }

  bool SetValue(const std::string& name, const RegValue& value) override {
    return Guard(false, [&] {
      hive_.Refresh();
      return hive_.Change([&] {
        Node* node = hive_.FindForChange(parts_, upperPath_, false);
        if (!node) return false;
        if (Value* v = node->FindValue(name)) {
          v->type = value.type;  // keeps its position and the case of its name
          v->data = value.data;
        } else {
          node->values.push_back(Value{name, value.type, value.data});
        }
        return true;
      });
    });
  }

  bool DeleteValue(const std::string& name) override {
    return Guard(false, [&] {
      hive_.Refresh();
      Node* node = hive_.Find(parts_, upperPath_);
      if (!node || !node->FindValue(name)) return false;
      return hive_.Change([&] {
        Node* own = hive_.FindForChange(parts_, upperPath_, false);
        if (!own) return false;
        for (auto it = own->values.begin(); it != own->values.end(); ++it) {
          if (SameName(it->name, name)) {
            own->values.erase(it);
            return true;
          }
        }
        return false;
      });
    });
  }

  std::vector<std::string> ValueNames() override {
    return Guard(std::vector<std::string>(), [&] {
      hive_.Refresh();
      std::vector<std::string> names;
      if (Node* node = hive_.Find(parts_, upperPath_))
        for (const auto& v : node->values) names.push_back(v.name);
      return names;
    });
  }

  std::vector<std::string> SubKeyNames() override {
    return Guard(std::vector<std::string>(), [&] {
      hive_.Refresh();
      std::vector<std::string> names;
      if (Node* node = hive_.Find(parts_, upperPath_))
        for (const auto& [upper, kid] : node->kids) names.push_back(kid->name);
      return names;
    });
  }

  bool DeleteSubKeyTree(const std::string& name) override {
    return Guard(false, [&] {
      std::vector<std::string> sub = SplitPath(name);
      if (sub.empty()) return false;
      std::vector<std::string> parent = parts_;
      parent.insert(parent.end(), sub.begin(), sub.end() - 1);
      std::string parentPath = JoinUpper(parent);
      std::string upperName = UpperName(sub.back());
      hive_.Refresh();
      Node* node = hive_.Find(parent, parentPath);
      if (!node || node->kids.find(upperName) == node->kids.end()) return false;
      return hive_.Change([&] { return hive_.DeleteKid(parent, parentPath, upperName); });
    });
  }

 private:
  // Runs one operation under the hive's lock; nothing thrown gets out.
  template <class T, class F>
  T Guard(T fallback, F&& op) {
    try {
      std::lock_guard<std::mutex> lock(hive_.mutex);
      return op();
    } catch (...) {
      return fallback;
    }
  }

  Hive& hive_;
  std::vector<std::string> parts_;
  std::string upperPath_;
};

}  // namespace

// ---------------------------------------------------------------------------

struct SqliteRegistry::Impl {
  Hive currentUser;
  Hive localMachine;
  Impl(std::string cu, std::string lm)
      : currentUser(std::move(cu), 0700, 0600), localMachine(std::move(lm), 0755, 0644) {}
  Hive& Of(RegHive hive) { return hive == RegHive::LocalMachine ? localMachine : currentUser; }
};

SqliteRegistry::SqliteRegistry(std::string currentUserPath, std::string localMachinePath)
    : impl_(std::make_unique<Impl>(std::move(currentUserPath), std::move(localMachinePath))) {}

SqliteRegistry::~SqliteRegistry() = default;

std::unique_ptr<IRegKey> SqliteRegistry::OpenKey(RegHive which, const std::string& path,
                                                 bool create) {
  try {
    Hive& hive = impl_->Of(which);
    std::lock_guard<std::mutex> lock(hive.mutex);
    std::vector<std::string> parts = SplitPath(path);
    std::string upperPath = JoinUpper(parts);
    hive.Refresh();
    if (!hive.Find(parts, upperPath)) {
      if (!create) return nullptr;
      if (!hive.Change([&] { return hive.FindForChange(parts, upperPath, true) != nullptr; }))
        return nullptr;
    } else if (create && !hive.Usable()) {
      return nullptr;
    }
    return std::make_unique<SqliteKey>(hive, std::move(parts));
  } catch (...) {
    return nullptr;
  }
}

bool SqliteRegistry::BeginBatch(RegHive which) {
  Hive& hive = impl_->Of(which);
  std::lock_guard<std::mutex> lock(hive.mutex);
  return hive.BeginBatch();
}

bool SqliteRegistry::CommitBatch(RegHive which) {
  Hive& hive = impl_->Of(which);
  std::lock_guard<std::mutex> lock(hive.mutex);
  try {
    return hive.CommitBatch();
  } catch (...) {
    hive.RollbackBatch();
    return false;
  }
}

void SqliteRegistry::RollbackBatch(RegHive which) {
  Hive& hive = impl_->Of(which);
  std::lock_guard<std::mutex> lock(hive.mutex);
  hive.RollbackBatch();
}

std::string SqliteRegistry::DefaultCurrentUserPath() {
  if (const char* dir = std::getenv("VELLUMIN_REGISTRY_DIR"); dir && *dir)
    return std::string(dir) + "/HKCU.hive";
  std::string config;
  if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && *xdg) {
    config = xdg;
  } else {
    const char* home = std::getenv("HOME");
    config = std::string(home && *home ? home : ".") + "/.config";
  }
  return config + "/kvlmn/HKCU.hive";
}

std::string SqliteRegistry::DefaultLocalMachinePath() {
  if (const char* dir = std::getenv("VELLUMIN_REGISTRY_DIR"); dir && *dir)
    return std::string(dir) + "/HKLM.hive";
  return "/var/lib/kvlmn/HKLM.hive";
}
