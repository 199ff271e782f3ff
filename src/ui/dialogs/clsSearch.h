#pragma once
// Finding paste items by a text in their name, their value or either, and
// removing a found item from the library. Plain C++: the search dialog's
// model.
#include <string>
#include <string_view>
#include <vector>

class TFolder;
class TPasteItem;

enum class TSearchField { Name, Value, AllFields };

struct TSearchHit {
  TPasteItem* Item;
  TFolder* Folder;  // the folder that holds the item
};

// Upper-cases the ASCII letters a to z only; other bytes stay.
std::string AsciiUpperCase(std::string_view text);

// One search text, prepared once and tested against many texts.
class TTextMatcher {
 public:
  TTextMatcher(std::string_view text, bool matchCase);
  // Whether the text occurs in `text` (starting at a character boundary);
  // without match case both are compared with ASCII letters upper-cased.
  bool Contains(std::string_view text);

 private:
  std::string pattern_;
  bool matchCase_;
  std::string buffer_;
};

// Visits `root`: its items in order, then each sub-folder the same way, and
// appends every item that matches to `hits`.
void FindPasteItems(TFolder& root, std::string_view text, TSearchField field, bool matchCase,
                    std::vector<TSearchHit>& hits);

// Looks for the item from `root` down (each folder's own items first, then
// its sub-folders in order) and removes it from the folder that holds it,
// which frees it. False when it is not below root.
bool RemovePasteItem(TFolder& root, TPasteItem* item);
