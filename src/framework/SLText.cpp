#include "framework/SLText.h"

#include <cstdint>

#include "framework/SLExceptions.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace {

// Byte length of the character that starts at `pos` (pos < s.size()).
//
// Narrow text is UTF-8: a lead byte takes as many continuation bytes as it
// announces and as actually follow it; any other byte (ASCII, a stray
// continuation byte, an invalid lead) is a character of its own. Malformed
// text therefore never makes a walk stall or swallow the next well-formed
// character.
//
// On Windows the program's manifest makes UTF-8 the ANSI code page; a system
// that ignores it keeps its legacy code page, where a lead byte of a
// double-byte code page takes the byte after it.
size_t CharLength(std::string_view s, size_t pos) {
  const auto lead = static_cast<unsigned char>(s[pos]);
#ifdef _WIN32
  static const bool utf8 = GetACP() == CP_UTF8;
  if (!utf8) return (IsDBCSLeadByte(lead) && pos + 1 < s.size()) ? 2 : 1;
#endif
  size_t expected;
  if (lead >= 0xC0 && lead <= 0xDF)
    expected = 1;
  else if (lead >= 0xE0 && lead <= 0xEF)
    expected = 2;
  else if (lead >= 0xF0 && lead <= 0xF7)
    expected = 3;
  else
    return 1;
  size_t len = 1;
  while (len <= expected && pos + len < s.size() &&
         (static_cast<unsigned char>(s[pos + len]) & 0xC0) == 0x80)
    ++len;
  return len;
}

bool IsBlank(char c) {
  return c == ' ' || c == '\t';
}

[[noreturn]] void ThrowNotInteger(const std::string& text) {
  throw EConvertError("'" + text + "' is not a valid integer value");
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

}  // namespace

bool IsCharBoundary(std::string_view s, size_t pos) {
  if (pos > s.size()) return false;
  size_t i = 0;
  while (i < pos) i += CharLength(s, i);
  return i == pos;
}

size_t CharCount(std::string_view s) {
  size_t count = 0;
  for (size_t i = 0; i < s.size(); i += CharLength(s, i)) ++count;
  return count;
}

std::string FormatOne(std::string_view pattern, std::string_view value) {
  std::string out(pattern);
  const size_t at = out.find("%s");
  if (at != std::string::npos) out.replace(at, 2, value);
  return out;
}

std::string TruncateChars(std::string_view s, size_t maxChars) {
  size_t i = 0;
  for (size_t n = 0; n < maxChars && i < s.size(); ++n) i += CharLength(s, i);
  return std::string(s.substr(0, i));
}

size_t FindAtCharBoundary(std::string_view text, std::string_view needle) {
  // The byte search finds candidates fast; a walk over the characters, never
  // going back, tells whether a candidate starts a character.
  size_t walk = 0;
  for (size_t hit = text.find(needle); hit != std::string_view::npos;
       hit = text.find(needle, walk)) {
    while (walk < hit) walk += CharLength(text, walk);
    if (walk == hit) return hit;
  }
  return std::string_view::npos;
}

int32_t StrToInt(const std::string& text) {
  size_t i = 0;
  size_t end = text.size();
  while (i < end && IsBlank(text[i])) ++i;
  while (end > i && IsBlank(text[end - 1])) --end;

  bool negative = false;
  if (i < end && (text[i] == '+' || text[i] == '-')) {
    negative = text[i] == '-';
    ++i;
  }

  bool hex = false;
  if (i < end && text[i] == '$') {
    hex = true;
    ++i;
  } else if (i + 1 < end && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X')) {
    hex = true;
    i += 2;
  }
  if (i == end) ThrowNotInteger(text);

  // Decimal must fit the signed 32-bit range; hexadecimal is a 32-bit pattern
  // ($FFFFFFFF is -1), as Pascal's conversion reads it.
  const int64_t limit = hex ? 0xFFFFFFFFLL : (negative ? 2147483648LL : 2147483647LL);
  int64_t value = 0;
  for (; i < end; ++i) {
    int digit = hex ? HexDigit(text[i]) : (text[i] >= '0' && text[i] <= '9' ? text[i] - '0' : -1);
    if (digit < 0) ThrowNotInteger(text);
    value = value * (hex ? 16 : 10) + digit;
    if (value > limit) ThrowNotInteger(text);
  }
  if (hex) {
    auto pattern = static_cast<int32_t>(static_cast<uint32_t>(value));
    return negative ? static_cast<int32_t>(0u - static_cast<uint32_t>(pattern)) : pattern;
  }
  return static_cast<int32_t>(negative ? -value : value);
}

std::string IntToStr(int64_t value) {
  return std::to_string(value);
}

std::vector<std::string> SplitLines(std::string_view text) {
  std::vector<std::string> lines;
  size_t start = 0;
  size_t i = 0;
  while (i < text.size()) {
    const char c = text[i];
    if (c == '\r' || c == '\n') {
      lines.emplace_back(text.substr(start, i - start));
      i += (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ? 2 : 1;
      start = i;
    } else {
      ++i;
    }
  }
  if (start < text.size()) lines.emplace_back(text.substr(start));
  return lines;
}

std::string ToPlatformLineBreaks(std::string_view text) {
#ifdef _WIN32
  constexpr std::string_view kBreak = "\r\n";
#else
  constexpr std::string_view kBreak = "\n";
#endif
  std::string result;
  result.reserve(text.size() + text.size() / 16);
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '\r') {
      result += kBreak;
      if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
    } else if (c == '\n') {
      result += kBreak;
    } else {
      result += c;
    }
  }
  return result;
}
