// The export file: exact bytes written, files read back (a table of files and
// the items or the error line they give), round trips, the safe replacement
// of an existing file and the file-name checks.
#include <gtest/gtest.h>
#include <sys/stat.h>

#ifndef _WIN32
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#endif

#include <filesystem>
#include <stdexcept>

#include "TestSupport.h"
#include "exchange/clsExportFile.h"
#include "framework/SLExceptions.h"

namespace fs = std::filesystem;

namespace {

// The finished file is the user's own: on Linux readable and writable by the
// user only; Windows has no such mode bits, and the file is not read-only.
#ifdef _WIN32
constexpr unsigned kExportMode = 0666;
#else
constexpr unsigned kExportMode = 0600;
#endif

}  // namespace

namespace {

struct Progress {
  std::string title, text;
  int position;
  bool operator==(const Progress&) const = default;
};

struct Detail {
  std::string text;
  bool error;
  bool operator==(const Detail&) const = default;
};

// Records what a run reports; can be told to throw from the n-th AddDetail
// (counting from 1) to break an export half-way.
class TRecorder : public IImpExpProgress {
 public:
  std::vector<Progress> progress;
  std::vector<Detail> details;
  int throwAtDetail = 0;

  void ShowProgress(const std::string& title, const std::string& text, int position) override {
    progress.push_back({title, text, position});
  }
  void AddDetail(const std::string& text, bool error) override {
    details.push_back({text, error});
    if (static_cast<int>(details.size()) == throwAtDetail) throw std::runtime_error("disk gone");
  }
};

struct Item {
  std::string name;
  int kind;
  std::string value;
  bool operator==(const Item&) const = default;
};

void PrintTo(const Item& item, std::ostream* os) {
  *os << "{" << testing::PrintToString(item.name) << ", " << item.kind << ", "
      << testing::PrintToString(item.value) << "}";
}

std::vector<Item> ItemsOf(const TFolder& folder) {
  std::vector<Item> items;
  for (const TPasteItem* item : folder.Items)
    items.push_back({item->Name, item->Kind, item->Value});
  return items;
}

TPasteItem* AddItem(TFolder& folder, const std::string& name, const std::string& value,
                    uint8_t kind = 1) {
  auto* item = new TPasteItem;
  item->Name = name;
  item->Kind = kind;
  item->Value = value;
  folder.Items.Add(item);
  return item;
}

TFolder* AddFolder(TFolder& parent, const std::string& name) {
  auto* folder = new TFolder;
  folder->Name = name;
  parent.Folders.Add(folder);
  return folder;
}

const std::string kHead = "KVLMN 1.0\r\n\r\nName;Kind;Value;\r\n";

}  // namespace

// ---------------------------------------------------------------- reading

struct ReadCase {
  const char* label;
  std::string file;
  std::vector<Item> items;  // expected on success
  std::string error;        // expected last details row on failure ("" = success)
};

void PrintTo(const ReadCase& c, std::ostream* os) {
  *os << c.label;
}

class ReadTable : public testing::TestWithParam<ReadCase> {};

TEST_P(ReadTable, GivesItemsOrErrorLine) {
  const ReadCase& c = GetParam();
  TempDir dir;
  const std::string path = dir.File("in.vle");
  ASSERT_TRUE(WriteFileBytes(path, c.file));

  TFolder root;
  AddItem(root, "existing", "kept");
  AddFolder(root, "Old");
  TRecorder rec;
  TFolder* result = ReadExportFile(path, root, rec);

  if (c.error.empty()) {
    ASSERT_NE(result, nullptr);
    ASSERT_EQ(root.Folders.Count(), 2);
    EXPECT_EQ(root.Folders[1], result);
    EXPECT_EQ(result->Name, "Imported Items");
    EXPECT_EQ(ItemsOf(*result), c.items);
    ASSERT_EQ(rec.details.size(), c.items.size());
    for (size_t i = 0; i < c.items.size(); ++i)
      EXPECT_EQ(rec.details[i],
                (Detail{"Record '" + c.items[i].name + "' imported with success", false}));
    EXPECT_EQ(rec.progress.back(),
              (Progress{"Import finished.", "See details for more information.", 100}));
  } else {
    EXPECT_EQ(result, nullptr);
    // The library is exactly as before.
    ASSERT_EQ(root.Folders.Count(), 1);
    EXPECT_EQ(root.Folders[0]->Name, "Old");
    EXPECT_EQ(ItemsOf(root), (std::vector<Item>{{"existing", 1, "kept"}}));
    ASSERT_FALSE(rec.details.empty());
    EXPECT_EQ(rec.details.back(), (Detail{c.error, true}));
    for (size_t i = 0; i + 1 < rec.details.size(); ++i) EXPECT_FALSE(rec.details[i].error);
    EXPECT_EQ(rec.progress.back(),
              (Progress{"Import failed!", "See details for more information.", 100}));
  }
  EXPECT_EQ(rec.progress.front(),
            (Progress{"Importing paste items. Please wait...", "Preparing...", 0}));
}

