#include "platform/VersionRecord.h"

#include <cstdio>
#include <cstring>
#include <string_view>

namespace version_record {
namespace {

uint32_t ReadLE32(const char* p) {
  uint32_t v = 0;
  for (int i = 0; i < 4; ++i) v |= uint32_t(uint8_t(p[i])) << (8 * i);
  return v;
}

bool ParseHex32(std::string_view text, uint32_t& out) {
  if (text.size() != 8) return false;
  uint32_t v = 0;
  for (char c : text) {
    int d;
    if (c >= '0' && c <= '9') d = c - '0';
    else if (c >= 'A' && c <= 'F') d = c - 'A' + 10;
    else if (c >= 'a' && c <= 'f') d = c - 'a' + 10;
    else return false;
    v = v << 4 | uint32_t(d);
  }
  out = v;
  return true;
}

// "a.b.c.d" with each part 0..65535.
bool ParseFileVersion(std::string_view text, TVersionBlock::Fixed& out) {
  uint32_t parts[4] = {0, 0, 0, 0};
  int n = 0;
  size_t start = 0;
  while (n < 4) {
    size_t dot = text.find('.', start);
    std::string_view part = text.substr(start, dot == std::string_view::npos ? dot : dot - start);
    if (part.empty() || part.size() > 5) return false;
    uint32_t v = 0;
    for (char c : part) {
      if (c < '0' || c > '9') return false;
      v = v * 10 + uint32_t(c - '0');
    }
    if (v > 0xFFFF) return false;
    parts[n++] = v;
    if (dot == std::string_view::npos) break;
    start = dot + 1;
  }
  if (n != 4) return false;
  out.FileVersionMS = parts[0] << 16 | parts[1];
  out.FileVersionLS = parts[2] << 16 | parts[3];
  return true;
}

}  // namespace

std::string Encode(std::string_view payload) {
  std::string out(EncodedSize(payload), '\0');
  EncodeInto(payload, out.data());
  return out;
}

std::optional<TVersionBlock> ParsePayload(std::string_view payload) {
  TVersionBlock block;
  constexpr std::string_view kStrings = "StringFileInfo\\";
  while (!payload.empty()) {
    size_t eol = payload.find('\n');
    std::string_view line = payload.substr(0, eol);
    payload = eol == std::string_view::npos ? std::string_view() : payload.substr(eol + 1);
    if (line.empty()) continue;
    size_t eq = line.find('=');
    if (eq == std::string_view::npos) return std::nullopt;
    std::string_view key = line.substr(0, eq), value = line.substr(eq + 1);
    if (key == "FileVersion") {
      TVersionBlock::Fixed fixed;
      if (!ParseFileVersion(value, fixed)) return std::nullopt;
      block.FixedInfo = fixed;
    } else if (key == "Translation") {
      // Written language first, code page second; stored as language | codepage << 16.
      uint32_t v;
      if (!ParseHex32(value, v)) return std::nullopt;
      block.Translations.push_back((v >> 16) | (v & 0xFFFF) << 16);
    } else if (key.substr(0, kStrings.size()) == kStrings) {
      block.Strings[std::string(key.substr(kStrings.size()))] = std::string(value);
    }
  }
  return block;
}

std::optional<TVersionBlock> Find(std::string_view bytes) {
  const std::string_view marker(kMarker.data(), kMarker.size());
  for (size_t pos = bytes.find(marker); pos != std::string_view::npos;
       pos = bytes.find(marker, pos + 1)) {
    size_t at = pos + marker.size();
    if (bytes.size() - at < 8) break;
    uint32_t len = ReadLE32(bytes.data() + at);
    if (len > bytes.size() - at - 8) continue;
    std::string_view payload = bytes.substr(at + 4, len);
    if (ReadLE32(bytes.data() + at + 4 + len) != Fnv1a(payload)) continue;
    if (auto block = ParsePayload(payload)) return block;
  }
  return std::nullopt;
}

}  // namespace version_record
