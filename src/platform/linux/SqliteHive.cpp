#include "platform/linux/SqliteHive.h"

#include <fcntl.h>
#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <map>
#include <mutex>
#include <string_view>
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
// share every node a change has not touched; a node of the current generation
// is private to `work_` and is changed in place, any other node is copied
// (with the path above it) before its first change. Committing compares the
// two trees, skipping every shared sub-tree, and writes only the rows that
// really differ, in one transaction; so the library's full rewrite after a
// one-item change writes one row. Rolling back drops `work_`.
//
// Another program (or connection) may change the file: outside a batch every
// operation first checks whether the file changed since we last looked, and
// reloads the mirror when it did. A batch holds the file's write lock from
// its start, so nobody else can change it meanwhile.

namespace {

constexpr const char* kSchema =
    "CREATE TABLE IF NOT EXISTS hive_keys("
    " id INTEGER PRIMARY KEY,"
    " parent INTEGER NOT NULL,"
    " name BLOB NOT NULL,"
    " vals BLOB NOT NULL);"
    "INSERT OR IGNORE INTO hive_keys(id, parent, name, vals) VALUES(0, -1, x'', x'');";

// --- Names -------------------------------------------------------------------

char UpperAscii(char c) {
  return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

std::string UpperName(std::string_view s) {
  std::string u(s);
  for (char& c : u) c = UpperAscii(c);
  return u;
}

bool SameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (UpperAscii(a[i]) != UpperAscii(b[i])) return false;
  return true;
}

// A key path as the hive compares it: every component followed by one '\'
// (empty components dropped), as given and in upper case; both strings have
// the same length, so a component sits at the same place in each.
struct KeyPath {
  std::string raw;
  std::string upper;
};

void NormalizePath(std::string_view path, KeyPath& out) {
  out.raw.clear();
  size_t start = 0;
  while (start < path.size()) {
    size_t end = path.find('\\', start);
    if (end == std::string_view::npos) end = path.size();
    if (end > start) out.raw.append(path, start, end - start).push_back('\\');
    start = end + 1;
  }
  out.upper.resize(out.raw.size());
  std::transform(out.raw.begin(), out.raw.end(), out.upper.begin(), UpperAscii);
}

// Where two strings first differ.
size_t CommonPrefix(std::string_view a, std::string_view b) {
  size_t n = std::min(a.size(), b.size()), i = 0;
  for (; i + 8 <= n; i += 8) {
    uint64_t x, y;
    std::memcpy(&x, a.data() + i, 8);
    std::memcpy(&y, b.data() + i, 8);
    if (x != y) break;
  }
  while (i < n && a[i] == b[i]) ++i;
  return i;
}

// --- Packed values -----------------------------------------------------------
// A key's values in one string, in creation order; per value:
//   u32 name length, name, u32 type, u32 data length, data (little-endian).

void PutU32(std::string& out, uint32_t v) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
}

bool GetU32(std::string_view in, size_t& pos, uint32_t& v) {
  if (in.size() - pos < 4) return false;
  v = 0;
  for (int i = 0; i < 4; ++i) v |= uint32_t(uint8_t(in[pos + i])) << (8 * i);
  pos += 4;
  return true;
}

struct PackedValue {
  size_t begin = 0, end = 0;  // the whole entry
  std::string_view name, data;
  uint32_t type = 0;
  size_t typeAt = 0;  // where the type field starts
};

// Reads the entry at pos; false at the end or at a damaged entry.
bool NextValue(std::string_view packed, size_t& pos, PackedValue& v) {
  uint32_t len = 0;
  v.begin = pos;
  if (!GetU32(packed, pos, len) || packed.size() - pos < len) return false;
  v.name = packed.substr(pos, len);
  pos += len;
  v.typeAt = pos;
  if (!GetU32(packed, pos, v.type) || !GetU32(packed, pos, len) || packed.size() - pos < len)
    return false;
  v.data = packed.substr(pos, len);
  pos += len;
  v.end = pos;
  return true;
}

