// The main window's work after a change of the library and when it opens:
// LibraryChanged (the whole library written to the registry hive, then the
// tray menu rebuilt) and BuildTree (the whole tree made anew), at 1,000,
// 10,000 and 100,000 items. The baseline, measured in the same run, is the
// plainest way to keep the same library: its names and values written as one
// flat file with one fsync.
//
// The library has 20 items per folder, three folder levels deep. After the
// run a table gives each figure as a multiple of the baseline.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <QApplication>
#include <cstdio>
#include <filesystem>
#include <map>
#include <memory>
#include <string>

#include "app/SLApplication.h"
#include "library/clsLibrary.h"
#include "platform/linux/SqliteHive.h"
#include "rules/clsOptions.h"
#include "ui/main/frmMain.h"

namespace {

const char* const kWords[] = {"Signature", "Customer", "Reply",   "Invoice", "Address",
                              "Meeting",   "Login",    "Support", "Order",   "Greeting"};

// Leaf folders of 20 items, ten leaves to a middle folder, ten middles to a
// top folder.
void FillLibrary(TFolder& root, int items) {
  int made = 0;
  for (int t = 0; made < items; ++t) {
    auto* top = new TFolder;
    top->Name = std::string(kWords[t % 10]) + " folder " + std::to_string(t);
    root.Folders.Add(top);
    for (int m = 0; m < 10 && made < items; ++m) {
      auto* mid = new TFolder;
      mid->Name = "Group " + std::to_string(m);
      top->Folders.Add(mid);
      for (int l = 0; l < 10 && made < items; ++l) {
        auto* leaf = new TFolder;
        leaf->Name = std::string(kWords[l % 10]) + " texts";
        mid->Folders.Add(leaf);
        for (int i = 0; i < 20 && made < items; ++i, ++made) {
          auto* item = new TPasteItem;
          item->Name = std::string(kWords[made % 10]) + " " + std::to_string(made);
          item->Kind = 1;
          item->Value = "Dear Mrs. Holloway,\r\nthank you for your message of " +
                        std::to_string(made) + " last Tuesday.";
          leaf->Items.Add(item);
        }
      }
    }
  }
}

void Flatten(const TFolder& folder, const std::string& path, std::string& out) {
  out += path + '\x1f' + folder.Name + '\x1e';
  for (int n = 0; n < folder.Folders.Count(); ++n)
    Flatten(*folder.Folders[n], path + "\\f_" + std::to_string(n), out);
  for (int n = 0; n < folder.Items.Count(); ++n) {
    const TPasteItem& item = *folder.Items[n];
    out += path + "\\i_" + std::to_string(n) + '\x1f' + item.Name + '\x1f' +
           std::to_string(item.Kind) + '\x1f' + item.Value + '\x1e';
  }
}

bool WriteFlat(const std::string& file, const TFolder& root) {
  std::string bytes;
  Flatten(root, "", bytes);
  const int fd = open(file.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
  if (fd < 0) return false;
  bool ok = write(fd, bytes.data(), bytes.size()) == static_cast<ssize_t>(bytes.size());
  ok = fsync(fd) == 0 && ok;
  close(fd);
  return ok;
}

// One program state per library size: a hive file holding the library, the
// process-wide objects and a hidden main window, as after start-up.
struct Program {
  std::string dir;
  std::unique_ptr<SqliteRegistry> registry;
  TVLMNMain* window = nullptr;
};

std::map<int, Program>& Programs() {
  static std::map<int, Program> programs;
  return programs;
}

Program& ProgramFor(int items) {
  auto it = Programs().find(items);
  if (it != Programs().end()) {
    SetRegistry(it->second.registry.get());
    RootFolder = static_cast<TFolder*>(TItemsTree::NodeObject(it->second.window->RootNode()));
    VLMNMain = it->second.window;
    return it->second;
  }
  Program& p = Programs()[items];
  std::string pattern =
      (std::filesystem::temp_directory_path() / "vellumin-mainbench-XXXXXX").string();
  p.dir = mkdtemp(pattern.data()) ? pattern : std::string("/tmp");
  p.registry = std::make_unique<SqliteRegistry>(p.dir + "/HKCU.hive", ":memory:");
  SetRegistry(p.registry.get());
  if (SLApplication == nullptr) {
    SLApplication = new TSLApplication;
    SLApplication->ProductKey = kProductKey;
    SLApplication->Title = kApplicationTitle;
    VLMNOptions = new TVLMNOptions;
    VLMNOptions->ShowTips = false;
  }
  RootFolder = new TFolder;
  FillLibrary(*RootFolder, items);
  SaveLibrary(RegHive::CurrentUser, LibraryKey(kProductKey), *RootFolder);
  p.window = new TVLMNMain;
  VLMNMain = p.window;
  return p;
}

TPasteItem* FirstItem() {
  TFolder* f = RootFolder;
  while (f->Items.Count() == 0) f = f->Folders[0];
  return f->Items[0];
}

void BM_FlatFile(benchmark::State& state) {
  Program& p = ProgramFor(static_cast<int>(state.range(0)));
  for (auto _ : state)
    if (!WriteFlat(p.dir + "/library.flat", *RootFolder)) state.SkipWithError("write failed");
}

// A rename: one name changes, the library is written and the tray menu rebuilt.
void BM_LibraryChanged(benchmark::State& state) {
  Program& p = ProgramFor(static_cast<int>(state.range(0)));
  TPasteItem* item = FirstItem();
  int n = 0;
  for (auto _ : state) {
    item->Name = "Renamed " + std::to_string(++n);
    p.window->LibraryChanged();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);  // the old menu entries
  }
  state.counters["tray entries"] = p.window->TrayItems.Count();
}

// The two halves of LibraryChanged.
void BM_SaveLibrary(benchmark::State& state) {
  ProgramFor(static_cast<int>(state.range(0)));
  TPasteItem* item = FirstItem();
  int n = 0;
  for (auto _ : state) {
    item->Name = "Saved " + std::to_string(++n);
    SaveLibrary(RegHive::CurrentUser, LibraryKey(kProductKey), *RootFolder);
  }
}

void BM_BuildTrayMenu(benchmark::State& state) {
  Program& p = ProgramFor(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    p.window->BuildTrayMenu();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }
}

void BM_BuildTree(benchmark::State& state) {
  Program& p = ProgramFor(static_cast<int>(state.range(0)));
  for (auto _ : state) p.window->BuildTree(true);
}

void Sizes(benchmark::internal::Benchmark* b) {
  b->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)->UseRealTime();
}
BENCHMARK(BM_FlatFile)->Apply(Sizes);
BENCHMARK(BM_LibraryChanged)->Apply(Sizes);
BENCHMARK(BM_SaveLibrary)->Apply(Sizes);
BENCHMARK(BM_BuildTrayMenu)->Apply(Sizes);
BENCHMARK(BM_BuildTree)->Apply(Sizes);

// Prints each figure as a multiple of the flat file of the same size.
class RatioReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs) times_[run.benchmark_name()] = run.GetAdjustedRealTime();
    ConsoleReporter::ReportRuns(runs);
  }
  void Finalize() override {
    ConsoleReporter::Finalize();
    std::printf("\n%-28s %10s %10s %8s\n", "vs flat file", "ms", "flat ms", "ratio");
    for (const auto& [name, ms] : times_) {
      const size_t slash = name.find('/');
      if (name.rfind("BM_FlatFile", 0) == 0 || slash == std::string::npos) continue;
      const auto base = times_.find("BM_FlatFile" + name.substr(slash));
      if (base == times_.end() || base->second <= 0) continue;
      std::printf("%-28s %10.2f %10.2f %8.2f\n", name.c_str(), ms, base->second, ms / base->second);
    }
  }

 private:
  std::map<std::string, double> times_;
};

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  // The windows, the library and the hives are left to the end of the process.
  return 0;
}
