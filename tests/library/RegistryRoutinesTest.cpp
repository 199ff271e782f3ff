// The registry routines: defaults on missing keys, values and wrong types,
// and the list routines.
#include <gtest/gtest.h>

#include <vector>

#include "TestSupport.h"
#include "library/SLRegistry.h"
#include "platform/linux/SqliteHive.h"

namespace {
const RegHive kUser = RegHive::CurrentUser;
const std::string kKey = "Software\\Test";

std::vector<std::string> SubKeys(const std::string& key) {
  std::vector<std::string> names{"stale entry"};
  GetRegKeyNames(kUser, key, names);
  return names;
}
}  // namespace

TEST(RegistryRoutines, ReadsFallBackToTheirDefaults) {
  ScopedTestRegistry registry;
  WriteRegString(kUser, kKey, "Text", "12");
  WriteRegInteger(kUser, kKey, "Number", -5);
  Registry().OpenKey(kUser, kKey, true)->SetValue(
      "Expand", RegValue::FromString("%HOME%", RegType::ExpandString));

  EXPECT_EQ(ReadRegString(kUser, kKey, "Text", "d"), "12");
  EXPECT_EQ(ReadRegString(kUser, kKey, "Expand", "d"), "%HOME%") << "expandable strings read as strings";
  EXPECT_EQ(ReadRegString(kUser, kKey, "Number", "d"), "d") << "an integer is not a string";
  EXPECT_EQ(ReadRegInteger(kUser, kKey, "Number", 7), -5);
  EXPECT_EQ(ReadRegInteger(kUser, kKey, "Text", 7), 7) << "a string is not an integer";
  EXPECT_TRUE(ReadRegBool(kUser, kKey, "Number", false));
  EXPECT_TRUE(ReadRegBool(kUser, kKey, "Text", true));
  EXPECT_FALSE(ReadRegBool(kUser, kKey, "Text", false));
  EXPECT_EQ(ReadRegString(kUser, kKey + "\\Missing", "Text", "d"), "d");
  EXPECT_EQ(ReadRegInteger(kUser, kKey, "missing", 3), 3);
  EXPECT_TRUE(ReadRegValueNames(kUser, kKey, "Missing").empty());
  EXPECT_TRUE(ReadRegValueNames(kUser, "Nowhere", "Test").empty());

  WriteRegBool(kUser, kKey, "Flag", true);
  EXPECT_EQ(Registry().OpenKey(kUser, kKey, false)->QueryValue("Flag"), RegValue::FromDWord(1));
  WriteRegBool(kUser, kKey, "Flag", false);
  EXPECT_EQ(ReadRegInteger(kUser, kKey, "Flag", 9), 0);
}

TEST(RegistryRoutines, ValueAndKeyLists) {
  ScopedTestRegistry registry;
  WriteRegValueNames(kUser, kKey, "List", {"0;0;Notepad", "1;1;FALSE;16470\r\n;a;b"});
  WriteRegString(kUser, kKey + "\\List\\Below", "x", "y");
  EXPECT_EQ(ReadRegValueNames(kUser, kKey, "List"),
            (std::vector<std::string>{"0;0;Notepad", "1;1;FALSE;16470\r\n;a;b"}));
  EXPECT_EQ(ReadRegString(kUser, kKey + "\\List", "0;0;Notepad", "d"), "");

  WriteRegValueNames(kUser, kKey, "List", {"only"});
  EXPECT_EQ(ReadRegValueNames(kUser, kKey, "List"), (std::vector<std::string>{"only"}));
  EXPECT_EQ(SubKeys(kKey + "\\List"), std::vector<std::string>{}) << "the old sub-key went whole";
  WriteRegValueNames(kUser, kKey, "List", {});
  EXPECT_TRUE(Registry().OpenKey(kUser, kKey + "\\List", false) != nullptr);
  EXPECT_TRUE(ReadRegValueNames(kUser, kKey, "List").empty());

  EXPECT_TRUE(RegValueExists(kUser, kKey, "") == false);
  WriteRegString(kUser, kKey, "A", "1");
  WriteRegString(kUser, kKey, "B", "2");
  WriteRegString(kUser, kKey + "\\Sub\\Deep", "C", "3");
  DeleteRegValue(kUser, kKey, "a");
  EXPECT_FALSE(RegValueExists(kUser, kKey, "A"));
  EXPECT_TRUE(RegValueExists(kUser, kKey, "B"));
  DeleteRegValues(kUser, kKey);
  EXPECT_FALSE(RegValueExists(kUser, kKey, "B"));
  EXPECT_EQ(SubKeys(kKey), (std::vector<std::string>{"List", "Sub"}));
  DeleteRegSubKeys(kUser, kKey);
  EXPECT_EQ(SubKeys(kKey), std::vector<std::string>{});
  EXPECT_EQ(SubKeys("Nowhere"), std::vector<std::string>{});
  DeleteRegSubKeys(kUser, "Nowhere");  // missing keys: nothing happens
  DeleteRegValues(kUser, "Nowhere");
  DeleteRegValue(kUser, "Nowhere", "x");
  EXPECT_FALSE(Registry().OpenKey(kUser, "Nowhere", false));
}

TEST(RegistryRoutines, WritesToAnUnwritableHiveAreSkipped) {
  TempDir dir;
  WriteFileBytes(dir.File("file"), "x");
  SqliteRegistry broken(dir.File("file") + "/HKCU.hive", dir.File("file") + "/HKLM.hive");
  SetRegistry(&broken);
  WriteRegString(kUser, kKey, "Text", "lost");
  WriteRegValueNames(kUser, kKey, "List", {"a"});
  EXPECT_EQ(ReadRegString(kUser, kKey, "Text", "default"), "default");
  EXPECT_TRUE(ReadRegValueNames(kUser, kKey, "List").empty());
  SetRegistry(nullptr);
}
