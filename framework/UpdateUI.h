// Update-UI: the enabled, checked and text states of commands, kept in one table and applied to
// every element that shows the command: menu popups (when they open), the menu bar, toolbars,
// status-bar panes and child windows of a dialog-like container.
//
// A window class lists its commands and the kinds of elements they appear in:
//
//   BEGIN_UPDATE_UI_MAP(CMyFrame)
//     UPDATE_ELEMENT(ID_VIEW_TOOLBAR, UPDUI_MENUPOPUP)
//     UPDATE_ELEMENT(ID_FILE_SAVE, UPDUI_MENUPOPUP | UPDUI_TOOLBAR)
//     UPDATE_ELEMENT(ID_PANE_TEXT, UPDUI_STATUSBAR)       // the n-th status element is pane n
//   END_UPDATE_UI_MAP()
//
// and derives from CUpdateUI<T>, chaining its message map (CHAIN_MSG_MAP(CUpdateUI<T>)) so that
// popups get their states as they open and accelerators of disabled commands are swallowed; the
// chain must come before T's own command handlers, or a disabled command's accelerator reaches them.
// Setters only record the state; UIUpdateToolBar / UIUpdateStatusBar / UIUpdateMenuBar /
// UIUpdateChildWindows push what changed since their last run (usually from an idle handler).
// Main thread only.
#pragma once

#include <windows.h>
#include <string>
#include <vector>

#include "framework/MessageMap.h"

namespace orv {

// Element kinds.
constexpr WORD UPDUI_MENUPOPUP = 0x0001;
constexpr WORD UPDUI_MENUBAR = 0x0002;
constexpr WORD UPDUI_CHILDWINDOW = 0x0004;
constexpr WORD UPDUI_TOOLBAR = 0x0008;
constexpr WORD UPDUI_STATUSBAR = 0x0010;

// State bits of an entry.
constexpr WORD UPDUI_ENABLED = 0x0000;
constexpr WORD UPDUI_DISABLED = 0x0100;
constexpr WORD UPDUI_CHECKED = 0x0200;
constexpr WORD UPDUI_CHECKED2 = 0x0400;  // indeterminate
constexpr WORD UPDUI_RADIO = 0x0800;
constexpr WORD UPDUI_DEFAULT = 0x1000;
constexpr WORD UPDUI_TEXT = 0x2000;

struct UpdateUIEntry {
  WORD Id;
  WORD Kinds;
};

class CUpdateUIBase {
public:
  CUpdateUIBase() = default;
  CUpdateUIBase(const CUpdateUIBase&) = delete;
  CUpdateUIBase& operator=(const CUpdateUIBase&) = delete;

  // The elements that follow the table. Adding one pushes the full state into it at its next update.
  bool UIAddToolBar(HWND toolbar);
  bool UIAddStatusBar(HWND statusBar);
  bool UIAddMenuBar(HWND frame);             // the frame's own menu (GetMenu)
  bool UIAddMenu(HMENU menu);                // a menu not attached to a window (a command bar's)
  bool UIAddChildWindowContainer(HWND container);
  void UIRemoveToolBar(HWND toolbar);

  // Setters return false for a command that is not in the table.
  bool UIEnable(int id, bool enable, bool force = false);
  // check: 0 clear, 1 checked, 2 indeterminate.
  bool UISetCheck(int id, int check, bool force = false);
  bool UISetCheck(int id, bool check, bool force = false) { return UISetCheck(id, check ? 1 : 0, force); }
  bool UISetRadio(int id, bool radio, bool force = false);
  bool UISetDefault(int id, bool isDefault, bool force = false);
  bool UISetText(int id, const wchar_t* text, bool force = false);

  // State bits of a command, or 0 for one not in the table.
  [[nodiscard]] WORD UIGetState(int id) const;
  [[nodiscard]] bool UIIsEnabled(int id) const { return (UIGetState(id) & UPDUI_DISABLED) == 0; }
  [[nodiscard]] std::wstring UIGetText(int id) const;
  [[nodiscard]] bool UIHasEntry(int id) const { return Find(id) >= 0; }

  bool UIUpdateToolBar(bool forceUpdate = false);
  bool UIUpdateStatusBar(bool forceUpdate = false);
  bool UIUpdateMenuBar(bool forceUpdate = false);
  bool UIUpdateChildWindows(bool forceUpdate = false);
  // Applies the table to the items of one popup menu (all of them, not only what changed).
  void UIUpdateMenuPopup(HMENU popup) const;

  // True when an accelerator command must not run: it is in the table and disabled.
  [[nodiscard]] bool UIIsSwallowedAccelerator(WPARAM wParam, LPARAM lParam) const;

protected:
  ~CUpdateUIBase() = default;
  void UIInit(const UpdateUIEntry* map);

private:
  struct Entry {
    WORD Id;
    WORD Kinds;
    WORD State = UPDUI_ENABLED;
    WORD Dirty = 0;  // element kinds still to be told of a change
    std::wstring Text;
  };

  int Find(int id) const;
  bool Change(int id, WORD clear, WORD set, bool force, const wchar_t* text = nullptr);
  static void ApplyToMenu(HMENU menu, const Entry& entry);
  void MarkDirty(WORD kind);

  std::vector<Entry> entries_;
  std::vector<HWND> toolBars_;
  std::vector<HWND> statusBars_;
  std::vector<HWND> childContainers_;
  std::vector<HWND> menuBarWindows_;
  std::vector<HMENU> menus_;
};

template <typename T>
class CUpdateUI : public CUpdateUIBase {
public:
  CUpdateUI() { UIInit(T::GetUpdateUIMap()); }

  BEGIN_MIXIN_MSG_MAP(CUpdateUI)
    MESSAGE_HANDLER(WM_INITMENUPOPUP, OnInitMenuPopup)
    MESSAGE_HANDLER(WM_COMMAND, OnCommand)
  END_MSG_MAP()

private:
  LRESULT OnInitMenuPopup(UINT, WPARAM wParam, LPARAM, BOOL& handled) {
    UIUpdateMenuPopup(reinterpret_cast<HMENU>(wParam));
    handled = FALSE;  // the window may want the popup too
    return 0;
  }
  LRESULT OnCommand(UINT, WPARAM wParam, LPARAM lParam, BOOL& handled) {
    handled = UIIsSwallowedAccelerator(wParam, lParam) ? TRUE : FALSE;
    return 0;
  }
};

}  // namespace orv

#define BEGIN_UPDATE_UI_MAP(theClass)                            \
  static const ::orv::UpdateUIEntry* GetUpdateUIMap() {          \
    static const ::orv::UpdateUIEntry theMap[] = {
#define UPDATE_ELEMENT(id, kinds) {static_cast<WORD>(id), static_cast<WORD>(kinds)},
#define END_UPDATE_UI_MAP() \
  {0, 0}                    \
  }                         \
  ;                         \
  return theMap;            \
  }
