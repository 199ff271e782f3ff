// UTF-8 helpers, integer conversion and line splitting.
#include <gtest/gtest.h>

#include "framework/SLExceptions.h"
#include "framework/SLText.h"

namespace {

const std::string kEAcute = "\xC3\xA9";        // é, 2 bytes
const std::string kEuro = "\xE2\x82\xAC";      // €, 3 bytes
const std::string kGrin = "\xF0\x9F\x98\x80";  // 😀, 4 bytes

TEST(CharTest, CountsCharactersNotBytes) {
  struct Case {
    std::string text;
    size_t chars;
  } cases[] = {
      {"", 0},
      {"abc", 3},
      {"a" + kEAcute + kEuro + kGrin, 4},
      // Malformed text: a stray continuation byte and a lead byte cut short
      // each count as one character, and the cut lead never swallows the
      // next well-formed character.
      {"\x80\x80", 2},
      {"\xC3", 1},
      {"\xE2\x82"
       "A",
       2},
      {kEAcute + "\xA9", 2},
  };
  for (const Case& c : cases) EXPECT_EQ(CharCount(c.text), c.chars) << c.text;
}

TEST(CharTest, BoundariesFallBetweenCharacters) {
  const std::string text = "a" + kEuro + "b";  // bytes: a, E2 82 AC, b
  const bool expected[] = {true, true, false, false, true, true};
  for (size_t pos = 0; pos <= text.size(); ++pos)
    EXPECT_EQ(IsCharBoundary(text, pos), expected[pos]) << pos;
  EXPECT_FALSE(IsCharBoundary(text, text.size() + 1));
}

TEST(CharTest, TruncateNeverSplitsACharacter) {
  const std::string text = "h" + kEAcute + "llo" + kGrin;
  EXPECT_EQ(TruncateChars(text, 0), "");
  EXPECT_EQ(TruncateChars(text, 2), "h" + kEAcute);
  EXPECT_EQ(TruncateChars(text, 5), "h" + kEAcute + "ll" + "o");
  EXPECT_EQ(TruncateChars(text, 6), text);
  EXPECT_EQ(TruncateChars(text, 100), text);
}

TEST(CharTest, FindSkipsOccurrencesInsideACharacter) {
  // "\xA9" occurs inside é at byte 2 and as a stray byte of its own at 3.
  const std::string text = "x" + kEAcute + "\xA9" + "y";
  EXPECT_EQ(FindAtCharBoundary(text, "\xA9"), 3u);
  EXPECT_EQ(FindAtCharBoundary("x" + kEAcute, "\xA9"), std::string::npos);
  EXPECT_EQ(FindAtCharBoundary(kEuro + kEuro, kEuro), 0u);
  EXPECT_EQ(FindAtCharBoundary("ab" + kEuro, kEuro), 2u);
  EXPECT_EQ(FindAtCharBoundary("abc", "abcd"), std::string::npos);
  EXPECT_EQ(FindAtCharBoundary("abcabc", "ca"), 2u);
}

TEST(StrToIntTest, AcceptsDecimalAndHexWithSignAndBlanks) {
  struct Case {
    const char* text;
    int32_t value;
  } cases[] = {
      {"0", 0},
      {"42", 42},
      {"007", 7},
      {"  42  ", 42},
      {"\t5", 5},
      {"+7", 7},
      {"-13", -13},
      {"-1", -1},
      {"$1F", 31},
      {"$1f", 31},
      {"0x10", 16},
      {"0X10", 16},
      {"-$10", -16},
      {"2147483647", 2147483647},
      {"-2147483648", INT32_MIN},
      {"$7FFFFFFF", 2147483647},
      {"$FFFFFFFF", -1},
      {"$80000000", INT32_MIN},
      {"16470", 16470},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(StrToInt(c.text), c.value);
  }
}

TEST(StrToIntTest, RejectsEverythingElseWithTheConversionMessage) {
  const char* bad[] = {
      "",           " ",           "abc",         "1a",         "a1",          "1.5",  "1 2", "- 5",
      "+",          "-",           "$",           "0x",         "$G",          "0x-1", "--1", "+-1",
      "2147483648", "-2147483649", "99999999999", "$100000000", "\xEF\xBC\x91" /* fullwidth 1 */};
  for (const char* text : bad) {
    SCOPED_TRACE(text);
    try {
      StrToInt(text);
      ADD_FAILURE() << "no exception";
    } catch (const EConvertError& e) {
      EXPECT_EQ(std::string(e.what()), "'" + std::string(text) + "' is not a valid integer value");
    }
  }
}

TEST(IntToStrTest, WritesPlainDecimal) {
  EXPECT_EQ(IntToStr(0), "0");
  EXPECT_EQ(IntToStr(-1), "-1");
  EXPECT_EQ(IntToStr(16470), "16470");
  EXPECT_EQ(IntToStr(INT64_MIN), "-9223372036854775808");
}

TEST(SplitLinesTest, EachBreakKindEndsOneLine) {
  using Lines = std::vector<std::string>;
  struct Case {
    std::string text;
    Lines lines;
  } cases[] = {
      {"", {}},
      {"a", {"a"}},
      {"a\r\n", {"a"}},
      {"a\n", {"a"}},
      {"a\r", {"a"}},
      {"a\r\nb", {"a", "b"}},
      {"a\rb\nc\r\nd", {"a", "b", "c", "d"}},
      {"\r\n", {""}},
      {"a\r\n\r\n", {"a", ""}},
      {"a\n\r", {"a", ""}},  // LF then CR are two breaks
      {"\n\nx", {"", "", "x"}},
      {"16470\r\n8192\r\n", {"16470", "8192"}},
  };
  for (const Case& c : cases)
    EXPECT_EQ(SplitLines(c.text), c.lines) << testing::PrintToString(c.text);
}

}  // namespace
