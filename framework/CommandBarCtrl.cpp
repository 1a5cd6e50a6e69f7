#include "framework/CommandBarCtrl.h"

#include <windowsx.h>

#include <mutex>
#include <vector>

#include "framework/AppModule.h"
#include "framework/Beep.h"
#include "framework/MenuPictures.h"
#include "framework/ToolbarResource.h"

namespace orv {

namespace {

constexpr UINT kFirstButtonId = 0xFE00;  // button ids never reach the frame: clicks open popups
constexpr int kMaxMenuText = 256;

// The command bar whose popup is tracked on this thread (the menu hook has no context pointer).
thread_local CCommandBarCtrl* t_tracking = nullptr;

void RegisterBarClasses() {
  static std::once_flag once;
  std::call_once(once, [] {
    INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_BAR_CLASSES | ICC_COOL_CLASSES};
    ::InitCommonControlsEx(&icc);
  });
}

bool KeyIsDown(int vk) { return (::GetKeyState(vk) & 0x8000) != 0; }

}  // namespace

CCommandBarCtrl::CCommandBarCtrl() { RegisterBarClasses(); }

CCommandBarCtrl::~CCommandBarCtrl() {
  if (m_hWnd) ::DestroyWindow(m_hWnd);
}

HWND CCommandBarCtrl::Create(HWND frame, const RECT* rect, DWORD style, UINT id) {
  frame_ = frame;
  return CWindowImpl<CCommandBarCtrl>::Create(frame, rect, nullptr, style, 0, id);
}

