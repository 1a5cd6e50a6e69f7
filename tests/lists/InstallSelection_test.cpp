// Install and uninstall from the folder fonts list, driven by the list's own double-click and
// its pane's buttons: the file goes into the (scratch) Fonts folder and is registered, the row
// shows the installed colour once the installed fonts know the font, and the uninstall takes
// everything back.
#include <gtest/gtest.h>
#include <shlwapi.h>

#include "app/AppState.h"
#include "app/CFontListsPaneContainer.h"
#include "app/Preferences.h"
#include "common/ResString.h"
#include "common/ResourceIds.h"
#include "common/Seams.h"
#include "fonts/FontInstaller.h"
#include "fonts/InstalledFontRecords.h"
#include "lists/CLVFolderFonts.h"
#include "tests/lists/ListTestHost.h"
#include "tests/support/SfntBuilder.h"
#include "tests/support/TestSupport.h"

using testing_support::ScratchDir;

namespace {

const std::wstring kDejaVuSans = L"Z:\\usr\\share\\fonts\\truetype\\dejavu\\DejaVuSans.ttf";

int g_fontChanges = 0;

// The main window's part: counts the font-change commands.
LRESULT CALLBACK MainProc(HWND window, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_COMMAND && LOWORD(wp) == 215) ++g_fontChanges;
  return ::DefWindowProcW(window, msg, wp, lp);
}

bool ValueData(const std::wstring& name, std::wstring& data) {
  wchar_t buffer[MAX_PATH] = {};
  DWORD size = sizeof(buffer) - sizeof(wchar_t);
  if (::RegGetValueW(HKEY_LOCAL_MACHINE, kFontsKey, name.c_str(), RRF_RT_REG_SZ | RRF_SUBKEY_WOW6464KEY, nullptr,
                     buffer, &size) != ERROR_SUCCESS)
    return false;
  data = buffer;
  return true;
}

}  // namespace

TEST(InstallSelection, FolderListDoubleClickInstallsAndUninstalls) {
  testing_support::ResetRecords();
  ScratchDir fonts, source;
  const std::wstring saved[] = {g_AppState.SystemFontsFolder, g_AppState.UserFontsFolder};
  const bool savedElevated = g_AppState.IsElevated;
  const uint32_t savedFlags = g_Preferences.FontInstallFlags;
  g_AppState.SystemFontsFolder = testing_support::LongPath(fonts.Path());
  g_AppState.UserFontsFolder = testing_support::LongPath(fonts.Path()) + L"\\user";
  g_AppState.IsElevated = true;
  g_Preferences.FontInstallFlags = 0;
  ASSERT_TRUE(sfnt_test::WriteTaggedDejaVu(kDejaVuSans, source.File(L"OrvLst.ttf"), "OrvLst"));
  const std::wstring installedFile = g_AppState.SystemFontsFolder + L"\\OrvLst.ttf";
  const std::wstring valueName = L"OrvLst Sans (TrueType)";

  ListTestHost host;
  CLVFolderFonts& list = g_AppState.FolderFonts;
  host.Attach(list);
  // The host plays the main window; a window of its own class takes the font-change command.
  WNDCLASSW wc{};
  wc.lpfnWndProc = &MainProc;
  wc.hInstance = ::GetModuleHandleW(nullptr);
  wc.lpszClassName = L"OrvelInstallTestMain";
  ::RegisterClassW(&wc);
  HWND main = ::CreateWindowExW(0, wc.lpszClassName, L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, wc.hInstance,
                                nullptr);
  const HWND savedMain = g_AppState.MainWindow;
  g_AppState.MainWindow = main;
  g_fontChanges = 0;

  list.m_zipFolder = false;
  list.m_folder = source.Path();
  ASSERT_EQ(list.Fill(), 1);
  ASSERT_EQ(list.CountRecords(), 1);
  auto doubleClickRow = [&] {
    LVITEMW state{};
    state.stateMask = state.state = LVIS_SELECTED | LVIS_FOCUSED;
    ::SendMessageW(list.m_hWnd, LVM_SETITEMSTATE, 0, reinterpret_cast<LPARAM>(&state));
    NMITEMACTIVATE click{};
    click.hdr.hwndFrom = list.m_hWnd;
    click.hdr.idFrom = static_cast<UINT_PTR>(::GetDlgCtrlID(list.m_hWnd));
    click.hdr.code = NM_DBLCLK;
    click.iItem = 0;
    ::SendMessageW(host.Window(), WM_NOTIFY, click.hdr.idFrom, reinterpret_cast<LPARAM>(&click));
  };

  list.m_refreshPending = false;
  doubleClickRow();
  EXPECT_TRUE(testing_support::Boxes().empty());
  EXPECT_TRUE(::PathFileExistsW(installedFile.c_str()));
  std::wstring data;
  ASSERT_TRUE(ValueData(valueName, data));
  EXPECT_EQ(data, L"OrvLst.ttf");
  EXPECT_EQ(g_fontChanges, 1);
  EXPECT_TRUE(list.m_refreshPending);  // the folder list reloads with the new status

  // Once the installed fonts know the font, the refilled row resolves as installed and takes
  // the installed colour.
  FontItem installed = *list.GetRecordAt(0);
  installed.fullPath = installedFile;
  installed.flags |= font_flags::kInstalled;
  SetInstalledFontRecords({&installed});
  ASSERT_EQ(list.Fill(), 1);
  FontItem* row = list.GetRecordAt(0);
  ASSERT_NE(row, nullptr);
  EnsureFontItemLoaded(list.m_folder, *row);
  EXPECT_TRUE(row->IsInstalled());
  EXPECT_EQ(list.GetItemTextColor(row->flags, 204), g_Preferences.Colors[kColorInstalled]);

  doubleClickRow();
  EXPECT_TRUE(testing_support::Boxes().empty());
  EXPECT_FALSE(::PathFileExistsW(installedFile.c_str()));
  EXPECT_FALSE(ValueData(valueName, data));
  EXPECT_TRUE(::PathFileExistsW(source.File(L"OrvLst.ttf").c_str()));
  EXPECT_EQ(g_fontChanges, 2);

  SetInstalledFontRecords({});
  list.Clear();
  list.m_folder.clear();
  ::RemoveFontResourceW(installedFile.c_str());
  g_AppState.MainWindow = savedMain;
  ::DestroyWindow(main);
  g_AppState.SystemFontsFolder = saved[0];
  g_AppState.UserFontsFolder = saved[1];
  g_AppState.IsElevated = savedElevated;
  g_Preferences.FontInstallFlags = savedFlags;
  ::SetCurrentDirectoryW(testing_support::BinDir().c_str());
}

