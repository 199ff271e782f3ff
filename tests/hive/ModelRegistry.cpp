#include "ModelRegistry.h"

namespace {

std::string Upper(std::string s) {
  for (char& c : s)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return s;
}

std::vector<std::string> Split(const std::string& path) {
  std::vector<std::string> parts;
  std::string part;
  for (char c : path + "\\") {
    if (c != '\\') {
      part += c;
    } else if (!part.empty()) {
      parts.push_back(part);
      part.clear();
    }
  }
  return parts;
}

int Index(RegHive hive) {
  return hive == RegHive::LocalMachine ? 1 : 0;
}

class ModelKey : public IRegKey {
 public:
  ModelKey(ModelRegistry& r, RegHive hive, std::vector<std::string> parts)
      : r_(r), hive_(hive), parts_(std::move(parts)) {}

  std::optional<RegValue> QueryValue(const std::string& name) override {
    auto* v = Find(name);
    return v ? std::optional<RegValue>(v->second) : std::nullopt;
  }
  bool SetValue(const std::string& name, const RegValue& value) override {
    auto* key = Key();
    if (!key) return false;
    if (auto* v = Find(name))
      v->second = value;
    else
      key->values.emplace_back(name, value);
    return true;
  }
  bool DeleteValue(const std::string& name) override {
    auto* key = Key();
    if (!key) return false;
    for (auto it = key->values.begin(); it != key->values.end(); ++it)
      if (Upper(it->first) == Upper(name)) {
        key->values.erase(it);
        return true;
      }
    return false;
  }
  std::vector<std::string> ValueNames() override {
    std::vector<std::string> names;
    if (auto* key = Key())
      for (auto& [name, value] : key->values) names.push_back(name);
    return names;
  }
  std::vector<std::string> SubKeyNames() override {
    std::vector<std::string> names;
    if (auto* key = Key())
      for (auto& [upper, kid] : key->kids) names.push_back(kid.name);
    return names;
  }
  bool DeleteSubKeyTree(const std::string& name) override {
    auto sub = Split(name);
    if (sub.empty()) return false;
    auto parts = parts_;
    parts.insert(parts.end(), sub.begin(), sub.end() - 1);
    auto* parent = r_.Resolve(hive_, parts, false);
    return parent && parent->kids.erase(Upper(sub.back())) > 0;
  }

 private:
  ModelRegistry::Key* Key() { return r_.Resolve(hive_, parts_, false); }
  std::pair<std::string, RegValue>* Find(const std::string& name) {
    if (auto* key = Key())
      for (auto& v : key->values)
        if (Upper(v.first) == Upper(name)) return &v;
    return nullptr;
  }
  ModelRegistry& r_;
  RegHive hive_;
  std::vector<std::string> parts_;
};

}  // namespace

ModelRegistry::Key* ModelRegistry::Resolve(RegHive hive, const std::vector<std::string>& parts,
                                           bool create) {
  Key* key = &hives_[Index(hive)];
  for (const auto& part : parts) {
    auto it = key->kids.find(Upper(part));
    if (it == key->kids.end()) {
      if (!create) return nullptr;
      it = key->kids.emplace(Upper(part), Key{part, {}, {}}).first;
    }
    key = &it->second;
  }
  return key;
}

std::unique_ptr<IRegKey> ModelRegistry::OpenKey(RegHive hive, const std::string& path,
                                                bool create) {
  auto parts = Split(path);
  if (!Resolve(hive, parts, create)) return nullptr;
  return std::make_unique<ModelKey>(*this, hive, std::move(parts));
}

bool ModelRegistry::BeginBatch(RegHive hive) {
  if (saved_[Index(hive)]) return false;
  saved_[Index(hive)] = hives_[Index(hive)];
  return true;
}

bool ModelRegistry::CommitBatch(RegHive hive) {
  bool open = saved_[Index(hive)].has_value();
  saved_[Index(hive)].reset();
  return open;
}

void ModelRegistry::RollbackBatch(RegHive hive) {
  if (!saved_[Index(hive)]) return;
  hives_[Index(hive)] = std::move(*saved_[Index(hive)]);
  saved_[Index(hive)].reset();
}
