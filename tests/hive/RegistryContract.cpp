#include "RegistryContract.h"

#include <gtest/gtest.h>

namespace {

constexpr RegHive kCU = RegHive::CurrentUser;

std::unique_ptr<IRegKey> Create(IRegistry& r, const std::string& path) {
  auto key = r.OpenKey(kCU, path, true);
  EXPECT_NE(key, nullptr) << path;
  return key;
}

std::vector<std::string> SubKeys(IRegistry& r, const std::string& path) {
  auto key = r.OpenKey(kCU, path, false);
  return key ? key->SubKeyNames() : std::vector<std::string>{"<missing>"};
}

std::vector<std::string> Values(IRegistry& r, const std::string& path) {
  auto key = r.OpenKey(kCU, path, false);
  return key ? key->ValueNames() : std::vector<std::string>{"<missing>"};
}

using Names = std::vector<std::string>;

void NamesIgnoreCaseAndKeepFirstCase(IRegistry& r, const std::string& base) {
  Create(r, base + "\\MyKey");
  EXPECT_NE(r.OpenKey(kCU, base + "\\mYkEY", false), nullptr);
  Create(r, base + "\\MYKEY\\Sub");  // the existing key is reused, its case kept
  EXPECT_EQ(SubKeys(r, base), Names{"MyKey"});
  EXPECT_EQ(SubKeys(r, base + "\\mykey"), Names{"Sub"});

  auto key = r.OpenKey(kCU, base + "\\MyKey", false);
  ASSERT_NE(key, nullptr);
  EXPECT_TRUE(key->SetValue("Value", RegValue::FromString("one")));
  EXPECT_TRUE(key->SetValue("VALUE", RegValue::FromString("two")));
  EXPECT_EQ(key->ValueNames(), Names{"Value"});
  EXPECT_EQ(key->QueryValue("vAlUe"), RegValue::FromString("two"));
  EXPECT_TRUE(key->DeleteValue("value"));
  EXPECT_EQ(key->ValueNames(), Names{});

  // A key deleted and created again takes the new case.
  auto parent = r.OpenKey(kCU, base, false);
  ASSERT_NE(parent, nullptr);
  EXPECT_TRUE(parent->DeleteSubKeyTree("MYKEY"));
  Create(r, base + "\\mykey");
  EXPECT_EQ(SubKeys(r, base), Names{"mykey"});
}

void TypedValuesKeepTheirBytes(IRegistry& r, const std::string& base) {
  auto key = Create(r, base);
  ASSERT_NE(key, nullptr);
  const std::string multiLine = "line 1\r\nline 2\r\n\r\nend";
  const std::string withNul = std::string("a\0b", 3);
  const std::string lineName = "Notepad\r\nEdit\r\n1";
  const RegValue expand = RegValue::FromString("%HOME%\\x", RegType::ExpandString);
  EXPECT_TRUE(key->SetValue("Text", RegValue::FromString(multiLine)));
  EXPECT_TRUE(key->SetValue("Nul", RegValue::FromString(withNul)));
  EXPECT_TRUE(key->SetValue("Empty", RegValue::FromString("")));
  EXPECT_TRUE(key->SetValue("Expand", expand));
  EXPECT_TRUE(key->SetValue("Number", RegValue::FromDWord(0xFFFFFFFEu)));
  EXPECT_TRUE(key->SetValue(lineName, RegValue::FromString("")));
  EXPECT_TRUE(key->SetValue("", RegValue::FromString("default")));

  auto again = r.OpenKey(kCU, base, false);
  ASSERT_NE(again, nullptr);
  EXPECT_EQ(again->QueryValue("Text"), RegValue::FromString(multiLine));
  EXPECT_EQ(again->QueryValue("Nul")->data.size(), 3u);
  EXPECT_EQ(again->QueryValue("Nul"), RegValue::FromString(withNul));
  EXPECT_EQ(again->QueryValue("Empty"), RegValue::FromString(""));
  EXPECT_EQ(again->QueryValue("Expand"), expand);
  EXPECT_EQ(again->QueryValue("Number")->AsDWord(), 0xFFFFFFFEu);
  EXPECT_EQ(again->QueryValue(lineName), RegValue::FromString(""));
  EXPECT_EQ(again->QueryValue(""), RegValue::FromString("default"));
  EXPECT_EQ(again->ValueNames(), (Names{"Text", "Nul", "Empty", "Expand", "Number", lineName, ""}));

  // Wrong types: a string is no DWORD, a DWORD keeps its type.
  EXPECT_EQ(again->QueryValue("Text")->AsDWord(), std::nullopt);
  EXPECT_EQ(again->QueryValue("Number")->type, RegType::DWord);
  // A value changes type when written again with another.
  EXPECT_TRUE(again->SetValue("Text", RegValue::FromDWord(7)));
  EXPECT_EQ(again->QueryValue("Text")->AsDWord(), 7u);
}

void SubKeysInWindowsOrder(IRegistry& r, const std::string& base) {
  for (const char* name : {"f_2", "Zeta", "A_", "i_0", "f_10", "AB", "f_1", "alpha", "F_11", "1"})
    Create(r, base + "\\" + name);
  // Sorted by the upper-case form, byte by byte: digits, letters, then "_".
  EXPECT_EQ(SubKeys(r, base),
            (Names{"1", "AB", "alpha", "A_", "f_1", "f_10", "F_11", "f_2", "i_0", "Zeta"}));
}

void ValuesInCreationOrder(IRegistry& r, const std::string& base) {
  auto key = Create(r, base);
  ASSERT_NE(key, nullptr);
  for (const char* name : {"Name", "Kind", "Value", "Alpha"})
    EXPECT_TRUE(key->SetValue(name, RegValue::FromString(name)));
  EXPECT_EQ(Values(r, base), (Names{"Name", "Kind", "Value", "Alpha"}));
  EXPECT_TRUE(key->SetValue("KIND", RegValue::FromDWord(3)));  // keeps its place
  EXPECT_EQ(Values(r, base), (Names{"Name", "Kind", "Value", "Alpha"}));
  EXPECT_TRUE(key->DeleteValue("name"));
  EXPECT_TRUE(key->SetValue("NAME", RegValue::FromString("x")));  // goes last
  EXPECT_EQ(Values(r, base), (Names{"Kind", "Value", "Alpha", "NAME"}));
}

void DeleteSubKeyTreeIsRecursive(IRegistry& r, const std::string& base) {
  Create(r, base + "\\a\\b\\c")->SetValue("v", RegValue::FromString("deep"));
  Create(r, base + "\\a\\d");
  Create(r, base + "\\keep");
  auto key = r.OpenKey(kCU, base, false);
  ASSERT_NE(key, nullptr);
  EXPECT_TRUE(key->DeleteSubKeyTree("A"));
  EXPECT_EQ(r.OpenKey(kCU, base + "\\a\\b\\c", false), nullptr);
  EXPECT_EQ(r.OpenKey(kCU, base + "\\a", false), nullptr);
  EXPECT_EQ(SubKeys(r, base), Names{"keep"});
  EXPECT_FALSE(key->DeleteSubKeyTree("a"));  // gone already
  // Created again, the key is empty.
  Create(r, base + "\\a");
  EXPECT_EQ(SubKeys(r, base + "\\a"), Names{});
  EXPECT_EQ(Values(r, base + "\\a"), Names{});
}

void MissingKeysAndValues(IRegistry& r, const std::string& base) {
  EXPECT_EQ(r.OpenKey(kCU, base, false), nullptr);
  EXPECT_EQ(r.OpenKey(kCU, base + "\\x\\y", false), nullptr);
  EXPECT_EQ(r.OpenKey(kCU, base, false), nullptr);  // a failed open creates nothing
  auto key = Create(r, base);
  ASSERT_NE(key, nullptr);
  EXPECT_EQ(key->QueryValue("none"), std::nullopt);
  EXPECT_FALSE(key->DeleteValue("none"));
  EXPECT_FALSE(key->DeleteSubKeyTree("none"));
  EXPECT_EQ(key->SubKeyNames(), Names{});
  EXPECT_EQ(key->ValueNames(), Names{});
}

void EmptyPathComponentsAreIgnored(IRegistry& r, const std::string& base) {
  Create(r, "\\" + base + "\\\\a\\")->SetValue("v", RegValue::FromString("x"));
  auto key = r.OpenKey(kCU, base + "\\a", false);
  ASSERT_NE(key, nullptr);
  EXPECT_EQ(key->QueryValue("v"), RegValue::FromString("x"));
  EXPECT_EQ(SubKeys(r, base), Names{"a"});
  // The empty path is the hive's root.
  auto root = r.OpenKey(kCU, "", false);
  ASSERT_NE(root, nullptr);
  auto top = root->SubKeyNames();
  EXPECT_NE(std::find(top.begin(), top.end(), base.substr(0, base.find('\\'))), top.end());
}

void HandlesSeeEachOthersChanges(IRegistry& r, const std::string& base) {
  auto one = Create(r, base);
  auto two = r.OpenKey(kCU, base, false);
  ASSERT_NE(one, nullptr);
  ASSERT_NE(two, nullptr);
  EXPECT_TRUE(one->SetValue("v", RegValue::FromString("1")));
  EXPECT_EQ(two->QueryValue("v"), RegValue::FromString("1"));
  Create(r, base + "\\child");
  EXPECT_EQ(one->SubKeyNames(), Names{"child"});
  EXPECT_TRUE(two->DeleteSubKeyTree("child"));
  EXPECT_EQ(one->SubKeyNames(), Names{});
}

void HivesAreSeparate(IRegistry& r, const std::string& base) {
  Create(r, base)->SetValue("v", RegValue::FromString("user"));
  EXPECT_EQ(r.OpenKey(RegHive::LocalMachine, base, false), nullptr);
}

}  // namespace