// The rows the installer leaves out are deselected in the font list the command came from, and
// the folder and group lists reload with the new status; a list-view that is not a font list
// (nobody's rows) is left as it is, and no list is told to reload for it.
TEST(InstallSelection, LeftOutRowsAreDeselectedOnlyInFontLists) {
  testing_support::ResetRecords();
  ScratchDir source;
  const uint32_t savedFlags = g_Preferences.FontInstallFlags;
  const bool savedElevated = g_AppState.IsElevated;
  g_Preferences.FontInstallFlags = 0;
  g_AppState.IsElevated = true;
  const std::string garbage(64, 'x');
  ASSERT_TRUE(testing_support::WriteFileBytes(source.File(L"broken.ttf"), garbage.data(), garbage.size()));
  auto selected = [](HWND list, int row) {
    return (::SendMessageW(list, LVM_GETITEMSTATE, row, LVIS_SELECTED) & LVIS_SELECTED) != 0;
  };
  auto select = [](HWND list, int row) {
    LVITEMW state{};
    state.stateMask = state.state = LVIS_SELECTED;
    ::SendMessageW(list, LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&state));
  };

  ListTestHost host;
  CLVFolderFonts& list = g_AppState.FolderFonts;
  host.Attach(list);
  list.m_zipFolder = false;
  list.m_folder = source.Path();
  ASSERT_EQ(list.Fill(), 1);
  select(list.m_hWnd, 0);
  list.m_refreshPending = false;
  g_AppState.GroupFonts.m_refreshPending = false;
  list.InstallSelection(false);
  ASSERT_EQ(testing_support::Boxes().size(), 1u);
  EXPECT_NE(testing_support::Boxes()[0].text.find(LoadResString(IDS_NOTHING_TO_INSTALL)), std::wstring::npos);
  EXPECT_FALSE(selected(list.m_hWnd, 0)) << "the unreadable font was left out";
  EXPECT_TRUE(list.m_refreshPending);
  EXPECT_TRUE(g_AppState.GroupFonts.m_refreshPending) << "the group list may show the same fonts";

  HWND plain = ::CreateWindowExW(0, WC_LISTVIEWW, L"", WS_CHILD | LVS_REPORT, 0, 0, 100, 100, host.Window(), nullptr,
                                 nullptr, nullptr);
  ASSERT_NE(plain, nullptr);
  LVITEMW item{};
  item.mask = LVIF_TEXT;
  item.pszText = const_cast<wchar_t*>(L"someone else's row");
  ::SendMessageW(plain, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
  select(plain, 0);
  list.m_refreshPending = false;
  g_AppState.GroupFonts.m_refreshPending = false;
  FontItemList items;
  items.AddGroupFont(L"Broken", source.File(L"broken.ttf"));
  items.Entries().front().row = 0;  // the row of the plain list-view
  FontInstaller installer(&items, plain, false);
  EXPECT_FALSE(installer.InstallSelected(kInstallFromList));
  EXPECT_TRUE(selected(plain, 0));
  EXPECT_FALSE(list.m_refreshPending);
  EXPECT_FALSE(g_AppState.GroupFonts.m_refreshPending);

  ::DestroyWindow(plain);
  list.Clear();
  list.m_folder.clear();
  g_Preferences.FontInstallFlags = savedFlags;
  g_AppState.IsElevated = savedElevated;
  ::SetCurrentDirectoryW(testing_support::BinDir().c_str());
}
