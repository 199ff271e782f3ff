#include "library/clsLibrary.h"

#include <algorithm>
#include <string_view>
#include <vector>

#include "library/SLRegistry.h"

TFolder* RootFolder = nullptr;

void TPasteItem::Assign(const TPasteItem& source) {
  Name = source.Name;
  Kind = source.Kind;
  Value = source.Value;
}

void TPasteItem::SaveToRegistry(RegHive root, const std::string& key) const {
  DeleteRegValues(root, key);
  WriteRegString(root, key, "Name", Name);
  WriteRegInteger(root, key, "Kind", Kind & 127);
  WriteRegString(root, key, "Value", Value);
}

void TPasteItem::LoadFromRegistry(RegHive root, const std::string& key) {
  Name = ReadRegString(root, key, "Name", "");
  Kind = static_cast<uint8_t>(ReadRegInteger(root, key, "Kind", 0) & 0xFF);
  Value = ReadRegString(root, key, "Value", "");
}

void TFolder::Assign(const TFolder& source) {
  Name = source.Name;
  for (TFolder* sub : source.Folders) {
    auto* copy = new TFolder;
    Folders.Add(copy);
    copy->Assign(*sub);
  }
  for (TPasteItem* item : source.Items) {
    auto* copy = new TPasteItem;
    Items.Add(copy);
    copy->Assign(*item);
  }
}

void TFolder::SaveToRegistry(RegHive root, const std::string& key) const {
  DeleteRegValues(root, key);
  DeleteRegSubKeys(root, key);
  WriteRegString(root, key, "Name", Name);
  for (int n = 0; n < Folders.Count(); ++n)
    Folders[n]->SaveToRegistry(root, key + "\\f_" + std::to_string(n));
  for (int n = 0; n < Items.Count(); ++n)
    Items[n]->SaveToRegistry(root, key + "\\i_" + std::to_string(n));
}

namespace {

// A child sub-key with the position number it carries, if any. The digits
// are a copy of their own: a view into `name` would dangle once the key is
// moved into its list (short names live inside the string object).
struct ChildKey {
  std::string name;
  std::string digits;  // the decimal suffix without leading zeros; empty: not numbered
  bool numbered = false;
};

ChildKey Classify(const std::string& name) {
  ChildKey c{name, {}, false};
  std::string_view suffix = std::string_view(name).substr(2);
  if (suffix.empty() ||
      !std::all_of(suffix.begin(), suffix.end(), [](char ch) { return ch >= '0' && ch <= '9'; }))
    return c;
  size_t first = suffix.find_first_not_of('0');
  if (first != std::string_view::npos) c.digits = suffix.substr(first);
  c.numbered = true;
  return c;
}

// Numbered keys by their number (any length), then the others in registry order.
void SortByPosition(std::vector<ChildKey>& keys) {
  std::stable_sort(keys.begin(), keys.end(), [](const ChildKey& a, const ChildKey& b) {
    if (a.numbered != b.numbered) return a.numbered;
    if (!a.numbered) return false;
    if (a.digits.size() != b.digits.size()) return a.digits.size() < b.digits.size();
    return a.digits < b.digits;
  });
}

}  // namespace

void TFolder::LoadFromRegistry(RegHive root, const std::string& key) {
  Name = ReadRegString(root, key, "Name", "");
  try {
    std::vector<std::string> names;
    GetRegKeyNames(root, key, names);
    std::vector<ChildKey> folders, items;
    for (const std::string& name : names) {
      if (name.compare(0, 2, "f_") == 0)
        folders.push_back(Classify(name));
      else if (name.compare(0, 2, "i_") == 0)
        items.push_back(Classify(name));
    }
    SortByPosition(folders);
    SortByPosition(items);
    for (const ChildKey& c : folders) {
      auto* folder = new TFolder;
      Folders.Add(folder);
      folder->LoadFromRegistry(root, key + "\\" + c.name);
    }
    for (const ChildKey& c : items) {
      auto* item = new TPasteItem;
      Items.Add(item);
      item->LoadFromRegistry(root, key + "\\" + c.name);
    }
  } catch (...) {
    // What was loaded so far stays; the rest of this folder is skipped.
  }
}

void SaveLibrary(RegHive root, const std::string& key, const TFolder& folder) {
  RegistryBatch batch(root);
  folder.SaveToRegistry(root, key);
  batch.Commit();
}

std::string LibraryKey(const std::string& productKey) {
  return productKey + "\\Folders";
}
