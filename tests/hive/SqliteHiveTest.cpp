#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <random>
#include <thread>

#include "ModelRegistry.h"
#include "RegistryContract.h"
#include "TestSupport.h"
#include "platform/linux/SqliteHive.h"

namespace {

constexpr RegHive kCU = RegHive::CurrentUser;
using Names = std::vector<std::string>;

// --- The contract, on a hive file and on a private in-memory hive ----------

enum class Backend { File, Memory, Model };

struct ContractParam {
  RegistryContractCase contract;
  Backend backend;
};

const char* BackendName(Backend b) {
  return b == Backend::File ? "File" : b == Backend::Memory ? "Memory" : "Model";
}

void PrintTo(const ContractParam& p, std::ostream* os) {
  *os << p.contract.name << " on " << BackendName(p.backend);
}

class SqliteContract : public ::testing::TestWithParam<ContractParam> {};

// The reference model runs the same table, so the table itself is checked
// against a second, plain implementation.
TEST_P(SqliteContract, Holds) {
  TempDir dir;
  std::unique_ptr<IRegistry> registry;
  switch (GetParam().backend) {
    case Backend::File:
      registry = std::make_unique<SqliteRegistry>(dir.File("HKCU.hive"), dir.File("HKLM.hive"));
      break;
    case Backend::Memory:
      registry = std::make_unique<SqliteRegistry>(":memory:", ":memory:");
      break;
    case Backend::Model:
      registry = std::make_unique<ModelRegistry>();
  }
  GetParam().contract.run(*registry, "Software\\Contract\\Case");
}

std::vector<ContractParam> AllContractParams() {
  std::vector<ContractParam> params;
  for (Backend b : {Backend::File, Backend::Memory, Backend::Model})
    for (const auto& c : RegistryContractCases()) params.push_back({c, b});
  return params;
}

INSTANTIATE_TEST_SUITE_P(Hive, SqliteContract, ::testing::ValuesIn(AllContractParams()),
                         [](const auto& info) {
                           return std::string(info.param.contract.name) + "_" +
                                  BackendName(info.param.backend);
                         });

// --- Helpers ---------------------------------------------------------------

std::unique_ptr<IRegKey> Create(IRegistry& r, const std::string& path) {
  return r.OpenKey(kCU, path, true);
}

void Set(IRegistry& r, const std::string& path, const std::string& name, const std::string& data) {
  auto key = Create(r, path);
  ASSERT_NE(key, nullptr) << path;
  ASSERT_TRUE(key->SetValue(name, RegValue::FromString(data)));
}

std::string Get(IRegistry& r, const std::string& path, const std::string& name) {
  auto key = r.OpenKey(kCU, path, false);
  if (!key) return "<no key>";
  auto v = key->QueryValue(name);
  return v ? v->data : "<no value>";
}

std::string DumpFile(const std::string& cu) {
  SqliteRegistry fresh(cu, ":memory:");
  return DumpKey(fresh, kCU, "");
}

// The library's save pattern: clear the key, then write every item again.
void SaveLibrary(IRegistry& r, const std::string& root, int items, const std::string& tag) {
  if (auto key = r.OpenKey(kCU, root, false)) {
    for (const auto& v : key->ValueNames()) key->DeleteValue(v);
    for (const auto& k : key->SubKeyNames()) key->DeleteSubKeyTree(k);
  }
  Set(r, root, "Name", "Root");
  for (int i = 0; i < items; ++i) {
    std::string path = root + "\\f_" + std::to_string(i / 10) + "\\i_" + std::to_string(i % 10);
    Set(r, root + "\\f_" + std::to_string(i / 10), "Name", "Folder");
    Set(r, path, "Name", "Item " + std::to_string(i));
    Set(r, path, "Value", tag + "\r\nline two of " + std::to_string(i));
  }
}

// --- Batches ---------------------------------------------------------------

TEST(SqliteHiveBatch, CommitWritesAndRollbackRestores) {
  TempDir dir;
  SqliteRegistry r(dir.File("HKCU.hive"), dir.File("HKLM.hive"));
  SaveLibrary(r, "Lib", 30, "first");
  const std::string before = DumpKey(r, kCU, "");

  ASSERT_TRUE(r.BeginBatch(kCU));
  EXPECT_FALSE(r.BeginBatch(kCU));  // batches do not nest
  SaveLibrary(r, "Lib", 25, "second");
  Set(r, "Other\\New", "v", "x");
  EXPECT_EQ(Get(r, "Lib\\f_0\\i_1", "Value"), "second\r\nline two of 1");  // seen at once
  r.RollbackBatch(kCU);
  EXPECT_EQ(DumpKey(r, kCU, ""), before);
  EXPECT_EQ(DumpFile(dir.File("HKCU.hive")), before);

  ASSERT_TRUE(r.BeginBatch(kCU));
  SaveLibrary(r, "Lib", 25, "second");
  ASSERT_TRUE(r.CommitBatch(kCU));
  const std::string after = DumpKey(r, kCU, "");
  EXPECT_NE(after, before);
  EXPECT_EQ(r.OpenKey(kCU, "Lib\\f_2\\i_5", false), nullptr);  // item 25 went
  EXPECT_EQ(DumpFile(dir.File("HKCU.hive")), after);
  EXPECT_FALSE(r.CommitBatch(kCU));  // no batch open
}

TEST(SqliteHiveBatch, RegistryBatchRollsBackWhenNotCommitted) {
  ScopedTestRegistry scoped;
  Set(scoped.Get(), "K", "v", "old");
  {
    RegistryBatch batch(kCU);
    Set(scoped.Get(), "K", "v", "new");
  }
  EXPECT_EQ(Get(scoped.Get(), "K", "v"), "old");
  {
    RegistryBatch batch(kCU);
    Set(scoped.Get(), "K", "v", "new");
    EXPECT_TRUE(batch.Commit());
  }
  EXPECT_EQ(Get(scoped.Get(), "K", "v"), "new");
}

// A rewrite that stores what is already there must leave the file as it is;
// a real change must reach it.
TEST(SqliteHiveBatch, IdenticalRewriteWritesNothing) {
  TempDir dir;
  const std::string cu = dir.File("HKCU.hive");
  SqliteRegistry r(cu, ":memory:");
  SaveLibrary(r, "Lib", 100, "same");
  auto walSize = [&] { return std::filesystem::file_size(cu + "-wal"); };
  const auto size = walSize();
  for (int i = 0; i < 3; ++i) {
    ASSERT_TRUE(r.BeginBatch(kCU));
    SaveLibrary(r, "Lib", 100, "same");
    ASSERT_TRUE(r.CommitBatch(kCU));
  }
  EXPECT_EQ(walSize(), size);
  ASSERT_TRUE(r.BeginBatch(kCU));
  SaveLibrary(r, "Lib", 100, "changed");
  ASSERT_TRUE(r.CommitBatch(kCU));
  EXPECT_GT(walSize(), size);
  EXPECT_EQ(DumpFile(cu), DumpKey(r, kCU, ""));
}

// A key deleted and created again is empty, however often that happens and
// whatever it held when written back before.
TEST(SqliteHiveBatch, KeyCreatedAgainStartsEmpty) {
  TempDir dir;
  const std::string cu = dir.File("HKCU.hive");
  SqliteRegistry r(cu, ":memory:");
  Set(r, "P\\K", "one", "1");
  Set(r, "P\\K", "two", "2");
  Set(r, "P\\K\\Sub", "v", "x");
  auto rewriteSame = [&] {
    auto parent = r.OpenKey(kCU, "P", false);
    ASSERT_TRUE(parent && parent->DeleteSubKeyTree("K"));
    Set(r, "P\\K", "one", "1");
    Set(r, "P\\K", "two", "2");
    Set(r, "P\\K\\Sub", "v", "x");
  };
  auto expectEmptyAfterRecreate = [&] {
    auto parent = r.OpenKey(kCU, "P", false);
    ASSERT_TRUE(parent && parent->DeleteSubKeyTree("K"));
    auto key = r.OpenKey(kCU, "P\\K", true);
    ASSERT_NE(key, nullptr);
    EXPECT_EQ(key->ValueNames(), Names{});
    EXPECT_EQ(key->SubKeyNames(), Names{});
  };
  for (int i = 0; i < 2; ++i) {
    ASSERT_TRUE(r.BeginBatch(kCU));
    rewriteSame();  // written back as it was in this batch ...
    if (i == 1) {   // ... or in the batch before
      ASSERT_TRUE(r.CommitBatch(kCU));
      ASSERT_TRUE(r.BeginBatch(kCU));
    }
    expectEmptyAfterRecreate();
    Set(r, "P\\K", "two", "2");
    ASSERT_TRUE(r.CommitBatch(kCU));
    EXPECT_EQ(DumpKey(r, kCU, "P"), "[P]\n[P\\K]\n  two (1) = 2\n");
    EXPECT_EQ(DumpFile(cu), DumpKey(r, kCU, ""));
    Set(r, "P\\K", "one", "1");  // back to the start for the next turn
    ASSERT_NE(r.OpenKey(kCU, "P\\K\\Sub", true), nullptr);
    auto key = r.OpenKey(kCU, "P\\K", false);
    ASSERT_TRUE(key->DeleteValue("two") && key->DeleteValue("one"));
    key->SetValue("one", RegValue::FromString("1"));
    key->SetValue("two", RegValue::FromString("2"));
    Set(r, "P\\K\\Sub", "v", "x");
  }
}

// A key with everything below it, as read through the interface.
struct Tree {
  std::string name;
  std::vector<std::pair<std::string, RegValue>> values;
  std::vector<Tree> kids;
};

Tree ReadTree(IRegistry& r, const std::string& path, const std::string& name) {
  Tree t{name, {}, {}};
  auto key = r.OpenKey(kCU, path, false);
  if (!key) return t;
  for (const auto& v : key->ValueNames()) t.values.emplace_back(v, *key->QueryValue(v));
  for (const auto& k : key->SubKeyNames()) t.kids.push_back(ReadTree(r, path + "\\" + k, k));
  return t;
}

void WriteTree(IRegistry& r, const std::string& parent, const Tree& t) {
  const std::string path = parent + "\\" + t.name;
  auto key = r.OpenKey(kCU, path, true);
  ASSERT_NE(key, nullptr);
  for (const auto& [name, value] : t.values) key->SetValue(name, value);
  for (const auto& kid : t.kids) WriteTree(r, path, kid);
}

// Random changes in random batches, applied to the hive and to the reference
// model alike; they must always show the same, and the file must hold what
// the hive shows after every commit. Many changes delete a key and write it
// back as it was, or nearly so, as the library's save does.
TEST(SqliteHiveBatch, RandomBatchesMatchTheModel) {
  TempDir dir;
  const std::string cu = dir.File("HKCU.hive");
  SqliteRegistry hive(cu, ":memory:");
  ModelRegistry model;
  IRegistry* both[] = {&hive, &model};
  std::mt19937 rng(20240611);
  auto pick = [&](size_t n) { return static_cast<size_t>(rng() % n); };
  const std::vector<std::string> names = {"a", "B", "A", "b", "f_1", "F_1", "f_10", "x\r\ny"};
  auto randomPath = [&] {
    std::string p = "T";
    for (size_t d = pick(3); d > 0; --d) p += "\\" + names[pick(names.size())];
    return p;
  };
  auto randomValue = [&] {
    return pick(3) ? RegValue::FromString(std::to_string(pick(3)))
                   : RegValue::FromDWord(static_cast<uint32_t>(pick(2)));
  };
  // A small change, or none: the save of an unchanged library is the usual case.
  std::function<void(Tree&)> mutate = [&](Tree& t) {
    switch (pick(12)) {
      case 0:
        if (!t.values.empty()) t.values[pick(t.values.size())].second = randomValue();
        break;
      case 1:
        if (!t.values.empty()) t.values.erase(t.values.begin() + pick(t.values.size()));
        break;
      case 2:
        t.values.emplace_back(names[pick(names.size())], randomValue());
        break;
      case 3:
        if (t.values.size() > 1) std::swap(t.values[0], t.values[1]);
        break;
      case 4:
        if (!t.kids.empty()) t.kids.erase(t.kids.begin() + pick(t.kids.size()));
        break;
      case 5:
        t.name = names[pick(names.size())];  // maybe another case of the same name
        break;
      case 6:
        std::shuffle(t.kids.begin(), t.kids.end(), rng);
        break;
      default:
        break;
    }
    for (auto& kid : t.kids)
      if (pick(3) == 0) mutate(kid);
  };

  for (int round = 0; round < 300; ++round) {
    const std::string before = DumpKey(hive, kCU, "");
    const bool batch = pick(5) != 0;
    if (batch) {
      for (IRegistry* r : both) ASSERT_TRUE(r->BeginBatch(kCU));
    }
    for (size_t op = pick(25); op > 0; --op) {
      const std::string path = randomPath();
      const std::string name = names[pick(names.size())];
      const size_t kind = pick(8);
      const RegValue value = randomValue();
      Tree tree;
      if (kind >= 5) {
        tree = ReadTree(hive, path + "\\" + name, name);
        mutate(tree);
      }
      for (IRegistry* r : both) {
        switch (kind) {
          case 0:
            if (auto key = r->OpenKey(kCU, path, true)) key->SetValue(name, value);
            break;
          case 1:
            if (auto key = r->OpenKey(kCU, path, false)) key->DeleteValue(name);
            break;
          case 2:
            if (auto key = r->OpenKey(kCU, path, false)) key->DeleteSubKeyTree(name);
            break;
          case 3:
            r->OpenKey(kCU, path, true);
            break;
          case 4:  // all values go, then some come back
            if (auto key = r->OpenKey(kCU, path, false)) {
              for (const auto& v : key->ValueNames()) key->DeleteValue(v);
              key->SetValue(name, value);
            }
            break;
          default:  // the key goes and is written again
            if (auto key = r->OpenKey(kCU, path, false)) {
              key->DeleteSubKeyTree(name);
              WriteTree(*r, path, tree);
            }
        }
      }
      ASSERT_EQ(DumpKey(hive, kCU, ""), DumpKey(model, kCU, "")) << "round " << round;
    }
    if (batch && pick(4) == 0) {
      for (IRegistry* r : both) r->RollbackBatch(kCU);
      ASSERT_EQ(DumpKey(hive, kCU, ""), before) << "round " << round;
    } else if (batch) {
      for (IRegistry* r : both) ASSERT_TRUE(r->CommitBatch(kCU));
    }
    ASSERT_EQ(DumpKey(hive, kCU, ""), DumpKey(model, kCU, "")) << "round " << round;
    ASSERT_EQ(DumpFile(cu), DumpKey(hive, kCU, "")) << "round " << round;
  }
}

// A process killed at any moment of a save leaves one whole library: every
// item carries the same generation number.
TEST(SqliteHiveBatch, KilledSaveLeavesOldOrNewLibrary) {
  TempDir dir;
  const std::string cu = dir.File("HKCU.hive");
  std::mt19937 rng(7);
  for (int attempt = 0; attempt < 8; ++attempt) {
    pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      SqliteRegistry r(cu, ":memory:");
      for (int gen = 0;; ++gen) {
        r.BeginBatch(kCU);
        SaveLibrary(r, "Lib", 200 + gen % 7, "gen " + std::to_string(gen));
        r.CommitBatch(kCU);
      }
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(20 + rng() % 200));
    kill(child, SIGKILL);
    int status = 0;
    waitpid(child, &status, 0);

    SqliteRegistry r(cu, ":memory:");
    auto folders = r.OpenKey(kCU, "Lib", false);
    if (!folders) continue;  // killed before the first commit
    auto count = folders->SubKeyNames().size();
    const std::string tag = Get(r, "Lib\\f_0\\i_0", "Value");
    const int items = static_cast<int>(
        (count - 1) * 10 +
        r.OpenKey(kCU, "Lib\\f_" + std::to_string(count - 1), false)->SubKeyNames().size());
    EXPECT_GE(items, 200);
    for (int i = 0; i < items; ++i) {
      std::string path = "Lib\\f_" + std::to_string(i / 10) + "\\i_" + std::to_string(i % 10);
      std::string value = Get(r, path, "Value");
      ASSERT_EQ(value.substr(0, value.find('\r')), tag.substr(0, tag.find('\r'))) << path;
    }
  }
}

