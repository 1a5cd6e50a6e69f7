#include "framework/WindowImpl.h"

#include <cwchar>
#include <exception>
#include <new>
#include <stdexcept>
#include <unordered_map>

#include "framework/AppModule.h"

namespace orv {

namespace {

const wchar_t kObjectProp[] = L"OrvelWindowObject";

// The object whose window is being created on this thread; taken by its first message.
thread_local CWindowImplRoot* t_creating = nullptr;

// The objects bound to this thread's windows. The window property says the same for every
// thread, but reading it is a round trip to the window server under Wine, and the window
// procedure needs it for every message.
std::unordered_map<HWND, CWindowImplRoot*>& BoundObjects() {
  thread_local std::unordered_map<HWND, CWindowImplRoot*> objects;
  return objects;
}

void SetObjectOf(HWND wnd, CWindowImplRoot* object) {
  ::SetPropW(wnd, kObjectProp, object);
  if (::GetWindowThreadProcessId(wnd, nullptr) == ::GetCurrentThreadId()) BoundObjects()[wnd] = object;
}

void ForgetObjectOf(HWND wnd) {
  ::RemovePropW(wnd, kObjectProp);
  BoundObjects().erase(wnd);
}

void EndProgramOnFatal() { ::ExitProcess(0); }

// The messages through which controls notify their parent.
bool IsNotificationMessage(UINT msg) {
  switch (msg) {
    case WM_COMMAND:
    case WM_NOTIFY:
    case WM_PARENTNOTIFY:
    case WM_DRAWITEM:
    case WM_MEASUREITEM:
    case WM_COMPAREITEM:
    case WM_DELETEITEM:
    case WM_VKEYTOITEM:
    case WM_CHARTOITEM:
    case WM_HSCROLL:
    case WM_VSCROLL:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
      return true;
    default:
      return false;
  }
}

}  // namespace

BOOL SafeProcessMessage(CMessageMap& map, HWND wnd, UINT msg, WPARAM wp, LPARAM lp, LRESULT& result, DWORD mapId) {
  try {
    return map.ProcessWindowMessage(wnd, msg, wp, lp, result, mapId);
  } catch (const std::bad_alloc&) {
    EndProgramOnFatal();
  } catch (const std::length_error&) {
    EndProgramOnFatal();
  } catch (...) {
    // Anything else: the message counts as not handled and gets its default processing.
  }
  return FALSE;
}

ATOM CWndClassInfo::Register(WNDPROC proc) {
  if (atom) return atom;
  WNDCLASSEXW cls = wc;
  cls.hInstance = g_Module.GetModuleInstance();
  if (baseClassName) {
    WNDCLASSEXW base{sizeof(base)};
    if (!::GetClassInfoExW(nullptr, baseClassName, &base) &&
        !::GetClassInfoExW(cls.hInstance, baseClassName, &base))
      return 0;
    baseProc = base.lpfnWndProc;
    const LPCWSTR ownName = cls.lpszClassName;
    cls = base;
    cls.cbSize = sizeof(cls);
    cls.hInstance = g_Module.GetModuleInstance();
    cls.lpszClassName = ownName;
    cls.style &= ~CS_GLOBALCLASS;
  }
  if (!cls.lpszClassName) {
    std::swprintf(generatedName, std::size(generatedName), L"Orvel:%p", static_cast<void*>(this));
    cls.lpszClassName = generatedName;
  }
  if (!cls.hCursor) cls.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
  cls.lpfnWndProc = proc;
  atom = ::RegisterClassExW(&cls);
  if (!atom && ::GetLastError() == ERROR_CLASS_ALREADY_EXISTS) {
    WNDCLASSEXW existing{sizeof(existing)};
    atom = static_cast<ATOM>(::GetClassInfoExW(cls.hInstance, cls.lpszClassName, &existing));
  }
  return atom;
}

CWindowImplRoot* CWindowImplRoot::FromHandle(HWND wnd) noexcept {
  const auto& objects = BoundObjects();
  const auto found = objects.find(wnd);
  if (found != objects.end()) return found->second;
  // Another thread's window, or one bound elsewhere.
  return static_cast<CWindowImplRoot*>(::GetPropW(wnd, kObjectProp));
}

void CWindowImplRoot::Unbind(HWND wnd) noexcept { ForgetObjectOf(wnd); }

void CWindowImplRoot::Bind(HWND wnd) {
  m_hWnd = wnd;
  destroyed_ = false;
  SetObjectOf(wnd, this);
}

HWND CWindowImplRoot::CreateImpl(CWndClassInfo& info, HWND parent, const RECT* rect, const wchar_t* name,
                                 DWORD style, DWORD exStyle, HMENU menuOrId, void* param) {
  if (m_hWnd) return nullptr;
  const ATOM atom = info.Register(&CWindowImplRoot::WindowProc);
  if (!atom) return nullptr;
  superProc_ = info.baseProc ? info.baseProc : ::DefWindowProcW;
  RECT rc = rect ? *rect : RECT{CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT};
  const int cx = rect ? rc.right - rc.left : CW_USEDEFAULT;
  const int cy = rect ? rc.bottom - rc.top : CW_USEDEFAULT;
  CWindowImplRoot* const previous = t_creating;
  t_creating = this;
  HWND wnd = ::CreateWindowExW(exStyle, MAKEINTATOM(atom), name, style, rc.left, rc.top, cx, cy, parent, menuOrId,
                               g_Module.GetModuleInstance(), param);
  t_creating = previous;
  // A window whose creation failed after its first message may already be unbound.
  if (!wnd) m_hWnd = nullptr;
  return wnd;
}

bool CWindowImplRoot::SubclassWindow(HWND wnd) {
  if (m_hWnd || !::IsWindow(wnd) || FromHandle(wnd)) return false;
  Bind(wnd);
  const LONG_PTR old = ::SetWindowLongPtrW(wnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CWindowImplRoot::WindowProc));
  if (!old) {
    ForgetObjectOf(wnd);
    m_hWnd = nullptr;
    return false;
  }
  superProc_ = reinterpret_cast<WNDPROC>(old);
  subclassed_ = true;
  return true;
}

