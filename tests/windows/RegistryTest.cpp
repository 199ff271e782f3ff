// The registry seam on the system registry (under Wine when run from Linux):
// the contract cases the Linux hive passes, then the library and the
// options stored and read back through the program's own routines.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <string>

#include "RegistryContract.h"
#include "WineCheck.h"
#include "library/SLRegistry.h"
#include "library/clsLibrary.h"
#include "platform/AutoStart.h"
#include "platform/windows/Win32Registry.h"
#include "rules/clsOptions.h"

// Test names show the case's name, not its bytes.
void PrintTo(const RegistryContractCase& c, std::ostream* os) {
  *os << c.name;
}

namespace {

const std::string kTestRoot = "Software\\Vellumin Tests";

// A key of its own under HKCU for each test, deleted when the test ends.
class SystemRegistryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    base_ = kTestRoot + "\\" + std::to_string(GetCurrentProcessId()) + "-" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name();
    std::replace(base_.begin(), base_.end(), '/', '-');
    RegDeleteTreeA(HKEY_CURRENT_USER, base_.c_str());
  }
  void TearDown() override { RegDeleteTreeA(HKEY_CURRENT_USER, base_.c_str()); }
  std::string base_;
};

// Where Wine 8 lists names in another order than Windows: the reason, or null.
// Windows lists values in creation order, Wine sorted by name; Windows sorts
// sub-keys by their upper-case form, Wine by the lower-case one, which differs
// only for the characters between 'Z' and 'a' ("A_" before "AB"). The
// program's own sub-keys ("f_" and "i_" with a number) sort alike in both.
const char* WineOrderDiffers(const std::string& name) {
  if (name == "TypedValuesKeepTheirBytes" || name == "ValuesInCreationOrder")
    return "Wine lists value names sorted, not in creation order";
  if (name == "SubKeysInWindowsOrder") return "Wine sorts sub-keys by their lower-case form";
  return nullptr;
}

class ContractOnSystemRegistry : public SystemRegistryTest,
                                 public ::testing::WithParamInterface<RegistryContractCase> {};

TEST_P(ContractOnSystemRegistry, Holds) {
  if (const char* reason = WineOrderDiffers(GetParam().name); reason && RunningUnderWine())
    GTEST_SKIP() << reason;
  TWin32Registry registry;
  GetParam().run(registry, base_);
}

INSTANTIATE_TEST_SUITE_P(Win32, ContractOnSystemRegistry,
                         ::testing::ValuesIn(RegistryContractCases()),
                         [](const auto& info) { return std::string(info.param.name); });

using Names = std::vector<std::string>;

// What the skipped cases check apart from the order, and the order Wine gives.
TEST_F(SystemRegistryTest, ValueNamesComeBackWhateverTheOrder) {
  TWin32Registry registry;
  auto key = registry.OpenKey(RegHive::CurrentUser, base_, true);
  ASSERT_NE(key, nullptr);
  const Names written = {"Name", "Kind", "Value", "Alpha", "Notepad\r\nEdit\r\n1", ""};
  for (const auto& name : written) ASSERT_TRUE(key->SetValue(name, RegValue::FromString(name)));
  ASSERT_TRUE(key->SetValue("KIND", RegValue::FromDWord(3)));  // same value, case kept

  Names listed = key->ValueNames();
  if (RunningUnderWine()) {
    Names sorted = written;
    std::sort(sorted.begin(), sorted.end());
    EXPECT_EQ(listed, sorted);
  } else {
    EXPECT_EQ(listed, written);
  }
  EXPECT_EQ(key->QueryValue("kind")->AsDWord(), 3u);
  EXPECT_EQ(key->QueryValue("notepad\r\nedit\r\n1"), RegValue::FromString(written[4]));
}

// The seam's strings are stored as the system's strings: another program
// reading the value with the system's own call sees the same text.
TEST_F(SystemRegistryTest, StringsAreSystemStrings) {
  WriteRegString(RegHive::CurrentUser, base_, "Text", "two\r\nlines");
  WriteRegInteger(RegHive::CurrentUser, base_, "Number", -5);
  char buffer[64] = {};
  DWORD size = sizeof buffer;
  DWORD type = 0;
  ASSERT_EQ(
      RegGetValueA(HKEY_CURRENT_USER, base_.c_str(), "Text", RRF_RT_ANY, &type, buffer, &size),
      ERROR_SUCCESS);
  EXPECT_EQ(type, DWORD(REG_SZ));
  EXPECT_STREQ(buffer, "two\r\nlines");
  EXPECT_EQ(size, 11u);  // with the terminating zero
  DWORD number = 0;
  size = sizeof number;
  ASSERT_EQ(RegGetValueA(HKEY_CURRENT_USER, base_.c_str(), "Number", RRF_RT_REG_DWORD, nullptr,
                         &number, &size),
            ERROR_SUCCESS);
  EXPECT_EQ(number, 0xFFFFFFFBu);
  EXPECT_EQ(ReadRegInteger(RegHive::CurrentUser, base_, "Number", 0), -5);
  EXPECT_EQ(ReadRegString(RegHive::CurrentUser, base_, "Missing", "default"), "default");
}

TPasteItem* AddItem(TFolder& folder, const std::string& name, uint8_t kind,
                    const std::string& value) {
  auto* item = new TPasteItem;
  item->Name = name;
  item->Kind = kind;
  item->Value = value;
  folder.Items.Add(item);
  return item;
}

