// CCommandBarCtrl: the frame's menu drawn as a toolbar, so that it can sit in a rebar band.
//
// Each top-level item of the attached menu becomes a text button; pressing one (mouse, Alt or
// F10 then arrows and Enter, or Alt+mnemonic) tracks its popup under the button. While a popup
// is open, Left and Right move to the neighbouring menus and the mouse moving over another
// button switches to that one. Popup items whose command has an image in the loaded toolbar
// strip show it in a picture column of its own (ArrangeMenuPictures; the bar draws them). The menu's messages
// (WM_COMMAND, WM_INITMENUPOPUP, WM_MENUSELECT, owner-draw) go on to the frame that created the bar, so its update-UI and command map see them as if the
// menu were its own.
//
// Owns the attached menu (until DetachMenu), the image list and the item bitmaps. Registers
// itself as a message filter of the thread's message loop while its window exists, for the
// keyboard access. Main thread only.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "framework/Handles.h"
#include "framework/MessageLoop.h"
#include "framework/WindowImpl.h"

namespace orv {

constexpr DWORD kCommandBarStyle = WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS | TBSTYLE_FLAT |
                                   TBSTYLE_LIST | CCS_NODIVIDER | CCS_NORESIZE | CCS_NOPARENTALIGN;

class CCommandBarCtrl : public CWindowImpl<CCommandBarCtrl>, public CMessageFilter {
public:
  DECLARE_WND_SUPERCLASS(L"OrvelCommandBar", TOOLBARCLASSNAMEW)

  CCommandBarCtrl();
  ~CCommandBarCtrl() override;

  // Created as a child of the frame (a rebar may adopt it later; the frame stays its target).
  HWND Create(HWND frame, const RECT* rect = nullptr, DWORD style = kCommandBarStyle, UINT id = 0);

  // Takes over `menu` and shows its top-level items; a menu attached before is destroyed.
  bool AttachMenu(HMENU menu);
  // Gives the menu back to the caller and removes the buttons.
  [[nodiscard]] HMENU DetachMenu();
  HMENU GetMenu() const { return menu_.Get(); }

  // Images for popup items: the strip of toolbar resource `resourceId` of the resource library.
  bool LoadImages(UINT resourceId);
  // The same from an image list (taken over) and the command of each image, in order.
  bool SetImages(ScopedImageList images, const WORD* commands, size_t count);
  // The same with a table of (command, image); several commands may share an image.
  bool SetImages(ScopedImageList images, const std::vector<std::pair<UINT, int>>& imageOf);
  [[nodiscard]] int ImageOf(UINT command) const;

  // Keyboard access: Alt alone or F10 enters it (the first button becomes hot).
  [[nodiscard]] bool IsKeyboardMode() const { return keyboardMode_; }
  [[nodiscard]] int GetHotItem() const;

  // Tracks the popup of button `index`; returns after the last popup (after moves) has closed.
  void OpenPopup(int index, bool fromKeyboard);
  // The popup being tracked, or -1.
  [[nodiscard]] int GetOpenPopup() const { return openIndex_; }

  bool PreTranslateMessage(MSG* msg) override;

  BEGIN_MSG_MAP(CCommandBarCtrl)
    MESSAGE_HANDLER(WM_CREATE, OnCreate)
    MESSAGE_HANDLER(WM_DESTROY, OnDestroy)
    MESSAGE_HANDLER(WM_LBUTTONDOWN, OnLButtonDown)
    MESSAGE_HANDLER(WM_LBUTTONDBLCLK, OnLButtonDown)
    MESSAGE_HANDLER(WM_INITMENUPOPUP, OnInitMenuPopup)
    MESSAGE_HANDLER(WM_MENUSELECT, OnMenuSelect)
    MESSAGE_HANDLER(WM_COMMAND, OnForward)
    MESSAGE_HANDLER(WM_DRAWITEM, OnMenuPicture)
    MESSAGE_HANDLER(WM_MEASUREITEM, OnMenuPicture)
    MESSAGE_HANDLER(WM_MENUCHAR, OnForward)
    MESSAGE_HANDLER(WM_UNINITMENUPOPUP, OnForward)
    MESSAGE_HANDLER(WM_ENTERMENULOOP, OnForward)
    MESSAGE_HANDLER(WM_EXITMENULOOP, OnForward)
  END_MSG_MAP()

private:
  LRESULT OnCreate(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnDestroy(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnLButtonDown(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnInitMenuPopup(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnMenuSelect(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnForward(UINT, WPARAM, LPARAM, BOOL&);
  // The pictures of the popup items are drawn here; other owner-draw messages go on.
  LRESULT OnMenuPicture(UINT, WPARAM, LPARAM, BOOL&);

  static LRESULT CALLBACK MenuFilterHook(int code, WPARAM wParam, LPARAM lParam);
  bool OnMenuMessage(const MSG& msg);

  void RebuildButtons();
  void RemoveButtons();
  int ButtonCount() const;
  int ButtonFromScreenPoint(POINT pt) const;
  int FindMnemonic(wchar_t ch) const;
  void SetHotItem(int index) const;
  void EnterKeyboardMode();
  void LeaveKeyboardMode();
  int NextEnabled(int from, int step) const;
  HBITMAP ItemBitmap(UINT command);
  bool IsOurFrameMessage(const MSG& msg) const;

  HWND frame_ = nullptr;
  ScopedMenu menu_;
  ScopedImageList images_;
  std::map<UINT, int> imageOf_;
  std::map<UINT, ScopedBitmap> itemBitmaps_;
  std::wstring texts_;  // keeps the button strings alive for the toolbar

  bool filterAdded_ = false;
  bool keyboardMode_ = false;
  bool altAlone_ = false;

  // Popup tracking.
  int openIndex_ = -1;
  int nextIndex_ = -1;
  bool nextFromKeyboard_ = false;
  HMENU openPopup_ = nullptr;
  HMENU selectedMenu_ = nullptr;   // the menu whose item is highlighted (from WM_MENUSELECT)
  UINT selectedFlags_ = 0;
  POINT lastMouse_{-1, -1};
  ScopedHook hook_;
};

}  // namespace orv
