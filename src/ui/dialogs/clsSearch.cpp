#include "ui/dialogs/clsSearch.h"

#include "framework/SLText.h"
#include "library/clsLibrary.h"

std::string AsciiUpperCase(std::string_view text) {
  std::string out(text);
  for (char& c : out)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return out;
}

TTextMatcher::TTextMatcher(std::string_view text, bool matchCase)
    : pattern_(matchCase ? std::string(text) : AsciiUpperCase(text)), matchCase_(matchCase) {}

namespace {

// A plain substring search; a hit that starts inside a multi-byte character
// does not count and the search goes on after it.
bool FindFromBoundary(std::string_view text, std::string_view pattern) {
  for (size_t at = text.find(pattern); at != std::string_view::npos;
       at = text.find(pattern, at + 1))
    if (IsCharBoundary(text, at)) return true;
  return false;
}

}  // namespace

bool TTextMatcher::Contains(std::string_view text) {
  if (matchCase_) return FindFromBoundary(text, pattern_);
  buffer_.assign(text);
  for (char& c : buffer_)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return FindFromBoundary(buffer_, pattern_);
}

namespace {

void Visit(TFolder& folder, TTextMatcher& matcher, TSearchField field,
           std::vector<TSearchHit>& hits) {
  for (int i = 0; i < folder.Items.Count(); ++i) {
    TPasteItem* item = folder.Items[i];
    bool found = false;
    switch (field) {
      case TSearchField::Name:
        found = matcher.Contains(item->Name);
        break;
      case TSearchField::Value:
        found = matcher.Contains(item->Value);
        break;
      case TSearchField::AllFields:
        found = matcher.Contains(item->Name) || matcher.Contains(item->Value);
        break;
    }
    if (found) hits.push_back({item, &folder});
  }
  for (int i = 0; i < folder.Folders.Count(); ++i) Visit(*folder.Folders[i], matcher, field, hits);
}

}  // namespace

void FindPasteItems(TFolder& root, std::string_view text, TSearchField field, bool matchCase,
                    std::vector<TSearchHit>& hits) {
  TTextMatcher matcher(text, matchCase);
  Visit(root, matcher, field, hits);
}

bool RemovePasteItem(TFolder& root, TPasteItem* item) {
  if (root.Items.IndexOf(item) >= 0) {
    root.Items.Remove(item);
    return true;
  }
  for (int i = 0; i < root.Folders.Count(); ++i)
    if (RemovePasteItem(*root.Folders[i], item)) return true;
  return false;
}
