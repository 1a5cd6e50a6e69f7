// The favourite folders as the "FavoriteFolders" preference keeps them: one string of folder
// paths, each followed by "|" ("C:\Fonts\A|D:\Type|"), at most kFavoriteFoldersMax characters.
// Runs of "|" are one separator, so empty entries never count. The favourites band is the only
// editor; these are its string operations.
#pragma once

#include <string>
#include <vector>

// The entries in order.
std::vector<std::wstring> SplitFavorites(const std::wstring& favorites);

// Entry `index`, or empty past the last one.
std::wstring FavoriteAt(const std::wstring& favorites, int index);

enum class FavoriteAdd {
  Added,
  Unchanged,  // a drive root, an empty folder, or already a favourite (in any case)
  TooLong,    // the string would grow past its limit
};
// Appends `folder` as the last favourite.
FavoriteAdd AddFavorite(std::wstring& favorites, const std::wstring& folder);

// Removes every entry equal to `folder` (case-sensitive). An empty folder removes nothing.
void RemoveFavorite(std::wstring& favorites, const std::wstring& folder);
