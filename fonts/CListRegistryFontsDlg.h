// CListRegistryFontsDlg: the modeless tool window that lists every font registration of the
// system and checks each against its file (template 1069, list CRegListView). A diagnostic
// view: nothing is written to the font registration. It is filled once, in its initialisation;
// the user closes and reopens it to read the registry again.
//
// The main frame makes it on the heap (command 714) as a top-level window without owner and
// keeps it in its tool-window slot. Esc or Cancel destroy the window; on WM_DESTROY the dialog
// saves its rectangle ("RegListDlgRect") and posts the main window command 339 with 714, on
// which the main frame deletes the object. Main thread only.
#pragma once

#include <windows.h>

#include "app/CToolWindow.h"
#include "common/CDialogHelp.h"
#include "common/ResourceIds.h"
#include "fonts/CRegListView.h"
#include "framework/DialogImpl.h"
#include "framework/DialogResize.h"
#include "framework/MessageCrackers.h"
#include "framework/MessageLoop.h"

class CListRegistryFontsDlg : public orv::CDialogImpl<CListRegistryFontsDlg>,
                              public orv::CDialogResize,
                              public CDialogHelp<CListRegistryFontsDlg>,
                              public CToolWindow,
                              public orv::CMessageFilter {
public:
  enum { IDD = IDD_LIST_REGISTRY_FONTS };
  static constexpr wchar_t kRectValue[] = L"RegListDlgRect";

  // Reads the saved rectangle (empty when there is none or it is unusable).
  CListRegistryFontsDlg();
  ~CListRegistryFontsDlg() override;

  // Creates the window: modeless, no owner, filled and shown.
  HWND CreateModeless();
  // Command 228: the window, clamped to the screen and with its size kept, moved to (0, 0) and
  // shown without being activated.
  void MoveWindowToOrigin();
  void BringOntoScreen() override { MoveWindowToOrigin(); }

  HWND GetToolWindow() const override { return m_hWnd; }
  void ClearToolWindow() override { m_hWnd = nullptr; }
  bool PreTranslateMessage(MSG* msg) override;

  CRegListView& List() { return list_; }
  HWND StatusBar() const { return statusBar_; }
  const RECT& SavedRect() const { return rect_; }

  BEGIN_MSG_MAP(CListRegistryFontsDlg)
    MSG_WM_INITDIALOG(OnInitDialog)
    MSG_WM_DESTROY(OnDestroy)
    COMMAND_ID_HANDLER_EX(IDCANCEL, OnCancel)
    CHAIN_MSG_MAP(CDialogHelp<CListRegistryFontsDlg>)
    CHAIN_MSG_MAP(orv::CDialogResize)
    REFLECT_NOTIFICATIONS()
  END_MSG_MAP()

private:
  BOOL OnInitDialog(HWND, LPARAM);
  void OnDestroy();
  void OnCancel(UINT, int, HWND) { DestroyWindow(); }
  void PlaceWindow();

  CRegListView list_;
  HWND statusBar_ = nullptr;
  RECT rect_{};  // screen coordinates, as saved
  bool filtering_ = false;
};
