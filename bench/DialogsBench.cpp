// The search: 100,000 items, all fields, match case off, against the
// baseline of a plain substring scan over the same texts (same run); and the
// search dialog's list filled and sorted for 10,000 hits.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "library/clsLibrary.h"
#include "ui/dialogs/clsSearch.h"

#ifdef DIALOGS_BENCH_UI
#include <QApplication>
#include <QLineEdit>
#include <QTreeWidget>

#include "framework/SLActions.h"
#include "ui/dialogs/frmSearch.h"
#endif

namespace {

// 100 folders of 1,000 items; every tenth item holds "Needle" in its value.
TFolder* Library() {
  static TFolder* root = [] {
    auto* r = new TFolder;
    r->Name = "Root";
    int n = 0;
    for (int f = 0; f < 100; ++f) {
      auto* folder = new TFolder;
      folder->Name = "Folder " + std::to_string(f);
      for (int i = 0; i < 1000; ++i, ++n) {
        auto* item = new TPasteItem;
        item->Name = "Item number " + std::to_string(n) + " of the library";
        item->Value = "Some text of a paste item, line one\r\nline two " + std::to_string(n * 7919) +
                      (n % 10 == 0 ? " Needle" : " haystack") + " and a longer tail of words";
        folder->Items.Add(item);
      }
      r->Folders.Add(folder);
    }
    return r;
  }();
  return root;
}

void CollectTexts(TFolder& folder, std::vector<const std::string*>& names,
                  std::vector<const std::string*>& values) {
  for (int i = 0; i < folder.Items.Count(); ++i) {
    names.push_back(&folder.Items[i]->Name);
    values.push_back(&folder.Items[i]->Value);
  }
  for (int i = 0; i < folder.Folders.Count(); ++i) CollectTexts(*folder.Folders[i], names, values);
}

// Baseline: std::string::find over the same names and values, case as typed.
void BM_PlainSubstringScan(benchmark::State& state) {
  std::vector<const std::string*> names, values;
  CollectTexts(*Library(), names, values);
  for (auto _ : state) {
    size_t hits = 0;
    for (size_t i = 0; i < names.size(); ++i)
      if (names[i]->find("needle") != std::string::npos ||
          values[i]->find("needle") != std::string::npos)
        ++hits;
    benchmark::DoNotOptimize(hits);
  }
  state.SetItemsProcessed(int64_t(state.iterations()) * int64_t(names.size()));
}
BENCHMARK(BM_PlainSubstringScan)->Unit(benchmark::kMillisecond);

void BM_SearchAllFieldsNoCase(benchmark::State& state) {
  std::vector<TSearchHit> hits;
  for (auto _ : state) {
    hits.clear();
    FindPasteItems(*Library(), "needle", TSearchField::AllFields, false, hits);
    benchmark::DoNotOptimize(hits.data());
  }
  state.counters["hits"] = double(hits.size());
  state.SetItemsProcessed(int64_t(state.iterations()) * 100000);
}
BENCHMARK(BM_SearchAllFieldsNoCase)->Unit(benchmark::kMillisecond);

#ifdef DIALOGS_BENCH_UI
// The dialog's whole search command: 10,000 rows built, added and sorted.
void BM_SearchDialogTenThousandRows(benchmark::State& state) {
  RootFolder = Library();
  TSearchDlg dialog;
  dialog.findChild<QLineEdit*>("txtSearchText")->setText("needle");
  for (auto _ : state) dialog.alActions->Execute(dialog.actSearch);
  state.counters["rows"] = dialog.findChild<QTreeWidget*>("lvItems")->topLevelItemCount();
  RootFolder = nullptr;
}
BENCHMARK(BM_SearchDialogTenThousandRows)->Unit(benchmark::kMillisecond);
#endif

}  // namespace

int main(int argc, char** argv) {
#ifdef DIALOGS_BENCH_UI
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
#endif
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
