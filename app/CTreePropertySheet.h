// CTreePropertySheet: a modal property sheet whose pages are chosen in a tree of page titles on
// the left, with a painted banner above the page: a colour gradient with the current page's
// title in large bold type and an optional banner text at its right. The base of the options
// sheet, the font property sheets and the search filter sheet.
//
// A derived sheet adds its pages (members of its own) with AddPage before DoModal, may change
// the tree's width and the focus switch, header flags and caption, and overrides OnInitialized
// to reach the tree items once the tree is built. The sheet rearranges the platform's layout
// once, right after the platform created it: the tab control is hidden, the pages move right of
// the tree and below the banner, the buttons drop a little. Pages find the tree as the sheet's
// control kPageTreeId. Switches set before DoModal make the sheet captionless (it is then dragged
// by its banner), cut off its button row, or keep it a plain property sheet with its tabs and
// without tree and banner. Main thread only.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "framework/ContainedWindow.h"
#include "framework/Handles.h"
#include "framework/MessageCrackers.h"
#include "framework/PropertySheetImpl.h"

class CTreePropertySheet : public orv::CPropertySheetImpl<CTreePropertySheet> {
public:
  // Level flags of a page: bits 0-1 give the tree shape, bit 2 expands the item.
  static constexpr int kLevelOpensBranch = 0;  // the following pages become its children
  static constexpr int kLevelItem = 1;
  static constexpr int kLevelClosesBranch = 2;  // the last item of the current branch
  static constexpr int kLevelShapeMask = 3;
  static constexpr int kLevelExpanded = 4;

  static constexpr UINT kPageTreeId = 0x3030;
  static constexpr int kDefaultTreeWidth = 120;

  CTreePropertySheet();
  ~CTreePropertySheet() override;

  // Adds a page in call order. An empty tree caption shows the page template's title.
  bool AddPage(int levelFlags, orv::CPropertyPageImplRoot& page, const std::wstring& treeCaption = {},
               const std::wstring& bannerText = {});

  // Before DoModal: the tree's right edge in pixels, whether a click in the tree moves the
  // focus into the page, the banner text every page shows (empty: each page's own), a frame
  // line around the banner.
  void SetTreeWidth(int pixels) { treeRight_ = pixels; }
  void SetFocusPageOnTreeClick(bool on) { focusPageOnClick_ = on; }
  void SetSheetBannerText(const std::wstring& text) { sheetBanner_ = text; }
  void SetBannerFrame(bool on) { bannerFrame_ = on; }
  // Before DoModal (and, for the plain sheet, before AddPage): no caption, the banner across the
  // top moves the window; no button row (its buttons disabled); no tree and no banner at all.
  void SetCaptionless(bool on) { captionless_ = on; }
  void SetNoButtons(bool on) { noButtons_ = on; }
  void SetPlainSheet(bool on) { plainSheet_ = on; }

  HWND PageTree() const { return tree_.m_hWnd; }
  // The tree item of the page added index-th; null before the tree exists.
  HTREEITEM TreeItemOf(int index) const;
  // The caption the tree and the banner show for a page.
  std::wstring PageCaption(int index) const;
  // The banner rectangle in the sheet's client coordinates (empty before the layout).
  const RECT& BannerRect() const { return bannerRect_; }
  bool IsLayoutDone() const { return !layoutPending_; }

  // Called once the tree is built, before the sheet is shown again.
  virtual void OnInitialized() {}

  void OnSheetInitialized();

