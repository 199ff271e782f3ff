#include "framework/SLHelp.h"

#include <cstdio>
#include <stdexcept>

#include "app/SLApplication.h"
#include "app/Strings.h"
#include "framework/SLExceptions.h"
#include "framework/SLLauncher.h"
#include "framework/SLText.h"
#include "framework/SLUtils.h"
#include "library/SLRegistry.h"
#ifdef _WIN32
#include "platform/windows/Win32Help.h"
#include "platform/windows/Win32Launcher.h"
#endif

std::string HelpFolder(const std::string& helpFile) {
  size_t slash = helpFile.find_last_of('/');
  size_t dot = helpFile.find_last_of('.');
  std::string base = (dot != std::string::npos && (slash == std::string::npos || dot > slash))
                         ? helpFile.substr(0, dot)
                         : helpFile;
  return base + "-help";
}

std::string HelpPage(const std::string& helpFile, int context) {
  const std::string folder = HelpFolder(helpFile);
  if (context != 0) {
    std::string page = folder + "/context-" + std::to_string(context) + ".html";
    if (FileExistsSafe(page)) return page;
  }
  return folder + "/index.html";
}

#ifdef _WIN32
// The compiled help file, in its "MainWindow" window type, at the context's
// topic or at the default topic for 0. What the engine answers is not used.
void ShowHelp(const TSLApplication& Descriptor, int Context) {
  const std::string& file = Descriptor.HelpFile;
  if (file.empty() || !FileExistsSafe(file)) return;
  try {
    HelpEngine().Call(Win32ApplicationWindow(), file + ">MainWindow",
                      Context != 0 ? kHelpContext : kHelpDisplayTopic,
                      Context != 0 ? static_cast<uintptr_t>(Context) : 0);
  } catch (const std::exception& e) {
    throw ESLException(FormatOne(Text(Str::HelpUnavailable), file), e.what(), smtWarning);
  }
}
#else
void ShowHelp(const TSLApplication& Descriptor, int Context) {
  const std::string& file = Descriptor.HelpFile;
  if (file.empty() || !FileExistsSafe(HelpPage(file, 0))) return;
  bool opened = false;
  try {
    opened = Launcher().OpenURL("file://" + PercentEncode(HelpPage(file, Context), "/"));
  } catch (const std::exception& e) {
    throw ESLException(FormatOne(Text(Str::HelpUnavailable), file), e.what(), smtWarning);
  }
  // Without an opener the pages cannot be shown at all: the user is told
  // what is missing rather than left with nothing happening.
  if (!opened)
    throw ESLException(FormatOne(Text(Str::HelpUnavailable), file), Launcher().OpenFailure(),
                       smtWarning);
}
#endif

void RunSystemInfo() {
  try {
    std::string path = ReadRegString(RegHive::LocalMachine,
                                     "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO", "Path", "");
    if (path.empty()) path = Launcher().FindSystemInfoProgram();
    if (path.empty()) throw std::runtime_error(Text(Str::SysInfoEmptyPath));
    if (!Launcher().StartProgram(path)) throw std::runtime_error(Text(Str::SysInfoStartFailed));
  } catch (const std::exception& e) {
    throw ESLException(Text(Str::SysInfoUnavailable), e.what(), smtWarning);
  }
}
