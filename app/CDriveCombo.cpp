#include "app/CDriveCombo.h"

#include <commctrl.h>
#include <shellapi.h>
#include <shlwapi.h>

#include "app/COrvBrowseFolderDialog.h"
#include "common/ResString.h"
#include "common/ResourceIds.h"
#include "common/Seams.h"
#include "framework/AppModule.h"
#include "framework/Handles.h"

namespace {

constexpr DWORD kDriveStringsLength = 127;
constexpr int kDroppedWidthPadding = 20;
constexpr size_t kEditTextFirstBuffer = 256;
constexpr size_t kEditTextMaxBuffer = 32768;
constexpr int kNoImage = -1;

int SmallIconIndex(const std::wstring& path) {
  SHFILEINFOW info{};
  if (!::SHGetFileInfoW(path.c_str(), 0, &info, sizeof(info), SHGFI_SYSICONINDEX | SHGFI_SMALLICON)) return 0;
  return info.iIcon;
}

std::wstring FirstFolder(const std::wstring& path) { return path.substr(0, path.find(L'|')); }

}  // namespace

HWND CDriveCombo::CreateControl(HWND parent, const RECT& rc, UINT id) {
  HWND wnd = ::CreateWindowExW(0, WC_COMBOBOXEXW, nullptr, WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWN,
                               rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top, parent,
                               reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)), orv::g_Module.GetModuleInstance(),
                               nullptr);
  if (!wnd) return nullptr;
  if (HFONT font = reinterpret_cast<HFONT>(::SendMessageW(parent, WM_GETFONT, 0, 0)))
    ::SendMessageW(wnd, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  if (!SubclassWindow(wnd)) {
    ::DestroyWindow(wnd);
    return nullptr;
  }
  return wnd;
}

bool CDriveCombo::AddFolder(const std::wstring& path, const std::wstring& label) {
  if (path.empty()) return false;
  entries_.push_back({label.empty() ? path : label, path});
  return true;
}

bool CDriveCombo::AddFolderWithCaption(const std::wstring& path, UINT stringId) {
  if (stringId == 0 || path.empty()) return false;
  return AddFolder(path, LoadResString(stringId));
}

void CDriveCombo::AddDrives() {
  // The all-drives entry comes right after the owner's own entries; counting here keeps its
  // index right whatever the owner added.
  ownerEntryCount_ = static_cast<int>(entries_.size());
  wchar_t buffer[kDriveStringsLength + 1] = {};
  const DWORD n = ::GetLogicalDriveStringsW(kDriveStringsLength, buffer);
  std::vector<std::wstring> roots;
  if (n && n <= kDriveStringsLength)
    for (const wchar_t* p = buffer; *p; p += wcslen(p) + 1) roots.emplace_back(p);

  std::wstring all;
  for (const std::wstring& root : roots) {
    if (!all.empty()) all += L'|';
    all += root;
  }
  entries_.push_back({LoadResString(IDS_ALL_DRIVES), all});
  for (const std::wstring& root : roots) {
    SHFILEINFOW info{};
    ::SHGetFileInfoW(root.c_str(), 0, &info, sizeof(info), SHGFI_DISPLAYNAME);
    entries_.push_back({info.szDisplayName[0] ? std::wstring(info.szDisplayName) : root, root});
  }
  if (browseEntryOn_) {
    browseEntryIndex_ = static_cast<int>(entries_.size());
    entries_.push_back({LoadResString(IDS_BROWSE_ENTRY), kBrowsePath});
  }
}

void CDriveCombo::InsertItem(const std::wstring& text, int image) {
  COMBOBOXEXITEMW item{};
  item.mask = CBEIF_TEXT | CBEIF_INDENT | CBEIF_LPARAM;
  item.iItem = -1;  // at the end
  item.pszText = const_cast<wchar_t*>(text.c_str());
  if (image != kNoImage) {
    item.mask |= CBEIF_IMAGE | CBEIF_SELECTEDIMAGE;
    item.iImage = image;
    item.iSelectedImage = image;
  }
  SendMessage(CBEM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
}

void CDriveCombo::InsertItems() {
  for (size_t i = 0; i < entries_.size(); ++i) {
    const Entry& e = entries_[i];
    int image = kNoImage;
    if (static_cast<int>(i) == ownerEntryCount_)
      image = SmallIconIndex(L"C:\\");
    else if (e.path != kBrowsePath)
      image = SmallIconIndex(FirstFolder(e.path));
    InsertItem(e.label, image);
  }
}

void CDriveCombo::FitDroppedWidth() {
  const LRESULT count = SendMessage(CB_GETCOUNT);
  if (count == CB_ERR) return;
  orv::ScopedGetDC dc(m_hWnd);
  if (!dc) return;
  orv::ScopedSelectObject font(dc.Get(), reinterpret_cast<HGDIOBJ>(SendMessage(WM_GETFONT)));
  int widest = 0;
  for (LRESULT i = 0; i < count; ++i) {
    wchar_t text[MAX_PATH * 2] = {};
    COMBOBOXEXITEMW item{};
    item.mask = CBEIF_TEXT;
    item.iItem = i;
    item.pszText = text;
    item.cchTextMax = static_cast<int>(std::size(text));
    if (!SendMessage(CBEM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item))) continue;
    SIZE size{};
    if (::GetTextExtentPoint32W(dc.Get(), text, static_cast<int>(wcslen(text)), &size) && size.cx > widest)
      widest = size.cx;
  }
  // Sent to the inner combo box: not every ComboBoxEx passes this message on.
  ::SendMessageW(reinterpret_cast<HWND>(SendMessage(CBEM_GETCOMBOCONTROL)), CB_SETDROPPEDWIDTH,
                 static_cast<WPARAM>(widest + kDroppedWidthPadding), 0);
}