const std::string kBadHeader = "Error: Invalid file header.";
std::string BadLine(int line) {
  return "Error: Invalid item description in line " + std::to_string(line) + ".";
}

INSTANTIATE_TEST_SUITE_P(
    Files, ReadTable,
    testing::Values(
        ReadCase{"HeaderOnly", kHead, {}, ""},
        ReadCase{"HeaderOnlyNoFinalBreak", "KVLMN 1.0\r\n\r\nName;Kind;Value;", {}, ""},
        ReadCase{"TwoItems", kHead + "a;1;x;\r\nb;7;y;\r\n", {{"a", 1, "x"}, {"b", 7, "y"}}, ""},
        ReadCase{"DollarIsLineBreak",
                 kHead + "n$m;1;one$two$;\r\n",
                 {{"n\r\nm", 1, "one\r\ntwo\r\n"}},
                 ""},
        ReadCase{"LfLines",
                 "KVLMN\n\nName;Kind;Value;\na;1;x;\nb;2;y;",
                 {{"a", 1, "x"}, {"b", 2, "y"}},
                 ""},
        ReadCase{"CrLines", "KVLMN\r\rName;Kind;Value;\ra;1;x;\r", {{"a", 1, "x"}}, ""},
        ReadCase{"MixedLines",
                 "KVLMN\r\n\nName;Kind;Value;\ra;1;x;\nb;2;y;\r\n",
                 {{"a", 1, "x"}, {"b", 2, "y"}},
                 ""},
        ReadCase{"SignatureAnythingAfter",
                 "KVLMNxyz\r\n\r\nName;Kind;Value;\r\na;1;x;\r\n",
                 {{"a", 1, "x"}},
                 ""},
        ReadCase{"Kind257IsKind1", kHead + "a;257;x;\r\n", {{"a", 1, "x"}}, ""},
        ReadCase{
            "KindLow8Bits", kHead + "a;-1;x;\r\nb;0;y;\r\n", {{"a", 255, "x"}, {"b", 0, "y"}}, ""},
        ReadCase{"TextAfterThirdFieldIgnored", kHead + "a;1;x;rest;more\r\n", {{"a", 1, "x"}}, ""},
        ReadCase{"NameWithSemicolonAndNumber", kHead + "a;2;v;x;\r\n", {{"a", 2, "v"}}, ""},
        ReadCase{"NulEndsFile",
                 kHead + "a;1;x;\r\n" + std::string(1, '\0') + "garbage\r\n",
                 {{"a", 1, "x"}},
                 ""},
        ReadCase{"NulInItemLine",
                 kHead + "a;1;x;\r\nb;1" + std::string(1, '\0') + ";y;\r\n",
                 {},
                 BadLine(4)},
        ReadCase{"EmptyFile", "", {}, kBadHeader},
        ReadCase{"TwoLines", "KVLMN\r\n\r\n", {}, kBadHeader},
        ReadCase{"SignatureLowerCase", "kvlmn 1.0\r\n\r\nName;Kind;Value;\r\n", {}, kBadHeader},
        ReadCase{"SignatureShort", "KVLM\r\n\r\nName;Kind;Value;\r\n", {}, kBadHeader},
        ReadCase{"SecondLineNotEmpty", "KVLMN\r\n \r\nName;Kind;Value;\r\n", {}, kBadHeader},
        ReadCase{"HeaderTrailingText", "KVLMN\r\n\r\nName;Kind;Value; \r\n", {}, kBadHeader},
        ReadCase{"HeaderLowerCase", "KVLMN\r\n\r\nname;kind;value;\r\n", {}, kBadHeader},
        ReadCase{"NulInHeader",
                 "KVLMN\r\n\r\nName;Kind" + std::string(1, '\0') + ";Value;\r\n",
                 {},
                 kBadHeader},
        ReadCase{"BlankItemLine", kHead + "a;1;x;\r\n\r\nb;1;y;\r\n", {}, BadLine(4)},
        ReadCase{"TrailingBlankLine", kHead + "a;1;x;\r\nb;1;y;\r\n\r\n", {}, BadLine(5)},
        ReadCase{"ValueStartsWithSemicolon", kHead + "a;1;;x;\r\n", {}, BadLine(3)},
        ReadCase{"ValueNotClosed", kHead + "a;1;x;\r\nb;1;y\r\n", {}, BadLine(4)},
        ReadCase{"KindNotClosed", kHead + "a;1\r\n", {}, BadLine(3)},
        ReadCase{"NoSemicolon", kHead + "just text\r\n", {}, BadLine(3)},
        ReadCase{"EmptyName", kHead + ";1;x;\r\n", {}, BadLine(3)},
        ReadCase{"EmptyKind", kHead + "a;;x;\r\n", {}, BadLine(3)},
        ReadCase{"EmptyValue", kHead + "a;1;;\r\n", {}, BadLine(3)},
        ReadCase{"KindNotInteger",
                 kHead + "a;1;x;\r\nb;one;y;\r\n",
                 {},
                 "Error: 'one' is not a valid integer value"},
        ReadCase{"NameWithSemicolon",
                 kHead + "a;b;1;v;\r\n",
                 {},
                 "Error: 'b' is not a valid integer value"}),
    [](const testing::TestParamInfo<ReadCase>& info) { return std::string(info.param.label); });

