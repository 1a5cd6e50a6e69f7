// CCharMapGrid: the grid of a character map, every character of one font in square cells, 16
// to a row, drawn in that font; it scrolls vertically.
//
// The view (CCharMapView) sets it up before it builds the code point list: the font's logical
// font and file path(s), its flags, whether it is installed (a font that is not is loaded
// privately before every drawing, and offers no compose box and no drag), the modes, the
// frame's status bar (pane 0: code, pane 1: name), the compose box and the getuname module the
// view holds. Moving the mouse over a cell shows the character's code and name in the status
// bar and sends ID_CHARMAP_BLOCK_OF to the view; right-click or Shift shows the zoom window
// (CZoomCharWnd, owned by the grid); a press and drag copies the character as text (OLE drag),
// a double-click puts it into the compose box. Main thread only.
#pragma once

#include <windows.h>
#include <oleidl.h>

#include <cstdint>
#include <string>

#include "framework/Handles.h"
#include "framework/MessageCrackers.h"
#include "framework/ScrollWindowImpl.h"
#include "viewing/CZoomCharWnd.h"
#include "viewing/CodePointList.h"

class CCharMapGrid : public orv::CScrollWindowImpl<CCharMapGrid> {
public:
  DECLARE_WND_CLASS_EX(L"OrvelCharMapGrid", CS_DBLCLKS, COLOR_WINDOW)

  static constexpr int kColumns = 16;
  static constexpr int kEightBitRows = 14;
  static constexpr int kEightBitFirst = 0x20;
  static constexpr int kEightBitLastIndex = kColumns * kEightBitRows - 1;  // byte 0xFF
  static constexpr int kZoomFactorMin = 2;
  static constexpr int kZoomFactorMax = 10;
  static constexpr int kZoomFactorDefault = 3;
  static constexpr BYTE kZoomAlphaDefault = 232;
  static constexpr BYTE kZoomAlphaOpaque = 255;
  static constexpr int kWheelDeltaLimit = 800;
  static constexpr int kDragDistance = 2;
  static constexpr DWORD kDragDelayMs = 200;
  static constexpr int kComposeLimit = 258;
  static constexpr DWORD kStyle = WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | WS_CLIPSIBLINGS;

  // What the view tells the grid about the font before the list is built.
  struct FontSetup {
    LOGFONTW logFont{};
    std::wstring fontPath;  // FontItem::GetFilePaths
    uint32_t itemFlags = 0;
    bool installed = false;
    bool eightBit = false;   // Type 1, raster and symbol fonts: the byte codes 0x20 to 0xFF
    bool wideList = false;   // the font says it has characters beyond the BMP: read its (3,10) cmap
    bool ucs4Cmap = false;   // the cmap in use is (3,10): set when the list is built
  };

  CCharMapGrid();
  ~CCharMapGrid() override;

  void SetFont(FontSetup setup) { font_ = std::move(setup); }
  void SetStatusBar(HWND statusBar) { statusBar_ = statusBar; }
  void SetNameModule(HMODULE getuname) { nameModule_ = getuname; }
  void SetComposeBox(HWND compose) { composeBox_ = compose; }

  HWND CreateGrid(HWND parent, const RECT& rc, UINT id);

  // Fills the code point list from the font: the (3,10) cmap when wideList, else (or when that
  // gives nothing) GDI's Unicode ranges; notes whether the font has a (3,10) cmap. Loads the
  // font privately first when it is not installed.
  void BuildCodePointList();
  // The status text of a character's name: the getuname name, else the block name or the
  // surrogate pair in angle brackets; empty without the getuname library.
  std::wstring GetCharacterName(uint32_t codePoint) const;

  // Hit test at a client point: status bar, block name in the view, hoverChar and dropChar.
  void ShowCharAt(POINT client);
  // The hit test at the mouse pointer, moving a shown zoom when the character changed.
  void HitTestAtPointer();
  void ResetHover(bool rearm);
  void ToggleZoom(POINT client);
  void PlaceZoom(POINT client);
  // Page Up / Page Down / Home / End from the frame, followed by a hit test at the pointer.
  void ScrollByKey(UINT key);

  // An OLE data object holding the text of dropChar, or null when there is nothing to drag.
  orv::ComPtr<IDataObject> CreateDragData() const;

