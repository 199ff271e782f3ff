#include <fstream>
#include <iterator>

#include "platform/VersionInfo.h"
#include "platform/VersionRecord.h"

std::optional<TVersionBlock> ReadVersionBlock(const std::string& path) {
  try {
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    return version_record::Find(bytes);
  } catch (...) {
    return std::nullopt;
  }
}