bool FindValue(std::string_view packed, std::string_view name, PackedValue& v) {
  size_t pos = 0;
  while (NextValue(packed, pos, v))
    if (SameName(v.name, name)) return true;
  return false;
}

void AppendTypeAndData(std::string& out, RegType type, std::string_view data) {
  PutU32(out, static_cast<uint32_t>(type));
  PutU32(out, static_cast<uint32_t>(data.size()));
  out.append(data);
}

// Writes a value: in its place (keeping the case of its name) when it exists,
// else at the end.
void StoreValue(std::string& packed, std::string_view name, const RegValue& value) {
  PackedValue v;
  if (FindValue(packed, name, v)) {
    std::string tail;
    AppendTypeAndData(tail, value.type, value.data);
    packed.replace(v.typeAt, v.end - v.typeAt, tail);
    return;
  }
  PutU32(packed, static_cast<uint32_t>(name.size()));
  packed.append(name);
  AppendTypeAndData(packed, value.type, value.data);
}

bool EraseValue(std::string& packed, std::string_view name) {
  PackedValue v;
  if (!FindValue(packed, name, v)) return false;
  packed.erase(v.begin, v.end - v.begin);
  return true;
}

// Stored values as read from a file: a damaged tail is dropped.
std::string SoundValues(const void* blob, int size) {
  std::string packed(static_cast<const char*>(blob), blob ? static_cast<size_t>(size) : 0);
  size_t pos = 0, good = 0;
  PackedValue v;
  while (NextValue(packed, pos, v)) good = pos;
  packed.resize(good);
  return packed;
}

// --- Files -------------------------------------------------------------------

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

// Creates the hive file (and its folders) with the given modes when missing.
// SQLite gives its -wal and -shm files the database file's mode.
bool PrepareFile(const std::string& path, mode_t dirMode, mode_t fileMode) {
  size_t slash = path.find_last_of('/');
  if (slash != std::string::npos && slash > 0 && !MakeDirs(path.substr(0, slash), dirMode))
    return false;
  struct stat st;
  if (stat(path.c_str(), &st) == 0) return S_ISREG(st.st_mode);
  int fd = open(path.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, fileMode);
  if (fd < 0) return errno == EEXIST;
  fchmod(fd, fileMode);  // whatever the umask says
  close(fd);
  return true;
}

// --- SQLite helpers ----------------------------------------------------------

class Statement {
 public:
  Statement() = default;
  Statement(const Statement&) = delete;
  Statement& operator=(const Statement&) = delete;
  ~Statement() { Finalize(); }
  void Finalize() {
    sqlite3_finalize(st_);
    st_ = nullptr;
  }
  bool Prepare(sqlite3* db, const char* sql) {
    Finalize();
    return sqlite3_prepare_v2(db, sql, -1, &st_, nullptr) == SQLITE_OK;
  }
  sqlite3_stmt* get() const { return st_; }

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

void BindBytes(sqlite3_stmt* st, int col, std::string_view bytes) {
  sqlite3_bind_blob(st, col, bytes.data(), static_cast<int>(bytes.size()), SQLITE_STATIC);
}

// --- The mirror --------------------------------------------------------------

struct Node;
using NodePtr = std::shared_ptr<Node>;

struct Node {
  uint64_t gen = 0;                                  // the generation that made this copy
  int64_t id = -1;                                   // row id in the file; -1 while not stored
  std::string name;                                  // as first written
  std::string vals;                                  // packed values
  std::map<std::string, NodePtr, std::less<>> kids;  // by upper-case name: Windows order

