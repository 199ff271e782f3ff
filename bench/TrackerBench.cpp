// One tick of the foreground-window tracker on the scripted desktop: the two
// window texts read and cut, the pass over the tracking rules, LastWindow and
// the status text updated. The window system is a table here, so the figure
// is the tracker's own work; the desktop's calls come on top.
#include <benchmark/benchmark.h>

#include <string>

#include "FakeDesktop.h"
#include "paste/clsTracker.h"
#include "rules/clsOptions.h"

namespace {

class TNullView : public ITrackerView {
 public:
  TWindowHandle MainWindowHandle() override { return 1; }
  void ShowLastWindow(const std::string& text) override { benchmark::DoNotOptimize(text.data()); }
};

void BM_TrackerTick(benchmark::State& state) {
  const int ruleCount = static_cast<int>(state.range(0));
  TFakeDesktop desk;
  std::string caption;
  while (caption.size() < 240) caption += "Quarterly report \xE2\x80\x94 draft ";
  desk.AddWindow(10, "OpusDocumentWindowClass", caption);
  desk.Foreground = 10;
  TVLMNOptions options;
  // None matches, so every tick makes the whole pass.
  for (int i = 0; i < ruleCount; ++i) {
    auto* rule = new TSLTrackingRule;
    rule->Attribute = i % 2 == 0 ? raClassName : raCaption;
    rule->Comparison = i % 4 < 2 ? rcEqual : rcContains;
    rule->Value = "Excluded window " + std::to_string(i);
    options.TrackingRules.Add(rule);
  }
  VLMNOptions = &options;
  TNullView view;
  for (auto _ : state) {
    TrackForegroundWindow(view);
    benchmark::DoNotOptimize(LastWindow);
  }
  VLMNOptions = nullptr;
  LastWindow = kNoWindow;
}
// 0 rules is the baseline: reading the texts and updating the status text.
BENCHMARK(BM_TrackerTick)->Arg(0)->Arg(100);

}  // namespace
