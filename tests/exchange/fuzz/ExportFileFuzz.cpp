// libFuzzer target for the export file reader: any bytes must either import
// or fail cleanly, leaving the library as it was, and whatever imports must
// come back identical when written out and read again.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "app/SLApplication.h"
#include "exchange/clsExportFile.h"

// The fuzz run has no application descriptor: messages fall back to English.
TSLApplication* SLApplication = nullptr;

namespace {

class TSilentProgress : public IImpExpProgress {
 public:
  void ShowProgress(const std::string&, const std::string&, int position) override {
    if (position < 0 || position > 100) std::abort();
  }
  void AddDetail(const std::string&, bool) override {}
};

bool SameItems(const TFolder& a, const TFolder& b) {
  if (a.Items.Count() != b.Items.Count()) return false;
  for (int i = 0; i < a.Items.Count(); ++i) {
    const TPasteItem& x = *a.Items[i];
    const TPasteItem& y = *b.Items[i];
    if (x.Name != y.Name || x.Kind != y.Kind || x.Value != y.Value) return false;
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  TSilentProgress progress;
  TFolder root;
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  TFolder* imported = ReadExportData(bytes, root, progress);
  if (imported == nullptr) {
    if (root.Folders.Count() != 0) std::abort();  // a failed import must leave nothing behind
    return 0;
  }
  if (root.Folders.Count() != 1 || root.Folders[0] != imported) std::abort();

  // Items read from a file hold no lone line breaks and no ";", so their lines
  // must read back to the very same items.
  std::string again = std::string(kExportSignature) + "\r\n\r\n" + kExportHeader + "\r\n";
  for (const TPasteItem* item : imported->Items) again += ItemLine(*item) + "\r\n";
  TFolder second;
  TFolder* back = ReadExportData(again, second, progress);
  if (back == nullptr || !SameItems(*imported, *back)) std::abort();
  return 0;
}
