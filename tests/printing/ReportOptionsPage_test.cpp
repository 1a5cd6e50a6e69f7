// The report options page in a real property sheet, driven by its own messages from a second
// thread while the sheet runs: the stored options, the mode switch with its enabled states and
// preview, the zoom slider, and the options written back on OK.
#include "printing/CReportOptionsPage.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <atomic>
#include <thread>

#include "app/AppState.h"
#include "app/Preferences.h"
#include "common/RegistryValue.h"
#include "printing/CPrintFontList.h"
#include "tests/printing/PrintingTestSupport.h"
#include "tests/support/TestSupport.h"

namespace {

class OptionsSheet : public orv::CPropertySheetImpl<OptionsSheet> {};

std::wstring TextOf(HWND window) {
  wchar_t text[128] = {};
  ::InternalGetWindowText(window, text, 128);
  return text;
}

}  // namespace

TEST(ReportOptionsPage, ModesPreviewZoomAndStoredOptions) {
  ::RegDeleteTreeW(HKEY_CURRENT_USER, kAppKeyPath);
  orv::ScopedKey prefs;
  ::RegCreateKeyExW(HKEY_CURRENT_USER, kPrefsKeyPath, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, prefs.Receive(), nullptr);
  WriteRegDword(prefs.Get(), L"PrintFlags", 0x3D5);  // set mode, three columns

  CReportOptionsPage page(nullptr);
  OptionsSheet sheet;
  sheet.AddPage(page);
  std::atomic<bool> setModeDisabled{false}, listModeEnabled{false}, listPreview{false};
  std::atomic<int> zoom{0};
  std::wstring caption;
  std::thread driver([&] {
    for (int i = 0; i < 200 && !page.m_hWnd; ++i) ::Sleep(25);
    HWND p = page.m_hWnd;
    if (!p) return;
    // The sheet shows itself once its page has initialised.
    for (int i = 0; i < 200 && !::IsWindowVisible(::GetParent(p)); ++i) ::Sleep(25);
    ::SendMessageW(p, WM_NULL, 0, 0);
    setModeDisabled = !::IsWindowEnabled(::GetDlgItem(p, IDC_REPORT_COLUMNS)) &&
                      !::IsWindowEnabled(::GetDlgItem(p, IDC_REPORT_TITLE));
    ::SendMessageW(::GetDlgItem(p, IDC_REPORT_LIST_MODE), BM_CLICK, 0, 0);
    listModeEnabled = ::IsWindowEnabled(::GetDlgItem(p, IDC_REPORT_COLUMNS)) &&
                      ::IsWindowEnabled(::GetDlgItem(p, IDC_REPORT_SHOW_VERSION));
    listPreview = dynamic_cast<CPrintFontList*>(page.Preview()) != nullptr;
    HWND slider = ::GetDlgItem(p, IDC_REPORT_ZOOM);
    ::SendMessageW(slider, TBM_SETPOS, TRUE, 0);
    ::SendMessageW(p, WM_HSCROLL, MAKEWPARAM(TB_THUMBPOSITION, 0), reinterpret_cast<LPARAM>(slider));
    zoom = page.Preview() ? page.Preview()->Zoom() : -1;
    caption = TextOf(::GetDlgItem(p, IDC_REPORT_PREVIEW));
    ::SendMessageW(::GetDlgItem(p, IDC_REPORT_COLUMNS), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"4"));
    ::SendMessageW(::GetDlgItem(p, IDC_REPORT_SHOW_VERSION), BM_CLICK, 0, 0);
    ::PostMessageW(::GetParent(p), PSM_PRESSBUTTON, PSBTN_OK, 0);
  });
  EXPECT_GT(sheet.DoModal(nullptr), 0);
  driver.join();

  EXPECT_TRUE(setModeDisabled) << "set mode disables the list's controls";
  EXPECT_TRUE(listModeEnabled);
  EXPECT_TRUE(listPreview) << "list mode previews a font list";
  EXPECT_EQ(zoom, 25) << "slider position 0 is 25 %, not 0 %";
  EXPECT_EQ(caption.substr(caption.size() - 6), L" (25%)");
  EXPECT_EQ(page.Title(), L"Fonts") << "the default title of a list of unknown kind";
  const ReportOptions stored = ReadReportOptions();
  EXPECT_FALSE(stored.setMode);
  EXPECT_EQ(stored.columns, 4);
  EXPECT_TRUE(stored.showVersion && stored.showFile && stored.singleLineSample && stored.showId && stored.showScripts);
  ::RegDeleteTreeW(HKEY_CURRENT_USER, kAppKeyPath);
}

// The title a report starts with names what the list shows: the folder's last part, the
// installed fonts, or the group selected in the groups tree.
TEST(ReportOptionsPage, DefaultTitleNamesWhatTheListShows) {
  testing_support::ScratchDir groups;
  printing_tests::SelectedGroup selected(groups.Path(), L"Holiday Posters");
  ASSERT_TRUE(selected.IsSelected());
  const std::wstring savedFolder = g_AppState.FolderFonts.m_folder;
  g_AppState.FolderFonts.m_folder = L"C:\\Type\\Display Faces\\";
  const struct {
    int list;
    const wchar_t* title;
  } cases[] = {{IDC_FOLDER_FONTS_LIST, L"Fonts in Display Faces"},
               {IDC_INSTALLED_FONTS_LIST, L"Installed Fonts"},
               {IDC_GROUP_FONTS_LIST, L"Font Group Holiday Posters"},
               {IDC_SEARCH_RESULTS, L"Fonts"}};
  for (const auto& c : cases) {
    COrvelListView list;
    printing_tests::ListHost host(list, c.list);
    EXPECT_EQ(MakeDefaultReportTitle(&list), c.title) << "list " << c.list;
  }
  g_AppState.FolderFonts.m_folder = savedFolder;
}
