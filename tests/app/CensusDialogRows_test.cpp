// The census dialog opened from the real main window, over a census of a small folder tree: what
// a row of its list does (sorting by a column, showing its folder in the main window, its
// property sheet, the preview of its font in the tooltip), the reset when an include box
// changes, and the window rectangle kept as "CensusDlgRect" for the next time.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "app/AppState.h"
#include "app/CMainFrame.h"
#include "app/Preferences.h"
#include "common/RegistryValue.h"
#include "common/ResString.h"
#include "common/ResourceIds.h"
#include "lists/CCensusDlg.h"
#include "tests/support/ModalScript.h"
#include "tests/support/TestSupport.h"

using namespace testing_support;

namespace {

const std::wstring kDejaVu = L"Z:\\usr\\share\\fonts\\truetype\\dejavu\\";

class CensusDialogRows : public ::testing::Test {
protected:
  void SetUp() override {
    // The window's rectangle is written into a Prefs key that exists; nothing else is stored.
    ::RegDeleteTreeW(HKEY_CURRENT_USER, kAppKeyPath);
    HKEY prefs = nullptr;
    ASSERT_EQ(::RegCreateKeyExW(HKEY_CURRENT_USER, kPrefsKeyPath, 0, nullptr, 0, KEY_WRITE, nullptr, &prefs, nullptr),
              ERROR_SUCCESS);
    ::RegCloseKey(prefs);
    saved_ = {g_AppState.SystemFontsFolder, g_AppState.UserFontsFolder};
    root_ = LongPath(scratch_.Path());
    g_AppState.SystemFontsFolder = root_ + L"\\sys";
    g_AppState.UserFontsFolder = root_ + L"\\nowhere";
    for (const auto& [folder, name] : {std::pair{L"a", L"DejaVuSans.ttf"}, std::pair{L"b", L"DejaVuSerif.ttf"},
                                       std::pair{L"b", L"DejaVuSansMono.ttf"}}) {
      ::CreateDirectoryW((root_ + L"\\" + folder).c_str(), nullptr);
      ASSERT_TRUE(::CopyFileW((kDejaVu + name).c_str(), (root_ + L"\\" + folder + L"\\" + name).c_str(), FALSE));
    }
    frame_ = std::make_unique<CMainFrame>();
    ASSERT_TRUE(frame_->CreateMainWindow());
    frame_->ShowWindow(SW_SHOWNORMAL);
    for (int i = 0; i < 4; ++i) frame_->RunIdleJob();  // the folder tree is built
  }
  void TearDown() override {
    if (frame_ && frame_->IsWindow()) frame_->DestroyWindow();
    frame_.reset();
    PumpMessages(20);
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
    g_AppState.SystemFontsFolder = saved_[0];
    g_AppState.UserFontsFolder = saved_[1];
    g_AppState.FolderFonts.m_folder.clear();
    g_AppState.FolderFonts.m_rememberedRow.clear();
    ::SetCurrentDirectoryW(BinDir().c_str());
    ::RegDeleteTreeW(HKEY_CURRENT_USER, kAppKeyPath);
  }

  // The census window of the main window (command 145), opened when it is not.
  CCensusDlg& Census() {
    frame_->SendMessage(WM_COMMAND, ID_FONTS_CENSUS);
    auto* dialog = dynamic_cast<CCensusDlg*>(frame_->Tools().Get(ToolWindowId::CensusDlg));
    EXPECT_NE(dialog, nullptr);
    return *dialog;
  }
  // A census of the scratch tree run to its end.
  static void RunCensus(CCensusDlg& dialog, const std::wstring& root) {
    dialog.StartCensus(root);
    for (int i = 0; i < 1000 && (dialog.IsWalkRunning() || dialog.List().IsBusy()); ++i) PumpMessages(10);
    ASSERT_FALSE(dialog.IsWalkRunning());
  }
  static int RowNamed(CCensusListView& list, const std::wstring& name) {
    for (int row = 0; row < list.RowCount(); ++row)
      if (list.GetCellText(row, kCensusName) == name) return row;
    return -1;
  }
  static void SelectRow(CCensusListView& list, int row) {
    LVITEMW item{};
    item.stateMask = item.state = LVIS_SELECTED | LVIS_FOCUSED;
    ::SendMessageW(list.m_hWnd, LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&item));
  }
  static int HeaderArrow(CCensusListView& list, int column) {
    HDITEMW item{};
    item.mask = HDI_FORMAT;
    ::SendMessageW(ListView_GetHeader(list.m_hWnd), HDM_GETITEMW, column, reinterpret_cast<LPARAM>(&item));
    return item.fmt & (HDF_SORTUP | HDF_SORTDOWN);
  }
  // The face of the font a window draws its text in.
  static std::wstring FaceOf(HWND window) {
    LOGFONTW font{};
    const auto handle = reinterpret_cast<HFONT>(::SendMessageW(window, WM_GETFONT, 0, 0));
    if (!handle || !::GetObjectW(handle, sizeof(font), &font)) return {};
    return font.lfFaceName;
  }
  static std::vector<std::wstring> Column(CCensusListView& list, int column) {
    std::vector<std::wstring> cells;
    for (int row = 0; row < list.RowCount(); ++row) cells.push_back(list.GetCellText(row, column));
    return cells;
  }