LRESULT CCommandBarCtrl::OnCreate(UINT, WPARAM, LPARAM, BOOL& handled) {
  handled = FALSE;  // the toolbar sets itself up first
  const LRESULT result = DefWindowProc();
  if (result == -1) return result;
  ::SendMessageW(m_hWnd, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
  ::SendMessageW(m_hWnd, TB_SETBITMAPSIZE, 0, MAKELPARAM(0, 0));
  ::SendMessageW(m_hWnd, TB_SETEXTENDEDSTYLE, 0, TBSTYLE_EX_MIXEDBUTTONS);
  if (CMessageLoop* loop = g_Module.GetMessageLoop()) {
    loop->AddMessageFilter(this);
    filterAdded_ = true;
  }
  handled = TRUE;
  return result;
}

LRESULT CCommandBarCtrl::OnDestroy(UINT, WPARAM, LPARAM, BOOL& handled) {
  if (filterAdded_) {
    if (CMessageLoop* loop = g_Module.GetMessageLoop()) loop->RemoveMessageFilter(this);
    filterAdded_ = false;
  }
  keyboardMode_ = false;
  handled = FALSE;
  return 0;
}

bool CCommandBarCtrl::AttachMenu(HMENU menu) {
  if (!m_hWnd) return false;
  menu_.Reset(menu);
  RebuildButtons();
  return true;
}

HMENU CCommandBarCtrl::DetachMenu() {
  if (m_hWnd) RemoveButtons();
  return menu_.Release();
}

int CCommandBarCtrl::ButtonCount() const {
  return m_hWnd ? static_cast<int>(::SendMessageW(m_hWnd, TB_BUTTONCOUNT, 0, 0)) : 0;
}

void CCommandBarCtrl::RemoveButtons() {
  for (int i = ButtonCount(); i > 0; --i) ::SendMessageW(m_hWnd, TB_DELETEBUTTON, static_cast<WPARAM>(i - 1), 0);
}

void CCommandBarCtrl::RebuildButtons() {
  RemoveButtons();
  if (!menu_) return;
  const int count = ::GetMenuItemCount(menu_.Get());
  std::vector<std::wstring> texts;
  std::vector<BYTE> states;
  for (int i = 0; i < count; ++i) {
    wchar_t text[kMaxMenuText]{};
    MENUITEMINFOW mii{sizeof(mii)};
    mii.fMask = MIIM_STRING | MIIM_STATE;
    mii.dwTypeData = text;
    mii.cch = kMaxMenuText;
    if (!::GetMenuItemInfoW(menu_.Get(), static_cast<UINT>(i), TRUE, &mii)) text[0] = 0;
    texts.emplace_back(text);
    states.push_back((mii.fState & MFS_DISABLED) ? 0 : TBSTATE_ENABLED);
  }
  // The toolbar takes the strings as one double-null-terminated list.
  texts_.clear();
  for (const std::wstring& t : texts) {
    texts_ += t.empty() ? L" " : t;
    texts_.push_back(L'\0');
  }
  texts_.push_back(L'\0');
  const LRESULT firstString = ::SendMessageW(m_hWnd, TB_ADDSTRINGW, 0, reinterpret_cast<LPARAM>(texts_.c_str()));
  std::vector<TBBUTTON> buttons;
  for (int i = 0; i < count; ++i) {
    TBBUTTON b{};
    b.iBitmap = I_IMAGENONE;
    b.idCommand = static_cast<int>(kFirstButtonId + i);
    b.fsState = states[static_cast<size_t>(i)];
    b.fsStyle = BTNS_BUTTON | BTNS_AUTOSIZE | BTNS_SHOWTEXT;
    b.iString = firstString < 0 ? -1 : firstString + i;
    buttons.push_back(b);
  }
  if (!buttons.empty())
    ::SendMessageW(m_hWnd, TB_ADDBUTTONSW, buttons.size(), reinterpret_cast<LPARAM>(buttons.data()));
  ::SendMessageW(m_hWnd, TB_AUTOSIZE, 0, 0);
}

bool CCommandBarCtrl::LoadImages(UINT resourceId) {
  const HINSTANCE res = g_Module.GetResourceInstance();
  const std::optional<ToolbarResource> data = LoadToolbarResource(res, resourceId);
  if (!data) return false;
  ScopedImageList list = LoadToolbarImageList(res, resourceId, data->ImageWidth, data->ImageHeight);
  if (!list) return false;
  std::vector<WORD> commands;
  for (WORD id : data->Items)
    if (id) commands.push_back(id);
  return SetImages(std::move(list), commands.data(), commands.size());
}

bool CCommandBarCtrl::SetImages(ScopedImageList images, const WORD* commands, size_t count) {
  if (!images) return false;
  images_ = std::move(images);
  imageOf_.clear();
  itemBitmaps_.clear();
  const int available = ::ImageList_GetImageCount(images_.Get());
  for (size_t i = 0; i < count && static_cast<int>(i) < available; ++i)
    imageOf_.emplace(commands[i], static_cast<int>(i));
  return true;
}

bool CCommandBarCtrl::SetImages(ScopedImageList images, const std::vector<std::pair<UINT, int>>& imageOf) {
  if (!images) return false;
  images_ = std::move(images);
  imageOf_.clear();
  itemBitmaps_.clear();
  const int available = ::ImageList_GetImageCount(images_.Get());
  for (const auto& [command, image] : imageOf)
    if (image >= 0 && image < available) imageOf_.emplace(command, image);
  return true;
}

int CCommandBarCtrl::ImageOf(UINT command) const {
  auto it = imageOf_.find(command);
  return it == imageOf_.end() ? -1 : it->second;
}

HBITMAP CCommandBarCtrl::ItemBitmap(UINT command) {
  auto found = itemBitmaps_.find(command);
  if (found != itemBitmaps_.end()) return found->second.Get();
  const int image = ImageOf(command);
  if (image < 0) return nullptr;
  ScopedBitmap bitmap = MakeMenuPicture(images_.Get(), image);
  if (!bitmap) return nullptr;
  HBITMAP result = bitmap.Get();
  itemBitmaps_.emplace(command, std::move(bitmap));
  return result;
}

int CCommandBarCtrl::GetHotItem() const {
  return m_hWnd ? static_cast<int>(::SendMessageW(m_hWnd, TB_GETHOTITEM, 0, 0)) : -1;
}

void CCommandBarCtrl::SetHotItem(int index) const { ::SendMessageW(m_hWnd, TB_SETHOTITEM, static_cast<WPARAM>(index), 0); }

int CCommandBarCtrl::NextEnabled(int from, int step) const {
  const int count = ButtonCount();
  if (count == 0) return -1;
  int i = from;
  for (int n = 0; n < count; ++n) {
    i = ((i + step) % count + count) % count;
    TBBUTTON b{};
    if (::SendMessageW(m_hWnd, TB_GETBUTTON, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&b)) &&
        (b.fsState & TBSTATE_ENABLED) && !(b.fsState & TBSTATE_HIDDEN))
      return i;
  }
  return -1;
}