  // What happened to a shared key in the generation `markGen`: deleted, or
  // deleted and created again ("revived"). A revived key shows only the first
  // `replayEnd` bytes of its values and only the sub-keys revived after it
  // (`revivedAt` orders the revivals): writing
  // the values it had, in their order, just moves `replayEnd` on. So a key
  // deleted and written again as it was needs no copy and no row.
  enum Mark : uint8_t { kDead, kRevived };
  uint64_t markGen = 0;
  Mark mark = kDead;
  size_t replayEnd = 0;
  uint64_t revivedAt = 0;
};

// One hive: its file and its mirror.
class Hive {
 public:
  Hive(std::string path, mode_t dirMode, mode_t fileMode) : path_(std::move(path)) {
    Reset();
    Open(dirMode, fileMode);
  }
  ~Hive() {
    if (inBatch_) Run("ROLLBACK");
    CloseDb();
  }
  Hive(const Hive&) = delete;
  Hive& operator=(const Hive&) = delete;

  std::mutex mutex;

  bool Usable() const { return db_ != nullptr; }

  // The path in normal form; the same object as last time when the path is
  // the same, since keys are opened again and again on one path.
  std::shared_ptr<const KeyPath> Path(const std::string& path) {
    if (lastPath_ && path == lastInput_) return lastPath_;
    NormalizePath(path, scratch_);
    if (!lastPath_ || lastPath_->raw != scratch_.raw)
      lastPath_ = std::make_shared<const KeyPath>(scratch_);
    lastInput_ = path;
    return lastPath_;
  }

  // Reloads the mirror when another connection changed the file. Called
  // before every operation outside a batch.
  void Refresh() {
    if (!db_ || inBatch_ || memory_) return;
    WalHeader header;
    bool haveHeader = ReadWalHeader(header);
    if (haveHeader && seenValid_ && header == seen_) return;
    int64_t version = DataVersion();
    if (version >= 0 && version != dataVersion_ && Run("BEGIN")) {
      Load();
      Run("COMMIT");
    }
    // Taken before asking, so a change made since shows as a new header.
    seen_ = header;
    seenValid_ = haveHeader;
  }

  // --- What a key shows in `work_` --------------------------------------

  bool Owned(const Node* n) const { return n->gen == gen_; }
  bool Revived(const Node* n) const { return n->markGen == gen_ && n->mark == Node::kRevived; }
  bool Dead(const Node* n) const { return n->markGen == gen_ && n->mark == Node::kDead; }

  bool Visible(const Node* parent, const Node* kid) const {
    return Revived(parent) ? Revived(kid) && kid->revivedAt > parent->revivedAt : !Dead(kid);
  }

  std::string_view Values(const Node* n) const {
    std::string_view all(n->vals);
    return Revived(n) ? all.substr(0, n->replayEnd) : all;
  }

  Node* Kid(const Node* parent, std::string_view upper) const {
    auto it = parent->kids.find(upper);
    return it != parent->kids.end() && Visible(parent, it->second.get()) ? it->second.get()
                                                                         : nullptr;
  }

  // --- Key lookups -------------------------------------------------------

  // The key as it stands in `work_`, or null.
  Node* Find(const KeyPath& path) {
    size_t k = Reuse(path.upper);
    Node* node = chain_[k].node;
    for (size_t pos = chain_[k].end; pos < path.upper.size();) {
      size_t end = path.upper.find('\\', pos);
      node = Kid(node, std::string_view(path.upper).substr(pos, end - pos));
      if (!node) return nullptr;
      Extend(path.upper, pos, end + 1, node);
      pos = end + 1;
    }
    return node;
  }

  // The key ready to be changed: private to `work_`, or (unless `own`)
  // revived; with `create` the missing keys are made. Null when missing and
  // not created.
  Node* FindForChange(const KeyPath& path, bool create, bool own = false) {
    if (!own && chainPath_ == path.upper) {  // the key looked up last
      Node* node = chain_.back().node;
      if (Owned(node) || Revived(node)) return node;
    }
    if (!create && !Find(path)) return nullptr;
    if (!own)
      if (Node* node = Edit(path)) return node;
    return OwnPath(path, create);
  }

