// The sample pane: the sample-size up-down at the left end of the caption, the caption
// "[size points] name", and a toolbar with the font commands, the two display switches, the
// sample chooser, the three style overrides and the EUDC editor button; the sample window
// (CSampleWindow) fills the rest. The main frame creates the pane and its up-down, shows the
// selected font through ShowFont and learns nothing back but the commands posted to it (157 with
// the source list, 156 and 173 with 0). Main thread only.
#pragma once

#include <string>

#include "app/CTbPaneContainerImpl.h"
#include "common/ResourceIds.h"
#include "framework/Handles.h"
#include "viewing/CSampleWindow.h"

class COrvelListView;

class CSamplePaneContainer : public CTbPaneContainerImpl<CSamplePaneContainer> {
public:
  DECLARE_WND_CLASS_EX(L"OrvelSamplePane", CS_DBLCLKS, COLOR_3DFACE)

  static constexpr int kMinSampleSize = CSampleWindow::kMinSampleSize;
  static constexpr int kMaxSampleSize = CSampleWindow::kMaxSampleSize;
  // Width of the sample chooser button in images.
  static constexpr int kChooserImages = 7;

  void AddButtons();
  int CaptionExtra() const { return 0; }
  int CaptionLeft() const { return ::GetSystemMetrics(SM_CXVSCROLL); }
  bool FlatCaption() const { return false; }

  // Creates the sample window as the pane's client.
  HWND CreateSampleWindow();
  CSampleWindow& Sample() { return sample_; }
  const CSampleWindow& Sample() const { return sample_; }

  // The up-down control (id 212) created by the main frame as a child of this pane.
  void SetUpDown(HWND upDown) {
    upDown_ = upDown;
    PlaceBars();
  }
  HWND UpDown() const { return upDown_; }

  // Shows `record` from `source`, or nothing when record is null.
  void ShowFont(const FontItem* record, COrvelListView* source);
  // Lays the sample out again (full: with the style overrides reset) and refreshes the title.
  bool Refresh(bool full);
  // Caption "[size points] name", the font's flags and the button states.
  void UpdateTitle(const std::wstring& name, int size, uint32_t flags);
  // Where the caption text lies (a click there shows the source list's row).
  RECT CaptionTextRect();

  DWORD OnItemPostPaint(int, NMCUSTOMDRAW* cd);

  BEGIN_MSG_MAP(CSamplePaneContainer)
    MESSAGE_HANDLER(WM_SIZE, OnSize)
    MESSAGE_HANDLER(WM_LBUTTONDOWN, OnCaptionClick)
    NOTIFY_HANDLER(IDC_SAMPLE_SIZE_UPDOWN, UDN_DELTAPOS, OnSizeDelta)
    MESSAGE_HANDLER(WM_NOTIFY, OnToolbarNotify)
    COMMAND_ID_HANDLER(ID_SAMPLE_CHOOSER, OnChooser)
    COMMAND_ID_HANDLER(ID_FONTS_PROPERTIES, OnFontCommand)
    COMMAND_ID_HANDLER(ID_FONTS_CHARMAP, OnFontCommand)
    COMMAND_ID_HANDLER(ID_FONTS_SHEET, OnFontCommand)
    COMMAND_ID_HANDLER(ID_SAMPLE_EDIT_TEXTS, OnEditTexts)
    COMMAND_ID_HANDLER(ID_SAMPLE_EUDC_EDITOR, OnEudcEditor)
    COMMAND_ID_HANDLER(ID_SAMPLE_APPLIED, OnSampleApplied)
    COMMAND_ID_HANDLER(ID_SAMPLE_INFO_BLOCK, OnInfoBlock)
    COMMAND_ID_HANDLER(ID_SAMPLE_MARK_MISSING, OnMarkMissing)
    COMMAND_RANGE_HANDLER(ID_SAMPLE_BOLD, ID_SAMPLE_UNDERLINE, OnStyle)
    CHAIN_MSG_MAP(CTbPaneContainerImpl<CSamplePaneContainer>)
  END_MSG_MAP()

private:
  LRESULT OnSize(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnCaptionClick(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnSizeDelta(int, NMHDR*, BOOL&);
  LRESULT OnToolbarNotify(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnChooser(WORD, WORD, HWND, BOOL&);
  LRESULT OnFontCommand(WORD, WORD, HWND, BOOL&);
  LRESULT OnEditTexts(WORD, WORD, HWND, BOOL&);
  LRESULT OnEudcEditor(WORD, WORD, HWND, BOOL&);
  LRESULT OnSampleApplied(WORD, WORD, HWND, BOOL&);
  LRESULT OnInfoBlock(WORD, WORD, HWND, BOOL&);
  LRESULT OnMarkMissing(WORD, WORD, HWND, BOOL&);
  LRESULT OnStyle(WORD, WORD, HWND, BOOL&);

  // The up-down at the left of the caption, the toolbar at its right end (less the EUDC
  // button's room while that button is hidden).
  void PlaceBars();
  void SetButtonStates();
  int ButtonWidth() const { return m_cxImage + 7; }

  CSampleWindow sample_;
  orv::ScopedImageList images_;
  orv::ScopedImageList disabledImages_;  // greyed copy for disabled buttons
  uint32_t flags_ = 0;  // the flags of the font shown
  HWND upDown_ = nullptr;
};