// --- Two registries on one file -------------------------------------------

TEST(SqliteHiveSharing, SecondRegistrySeesChanges) {
  TempDir dir;
  const std::string cu = dir.File("HKCU.hive");
  SqliteRegistry a(cu, ":memory:");
  SqliteRegistry b(cu, ":memory:");
  Set(a, "K", "v", "from a");
  EXPECT_EQ(Get(b, "K", "v"), "from a");
  Set(b, "K", "v", "from b");
  EXPECT_EQ(Get(a, "K", "v"), "from b");  // a had this key looked up already

  auto handle = a.OpenKey(kCU, "K", false);
  ASSERT_NE(handle, nullptr);
  Set(b, "K\\Sub", "w", "1");
  EXPECT_EQ(handle->SubKeyNames(), Names{"Sub"});

  // A batch of b, then a changes on top of it.
  ASSERT_TRUE(b.BeginBatch(kCU));
  SaveLibrary(b, "Lib", 20, "b");
  ASSERT_TRUE(b.CommitBatch(kCU));
  ASSERT_TRUE(a.BeginBatch(kCU));
  EXPECT_EQ(Get(a, "Lib\\f_1\\i_9", "Value"), "b\r\nline two of 19");
  Set(a, "Lib\\f_1\\i_9", "Value", "a");
  ASSERT_TRUE(a.CommitBatch(kCU));
  EXPECT_EQ(Get(b, "Lib\\f_1\\i_9", "Value"), "a");
  EXPECT_EQ(DumpKey(a, kCU, ""), DumpKey(b, kCU, ""));
}

