#include "framework/SLTips.h"

#include <chrono>
#include <fstream>
#include <random>
#include <stdexcept>

#include "framework/SLText.h"

std::vector<std::string> ReadTipFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error("Cannot open file \"" + path + "\".");
  std::string data;
  char buffer[4096];
  while (in.read(buffer, sizeof buffer) || in.gcount() > 0)
    data.append(buffer, size_t(in.gcount()));
  if (in.bad()) throw std::runtime_error("Cannot read file \"" + path + "\".");
  return SplitLines(data);
}

void ShuffleStrings(std::vector<std::string>& list) {
  try {
    std::vector<std::string> scratch = list, result;
    result.reserve(list.size());
    std::mt19937 random(static_cast<unsigned>(
        std::chrono::high_resolution_clock::now().time_since_epoch().count()));
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    while (!scratch.empty()) {
      auto k = static_cast<size_t>(unit(random) * double(scratch.size()));
      if (k >= scratch.size()) k = scratch.size() - 1;
      result.push_back(std::move(scratch[k]));
      scratch.erase(scratch.begin() + std::ptrdiff_t(k));
    }
    for (size_t i = 0; i < list.size(); ++i) list[i] = std::move(result[i]);
  } catch (...) {
  }
}