TEST(ReadExportFile, ProgressFollowsTheLinesAndFailureKeepsEarlierRows) {
  TFolder root;
  TRecorder rec;
  const std::string file = kHead + "a;1;x;\r\nb;1;y;\r\nc;1;z;\r\nd$e;1;w;\r\n";
  ASSERT_NE(ReadExportData(file, root, rec), nullptr);
  std::vector<Progress> expected = {
      {"Importing paste items. Please wait...", "Preparing...", 0},
      {"Importing paste items. Please wait...", "Importing a...", 25},
      {"Importing paste items. Please wait...", "Importing b...", 50},
      {"Importing paste items. Please wait...", "Importing c...", 75},
      {"Importing paste items. Please wait...", "Importing d$e...", 100},
      {"Import finished.", "See details for more information.", 100}};
  EXPECT_EQ(rec.progress, expected);

  TRecorder failed;
  EXPECT_EQ(ReadExportData(kHead + "a;1;x;\r\nb;1;y;\r\nbroken\r\n", root, failed), nullptr);
  EXPECT_EQ(root.Folders.Count(), 1);
  EXPECT_EQ(failed.details, (std::vector<Detail>{{"Record 'a' imported with success", false},
                                                 {"Record 'b' imported with success", false},
                                                 {BadLine(5), true}}));
}

TEST(ReadExportFile, MissingFileFailsInTheDialog) {
  TempDir dir;
  TFolder root;
  TRecorder rec;
  EXPECT_EQ(ReadExportFile(dir.File("none.vle"), root, rec), nullptr);
  EXPECT_EQ(root.Folders.Count(), 0);
  ASSERT_EQ(rec.details.size(), 1u);
  EXPECT_TRUE(rec.details[0].error);
  EXPECT_EQ(
      rec.details[0].text.rfind("Error: Cannot open file '" + dir.File("none.vle") + "': ", 0), 0u)
      << rec.details[0].text;
}

