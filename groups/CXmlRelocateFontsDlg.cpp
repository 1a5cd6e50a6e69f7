#include "groups/CXmlRelocateFontsDlg.h"

#include <commctrl.h>

#include "app/AppState.h"
#include "app/COrvBrowseFolderDialog.h"
#include "common/HelpRequest.h"
#include "common/ResString.h"
#include "common/Seams.h"
#include "common/StringHelpers.h"
#include "groups/FontGroup.h"
#include "groups/GroupFileNotices.h"
#include "groups/GroupFileTree.h"
#include "groups/GroupNames.h"

namespace {
constexpr wchar_t kWidestCount[] = L" 100000";  // what part 0 of the status bar must hold
constexpr wchar_t kType1Separator = L'|';

// A folder as the start of the paths inside it: with exactly one trailing backslash.
std::wstring AsFolderPrefix(const std::wstring& folder) {
  std::wstring prefix = WithoutTrailingBackslash(folder);
  if (!prefix.empty() && prefix.back() != L'\\') prefix += L'\\';
  return prefix;
}

bool IsSeparator(wchar_t c) { return c == L'\\' || c == L'/'; }

// One path: the old prefix (a folder and its separator) at its start becomes the new one.
std::wstring RelocateOne(const std::wstring& path, const std::wstring& oldPrefix, const std::wstring& newPrefix) {
  const size_t folderLength = oldPrefix.size() - 1;  // without the separator, which may be a slash
  if (path.size() <= oldPrefix.size() || !IsSeparator(path[folderLength]) ||
      !StartsWithNoCase(path, std::wstring_view(oldPrefix).substr(0, folderLength)))
    return path;
  return newPrefix + path.substr(oldPrefix.size());
}
}  // namespace

std::wstring RelocateFontPath(const std::wstring& path, const std::wstring& oldFolder, const std::wstring& newFolder,
                              bool& changed) {
  changed = false;
  const std::wstring oldPrefix = AsFolderPrefix(oldFolder);
  const std::wstring newPrefix = AsFolderPrefix(newFolder);
  if (oldPrefix.empty() || newPrefix.empty()) return path;
  std::wstring out;
  size_t from = 0;
  for (;;) {
    const size_t bar = path.find(kType1Separator, from);
    out += RelocateOne(path.substr(from, bar == std::wstring::npos ? std::wstring::npos : bar - from), oldPrefix,
                       newPrefix);
    if (bar == std::wstring::npos) break;
    out += kType1Separator;
    from = bar + 1;
  }
  changed = out != path;
  return out;
}

int RelocateGroupFonts(FontGroup& group, const std::wstring& oldFolder, const std::wstring& newFolder) {
  int changed = 0;
  for (FontGroupEntry& font : group.Fonts) {
    bool replaced = false;
    std::wstring path = RelocateFontPath(font.Path, oldFolder, newFolder, replaced);
    if (!replaced) continue;
    font.Path = std::move(path);
    ++changed;
  }
  return changed;
}