  BEGIN_MSG_MAP(CTreePropertySheet)
    COMMAND_ID_HANDLER(kLayoutCommand, OnLayoutCommand)
    MESSAGE_HANDLER(WM_PAINT, OnPaint)
    MESSAGE_HANDLER(WM_SYSCOLORCHANGE, OnSysColorChange)
    MESSAGE_HANDLER(WM_MOUSEMOVE, OnMouseMove)
    MSG_WM_MOUSE(WM_LBUTTONDOWN, OnBannerButtonDown)
    MSG_WM_MOUSE(WM_LBUTTONUP, OnBannerButtonUp)
    MESSAGE_HANDLER(WM_CAPTURECHANGED, OnCaptureChanged)
    NOTIFY_HANDLER(kPageTreeId, TVN_SELCHANGEDW, OnTreeSelChanged)
    CHAIN_MSG_MAP(orv::CPropertySheetImpl<CTreePropertySheet>)
  ALT_MSG_MAP(kTreeMap)
    MESSAGE_HANDLER(WM_LBUTTONDOWN, OnTreeButtonDown)
  ALT_MSG_MAP(kTabMap)
    MESSAGE_HANDLER(TCM_SETCURSEL, OnTabSetCurSel)
  END_MSG_MAP()

private:
  static constexpr UINT kLayoutCommand = 0x2805;
  static constexpr DWORD kTreeMap = 1;
  static constexpr DWORD kTabMap = 2;

  struct TreePageEntry {
    int level;
    PROPSHEETPAGEW* page;
    std::wstring caption;
    std::wstring banner;
    HTREEITEM item;
  };

  // A memory DC with a bitmap of at least the size asked for, grey where newly grown.
  class Surface {
  public:
    ~Surface();
    HDC Ensure(int width, int height);
    HDC Dc() const { return dc_.Get(); }

  private:
    orv::ScopedCreatedDC dc_;
    orv::ScopedBitmap bitmap_;
    HGDIOBJ original_ = nullptr;
    int width_ = 0;
    int height_ = 0;
  };

  LRESULT OnLayoutCommand(WORD, WORD, HWND, BOOL&);
  LRESULT OnPaint(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnSysColorChange(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnMouseMove(UINT, WPARAM, LPARAM, BOOL&);
  void OnBannerButtonDown(UINT keys, POINT at);
  void OnBannerButtonUp(UINT keys, POINT at);
  LRESULT OnCaptureChanged(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnTreeSelChanged(int, NMHDR*, BOOL&);
  LRESULT OnTreeButtonDown(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnTabSetCurSel(UINT, WPARAM, LPARAM, BOOL&);

  // Layout (CTreePropertySheetLayout.cpp).
  void Layout();
  void MoveChildren(int dx, int dy) const;
  void RemoveCaption();
  void CutOffButtons();
  void BuildTree();
  void MakeFonts();
  // Painting (CTreePropertySheetPaint.cpp).
  void FetchColors();
  void PaintBanner(HDC dc);
  void PaintGradient();
  void PaintPageFrame(HDC dc) const;
  void InvalidateBanner() const;

  int IndexOfItem(HTREEITEM item) const;
  void ShowPage(int index);

  std::vector<TreePageEntry> entries_;
  orv::CContainedWindow tree_{*this, kTreeMap};
  orv::CContainedWindow tab_{*this, kTabMap};

  // Layout metrics in pixels.
  int topMargin_ = 10;
  int buttonDrop_ = 10;
  int leftMargin_ = 10;
  int rightMargin_ = 10;
  int gap_ = 8;
  int bannerHeight_ = 28;
  int treeRight_ = kDefaultTreeWidth;

  COLORREF gradientLeft_ = 0, gradientRight_ = 0, titleText_ = 0, titleShadow_ = 0;
  COLORREF bannerText_ = 0, bannerShadow_ = 0, frameHighlight_ = 0, frameShadow_ = 0;

  bool bannerFrame_ = false;
  bool focusPageOnClick_ = true;
  bool pageFrame_ = true;
  bool layoutPending_ = true;
  bool gradientStale_ = true;
  bool syncingTree_ = false;
  bool captionless_ = false;
  bool noButtons_ = false;
  bool plainSheet_ = false;
  bool dragging_ = false;
  POINT dragFrom_{};  // screen point of the last move while dragging

  RECT bannerRect_{};
  RECT pageRect_{};  // the pages' rectangle after the layout, client coordinates
  orv::ScopedFont titleFont_;
  orv::ScopedFont bannerFont_;
  Surface gradient_;
  Surface composition_;
  std::wstring sheetBanner_;
};