HWND CWindowImplRoot::UnsubclassWindow() {
  if (!subclassed_ || !m_hWnd) return nullptr;
  HWND wnd = m_hWnd;
  ::SetWindowLongPtrW(wnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(superProc_));
  ForgetObjectOf(wnd);
  superProc_ = ::DefWindowProcW;
  subclassed_ = false;
  m_hWnd = nullptr;
  return wnd;
}

LRESULT CWindowImplRoot::DefWindowProc() {
  if (!currentMsg_) return 0;
  return DefWindowProc(currentMsg_->message, currentMsg_->wParam, currentMsg_->lParam);
}

LRESULT CWindowImplRoot::DefWindowProc(UINT msg, WPARAM wp, LPARAM lp) {
  return ::CallWindowProcW(superProc_, m_hWnd, msg, wp, lp);
}

LRESULT CWindowImplRoot::ForwardNotifications(UINT msg, WPARAM wp, LPARAM lp, BOOL& handled) {
  if (!IsNotificationMessage(msg)) {
    handled = FALSE;
    return 0;
  }
  return ::SendMessageW(::GetParent(m_hWnd), msg, wp, lp);
}

LRESULT CWindowImplRoot::ReflectNotifications(UINT msg, WPARAM wp, LPARAM lp, BOOL& handled) {
  HWND child = nullptr;
  switch (msg) {
    case WM_COMMAND:
      if (lp) child = reinterpret_cast<HWND>(lp);
      break;
    case WM_NOTIFY:
      child = reinterpret_cast<NMHDR*>(lp)->hwndFrom;
      break;
    case WM_PARENTNOTIFY:
      if (LOWORD(wp) == WM_CREATE || LOWORD(wp) == WM_DESTROY) child = reinterpret_cast<HWND>(lp);
      else child = ::GetDlgItem(m_hWnd, HIWORD(wp));
      break;
    case WM_DRAWITEM:
      if (wp) child = reinterpret_cast<DRAWITEMSTRUCT*>(lp)->hwndItem;
      break;
    case WM_MEASUREITEM:
      if (wp) child = ::GetDlgItem(m_hWnd, static_cast<int>(reinterpret_cast<MEASUREITEMSTRUCT*>(lp)->CtlID));
      break;
    case WM_COMPAREITEM:
      if (wp) child = reinterpret_cast<COMPAREITEMSTRUCT*>(lp)->hwndItem;
      break;
    case WM_DELETEITEM:
      if (wp) child = reinterpret_cast<DELETEITEMSTRUCT*>(lp)->hwndItem;
      break;
    default:
      // Scroll bars, item-key messages and colour requests carry the control in lParam.
      if (IsNotificationMessage(msg)) child = reinterpret_cast<HWND>(lp);
      break;
  }
  if (!child) {
    handled = FALSE;
    return 0;
  }
  return ::SendMessageW(child, kReflectBase + msg, wp, lp);
}

BOOL CWindowImplRoot::DefaultReflectionHandler(HWND wnd, UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
  if (msg < kReflectBase || !IsNotificationMessage(msg - kReflectBase)) return FALSE;
  result = ::DefWindowProcW(wnd, msg - kReflectBase, wp, lp);
  return TRUE;
}

BOOL CWindowImplRoot::RunMessageMap(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
  MSG current{m_hWnd, msg, wp, lp, 0, {0, 0}};
  const MSG* const outer = currentMsg_;
  currentMsg_ = &current;
  const BOOL handled = SafeProcessMessage(*this, m_hWnd, msg, wp, lp, result, 0);
  currentMsg_ = outer;
  return handled;
}

LRESULT CWindowImplRoot::Dispatch(UINT msg, WPARAM wp, LPARAM lp) {
  LRESULT result = 0;
  const HWND wnd = m_hWnd;
  const BOOL handled = RunMessageMap(msg, wp, lp, result);

  if (msg == WM_NCDESTROY) {
    if (!handled) result = ::CallWindowProcW(superProc_, wnd, msg, wp, lp);
    ForgetObjectOf(wnd);
    if (subclassed_) {
      // Put the original procedure back only when nobody subclassed the window after us.
      if (::GetWindowLongPtrW(wnd, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(&CWindowImplRoot::WindowProc))
        ::SetWindowLongPtrW(wnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(superProc_));
      subclassed_ = false;
    }
    m_hWnd = nullptr;
    destroyed_ = true;
    OnFinalMessage(wnd);
    return result;
  }
  if (!handled) result = ::CallWindowProcW(superProc_, wnd, msg, wp, lp);
  return result;
}

LRESULT CALLBACK CWindowImplRoot::WindowProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp) {
  CWindowImplRoot* self = FromHandle(wnd);
  if (!self) {
    self = t_creating;
    if (!self) return ::DefWindowProcW(wnd, msg, wp, lp);
    t_creating = nullptr;
    self->Bind(wnd);
  }
  return self->Dispatch(msg, wp, lp);
}

}  // namespace orv
