// File and boolean-text utilities.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "TestSupport.h"
#include "framework/SLUtils.h"

namespace fs = std::filesystem;

namespace {

TEST(BoolTextTest, OnlyUpperCaseTrueIsTrue) {
  EXPECT_EQ(BoolToText(true), "TRUE");
  EXPECT_EQ(BoolToText(false), "FALSE");
  EXPECT_TRUE(TextToBool("TRUE"));
  for (const char* text : {"True", "true", "", "FALSE", " TRUE", "TRUE ", "1", "T"})
    EXPECT_FALSE(TextToBool(text)) << text;
}

TEST(FileExistsSafeTest, TrueOnlyForAnExistingNonDirectory) {
  TempDir dir;
  const std::string file = dir.File("present.txt");
  ASSERT_TRUE(WriteFileBytes(file, "x"));
  EXPECT_TRUE(FileExistsSafe(file));
  EXPECT_FALSE(FileExistsSafe(dir.File("missing.txt")));
  EXPECT_FALSE(FileExistsSafe(dir.Path()));
  EXPECT_FALSE(FileExistsSafe(file + "/below-a-file"));
  EXPECT_FALSE(FileExistsSafe(""));
}

TEST(DeleteFileForcedTest, RemovesAReadOnlyFile) {
  TempDir dir;
  const std::string file = dir.File("read-only.txt");
  ASSERT_TRUE(WriteFileBytes(file, "x"));
  ASSERT_EQ(chmod(file.c_str(), 0444), 0);
  DeleteFileForced(file);
  EXPECT_FALSE(fs::exists(file));
}

TEST(DeleteFileForcedTest, FailuresAreSilentAndLeaveOtherThingsAlone) {
  TempDir dir;
  const std::string file = dir.File("file.txt");
  ASSERT_TRUE(WriteFileBytes(file, "x"));
  const std::string folder = dir.File("folder");
  fs::create_directory(folder);

  EXPECT_NO_THROW(DeleteFileForced(dir.File("missing.txt")));
  EXPECT_NO_THROW(DeleteFileForced(file + "/below-a-file"));
  DeleteFileForced(folder);
  EXPECT_TRUE(fs::is_directory(folder));
  EXPECT_TRUE(fs::exists(file));
}

}  // namespace