void CDriveCombo::Populate() {
  SHFILEINFOW info{};
  const auto images = reinterpret_cast<HIMAGELIST>(
      ::SHGetFileInfoW(L"C:\\", 0, &info, sizeof(info), SHGFI_SYSICONINDEX | SHGFI_SMALLICON));
  SendMessage(CBEM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(images));
  AddDrives();
  InsertItems();
  FitDroppedWidth();
  SelectEntry(0);
}

int CDriveCombo::AppendFolder(const std::wstring& path) {
  if (!AddFolder(path)) return -1;
  InsertItem(path, SmallIconIndex(FirstFolder(path)));
  FitDroppedWidth();
  return static_cast<int>(SendMessage(CB_GETCOUNT)) - 1;
}

bool GetComboSelectedText(const CDriveCombo& combo, std::wstring& path) {
  if (!combo.m_hWnd) return false;
  const auto selected = static_cast<int>(::SendMessageW(combo.m_hWnd, CB_GETCURSEL, 0, 0));
  const std::vector<CDriveCombo::Entry>& entries = combo.Entries();
  if (selected < 0 || selected == combo.BrowseEntryIndex() || selected >= static_cast<int>(entries.size())) return false;
  path = entries[static_cast<size_t>(selected)].path;
  return true;
}

void CDriveCombo::SelectEntry(int index) {
  SendMessage(CB_SETCURSEL, static_cast<WPARAM>(index));
  rememberedSelection_ = index;
}

std::wstring CDriveCombo::EditText() const {
  for (size_t size = kEditTextFirstBuffer; size <= kEditTextMaxBuffer; size *= 2) {
    std::wstring text(size, L'\0');
    COMBOBOXEXITEMW item{};
    item.mask = CBEIF_TEXT;
    item.iItem = -1;
    item.pszText = text.data();
    item.cchTextMax = static_cast<int>(size);
    if (!SendMessage(CBEM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item))) return {};
    const size_t length = wcsnlen(text.c_str(), size);
    if (length + 1 < size) return text.substr(0, length);
  }
  return {};
}

LRESULT CDriveCombo::OnCommand(UINT, WPARAM wp, LPARAM, BOOL& handled) {
  if (HIWORD(wp) == CBN_SELCHANGE) OnSelectionChange();
  handled = FALSE;  // the control passes the notification on to the owner
  return 0;
}

void CDriveCombo::OnSelectionChange() {
  if (!browseEntryOn_) return;
  const LRESULT selected = SendMessage(CB_GETCURSEL);
  if (selected == CB_ERR) return;
  if (selected != browseEntryIndex_) {
    rememberedSelection_ = static_cast<int>(selected);
    return;
  }

  std::wstring start = EditText();
  if (start.empty() || !::PathIsDirectoryW(start.c_str())) {
    start.clear();
    if (rememberedSelection_ >= 0 && rememberedSelection_ < static_cast<int>(entries_.size())) {
      const std::wstring remembered = FirstFolder(entries_[rememberedSelection_].path);
      if (!remembered.empty() && ::PathIsDirectoryW(remembered.c_str())) start = remembered;
    }
  }
  COrvBrowseFolderDialog picker;
  if (!start.empty()) picker.SetStartFolder(start);
  if (picker.DoModal() == 1) {
    const std::wstring folder = picker.ChosenFolder();
    if (!folder.empty()) {
      rememberedSelection_ = AppendFolder(folder);
    } else {
      seams::Beep(0);
    }
  }
  SendMessage(CB_SETCURSEL, static_cast<WPARAM>(rememberedSelection_));
}
