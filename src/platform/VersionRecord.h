#pragma once
// The version record that Linux builds embed in the executable, standing in
// for the Windows version resource. Layout:
//   16-byte marker | payload length (uint32 LE) | payload | FNV-1a of payload (uint32 LE)
// The payload is text lines "Key=Value\n":
//   FileVersion=1.2.0.30
//   Translation=040904E4          (language first, code page second; may repeat)
//   StringFileInfo\040904E4\LegalCopyright=...
// A marker whose length or checksum does not fit is not a record, so the
// reader's own copy of the marker in the program text is never mistaken for one.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/VersionInfo.h"

namespace version_record {

inline constexpr std::array<char, 16> kMarker = {'\x7f', 'V', 'L', 'M', 'N', '-', 'V', 'E',
                                                 'R', 'S', 'I', 'O', 'N', '-', 'R', '\x01'};

constexpr uint32_t Fnv1a(std::string_view data) {
  uint32_t h = 2166136261u;
  for (char c : data) {
    h ^= static_cast<uint8_t>(c);
    h *= 16777619u;
  }
  return h;
}

constexpr size_t EncodedSize(std::string_view payload) { return 16 + 4 + payload.size() + 4; }

// Writes the record for `payload` into `out` (EncodedSize(payload) bytes).
constexpr void EncodeInto(std::string_view payload, char* out) {
  size_t p = 0;
  for (char c : kMarker) out[p++] = c;
  uint32_t len = static_cast<uint32_t>(payload.size());
  for (int i = 0; i < 4; ++i) out[p++] = static_cast<char>((len >> (8 * i)) & 0xFF);
  for (char c : payload) out[p++] = c;
  uint32_t sum = Fnv1a(payload);
  for (int i = 0; i < 4; ++i) out[p++] = static_cast<char>((sum >> (8 * i)) & 0xFF);
}

std::string Encode(std::string_view payload);
// Finds the first well-formed record in `bytes` and parses its payload.
std::optional<TVersionBlock> Find(std::string_view bytes);
// Parses payload text; nullopt when it is not a valid payload.
std::optional<TVersionBlock> ParsePayload(std::string_view payload);

}  // namespace version_record
