#include "platform/windows/Win32Registry.h"

#include <windows.h>

#include <atomic>
#include <utility>

namespace {

// "a\\b\" -> "a\b": the system refuses empty path components.
std::string CleanPath(const std::string& path) {
  std::string out;
  size_t start = 0;
  while (start <= path.size()) {
    size_t end = path.find('\\', start);
    if (end == std::string::npos) end = path.size();
    if (end > start) {
      if (!out.empty()) out += '\\';
      out.append(path, start, end - start);
    }
    start = end + 1;
  }
  return out;
}

bool IsStringType(DWORD type) {
  return type == REG_SZ || type == REG_EXPAND_SZ;
}

class TWin32Key : public IRegKey {
 public:
  explicit TWin32Key(HKEY key) : key_(key) {}
  ~TWin32Key() override { RegCloseKey(key_); }
  TWin32Key(const TWin32Key&) = delete;
  TWin32Key& operator=(const TWin32Key&) = delete;

  std::optional<RegValue> QueryValue(const std::string& name) override {
    DWORD type = 0;
    DWORD size = 0;
    LONG rc = RegQueryValueExA(key_, name.c_str(), nullptr, &type, nullptr, &size);
    std::string data;
    // The value may grow between the two calls: ask again until it fits.
    while (rc == ERROR_SUCCESS || rc == ERROR_MORE_DATA) {
      data.resize(size);
      DWORD got = size;
      rc = RegQueryValueExA(key_, name.c_str(), nullptr, &type,
                            reinterpret_cast<BYTE*>(data.data()), &got);
      if (rc == ERROR_SUCCESS) {
        data.resize(got);
        break;
      }
      size = got > size ? got : size * 2 + 16;
    }
    if (rc != ERROR_SUCCESS) return std::nullopt;
    // Strings are stored with their terminating zero; the seam keeps them without.
    if (IsStringType(type) && !data.empty() && data.back() == '\0') data.pop_back();
    return RegValue{static_cast<RegType>(type), std::move(data)};
  }

  bool SetValue(const std::string& name, const RegValue& value) override {
    const DWORD type = static_cast<DWORD>(value.type);
    std::string data = value.data;
    if (IsStringType(type)) data.push_back('\0');
    return RegSetValueExA(key_, name.c_str(), 0, type, reinterpret_cast<const BYTE*>(data.data()),
                          static_cast<DWORD>(data.size())) == ERROR_SUCCESS;
  }

  bool DeleteValue(const std::string& name) override {
    return RegDeleteValueA(key_, name.c_str()) == ERROR_SUCCESS;
  }

  std::vector<std::string> ValueNames() override {
    return Enumerate([this](DWORD index, char* buffer, DWORD* length) {
      return RegEnumValueA(key_, index, buffer, length, nullptr, nullptr, nullptr, nullptr);
    });
  }

  std::vector<std::string> SubKeyNames() override {
    return Enumerate([this](DWORD index, char* buffer, DWORD* length) {
      return RegEnumKeyExA(key_, index, buffer, length, nullptr, nullptr, nullptr, nullptr);
    });
  }

  bool DeleteSubKeyTree(const std::string& name) override {
    if (name.empty()) return false;  // would empty this key instead
    return RegDeleteTreeA(key_, name.c_str()) == ERROR_SUCCESS;
  }

 private:
  // Names longer than a buffer make the system answer ERROR_MORE_DATA; the
  // longest value name is 16383 characters, the longest key name 255.
  template <typename EnumFn>
  std::vector<std::string> Enumerate(EnumFn enumerate) {
    std::vector<std::string> names;
    std::string buffer(256, '\0');
    for (DWORD index = 0;;) {
      DWORD length = static_cast<DWORD>(buffer.size());
      const LONG rc = enumerate(index, buffer.data(), &length);
      if (rc == ERROR_MORE_DATA && buffer.size() < 65536) {
        buffer.resize(buffer.size() * 4);
        continue;
      }
      if (rc != ERROR_SUCCESS) break;
      names.emplace_back(buffer.data(), length);
      ++index;
    }
    return names;
  }

  HKEY key_;
};

HKEY HiveKey(RegHive hive) {
  return hive == RegHive::LocalMachine ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER;
}

}  // namespace

TWin32Registry::TWin32Registry(std::string redirect) : redirect_(CleanPath(redirect)) {}

std::unique_ptr<IRegKey> TWin32Registry::OpenKey(RegHive hive, const std::string& path,
                                                 bool create) {
  HKEY root = HiveKey(hive);
  std::string full = CleanPath(path);
  if (!redirect_.empty()) {
    root = HKEY_CURRENT_USER;
    const char* part = hive == RegHive::LocalMachine ? "\\LocalMachine" : "\\CurrentUser";
    full = full.empty() ? redirect_ + part : redirect_ + part + "\\" + full;
  }
  HKEY key = nullptr;
  LONG rc;
  if (create) {
    rc = RegCreateKeyExA(root, full.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                         KEY_READ | KEY_WRITE | DELETE, nullptr, &key, nullptr);
  } else {
    rc = RegOpenKeyExA(root, full.c_str(), 0, KEY_READ | KEY_WRITE | DELETE, &key);
    // A key the user may read but not change (HKEY_LOCAL_MACHINE for a
    // normal user) still serves the reads.
    if (rc == ERROR_ACCESS_DENIED) rc = RegOpenKeyExA(root, full.c_str(), 0, KEY_READ, &key);
  }
  if (rc != ERROR_SUCCESS) return nullptr;
  return std::make_unique<TWin32Key>(key);
}

void TWin32Registry::DropRedirectedHives() {
  if (!redirect_.empty()) RegDeleteTreeA(HKEY_CURRENT_USER, redirect_.c_str());
}

// The process-wide registry on Windows: the system's, unless a test installed another.
namespace {
std::atomic<IRegistry*> installed{nullptr};
}

IRegistry& Registry() {
  if (IRegistry* r = installed.load()) return *r;
  static TWin32Registry standard;
  return standard;
}

void SetRegistry(IRegistry* registry) {
  installed.store(registry);
}
