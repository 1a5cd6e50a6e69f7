#include "groups/GroupFileNotices.h"

#include <algorithm>
#include <mutex>
#include <set>
#include <tuple>
#include <utility>
#include <vector>

#include "common/AppMessageBox.h"
#include "common/AppShell.h"
#include "common/ResourceIds.h"
#include "common/StringHelpers.h"

namespace {

// A box names at most this many files; the group checks list them all.
constexpr size_t kListedFilesMax = 40;
constexpr wchar_t kMoreFiles[] = L"\x2026";

// One state of one file: told once.
using FileState = std::tuple<std::wstring, ULONGLONG, ULONGLONG, ULONGLONG, DWORD>;

std::mutex g_toldLock;
std::set<FileState> g_told;

struct Pending {
  DWORD error;
  std::wstring file;
};

thread_local int t_batchDepth = 0;
thread_local std::vector<Pending> t_pending;

ULONGLONG Join(const FILETIME& time) { return (ULONGLONG{time.dwHighDateTime} << 32) | time.dwLowDateTime; }

FileState StateOf(const std::wstring& path, DWORD error) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!::GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) data = {};
  const ULONGLONG size = (ULONGLONG{data.nFileSizeHigh} << 32) | data.nFileSizeLow;
  return {FoldCase(path), Join(data.ftCreationTime), Join(data.ftLastWriteTime), size, error};
}

// The main window owns the box on its own thread only: a box owned by a window of another
// thread would tie the two threads' input together.
HWND BoxOwner() {
  HWND owner = GetAppShell().MainWindow;
  if (owner && ::GetWindowThreadProcessId(owner, nullptr) != ::GetCurrentThreadId()) owner = nullptr;
  return owner;
}

void ShowBox(DWORD error, const std::wstring& files) {
  AppMessageBox(BoxOwner(), MB_ICONHAND, IDS_GROUPS_CAPTION, IDS_GROUP_FILE_FAILED, error, files.c_str());
}

// One box per error, the files in the order of their names (the order of their numbers).
void ShowPending(std::vector<Pending> pending) {
  std::stable_sort(pending.begin(), pending.end(),
                   [](const Pending& a, const Pending& b) { return FoldCase(a.file) < FoldCase(b.file); });
  std::vector<DWORD> errors;
  for (const Pending& p : pending)
    if (std::find(errors.begin(), errors.end(), p.error) == errors.end()) errors.push_back(p.error);
  for (DWORD error : errors) {
    std::wstring files;
    size_t listed = 0;
    for (const Pending& p : pending) {
      if (p.error != error) continue;
      if (listed == kListedFilesMax) {
        files += L'\n';
        files += kMoreFiles;
        break;
      }
      if (listed++) files += L'\n';
      files += p.file;
    }
    ShowBox(error, files);
  }
}

}  // namespace

GroupFileNoticeBatch::GroupFileNoticeBatch() { ++t_batchDepth; }

GroupFileNoticeBatch::~GroupFileNoticeBatch() {
  if (--t_batchDepth != 0 || t_pending.empty()) return;
  // Taken out first: what the boxes' own message loops find starts a batch of its own.
  ShowPending(std::exchange(t_pending, {}));
}

void ReportUnreadableGroupFile(const std::wstring& path, const std::wstring& file, DWORD error) {
  {
    // Marked as told before any box shows: the box's message loop may load the file again.
    std::lock_guard<std::mutex> lock(g_toldLock);
    if (!g_told.insert(StateOf(path, error)).second) return;
  }
  if (t_batchDepth > 0) {
    t_pending.push_back({error, file});
    return;
  }
  ShowBox(error, file);
}

void ReportGroupFileWriteError(DWORD error, const std::wstring& file) { ShowBox(error, file); }

void ForgetToldGroupFiles() {
  std::lock_guard<std::mutex> lock(g_toldLock);
  g_told.clear();
}