  // A revived key that writes the value it had next, as it was, stays shared.
  bool Replay(Node* node, std::string_view name, const RegValue& value) {
    PackedValue v;
    if (!Revived(node) || FindValue(Values(node), name, v)) return false;
    size_t pos = node->replayEnd;
    if (!NextValue(node->vals, pos, v) || v.name != name || v.type != uint32_t(value.type) ||
        v.data != value.data)
      return false;
    node->replayEnd = pos;
    return true;
  }

  // Removes the direct sub-key `upperName` of the key.
  bool DeleteKid(const KeyPath& parentPath, std::string_view upperName) {
    Node* parent = Find(parentPath);
    if (!parent || !Kid(parent, upperName)) return false;
    if (!Owned(parent) && !Revived(parent)) parent = OwnPath(parentPath, false);
    auto it = parent->kids.find(upperName);
    if (Owned(it->second.get())) {
      parent->kids.erase(it);
    } else {  // kept, marked, in case it is created again
      it->second->markGen = gen_;
      it->second->mark = Node::kDead;
    }
    Forget();
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
    memory_ = path_ == ":memory:";
    if (!memory_ && !PrepareFile(path_, dirMode, fileMode)) return;
    int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX;
    bool ok = sqlite3_open_v2(path_.c_str(), &db_, flags, nullptr) == SQLITE_OK;
    if (ok) {
      sqlite3_busy_timeout(db_, 5000);
      ok = SetWalMode() && Run("PRAGMA synchronous=FULL") && Run("PRAGMA mmap_size=1073741824") &&
           Run(kSchema) && PrepareAll() && Load();
    }
    if (!ok) CloseDb();
    if (ok && !memory_) sqlite3_file_control(db_, "main", SQLITE_FCNTL_FILE_POINTER, &file_);
  }

  void CloseDb() {
    for (Statement* st : {&version_, &ins_, &del_, &setName_, &setVals_}) st->Finalize();
    if (db_) sqlite3_close_v2(db_);
    db_ = nullptr;
    file_ = nullptr;
    Reset();
  }

  void Reset() {
    work_ = committed_ = std::make_shared<Node>();
    committed_->id = 0;
    ++gen_;
    Forget();
  }

  bool PrepareAll() {
    return version_.Prepare(db_, "PRAGMA data_version") &&
           ins_.Prepare(db_, "INSERT INTO hive_keys(parent, name, vals) VALUES(?, ?, ?)") &&
           del_.Prepare(db_, "DELETE FROM hive_keys WHERE id = ?") &&
           setName_.Prepare(db_, "UPDATE hive_keys SET name = ? WHERE id = ?") &&
           setVals_.Prepare(db_, "UPDATE hive_keys SET vals = ? WHERE id = ?");
  }

  // WAL: readers never wait for the writer, and a commit is one append and
  // one sync. A file system that cannot share the WAL index keeps the
  // rollback journal; everything works, only the change check is slower.
  bool SetWalMode() {
    Statement mode;
    if (!mode.Prepare(db_, "PRAGMA journal_mode=WAL") || sqlite3_step(mode.get()) != SQLITE_ROW)
      return false;
    const unsigned char* text = sqlite3_column_text(mode.get(), 0);
    wal_ = text && std::strcmp(reinterpret_cast<const char*>(text), "wal") == 0;
    return true;
  }

  bool Run(const char* sql) {
    return sqlite3_exec(db_, sql, nullptr, nullptr, nullptr) == SQLITE_OK;
  }

  // Changes whenever another connection commits to the file.
  int64_t DataVersion() {
    if (sqlite3_step(version_.get()) != SQLITE_ROW) {
      sqlite3_reset(version_.get());
      return -1;
    }
    int64_t v = sqlite3_column_int64(version_.get(), 0);
    sqlite3_reset(version_.get());
    return v;
  }

