#include "fonts/PrivateFontCache.h"

#include <commctrl.h>

#include <algorithm>

#include "app/AppState.h"
#include "common/AppMessageBox.h"
#include "common/ResString.h"
#include "common/ResourceIds.h"
#include "fonts/FaceLookups.h"

namespace {

class LockGuard {
public:
  explicit LockGuard(CRITICAL_SECTION& section) : section_(section) { ::EnterCriticalSection(&section_); }
  ~LockGuard() { ::LeaveCriticalSection(&section_); }
  LockGuard(const LockGuard&) = delete;
  LockGuard& operator=(const LockGuard&) = delete;

private:
  CRITICAL_SECTION& section_;
};

bool OwnedByThisThread(HWND window) {
  return window && ::IsWindow(window) && ::GetWindowThreadProcessId(window, nullptr) == ::GetCurrentThreadId();
}

enum class PrivateLoad { kFailed, kLoaded, kHadAlready };

// Loads the file privately. Some GDIs (Wine's) report a face they have already (the same file
// installed, or a namesake of the same version) as added without loading anything, and then
// refuse to remove it: such a load is nothing to undo. So the file is loaded twice and one load
// taken back: a removal that works shows a real load, and one stays. (Loading it again after
// the removal would read the file anew, and a damaged file can leave Wine's font code hanging.)
PrivateLoad LoadPrivately(const std::wstring& fileSpec) {
  if (::AddFontResourceExW(fileSpec.c_str(), FR_PRIVATE, nullptr) <= 0) return PrivateLoad::kFailed;
  ForgetFaceLookups();  // a face no lookup found may be there now
  ::AddFontResourceExW(fileSpec.c_str(), FR_PRIVATE, nullptr);
  return ::RemoveFontResourceExW(fileSpec.c_str(), FR_PRIVATE, nullptr) ? PrivateLoad::kLoaded : PrivateLoad::kHadAlready;
}

// Unloads one private load; a face that lookups found may be gone.
bool UnloadPrivately(const std::wstring& fileSpec) {
  if (!::RemoveFontResourceExW(fileSpec.c_str(), FR_PRIVATE, nullptr)) return false;
  ForgetFaceLookups();
  return true;
}

// True while a modal window of the program (a message box, a dialog) is open over the main
// window, which it has disabled.
bool ModalOpen() {
  const HWND main = g_AppState.MainWindow;
  return main && ::IsWindow(main) && !::IsWindowEnabled(main);
}

}  // namespace

PrivateFontCache::PrivateFontCache() { ::InitializeCriticalSection(&lock_); }

PrivateFontCache::~PrivateFontCache() {
  UnloadTrimmedLocked(nullptr);
  ::DeleteCriticalSection(&lock_);
}

void PrivateFontCache::SetReady(bool value) {
  LockGuard guard(lock_);
  ready_ = value;
}

bool PrivateFontCache::IsReady() const {
  LockGuard guard(lock_);
  return ready_;
}

void PrivateFontCache::SetLimit(int32_t value) {
  LockGuard guard(lock_);
  limit_ = value;
}

void PrivateFontCache::SetStatusBar(HWND window) {
  LockGuard guard(lock_);
  statusBar_ = window;
}

bool PrivateFontCache::ContainsLocked(const std::wstring& fileSpec) const {
  return listed_.count(fileSpec) != 0;
}

bool PrivateFontCache::Add(const std::wstring& fileSpec, const wchar_t* displayName) {
  LockGuard guard(lock_);
  if (ContainsLocked(fileSpec) || hadAlready_.count(fileSpec)) return true;
  const HWND statusBar = (displayName && OwnedByThisThread(statusBar_)) ? statusBar_ : nullptr;
  std::wstring saved;
  if (statusBar) {
    const LRESULT length = LOWORD(::SendMessageW(statusBar, SB_GETTEXTLENGTHW, 0, 0));
    if (length != 0) {
      saved.resize(static_cast<size_t>(length) + 1);
      ::SendMessageW(statusBar, SB_GETTEXTW, 0, reinterpret_cast<LPARAM>(saved.data()));
      saved.resize(wcslen(saved.c_str()));
    }
    const std::wstring text = FormatResString(IDS_LOADING_FONT, displayName);
    ::SendMessageW(statusBar, SB_SETTEXTW, 0, reinterpret_cast<LPARAM>(text.c_str()));
  }
  switch (LoadPrivately(fileSpec)) {
    case PrivateLoad::kLoaded: RememberLocked(fileSpec); break;
    // Not tried again on every draw, until the fonts change.
    case PrivateLoad::kHadAlready: hadAlready_.insert(fileSpec); break;
    case PrivateLoad::kFailed: break;
  }
  if (statusBar) ::SendMessageW(statusBar, SB_SETTEXTW, 0, reinterpret_cast<LPARAM>(saved.c_str()));
  return true;
}

