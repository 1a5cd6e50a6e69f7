#include "framework/MessageLoop.h"

#include <algorithm>

namespace orv {

namespace {
constexpr UINT kSystemCaretTimer = 0x0118;

template <typename T>
void RemoveOne(std::vector<T*>& v, T* item) {
  auto it = std::find(v.begin(), v.end(), item);
  if (it != v.end()) v.erase(it);
}
}  // namespace

void CMessageLoop::AddMessageFilter(CMessageFilter* filter) { filters_.push_back(filter); }
void CMessageLoop::RemoveMessageFilter(CMessageFilter* filter) { RemoveOne(filters_, filter); }
void CMessageLoop::AddIdleHandler(CIdleHandler* handler) { idleHandlers_.push_back(handler); }
void CMessageLoop::RemoveIdleHandler(CIdleHandler* handler) { RemoveOne(idleHandlers_, handler); }

bool CMessageLoop::IsIdleMessage(const MSG& msg) {
  switch (msg.message) {
    case WM_MOUSEMOVE:
    case WM_NCMOUSEMOVE:
    case WM_PAINT:
    case kSystemCaretTimer:
      return false;
    default:
      return true;
  }
}

bool CMessageLoop::PreTranslateMessage(MSG* msg) {
  // A filter may remove itself while it runs: walk a copy, newest first.
  const std::vector<CMessageFilter*> filters = filters_;
  for (auto it = filters.rbegin(); it != filters.rend(); ++it) {
    if ((*it)->PreTranslateMessage(msg)) return true;
  }
  return false;
}

bool CMessageLoop::OnIdle(int) {
  const std::vector<CIdleHandler*> handlers = idleHandlers_;
  for (CIdleHandler* handler : handlers) {
    if (std::find(idleHandlers_.begin(), idleHandlers_.end(), handler) != idleHandlers_.end())
      handler->OnIdle();
  }
  // One call per idle phase: the loop never asks for more idle work.
  return false;
}

int CMessageLoop::Run() {
  bool doIdle = true;
  int idleCount = 0;
  MSG msg{};
  for (;;) {
    while (doIdle && !::PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
      if (!OnIdle(idleCount++)) doIdle = false;
    }
    const BOOL got = ::GetMessageW(&msg, nullptr, 0, 0);
    if (got == -1) continue;
    if (!got) break;
    if (!PreTranslateMessage(&msg)) {
      ::TranslateMessage(&msg);
      ::DispatchMessageW(&msg);
    }
    if (IsIdleMessage(msg)) {
      doIdle = true;
      idleCount = 0;
    }
  }
  return static_cast<int>(msg.wParam);
}

}  // namespace orv
