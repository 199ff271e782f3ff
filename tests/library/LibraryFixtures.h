#pragma once
// Small library trees for the store tests.

#include <string>

#include "library/clsLibrary.h"

inline TPasteItem* AddItem(TFolder& folder, const std::string& name, const std::string& value,
                           uint8_t kind = 1) {
  auto* item = new TPasteItem;
  item->Name = name;
  item->Value = value;
  item->Kind = kind;
  folder.Items.Add(item);
  return item;
}

inline TFolder* AddFolder(TFolder& parent, const std::string& name) {
  auto* folder = new TFolder;
  folder->Name = name;
  parent.Folders.Add(folder);
  return folder;
}

// A library of `folders` x `folders` sub-folders (two levels) with `items`
// multi-line items each; `variant` changes every name and value.
inline void FillLibrary(TFolder& root, int folders, int items, const std::string& variant) {
  root.Name = "Root " + variant;
  for (int f = 0; f < folders; ++f) {
    TFolder* top = AddFolder(root, "Folder " + std::to_string(f) + variant);
    for (int g = 0; g < folders; ++g) {
      TFolder* sub = AddFolder(*top, "Sub " + std::to_string(g) + variant);
      for (int i = 0; i < items; ++i)
        AddItem(*sub, "Item " + std::to_string(i) + variant,
                "Line one of " + std::to_string(i) + "\r\nline two " + variant + "\r\n", 1);
    }
  }
}

// Whether two trees have the same names, kinds, values and orders; the first
// difference is reported through `why`.
inline bool SameTree(const TFolder& a, const TFolder& b, std::string* why = nullptr,
                     const std::string& where = "root") {
  auto fail = [&](const std::string& what) {
    if (why) *why = where + ": " + what;
    return false;
  };
  if (a.Name != b.Name) return fail("name '" + a.Name + "' vs '" + b.Name + "'");
  if (a.Folders.Count() != b.Folders.Count()) return fail("folder count");
  if (a.Items.Count() != b.Items.Count()) return fail("item count");
  for (int i = 0; i < a.Items.Count(); ++i) {
    const TPasteItem &x = *a.Items[i], &y = *b.Items[i];
    if (x.Name != y.Name || x.Kind != y.Kind || x.Value != y.Value)
      return fail("item " + std::to_string(i) + " ('" + x.Name + "' vs '" + y.Name + "')");
  }
  for (int i = 0; i < a.Folders.Count(); ++i)
    if (!SameTree(*a.Folders[i], *b.Folders[i], why, where + "/" + std::to_string(i)))
      return false;
  return true;
}
