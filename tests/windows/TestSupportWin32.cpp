// The shared test helpers on Windows: temporary folders under the system's
// temporary folder, and a registry whose two hives are private keys of the
// real registry, dropped when the test ends.
#include <windows.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>

#include "TestSupport.h"
#include "platform/windows/Win32Registry.h"

namespace fs = std::filesystem;

namespace {
std::string UniqueName(const char* prefix) {
  static std::atomic<unsigned> counter{0};
  return std::string(prefix) + std::to_string(GetCurrentProcessId()) + "-" +
         std::to_string(GetTickCount64()) + "-" + std::to_string(counter++);
}
}  // namespace

TempDir::TempDir() {
  for (int attempt = 0; attempt < 100; ++attempt) {
    const fs::path candidate = fs::temp_directory_path() / UniqueName("vellumin-test-");
    if (CreateDirectoryA(candidate.string().c_str(), nullptr)) {
      path_ = candidate.string();
      return;
    }
  }
  throw std::runtime_error("no temporary folder");
}

TempDir::~TempDir() {
  std::error_code ec;
  fs::remove_all(path_, ec);
}

ScopedTestRegistry::ScopedTestRegistry()
    : registry_(
          std::make_unique<TWin32Registry>("Software\\Vellumin Tests\\" + UniqueName("hive-"))) {
  SetRegistry(registry_.get());
}

ScopedTestRegistry::~ScopedTestRegistry() {
  SetRegistry(nullptr);
  static_cast<TWin32Registry&>(*registry_).DropRedirectedHives();
}

std::string ReadFileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream out;
  out << in.rdbuf();
  return out.str();
}

bool WriteFileBytes(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << bytes;
  return static_cast<bool>(out);
}
