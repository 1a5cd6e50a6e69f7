// Move-only owners for system handles and COM pointers.
//
// Every handle the program opens is held by one of these; a copy does not compile, a move
// leaves the source empty, and the destructor closes whatever is held. Traits name the
// close function and the sentinel values that mean "nothing held".
#pragma once

#include <windows.h>
#include <commctrl.h>
#include <unknwn.h>
#include <winspool.h>
#include <utility>

namespace orv {

template <typename Traits>
class UniqueHandle {
public:
  using Handle = typename Traits::Handle;

  UniqueHandle() noexcept = default;
  explicit UniqueHandle(Handle h) noexcept : h_(h) {}
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;
  UniqueHandle(UniqueHandle&& other) noexcept : h_(other.Release()) {}
  UniqueHandle& operator=(UniqueHandle&& other) noexcept {
    if (this != &other) Reset(other.Release());
    return *this;
  }
  ~UniqueHandle() { Reset(); }

  [[nodiscard]] bool IsValid() const noexcept { return Traits::IsValid(h_); }
  explicit operator bool() const noexcept { return IsValid(); }
  Handle Get() const noexcept { return h_; }

  // Gives up ownership without closing.
  [[nodiscard]] Handle Release() noexcept { return std::exchange(h_, Traits::Null()); }

  void Reset(Handle h = Traits::Null()) noexcept {
    if (h_ == h) return;
    if (Traits::IsValid(h_)) Traits::Close(h_);
    h_ = h;
  }