  ScratchDir scratch_;
  std::wstring root_;
  std::vector<std::wstring> saved_;
  std::unique_ptr<CMainFrame> frame_;
};

}  // namespace

TEST_F(CensusDialogRows, WhatTheRowsTheBoxesAndTheWindowDo) {
  struct Case {
    const char* what;
    std::function<void(CCensusDlg&)> run;
  };
  const Case cases[] = {
      {"a click on a column sorts by it, then the other way",
       [&](CCensusDlg& d) {
         CCensusListView& list = d.List();
         NMLISTVIEW click{{list.m_hWnd, IDC_CENSUS_LIST, static_cast<UINT>(LVN_COLUMNCLICK)}, -1, kCensusFolder};
         d.SendMessage(WM_NOTIFY, IDC_CENSUS_LIST, reinterpret_cast<LPARAM>(&click));
         std::vector<std::wstring> folders = Column(list, kCensusFolder);
         EXPECT_TRUE(std::is_sorted(folders.begin(), folders.end()));
         EXPECT_NE(folders.front(), folders.back());
         EXPECT_EQ(HeaderArrow(list, kCensusFolder), HDF_SORTUP);
         EXPECT_EQ(HeaderArrow(list, kCensusName), 0) << "one arrow at a time";
         d.SendMessage(WM_NOTIFY, IDC_CENSUS_LIST, reinterpret_cast<LPARAM>(&click));
         folders = Column(list, kCensusFolder);
         EXPECT_TRUE(std::is_sorted(folders.rbegin(), folders.rend()));
         EXPECT_EQ(HeaderArrow(list, kCensusFolder), HDF_SORTDOWN);
         // During a walk a click sorts nothing.
         list.SetBusy(true);
         d.SendMessage(WM_NOTIFY, IDC_CENSUS_LIST, reinterpret_cast<LPARAM>(&click));
         list.SetBusy(false);
         EXPECT_EQ(HeaderArrow(list, kCensusFolder), HDF_SORTDOWN);
       }},
      {"open folder shows the row's folder and font in the main window",
       [&](CCensusDlg& d) {
         CCensusListView& list = d.List();
         const int row = RowNamed(list, L"DejaVu Serif");
         ASSERT_GE(row, 0);
         SelectRow(list, row);
         list.SendMessage(WM_COMMAND, ID_CENSUS_OPEN_FOLDER);
         std::wstring shown;
         ASSERT_TRUE(g_AppState.FolderTree.GetSelectedPath(shown));
         EXPECT_EQ(LongPath(shown), root_ + L"\\b");
         EXPECT_EQ(g_AppState.FolderFonts.m_rememberedRow, L"DejaVu Serif") << "the row to show once listed";
       }},
      {"properties open the row's property sheet",
       [&](CCensusDlg& d) {
         CCensusListView& list = d.List();
         SelectRow(list, RowNamed(list, L"DejaVu Sans Mono"));
         std::wstring title;
         ModalScript::Run({[&] {
                            HWND sheet = TopDialogOfThread();
                            if (!sheet || sheet == d.m_hWnd) return false;
                            wchar_t text[100] = {};
                            ::InternalGetWindowText(sheet, text, 100);
                            title = text;
                            ::PostMessageW(sheet, PSM_PRESSBUTTON, PSBTN_CANCEL, 0);
                            return true;
                          }},
                          [&] { list.SendMessage(WM_COMMAND, ID_CENSUS_PROPERTIES); });
         EXPECT_EQ(title, L"DejaVu Sans Mono");
       }},
      {"the tooltip previews the row's font and lets it go",
       [&](CCensusDlg& d) {
         CCensusListView& list = d.List();
         const int row = RowNamed(list, L"DejaVu Sans");
         HWND tooltip = ListView_GetToolTips(list.m_hWnd);
         const std::wstring ownFace = FaceOf(tooltip);
         ASSERT_FALSE(ownFace.empty());
         wchar_t text[512] = {};
         NMLVGETINFOTIPW tip{{list.m_hWnd, IDC_CENSUS_LIST, static_cast<UINT>(LVN_GETINFOTIPW)}, 0, text, 512, row, 0, 0};
         d.SendMessage(WM_NOTIFY, IDC_CENSUS_LIST, reinterpret_cast<LPARAM>(&tip));
         EXPECT_EQ(std::wstring(text), g_Preferences.SampleText);
         EXPECT_EQ(LongPath(list.PreviewFile()), root_ + L"\\a\\DejaVuSans.ttf");
         EXPECT_EQ(FaceOf(tooltip), L"DejaVu Sans") << "the tip is drawn in the row's font";
         list.SendMessage(WM_MOUSELEAVE);
         EXPECT_TRUE(list.PreviewFile().empty());
         EXPECT_EQ(FaceOf(tooltip), ownFace) << "and the next tip in the tooltip's own font again";
         // Twice over: what was put back survives the next preview too.
         d.SendMessage(WM_NOTIFY, IDC_CENSUS_LIST, reinterpret_cast<LPARAM>(&tip));
         list.SendMessage(WM_MOUSELEAVE);
         EXPECT_EQ(FaceOf(tooltip), ownFace);
       }},
      {"an include box cleared empties the list and opens the start again",
       [&](CCensusDlg& d) {
         for (const int box : {IDC_CENSUS_SYSTEM_FONTS, IDC_CENSUS_USER_FONTS}) {
           SCOPED_TRACE(box);
           RunCensus(d, root_);
           ASSERT_EQ(d.List().RowCount(), 3);
           EXPECT_FALSE(::IsWindowEnabled(::GetDlgItem(d.m_hWnd, IDOK)));
           EXPECT_TRUE(::IsWindowEnabled(::GetDlgItem(d.m_hWnd, IDC_CENSUS_FILTER)));
           ::CheckDlgButton(d.m_hWnd, box, BST_UNCHECKED);
           d.SendMessage(WM_COMMAND, MAKEWPARAM(box, BN_CLICKED), reinterpret_cast<LPARAM>(::GetDlgItem(d.m_hWnd, box)));
           EXPECT_EQ(d.List().RecordCount(), 0);
           EXPECT_EQ(d.List().RowCount(), 0);
           EXPECT_TRUE(::IsWindowEnabled(::GetDlgItem(d.m_hWnd, IDOK)));
           EXPECT_FALSE(::IsWindowEnabled(::GetDlgItem(d.m_hWnd, IDC_CENSUS_FILTER)));
           EXPECT_FALSE(::IsWindowEnabled(::GetDlgItem(d.m_hWnd, IDC_CENSUS_SAVE)));
           EXPECT_EQ(d.StatusBar().GetText(0), ToolStatusBar::FormatCount(0));
           EXPECT_EQ(d.StatusBar().GetText(3), L"");
         }
       }},
      {"the window comes back where it was closed, on the screen",
       [&](CCensusDlg& d) {
         RECT moved{37, 41, 0, 0};
         RECT now{};
         ::GetWindowRect(d.m_hWnd, &now);
         moved.right = moved.left + (now.right - now.left) + 20;
         moved.bottom = moved.top + (now.bottom - now.top) + 10;
         ::MoveWindow(d.m_hWnd, moved.left, moved.top, moved.right - moved.left, moved.bottom - moved.top, TRUE);
         d.SendMessage(WM_CLOSE);
         PumpMessages(30);
         RECT stored{};
         orv::ScopedKey key = OpenRegKey(HKEY_CURRENT_USER, kPrefsKeyPath, KEY_READ | KEY_WRITE);
         ASSERT_TRUE(key && ReadRegBinaryExact(key.Get(), CCensusDlg::kRectValue, &stored, sizeof(stored)));
         EXPECT_TRUE(::EqualRect(&stored, &moved));
         RECT again{};
         ::GetWindowRect(Census().m_hWnd, &again);
         EXPECT_TRUE(::EqualRect(&again, &moved));
         // A rectangle off every screen comes back onto it.
         Census().SendMessage(WM_CLOSE);
         PumpMessages(30);
         const RECT away{-5000, -4000, -5000 + (moved.right - moved.left), -4000 + (moved.bottom - moved.top)};
         ASSERT_TRUE(WriteRegBinary(key.Get(), CCensusDlg::kRectValue, &away, sizeof(away)));
         ::GetWindowRect(Census().m_hWnd, &again);
         EXPECT_GE(again.left, ::GetSystemMetrics(SM_XVIRTUALSCREEN));
         EXPECT_GE(again.top, ::GetSystemMetrics(SM_YVIRTUALSCREEN));
         EXPECT_EQ(again.right - again.left, moved.right - moved.left) << "moved, not shrunk";
       }},
  };
  CCensusDlg& first = Census();
  RunCensus(first, root_);
  ASSERT_EQ(first.List().RowCount(), 3);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    c.run(Census());
  }
}
