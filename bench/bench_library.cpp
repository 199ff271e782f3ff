// Saving and loading the library through the on-disk registry hive, against
// the plainest alternative: the same names and values written once as one
// flat file with one fsync, and that file read back and split into items.
//
// The library has 20 items per folder in folders three levels deep. After the
// run a table gives each hive figure as a multiple of its baseline.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "library/clsLibrary.h"
#include "platform/linux/SqliteHive.h"

namespace {

constexpr RegHive kCU = RegHive::CurrentUser;
const std::string kLibraryKey = "Software\\Kestrelay\\Kestrelay Ardentry\\Vellumin\\Folders";
constexpr int kItemsPerFolder = 20;
constexpr int kFoldersPerFolder = 10;

// --- A realistic library ------------------------------------------------------

const char* const kWords[] = {"Signature", "Customer", "Reply",   "Invoice", "Address",
                              "Meeting",   "Login",    "Support", "Order",   "Greeting",
                              "Project",   "Weekly",   "Report",  "Server",  "Password hint"};
const char* const kLines[] = {"Dear Mrs. Holloway,",
                              "thank you for your message of last Tuesday.",
                              "Please find the figures for the second quarter attached.",
                              "Kind regards",
                              "Jonas Brandt - Accounts - +49 30 1234 5678",
                              "ssh deploy@build-07.example.net -p 2222",
                              "SELECT id, name FROM customers WHERE region = 'north';",
                              "Unit 4, Riverside Park, Leeds LS10 1AB"};

std::string ItemName(int n) {
  return std::string(kWords[n % 15]) + " " + kWords[(n / 15) % 15] + " " + std::to_string(n);
}

std::string ItemValue(int n) {
  std::string v;
  for (int line = 0; line < 2 + n % 5; ++line) {
    if (line) v += "\r\n";
    v += kLines[(n + line * 3) % 8];
  }
  return v;
}

// Leaf folders of 20 items, ten leaves to a middle folder, ten middles to a
// top folder: three levels below the root.
std::unique_ptr<TFolder> MakeLibrary(int items) {
  auto root = std::make_unique<TFolder>();
  root->Name = "Root";
  int made = 0;
  for (int t = 0; made < items; ++t) {
    auto* top = new TFolder;
    top->Name = std::string(kWords[t % 15]) + " folder " + std::to_string(t);
    root->Folders.Add(top);
    for (int m = 0; m < kFoldersPerFolder && made < items; ++m) {
      auto* mid = new TFolder;
      mid->Name = "Group " + std::to_string(m);
      top->Folders.Add(mid);
      for (int l = 0; l < kFoldersPerFolder && made < items; ++l) {
        auto* leaf = new TFolder;
        leaf->Name = std::string(kWords[(t + l) % 15]) + " texts";
        mid->Folders.Add(leaf);
        for (int i = 0; i < kItemsPerFolder && made < items; ++i, ++made) {
          auto* item = new TPasteItem;
          item->Name = ItemName(made);
          item->Kind = 1;
          item->Value = ItemValue(made);
          leaf->Items.Add(item);
        }
      }
    }
  }
  return root;
}

TPasteItem* FirstItem(TFolder& root) {
  TFolder* f = &root;
  while (f->Items.Count() == 0) f = f->Folders[0];
  return f->Items[0];
}

// --- The flat file baseline ---------------------------------------------------

// One record per folder and item: key path, name, kind, value.
constexpr char kField = '\x1f';
constexpr char kRecord = '\x1e';

void Flatten(const TFolder& folder, const std::string& path, std::string& out) {
  out += path + kField + folder.Name + kField + kField + kRecord;
  for (int n = 0; n < folder.Folders.Count(); ++n)
    Flatten(*folder.Folders[n], path + "\\f_" + std::to_string(n), out);
  for (int n = 0; n < folder.Items.Count(); ++n) {
    const TPasteItem& item = *folder.Items[n];
    out += path + "\\i_" + std::to_string(n) + kField + item.Name + kField +
           std::to_string(item.Kind) + kField + item.Value + kRecord;
  }
}

bool WriteFlat(const std::string& file, const TFolder& root) {
  std::string bytes;
  Flatten(root, "", bytes);
  int fd = open(file.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
  if (fd < 0) return false;
  bool ok = write(fd, bytes.data(), bytes.size()) == static_cast<ssize_t>(bytes.size());
  ok = fsync(fd) == 0 && ok;
  close(fd);
  return ok;
}

struct FlatRecord {
  std::string path, name, kind, value;
};

std::vector<FlatRecord> ReadFlat(const std::string& file) {
  std::string bytes;
  if (FILE* f = std::fopen(file.c_str(), "rb")) {
    char buf[1 << 16];
    size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) bytes.append(buf, n);
    std::fclose(f);
  }
  std::vector<FlatRecord> records;
  size_t pos = 0;
  while (pos < bytes.size()) {
    size_t end = bytes.find(kRecord, pos);
    if (end == std::string::npos) end = bytes.size();
    FlatRecord r;
    std::string* fields[] = {&r.path, &r.name, &r.kind, &r.value};
    for (int i = 0; i < 4 && pos <= end; ++i) {
      size_t stop = i < 3 ? bytes.find(kField, pos) : end;
      if (stop == std::string::npos || stop > end) stop = end;
      fields[i]->assign(bytes, pos, stop - pos);
      pos = stop + 1;
    }
    records.push_back(std::move(r));
    pos = end + 1;
  }
  return records;
}

// --- Shared set-up per library size ------------------------------------------

struct Setup {
  std::string dir;
  std::unique_ptr<TFolder> library;
  std::string Hive() const { return dir + "/HKCU.hive"; }
  std::string Flat() const { return dir + "/library.flat"; }
};

std::string MakeTempDir() {
  std::string pattern = (std::filesystem::temp_directory_path() / "vellumin-bench-XXXXXX").string();
  return mkdtemp(pattern.data()) ? pattern : std::string();
}

// The library of `items` items, saved once in a hive file and a flat file.
std::map<int, Setup>& Setups() {
  static std::map<int, Setup> setups;
  return setups;
}

Setup& SetupFor(int items) {
  auto& setups = Setups();
  auto it = setups.find(items);
  if (it != setups.end()) return it->second;
  Setup& s = setups[items];
  s.dir = MakeTempDir();
  s.library = MakeLibrary(items);
  SqliteRegistry registry(s.Hive(), ":memory:");
  SetRegistry(&registry);
  SaveLibrary(kCU, kLibraryKey, *s.library);
  SetRegistry(nullptr);
  WriteFlat(s.Flat(), *s.library);
  return s;
}

// --- Benchmarks ---------------------------------------------------------------

void BM_FlatWrite(benchmark::State& state) {
  Setup& s = SetupFor(static_cast<int>(state.range(0)));
  for (auto _ : state)
    if (!WriteFlat(s.Flat(), *s.library)) state.SkipWithError("flat write failed");
  state.counters["items"] = static_cast<double>(state.range(0));
}

// Teardown is left out of the load figures on both sides: the program loads
// once at start-up and keeps what it loaded.
void BM_FlatRead(benchmark::State& state) {
  Setup& s = SetupFor(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    auto records = ReadFlat(s.Flat());
    benchmark::DoNotOptimize(records.data());
    state.PauseTiming();
    records = {};
    state.ResumeTiming();
  }
}

// The save the program makes after every command: here one item renamed.
void BM_HiveSaveAfterRename(benchmark::State& state) {
  Setup& s = SetupFor(static_cast<int>(state.range(0)));
  SqliteRegistry registry(s.Hive(), ":memory:");
  SetRegistry(&registry);
  TPasteItem* item = FirstItem(*s.library);
  const std::string original = item->Name;
  int round = 0;
  for (auto _ : state) {
    item->Name = original + (++round % 2 ? " (renamed)" : "");
    SaveLibrary(kCU, kLibraryKey, *s.library);
  }
  item->Name = original;
  SaveLibrary(kCU, kLibraryKey, *s.library);
  SetRegistry(nullptr);
}

// A save into a hive that holds no library yet: every row is new.
void BM_HiveSaveNew(benchmark::State& state) {
  Setup& s = SetupFor(static_cast<int>(state.range(0)));
  const std::string file = s.dir + "/empty.hive";
  for (auto _ : state) {
    state.PauseTiming();
    std::filesystem::remove(file);
    std::filesystem::remove(file + "-wal");
    std::filesystem::remove(file + "-shm");
    auto registry = std::make_unique<SqliteRegistry>(file, ":memory:");
    SetRegistry(registry.get());
    state.ResumeTiming();
    SaveLibrary(kCU, kLibraryKey, *s.library);
    state.PauseTiming();
    SetRegistry(nullptr);
    registry.reset();
    state.ResumeTiming();
  }
}

// Start-up's load: open the hive file and load the library from it.
void BM_HiveLoad(benchmark::State& state) {
  Setup& s = SetupFor(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    auto registry = std::make_unique<SqliteRegistry>(s.Hive(), ":memory:");
    SetRegistry(registry.get());
    auto root = std::make_unique<TFolder>();
    root->LoadFromRegistry(kCU, kLibraryKey);
    benchmark::DoNotOptimize(root->Folders.Count());
    state.PauseTiming();
    SetRegistry(nullptr);
    root.reset();
    registry.reset();
    state.ResumeTiming();
  }
}

void Sizes(benchmark::internal::Benchmark* b) {
  b->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)->UseRealTime();
  // Medians of several runs: the machine is shared, single runs scatter.
  b->Repetitions(5)->ReportAggregatesOnly(true);
}

