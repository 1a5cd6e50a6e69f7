#include "framework/UpdateUI.h"

#include <commctrl.h>

#include <algorithm>

namespace orv {

namespace {

constexpr WORD kAcceleratorCode = 1;

template <typename T>
bool AddUnique(std::vector<T>& v, T item) {
  if (!item || std::find(v.begin(), v.end(), item) != v.end()) return false;
  v.push_back(item);
  return true;
}
}  // namespace

void CUpdateUIBase::UIInit(const UpdateUIEntry* map) {
  entries_.clear();
  for (const UpdateUIEntry* e = map; e && e->Id != 0; ++e) entries_.push_back(Entry{e->Id, e->Kinds});
}

int CUpdateUIBase::Find(int id) const {
  for (size_t i = 0; i < entries_.size(); ++i)
    if (entries_[i].Id == id) return static_cast<int>(i);
  return -1;
}

void CUpdateUIBase::MarkDirty(WORD kind) {
  for (Entry& e : entries_)
    if (e.Kinds & kind) e.Dirty |= kind;
}

bool CUpdateUIBase::UIAddToolBar(HWND toolbar) {
  if (!AddUnique(toolBars_, toolbar)) return false;
  MarkDirty(UPDUI_TOOLBAR);
  return true;
}

void CUpdateUIBase::UIRemoveToolBar(HWND toolbar) {
  toolBars_.erase(std::remove(toolBars_.begin(), toolBars_.end(), toolbar), toolBars_.end());
}

bool CUpdateUIBase::UIAddStatusBar(HWND statusBar) {
  if (!AddUnique(statusBars_, statusBar)) return false;
  MarkDirty(UPDUI_STATUSBAR);
  return true;
}

bool CUpdateUIBase::UIAddMenuBar(HWND frame) {
  if (!AddUnique(menuBarWindows_, frame)) return false;
  MarkDirty(UPDUI_MENUBAR);
  return true;
}

bool CUpdateUIBase::UIAddMenu(HMENU menu) {
  if (!AddUnique(menus_, menu)) return false;
  MarkDirty(UPDUI_MENUBAR);
  return true;
}

bool CUpdateUIBase::UIAddChildWindowContainer(HWND container) {
  if (!AddUnique(childContainers_, container)) return false;
  MarkDirty(UPDUI_CHILDWINDOW);
  return true;
}

bool CUpdateUIBase::Change(int id, WORD clear, WORD set, bool force, const wchar_t* text) {
  const int i = Find(id);
  if (i < 0) return false;
  Entry& e = entries_[static_cast<size_t>(i)];
  const WORD next = static_cast<WORD>((e.State & ~clear) | set);
  bool changed = next != e.State;
  if (text && e.Text != text) {
    e.Text = text;
    changed = true;
  }
  e.State = next;
  if (changed || force) e.Dirty |= e.Kinds;
  return true;
}

bool CUpdateUIBase::UIEnable(int id, bool enable, bool force) {
  return Change(id, UPDUI_DISABLED, enable ? 0 : UPDUI_DISABLED, force);
}

bool CUpdateUIBase::UISetCheck(int id, int check, bool force) {
  const WORD set = check == 1 ? UPDUI_CHECKED : check == 2 ? UPDUI_CHECKED2 : 0;
  return Change(id, UPDUI_CHECKED | UPDUI_CHECKED2, set, force);
}

bool CUpdateUIBase::UISetRadio(int id, bool radio, bool force) {
  return Change(id, UPDUI_RADIO, radio ? UPDUI_RADIO : 0, force);
}

bool CUpdateUIBase::UISetDefault(int id, bool isDefault, bool force) {
  return Change(id, UPDUI_DEFAULT, isDefault ? UPDUI_DEFAULT : 0, force);
}

bool CUpdateUIBase::UISetText(int id, const wchar_t* text, bool force) {
  return Change(id, 0, UPDUI_TEXT, force, text ? text : L"");
}

WORD CUpdateUIBase::UIGetState(int id) const {
  const int i = Find(id);
  return i < 0 ? 0 : entries_[static_cast<size_t>(i)].State;
}

std::wstring CUpdateUIBase::UIGetText(int id) const {
  const int i = Find(id);
  return i < 0 ? std::wstring() : entries_[static_cast<size_t>(i)].Text;
}

bool CUpdateUIBase::UIIsSwallowedAccelerator(WPARAM wParam, LPARAM lParam) const {
  if (HIWORD(wParam) != kAcceleratorCode || lParam != 0) return false;
  const int i = Find(LOWORD(wParam));
  return i >= 0 && (entries_[static_cast<size_t>(i)].State & UPDUI_DISABLED);
}

void CUpdateUIBase::ApplyToMenu(HMENU menu, const Entry& e) {
  MENUITEMINFOW mii{sizeof(mii)};
  mii.fMask = MIIM_FTYPE | MIIM_STATE;
  if (!::GetMenuItemInfoW(menu, e.Id, FALSE, &mii)) return;
  mii.fMask = MIIM_FTYPE | MIIM_STATE;
  mii.fState &= ~(MFS_DISABLED | MFS_CHECKED | MFS_DEFAULT);
  if (e.State & UPDUI_DISABLED) mii.fState |= MFS_DISABLED;
  if (e.State & (UPDUI_CHECKED | UPDUI_CHECKED2)) mii.fState |= MFS_CHECKED;
  if (e.State & UPDUI_DEFAULT) mii.fState |= MFS_DEFAULT;
  if (e.State & UPDUI_RADIO) mii.fType |= MFT_RADIOCHECK;
  else mii.fType &= ~MFT_RADIOCHECK;
  std::wstring text;
  if (e.State & UPDUI_TEXT) {
    text = e.Text;
    mii.fMask |= MIIM_STRING;
    mii.dwTypeData = text.data();
  }
  ::SetMenuItemInfoW(menu, e.Id, FALSE, &mii);
}

void CUpdateUIBase::UIUpdateMenuPopup(HMENU popup) const {
  if (!popup) return;
  const int count = ::GetMenuItemCount(popup);
  for (int pos = 0; pos < count; ++pos) {
    MENUITEMINFOW mii{sizeof(mii)};
    mii.fMask = MIIM_ID | MIIM_SUBMENU | MIIM_FTYPE;
    if (!::GetMenuItemInfoW(popup, static_cast<UINT>(pos), TRUE, &mii)) continue;
    if (mii.hSubMenu || (mii.fType & MFT_SEPARATOR)) continue;
    const int i = Find(static_cast<int>(mii.wID));
    if (i < 0) continue;
    const Entry& e = entries_[static_cast<size_t>(i)];
    if (e.Kinds & (UPDUI_MENUPOPUP | UPDUI_MENUBAR)) ApplyToMenu(popup, e);
  }
}

bool CUpdateUIBase::UIUpdateMenuBar(bool forceUpdate) {
  std::vector<HMENU> menus = menus_;
  for (HWND wnd : menuBarWindows_)
    if (HMENU m = ::GetMenu(wnd)) menus.push_back(m);
  for (Entry& e : entries_) {
    if (!(e.Kinds & UPDUI_MENUBAR) || (!forceUpdate && !(e.Dirty & UPDUI_MENUBAR))) continue;
    for (HMENU m : menus) ApplyToMenu(m, e);
    e.Dirty &= ~UPDUI_MENUBAR;
  }
  for (HWND wnd : menuBarWindows_) ::DrawMenuBar(wnd);
  return true;
}

bool CUpdateUIBase::UIUpdateToolBar(bool forceUpdate) {
  for (Entry& e : entries_) {
    if (!(e.Kinds & UPDUI_TOOLBAR) || (!forceUpdate && !(e.Dirty & UPDUI_TOOLBAR))) continue;
    for (HWND tb : toolBars_) {
      const LRESULT old = ::SendMessageW(tb, TB_GETSTATE, e.Id, 0);
      if (old == -1) continue;  // the command has no button on this toolbar
      BYTE state = static_cast<BYTE>(old) & ~(TBSTATE_ENABLED | TBSTATE_CHECKED | TBSTATE_INDETERMINATE);
      if (!(e.State & UPDUI_DISABLED)) state |= TBSTATE_ENABLED;
      if (e.State & UPDUI_CHECKED) state |= TBSTATE_CHECKED;
      if (e.State & UPDUI_CHECKED2) state |= TBSTATE_INDETERMINATE;
      if (state != static_cast<BYTE>(old)) ::SendMessageW(tb, TB_SETSTATE, e.Id, MAKELPARAM(state, 0));
    }
    e.Dirty &= ~UPDUI_TOOLBAR;
  }
  return true;
}

bool CUpdateUIBase::UIUpdateStatusBar(bool forceUpdate) {
  int pane = 0;
  for (Entry& e : entries_) {
    if (!(e.Kinds & UPDUI_STATUSBAR)) continue;
    if ((forceUpdate || (e.Dirty & UPDUI_STATUSBAR)) && (e.State & UPDUI_TEXT)) {
      for (HWND sb : statusBars_) ::SendMessageW(sb, SB_SETTEXTW, static_cast<WPARAM>(pane), reinterpret_cast<LPARAM>(e.Text.c_str()));
    }
    e.Dirty &= ~UPDUI_STATUSBAR;
    ++pane;
  }
  return true;
}

bool CUpdateUIBase::UIUpdateChildWindows(bool forceUpdate) {
  for (Entry& e : entries_) {
    if (!(e.Kinds & UPDUI_CHILDWINDOW) || (!forceUpdate && !(e.Dirty & UPDUI_CHILDWINDOW))) continue;
    for (HWND container : childContainers_) {
      HWND child = ::GetDlgItem(container, e.Id);
      if (!child) continue;
      ::EnableWindow(child, (e.State & UPDUI_DISABLED) ? FALSE : TRUE);
      if (e.State & UPDUI_TEXT) ::SetWindowTextW(child, e.Text.c_str());
      wchar_t cls[16]{};
      ::GetClassNameW(child, cls, 16);
      if (::CompareStringOrdinal(cls, -1, L"Button", -1, TRUE) == CSTR_EQUAL) {
        const WPARAM check = (e.State & UPDUI_CHECKED) ? BST_CHECKED : (e.State & UPDUI_CHECKED2) ? BST_INDETERMINATE : BST_UNCHECKED;
        ::SendMessageW(child, BM_SETCHECK, check, 0);
      }
    }
    e.Dirty &= ~UPDUI_CHILDWINDOW;
  }
  return true;
}

}  // namespace orv
