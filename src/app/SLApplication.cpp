#include "app/SLApplication.h"

#include <cstdio>

#include "app/Strings.h"
#include "platform/VersionInfo.h"

TSLApplication* SLApplication = nullptr;

void TSLApplication::SetExeName(const std::string& path) {
  ExeName = path;
  size_t slash = path.find_last_of("/\\");
  ExePath = slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

namespace {
constexpr uint16_t kPortuguesePortugal = 0x0816;  // 2070
constexpr uint16_t kPortugueseBrazil = 0x0416;    // 1046

std::optional<TVersionBlock> Block(const std::string& path) noexcept {
  try {
    return ReadVersionBlock(path);
  } catch (...) {
    return std::nullopt;
  }
}
}  // namespace

namespace {

std::string VersionTextOf(const std::optional<TVersionBlock>& block) {
  if (!block || !block->FixedInfo) return "0.0.0";
  uint32_t ms = block->FixedInfo->FileVersionMS, ls = block->FixedInfo->FileVersionLS;
  char text[64];
  std::snprintf(text, sizeof text, "%d.%d.%d Build %d", int(ms >> 16), int(ms & 0xFFFF),
                int(ls >> 16), int(ls & 0xFFFF));
  return text;
}

bool EnglishOf(const std::optional<TVersionBlock>& block) {
  if (!block || block->Translations.empty()) return true;
  uint16_t language = static_cast<uint16_t>(block->Translations.front() & 0xFFFF);
  return language != kPortuguesePortugal && language != kPortugueseBrazil;
}

std::string LegalCopyrightOf(const std::optional<TVersionBlock>& block) {
  if (!block || !block->FixedInfo) return Text(Str::BuiltInLegalNotice);
  if (block->Translations.empty()) return "";
  uint32_t t = block->Translations.front();
  char digits[9];
  std::snprintf(digits, sizeof digits, "%04X%04X", unsigned(t & 0xFFFF), unsigned(t >> 16));
  auto it = block->Strings.find(std::string(digits) + "\\LegalCopyright");
  return it == block->Strings.end() ? std::string() : it->second;
}

}  // namespace

TVersionFacts ReadVersionFacts(const std::string& path) {
  const auto block = Block(path);
  return {VersionTextOf(block), EnglishOf(block), LegalCopyrightOf(block)};
}

std::string GetVersionText(const std::string& path) {
  return VersionTextOf(Block(path));
}

bool IsEnglishBuild(const std::string& path) {
  return EnglishOf(Block(path));
}

std::string GetLegalCopyright(const std::string& path) {
  return LegalCopyrightOf(Block(path));
}
