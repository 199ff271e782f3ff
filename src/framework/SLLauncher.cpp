#include "framework/SLLauncher.h"

#include "app/Strings.h"
#include "framework/SLExceptions.h"
#include "framework/SLText.h"

namespace {

class TNoLauncher : public ISLLauncher {
 public:
  bool OpenURL(const std::string&) override { return false; }
  bool StartProgram(const std::string&) override { return false; }
  std::string FindSystemInfoProgram() override { return {}; }
  void Beep(int, int) override {}
};

TNoLauncher gNoLauncher;
ISLLauncher* gLauncher = nullptr;

bool Unreserved(unsigned char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' ||
         c == '.' || c == '_' || c == '~';
}

}  // namespace

std::string ISLLauncher::OpenFailure() {
  return Text(Str::UrlOpenerMissing);
}

ISLLauncher& Launcher() {
  return gLauncher != nullptr ? *gLauncher : gNoLauncher;
}

void SetLauncher(ISLLauncher* launcher) {
  gLauncher = launcher;
}

std::string PercentEncode(std::string_view text, std::string_view keep) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string out;
  out.reserve(text.size());
  for (char ch : text) {
    auto c = static_cast<unsigned char>(ch);
    if (Unreserved(c) || keep.find(ch) != std::string_view::npos) {
      out += ch;
    } else {
      out += '%';
      out += kHex[c >> 4];
      out += kHex[c & 0x0F];
    }
  }
  return out;
}

void OpenURL(const std::string& URL) {
  if (URL.empty()) return;
  std::string address = URL.compare(0, 7, "http://") == 0 ? URL : "http://" + URL;
  if (!Launcher().OpenURL(address))
    throw ESLException(FormatOne(Text(Str::WebPageUnavailable), address), Launcher().OpenFailure(),
                       smtWarning);
}