int CCommandBarCtrl::FindMnemonic(wchar_t ch) const {
  if (!menu_ || !ch) return -1;
  const int count = ::GetMenuItemCount(menu_.Get());
  for (int i = 0; i < count; ++i) {
    wchar_t text[kMaxMenuText]{};
    if (::GetMenuStringW(menu_.Get(), static_cast<UINT>(i), text, kMaxMenuText, MF_BYPOSITION) <= 0) continue;
    for (const wchar_t* p = text; *p; ++p) {
      if (*p != L'&') continue;
      if (p[1] == L'&') {  // an escaped ampersand
        ++p;
        continue;
      }
      if (p[1] && ::CompareStringOrdinal(p + 1, 1, &ch, 1, TRUE) == CSTR_EQUAL) {
        if (::GetMenuState(menu_.Get(), static_cast<UINT>(i), MF_BYPOSITION) & (MF_GRAYED | MF_DISABLED)) return -1;
        return i;
      }
      break;
    }
  }
  return -1;
}

int CCommandBarCtrl::ButtonFromScreenPoint(POINT pt) const {
  if (::WindowFromPoint(pt) != m_hWnd) return -1;
  ::ScreenToClient(m_hWnd, &pt);
  const int index = static_cast<int>(::SendMessageW(m_hWnd, TB_HITTEST, 0, reinterpret_cast<LPARAM>(&pt)));
  return index >= 0 && index < ButtonCount() ? index : -1;
}

void CCommandBarCtrl::EnterKeyboardMode() {
  const int first = NextEnabled(-1, 1);
  if (first < 0) return;
  keyboardMode_ = true;
  SetHotItem(first);
}

void CCommandBarCtrl::LeaveKeyboardMode() {
  if (!keyboardMode_) return;
  keyboardMode_ = false;
  if (m_hWnd) SetHotItem(-1);
}

bool CCommandBarCtrl::IsOurFrameMessage(const MSG& msg) const {
  if (!m_hWnd || !frame_ || !msg.hwnd) return false;
  return msg.hwnd == frame_ || ::IsChild(frame_, msg.hwnd);
}

bool CCommandBarCtrl::PreTranslateMessage(MSG* msg) {
  if (!IsOurFrameMessage(*msg) || !menu_) return false;
  const UINT m = msg->message;
  const WPARAM key = msg->wParam;

  // Mouse presses anywhere end the keyboard access; the press itself goes on.
  if (keyboardMode_ && (m == WM_LBUTTONDOWN || m == WM_RBUTTONDOWN || m == WM_MBUTTONDOWN || m == WM_NCLBUTTONDOWN)) {
    LeaveKeyboardMode();
    return false;
  }

  if (m == WM_SYSKEYDOWN) {
    if (key == VK_MENU) {
      if (!(msg->lParam & 0x40000000)) altAlone_ = true;  // first press, not a repeat
      return true;
    }
    altAlone_ = false;
    if (key == VK_F10 && !KeyIsDown(VK_SHIFT)) {
      if (keyboardMode_) LeaveKeyboardMode();
      else EnterKeyboardMode();
      return true;
    }
    if (keyboardMode_) LeaveKeyboardMode();
    return false;
  }
  if (m == WM_SYSKEYUP) {
    if (key == VK_MENU) {
      if (altAlone_) {
        if (keyboardMode_) LeaveKeyboardMode();
        else EnterKeyboardMode();
      }
      altAlone_ = false;
      return true;
    }
    return key == VK_F10;
  }
  if (m == WM_SYSCHAR) {
    const int index = FindMnemonic(static_cast<wchar_t>(key));
    if (index < 0) return false;
    LeaveKeyboardMode();
    OpenPopup(index, true);
    return true;
  }
  if (!keyboardMode_) return false;

  if (m == WM_KEYDOWN) {
    const int hot = GetHotItem();
    switch (key) {
      case VK_LEFT:
      case VK_RIGHT: {
        const int next = NextEnabled(hot < 0 ? 0 : hot, key == VK_LEFT ? -1 : 1);
        if (next >= 0) SetHotItem(next);
        return true;
      }
      case VK_RETURN:
      case VK_DOWN:
      case VK_UP:
        if (hot >= 0) {
          keyboardMode_ = false;
          OpenPopup(hot, true);
        }
        return true;
      case VK_ESCAPE:
        LeaveKeyboardMode();
        return true;
      default:
        // Letters arrive as WM_CHAR next; any other key leaves the menu bar.
        if ((key >= 'A' && key <= 'Z') || (key >= '0' && key <= '9')) return false;
        LeaveKeyboardMode();
        return false;
    }
  }
  if (m == WM_CHAR) {
    const int index = FindMnemonic(static_cast<wchar_t>(key));
    if (index < 0) {
      seams::Beep();
      return true;
    }
    keyboardMode_ = false;
    OpenPopup(index, true);
    return true;
  }
  if (m == WM_KEYUP) return true;
  return false;
}

