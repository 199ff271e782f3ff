#include "framework/SLCipher.h"

#include <cstdint>

namespace {
constexpr std::string_view kKey = "quill&parchment";

uint8_t KeyByte(size_t i) {
  return static_cast<uint8_t>(0x5A + 31 * i + static_cast<uint8_t>(kKey[i % kKey.size()]));
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

struct Secret {
  const char* english;
  const char* portuguese;
};

// In the order of TSLSecret.
constexpr Secret kSecrets[] = {
    {"9D8B73502B74EA", "9D8B735081B8EB"},
    {"9F866850626BF6FBA3A699711332F3BCCFA09B67893611F0C1E98F7D0C3202E0DAB78DDA4E42461AFBC9EEDD57500"
     "001E2DDE1856E44220FAFC5A18366573647E72DADF86E774E021EFBA0856D38",
     "8E9D7546626BF6FBA3A69971527B43359FA2867C983002FCC1A6CD7443234DF4CAB781D452591556FBCBA192505F0"
     "807AD95ED34B4472E0AFC86A030AC5D6506F32BA7AA61625D0416ECE493C0B5577740EBC6B08B64552903BB"},
    {"9F8664033672F4E7E4B29170567BE3F3CABE9033823A11B5C7ACCD62432403F48DE5B6D84F581502FBD2B9944C594"
     "122F3D9E2826A5E294BFFD3BA802F5B3147E43EABB326",
     "84CE6051336EEDE2ABF49C79133FE9FFDEA1D47D2FF60AB5C3A68424493F0EFFCDB196DC42594856C8DBBC93514A0"
     "018F395E1D751522B07FACBA79D2F422415E77FBABD6B6D4C05055C65CD6F7916"},
    {"9E8060412E7EA4E0ABF4976C5635A0FD9FBC9164CC3800E6D6A88A610C3803B0DAAA91CF06534B1BFBD7B9DD524C0"
     "E13E4D4E3D9",
     "852DA24C627DEBFDE4A4976F40982DEADABED4728E270CE785BC80650C3F02E6C2E589D848450711FFD3F5934D1E1"
     "211E395FE856850350AE2C7EE976A12204AEB3EA1B426"},
};
}  // namespace

std::string Encipher(std::string_view plain) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string out;
  out.reserve(plain.size() * 2);
  for (size_t i = 0; i < plain.size(); ++i) {
    uint8_t b = static_cast<uint8_t>(plain[i]) ^ KeyByte(i);
    out += kHex[b >> 4];
    out += kHex[b & 0x0F];
  }
  return out;
}

std::string Decipher(std::string_view hex) {
  if (hex.size() % 2 != 0) return {};
  std::string out;
  out.reserve(hex.size() / 2);
  for (size_t i = 0; i < hex.size() / 2; ++i) {
    int hi = HexDigit(hex[2 * i]), lo = HexDigit(hex[2 * i + 1]);
    if (hi < 0 || lo < 0) return {};
    out += static_cast<char>(static_cast<uint8_t>((hi << 4) | lo) ^ KeyByte(i));
  }
  return out;
}

std::string SecretText(TSLSecret id, bool english) {
  const Secret& s = kSecrets[static_cast<size_t>(id)];
  return Decipher(english ? s.english : s.portuguese);
}
