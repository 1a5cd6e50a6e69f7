// CFontSheetChildFrame: one tab of the font sheet frame, an MDI child whose client is the
// CFontSheetView of one font (zoom 100). Beyond what every tool frame child does
// (CToolFrameChildImpl), it takes the wheel its frame's filter forwards while the frame is active.
//
// Made on the heap by CFontSheetFrame::AddFontTab; once its window exists it deletes itself after
// its last message. Main thread only.
#pragma once

#include <windows.h>

#include "viewing/CFontSheetView.h"
#include "viewing/CToolFrameChildImpl.h"

class CFontSheetChildFrame : public CToolFrameChildImpl<CFontSheetChildFrame> {
public:
  DECLARE_WND_CLASS_EX(L"OrvelFontSheetChild", CS_DBLCLKS, COLOR_WINDOW)
  static constexpr bool kPostActivation = false;

  // The view shows a copy of `font`, on an unbounded page unless `pageMode`.
  CFontSheetChildFrame(const FontItem& font, bool pageMode, HICON icon);

  CFontSheetView& View() { return view_; }

  // CToolFrameChild.
  const FontItem& GetTabFont() const override { return view_.Font(); }

  BEGIN_MSG_MAP(CFontSheetChildFrame)
    MSG_WM_CREATE(OnCreate)
    MESSAGE_HANDLER(orv::WM_FORWARDMSG, OnForwardMsg)
    CHAIN_MSG_MAP(CToolFrameChildImpl<CFontSheetChildFrame>)
  END_MSG_MAP()

private:
  ~CFontSheetChildFrame() override = default;
  friend class CFontSheetFrame;  // deletes a child whose window could not be made

  LRESULT OnCreate(CREATESTRUCTW*);
  LRESULT OnForwardMsg(UINT, WPARAM, LPARAM, BOOL&);

  CFontSheetView view_;
};