  // For functions that return a handle through a pointer; closes what was held first.
  Handle* Receive() noexcept {
    Reset();
    return &h_;
  }

private:
  Handle h_ = Traits::Null();
};

struct KernelHandleTraits {
  using Handle = HANDLE;
  static Handle Null() noexcept { return nullptr; }
  // Both sentinels: CreateFile fails with INVALID_HANDLE_VALUE, most others with null.
  static bool IsValid(Handle h) noexcept { return h != nullptr && h != INVALID_HANDLE_VALUE; }
  static void Close(Handle h) noexcept { ::CloseHandle(h); }
};

struct FindHandleTraits {
  using Handle = HANDLE;
  static Handle Null() noexcept { return INVALID_HANDLE_VALUE; }
  static bool IsValid(Handle h) noexcept { return h != nullptr && h != INVALID_HANDLE_VALUE; }
  static void Close(Handle h) noexcept { ::FindClose(h); }
};

struct RegKeyTraits {
  using Handle = HKEY;
  static Handle Null() noexcept { return nullptr; }
  static bool IsValid(Handle h) noexcept { return h != nullptr; }
  static void Close(Handle h) noexcept { ::RegCloseKey(h); }
};

struct ModuleTraits {
  using Handle = HMODULE;
  static Handle Null() noexcept { return nullptr; }
  static bool IsValid(Handle h) noexcept { return h != nullptr; }
  static void Close(Handle h) noexcept { ::FreeLibrary(h); }
};

template <typename T>
struct GdiObjectTraits {
  using Handle = T;
  static Handle Null() noexcept { return nullptr; }
  static bool IsValid(Handle h) noexcept { return h != nullptr; }
  static void Close(Handle h) noexcept { ::DeleteObject(h); }
};

// A device context this program created (CreateDC, CreateCompatibleDC).
struct CreatedDCTraits {
  using Handle = HDC;
  static Handle Null() noexcept { return nullptr; }
  static bool IsValid(Handle h) noexcept { return h != nullptr; }
  static void Close(Handle h) noexcept { ::DeleteDC(h); }
};

struct IconTraits {
  using Handle = HICON;
  static Handle Null() noexcept { return nullptr; }
  static bool IsValid(Handle h) noexcept { return h != nullptr; }
  static void Close(Handle h) noexcept { ::DestroyIcon(h); }
};

struct CursorTraits {
  using Handle = HCURSOR;
  static Handle Null() noexcept { return nullptr; }
  static bool IsValid(Handle h) noexcept { return h != nullptr; }
  static void Close(Handle h) noexcept { ::DestroyCursor(h); }
};

struct MenuTraits {
  using Handle = HMENU;
  static Handle Null() noexcept { return nullptr; }
  static bool IsValid(Handle h) noexcept { return h != nullptr; }
  static void Close(Handle h) noexcept { ::DestroyMenu(h); }
};

struct ImageListTraits {
  using Handle = HIMAGELIST;
  static Handle Null() noexcept { return nullptr; }
  static bool IsValid(Handle h) noexcept { return h != nullptr; }
  static void Close(Handle h) noexcept { ::ImageList_Destroy(h); }
};

struct HookTraits {
  using Handle = HHOOK;
  static Handle Null() noexcept { return nullptr; }
  static bool IsValid(Handle h) noexcept { return h != nullptr; }
  static void Close(Handle h) noexcept { ::UnhookWindowsHookEx(h); }
};

struct LocalMemTraits {
  using Handle = HLOCAL;
  static Handle Null() noexcept { return nullptr; }
  static bool IsValid(Handle h) noexcept { return h != nullptr; }
  static void Close(Handle h) noexcept { ::LocalFree(h); }
};

struct GlobalMemTraits {
  using Handle = HGLOBAL;
  static Handle Null() noexcept { return nullptr; }
  static bool IsValid(Handle h) noexcept { return h != nullptr; }
  static void Close(Handle h) noexcept { ::GlobalFree(h); }
};

struct PrinterTraits {
  using Handle = HANDLE;
  static Handle Null() noexcept { return nullptr; }
  static bool IsValid(Handle h) noexcept { return h != nullptr; }
  static void Close(Handle h) noexcept { ::ClosePrinter(h); }
};

using ScopedHandle = UniqueHandle<KernelHandleTraits>;
using ScopedFindHandle = UniqueHandle<FindHandleTraits>;
using ScopedKey = UniqueHandle<RegKeyTraits>;
using ScopedModule = UniqueHandle<ModuleTraits>;
using ScopedFont = UniqueHandle<GdiObjectTraits<HFONT>>;
using ScopedBitmap = UniqueHandle<GdiObjectTraits<HBITMAP>>;
using ScopedBrush = UniqueHandle<GdiObjectTraits<HBRUSH>>;
using ScopedPen = UniqueHandle<GdiObjectTraits<HPEN>>;
using ScopedRegion = UniqueHandle<GdiObjectTraits<HRGN>>;
using ScopedCreatedDC = UniqueHandle<CreatedDCTraits>;
using ScopedIcon = UniqueHandle<IconTraits>;
using ScopedCursor = UniqueHandle<CursorTraits>;
using ScopedMenu = UniqueHandle<MenuTraits>;
using ScopedLocal = UniqueHandle<LocalMemTraits>;
using ScopedImageList = UniqueHandle<ImageListTraits>;
using ScopedHook = UniqueHandle<HookTraits>;
using ScopedGlobal = UniqueHandle<GlobalMemTraits>;  // GlobalAlloc memory (DEVMODE, DEVNAMES)
using ScopedPrinter = UniqueHandle<PrinterTraits>;   // OpenPrinterW

// A device context obtained from a window with GetDC; released with ReleaseDC.
class ScopedGetDC {
public:
  explicit ScopedGetDC(HWND wnd) noexcept : wnd_(wnd), dc_(::GetDC(wnd)) {}
  ScopedGetDC(const ScopedGetDC&) = delete;
  ScopedGetDC& operator=(const ScopedGetDC&) = delete;
  ~ScopedGetDC() {
    if (dc_) ::ReleaseDC(wnd_, dc_);
  }
  HDC Get() const noexcept { return dc_; }
  explicit operator bool() const noexcept { return dc_ != nullptr; }

private:
  HWND wnd_;
  HDC dc_;
};

// BeginPaint / EndPaint around a WM_PAINT handler.
class ScopedPaint {
public:
  explicit ScopedPaint(HWND wnd) noexcept : wnd_(wnd) { dc_ = ::BeginPaint(wnd, &ps_); }
  ScopedPaint(const ScopedPaint&) = delete;
  ScopedPaint& operator=(const ScopedPaint&) = delete;
  ~ScopedPaint() { ::EndPaint(wnd_, &ps_); }
  HDC Get() const noexcept { return dc_; }
  const PAINTSTRUCT& Info() const noexcept { return ps_; }

private:
  HWND wnd_;
  HDC dc_;
  PAINTSTRUCT ps_{};
};

// Selects a GDI object into a DC and puts the previous one back.
class ScopedSelectObject {
public:
  ScopedSelectObject(HDC dc, HGDIOBJ obj) noexcept : dc_(dc), old_(obj ? ::SelectObject(dc, obj) : nullptr) {}
  ScopedSelectObject(const ScopedSelectObject&) = delete;
  ScopedSelectObject& operator=(const ScopedSelectObject&) = delete;
  ~ScopedSelectObject() {
    if (old_) ::SelectObject(dc_, old_);
  }

private:
  HDC dc_;
  HGDIOBJ old_;
};

// Shows the wait cursor for a long step on the main thread and puts the previous cursor back.
class ScopedWaitCursor {
public:
  ScopedWaitCursor() noexcept : old_(::SetCursor(::LoadCursorW(nullptr, IDC_WAIT))) {}
  ScopedWaitCursor(const ScopedWaitCursor&) = delete;
  ScopedWaitCursor& operator=(const ScopedWaitCursor&) = delete;
  ~ScopedWaitCursor() { ::SetCursor(old_); }

private:
  HCURSOR old_;
};

// Owner of one COM interface pointer.
template <typename T>
class ComPtr {
public:
  ComPtr() noexcept = default;
  ComPtr(std::nullptr_t) noexcept {}
  // Takes over a reference the caller already holds.
  static ComPtr Attach(T* p) noexcept {
    ComPtr c;
    c.p_ = p;
    return c;
  }
  ComPtr(const ComPtr&) = delete;
  ComPtr& operator=(const ComPtr&) = delete;
  ComPtr(ComPtr&& other) noexcept : p_(std::exchange(other.p_, nullptr)) {}
  ComPtr& operator=(ComPtr&& other) noexcept {
    if (this != &other) {
      Reset();
      p_ = std::exchange(other.p_, nullptr);
    }
    return *this;
  }
  ~ComPtr() { Reset(); }

  void Reset() noexcept {
    if (p_) std::exchange(p_, nullptr)->Release();
  }
  T* Get() const noexcept { return p_; }
  T* operator->() const noexcept { return p_; }
  explicit operator bool() const noexcept { return p_ != nullptr; }
  T** Receive() noexcept {
    Reset();
    return &p_;
  }
  void** ReceiveVoid() noexcept { return reinterpret_cast<void**>(Receive()); }

  template <typename U>
  HRESULT As(ComPtr<U>& out) const noexcept {
    if (!p_) return E_POINTER;
    return p_->QueryInterface(__uuidof(U), out.ReceiveVoid());
  }

  // A second owner of the same object (an explicit AddRef).
  ComPtr Share() const noexcept {
    if (p_) p_->AddRef();
    return Attach(p_);
  }

private:
  T* p_ = nullptr;
};

}  // namespace orv