// Only regular files are imported (a link to one is fine); a folder, a
// device or a FIFO is refused with the file-name message, before anything
// is read from it.
namespace {

const std::string kInvalidName = "Invalid export file name.";
const std::string kGoodFile = kHead + "from the file;1;v;\r\n";

// What the import leaves as its last details row, or "imported" on success.
std::string ImportOutcome(const std::string& path) {
  TFolder root;
  TRecorder rec;
  if (ReadExportFile(path, root, rec) != nullptr) return "imported";
  return rec.details.empty() ? "no details" : rec.details.back().text;
}

std::string CheckOutcome(const std::string& path) {
  try {
    CheckImportFileName(path);
  } catch (const ESLException& e) {
    return e.Message();
  }
  return "accepted";
}

#ifndef _WIN32
// ImportOutcome in a child process, so that an import that would block on a
// FIFO or read a device without end fails the test instead of stopping it.
// The child may grow its data by at most 512 MiB. When `fifo` is set, any
// reader that opens it is given a small export file and an end of file, so
// a blocked open or read comes back at once.
std::string BoundedImportOutcome(const std::string& path, const std::string& fifo = {}) {
  int out[2];
  if (pipe(out) != 0) return "no pipe";
  const pid_t child = fork();
  if (child == 0) {
    close(out[0]);
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);) {
      unsigned long long kb = 0;
      if (std::sscanf(line.c_str(), "VmData: %llu kB", &kb) == 1) {
        const rlim_t limit = (kb << 10) + (rlim_t{512} << 20);
        const rlimit data{limit, limit};
        setrlimit(RLIMIT_DATA, &data);
      }
    }
    const std::string outcome = ImportOutcome(path);
    [[maybe_unused]] ssize_t n = write(out[1], outcome.data(), outcome.size());
    _exit(0);
  }
  close(out[1]);
  int status = 0;
  while (waitpid(child, &status, fifo.empty() ? 0 : WNOHANG) == 0) {
    // ENXIO while nobody has the FIFO open for reading.
    const int writer = open(fifo.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
    if (writer >= 0) {
      [[maybe_unused]] ssize_t n = write(writer, kGoodFile.data(), kGoodFile.size());
      close(writer);
    }
    usleep(1000);
  }
  std::string outcome;
  char buffer[256];
  for (ssize_t n; (n = read(out[0], buffer, sizeof buffer)) > 0;) outcome.append(buffer, n);
  close(out[0]);
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) return "child ended abnormally: " + outcome;
  return outcome;
}
#endif

}  // namespace

TEST(ReadExportFile, OnlyRegularFilesAreImported) {
  TempDir dir;
  ASSERT_TRUE(WriteFileBytes(dir.File("good.vle"), kGoodFile));
  ASSERT_TRUE(fs::create_directory(dir.File("folder.vle")));
  struct Case {
    std::string path;
    std::string outcome;  // of the import and of the name check
  };
  std::vector<Case> cases = {
      {dir.File("good.vle"), "imported"},
      {dir.File("folder.vle"), "Error: " + kInvalidName},
  };
#ifdef _WIN32
  cases.push_back({"NUL", "Error: " + kInvalidName});
#else
  fs::create_symlink(dir.File("good.vle"), dir.File("link.vle"));
  fs::create_symlink("/dev/zero", dir.File("zero.vle"));
  fs::create_symlink(dir.File("folder.vle"), dir.File("folderlink.vle"));
  cases.push_back({dir.File("link.vle"), "imported"});
  cases.push_back({dir.File("zero.vle"), "Error: " + kInvalidName});
  cases.push_back({dir.File("folderlink.vle"), "Error: " + kInvalidName});
#endif
  for (const Case& c : cases) {
#ifdef _WIN32
    EXPECT_EQ(ImportOutcome(c.path), c.outcome) << c.path;
#else
    EXPECT_EQ(BoundedImportOutcome(c.path), c.outcome) << c.path;
#endif
    EXPECT_EQ(CheckOutcome(c.path), c.outcome == "imported" ? "accepted" : kInvalidName) << c.path;
  }
}

#ifndef _WIN32
TEST(ReadExportFile, AFifoIsRefusedWithoutWaitingForAWriter) {
  TempDir dir;
  const std::string fifo = dir.File("x.vle");
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  EXPECT_EQ(CheckOutcome(fifo), kInvalidName);
  EXPECT_EQ(BoundedImportOutcome(fifo, fifo), "Error: " + kInvalidName);
  // Through a link too.
  fs::create_symlink(fifo, dir.File("link.vle"));
  EXPECT_EQ(CheckOutcome(dir.File("link.vle")), kInvalidName);
  EXPECT_EQ(BoundedImportOutcome(dir.File("link.vle"), fifo), "Error: " + kInvalidName);
}
#endif

