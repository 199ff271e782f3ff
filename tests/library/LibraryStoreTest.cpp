// The library's stored form: layout, round trips, order and stray keys.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <vector>

#include "LibraryFixtures.h"
#include "TestSupport.h"
#include "library/SLRegistry.h"
#include "library/clsLibrary.h"

namespace {

const RegHive kUser = RegHive::CurrentUser;
const std::string kKey = "Software\\Test\\Folders";

std::vector<std::string> SubKeys(const std::string& key) {
  std::vector<std::string> names;
  GetRegKeyNames(kUser, key, names);
  return names;
}

std::unique_ptr<TFolder> Reload() {
  auto folder = std::make_unique<TFolder>();
  folder->LoadFromRegistry(kUser, kKey);
  return folder;
}

// A registry that lists every key's sub-keys in the reverse of the inner
// registry's order, so the loader cannot lean on the listing order.
class ReversedListing : public IRegistry {
 public:
  explicit ReversedListing(IRegistry& inner) : inner_(inner) {}
  std::unique_ptr<IRegKey> OpenKey(RegHive hive, const std::string& path, bool create) override {
    auto key = inner_.OpenKey(hive, path, create);
    return key ? std::make_unique<Key>(std::move(key)) : nullptr;
  }
  bool BeginBatch(RegHive hive) override { return inner_.BeginBatch(hive); }
  bool CommitBatch(RegHive hive) override { return inner_.CommitBatch(hive); }
  void RollbackBatch(RegHive hive) override { inner_.RollbackBatch(hive); }

 private:
  struct Key : IRegKey {
    explicit Key(std::unique_ptr<IRegKey> k) : key(std::move(k)) {}
    std::optional<RegValue> QueryValue(const std::string& n) override { return key->QueryValue(n); }
    bool SetValue(const std::string& n, const RegValue& v) override { return key->SetValue(n, v); }
    bool DeleteValue(const std::string& n) override { return key->DeleteValue(n); }
    std::vector<std::string> ValueNames() override { return key->ValueNames(); }
    std::vector<std::string> SubKeyNames() override {
      auto names = key->SubKeyNames();
      std::reverse(names.begin(), names.end());
      return names;
    }
    bool DeleteSubKeyTree(const std::string& n) override { return key->DeleteSubKeyTree(n); }
    std::unique_ptr<IRegKey> key;
  };
  IRegistry& inner_;
};

class LibraryStore : public ::testing::Test {
 protected:
  ScopedTestRegistry registry_;
};

}  // namespace

TEST_F(LibraryStore, FolderAndItemLayout) {
  TFolder root;
  root.Name = "Root";
  for (const char* name : {"a", "b", "c"}) AddFolder(root, name);
  AddItem(root, "Signature", "John\r\nDoe", 129);
  AddItem(root, "", "");
  SaveLibrary(kUser, kKey, root);

  EXPECT_EQ(SubKeys(kKey), (std::vector<std::string>{"f_0", "f_1", "f_2", "i_0", "i_1"}));
  EXPECT_EQ(ReadRegString(kUser, kKey, "Name", "?"), "Root");
  EXPECT_EQ(ReadRegString(kUser, kKey + "\\f_2", "Name", "?"), "c");
  EXPECT_EQ(ReadRegValueNames(kUser, kKey, "i_0"),
            (std::vector<std::string>{"Name", "Kind", "Value"}));
  EXPECT_EQ(ReadRegInteger(kUser, kKey + "\\i_0", "Kind", -1), 1)
      << "Kind is stored as Kind and 127";
  EXPECT_EQ(ReadRegString(kUser, kKey + "\\i_0", "Value", "?"), "John\r\nDoe");
  EXPECT_TRUE(RegValueExists(kUser, kKey + "\\i_1", "Value")) << "empty texts are stored too";
  EXPECT_TRUE(SubKeys(kKey + "\\i_0").empty());
}

TEST_F(LibraryStore, RoundTripKeepsNamesKindsValuesAndDuplicates) {
  TFolder root;
  root.Name = "Root";
  TFolder* mail = AddFolder(root, "E-mail");
  AddItem(*mail, "Same", "first\r\nsecond line\r\n", 1);
  AddItem(*mail, "Same", "other", 0);
  AddItem(*mail, "Ünïcödé ✓", "tab\there; dollar $", 5);
  AddFolder(*mail, "");  // empty name, no children
  AddFolder(root, "Same");
  AddFolder(root, "Same");
  SaveLibrary(kUser, kKey, root);

  std::string why;
  EXPECT_TRUE(SameTree(root, *Reload(), &why)) << why;
}

