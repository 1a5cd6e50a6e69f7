// CWindowImpl<T>: a window class of our own, bound to a C++ object.
//
// The framework binds an HWND to its object through a window property, for windows it creates
// (registered classes and superclasses of system classes) and for windows it subclasses.
// Messages go to T::ProcessWindowMessage; what no map handles goes to the class's original
// procedure (DefWindowProcW, the superclass's or the subclassed window's). No exception leaves
// the window procedure. After WM_NCDESTROY the object is unbound and OnFinalMessage runs, where
// an object that deletes itself may do so.
#pragma once

#include <windows.h>

#include "framework/MessageMap.h"
#include "framework/Window.h"

namespace orv {

// What a window class of ours registers: the class data, and for a superclass the system
// class it is built on.
struct CWndClassInfo {
  WNDCLASSEXW wc;
  const wchar_t* baseClassName;  // superclassed system class, or null
  ATOM atom;
  WNDPROC baseProc;              // the base class's procedure (superclass) or null
  wchar_t generatedName[40];

  ATOM Register(WNDPROC proc);
};

class CWindowImplRoot : public CWindow, public CMessageMap {
public:
  CWindowImplRoot() = default;
  CWindowImplRoot(const CWindowImplRoot&) = delete;
  CWindowImplRoot& operator=(const CWindowImplRoot&) = delete;

  // The message being processed (valid inside a handler).
  const MSG* GetCurrentMessage() const noexcept { return currentMsg_; }

  // Default processing of the current message by the original procedure.
  LRESULT DefWindowProc();
  LRESULT DefWindowProc(UINT msg, WPARAM wp, LPARAM lp);

  // Message-map helpers for forwarded and reflected notifications.
  LRESULT ForwardNotifications(UINT msg, WPARAM wp, LPARAM lp, BOOL& handled);
  LRESULT ReflectNotifications(UINT msg, WPARAM wp, LPARAM lp, BOOL& handled);
  static BOOL DefaultReflectionHandler(HWND wnd, UINT msg, WPARAM wp, LPARAM lp, LRESULT& result);

  // Binds an existing window (a dialog control, say) to this object.
  bool SubclassWindow(HWND wnd);
  HWND UnsubclassWindow();

  // The object bound to a window, or null.
  static CWindowImplRoot* FromHandle(HWND wnd) noexcept;

  virtual void OnFinalMessage(HWND) {}

  // The procedure that gets what the maps leave: the superclassed or subclassed one, or DefWindowProcW.
  WNDPROC GetSuperWindowProc() const noexcept { return superProc_; }

protected:
  virtual ~CWindowImplRoot() = default;

  static LRESULT CALLBACK WindowProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp);
  HWND CreateImpl(CWndClassInfo& info, HWND parent, const RECT* rect, const wchar_t* name, DWORD style,
                  DWORD exStyle, HMENU menuOrId, void* param);

  WNDPROC superProc_ = ::DefWindowProcW;

private:
  friend class CDialogImplRoot;
  LRESULT Dispatch(UINT msg, WPARAM wp, LPARAM lp);
  // Runs this object's message map with the current message recorded and the exception barrier.
  BOOL RunMessageMap(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result);
  void Bind(HWND wnd);
  static void Unbind(HWND wnd) noexcept;

  const MSG* currentMsg_ = nullptr;
  bool subclassed_ = false;
  bool destroyed_ = false;
};

// Runs a message map with the framework's exception barrier. Bad allocations and invalid
// lengths end the program; any other exception counts as an unhandled message.
BOOL SafeProcessMessage(CMessageMap& map, HWND wnd, UINT msg, WPARAM wp, LPARAM lp, LRESULT& result, DWORD mapId = 0);

// The window class a CWindowImpl<T> registers. Use one of these in T:
//   DECLARE_WND_CLASS(L"Name")                 own class, default style and background
//   DECLARE_WND_CLASS_EX(L"Name", style, bk)   own class with class style and background colour index
//   DECLARE_WND_SUPERCLASS(L"Name", WC_LISTVIEWW)
#define DECLARE_WND_CLASS(name) DECLARE_WND_CLASS_EX(name, CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS, COLOR_WINDOW)

#define DECLARE_WND_CLASS_EX(name, classStyle, background)                                              \
  static ::orv::CWndClassInfo& GetWndClassInfo() {                                                       \
    static ::orv::CWndClassInfo info = {                                                                 \
        {sizeof(WNDCLASSEXW), static_cast<UINT>(classStyle), nullptr, 0, 0, nullptr, nullptr, nullptr,  \
         reinterpret_cast<HBRUSH>(static_cast<INT_PTR>((background) + 1)), nullptr, name, nullptr},      \
        nullptr, 0, nullptr, {}};                                                                        \
    return info;                                                                                         \
  }

#define DECLARE_WND_SUPERCLASS(name, baseName)                                               \
  static ::orv::CWndClassInfo& GetWndClassInfo() {                                            \
    static ::orv::CWndClassInfo info = {                                                      \
        {sizeof(WNDCLASSEXW), 0, nullptr, 0, 0, nullptr, nullptr, nullptr, nullptr, nullptr, \
         name, nullptr},                                                                      \
        baseName, 0, nullptr, {}};                                                            \
    return info;                                                                              \
  }

template <typename T, typename TBase = CWindowImplRoot>
class CWindowImpl : public TBase {
public:
  using TBase::TBase;
  DECLARE_WND_CLASS(nullptr)

  HWND Create(HWND parent, const RECT* rect = nullptr, const wchar_t* name = nullptr, DWORD style = 0,
              DWORD exStyle = 0, UINT_PTR menuOrId = 0, void* param = nullptr) {
    CWndClassInfo& info = T::GetWndClassInfo();
    if (style == 0) style = T::GetDefaultStyle(parent);
    return this->CreateImpl(info, parent, rect, name, style, exStyle, reinterpret_cast<HMENU>(menuOrId), param);
  }

  // Child windows by default; a top-level class overrides this.
  static DWORD GetDefaultStyle(HWND parent) {
    return parent ? (WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS) : WS_OVERLAPPEDWINDOW;
  }
};

}  // namespace orv
