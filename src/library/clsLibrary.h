#pragma once
// The paste library: a tree of folders, each with ordered sub-folders and
// ordered paste items, and its stored form in the registry (one key per
// folder and item under ProductKey\Folders).
#include <cstdint>
#include <string>

#include "library/SLList.h"
#include "platform/Registry.h"

class TPasteItem {
 public:
  std::string Name;
  uint8_t Kind = 0;  // carried along, never interpreted; items the program creates get 1
  std::string Value;

  void Assign(const TPasteItem& source);
  // Writes "Name", "Kind" (Kind and 127) and "Value" under key, after deleting its values.
  void SaveToRegistry(RegHive root, const std::string& key) const;
  void LoadFromRegistry(RegHive root, const std::string& key);
};

class TFolder {
 public:
  std::string Name;
  TSLList<TPasteItem> Items;
  TSLList<TFolder> Folders;

  // Appends deep copies of the source's sub-folders and items and takes its name.
  void Assign(const TFolder& source);
  // Rewrites everything under key: the name, then "f_<n>" per sub-folder and
  // "i_<n>" per item, numbered by position from 0.
  void SaveToRegistry(RegHive root, const std::string& key) const;
  // Loads into an empty folder. Sub-folders and items come back in the order
  // of their position numbers, whatever order the registry lists them in.
  void LoadFromRegistry(RegHive root, const std::string& key);
};

// The root of the library, created by start-up.
extern TFolder* RootFolder;

// Saves the whole library as one registry batch, so that an interrupted save
// leaves either the old or the new library.
void SaveLibrary(RegHive root, const std::string& key, const TFolder& folder);

// The library key under a product key: ProductKey + "\Folders".
std::string LibraryKey(const std::string& productKey);