TEST(SqliteHiveSharing, ChangesPersistAcrossReopening) {
  TempDir dir;
  const std::string cu = dir.File("HKCU.hive");
  const std::string lm = dir.File("HKLM.hive");
  std::string dump;
  {
    SqliteRegistry r(cu, lm);
    SaveLibrary(r, "Lib", 15, "kept");
    Set(r, "Options\\Tracking", "Class\r\n1", "");
    ASSERT_NE(r.OpenKey(RegHive::LocalMachine, "Soft\\Ware", true), nullptr);
    dump = DumpKey(r, kCU, "");
  }
  SqliteRegistry r(cu, lm);
  EXPECT_EQ(DumpKey(r, kCU, ""), dump);
  EXPECT_NE(r.OpenKey(RegHive::LocalMachine, "soft\\ware", false), nullptr);
}

// --- Files ----------------------------------------------------------------

mode_t ModeOf(const std::string& path) {
  struct stat st;
  return stat(path.c_str(), &st) == 0 ? (st.st_mode & 07777) : 0;
}

TEST(SqliteHiveFiles, UserHiveIsPrivate) {
  TempDir dir;
  const std::string folder = dir.File("config/kvlmn");
  const std::string cu = folder + "/HKCU.hive";
  SqliteRegistry r(cu, ":memory:");
  Set(r, "K", "v", "x");
  EXPECT_EQ(ModeOf(dir.File("config")), 0700u);
  EXPECT_EQ(ModeOf(folder), 0700u);
  for (const char* suffix : {"", "-wal", "-shm"}) EXPECT_EQ(ModeOf(cu + suffix), 0600u) << suffix;
}

