// CContainedWindow: a window that another object handles, such as a control inside a frame.
//
// It subclasses an existing window (SubclassWindow) and hands its messages to an alternate map
// of its container (ALT_MSG_MAP(mapId) in the container's message map); what that map leaves
// goes to the window's own procedure. The container keeps this object as a member, so it lives
// as long as the window; UI thread only.
#pragma once

#include "framework/WindowImpl.h"

namespace orv {

class CContainedWindow : public CWindowImplRoot {
public:
  CContainedWindow(CMessageMap* container, DWORD mapId) noexcept : container_(container), mapId_(mapId) {}
  ~CContainedWindow() override = default;

  BOOL ProcessWindowMessage(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lResult,
                            DWORD = 0) override {
    return container_->ProcessWindowMessage(hWnd, uMsg, wParam, lParam, lResult, mapId_);
  }

private:
  CMessageMap* container_;
  DWORD mapId_;
};

}  // namespace orv
