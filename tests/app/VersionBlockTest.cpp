// The version block read back from a program file: version text, language and
// legal notice, with and without a record.
#include <gtest/gtest.h>

#include <string>

#include "BuildConfig.h"
#include "TestSupport.h"
#include "app/SLApplication.h"
#include "platform/VersionRecord.h"

namespace {

// A file with some bytes around a record (and a decoy marker before it).
std::string ProgramFile(const TempDir& dir, const std::string& payload) {
  std::string bytes =
      "\x7f"
      "ELF fake program text ";
  bytes += std::string(version_record::kMarker.data(), version_record::kMarker.size());
  bytes += "\xff\xff\xff\x7f not a record";
  if (!payload.empty()) bytes += version_record::Encode(payload);
  bytes += std::string(100, '\0');
  std::string path = dir.File("prog");
  WriteFileBytes(path, bytes);
  return path;
}

struct VersionCase {
  const char* what;
  std::string payload;  // empty: the file has no record
  std::string version;
  bool english;
  std::string notice;
};

}  // namespace

TEST(VersionBlock, TextsReadFromTheProgramFile) {
  const std::string builtIn = "Copyright \u00a9 Kestrelay";
  const VersionCase cases[] = {
      {"no record", "", "0.0.0", true, builtIn},
      {"English",
       "FileVersion=1.2.0.30\nTranslation=040904E4\n"
       "StringFileInfo\\040904E4\\LegalCopyright=(c) Us\n",
       "1.2.0 Build 30", true, "(c) Us"},
      {"Portuguese of Brazil",
       "FileVersion=3.0.1.0\nTranslation=041604E4\n"
       "StringFileInfo\\041604E4\\LegalCopyright=(c) Nós\n",
       "3.0.1 Build 0", false, "(c) Nós"},
      {"Portuguese of Portugal first",
       "FileVersion=1.0.0.1\nTranslation=081604E4\nTranslation=040904E4\n", "1.0.0 Build 1", false,
       ""},
      {"copyright under another translation",
       "FileVersion=1.0.0.1\nTranslation=040904E4\n"
       "StringFileInfo\\041604E4\\LegalCopyright=x\n",
       "1.0.0 Build 1", true, ""},
      {"no translation", "FileVersion=65535.65535.65535.65535\n", "65535.65535.65535 Build 65535",
       true, ""},
      {"no fixed part", "Translation=041604E4\n", "0.0.0", false, builtIn},
  };
  TempDir dir;
  for (const VersionCase& c : cases) {
    SCOPED_TRACE(c.what);
    std::string path = ProgramFile(dir, c.payload);
    EXPECT_EQ(GetVersionText(path), c.version);
    EXPECT_EQ(IsEnglishBuild(path), c.english);
    EXPECT_EQ(GetLegalCopyright(path), c.notice);
    // Start-up's single read gives the same three answers.
    const TVersionFacts facts = ReadVersionFacts(path);
    EXPECT_EQ(facts.VersionText, c.version);
    EXPECT_EQ(facts.English, c.english);
    EXPECT_EQ(facts.LegalNotice, c.notice);
  }
  EXPECT_EQ(GetVersionText(dir.File("missing")), "0.0.0");
  EXPECT_EQ(GetVersionText(dir.Path()), "0.0.0");  // a folder is no program file
  EXPECT_EQ(GetLegalCopyright(dir.File("missing")), builtIn);
}

TEST(VersionBlock, DamagedRecordsAreNotRecords) {
  TempDir dir;
  std::string good = version_record::Encode("FileVersion=1.2.3.4\n");
  std::string badSum = good;
  badSum.back() ^= 1;
  std::string badLength = good;
  badLength[16] = '\x7f';
  std::string badPayload = version_record::Encode("FileVersion=1.2.x.4\n");
  for (const std::string& bytes : {badSum, badLength, badPayload, good.substr(0, 30)}) {
    WriteFileBytes(dir.File("prog"), bytes);
    EXPECT_EQ(GetVersionText(dir.File("prog")), "0.0.0");
  }
}

#ifdef KVLMN_PATH
TEST(VersionBlock, TheProgramCarriesItsVersion) {
  std::string expected =
      std::to_string(VELLUMIN_VERSION_MAJOR) + "." + std::to_string(VELLUMIN_VERSION_MINOR) + "." +
      std::to_string(VELLUMIN_VERSION_PATCH) + " Build " + std::to_string(VELLUMIN_BUILD_NUMBER);
  EXPECT_EQ(GetVersionText(KVLMN_PATH), expected);
  EXPECT_EQ(IsEnglishBuild(KVLMN_PATH), std::string(VELLUMIN_TRANSLATION) != "041604E4");
  EXPECT_EQ(GetLegalCopyright(KVLMN_PATH), "Copyright \u00a9 2026 Kestrelay");
}
#endif
