// The sample pane: the sample-size up-down at the left end of the caption, the caption
// "[size points] name" and the toolbar with the font commands; the sample window fills the rest.
#pragma once

#include <string>

#include "app/CTbPaneContainerImpl.h"
#include "framework/Handles.h"

class CSamplePaneContainer : public CTbPaneContainerImpl<CSamplePaneContainer> {
public:
  DECLARE_WND_CLASS_EX(L"OrvelSamplePane", CS_DBLCLKS, COLOR_3DFACE)

  static constexpr int kMinSampleSize = 4;
  static constexpr int kMaxSampleSize = 72;

  void AddButtons();
  int CaptionExtra() const { return 0; }
  int CaptionLeft() const { return ::GetSystemMetrics(SM_CXVSCROLL); }
  UINT CaptionFlags() const { return DT_PATH_ELLIPSIS; }
  bool FlatCaption() const { return false; }

  // The up-down control (id 212) created by the main frame as a child of this pane.
  void SetUpDown(HWND upDown) {
    upDown_ = upDown;
    PlaceUpDown();
  }
  HWND UpDown() const { return upDown_; }

  void UpdateTitle(const std::wstring& name, int size);

  BEGIN_MSG_MAP(CSamplePaneContainer)
    MESSAGE_HANDLER(WM_SIZE, OnSize)
    CHAIN_MSG_MAP(CTbPaneContainerImpl<CSamplePaneContainer>)
  END_MSG_MAP()

private:
  LRESULT OnSize(UINT, WPARAM, LPARAM, BOOL& handled) {
    PlaceUpDown();
    handled = FALSE;
    return 0;
  }
  void PlaceUpDown() const;

  orv::ScopedImageList images_;
  HWND upDown_ = nullptr;
};
