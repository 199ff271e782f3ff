#include <windows.h>

#include <cstdio>
#include <cstring>
#include <vector>

#include "platform/VersionInfo.h"

namespace {

// The string entries the program reads from each translation's table.
constexpr const char* kStringNames[] = {"CompanyName",  "FileDescription", "FileVersion",
                                        "InternalName", "LegalCopyright",  "OriginalFilename",
                                        "ProductName",  "ProductVersion",  "Comments"};

}  // namespace

std::optional<TVersionBlock> ReadVersionBlock(const std::string& path) {
  DWORD handle = 0;
  const DWORD size = GetFileVersionInfoSizeA(path.c_str(), &handle);
  if (size == 0) return std::nullopt;
  std::vector<char> data(size);
  if (!GetFileVersionInfoA(path.c_str(), 0, size, data.data())) return std::nullopt;

  TVersionBlock block;
  void* value = nullptr;
  UINT length = 0;
  if (VerQueryValueA(data.data(), "\\", &value, &length) && length >= sizeof(VS_FIXEDFILEINFO)) {
    const auto* fixed = static_cast<const VS_FIXEDFILEINFO*>(value);
    if (fixed->dwSignature == 0xFEEF04BDu)
      block.FixedInfo = TVersionBlock::Fixed{fixed->dwFileVersionMS, fixed->dwFileVersionLS};
  }
  if (VerQueryValueA(data.data(), "\\VarFileInfo\\Translation", &value, &length)) {
    // Pairs of 16-bit words, language first, code page second.
    const auto* words = static_cast<const WORD*>(value);
    for (UINT i = 0; i + 1 < length / sizeof(WORD); i += 2)
      block.Translations.push_back(uint32_t(words[i]) | uint32_t(words[i + 1]) << 16);
  }
  for (uint32_t translation : block.Translations) {
    char table[9];
    std::snprintf(table, sizeof table, "%04X%04X", unsigned(translation & 0xFFFF),
                  unsigned(translation >> 16));
    for (const char* name : kStringNames) {
      const std::string query = std::string("\\StringFileInfo\\") + table + "\\" + name;
      if (VerQueryValueA(data.data(), query.c_str(), &value, &length) && value != nullptr) {
        // The length counts characters, with or without the terminating zero.
        const char* text = static_cast<const char*>(value);
        block.Strings[std::string(table) + "\\" + name] = std::string(text, strnlen(text, length));
      }
    }
  }
  return block;
}
