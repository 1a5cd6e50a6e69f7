#include "lists/CExplorerTreeImpl.h"

#include "lists/ShellIdList.h"

namespace {
constexpr int kNotifySources = SHCNRF_ShellLevel | SHCNRF_NewDelivery;
static_assert(kNotifySources == 0x8002);

// Releases a locked notification however the handler ends.
class NotificationLock {
public:
  explicit NotificationLock(HANDLE lock) noexcept : lock_(lock) {}
  NotificationLock(const NotificationLock&) = delete;
  NotificationLock& operator=(const NotificationLock&) = delete;
  ~NotificationLock() {
    if (lock_) ::SHChangeNotification_Unlock(lock_);
  }

private:
  HANDLE lock_;
};
}  // namespace

ULONG RegisterDesktopChangeNotify(HWND wnd) {
  ScopedIdList desktop;
  if (FAILED(::SHGetSpecialFolderLocation(wnd, CSIDL_DESKTOP, desktop.Receive())) || !desktop) return 0;
  SHChangeNotifyEntry entry{};
  entry.pidl = desktop.Get();
  entry.fRecursive = TRUE;
  return ::SHChangeNotifyRegister(wnd, kNotifySources, kShellChangeEvents, kShellChangeMessage, 1, &entry);
}

void DispatchShellChange(WPARAM wParam, LPARAM lParam, CSHChangeNotifyHandler& handler) {
  PIDLIST_ABSOLUTE* lists = nullptr;
  LONG event = 0;
  HANDLE lock = ::SHChangeNotification_Lock(reinterpret_cast<HANDLE>(wParam), static_cast<DWORD>(lParam), &lists,
                                            &event);
  if (!lock) return;
  NotificationLock release(lock);
  if (!(event & kShellChangeEvents)) return;
  const std::wstring path1 = lists ? PathOfIdList(lists[0]) : std::wstring();
  const std::wstring path2 = lists ? PathOfIdList(lists[1]) : std::wstring();
  handler.OnShellChange(event, path1, path2);
}
