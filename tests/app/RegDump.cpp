// Prints a hive file as text, one key per line followed by its values:
//   regdump <hive file> [key]
// Used by the desktop tests to read what the program stored.
#include <cstdio>
#include <string>

#include "library/SLRegistry.h"
#include "platform/linux/SqliteHive.h"

namespace {
std::string Shown(const RegValue& v) {
  if (auto d = v.AsDWord()) return "dword:" + std::to_string(*d);
  std::string out = v.type == RegType::ExpandString ? "expand:" : "sz:";
  for (char c : v.data) {
    if (c == '\r') out += "\\r";
    else if (c == '\n') out += "\\n";
    else out += c;
  }
  return out;
}

void Dump(const std::string& key) {
  std::printf("[%s]\n", key.c_str());
  auto k = Registry().OpenKey(RegHive::CurrentUser, key, false);
  if (!k) return;
  for (const std::string& name : k->ValueNames())
    if (auto v = k->QueryValue(name)) std::printf("%s=%s\n", name.c_str(), Shown(*v).c_str());
  for (const std::string& sub : k->SubKeyNames()) Dump(key.empty() ? sub : key + "\\" + sub);
}
}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: regdump <hive file> [key]\n");
    return 2;
  }
  SqliteRegistry registry(argv[1], ":memory:");
  SetRegistry(&registry);
  Dump(argc > 2 ? argv[2] : "");
  SetRegistry(nullptr);
  return 0;
}
