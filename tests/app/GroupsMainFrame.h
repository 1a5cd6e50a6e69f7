// The real main window over a scratch groups folder, for the tests of the groups pane and the
// group font list: group files made on the spot, and the window with its trees built by the idle
// passes.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <memory>
#include <string>

#include <gtest/gtest.h>

#include "app/AppState.h"
#include "app/CMainFrame.h"
#include "app/Preferences.h"
#include "common/ResourceIds.h"
#include "groups/FontGroup.h"
#include "groups/GroupFileNotices.h"
#include "groups/GroupFontInstaller.h"
#include "groups/GroupNames.h"
#include "tests/support/TestSupport.h"

inline std::wstring G(int n) { return FormatGroupFileName(n); }

// The disabled bits of a pane menu's item, or 0xFFFF when the menu has no such item.
inline constexpr UINT kNoMenuItem = 0xFFFF;
inline UINT MenuItemState(HMENU menu, UINT id) {
  MENUITEMINFOW info{};
  info.cbSize = sizeof(info);
  info.fMask = MIIM_STATE;
  if (!::GetMenuItemInfoW(menu, id, FALSE, &info)) return kNoMenuItem;
  return info.fState & MFS_DISABLED;
}

// A tab of the group checks chosen as a click does it: the tab control selects it and tells the
// window.
inline void ChooseTab(HWND checks, int tab) {
  HWND tabs = ::GetDlgItem(checks, IDC_GROUP_CHECKS_TABS);
  ::SendMessageW(tabs, TCM_SETCURSEL, tab, 0);
  NMHDR hdr{tabs, static_cast<UINT_PTR>(IDC_GROUP_CHECKS_TABS), static_cast<UINT>(TCN_SELCHANGE)};
  ::SendMessageW(checks, WM_NOTIFY, IDC_GROUP_CHECKS_TABS, reinterpret_cast<LPARAM>(&hdr));
}

class GroupsMainFrame : public ::testing::Test {
protected:
  void SetUp() override {
    ::RegDeleteTreeW(HKEY_CURRENT_USER, kAppKeyPath);
    folder_ = groups_.Path();
    FontGroup::SetGroupsFolderSource(&folder_);
    ForgetToldGroupFiles();
    testing_support::ResetRecords();
  }
  void TearDown() override {
    SetGroupFontInstaller(nullptr);
    if (frame_ && frame_->IsWindow()) frame_->DestroyWindow();
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
    FontGroup::SetGroupsFolderSource(nullptr);
    ::RegDeleteTreeW(HKEY_CURRENT_USER, kAppKeyPath);
    // What the idle passes left in the shared views is not the next test's.
    g_AppState.FolderTree.SetTargetFolder(std::wstring());
    g_AppState.FolderFonts.m_folder.clear();
    g_AppState.GroupListShown = false;
  }

  // A group file with child groups (nodes named after them) and fonts (name and path).
  static void Make(const std::wstring& file, const std::wstring& name, const std::wstring& parent,
                   std::initializer_list<std::pair<std::wstring, std::wstring>> children = {},
                   std::initializer_list<std::pair<std::wstring, std::wstring>> fonts = {}, bool installed = false) {
    FontGroup g;
    g.FileName = file;
    g.Name = name;
    g.Parent = parent;
    g.Installed = installed;
    for (const auto& [childFile, childName] : children) g.AddNode(childName, childFile, false, false);
    for (const auto& [fontName, path] : fonts) g.AddFont(fontName, path);
    ASSERT_TRUE(g.Save());
  }
  static std::wstring Font(const std::wstring& name) { return L"C:\\Fonts\\" + name + L".ttf"; }

  // The main window with its trees built by the idle passes.
  CMainFrame& Open() {
    frame_ = std::make_unique<CMainFrame>();
    EXPECT_TRUE(frame_->CreateMainWindow());
    frame_->ShowWindow(SW_SHOWNORMAL);
    for (int i = 0; i < 4; ++i) frame_->RunIdleJob();
    return *frame_;
  }
  static CGroupsTreeView& Tree() { return g_AppState.GroupsTree; }
  std::string Bytes(const std::wstring& file) const { return testing_support::ReadFileBytes(groups_.File(file)); }

  testing_support::ScratchDir groups_;
  std::wstring folder_;
  std::unique_ptr<CMainFrame> frame_;
};
