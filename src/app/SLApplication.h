#pragma once
// The application descriptor: names, paths, version and registry location that
// every subsystem reads. Exactly one exists while the program runs.
#include <cstdint>
#include <memory>
#include <string>

#include "platform/Registry.h"

class TSLWebAddresses {
 public:
  std::string HomePage;        // ends in "/"
  std::string SupportAddress;  // e-mail address of the maker's support
};

struct TSLColor {
  uint8_t Red = 0, Green = 0, Blue = 0;
  bool operator==(const TSLColor&) const = default;
};

class TSLApplication {
 public:
  std::string ExeName;  // full path of the running program file
  std::string ExePath;  // its folder, with a trailing separator
  RegHive RegistryRoot = RegHive::LocalMachine;
  std::string ProductKey;
  std::string Title;
  std::string Version;
  bool English = true;
  const void* Icon = nullptr;  // the UI's application icon (a QIcon*); shared, not owned
  std::string LegalNotice;
  std::string Credits;
  std::string FontName;
  std::string HelpFile;
  std::unique_ptr<TSLWebAddresses> WebAddresses = std::make_unique<TSLWebAddresses>();
  TSLColor AccentColor;
  std::string TipFile;

  // Stores ExeName and derives ExePath from it.
  void SetExeName(const std::string& path);
};

extern TSLApplication* SLApplication;

inline constexpr const char* kProductKey = "Software\\Kestrelay\\Kestrelay Ardentry\\Vellumin";
inline constexpr const char* kApplicationTitle = "Kestrelay Vellumin";

// What start-up takes from the program file's version block, read once.
struct TVersionFacts {
  std::string VersionText;  // as GetVersionText
  bool English = true;      // as IsEnglishBuild
  std::string LegalNotice;  // as GetLegalCopyright
};
TVersionFacts ReadVersionFacts(const std::string& path);

// Read from the program file's version block; none of them throws. Each
// reads the file: start-up, which needs all three, uses ReadVersionFacts.
// "0.0.0" without a block, else "major.minor.release Build n".
std::string GetVersionText(const std::string& path);
// False only when the block's first translation is Portuguese (0x0816 or 0x0416).
bool IsEnglishBuild(const std::string& path);
// The block's LegalCopyright of its first translation ("" when missing), or the
// built-in notice when the file has no block.
std::string GetLegalCopyright(const std::string& path);
