#include "app/Startup.h"

#include "BuildConfig.h"
#include "app/SLApplication.h"
#include "app/StartupTrace.h"
#include "app/Strings.h"
#include "library/SLRegistry.h"
#include "library/clsLibrary.h"
#include "paste/LastWindow.h"
#include "rules/clsOptions.h"

namespace {

TStartupServices gServices;

void BuildDescriptor(const std::string& exeName, const TVersionFacts& facts, const void* icon) {
  auto* app = new TSLApplication;
  SLApplication = app;
  app->SetExeName(exeName);
  app->RegistryRoot = RegHive::LocalMachine;
  app->ProductKey = kProductKey;
  app->Title = kApplicationTitle;
  app->Version = facts.VersionText;
  app->English = facts.English;
  app->Icon = icon;
  app->LegalNotice = facts.LegalNotice;
  app->Credits = Text(Str::Credits);
  app->FontName = "Tahoma";
  std::string base = app->ExeName;
  size_t dot = base.find_last_of('.');
  size_t slash = base.find_last_of("/\\");
  if (dot != std::string::npos && (slash == std::string::npos || dot > slash)) base.erase(dot);
  app->HelpFile = base + ".chm";
  app->TipFile = base + ".tip";
  app->WebAddresses->HomePage = VELLUMIN_HOME_PAGE;
  app->WebAddresses->SupportAddress = VELLUMIN_SUPPORT_ADDRESS;
  app->AccentColor = {58, 110, 165};
}

TPasteItem* NewItem(TFolder& folder, Str name, Str value) {
  auto* item = new TPasteItem;
  item->Name = Text(name);
  item->Kind = 1;
  item->Value = Text(value);
  folder.Items.Add(item);
  return item;
}

TFolder* NewFolder(TFolder& parent, Str name) {
  auto* folder = new TFolder;
  folder->Name = Text(name);
  parent.Folders.Add(folder);
  return folder;
}

}  // namespace

void SeedSampleLibrary(TFolder& root) {
  root.Name = Text(Str::SampleRootName);
  TFolder* signatures = NewFolder(root, Str::SampleFolderSignatures);
  NewItem(*signatures, Str::SampleEmailAddress, Str::SampleSignature);
  TFolder* login = NewFolder(root, Str::SampleFolderLogin);
  NewItem(*login, Str::SampleItemIntranet, Str::SampleLoginIntranet);
  NewItem(*login, Str::SampleItemServer, Str::SampleLoginServer);
  TFolder* passwords = NewFolder(root, Str::SampleFolderPasswords);
  NewItem(*passwords, Str::SampleItemIntranet, Str::SamplePasswordIntranet);
  NewItem(*passwords, Str::SampleItemServer, Str::SamplePasswordServer);
}

bool InitializeApplication(const std::string& exeName, const TStartupServices& services) {
  gServices = services;
  // The version record comes first, read once: the single-instance message
  // needs its language before there is a descriptor to take it from.
  const TVersionFacts facts = ReadVersionFacts(exeName);
  TraceStartup("version record read");
  if (gServices.CheckSingleInstance && !gServices.CheckSingleInstance(facts.English)) return false;

  TraceStartup("single instance checked");
  BuildDescriptor(exeName, facts, services.Icon);
  TSLApplication& app = *SLApplication;
  WriteRegString(app.RegistryRoot, app.ProductKey, "Location", app.ExePath);
  WriteRegString(app.RegistryRoot, app.ProductKey, "Version", app.Version);

  TraceStartup("descriptor built");
  if (gServices.ShowSplash) gServices.ShowSplash();
  TraceStartup("splash shown");
  if (gServices.Sleep) gServices.Sleep(kSplashMilliseconds);
  if (gServices.CloseSplash) gServices.CloseSplash();
  TraceStartup("splash closed");

  VLMNOptions = new TVLMNOptions;
  VLMNOptions->Load();

  RootFolder = new TFolder;
  if (ReadRegBool(RegHive::CurrentUser, app.ProductKey, "Executed", false)) {
    RootFolder->LoadFromRegistry(RegHive::CurrentUser, LibraryKey(app.ProductKey));
  } else {
    // The very first run: the sample reaches the registry with the first
    // change to the library or at shut-down.
    WriteRegBool(RegHive::CurrentUser, app.ProductKey, "Executed", true);
    SeedSampleLibrary(*RootFolder);
  }
  LastWindow = kNoWindow;
  TraceStartup("options and library loaded");
  return true;
}

void SaveApplicationData() {
  if (SLApplication == nullptr) return;
  if (RootFolder != nullptr)
    SaveLibrary(RegHive::CurrentUser, LibraryKey(SLApplication->ProductKey), *RootFolder);
  if (VLMNOptions != nullptr) VLMNOptions->Save();
}

void FinalizeApplication() {
  if (SLApplication == nullptr) return;
  if (RootFolder != nullptr) {
    SaveLibrary(RegHive::CurrentUser, LibraryKey(SLApplication->ProductKey), *RootFolder);
    delete RootFolder;
    RootFolder = nullptr;
  }
  if (VLMNOptions != nullptr) {
    VLMNOptions->Save();
    delete VLMNOptions;
    VLMNOptions = nullptr;
  }
  if (gServices.ReleaseSplashBitmap) gServices.ReleaseSplashBitmap();
  delete SLApplication;
  SLApplication = nullptr;
  gServices = {};
}