  // State, for the view, the frame and the tests.
  uint32_t HoverChar() const { return hoverChar_; }
  uint32_t DropChar() const { return dropChar_; }
  int CellSize() const { return cell_; }
  int RowCount() const { return font_.eightBit ? kEightBitRows : static_cast<int>(list_.Rows()); }
  int TopRow() const { return topRow_; }
  const CodePointList& CodePoints() const { return list_; }
  const FontSetup& Font() const { return font_; }
  bool IsEightBit() const { return font_.eightBit; }
  bool IsZoomShown() const { return zoomShown_; }
  int ZoomFactor() const { return zoomFactor_; }
  BYTE ZoomAlpha() const { return zoomAlpha_; }
  const CZoomCharWnd& ZoomWindow() const { return zoomWnd_; }
  // Lays the grid out now when a resize asked for it (otherwise the next paint does).
  void EnsureLayout();
  void DoPaint(HDC dc);

  BEGIN_MSG_MAP(CCharMapGrid)
    MSG_WM_CREATE(OnCreate)
    MESSAGE_HANDLER(WM_SIZE, OnSize)
    MSG_WM_MOUSE(WM_MOUSEMOVE, OnMouseMove)
    MESSAGE_HANDLER(WM_MOUSELEAVE, OnMouseLeave)
    MSG_WM_MOUSE(WM_LBUTTONDOWN, OnLButtonDown)
    MSG_WM_MOUSE(WM_LBUTTONDBLCLK, OnLButtonDblClk)
    MSG_WM_MOUSE(WM_RBUTTONDOWN, OnRButtonDown)
    MSG_WM_KEYDOWN(OnKeyDown)
    MESSAGE_HANDLER(WM_MOUSEWHEEL, OnMouseWheel)
    MESSAGE_HANDLER(WM_GETDLGCODE, OnGetDlgCode)
    MSG_WM_DESTROY(OnDestroy)
    CHAIN_MSG_MAP(orv::CScrollWindowImpl<CCharMapGrid>)
  END_MSG_MAP()

private:
  LRESULT OnCreate(CREATESTRUCTW*);
  LRESULT OnSize(UINT, WPARAM, LPARAM, BOOL&);
  void OnMouseMove(UINT keys, POINT pt);
  LRESULT OnMouseLeave(UINT, WPARAM, LPARAM, BOOL&);
  void OnLButtonDown(UINT keys, POINT pt);
  void OnLButtonDblClk(UINT keys, POINT pt);
  void OnRButtonDown(UINT keys, POINT pt);
  void OnKeyDown(UINT key, UINT repeat, UINT flags);
  LRESULT OnMouseWheel(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnGetDlgCode(UINT, WPARAM, LPARAM, BOOL&) { return DLGC_WANTARROWS | DLGC_WANTCHARS; }
  void OnDestroy();

  void Layout();
  void DrawEightBit(HDC dc, int firstRow, int lastRow) const;
  void DrawUnicode(HDC dc, int firstRow, int lastRow) const;
  COLORREF TextColor() const;
  void LoadFontPrivately() const;
  void SetStatus(int pane, const std::wstring& text) const;
  void NotifyBlock(uint32_t codePoint) const;
  POINT PointerInClient() const;
  void FocusIfActive() const;
  void ChangeZoomFactor(int step, POINT client);
  // Drag (CCharMapGridDrag.cpp).
  void StartCharDrag(UINT keys, POINT pt);
  bool DetectDragGesture(POINT start);

  FontSetup font_;
  CodePointList list_;
  HWND statusBar_ = nullptr;
  HMODULE nameModule_ = nullptr;
  HWND composeBox_ = nullptr;
  orv::ScopedFont cellFont_;
  int cell_ = 0;
  int glyphHeight_ = 0;
  int topRow_ = 0;
  bool layoutDirty_ = true;
  uint32_t hoverChar_ = 0;
  uint32_t dropChar_ = 0;
  bool trackArmed_ = true;
  bool dragging_ = false;
  CZoomCharWnd zoomWnd_;
  bool zoomShown_ = false;
  int zoomFactor_ = kZoomFactorDefault;
  BYTE zoomAlpha_ = kZoomAlphaDefault;
};
