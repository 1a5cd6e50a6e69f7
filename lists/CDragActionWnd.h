// CDragActionWnd: the small half-transparent window that follows the cursor during a font drag
// and names what a release would do: the action's icon at the left, its caption at the right, on
// a light orange ground with a thin border. The drag creates it, sets the action code as the
// cursor moves and destroys it when the drag ends. Main thread only.
#pragma once

#include <windows.h>

#include <string>

#include "framework/Handles.h"
#include "framework/WindowImpl.h"

class CDragActionWnd : public orv::CWindowImpl<CDragActionWnd> {
public:
  DECLARE_WND_CLASS_EX(L"OrvelDragAction", 0, COLOR_WINDOW)

  static constexpr COLORREF kBackground = 0xF8E0B4;
  static constexpr COLORREF kTextColor = 0x800000;

  // The popup window (hidden until the first action), owned by `owner`, with its images.
  bool CreateFeedback(HWND owner);
  // Takes an action code (1 to 10); its caption becomes the text.
  void SetAction(int code);
  // Moves the window under the cursor (screen coordinates), sized to its text, and repaints it.
  void PlaceAndSize(POINT cursor);

  int Action() const { return action_; }
  const std::wstring& Text() const { return text_; }

  BEGIN_MSG_MAP(CDragActionWnd)
    MESSAGE_HANDLER(WM_ERASEBKGND, OnEraseBackground)
  END_MSG_MAP()

private:
  LRESULT OnEraseBackground(UINT, WPARAM, LPARAM, BOOL&);
  HFONT Font();

  int action_ = 0;
  std::wstring text_;
  orv::ScopedImageList images_;
  orv::ScopedFont font_;
};