  // Builds the mirror from the file. Rows whose parent is missing are
  // skipped. Runs inside a transaction, or as its own.
  bool Load() {
    int64_t version = DataVersion();
    Statement all;
    if (!all.Prepare(db_, "SELECT id, parent, name, vals FROM hive_keys ORDER BY id")) return false;
    auto root = std::make_shared<Node>();
    root->id = 0;
    std::vector<std::pair<int64_t, Node*>> byId{{0, root.get()}};  // ascending ids
    std::vector<std::pair<int64_t, NodePtr>> rows;                 // (parent, node)
    int rc;
    sqlite3_stmt* st = all.get();
    while ((rc = sqlite3_step(st)) == SQLITE_ROW) {
      int64_t id = sqlite3_column_int64(st, 0);
      NodePtr node = id == 0 ? root : std::make_shared<Node>();
      node->id = id;
      node->vals = SoundValues(sqlite3_column_blob(st, 3), sqlite3_column_bytes(st, 3));
      if (id == 0) continue;
      const void* name = sqlite3_column_blob(st, 2);
      if (name) node->name.assign(static_cast<const char*>(name), sqlite3_column_bytes(st, 2));
      byId.emplace_back(id, node.get());
      rows.emplace_back(sqlite3_column_int64(st, 1), std::move(node));
    }
    if (rc != SQLITE_DONE) return false;
    for (auto& [parent, node] : rows) {
      if (parent >= node->id) continue;  // parents are always stored first
      auto it = std::lower_bound(byId.begin(), byId.end(), std::make_pair(parent, (Node*)nullptr));
      if (it == byId.end() || it->first != parent) continue;
      it->second->kids.emplace(UpperName(node->name), std::move(node));
    }
    ++gen_;
    committed_ = work_ = root;
    dataVersion_ = version;
    Forget();
    return true;
  }

  // The first 48 bytes of the file's WAL index: SQLite changes them with
  // every transaction any connection commits. Read through SQLite's own
  // mapping of the -shm file, they tell in a few nanoseconds that nothing
  // changed; when they differ, PRAGMA data_version has the last word.
  struct WalHeader {
    unsigned char bytes[48];
    bool operator==(const WalHeader& o) const { return std::memcmp(bytes, o.bytes, 48) == 0; }
  };

  bool ReadWalHeader(WalHeader& header) {
    if (!wal_ || !file_ || !file_->pMethods || file_->pMethods->iVersion < 2 ||
        !file_->pMethods->xShmMap)
      return false;
    void volatile* region = nullptr;
    if (file_->pMethods->xShmMap(file_, 0, 32768, 0, &region) != SQLITE_OK || !region) return false;
    auto* p = static_cast<volatile unsigned char*>(region);
    for (int i = 0; i < 48; ++i) header.bytes[i] = p[i];
    return true;
  }

  // --- Copy-on-write and the lookup chain --------------------------------

  // Makes the node in `slot` private to the current generation. A revived
  // key's copy keeps what it shows: its replayed values, and its sub-keys
  // not revived so far are marked deleted.
  Node* OwnSlot(NodePtr& slot) {
    Node* n = slot.get();
    if (Owned(n)) return n;
    auto copy = std::make_shared<Node>();
    copy->gen = gen_;
    copy->id = n->id;
    copy->name = n->name;
    copy->vals = Values(n);
    copy->kids = n->kids;
    if (Revived(n))
      for (auto& [upper, kid] : copy->kids)
        if (!Visible(n, kid.get())) {
          kid->markGen = gen_;
          kid->mark = Node::kDead;
        }
    slot = std::move(copy);
    return slot.get();
  }

  // A deleted shared key created again: empty, whatever it showed before in
  // this generation, sub-keys revived earlier included.
  void Revive(Node* n) {
    n->markGen = gen_;
    n->mark = Node::kRevived;
    n->replayEnd = 0;
    n->revivedAt = ++revivals_;
  }

  Node* Fresh(std::string name) {
    auto* n = new Node;
    n->gen = gen_;
    n->name = std::move(name);
    return n;
  }

