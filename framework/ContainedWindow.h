// CContainedWindow: a control of a system class (a tree view, a tab control) that its owner
// creates or finds and subclasses, and whose messages go to one of the owner's message maps
// (ALT_MSG_MAP(mapId)). What that map leaves, or a handler that clears `handled`, gets the
// control's own procedure. The owner keeps the object as a member, so it lives as long as the
// window; main thread only.
#pragma once

#include <windows.h>

#include "framework/AppModule.h"
#include "framework/WindowImpl.h"

namespace orv {

class CContainedWindow : public CWindowImplRoot {
public:
  CContainedWindow(CMessageMap& owner, DWORD mapId) noexcept : owner_(owner), mapId_(mapId) {}

  // Creates a window of `className` and subclasses it; null when either fails.
  HWND Create(const wchar_t* className, HWND parent, const RECT& rect, DWORD style, DWORD exStyle, UINT id) {
    if (m_hWnd) return nullptr;
    HWND wnd = ::CreateWindowExW(exStyle, className, nullptr, style, rect.left, rect.top, rect.right - rect.left,
                                 rect.bottom - rect.top, parent, reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)),
                                 g_Module.GetModuleInstance(), nullptr);
    if (!wnd) return nullptr;
    if (!SubclassWindow(wnd)) {
      ::DestroyWindow(wnd);
      return nullptr;
    }
    return wnd;
  }

  BOOL ProcessWindowMessage(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lResult,
                            DWORD) override {
    return owner_.ProcessWindowMessage(hWnd, uMsg, wParam, lParam, lResult, mapId_);
  }

private:
  CMessageMap& owner_;
  DWORD mapId_;
};

}  // namespace orv