std::string Describe(const TFolder& folder, const std::string& indent = "") {
  std::string out = indent + "[" + folder.Name + "]\n";
  for (int i = 0; i < folder.Folders.Count(); ++i)
    out += Describe(*folder.Folders[i], indent + "  ");
  for (int i = 0; i < folder.Items.Count(); ++i) {
    const TPasteItem& item = *folder.Items[i];
    out += indent + "  " + item.Name + " (" + std::to_string(item.Kind) + ") " + item.Value + "\n";
  }
  return out;
}

TEST_F(SystemRegistryTest, LibraryComesBackInItsOrder) {
  TFolder root;
  root.Name = "Root";
  // Twelve sub-folders: the system lists "f_10" and "f_11" before "f_2".
  for (int i = 0; i < 12; ++i) {
    auto* folder = new TFolder;
    folder->Name = "Folder " + std::to_string(i);
    root.Folders.Add(folder);
    AddItem(*folder, "same", 1, "first");
    AddItem(*folder, "same", 1, "second");
  }
  AddItem(*root.Folders[3], "lines", 1, "line 1\r\nline 2\r\n\r\nend");
  AddItem(root, "kind", 129, "");
  AddItem(root, "", 0, "no name");
  const std::string key = base_ + "\\Folders";
  SaveLibrary(RegHive::CurrentUser, key, root);

  auto libraryKey = Registry().OpenKey(RegHive::CurrentUser, key, false);
  ASSERT_NE(libraryKey, nullptr);
  Names subKeys = libraryKey->SubKeyNames();
  ASSERT_EQ(subKeys.size(), 14u);
  EXPECT_EQ(subKeys[0], "f_0");
  EXPECT_EQ(subKeys[2], "f_10");

  TFolder loaded;
  loaded.LoadFromRegistry(RegHive::CurrentUser, key);
  root.Items[0]->Kind = 1;  // stored as Kind and 127
  EXPECT_EQ(Describe(loaded), Describe(root));

  // A smaller library replaces it completely.
  root.Folders.Clear();
  root.Items.Remove(root.Items[1]);
  SaveLibrary(RegHive::CurrentUser, key, root);
  TFolder again;
  again.LoadFromRegistry(RegHive::CurrentUser, key);
  EXPECT_EQ(Describe(again), Describe(root));
  EXPECT_EQ(Registry().OpenKey(RegHive::CurrentUser, key, false)->SubKeyNames(), Names{"i_0"});
}

TEST_F(SystemRegistryTest, OptionsAndTheRunValue) {
  // The options live under the descriptor's product key; without a descriptor
  // they use the program's own key, so the test looks there. The keys below
  // are the registry sandbox's (RegistrySandbox.cpp), not the user's own.
  const std::string optionsKey = "Software\\Kestrelay\\Kestrelay Ardentry\\Vellumin\\Options";
  RegDeleteTreeA(HKEY_CURRENT_USER, optionsKey.c_str());
  TRegistryAutoStart run;
  run.Delete();

  TVLMNOptions fresh;
  fresh.Load();
  EXPECT_TRUE(fresh.CloseMinimizes);
  EXPECT_FALSE(fresh.AutoStart);
  EXPECT_EQ(fresh.FontName, "Tahoma");
  EXPECT_EQ(fresh.FontSize, 8);

  TVLMNOptions options;
  options.CloseMinimizes = false;
  options.ShowTips = false;
  options.FontSize = 11;
  options.FontName = "Courier New";
  auto* tracking = new TSLTrackingRule;
  tracking->Attribute = raCaption;
  tracking->Comparison = rcContains;
  tracking->Value = "Vellumin";
  options.TrackingRules.Add(tracking);
  auto* pasting = new TSLPastingRule;
  pasting->Attribute = raClassName;
  pasting->Comparison = rcEqual;
  pasting->Value = "ConsoleWindowClass";
  pasting->Standard = false;
  pasting->Keys = {"8237", "16470"};  // Shift+Insert, Ctrl+V
  options.PastingRules.Add(pasting);
  options.Save();

  TVLMNOptions loaded;
  loaded.Load();
  EXPECT_FALSE(loaded.CloseMinimizes);
  EXPECT_FALSE(loaded.ShowTips);
  EXPECT_EQ(loaded.FontSize, 11);
  EXPECT_EQ(loaded.FontName, "Courier New");
  EXPECT_EQ(TrackingRulesToStrings(loaded.TrackingRules),
            TrackingRulesToStrings(options.TrackingRules));
  EXPECT_EQ(PastingRulesToStrings(loaded.PastingRules),
            PastingRulesToStrings(options.PastingRules));

  // The Run value: any data counts, and saving the options leaves it alone.
  ApplyAutoStart(true, "C:\\Program Files\\Vellumin\\kvlmn.exe");
  EXPECT_EQ(ReadRegString(RegHive::CurrentUser, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run",
                          "VLMN", ""),
            "C:\\Program Files\\Vellumin\\kvlmn.exe");
  loaded.AutoStart = false;
  loaded.Save();
  EXPECT_TRUE(run.Exists());
  EXPECT_TRUE(AutoStartEntry().Exists());  // the Run value is the default entry on Windows
  ApplyAutoStart(false, "");
  EXPECT_FALSE(run.Exists());
  RegDeleteTreeA(HKEY_CURRENT_USER, optionsKey.c_str());
}

}  // namespace