void PrivateFontCache::Remember(const std::wstring& fileSpec) {
  LockGuard guard(lock_);
  RememberLocked(fileSpec);
}

void PrivateFontCache::RememberLocked(const std::wstring& fileSpec) {
  files_.push_back(fileSpec);
  listed_.insert(fileSpec);
  if (limit_ < 0 || files_.size() <= static_cast<size_t>(limit_)) return;
  const size_t remove = std::min(files_.size(), static_cast<size_t>(limit_ / 5 + 1));
  const auto cut = files_.begin() + static_cast<std::ptrdiff_t>(remove);
  // At most one cut waits for the idle passes: one still waiting from the last cut, when no
  // idle pass came in all the loads since, is unloaded now.
  UnloadTrimmedLocked(nullptr);
  for (auto it = files_.begin(); it != cut; ++it) listed_.erase(listed_.find(*it));
  trimmed_.insert(trimmed_.end(), std::make_move_iterator(files_.begin()), std::make_move_iterator(cut));
  files_.erase(files_.begin(), cut);
}

bool PrivateFontCache::UnloadTrimmedLocked(const std::wstring* fileSpec) {
  bool ok = true;
  for (auto it = trimmed_.begin(); it != trimmed_.end();) {
    if (fileSpec && *it != *fileSpec) {
      ++it;
      continue;
    }
    if (!UnloadPrivately(*it)) ok = false;
    it = trimmed_.erase(it);
  }
  return ok;
}

bool PrivateFontCache::UnloadTrimmed(size_t count) {
  LockGuard guard(lock_);
  for (; count > 0 && !trimmed_.empty(); --count) {
    UnloadPrivately(trimmed_.front());
    trimmed_.pop_front();
  }
  return !trimmed_.empty();
}

bool PrivateFontCache::RemoveFile(const std::wstring& fileSpec) {
  LockGuard guard(lock_);
  hadAlready_.erase(fileSpec);
  // A trimmed load still waiting goes too: the file is about to be moved or deleted.
  UnloadTrimmedLocked(&fileSpec);
  for (auto it = files_.begin(); it != files_.end(); ++it) {
    if (*it != fileSpec) continue;
    UnloadPrivately(fileSpec);
    files_.erase(it);
    listed_.erase(listed_.find(fileSpec));
    return true;
  }
  return false;
}

void PrivateFontCache::RemoveAll(bool reportFailure) {
  bool failed = false;
  {
    LockGuard guard(lock_);
    if (!ready_) return;
    for (const std::wstring& file : files_)
      if (!UnloadPrivately(file)) failed = true;
    files_.clear();
    listed_.clear();
    hadAlready_.clear();
    if (!UnloadTrimmedLocked(nullptr)) failed = true;
  }
  if (!reportFailure) return;
  // A refresh that runs inside another box's modal loop does not open a box of its own over it:
  // the failure is told by the next report made with no box open.
  if (failed) reportPending_ = true;
  if (!reportPending_ || ModalOpen()) return;
  reportPending_ = false;
  AppMessageBox(g_AppState.MainWindow, MB_ICONERROR, IDS_CAPTION_APP, IDS_PRIVATE_UNLOAD_FAILED);
}

size_t PrivateFontCache::Count() const {
  LockGuard guard(lock_);
  return files_.size();
}

bool PrivateFontCache::Contains(const std::wstring& fileSpec) const {
  LockGuard guard(lock_);
  return ContainsLocked(fileSpec);
}

size_t PrivateFontCache::TrimmedCount() const {
  LockGuard guard(lock_);
  return trimmed_.size();
}

int32_t PrivateFontCache::Limit() const {
  LockGuard guard(lock_);
  return limit_;
}

std::vector<std::wstring> PrivateFontCache::Files() const {
  LockGuard guard(lock_);
  return files_;
}
