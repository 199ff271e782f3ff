// Export and import of a library of 100,000 items through the export file
// routines, against the same run's baseline: the very same bytes written line
// by line with plain buffered stdio, and read back line by line with
// std::getline. After the run a table gives each figure as a multiple of its
// baseline.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "exchange/clsExportFile.h"

namespace {

constexpr int kItems = 100000;
constexpr int kItemsPerFolder = 100;

const char* const kWords[] = {"Signature", "Customer", "Reply",   "Invoice", "Address",
                              "Meeting",   "Login",    "Support", "Order",   "Greeting"};
const char* const kLines[] = {"Dear Mrs. Holloway,",
                              "thank you for your message of last Tuesday.",
                              "Kind regards",
                              "Jonas Brandt - Accounts - +49 30 1234 5678",
                              "ssh deploy@build-07.example.net -p 2222",
                              "Unit 4, Riverside Park, Leeds LS10 1AB"};

// 1,000 folders of 100 items, each value two to four lines.
TFolder& Library() {
  static TFolder* root = [] {
    auto* r = new TFolder;
    TFolder* folder = nullptr;
    for (int n = 0; n < kItems; ++n) {
      if (n % kItemsPerFolder == 0) {
        folder = new TFolder;
        folder->Name = "Folder " + std::to_string(n / kItemsPerFolder);
        r->Folders.Add(folder);
      }
      auto* item = new TPasteItem;
      item->Name =
          std::string(kWords[n % 10]) + " " + kWords[(n / 10) % 10] + " " + std::to_string(n);
      item->Kind = 1;
      for (int line = 0; line < 2 + n % 3; ++line) {
        if (line) item->Value += "\r\n";
        item->Value += kLines[(n + line) % 6];
      }
      folder->Items.Add(item);
    }
    return r;
  }();
  return *root;
}

std::string Folder() {
  static std::string dir = [] {
    std::string pattern =
        (std::filesystem::temp_directory_path() / "vellumin-bench-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) std::abort();
    std::atexit([] { std::filesystem::remove_all(Folder()); });
    return pattern;
  }();
  return dir;
}

// The file's lines, without their CR LF, as the export writes them.
const std::vector<std::string>& FileLines() {
  static std::vector<std::string> lines = [] {
    std::vector<std::string> l = {"KVLMN 1.0.0 Build 1", "", kExportHeader};
    for (const TFolder* folder : Library().Folders)
      for (const TPasteItem* item : folder->Items) l.push_back(ItemLine(*item));
    return l;
  }();
  return lines;
}

// Counts what the run reports, as cheaply as possible.
class TCountingProgress : public IImpExpProgress {
 public:
  size_t rows = 0, errors = 0, shows = 0;
  void ShowProgress(const std::string&, const std::string&, int) override { ++shows; }
  void AddDetail(const std::string&, bool error) override {
    ++rows;
    errors += error;
  }
};

// Mean wall-clock and processor seconds per run, by benchmark name.
std::map<std::string, std::pair<double, double>> g_seconds;

// Wall-clock and processor time of the measured parts of a benchmark.
class TStopwatch {
 public:
  void Start() {
    wall0_ = std::chrono::steady_clock::now();
    cpu0_ = std::clock();
  }
  void Stop() {
    wall_ += std::chrono::duration<double>(std::chrono::steady_clock::now() - wall0_).count();
    cpu_ += static_cast<double>(std::clock() - cpu0_) / CLOCKS_PER_SEC;
  }
  void Record(benchmark::State& state, const std::string& name) const {
    const double runs = static_cast<double>(state.iterations());
    g_seconds[name] = {wall_ / runs, cpu_ / runs};
    state.SetItemsProcessed(state.iterations() * kItems);
  }

 private:
  std::chrono::steady_clock::time_point wall0_;
  std::clock_t cpu0_ = 0;
  double wall_ = 0, cpu_ = 0;
};

void BM_ExportFile(benchmark::State& state) {
  TFolder& root = Library();
  const std::string path = Folder() + "/export.vle";
  TStopwatch watch;
  for (auto _ : state) {
    TCountingProgress progress;
    watch.Start();
    WriteExportFile(path, root, "1.0.0 Build 1", progress);
    watch.Stop();
    if (progress.errors != 0 || progress.rows != kItems + 1) state.SkipWithError("export failed");
  }
  watch.Record(state, "ExportFile");
}

void BM_ExportBaseline(benchmark::State& state) {
  const std::vector<std::string>& lines = FileLines();
  const std::string path = Folder() + "/baseline.vle";
  TStopwatch watch;
  for (auto _ : state) {
    watch.Start();
    std::FILE* f = std::fopen(path.c_str(), "wb");
    for (const std::string& line : lines) {
      std::fwrite(line.data(), 1, line.size(), f);
      std::fwrite("\r\n", 1, 2, f);
    }
    std::fclose(f);
    watch.Stop();
  }
  watch.Record(state, "ExportBaseline");
}

void BM_ImportFile(benchmark::State& state) {
  const std::string path = Folder() + "/import.vle";
  {
    TCountingProgress progress;
    WriteExportFile(path, Library(), "1.0.0 Build 1", progress);
  }
  TStopwatch watch;
  for (auto _ : state) {
    TFolder root;
    TCountingProgress progress;
    watch.Start();
    TFolder* folder = ReadExportFile(path, root, progress);
    watch.Stop();
    if (folder == nullptr || folder->Items.Count() != kItems) state.SkipWithError("import failed");
    state.PauseTiming();  // freeing the imported items is not part of the import
    root.Folders.Clear();
    state.ResumeTiming();
  }
  watch.Record(state, "ImportFile");
}

void BM_ImportBaseline(benchmark::State& state) {
  const std::string path = Folder() + "/import.vle";
  TStopwatch watch;
  for (auto _ : state) {
    watch.Start();
    std::ifstream in(path, std::ios::binary);
    std::vector<std::string> lines;
    std::string line;
    while (std::getline(in, line)) lines.push_back(line);
    watch.Stop();
    benchmark::DoNotOptimize(lines.data());
    if (lines.size() != kItems + 3) state.SkipWithError("baseline read failed");
  }
  watch.Record(state, "ImportBaseline");
}

}  // namespace

BENCHMARK(BM_ExportBaseline)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ExportFile)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ImportFile)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ImportBaseline)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  Library();
  FileLines();
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  std::printf("\n%-8s %10s %10s %7s   %10s %10s %7s\n", "run", "wall ms", "baseline", "ratio",
              "cpu ms", "baseline", "ratio");
  for (const char* run : {"Export", "Import"}) {
    const std::string r = run;
    if (!g_seconds.count(r + "File") || !g_seconds.count(r + "Baseline")) continue;
    const auto [wall, cpu] = g_seconds[r + "File"];
    const auto [baseWall, baseCpu] = g_seconds[r + "Baseline"];
    std::printf("%-8s %10.1f %10.1f %6.2fx   %10.1f %10.1f %6.2fx\n", run, wall * 1000,
                baseWall * 1000, wall / baseWall, cpu * 1000, baseCpu * 1000, cpu / baseCpu);
  }
  return 0;
}
