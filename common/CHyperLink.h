// CHyperLink: a static control of a dialog turned into a link. It keeps the control's own text
// as its label, draws it in the link colour, underlined while the mouse is over it, shows the
// hand cursor and opens its target with the shell when clicked. Only web and mail addresses
// are opened (a target from a font file could name any program); an address without a scheme
// ("www.example.com") is taken as http. Without an openable target the label shows disabled.
// The dialog keeps the object as a member; UI thread only.
#pragma once

#include <windows.h>

#include <string>

#include "framework/Handles.h"
#include "framework/WindowImpl.h"

class CHyperLink : public orv::CWindowImpl<CHyperLink> {
public:
  // Binds the static control and sets the target.
  bool Attach(HWND control, const std::wstring& target);
  const std::wstring& Target() const { return target_; }
  bool IsHot() const { return hot_; }

  // The address the shell is given for `target`, or empty when it is not a web or mail address.
  static std::wstring OpenableAddress(const std::wstring& target);

  BEGIN_MSG_MAP(CHyperLink)
    MESSAGE_HANDLER(WM_PAINT, OnPaint)
    MESSAGE_HANDLER(WM_SETCURSOR, OnSetCursor)
    MESSAGE_HANDLER(WM_MOUSEMOVE, OnMouseMove)
    MESSAGE_HANDLER(WM_MOUSELEAVE, OnMouseLeave)
    MESSAGE_HANDLER(WM_LBUTTONDOWN, OnLButtonDown)
    MESSAGE_HANDLER(WM_LBUTTONUP, OnLButtonUp)
    MESSAGE_HANDLER(WM_SETFONT, OnSetFont)
  END_MSG_MAP()

private:
  LRESULT OnPaint(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnSetCursor(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnMouseMove(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnMouseLeave(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnLButtonDown(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnLButtonUp(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnSetFont(UINT, WPARAM, LPARAM, BOOL&);

  void MakeUnderlinedFont();
  void SetHot(bool hot);

  std::wstring target_;
  std::wstring address_;
  orv::ScopedFont underlined_;
  bool hot_ = false;
  bool pressed_ = false;
};
