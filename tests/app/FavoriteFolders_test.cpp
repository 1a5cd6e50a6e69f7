// The favourite folders: the string operations of the favourites band, the 1300-character limit
// through the registry, and the band's own buttons.
#include "app/FavoriteFolders.h"

#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include "app/AppState.h"
#include "app/CFolderTVContainer.h"
#include "app/COrvelFavWnd.h"
#include "app/Preferences.h"
#include "app/WindowLayout.h"
#include "tests/support/TestSupport.h"

using namespace testing_support;

namespace {

TEST(FavoriteFolders, AddAndRemoveAsTheBandDoes) {
  struct Add {
    const wchar_t* before;
    const wchar_t* folder;
    FavoriteAdd result;
    const wchar_t* after;
  };
  const Add adds[] = {
      {L"C:\\Fonts\\A|", L"D:\\Type", FavoriteAdd::Added, L"C:\\Fonts\\A|D:\\Type|"},
      {L"C:\\Fonts\\A|D:\\Type|", L"d:\\type", FavoriteAdd::Unchanged, L"C:\\Fonts\\A|D:\\Type|"},
      {L"C:\\Fonts\\A|", L"C:\\", FavoriteAdd::Unchanged, L"C:\\Fonts\\A|"},  // drive roots never
      {L"C:\\Fonts\\A|", L"", FavoriteAdd::Unchanged, L"C:\\Fonts\\A|"},
      {L"", L"D:\\Type", FavoriteAdd::Added, L"D:\\Type|"},
      // A string without its last separator does not run the new entry into the last one.
      {L"C:\\Fonts\\A", L"D:\\Type", FavoriteAdd::Added, L"C:\\Fonts\\A|D:\\Type|"},
      // "D:\Type" inside another entry is not that entry.
      {L"X:\\Old\\D:\\Type|", L"D:\\Type", FavoriteAdd::Added, L"X:\\Old\\D:\\Type|D:\\Type|"},
  };
  for (const Add& a : adds) {
    std::wstring favorites = a.before;
    EXPECT_EQ(AddFavorite(favorites, a.folder), a.result) << Narrow(a.before) << " + " << Narrow(a.folder);
    EXPECT_EQ(favorites, a.after);
  }

  struct Remove {
    const wchar_t* before;
    const wchar_t* shown;
    const wchar_t* after;
  };
  const Remove removes[] = {
      {L"C:\\Fonts\\A|D:\\Type|", L"D:\\Type", L"C:\\Fonts\\A|"},
      {L"D:\\Type|", L"D:\\Type", L""},
      {L"D:\\Type", L"D:\\Type", L""},                                  // the whole string
      {L"C:\\Fonts\\A|D:\\Type|", L"d:\\type", L"C:\\Fonts\\A|D:\\Type|"},  // case-sensitive
      // An empty button removes nothing: taking out "|" alone would join every entry.
      {L"C:\\Fonts\\A|D:\\Type|", L"", L"C:\\Fonts\\A|D:\\Type|"},
      {L"D:\\Type|C:\\A||D:\\Type|", L"D:\\Type", L"C:\\A|"},
  };
  for (const Remove& r : removes) {
    std::wstring favorites = r.before;
    RemoveFavorite(favorites, r.shown);
    EXPECT_EQ(favorites, r.after) << Narrow(r.before) << " - " << Narrow(r.shown);
  }
}

TEST(FavoriteFolders, EntriesSkipEmptyTokens) {
  const std::wstring favorites = L"||C:\\A|||D:\\B|E:\\C";
  EXPECT_EQ(SplitFavorites(favorites).size(), 3u);
  EXPECT_EQ(FavoriteAt(favorites, 0), L"C:\\A");
  EXPECT_EQ(FavoriteAt(favorites, 2), L"E:\\C");
  EXPECT_EQ(FavoriteAt(favorites, 3), L"");
  EXPECT_EQ(FavoriteAt(favorites, -1), L"");
}

// The band may fill the string to exactly 1300 characters; what it writes is read back whole.
TEST(FavoriteFolders, TheFullStringSurvivesARestart) {
  ::RegDeleteTreeW(HKEY_CURRENT_USER, kAppKeyPath);
  HKEY key = nullptr;
  ::RegCreateKeyExW(HKEY_CURRENT_USER, kPrefsKeyPath, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr);
  ::RegCloseKey(key);
  const std::wstring saved = g_Preferences.FavoriteFolders;
  std::wstring favorites;
  for (int n = 0; favorites.size() < 1200; ++n)
    ASSERT_EQ(AddFavorite(favorites, L"C:\\Fonts\\Folder " + std::to_wstring(n)), FavoriteAdd::Added);
  // Top the string up to the limit exactly with one last folder of the right length.
  const size_t room = kFavoriteFoldersMax - favorites.size() - 1;
  EXPECT_EQ(AddFavorite(favorites, L"C:\\" + std::wstring(room - 3, L'x')), FavoriteAdd::Added);
  ASSERT_EQ(favorites.size(), kFavoriteFoldersMax);
  EXPECT_EQ(AddFavorite(favorites, L"C:\\y"), FavoriteAdd::TooLong);
  EXPECT_EQ(favorites.size(), kFavoriteFoldersMax);

  g_Preferences.FavoriteFolders = favorites;
  SaveWindowLayout(nullptr);
  g_Preferences.FavoriteFolders.clear();
  WindowLayout layout{};
  LoadWindowLayout(layout);
  EXPECT_EQ(g_Preferences.FavoriteFolders, favorites);
  g_Preferences.FavoriteFolders = saved;
  ::RegDeleteTreeW(HKEY_CURRENT_USER, kAppKeyPath);
}

// The band in the folder pane: button 283 shows it under the caption's text line; its buttons
// add the folder list's folder and remove the favourite shown.
TEST(FavoritesBand, ShownByThePaneAddsAndRemoves) {
  const std::wstring savedFavorites = g_Preferences.FavoriteFolders;
  const std::wstring savedFolder = g_AppState.FolderFonts.m_folder;
  g_Preferences.FavoriteFolders = L"C:\\Fonts\\A|";
  ResetRecords();
  HWND host = ::CreateWindowExW(0, L"STATIC", nullptr, WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, 300, 300,
                                nullptr, nullptr, nullptr, nullptr);
  CFolderTVContainer pane;
  RECT rc{0, 0, 300, 300};
  ASSERT_TRUE(pane.Create(host, &rc));
  COrvelFavWnd& band = pane.Favorites();
  EXPECT_EQ(band.GetCurrentText(), L"C:\\Fonts\\A") << "the first favourite is shown";
  const int caption = pane.m_cyCaption;
  for (const bool shown : {true, false}) {
    ::SendMessageW(pane.m_hWndToolBar, TB_CHECKBUTTON, ID_PANE_FAVORITES, shown);
    pane.SendMessage(WM_COMMAND, ID_PANE_FAVORITES, reinterpret_cast<LPARAM>(pane.m_hWndToolBar));
    EXPECT_EQ(::IsWindowVisible(band) != FALSE, shown);
    RECT bandRect{};
    ::GetWindowRect(band, &bandRect);
    ::MapWindowPoints(nullptr, pane, reinterpret_cast<POINT*>(&bandRect), 2);
    EXPECT_EQ(bandRect.top, caption);
    const int grown = shown ? bandRect.bottom - bandRect.top - ::GetSystemMetrics(SM_CXBORDER) : 0;
    EXPECT_EQ(pane.m_cyCaption, caption + grown);
    if (!shown) continue;
    g_AppState.FolderFonts.m_folder = L"D:\\Type";
    band.SendMessage(WM_COMMAND, ID_FAV_ADD);
    EXPECT_EQ(g_Preferences.FavoriteFolders, L"C:\\Fonts\\A|D:\\Type|");
    EXPECT_EQ(band.GetCurrentText(), L"D:\\Type");
    PumpMessages(50);
    EXPECT_TRUE(SaveWindowImage(host, ArtifactsDir() + L"\\app_favorites_band.bmp"));
    band.SendMessage(WM_COMMAND, ID_FAV_REMOVE);
    EXPECT_EQ(g_Preferences.FavoriteFolders, L"C:\\Fonts\\A|");
    EXPECT_EQ(band.GetCurrentText(), L"");
    band.SendMessage(WM_COMMAND, ID_FAV_REMOVE);
    EXPECT_EQ(g_Preferences.FavoriteFolders, L"C:\\Fonts\\A|") << "nothing shown, nothing removed";
    g_Preferences.FavoriteFolders = L"C:\\" + std::wstring(kFavoriteFoldersMax - 4, L'x') + L"|";
    band.SendMessage(WM_COMMAND, ID_FAV_ADD);
    EXPECT_EQ(Beeps().size(), 1u) << "a favourite that does not fit beeps";
  }
  pane.DestroyWindow();
  ::DestroyWindow(host);
  g_Preferences.FavoriteFolders = savedFavorites;
  g_AppState.FolderFonts.m_folder = savedFolder;
}

}  // namespace