struct BadHive {
  const char* what;
  std::string (*make)(const TempDir& dir);  // returns the hive path
};

void PrintTo(const BadHive& b, std::ostream* os) {
  *os << b.what;
}

class SqliteHiveUnusable : public ::testing::TestWithParam<BadHive> {};

TEST_P(SqliteHiveUnusable, ReadsEmptyAndWritesFail) {
  TempDir dir;
  const std::string path = GetParam().make(dir);
  const std::string before = ReadFileBytes(path);
  SqliteRegistry r(path, ":memory:");
  EXPECT_EQ(r.OpenKey(kCU, "K", true), nullptr);
  EXPECT_EQ(r.OpenKey(kCU, "K", false), nullptr);
  EXPECT_EQ(r.OpenKey(kCU, "", true), nullptr);
  auto root = r.OpenKey(kCU, "", false);
  if (root) {
    EXPECT_EQ(root->SubKeyNames(), Names{});
    EXPECT_FALSE(root->SetValue("v", RegValue::FromString("x")));
    EXPECT_EQ(root->QueryValue("v"), std::nullopt);
  }
  EXPECT_FALSE(r.BeginBatch(kCU));
  EXPECT_FALSE(r.CommitBatch(kCU));
  r.RollbackBatch(kCU);
  EXPECT_EQ(ReadFileBytes(path), before);  // a foreign file is left alone
  // The other hive still works.
  EXPECT_NE(r.OpenKey(RegHive::LocalMachine, "K", true), nullptr);
}

