// CSampleWindow: the scrolling window inside the main window's sample pane. It draws one font,
// the one last selected in a font list, in its own face: the active sample text word-wrapped at
// the sample size, optionally below an information block (collection, file, variations,
// scripts, family, version, identifier), with the optical-size range at the top right and,
// while panes are resized, the size of the drawing area. It owns the drop-down list box of the
// sample texts and publishes the active text to Preferences, so that the lists draw it too.
//
// Owned by CSamplePaneContainer, which creates it once with the main window's panes and turns
// its toolbar into calls on it; the main frame copies the selected font into Item() and asks
// for a layout. It reads "SampleFontSize", "ActiveSample" and "SampleFlags" when constructed and
// writes the last two when destroyed. Main thread only.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <string>

#include "fonts/FontItem.h"
#include "framework/Handles.h"
#include "framework/ScrollWindowImpl.h"
#include "viewing/SampleList.h"

class COrvelListView;

class CSampleWindow : public orv::CScrollWindowImpl<CSampleWindow> {
public:
  DECLARE_WND_CLASS_EX(L"OrvelSampleWindow", CS_DBLCLKS, COLOR_WINDOW)
  static DWORD GetDefaultStyle(HWND) { return WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | WS_VSCROLL; }

  static constexpr int kMinSampleSize = 4;
  static constexpr int kMaxSampleSize = 72;
  static constexpr int kDefaultSampleSize = 16;
  static constexpr int kListBoxId = 1;
  // The style overrides, in the order of the toolbar's buttons.
  enum Style { kBold, kItalic, kUnderline, kStyleCount };

  CSampleWindow();
  ~CSampleWindow() override;

  // The font shown; a record without a full name shows nothing.
  FontItem& Item() { return item_; }
  const FontItem& Item() const { return item_; }
  bool HasFont() const { return !item_.FullName().empty(); }
  // Shows a copy of `record` from `source` (the list whose selection it is) with a fresh layout.
  void ShowFont(const FontItem& record, COrvelListView* source);
  // Empties the window.
  void ClearFont();
  COrvelListView* SourceList() const { return sourceList_; }

  int SampleSize() const { return sampleSize_; }
  void SetSampleSize(int points);
  int StyleOverride(Style style) const { return styleOverrides_[style]; }
  void SetStyleOverride(Style style, int value) { styleOverrides_[style] = value; }
  // Forgets the laid-out font so that the next layout measures again.
  void ForgetLayout() { laidOutName_.clear(); }
  void SetShowSizeLabel(bool show);

  const std::wstring& ActiveTitle() const { return activeTitle_; }
  const std::wstring& ActiveText() const { return activeText_; }
  const SampleList& Samples() const { return samples_; }
  int CurrentIndex() const { return currentIndex_; }
  HWND SampleListBox() const { return listBox_; }
  int ContentHeight() const { return contentHeight_; }

  // Lays out the current font; with resetStyles the style overrides go back to the font's own.
  // False when nothing can be drawn (no font, an unreadable one, a failed load or font).
  bool RecalcLayout(bool resetStyles);
  // Draws the whole content in content coordinates.
  void DrawSample(HDC dc);
  // The height the drawing needs at the current client width.
  int MeasureContentHeight();
  // Drops the sample list down at x, or hides it when it is shown.
  void SelectActiveSample(int x);
  // The same for the sample chooser's drop-down arrow.
  void ToggleSampleList(const NMTOOLBARW& info);
  // Makes the current list entry the active sample (the trailing entry opens the editor).
  void ApplySelectedSample();
  // Runs the sample editor; after OK the list is read again.
  void EditSamples();
  void FitSampleList();
  void LoadSampleList();

  void DoPaint(HDC dc) { DrawSample(dc); }

  BEGIN_MSG_MAP(CSampleWindow)
    MESSAGE_HANDLER(WM_CREATE, OnCreate)
    MESSAGE_HANDLER(WM_DESTROY, OnDestroy)
    MESSAGE_HANDLER(WM_SIZE, OnSize)
    MESSAGE_HANDLER(WM_ERASEBKGND, OnEraseBackground)
    COMMAND_HANDLER(kListBoxId, LBN_SELCHANGE, OnListSelChange)
    COMMAND_HANDLER(kListBoxId, LBN_KILLFOCUS, OnListKillFocus)
    MESSAGE_HANDLER(WM_LBUTTONDOWN, OnLButtonDown)
    MESSAGE_HANDLER(WM_LBUTTONDBLCLK, OnLButtonDblClk)
    MESSAGE_HANDLER(WM_RBUTTONDOWN, OnRButtonDown)
    CHAIN_MSG_MAP(orv::CScrollWindowImpl<CSampleWindow>)
  END_MSG_MAP()

private:
  LRESULT OnCreate(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnDestroy(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnSize(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnEraseBackground(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnListSelChange(WORD, WORD, HWND, BOOL&);
  LRESULT OnListKillFocus(WORD, WORD, HWND, BOOL&);
  LRESULT OnLButtonDown(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnLButtonDblClk(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnRButtonDown(UINT, WPARAM, LPARAM, BOOL&) { return 0; }

  void ReadSettings();
  HFONT MessageFont();
  void HideSampleList() const;
  // The list entry of the sample with this title, or -1.
  int FindListEntry(const std::wstring& title) const;
  int EditorEntry() const;
  // Makes the font drawable (CSampleWindowDraw.cpp); false when it cannot be loaded.
  bool LoadFontForDrawing(bool& eudcLoaded) const;
  void UnloadEudc(bool eudcLoaded) const;
  void DrawSampleText(HDC dc, RECT& area);
  void DrawInfoBlock(HDC dc, RECT& area);
  int DrawInfoLine(HDC dc, RECT& column, int labelWidth, const std::wstring& label, const std::wstring& value);

  FontItem item_;
  COrvelListView* sourceList_ = nullptr;
  bool showSizeLabel_ = false;
  HWND listBox_ = nullptr;
  std::wstring activeTitle_;
  int sampleSize_ = kDefaultSampleSize;
  int styleOverrides_[kStyleCount] = {};
  std::wstring laidOutName_;
  SampleList samples_;
  int currentIndex_ = -1;
  std::wstring activeText_;
  orv::ScopedFont messageFont_;
  int contentHeight_ = 1;
  int lineHeight_ = 1;
  int textHeight_ = 0;
  bool measuring_ = false;
};

// Replaces each character of `text` that the font selected into `dc` lacks by U+FFFD; control
// characters (CR, LF, TAB) stay.
void MarkMissingGlyphs(HDC dc, std::wstring& text);

// The left column of the information block: the collection, the file in brackets (Type 1 files
// on two lines), the named instances and the scripts.
std::wstring InfoBlockLeftText(const FontItem& item, const std::wstring& userFontsFolder);

// The optical-size range of a font that gives one ("(6.0 ≤ pts < ∞)"), else empty.
std::wstring OpticalSizeNote(const FontItem& item);