BOOL CXmlRelocateFontsDlg::OnInitDialog(HWND, LPARAM) {
  statusBar_ = ::CreateWindowExW(0, STATUSCLASSNAMEW, L"",
                                 WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | SBT_TOOLTIPS, 0, 0, 0,
                                 0, m_hWnd, reinterpret_cast<HMENU>(static_cast<UINT_PTR>(IDC_RELOCATE_STATUS)),
                                 nullptr, nullptr);
  if (statusBar_) {
    RECT bar{}, rc{};
    ::GetWindowRect(statusBar_, &bar);
    GetWindowRect(&rc);
    SetWindowPos(nullptr, 0, 0, rc.right - rc.left, rc.bottom - rc.top + (bar.bottom - bar.top),
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    ::SendMessageW(statusBar_, WM_SIZE, 0, 0);
    HDC dc = ::GetDC(statusBar_);
    HGDIOBJ old = ::SelectObject(dc, reinterpret_cast<HFONT>(::SendMessageW(statusBar_, WM_GETFONT, 0, 0)));
    SIZE extent{};
    ::GetTextExtentPoint32W(dc, kWidestCount, static_cast<int>(wcslen(kWidestCount)), &extent);
    ::SelectObject(dc, old);
    ::ReleaseDC(statusBar_, dc);
    int parts[] = {extent.cx, -1};
    ::SendMessageW(statusBar_, SB_SETPARTS, 2, reinterpret_cast<LPARAM>(parts));
  }
  CenterWindow(GetAppShell().MainWindow);
  oldBrowse_.SetShellFolderIcon(GetDlgItem(IDC_RELOCATE_OLD_BROWSE), L"C:\\DefDirIcon", FILE_ATTRIBUTE_DIRECTORY);
  newBrowse_.SetShellFolderIcon(GetDlgItem(IDC_RELOCATE_NEW_BROWSE), L"C:\\DefDirIcon", FILE_ATTRIBUTE_DIRECTORY);
  ::CheckDlgButton(m_hWnd, IDC_RELOCATE_ALL, BST_CHECKED);
  SetDlgItemText(IDC_RELOCATE_OLD, oldFolder_.c_str());
  SetDlgItemText(IDC_RELOCATE_NEW, newFolder_.c_str());
  return TRUE;
}

void CXmlRelocateFontsDlg::OnBrowse(UINT, int id, HWND) {
  const int edit = id == IDC_RELOCATE_OLD_BROWSE ? IDC_RELOCATE_OLD : IDC_RELOCATE_NEW;
  std::wstring current;
  GetDlgItemString(m_hWnd, edit, current);
  COrvBrowseFolderDialog picker(current);
  if (picker.DoModal(::GetActiveWindow()) == IDOK && !picker.ChosenFolder().empty())
    SetDlgItemText(edit, picker.ChosenFolder().c_str());
}

void CXmlRelocateFontsDlg::OnOK(UINT, int, HWND) {
  GetDlgItemString(m_hWnd, IDC_RELOCATE_OLD, oldFolder_);
  GetDlgItemString(m_hWnd, IDC_RELOCATE_NEW, newFolder_);
  // "C:\F" and "C:\F\" are one folder: nothing to move.
  if (oldFolder_.empty() || EqualsNoCase(AsFolderPrefix(oldFolder_), AsFolderPrefix(newFolder_))) {
    SetStatus(1, LoadResString(IDS_RELOCATE_NEEDS_FOLDERS));
    seams::Beep(MB_OK);
    return;
  }
  allGroups_ = ::IsDlgButtonChecked(m_hWnd, IDC_RELOCATE_ALL) == BST_CHECKED;
  CGroupsTreeView& tree = g_AppState.GroupsTree;
  const bool selected = ::IsWindow(tree.m_hWnd) && tree.GetSelectedItem() != nullptr;
  if (!allGroups_ && !selected) {
    SetStatus(1, LoadResString(IDS_RELOCATE_NEEDS_GROUP));
    seams::Beep(MB_OK);
    return;
  }
  Run(allGroups_ ? std::wstring(kRootGroupFile) : tree.GetItemFile());
}

// One run over the start group, and in all-groups mode every group below it, each file once
// (hand-edited nodes may form a cycle). A group is written only when an entry changed.
void CXmlRelocateFontsDlg::Run(const std::wstring& startFile) {
  EnableControls(false);
  changed_ = 0;
  const auto relocate = [&](FontGroup& group) {
    SetStatus(0, FormatWide(L" %d", changed_));
    SetStatus(1, group.FileName);
    // Counted when written: a failed write, or a refused change to a damaged group, is reported
    // by the store, and the run goes on.
    const int changed = RelocateGroupFonts(group, oldFolder_, newFolder_);
    if (changed > 0 && group.Save()) changed_ += changed;
    return allGroups_;
  };
  if (allGroups_) {
    (void)WalkGroupTree(startFile, relocate);
  } else {
    FontGroup group;
    if (group.Load(startFile)) relocate(group);
  }
  SetStatus(0, FormatWide(L" %d", changed_));
  EnableControls(true);
  seams::Beep(MB_OK);
  SetStatus(1, LoadResString(IDS_OPERATION_FINISHED));
}

void CXmlRelocateFontsDlg::SetStatus(int part, const std::wstring& text) {
  if (statusBar_) ::SendMessageW(statusBar_, SB_SETTEXTW, part, reinterpret_cast<LPARAM>(text.c_str()));
}

void CXmlRelocateFontsDlg::EnableControls(bool on) {
  for (int id : {IDC_RELOCATE_OLD_BROWSE, IDC_RELOCATE_NEW_BROWSE, IDOK, IDCANCEL}) ::EnableWindow(GetDlgItem(id), on);
}