  // Walks to the key without copying anything, reviving deleted keys and
  // adding missing ones where that needs no copy. Null when the key (or its
  // way) would have to be copied first.
  Node* Edit(const KeyPath& path) {
    size_t k = Reuse(path.upper);
    Node* node = chain_[k].node;
    for (size_t pos = chain_[k].end; pos < path.upper.size();) {
      size_t end = path.upper.find('\\', pos);
      std::string_view upper = std::string_view(path.upper).substr(pos, end - pos);
      std::string_view raw = std::string_view(path.raw).substr(pos, end - pos);
      auto it = node->kids.find(upper);
      if (it == node->kids.end()) {
        if (!Owned(node)) return nullptr;
        it = node->kids.emplace(std::string(upper), NodePtr(Fresh(std::string(raw)))).first;
      } else if (!Visible(node, it->second.get())) {
        // Created again: takes the case now given, which needs a copy.
        if ((!Owned(node) && !Revived(node)) || it->second->name != raw) return nullptr;
        Revive(it->second.get());
      }
      node = it->second.get();
      Extend(path.upper, pos, end + 1, node);
      pos = end + 1;
    }
    return Owned(node) || Revived(node) ? node : nullptr;
  }

  // Makes every key on the way private to `work_`, creating missing ones
  // with `create`.
  Node* OwnPath(const KeyPath& path, bool create) {
    Forget();
    Node* node = OwnSlot(work_);
    chain_[0].node = node;
    for (size_t pos = 0; pos < path.upper.size();) {
      size_t end = path.upper.find('\\', pos);
      std::string_view upper = std::string_view(path.upper).substr(pos, end - pos);
      std::string raw = path.raw.substr(pos, end - pos);
      auto it = node->kids.find(upper);
      if (it == node->kids.end()) {
        if (!create) return nullptr;
        it = node->kids.emplace(std::string(upper), NodePtr(Fresh(raw))).first;
      } else if (!Visible(node, it->second.get())) {
        if (!create) return nullptr;
        Revive(it->second.get());
        OwnSlot(it->second)->name = raw;  // created again: takes the case now given
      }
      node = OwnSlot(it->second);
      Extend(path.upper, pos, end + 1, node);
      pos = end + 1;
    }
    return node;
  }

  // The keys of the last path looked up: chain_[k] is the key k components
  // down, `end` where the next component starts in chainPath_.
  struct Link {
    Node* node;
    size_t end;
  };

  void Forget() {
    chain_.assign(1, Link{work_.get(), 0});
    chainPath_.clear();
  }

  void Truncate(size_t k) {
    chain_.resize(k + 1);
    chainPath_.resize(chain_[k].end);
  }

  // Keeps the links shared with `upper`; returns the deepest one kept.
  size_t Reuse(const std::string& upper) {
    size_t same = CommonPrefix(chainPath_, upper);
    size_t k = chain_.size() - 1;
    if (same == chainPath_.size()) return k;
    while (chain_[k].end > same) --k;
    Truncate(k);
    return k;
  }

  void Extend(const std::string& upper, size_t from, size_t to, Node* node) {
    chainPath_.append(upper, from, to - from);
    chain_.push_back(Link{node, to});
  }

  // --- Transactions ------------------------------------------------------

  bool BeginTransaction() {
    if (!Run("BEGIN IMMEDIATE")) return false;
    if (DataVersion() != dataVersion_ && !Load()) {
      Run("ROLLBACK");
      return false;
    }
    return true;
  }

  // Writes the difference between the two trees and commits; on failure the
  // mirror goes back to what the file holds.
  bool CommitTransaction() {
    bool ok = work_ == committed_ || Settle(committed_.get(), work_, -1);
    ok = ok && Run("COMMIT");
    if (ok) {
      committed_ = work_;
    } else {
      Run("ROLLBACK");
      work_ = committed_;
    }
    ++gen_;  // every node is shared again, every mark void
    Forget();
    return ok;
  }