LRESULT CCommandBarCtrl::OnLButtonDown(UINT, WPARAM, LPARAM lParam, BOOL& handled) {
  POINT pt{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
  const int index = static_cast<int>(::SendMessageW(m_hWnd, TB_HITTEST, 0, reinterpret_cast<LPARAM>(&pt)));
  if (index < 0 || index >= ButtonCount()) {
    handled = FALSE;
    return 0;
  }
  LeaveKeyboardMode();
  OpenPopup(index, false);
  return 0;
}

void CCommandBarCtrl::OpenPopup(int index, bool fromKeyboard) {
  if (!menu_ || t_tracking) return;
  t_tracking = this;
  hook_.Reset(::SetWindowsHookExW(WH_MSGFILTER, &CCommandBarCtrl::MenuFilterHook, nullptr, ::GetCurrentThreadId()));
  int current = index;
  bool keyboard = fromKeyboard;
  while (current >= 0 && current < ButtonCount()) {
    HMENU popup = ::GetSubMenu(menu_.Get(), current);
    if (!popup) break;
    const UINT buttonId = kFirstButtonId + static_cast<UINT>(current);
    RECT rc{};
    ::SendMessageW(m_hWnd, TB_GETITEMRECT, static_cast<WPARAM>(current), reinterpret_cast<LPARAM>(&rc));
    ::MapWindowPoints(m_hWnd, nullptr, reinterpret_cast<POINT*>(&rc), 2);
    ::SendMessageW(m_hWnd, TB_PRESSBUTTON, buttonId, TRUE);
    openIndex_ = current;
    openPopup_ = popup;
    selectedMenu_ = nullptr;
    selectedFlags_ = 0;
    nextIndex_ = -1;
    ::GetCursorPos(&lastMouse_);
    // From the keyboard the first item is highlighted, as in a real menu bar.
    if (keyboard) ::PostMessageW(m_hWnd, WM_KEYDOWN, VK_DOWN, 0);
    TPMPARAMS params{sizeof(params), rc};
    ::TrackPopupMenuEx(popup, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_VERTICAL | TPM_LEFTBUTTON, rc.left, rc.bottom,
                       m_hWnd, &params);
    if (::IsWindow(m_hWnd)) ::SendMessageW(m_hWnd, TB_PRESSBUTTON, buttonId, FALSE);
    openIndex_ = -1;
    openPopup_ = nullptr;
    if (!::IsWindow(m_hWnd)) break;
    current = nextIndex_;
    keyboard = nextFromKeyboard_;
  }
  hook_.Reset();
  t_tracking = nullptr;
}

LRESULT CALLBACK CCommandBarCtrl::MenuFilterHook(int code, WPARAM wParam, LPARAM lParam) {
  CCommandBarCtrl* self = t_tracking;
  if (code == MSGF_MENU && self && lParam && self->OnMenuMessage(*reinterpret_cast<MSG*>(lParam))) return 1;
  return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

bool CCommandBarCtrl::OnMenuMessage(const MSG& msg) {
  if (openIndex_ < 0) return false;
  auto moveTo = [&](int index, bool keyboard) {
    nextIndex_ = index;
    nextFromKeyboard_ = keyboard;
    ::EndMenu();
  };
  switch (msg.message) {
    case WM_KEYDOWN:
      if (msg.wParam == VK_LEFT && (selectedMenu_ == nullptr || selectedMenu_ == openPopup_)) {
        const int prev = NextEnabled(openIndex_, -1);
        if (prev >= 0 && prev != openIndex_) moveTo(prev, true);
        return prev >= 0;
      }
      if (msg.wParam == VK_RIGHT && !(selectedFlags_ & MF_POPUP)) {
        const int next = NextEnabled(openIndex_, 1);
        if (next >= 0 && next != openIndex_) moveTo(next, true);
        return next >= 0;
      }
      return false;
    case WM_MOUSEMOVE: {
      POINT pt{GET_X_LPARAM(msg.lParam), GET_Y_LPARAM(msg.lParam)};
      if (msg.hwnd) ::ClientToScreen(msg.hwnd, &pt);
      if (pt.x == lastMouse_.x && pt.y == lastMouse_.y) return false;
      lastMouse_ = pt;
      const int over = ButtonFromScreenPoint(pt);
      if (over >= 0 && over != openIndex_) {
        TBBUTTON b{};
        ::SendMessageW(m_hWnd, TB_GETBUTTON, static_cast<WPARAM>(over), reinterpret_cast<LPARAM>(&b));
        if (b.fsState & TBSTATE_ENABLED) {
          moveTo(over, false);
          return true;
        }
      }
      return false;
    }
    case WM_LBUTTONDOWN: {
      // A press on the open menu's own button closes it (and nothing opens again).
      POINT pt{GET_X_LPARAM(msg.lParam), GET_Y_LPARAM(msg.lParam)};
      if (msg.hwnd) ::ClientToScreen(msg.hwnd, &pt);
      if (ButtonFromScreenPoint(pt) == openIndex_) {
        nextIndex_ = -1;
        ::EndMenu();
        return true;
      }
      return false;
    }
    default:
      return false;
  }
}

LRESULT CCommandBarCtrl::OnInitMenuPopup(UINT msg, WPARAM wParam, LPARAM lParam, BOOL&) {
  // The frame sets the items' states (and may add items) first; then every item gets its picture.
  const LRESULT result = frame_ ? ::SendMessageW(frame_, msg, wParam, lParam) : 0;
  HMENU popup = reinterpret_cast<HMENU>(wParam);
  if (images_ && !HIWORD(lParam)) {
    const int count = ::GetMenuItemCount(popup);
    for (int i = 0; i < count; ++i) {
      MENUITEMINFOW mii{sizeof(mii)};
      mii.fMask = MIIM_ID | MIIM_SUBMENU | MIIM_FTYPE | MIIM_BITMAP;
      if (!::GetMenuItemInfoW(popup, static_cast<UINT>(i), TRUE, &mii) || mii.hSubMenu || (mii.fType & MFT_SEPARATOR))
        continue;
      if (mii.hbmpItem) continue;  // a picture of its own, or arranged before
      if (HBITMAP bmp = ItemBitmap(mii.wID)) {
        MENUITEMINFOW set{sizeof(set)};
        set.fMask = MIIM_BITMAP;
        set.hbmpItem = bmp;
        ::SetMenuItemInfoW(popup, static_cast<UINT>(i), TRUE, &set);
      }
    }
    ArrangeMenuPictures(popup);
  }
  return result;
}

LRESULT CCommandBarCtrl::OnMenuSelect(UINT msg, WPARAM wParam, LPARAM lParam, BOOL&) {
  selectedMenu_ = reinterpret_cast<HMENU>(lParam);
  selectedFlags_ = HIWORD(wParam) == 0xFFFF ? 0 : HIWORD(wParam);
  return frame_ ? ::SendMessageW(frame_, msg, wParam, lParam) : 0;
}

LRESULT CCommandBarCtrl::OnMenuPicture(UINT msg, WPARAM wParam, LPARAM lParam, BOOL& handled) {
  LRESULT result = 0;
  if (HandleMenuPictureMessage(msg, wParam, lParam, result)) return result;
  return OnForward(msg, wParam, lParam, handled);
}

LRESULT CCommandBarCtrl::OnForward(UINT msg, WPARAM wParam, LPARAM lParam, BOOL& handled) {
  // Commands of the toolbar's own buttons would carry our private ids: those never leave.
  if (msg == WM_COMMAND && lParam == reinterpret_cast<LPARAM>(m_hWnd)) return 0;
  if (!frame_) {
    handled = FALSE;
    return 0;
  }
  return ::SendMessageW(frame_, msg, wParam, lParam);
}

}  // namespace orv
