// CCharMapView: the content of one character map tab, a resizable child dialog (template
// IDD_CHARMAP_VIEW) with the character grid, the count of characters, the block of the
// character under the mouse, a compose box (rich edit) with its Copy button, and a button that
// starts the system's Character Map. Narrower than the template, it scrolls horizontally.
//
// Made by its MDI child frame (CCharMapChildFrame) with a copy of the font, whether that font
// is installed, and the frame's status bar, which the grid writes to. It holds the getuname
// library (character names) and the rich-edit library for its lifetime. Main thread only.
#pragma once

#include <windows.h>

#include <string>

#include "common/CBmpButton.h"
#include "common/ResourceIds.h"
#include "fonts/FontItem.h"
#include "framework/DialogImpl.h"
#include "framework/DialogResize.h"
#include "framework/Handles.h"
#include "framework/MessageCrackers.h"
#include "viewing/CCharMapGrid.h"

class CCharMapView : public orv::CDialogImpl<CCharMapView>, public orv::CDialogResize {
public:
  enum { IDD = IDD_CHARMAP_VIEW };

  static constexpr wchar_t kRichEditLibrary[] = L"RICHED20.DLL";
  static constexpr int kComposeFontPercent = 90;

  CCharMapView(const FontItem& font, bool installed, HWND statusBar);
  ~CCharMapView() override;

  const FontItem& Font() const { return font_; }
  bool IsInstalled() const { return installed_; }
  CCharMapGrid& Grid() { return grid_; }
  HWND ComposeBox() const { return composeEdit_; }

  // The count line above the grid: "( n characters )", with the name of the range beyond the
  // BMP when the font claims it; the symbol text for a symbol font.
  std::wstring BuildCountText() const;

  BEGIN_MSG_MAP(CCharMapView)
    MSG_WM_INITDIALOG(OnInitDialog)
    COMMAND_ID_HANDLER_EX(IDC_CHARMAP_SYSTEM_TOOL, OnSystemCharMap)
    COMMAND_ID_HANDLER_EX(ID_CHARMAP_BLOCK_OF, OnBlockOf)
    COMMAND_ID_HANDLER_EX(IDC_CHARMAP_COPY, OnCopy)
    COMMAND_HANDLER_EX(IDC_CHARMAP_COMPOSE, EN_CHANGE, OnComposeChange)
    MSG_WM_DESTROY(OnDestroy)
    MESSAGE_HANDLER(WM_SIZE, OnSize)
    MESSAGE_HANDLER(WM_HSCROLL, OnHScroll)
    CHAIN_MSG_MAP(orv::CDialogResize)
  END_MSG_MAP()

private:
  BOOL OnInitDialog(HWND, LPARAM);
  void OnSystemCharMap(UINT, int, HWND);
  void OnBlockOf(UINT, int, HWND codePoint);
  void OnCopy(UINT, int, HWND);
  void OnComposeChange(UINT, int, HWND);
  void OnDestroy();
  // Narrower than its smallest layout (a frame on a small screen), the view scrolls sideways.
  LRESULT OnSize(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnHScroll(UINT, WPARAM, LPARAM, BOOL&);
  void ScrollSideways(int pos);

  void CreateGridInPlaceholder();
  LOGFONTW TakeLogFont();
  void SetUpComposeBox(const LOGFONTW& lf);

  FontItem font_;
  bool installed_;
  HWND statusBar_;
  CBmpButton toolButton_;
  CCharMapGrid grid_;
  HWND composeEdit_ = nullptr;
  orv::ScopedFont composeFont_;
  orv::ScopedModule richEditModule_;
  orv::ScopedModule nameModule_;
  int scrollX_ = 0;  // how far the controls are moved left
};