INSTANTIATE_TEST_SUITE_P(Hive, SqliteHiveUnusable,
                         ::testing::Values(BadHive{"ParentIsAFile",
                                                   [](const TempDir& d) {
                                                     WriteFileBytes(d.File("file"), "x");
                                                     return d.File("file/sub/HKCU.hive");
                                                   }},
                                           BadHive{"PathIsAFolder",
                                                   [](const TempDir& d) {
                                                     std::filesystem::create_directory(
                                                         d.File("dir"));
                                                     return d.File("dir");
                                                   }},
                                           BadHive{"NotADatabase",
                                                   [](const TempDir& d) {
                                                     WriteFileBytes(
                                                         d.File("HKCU.hive"),
                                                         std::string(4096, 'z') + "not a hive");
                                                     return d.File("HKCU.hive");
                                                   }}),
                         [](const auto& info) { return std::string(info.param.what); });

class EnvVar {
 public:
  EnvVar(const char* name, const char* value) : name_(name) {
    if (const char* old = std::getenv(name)) old_ = old;
    value ? setenv(name, value, 1) : unsetenv(name);
  }
  ~EnvVar() { old_ ? setenv(name_, old_->c_str(), 1) : unsetenv(name_); }

 private:
  const char* name_;
  std::optional<std::string> old_;
};

