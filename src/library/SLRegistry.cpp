#include "library/SLRegistry.h"

#include <optional>

namespace {

// Opens a key for one routine call; null when it is missing (and not created)
// or the hive cannot be reached. Never throws.
std::unique_ptr<IRegKey> Open(RegHive root, const std::string& key, bool create) noexcept {
  try {
    return Registry().OpenKey(root, key, create);
  } catch (...) {
    return nullptr;
  }
}

std::optional<RegValue> Query(RegHive root, const std::string& key,
                              const std::string& name) noexcept {
  try {
    auto k = Open(root, key, false);
    if (!k) return std::nullopt;
    return k->QueryValue(name);
  } catch (...) {
    return std::nullopt;
  }
}

void Write(RegHive root, const std::string& key, const std::string& name,
           const RegValue& value) noexcept {
  try {
    if (auto k = Open(root, key, true)) k->SetValue(name, value);
  } catch (...) {
  }
}

std::string SubKeyPath(const std::string& key, const std::string& subKey) {
  return key.empty() ? subKey : key + "\\" + subKey;
}

}  // namespace

std::string ReadRegString(RegHive root, const std::string& key, const std::string& name,
                          const std::string& defaultValue) {
  auto v = Query(root, key, name);
  if (v && (v->type == RegType::String || v->type == RegType::ExpandString)) return v->data;
  return defaultValue;
}

bool ReadRegBool(RegHive root, const std::string& key, const std::string& name,
                 bool defaultValue) {
  auto v = Query(root, key, name);
  if (v)
    if (auto d = v->AsDWord()) return *d != 0;
  return defaultValue;
}

int32_t ReadRegInteger(RegHive root, const std::string& key, const std::string& name,
                       int32_t defaultValue) {
  auto v = Query(root, key, name);
  if (v)
    if (auto d = v->AsDWord()) return static_cast<int32_t>(*d);
  return defaultValue;
}

std::vector<std::string> ReadRegValueNames(RegHive root, const std::string& key,
                                           const std::string& subKey) {
  try {
    if (!Open(root, key, false)) return {};
    auto k = Open(root, SubKeyPath(key, subKey), false);
    return k ? k->ValueNames() : std::vector<std::string>{};
  } catch (...) {
    return {};
  }
}

void WriteRegString(RegHive root, const std::string& key, const std::string& name,
                    const std::string& text) {
  Write(root, key, name, RegValue::FromString(text));
}

void WriteRegBool(RegHive root, const std::string& key, const std::string& name, bool flag) {
  Write(root, key, name, RegValue::FromDWord(flag ? 1 : 0));
}

void WriteRegInteger(RegHive root, const std::string& key, const std::string& name,
                     int32_t number) {
  Write(root, key, name, RegValue::FromDWord(static_cast<uint32_t>(number)));
}

void WriteRegValueNames(RegHive root, const std::string& key, const std::string& subKey,
                        const std::vector<std::string>& names) {
  try {
    auto k = Open(root, key, true);
    if (!k) return;
    k->DeleteSubKeyTree(subKey);
    auto sub = Open(root, SubKeyPath(key, subKey), true);
    if (!sub) return;
    for (const std::string& name : names) sub->SetValue(name, RegValue::FromString(""));
  } catch (...) {
  }
}

bool RegValueExists(RegHive root, const std::string& key, const std::string& name) {
  return Query(root, key, name).has_value();
}

void DeleteRegValue(RegHive root, const std::string& key, const std::string& name) {
  try {
    if (auto k = Open(root, key, false)) k->DeleteValue(name);
  } catch (...) {
  }
}

void GetRegKeyNames(RegHive root, const std::string& key, std::vector<std::string>& list) {
  try {
    list.clear();
    if (auto k = Open(root, key, false)) list = k->SubKeyNames();
  } catch (...) {
  }
}

void DeleteRegSubKeys(RegHive root, const std::string& key) {
  try {
    auto k = Open(root, key, false);
    if (!k) return;
    for (const std::string& name : k->SubKeyNames()) k->DeleteSubKeyTree(name);
  } catch (...) {
  }
}

void DeleteRegValues(RegHive root, const std::string& key) {
  try {
    auto k = Open(root, key, false);
    if (!k) return;
    for (const std::string& name : k->ValueNames()) k->DeleteValue(name);
  } catch (...) {
  }
}
