#include "app/FavoriteFolders.h"

#include "app/Preferences.h"
#include "common/StringHelpers.h"

namespace {

constexpr wchar_t kSeparator = L'|';
// "C:\" and its separator: drive roots never become favourites.
constexpr size_t kRootEntryLength = 4;

}  // namespace

std::vector<std::wstring> SplitFavorites(const std::wstring& favorites) {
  std::vector<std::wstring> entries;
  size_t start = 0;
  while (start < favorites.size()) {
    const size_t bar = favorites.find(kSeparator, start);
    const size_t end = bar == std::wstring::npos ? favorites.size() : bar;
    if (end > start) entries.push_back(favorites.substr(start, end - start));
    start = end + 1;
  }
  return entries;
}

std::wstring FavoriteAt(const std::wstring& favorites, int index) {
  const std::vector<std::wstring> entries = SplitFavorites(favorites);
  return index >= 0 && static_cast<size_t>(index) < entries.size() ? entries[static_cast<size_t>(index)]
                                                                    : std::wstring();
}

FavoriteAdd AddFavorite(std::wstring& favorites, const std::wstring& folder) {
  // A hand-edited string may lack its last separator: the new entry must not run into the last.
  const std::wstring lead = !favorites.empty() && favorites.back() != kSeparator ? L"|" : L"";
  const std::wstring entry = folder + kSeparator;
  if (favorites.size() + lead.size() + entry.size() > kFavoriteFoldersMax) return FavoriteAdd::TooLong;
  if (entry.size() <= kRootEntryLength || folder.find(kSeparator) != std::wstring::npos)
    return FavoriteAdd::Unchanged;
  for (const std::wstring& existing : SplitFavorites(favorites))
    if (EqualsNoCase(existing, folder)) return FavoriteAdd::Unchanged;
  favorites += lead + entry;
  return FavoriteAdd::Added;
}

void RemoveFavorite(std::wstring& favorites, const std::wstring& folder) {
  // Without a folder there is nothing to remove: taking out "|" alone would join every entry.
  if (folder.empty()) return;
  std::wstring kept;
  bool removed = false;
  for (const std::wstring& entry : SplitFavorites(favorites)) {
    if (entry == folder) {
      removed = true;
      continue;
    }
    kept += entry + kSeparator;
  }
  if (removed) favorites = kept;
}