TEST(SqliteHiveFiles, DefaultPaths) {
  {
    EnvVar dir("VELLUMIN_REGISTRY_DIR", "/tmp/regs");
    EXPECT_EQ(SqliteRegistry::DefaultCurrentUserPath(), "/tmp/regs/HKCU.hive");
    EXPECT_EQ(SqliteRegistry::DefaultLocalMachinePath(), "/tmp/regs/HKLM.hive");
  }
  EnvVar noDir("VELLUMIN_REGISTRY_DIR", nullptr);
  {
    EnvVar xdg("XDG_CONFIG_HOME", "/x/conf");
    EXPECT_EQ(SqliteRegistry::DefaultCurrentUserPath(), "/x/conf/kvlmn/HKCU.hive");
  }
  EnvVar noXdg("XDG_CONFIG_HOME", nullptr);
  EnvVar home("HOME", "/home/u");
  EXPECT_EQ(SqliteRegistry::DefaultCurrentUserPath(), "/home/u/.config/kvlmn/HKCU.hive");
  EXPECT_EQ(SqliteRegistry::DefaultLocalMachinePath(), "/var/lib/kvlmn/HKLM.hive");
}

// The process-wide registry: an installed one wins; without one the default
// opens the hives named by $VELLUMIN_REGISTRY_DIR.
TEST(SqliteHiveFiles, ProcessRegistry) {
  TempDir dir;
  EnvVar env("VELLUMIN_REGISTRY_DIR", dir.Path().c_str());
  SqliteRegistry mine(":memory:", ":memory:");
  SetRegistry(&mine);
  EXPECT_EQ(&Registry(), &mine);
  SetRegistry(nullptr);
  IRegistry& standard = Registry();
  EXPECT_NE(&standard, &mine);
  ASSERT_NE(standard.OpenKey(kCU, "Probe", true), nullptr);
  ASSERT_NE(standard.OpenKey(RegHive::LocalMachine, "Probe", true), nullptr);
  EXPECT_TRUE(std::filesystem::exists(dir.File("HKCU.hive")));
  EXPECT_TRUE(std::filesystem::exists(dir.File("HKLM.hive")));
  EXPECT_EQ(&Registry(), &standard);
}

}  // namespace