  void RollbackTransaction() {
    Run("ROLLBACK");
    work_ = committed_;
    ++gen_;
    Forget();
  }

  // A revived key that was written again exactly as it was, sub-keys too.
  bool SameAsBefore(const Node* n) const {
    if (n->replayEnd != n->vals.size()) return false;
    for (const auto& [upper, kid] : n->kids)
      if (!Visible(n, kid.get()) || !SameAsBefore(kid.get())) return false;
    return true;
  }

  // Writes the rows of the key in `slot` that differ from `was`, the key
  // stored at the same place (null: none), and leaves in `slot` what the key
  // shows, so that `work_` can become the committed tree.
  bool Settle(const Node* was, NodePtr& slot, int64_t parent) {
    if (!Owned(slot.get())) {
      if (!Revived(slot.get()) || SameAsBefore(slot.get())) return true;
      OwnSlot(slot);
    }
    Node* now = slot.get();
    if (!was) {
      if (!InsertRow(parent, now)) return false;
    } else {
      now->id = was->id;
      if (now->name != was->name && !SetRow(setName_, now->id, now->name)) return false;
      if (now->vals != was->vals && !SetRow(setVals_, now->id, now->vals)) return false;
    }
    static const decltype(Node::kids) kNone;
    const auto& before = was ? was->kids : kNone;
    auto a = before.begin();
    auto b = now->kids.begin();
    while (a != before.end() || b != now->kids.end()) {
      if (b == now->kids.end() || (a != before.end() && a->first < b->first)) {
        if (!DeleteRows(a->second.get())) return false;
        ++a;
      } else if (a == before.end() || b->first < a->first) {
        if (!Settle(nullptr, b->second, now->id)) return false;
        ++b;
      } else if (Dead(b->second.get())) {
        if (!DeleteRows(a->second.get())) return false;
        ++a;
        b = now->kids.erase(b);
      } else {
        if (!Settle(a->second.get(), b->second, now->id)) return false;
        ++a;
        ++b;
      }
    }
    return true;
  }

  bool InsertRow(int64_t parent, Node* node) {
    sqlite3_stmt* st = ins_.get();
    sqlite3_bind_int64(st, 1, parent);
    BindBytes(st, 2, node->name);
    BindBytes(st, 3, node->vals);
    if (!Exec(st)) return false;
    node->id = sqlite3_last_insert_rowid(db_);
    return true;
  }

  bool DeleteRows(const Node* node) {
    for (const auto& [upper, kid] : node->kids)
      if (!DeleteRows(kid.get())) return false;
    sqlite3_bind_int64(del_.get(), 1, node->id);
    return Exec(del_.get());
  }

  bool SetRow(Statement& update, int64_t id, std::string_view bytes) {
    BindBytes(update.get(), 1, bytes);
    sqlite3_bind_int64(update.get(), 2, id);
    return Exec(update.get());
  }

  std::string path_;
  bool memory_ = false;
  sqlite3* db_ = nullptr;
  sqlite3_file* file_ = nullptr;  // the main database file, for its WAL index
  bool wal_ = false;
  Statement version_, ins_, del_, setName_, setVals_;
  int64_t dataVersion_ = -1;
  WalHeader seen_{};
  bool seenValid_ = false;
  bool inBatch_ = false;

  NodePtr committed_;  // as stored in the file
  NodePtr work_;       // with the changes not yet written
  uint64_t gen_ = 1;   // nodes of this generation belong to work_ alone
  uint64_t revivals_ = 0;

  std::vector<Link> chain_;
  std::string chainPath_;
  KeyPath scratch_;
  std::string lastInput_;
  std::shared_ptr<const KeyPath> lastPath_;
};

// An open key: the hive and the path. Every call looks the key up again, so a
// handle stays valid whatever happens to the mirror meanwhile.
class SqliteKey : public IRegKey {
 public:
  SqliteKey(Hive& hive, std::shared_ptr<const KeyPath> path)
      : hive_(hive), path_(std::move(path)) {}

