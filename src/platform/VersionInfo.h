#pragma once
// The version block of a program file, as much of it as the file carries. On
// Windows this is the version resource; on Linux a version record embedded in
// the executable (platform/VersionRecord.h).
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

struct TVersionBlock {
  // File version as two 32-bit halves (MS = major<<16 | minor, LS = release<<16 | build).
  struct Fixed {
    uint32_t FileVersionMS = 0;
    uint32_t FileVersionLS = 0;
  };
  std::optional<Fixed> FixedInfo;
  // Translations: language in the low 16 bits, code page in the high 16 bits.
  std::vector<uint32_t> Translations;
  // String table entries keyed "<8 hex digits>\<name>", e.g. "040904E4\LegalCopyright".
  std::map<std::string, std::string> Strings;
};

// Reads the block of the file at `path`; nullopt when the file has none or
// cannot be read. Never throws.
std::optional<TVersionBlock> ReadVersionBlock(const std::string& path);
