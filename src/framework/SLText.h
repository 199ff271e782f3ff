#pragma once
// Text helpers. Texts are byte strings in the system's narrow encoding (UTF-8
// on Linux, the ANSI code page on Windows). Limits count characters and never
// split a multi-byte character.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// True when byte position `pos` of `s` starts a character (or is the end).
bool IsCharBoundary(std::string_view s, size_t pos);
// Number of characters in `s`.
size_t CharCount(std::string_view s);
// `s` cut to at most `maxChars` characters.
std::string TruncateChars(std::string_view s, size_t maxChars);
// Position of the first occurrence of `needle` in `text` that starts at a
// character boundary, or npos.
size_t FindAtCharBoundary(std::string_view text, std::string_view needle);

// Decimal (or $hex / 0x hex) text to a 32-bit integer, surrounding blanks
// allowed; anything else throws EConvertError("'<text>' is not a valid integer value").
int32_t StrToInt(const std::string& text);
std::string IntToStr(int64_t value);

// A message of the string table with its first "%s" replaced by `value`.
std::string FormatOne(std::string_view pattern, std::string_view value);

// The text with every line break (CR LF, a lone CR or a lone LF) in the
// platform's own form: CR LF on Windows, LF elsewhere. What other programs
// receive through the clipboard.
std::string ToPlatformLineBreaks(std::string_view text);

// Splits text into lines at CR LF, a lone CR or a lone LF; a final line break
// adds no empty line.
std::vector<std::string> SplitLines(std::string_view text);
