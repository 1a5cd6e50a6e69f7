// CMDIFrameWindowImpl<T> and CMDIChildWindowImpl<T>: a frame whose client area holds an MDI
// client, and the child frames inside that client.
//
// The frame creates its MDI client in its WM_CREATE handler (CreateMDIClient) and lays it out
// itself on WM_SIZE; what its maps leave goes to DefFrameProcW with that client. A child is
// created inside the client with WS_EX_MDICHILD; what its maps leave goes to DefMDIChildProcW,
// and the one window it holds in m_hWndClient is kept over its whole client area. Children are
// bound to their objects like every window of the framework; whoever creates a child decides
// who deletes its object (a child may delete itself in OnFinalMessage). Main thread only.
#pragma once

#include <windows.h>

#include "framework/FrameWindowImpl.h"

namespace orv {

constexpr UINT kIdMDIClient = 0xE900;
constexpr UINT kIdFirstMDIChild = 0xFF00;

// A message a frame's message filter sends to its active MDI child with the MSG in lParam; a
// non-zero result says the child took the message.
constexpr UINT WM_FORWARDMSG = 0x037F;

constexpr DWORD kMDIClientStyle = WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS | MDIS_ALLCHILDSTYLES;
constexpr DWORD kMDIClientExStyle = WS_EX_CLIENTEDGE;
constexpr DWORD kMDIChildStyle = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | WS_OVERLAPPEDWINDOW;

class CMDIFrameWindowBase : public CFrameWindowImplBase {
public:
  HWND m_hWndMDIClient = nullptr;

  // The MDI client (class "MDIClient") as a child of this frame; the frame's scroll-bar styles
  // move over to it. Without a window menu the client lists its children nowhere.
  HWND CreateMDIClient(HMENU windowMenu = nullptr, UINT id = kIdMDIClient, UINT firstChild = kIdFirstMDIChild);

  HWND MDIGetActive(bool* maximized = nullptr) const;
  void MDIActivate(HWND child) const { ::SendMessageW(m_hWndMDIClient, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(child), 0); }
  void MDIMaximize(HWND child) const { ::SendMessageW(m_hWndMDIClient, WM_MDIMAXIMIZE, reinterpret_cast<WPARAM>(child), 0); }
  void MDIRestore(HWND child) const { ::SendMessageW(m_hWndMDIClient, WM_MDIRESTORE, reinterpret_cast<WPARAM>(child), 0); }
  void MDIDestroy(HWND child) const { ::SendMessageW(m_hWndMDIClient, WM_MDIDESTROY, reinterpret_cast<WPARAM>(child), 0); }
  void MDICascade() const { ::SendMessageW(m_hWndMDIClient, WM_MDICASCADE, 0, 0); }
  void MDITile(UINT how = MDITILE_HORIZONTAL) const { ::SendMessageW(m_hWndMDIClient, WM_MDITILE, how, 0); }
  void MDIIconArrange() const { ::SendMessageW(m_hWndMDIClient, WM_MDIICONARRANGE, 0, 0); }

  // Ctrl+F4, Ctrl+F6 and the like for the active child; true when the message was one of them.
  bool TranslateMDISysAccel(MSG* msg) const {
    return m_hWndMDIClient && ::TranslateMDISysAccel(m_hWndMDIClient, msg) != FALSE;
  }

protected:
  // The default processing of an MDI frame: DefFrameProcW with this frame's client.
  static LRESULT CALLBACK FrameDefProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp);

  LRESULT OnMDIFrameSize(UINT, WPARAM, LPARAM, BOOL&);
};

template <typename T, typename TBase = CMDIFrameWindowBase>
class CMDIFrameWindowImpl : public CFrameWindowImpl<T, TBase> {
public:
  using FrameBase = CFrameWindowImpl<T, TBase>;
  using FrameBase::FrameBase;
  HWND CreateEx(UINT resourceId, HWND parent = nullptr, const RECT* rect = nullptr, DWORD style = kFrameStyle,
                DWORD exStyle = kFrameExStyle, void* param = nullptr) {
    CWndClassInfo& info = T::GetWndClassInfo();
    info.baseProc = &CMDIFrameWindowBase::FrameDefProc;
    return this->CreateFrameImpl(info, resourceId, parent, rect, style, exStyle, param);
  }

  BEGIN_MSG_MAP(CMDIFrameWindowImpl)
    // DefFrameProcW would stretch the client over the whole frame: the frame lays it out.
    MESSAGE_HANDLER(WM_SIZE, this->OnMDIFrameSize)
    CHAIN_MSG_MAP(FrameBase)
  END_MSG_MAP()
};

class CMDIChildWindowBase : public CWindowImplRoot {
public:
  HWND m_hWndClient = nullptr;  // the one window over the child's client area

  HWND GetMDIClient() const { return ::GetParent(m_hWnd); }
  HWND GetMDIFrame() const { return ::GetParent(GetMDIClient()); }
  void UpdateLayout();

protected:
  LRESULT OnMDIChildSize(UINT, WPARAM, LPARAM, BOOL&);
};

template <typename T, typename TBase = CMDIChildWindowBase>
class CMDIChildWindowImpl : public CWindowImpl<T, TBase> {
public:
  // A child of the MDI client `mdiClient`; a null rectangle lets the client place it.
  HWND CreateEx(HWND mdiClient, const RECT* rect = nullptr, const wchar_t* title = nullptr,
                DWORD style = kMDIChildStyle, DWORD exStyle = 0, void* param = nullptr) {
    CWndClassInfo& info = T::GetWndClassInfo();
    info.baseProc = ::DefMDIChildProcW;
    return this->CreateImpl(info, mdiClient, rect, title, style, exStyle | WS_EX_MDICHILD, nullptr, param);
  }

  BEGIN_MSG_MAP(CMDIChildWindowImpl)
    MESSAGE_HANDLER(WM_SIZE, this->OnMDIChildSize)
  END_MSG_MAP()
};

}  // namespace orv
