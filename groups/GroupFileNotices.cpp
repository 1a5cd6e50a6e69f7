#include "groups/GroupFileNotices.h"

#include <algorithm>
#include <atomic>
#include <mutex>
#include <set>
#include <tuple>
#include <utility>
#include <vector>

#include "common/AppMessageBox.h"
#include "common/AppShell.h"
#include "common/ResString.h"
#include "common/ResourceIds.h"
#include "common/StringHelpers.h"

namespace {

// A box names at most this many files; the group checks list them all.
constexpr size_t kListedFilesMax = 40;
constexpr wchar_t kMoreFiles[] = L"\x2026";
constexpr wchar_t kReasonSeparator[] = L": ";

// One state of one file: told once.
using FileState = std::tuple<std::wstring, ULONGLONG, ULONGLONG, ULONGLONG, DWORD>;

struct Pending {
  DWORD error;
  std::wstring file;
};

std::mutex g_lock;
std::set<FileState> g_told;
std::vector<Pending> g_pending;
// The window to wake and the thread it belongs to, set on that thread.
std::atomic<HWND> g_noticeWindow{nullptr};
std::atomic<DWORD> g_noticeThread{0};

ULONGLONG Join(const FILETIME& time) { return (ULONGLONG{time.dwHighDateTime} << 32) | time.dwLowDateTime; }

FileState StateOf(const std::wstring& path, DWORD error) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!::GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) data = {};
  const ULONGLONG size = (ULONGLONG{data.nFileSizeHigh} << 32) | data.nFileSizeLow;
  return {FoldCase(path), Join(data.ftCreationTime), Join(data.ftLastWriteTime), size, error};
}

// Queues one notice; a report from another thread wakes the main window's idle pass.
void Queue(DWORD error, const std::wstring& file) {
  {
    std::lock_guard<std::mutex> lock(g_lock);
    for (const Pending& p : g_pending)
      if (p.error == error && EqualsNoCase(p.file, file)) return;
    g_pending.push_back({error, file});
  }
  // A report from another thread wakes the thread that shows the queue; no window is read.
  HWND wake = g_noticeWindow.load();
  if (wake && g_noticeThread.load() != ::GetCurrentThreadId()) ::PostMessageW(wake, WM_NULL, 0, 0);
}

std::wstring ErrorText(DWORD error) {
  wchar_t* buffer = nullptr;
  const DWORD n = ::FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                                   nullptr, error, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
  std::wstring text = n && buffer ? std::wstring(buffer, n) : std::wstring();
  if (buffer) ::LocalFree(buffer);
  while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r' || text.back() == L' ' || text.back() == L'.'))
    text.pop_back();
  return text;
}

void ShowBox(HWND owner, DWORD error, const std::wstring& files) {
  AppMessageBox(owner, MB_ICONHAND, IDS_GROUPS_CAPTION, IDS_GROUP_FILE_FAILED, error, files.c_str());
}

}  // namespace

void ReportUnreadableGroupFile(const std::wstring& path, const std::wstring& file, DWORD error) {
  {
    std::lock_guard<std::mutex> lock(g_lock);
    if (!g_told.insert(StateOf(path, error)).second) return;
  }
  Queue(error, file);
}

void ReportRefusedGroupChange(const std::wstring& file) { Queue(ERROR_FILE_CORRUPT, file); }

void ReportGroupFileWriteError(DWORD error, const std::wstring& file) { Queue(error, file); }

void SetGroupFileNoticeWindow(HWND window) {
  g_noticeThread = window ? ::GetCurrentThreadId() : 0;
  g_noticeWindow = window;
}

std::wstring DescribeDamagedGroupFile(const std::wstring& file) {
  return file + kReasonSeparator + LoadResString(IDS_GROUP_FILE_FAILED) + L' ' + ErrorText(ERROR_FILE_CORRUPT);
}

bool FlushGroupFileNotices(HWND owner) {
  // A main window on its way out shows nothing more: a box owned by a window being destroyed
  // would outlive it in a message loop that nobody ends.
  HWND main = GetAppShell().MainWindow;
  if (main && !::IsWindow(main)) return false;
  std::vector<Pending> pending;
  {
    // Taken out first: what the box's own message loop finds waits for the next pass.
    std::lock_guard<std::mutex> lock(g_lock);
    pending = std::exchange(g_pending, {});
  }
  if (pending.empty()) return false;
  std::stable_sort(pending.begin(), pending.end(),
                   [](const Pending& a, const Pending& b) { return FoldCase(a.file) < FoldCase(b.file); });
  // One box: with one error for all the box gives its text; with several each file says its own.
  const bool oneError = std::all_of(pending.begin(), pending.end(), [&](const Pending& p) { return p.error == pending[0].error; });
  std::wstring files;
  for (size_t i = 0; i < pending.size(); ++i) {
    if (i == kListedFilesMax) {
      files += L'\n';
      files += kMoreFiles;
      break;
    }
    if (i) files += L'\n';
    files += pending[i].file;
    if (!oneError) files += kReasonSeparator + ErrorText(pending[i].error);
  }
  ShowBox(owner ? owner : main, oneError ? pending[0].error : 0, files);
  return true;
}

bool HasPendingGroupFileNotices() {
  std::lock_guard<std::mutex> lock(g_lock);
  return !g_pending.empty();
}

void ForgetToldGroupFiles() {
  std::lock_guard<std::mutex> lock(g_lock);
  g_told.clear();
  g_pending.clear();
}