  std::optional<RegValue> QueryValue(const std::string& name) override {
    return Guard(std::optional<RegValue>(), [&]() -> std::optional<RegValue> {
      hive_.Refresh();
      Node* node = hive_.Find(*path_);
      PackedValue v;
      if (!node || !FindValue(hive_.Values(node), name, v)) return std::nullopt;
      return RegValue{static_cast<RegType>(v.type), std::string(v.data)};
    });
  }

  bool SetValue(const std::string& name, const RegValue& value) override {
    return Guard(false, [&] {
      hive_.Refresh();
      return hive_.Change([&] {
        Node* node = hive_.FindForChange(*path_, false);
        if (!node || hive_.Replay(node, name, value)) return node != nullptr;
        if (!hive_.Owned(node)) node = hive_.FindForChange(*path_, false, true);
        if (!node) return false;
        StoreValue(node->vals, name, value);
        return true;
      });
    });
  }

  bool DeleteValue(const std::string& name) override {
    return Guard(false, [&] {
      hive_.Refresh();
      Node* node = hive_.Find(*path_);
      PackedValue v;
      if (!node || !FindValue(hive_.Values(node), name, v)) return false;
      return hive_.Change([&] {
        Node* own = hive_.FindForChange(*path_, false, true);
        return own && EraseValue(own->vals, name);
      });
    });
  }

  std::vector<std::string> ValueNames() override {
    return Guard(std::vector<std::string>(), [&] {
      hive_.Refresh();
      std::vector<std::string> names;
      if (Node* node = hive_.Find(*path_)) {
        std::string_view vals = hive_.Values(node);
        size_t pos = 0;
        PackedValue v;
        while (NextValue(vals, pos, v)) names.emplace_back(v.name);
      }
      return names;
    });
  }

  std::vector<std::string> SubKeyNames() override {
    return Guard(std::vector<std::string>(), [&] {
      hive_.Refresh();
      std::vector<std::string> names;
      if (Node* node = hive_.Find(*path_)) {
        names.reserve(node->kids.size());
        for (const auto& [upper, kid] : node->kids)
          if (hive_.Visible(node, kid.get())) names.push_back(kid->name);
      }
      return names;
    });
  }

  bool DeleteSubKeyTree(const std::string& name) override {
    return Guard(false, [&] {
      // `name` may be a path below this key: the last component goes.
      KeyPath full;
      NormalizePath(path_->raw + name, full);
      if (full.upper.size() <= path_->upper.size()) return false;
      size_t cut = full.upper.find_last_of('\\', full.upper.size() - 2) + 1;
      std::string upperName = full.upper.substr(cut, full.upper.size() - 1 - cut);
      KeyPath parent{full.raw.substr(0, cut), full.upper.substr(0, cut)};
      hive_.Refresh();
      Node* node = hive_.Find(parent);
      if (!node || !hive_.Kid(node, upperName)) return false;
      return hive_.Change([&] { return hive_.DeleteKid(parent, upperName); });
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
  std::shared_ptr<const KeyPath> path_;
};

}  // namespace

// -----------------------------------------------------------------------------

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
    auto keyPath = hive.Path(path);
    hive.Refresh();
    if (!hive.Find(*keyPath)) {
      if (!create) return nullptr;
      if (!hive.Change([&] { return hive.FindForChange(*keyPath, true) != nullptr; }))
        return nullptr;
    } else if (create && !hive.Usable()) {
      return nullptr;
    }
    return std::make_unique<SqliteKey>(hive, std::move(keyPath));
  } catch (...) {
    return nullptr;
  }
}

bool SqliteRegistry::BeginBatch(RegHive which) {
  Hive& hive = impl_->Of(which);
  std::lock_guard<std::mutex> lock(hive.mutex);
  try {
    return hive.BeginBatch();
  } catch (...) {
    return false;
  }
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