TEST(ReadExportFile, SecondImportMakesSecondFolder) {
  TFolder root;
  TRecorder rec;
  TFolder* first = ReadExportData(kHead + "a;1;x;\r\n", root, rec);
  TFolder* second = ReadExportData(kHead + "a;1;x;\r\n", root, rec);
  ASSERT_EQ(root.Folders.Count(), 2);
  EXPECT_NE(first, second);
  EXPECT_EQ(root.Folders[1]->Name, "Imported Items");
  EXPECT_EQ(ItemsOf(*second), ItemsOf(*first));
}

// ---------------------------------------------------------------- writing

TEST(WriteExportFile, WritesExactBytesDepthFirst) {
  TFolder root;
  AddItem(root, "r1", "root one");
  TFolder* f1 = AddFolder(root, "F1");
  TFolder* f2 = AddFolder(root, "F2");
  TFolder* f11 = AddFolder(*f1, "F11");
  AddItem(*f2, "f2", "two", 0);
  AddItem(*f11, "f11", "deep", 200);
  AddItem(*f1, "f1", "line 1\r\nline 2");
  AddItem(root, "r2", "root two");

  TempDir dir;
  TRecorder rec;
  const std::string path = dir.File("out.vle");
  WriteExportFile(path, root, "1.2.0 Build 30", rec);

  EXPECT_EQ(
      ReadFileBytes(path),
      "KVLMN 1.2.0 Build 30\r\n\r\nName;Kind;Value;\r\n"
      "r1;1;root one;\r\nr2;1;root two;\r\nf1;1;line 1$line 2;\r\nf11;200;deep;\r\nf2;0;two;\r\n");
  std::vector<Detail> expected;
  for (const char* name : {"r1", "r2", "f1", "f11", "f2"})
    expected.push_back({"Item '" + std::string(name) + "' exported with success", false});
  // The full name of the file, in the system's own form.
  expected.push_back(
      {"File '" + fs::path(path).make_preferred().string() + "' saved with success.", false});
  EXPECT_EQ(rec.details, expected);
  EXPECT_EQ(rec.progress, (std::vector<Progress>{
                              {"Exporting paste items. Please wait...", "Preparing...", 0},
                              {"Export finished.", "See details for more information.", 100}}));

  struct stat st;
  ASSERT_EQ(stat(path.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, kExportMode);
}

TEST(WriteExportFile, EmptyLibraryGivesHeaderOnly) {
  TFolder root;
  AddFolder(*AddFolder(root, "A"), "B");
  TempDir dir;
  TRecorder rec;
  WriteExportFile(dir.File("e.vle"), root, "0.0.0", rec);
  EXPECT_EQ(ReadFileBytes(dir.File("e.vle")), "KVLMN 0.0.0\r\n\r\nName;Kind;Value;\r\n");
  ASSERT_EQ(rec.details.size(), 1u);
  EXPECT_FALSE(rec.details[0].error);
}

// An item that cannot come back unchanged is still written as the format
// says, but its row is an error row naming it.
TEST(WriteExportFile, ItemsThatWillNotImportBackGetErrorRows) {
  struct Case {
    std::string name, value, line, row;
  };
  const std::string unchanged = "' exported, but it will not import back unchanged: ";
  const std::vector<Case> cases = {
      {"ok", "a\r\nb", "ok;1;a$b;", "Item 'ok' exported with success"},
      {"semi", "a;b", "semi;1;a;b;",
       "Item 'semi" + unchanged + "its name or value holds ';' or '$'."},
      {"dollar", "US$ 5", "dollar;1;US$ 5;",
       "Item 'dollar" + unchanged + "its name or value holds ';' or '$'."},
      {"n;x", "v", "n;x;1;v;", "Item 'n;x" + unchanged + "its name or value holds ';' or '$'."},
      // Lone line breaks are written as line breaks too (they come back as CR LF).
      {"lf", "a\nb", "lf;1;a$b;", "Item 'lf' exported with success"},
      {"cr", "a\rb", "cr;1;a$b;", "Item 'cr' exported with success"},
      {"lfonly", "\n\n", "lfonly;1;$$;", "Item 'lfonly' exported with success"},
      {"empty", "", "empty;1;;",
       "Item 'empty" + unchanged + "its name or value is empty in the file."},
      {"100%s", "v", "100%s;1;v;", "Item '100%s' exported with success"},
  };
  TFolder root;
  for (const Case& c : cases) AddItem(root, c.name, c.value);
  TempDir dir;
  TRecorder rec;
  WriteExportFile(dir.File("x.vle"), root, "1", rec);

  std::string bytes = "KVLMN 1\r\n\r\nName;Kind;Value;\r\n";
  for (const Case& c : cases) bytes += c.line + "\r\n";
  EXPECT_EQ(ReadFileBytes(dir.File("x.vle")), bytes);
  ASSERT_EQ(rec.details.size(), cases.size() + 1);
  for (size_t i = 0; i < cases.size(); ++i)
    EXPECT_EQ(rec.details[i],
              (Detail{cases[i].row, cases[i].row.find("success") == std::string::npos}));
  EXPECT_EQ(rec.progress.back().title, "Export finished.");
}

TEST(ExportFile, RoundTrip) {
  struct Case {
    std::string value, back;
  };
  const std::vector<Case> cases = {
      {"line 1\r\nline 2", "line 1\r\nline 2"},  // CR LF pairs come back
      {"one\ntwo", "one\r\ntwo"},                // a bare LF keeps its line break
      {"one\rtwo", "one\r\ntwo"},                // a bare CR becomes CR LF
      {"a\r\n\nb\n", "a\r\n\r\nb\r\n"},          // mixed breaks: one each
      {"5 US$", "5 US\r\n"},                     // "$" becomes a line break
      {"a;b", "a"},                              // cut at the value's first ";"
      {"\r\n\r\n x \r\n", "\r\n\r\n x \r\n"},
      {"\xC3\xA9t\xC3\xA9 \xE2\x82\xAC", "\xC3\xA9t\xC3\xA9 \xE2\x82\xAC"},
  };
  TFolder root;
  for (size_t i = 0; i < cases.size(); ++i)
    AddItem(*AddFolder(root, "F"), "item " + std::to_string(i), cases[i].value,
            static_cast<uint8_t>(i * 30));
  TempDir dir;
  TRecorder rec;
  WriteExportFile(dir.File("rt.vle"), root, "1", rec);
  TFolder* back = ReadExportFile(dir.File("rt.vle"), root, rec);
  ASSERT_NE(back, nullptr);
  ASSERT_EQ(back->Items.Count(), static_cast<int>(cases.size()));
  for (size_t i = 0; i < cases.size(); ++i) {
    EXPECT_EQ(back->Items[i]->Value, cases[i].back) << i;
    EXPECT_EQ(back->Items[i]->Name, "item " + std::to_string(i));
    EXPECT_EQ(back->Items[i]->Kind, i * 30);
  }
}

// ------------------------------------------------- replacing an existing file

namespace {
std::vector<std::string> FolderEntries(const std::string& dir) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(dir))
    names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}
}  // namespace