const std::vector<RegistryContractCase>& RegistryContractCases() {
  static const std::vector<RegistryContractCase> cases = {
      {"NamesIgnoreCaseAndKeepFirstCase", NamesIgnoreCaseAndKeepFirstCase},
      {"TypedValuesKeepTheirBytes", TypedValuesKeepTheirBytes},
      {"SubKeysInWindowsOrder", SubKeysInWindowsOrder},
      {"ValuesInCreationOrder", ValuesInCreationOrder},
      {"DeleteSubKeyTreeIsRecursive", DeleteSubKeyTreeIsRecursive},
      {"MissingKeysAndValues", MissingKeysAndValues},
      {"EmptyPathComponentsAreIgnored", EmptyPathComponentsAreIgnored},
      {"HandlesSeeEachOthersChanges", HandlesSeeEachOthersChanges},
      {"HivesAreSeparate", HivesAreSeparate},
  };
  return cases;
}

std::string DumpKey(IRegistry& registry, RegHive hive, const std::string& path) {
  auto key = registry.OpenKey(hive, path, false);
  if (!key) return "<missing " + path + ">\n";
  std::string out = "[" + path + "]\n";
  for (const auto& name : key->ValueNames()) {
    auto v = key->QueryValue(name);
    out += "  " + name + " (" + std::to_string(v ? static_cast<int>(v->type) : -1) +
           ") = " + (v ? v->data : "<none>") + "\n";
  }
  for (const auto& sub : key->SubKeyNames())
    out += DumpKey(registry, hive, path.empty() ? sub : path + "\\" + sub);
  return out;
}
