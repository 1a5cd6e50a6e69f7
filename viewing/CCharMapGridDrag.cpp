// Dragging a character out of the grid as text.
#include "viewing/CCharMapGrid.h"

#include <ole2.h>
#include <windowsx.h>

#include <cstdlib>
#include <optional>

#include "viewing/CDropDataObj.h"
#include "viewing/IDropSourceImpl.h"

orv::ComPtr<IDataObject> CCharMapGrid::CreateDragData() const {
  if (dropChar_ == 0) return {};
  IDataObject* data = new CDropDataObj(CodePointText(dropChar_));
  data->AddRef();
  return orv::ComPtr<IDataObject>::Attach(data);
}

void CCharMapGrid::StartCharDrag(UINT keys, POINT pt) {
  if (!font_.installed || dropChar_ == 0) return;
  orv::ComPtr<IDataObject> data = CreateDragData();
  auto* rawSource = new IDropSourceImpl;
  rawSource->AddRef();
  auto source = orv::ComPtr<IDropSource>::Attach(rawSource);
  DWORD buttons = 0;
  if (keys & MK_LBUTTON) buttons |= IDropSourceImpl::kLeftButton;
  if (keys & MK_RBUTTON) buttons |= IDropSourceImpl::kRightButton;
  rawSource->SetStartButtons(buttons);
  if (!DetectDragGesture(pt)) return;
  dragging_ = true;
  // OLE's drag and drop needs OLE on this thread, not only COM (counted: harmless when on).
  const HRESULT ole = ::OleInitialize(nullptr);
  DWORD effect = DROPEFFECT_NONE;
  // The result does not matter: a refused or cancelled drop needs no message.
  (void)::DoDragDrop(data.Get(), source.Get(), DROPEFFECT_COPY, &effect);
  if (SUCCEEDED(ole)) ::OleUninitialize();
  dragging_ = false;
  ResetHover(true);
}

// Watches the mouse from a press at `start` (client coordinates) with the capture held: true
// once it moved more than kDragDistance pixels or kDragDelayMs passed; false when a button was
// pressed or released, Esc was pressed or the capture was lost first. Only mouse and key
// messages are taken from the queue meanwhile: nothing else runs that could close the grid
// under the press.
bool CCharMapGrid::DetectDragGesture(POINT start) {
  ::SetCapture(m_hWnd);
  const ULONGLONG began = ::GetTickCount64();
  std::optional<bool> decided;
  while (!decided) {
    MSG msg;
    if (::PeekMessageW(&msg, nullptr, WM_MOUSEFIRST, WM_MOUSELAST, PM_REMOVE) ||
        ::PeekMessageW(&msg, nullptr, WM_KEYFIRST, WM_KEYLAST, PM_REMOVE)) {
      switch (msg.message) {
        case WM_MOUSEMOVE:
          if (msg.hwnd == m_hWnd) {
            const POINT at{GET_X_LPARAM(msg.lParam), GET_Y_LPARAM(msg.lParam)};
            if (std::abs(at.x - start.x) > kDragDistance || std::abs(at.y - start.y) > kDragDistance) decided = true;
          }
          break;
        case WM_LBUTTONDOWN:
        case WM_LBUTTONUP:
        case WM_RBUTTONDOWN:
        case WM_RBUTTONUP:
          decided = false;
          break;
        case WM_KEYDOWN:
          if (msg.wParam == VK_ESCAPE) {
            decided = false;
            break;
          }
          [[fallthrough]];
        default:
          ::TranslateMessage(&msg);
          ::DispatchMessageW(&msg);
          break;
      }
      continue;
    }
    if (::GetCapture() != m_hWnd) {
      decided = false;
      break;
    }
    const ULONGLONG elapsed = ::GetTickCount64() - began;
    if (elapsed > kDragDelayMs) {
      decided = true;
      break;
    }
    ::MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(kDragDelayMs + 1 - elapsed),
                                QS_MOUSE | QS_KEY);
  }
  if (::GetCapture() == m_hWnd) ::ReleaseCapture();
  return *decided;
}