TEST(WriteExportFile, FailureHalfWayKeepsTheOldFile) {
  TempDir dir;
  const std::string path = dir.File("lib.vle");
  ASSERT_TRUE(WriteFileBytes(path, "old contents"));
  TFolder root;
  for (int i = 0; i < 5; ++i) AddItem(root, "i" + std::to_string(i), "v");
  TRecorder rec;
  rec.throwAtDetail = 3;  // breaks the run after the third item line
  WriteExportFile(path, root, "1", rec);

  EXPECT_EQ(ReadFileBytes(path), "old contents");
  EXPECT_EQ(FolderEntries(dir.Path()), std::vector<std::string>{"lib.vle"});  // no temporary left
  ASSERT_EQ(rec.details.size(), 4u);
  EXPECT_EQ(rec.details[3], (Detail{"Error: disk gone", true}));
  EXPECT_EQ(rec.progress.back(),
            (Progress{"Export failed!", "See details for more information.", 100}));
}

TEST(WriteExportFile, ReadOnlyTargetIsReplaced) {
  TempDir dir;
  const std::string path = dir.File("ro.vle");
  ASSERT_TRUE(WriteFileBytes(path, "old"));
  ASSERT_EQ(chmod(path.c_str(), 0444), 0);
  TFolder root;
  AddItem(root, "a", "b");
  TRecorder rec;
  WriteExportFile(path, root, "1", rec);
  EXPECT_EQ(ReadFileBytes(path), "KVLMN 1\r\n\r\nName;Kind;Value;\r\na;1;b;\r\n");
  struct stat st;
  ASSERT_EQ(stat(path.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, kExportMode);
  EXPECT_EQ(rec.progress.back().title, "Export finished.");
  EXPECT_EQ(FolderEntries(dir.Path()), std::vector<std::string>{"ro.vle"});
}

TEST(WriteExportFile, UnwritablePlacesFailInTheDialog) {
  TempDir dir;
  ASSERT_TRUE(WriteFileBytes(dir.File("plain"), "x"));
  ASSERT_TRUE(fs::create_directory(dir.File("folder.vle")));
  struct Case {
    std::string path, error;
  };
  const std::vector<Case> cases = {
      // The parent is a regular file: nothing can be created there.
      {dir.File("plain/out.vle"),
       "Error: Cannot create file '" + dir.File("plain/out.vle") + "': "},
      // A folder stands where the file should go: the finished file cannot take its place.
      {dir.File("folder.vle"), "Error: Cannot replace file '" + dir.File("folder.vle") + "': "},
  };
  TFolder root;
  AddItem(root, "a", "b");
  for (const Case& c : cases) {
    TRecorder rec;
    WriteExportFile(c.path, root, "1", rec);
    ASSERT_FALSE(rec.details.empty());
    EXPECT_TRUE(rec.details.back().error);
    EXPECT_EQ(rec.details.back().text.rfind(c.error, 0), 0u) << rec.details.back().text;
    EXPECT_EQ(rec.progress.back(),
              (Progress{"Export failed!", "See details for more information.", 100}));
  }
  EXPECT_EQ(FolderEntries(dir.Path()), (std::vector<std::string>{"folder.vle", "plain"}));
  EXPECT_TRUE(fs::is_directory(dir.File("folder.vle")));
}

// ---------------------------------------------------------------- file names

TEST(ExportFileNames, ExtensionAndExistenceChecks) {
  TempDir dir;
  ASSERT_TRUE(WriteFileBytes(dir.File("a.vle"), ""));
  ASSERT_TRUE(WriteFileBytes(dir.File("b.VlE"), ""));
  ASSERT_TRUE(WriteFileBytes(dir.File("c.txt"), ""));
  ASSERT_TRUE(fs::create_directory(dir.File("d.vle")));
  ASSERT_TRUE(WriteFileBytes(dir.File("d.vle/noext"), ""));

  const std::string badExt = "Invalid export file extension.";
  const std::string badName = "Invalid export file name.";
  struct Case {
    std::string name;
    std::string exportError, importError;  // "" = accepted
  };
  const std::vector<Case> cases = {
      {dir.File("a.vle"), "", ""},
      {dir.File("b.VlE"), "", ""},
      {dir.File("c.txt"), badExt, badExt},
      {dir.File("missing.vle"), "", badName},
      {dir.File("missing.txt"), badExt, badName},  // existence is checked first
      {dir.File("d.vle/noext"), badExt, badExt},   // a dot in a folder name is no extension
      {dir.File("a.vle.bak"), badExt, badName},
      {dir.File("d.vle"), "", badName},  // a folder is not a file
      {"x.vlex", badExt, badName},
  };
  auto errorOf = [](auto check, const std::string& name, std::string* details) -> std::string {
    try {
      check(name);
    } catch (const ESLException& e) {
      *details = e.Details;
      EXPECT_EQ(e.MessageType, smtWarning);
      return e.Message();
    }
    return "";
  };
  for (const Case& c : cases) {
    std::string details;
    EXPECT_EQ(errorOf(CheckExportFileExt, c.name, &details), c.exportError) << c.name;
    if (!c.exportError.empty()) {
      EXPECT_EQ(details, "Export files must have '.vle' extension.");
    }
    EXPECT_EQ(errorOf(CheckImportFileName, c.name, &details), c.importError) << c.name;
    if (c.importError == badName) {
      EXPECT_EQ(details, badName);
    }
  }
}
