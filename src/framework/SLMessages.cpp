#include "framework/SLMessages.h"

std::string NormalizeLineBreaks(const std::string& s) {
  std::string result;
  result.reserve(s.size() + 8);
  for (size_t i = 0; i < s.size(); ++i) {
    char c = s[i];
    if (c != '\n') {
      result += c;
    } else if (i + 1 == s.size()) {
      // a final LF disappears
    } else if (i > 0 && s[i - 1] == '\r') {
      result += c;
    } else {
      result += "\r\n";
    }
  }
  return result;
}
