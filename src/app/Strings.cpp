#include "app/Strings.h"

#include <array>

#include "app/SLApplication.h"

namespace {
struct Entry {
  std::string english;
  std::string portuguese;
};

const std::array<Entry, static_cast<size_t>(Str::Count_)>& Table() {
  static const std::array<Entry, static_cast<size_t>(Str::Count_)> table = {{
#define X(id, en, pt) {en, pt},
#include "app/Strings.def"
#undef X
  }};
  return table;
}
}  // namespace

const std::string& Text(Str id, bool english) {
  const Entry& e = Table()[static_cast<size_t>(id)];
  return english ? e.english : e.portuguese;
}

const std::string& Text(Str id) { return Text(id, SLApplication == nullptr || SLApplication->English); }
