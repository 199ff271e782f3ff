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

bool TTextMatcher::Contains(std::string_view text) {
  if (matchCase_) return FindAtCharBoundary(text, pattern_) != std::string_view::npos;
  buffer_.assign(text);
  for (char& c : buffer_)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return FindAtCharBoundary(buffer_, pattern_) != std::string_view::npos;
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