BENCHMARK(BM_FlatWrite)->Apply(Sizes);
BENCHMARK(BM_FlatRead)->Apply(Sizes);
BENCHMARK(BM_HiveSaveAfterRename)->Apply(Sizes);
BENCHMARK(BM_HiveSaveNew)->Apply(Sizes);
BENCHMARK(BM_HiveLoad)->Apply(Sizes);

// --- Ratios -------------------------------------------------------------------

// Prints what the console reporter prints, then each hive figure divided by
// its baseline of the same size, in wall time and in CPU time (on a busy
// machine the wall time mostly measures the wait for a core).
class RatioReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& r : runs)
      if (r.run_type == Run::RT_Aggregate && r.aggregate_name == "median" && !r.error_occurred)
        times_[r.run_name.function_name + "/" + r.run_name.args] = {r.GetAdjustedRealTime(),
                                                                    r.GetAdjustedCPUTime()};
  }
  void Finalize() override {
    ConsoleReporter::Finalize();
    std::printf("\n%-28s %9s %9s %7s %9s %9s %7s\n", "medians (ms)", "hive", "base", "ratio",
                "hive cpu", "base cpu", "ratio");
    for (const char* size : {"1000", "10000", "100000"}) {
      Ratio("BM_HiveSaveAfterRename", "BM_FlatWrite", size);
      Ratio("BM_HiveSaveNew", "BM_FlatWrite", size);
      Ratio("BM_HiveLoad", "BM_FlatRead", size);
    }
  }

 private:
  struct Times {
    double real, cpu;  // per iteration, in the unit set: ms
  };
  void Ratio(const std::string& hive, const std::string& base, const std::string& size) {
    auto h = times_.find(hive + "/" + size);
    auto b = times_.find(base + "/" + size);
    if (h == times_.end() || b == times_.end() || b->second.real <= 0 || b->second.cpu <= 0) return;
    const Times& x = h->second;
    const Times& y = b->second;
    std::printf("%-28s %9.2f %9.2f %7.2f %9.2f %9.2f %7.2f\n",
                (hive.substr(3) + "/" + size).c_str(), x.real, y.real, x.real / y.real, x.cpu,
                y.cpu, x.cpu / y.cpu);
  }
  std::map<std::string, Times> times_;
};

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  std::error_code ec;
  for (auto& [items, setup] : Setups()) std::filesystem::remove_all(setup.dir, ec);
  return 0;
}