TEST_F(LibraryStore, OrderSurvivesMoreThanTenChildren) {
  TFolder root;
  for (int i = 0; i < 12; ++i) {
    AddFolder(root, "folder " + std::to_string(i));
    AddItem(root, "item " + std::to_string(i), std::to_string(i));
  }
  SaveLibrary(kUser, kKey, root);
  ASSERT_EQ(SubKeys(kKey).at(2), "f_10") << "the registry lists f_10 before f_2";

  std::string why;
  EXPECT_TRUE(SameTree(root, *Reload(), &why)) << why;
}

TEST_F(LibraryStore, OrderComesFromTheNumbersWhateverTheListingOrder) {
  TFolder root;
  for (int i = 0; i < 14; ++i) {
    AddFolder(root, "folder " + std::to_string(i));
    AddItem(root, "item " + std::to_string(i), std::to_string(i));
  }
  SaveLibrary(kUser, kKey, root);

  ReversedListing reversed(registry_.Get());
  SetRegistry(&reversed);
  ASSERT_EQ(SubKeys(kKey).front(), "i_9");
  auto loaded = Reload();
  SetRegistry(&registry_.Get());

  std::string why;
  EXPECT_TRUE(SameTree(root, *loaded, &why)) << why;
}

TEST_F(LibraryStore, StrayAndUnnumberedSubKeys) {
  WriteRegString(kUser, kKey, "Name", "Root");
  WriteRegString(kUser, kKey + "\\F_1", "Name", "upper-case prefix");
  WriteRegString(kUser, kKey + "\\x_0", "Name", "other prefix");
  WriteRegString(kUser, kKey + "\\f_0", "Name", "numbered");
  WriteRegString(kUser, kKey + "\\f_a", "Name", "unnumbered a");
  WriteRegString(kUser, kKey + "\\f_", "Name", "no suffix");
  WriteRegString(kUser, kKey + "\\i_7", "Name", "seven");
  WriteRegString(kUser, kKey + "\\i_007x", "Name", "not a number");
  WriteRegString(kUser, kKey + "\\i_10", "Name", "ten");
  WriteRegString(kUser, kKey + "\\i_0", "Name", "zero");
  WriteRegString(kUser, kKey + "\\i_5", "Value", "no name, no kind");

  auto root = Reload();
  std::vector<std::string> folders, items;
  for (TFolder* f : root->Folders) folders.push_back(f->Name);
  for (TPasteItem* i : root->Items) items.push_back(i->Name);
  // Numbered keys by number, then the others in registry order.
  EXPECT_EQ(folders, (std::vector<std::string>{"numbered", "no suffix", "unnumbered a"}));
  EXPECT_EQ(items, (std::vector<std::string>{"zero", "", "seven", "ten", "not a number"}));
  EXPECT_EQ(root->Items[1]->Kind, 0);
  EXPECT_EQ(root->Items[1]->Value, "no name, no kind");

  SaveLibrary(kUser, kKey, *root);
  EXPECT_EQ(SubKeys(kKey),
            (std::vector<std::string>{"f_0", "f_1", "f_2", "i_0", "i_1", "i_2", "i_3", "i_4"}))
      << "the next save removes every stray key";
}

TEST_F(LibraryStore, RemovingTheOnlyItemLeavesNoItemKey) {
  TFolder root;
  TFolder* folder = AddFolder(root, "Login");
  TPasteItem* only = AddItem(*folder, "Intranet", "John.Doe");
  SaveLibrary(kUser, kKey, root);
  ASSERT_EQ(SubKeys(kKey + "\\f_0"), (std::vector<std::string>{"i_0"}));

  folder->Items.Remove(only);
  SaveLibrary(kUser, kKey, root);
  EXPECT_TRUE(SubKeys(kKey + "\\f_0").empty());
  EXPECT_TRUE(RegValueExists(kUser, kKey + "\\f_0", "Name"));
}

TEST_F(LibraryStore, MissingLibraryKeyLoadsAnEmptyRoot) {
  auto root = Reload();
  EXPECT_EQ(root->Name, "");
  EXPECT_EQ(root->Folders.Count(), 0);
  EXPECT_EQ(root->Items.Count(), 0);
}

TEST(LibraryModel, AssignMakesADeepCopyThatSharesNothing) {
  TFolder source;
  FillLibrary(source, 3, 2, "x");
  TFolder copy;
  copy.Assign(source);

  std::string why;
  ASSERT_TRUE(SameTree(source, copy, &why)) << why;
  EXPECT_NE(copy.Folders[0], source.Folders[0]);
  EXPECT_NE(copy.Folders[0]->Folders[1]->Items[0], source.Folders[0]->Folders[1]->Items[0]);

  copy.Folders[0]->Folders[1]->Items[0]->Value = "changed";
  copy.Folders[2]->Name = "renamed";
  EXPECT_EQ(source.Folders[0]->Folders[1]->Items[0]->Value, "Line one of 0\r\nline two x\r\n");
  EXPECT_EQ(source.Folders[2]->Name, "Folder 2x");
}
