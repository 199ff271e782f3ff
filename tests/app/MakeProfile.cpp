// Writes the per-user hive of a program that has run before, for the tray
// benchmark and the desktop tests: the library, the first-run mark and the
// options with the tip of the day turned off.
//
//   make_profile <registry dir> <items> [--xterm-rule]
//
// --xterm-rule adds a pasting rule for xterm (class name "XTerm"): Shift+Insert
// instead of Ctrl+V, which xterm does not take as a paste.
// The hive goes to <registry dir>/HKCU.hive (the place VELLUMIN_REGISTRY_DIR
// gives the program). With 0 items the library is the sample library of the
// first run; otherwise <items> paste items "Item n" in folders of 100, each
// with a value of about 60 characters.
#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#include "XTermRule.h"
#include "app/SLApplication.h"
#include "app/Startup.h"
#include "app/Strings.h"
#include "library/SLRegistry.h"
#include "library/clsLibrary.h"
#include "platform/linux/SqliteHive.h"
#include "rules/clsOptions.h"

namespace {

void FillLibrary(TFolder& root, int items) {
  root.Name = Text(Str::SampleRootName);
  TFolder* folder = nullptr;
  for (int n = 1; n <= items; ++n) {
    if ((n - 1) % 100 == 0) {
      folder = new TFolder;
      folder->Name = "Folder " + std::to_string(root.Folders.Count() + 1);
      root.Folders.Add(folder);
    }
    auto* item = new TPasteItem;
    item->Name = "Item " + std::to_string(n);
    item->Kind = 1;
    item->Value = "Paste text number " + std::to_string(n) + " for the tray menu benchmark";
    item->Value.resize(60, '.');
    folder->Items.Add(item);
  }
}

}  // namespace

int main(int argc, char** argv) {
  const bool xtermRule = argc == 4 && std::strcmp(argv[3], "--xterm-rule") == 0;
  if (argc != 3 && !xtermRule) {
    std::fprintf(stderr, "usage: %s <registry dir> <items> [--xterm-rule]\n", argv[0]);
    return 2;
  }
  const std::string dir = argv[1];
  const int items = std::atoi(argv[2]);
  if (mkdir(dir.c_str(), 0700) != 0 && errno != EEXIST) {
    std::fprintf(stderr, "make_profile: cannot create %s: %s\n", dir.c_str(), std::strerror(errno));
    return 1;
  }
  // The hive file names the program derives from VELLUMIN_REGISTRY_DIR.
  setenv("VELLUMIN_REGISTRY_DIR", dir.c_str(), 1);
  auto registry = std::make_unique<SqliteRegistry>(SqliteRegistry::DefaultCurrentUserPath(),
                                                   SqliteRegistry::DefaultLocalMachinePath());
  SetRegistry(registry.get());

  TFolder root;
  if (items > 0)
    FillLibrary(root, items);
  else
    SeedSampleLibrary(root);
  SaveLibrary(RegHive::CurrentUser, LibraryKey(kProductKey), root);
  WriteRegBool(RegHive::CurrentUser, kProductKey, "Executed", true);

  TVLMNOptions options;
  options.ShowTips = false;
  if (xtermRule) options.PastingRules.Add(XTermPasteRule());
  options.Save();

  // Read back what the program will read at start-up.
  TFolder check;
  check.LoadFromRegistry(RegHive::CurrentUser, LibraryKey(kProductKey));
  int stored = 0;
  for (TFolder* folder : check.Folders) stored += folder->Items.Count();
  const bool executed = ReadRegBool(RegHive::CurrentUser, kProductKey, "Executed", false);
  TVLMNOptions reread;
  reread.Load();
  SetRegistry(nullptr);
  registry.reset();
  if (!executed || reread.ShowTips || check.Folders.Count() != root.Folders.Count() ||
      reread.PastingRules.Count() != options.PastingRules.Count()) {
    std::fprintf(stderr, "make_profile: the hive in %s did not read back as written\n",
                 dir.c_str());
    return 1;
  }
  std::printf("make_profile: %s: %d folders, %d items, tips off%s\n", dir.c_str(),
              int(check.Folders.Count()), stored, xtermRule ? ", an xterm rule" : "");
  return 0;
}
