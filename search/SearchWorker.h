// The walk of one font search: a worker thread that walks the root folders with the folder
// walker, reads every face of every font file it meets, and keeps copies of the faces that
// pass the matcher in a pending queue under its own lock.
//
// The worker never touches a window. It posts three bare messages to the window it reports to
// (none when that window is null): kMsgFlush when 25 results are pending, kMsgProgress when
// the counts or the current folder changed (at most every kProgressIntervalMs, one at a
// time), and kMsgDone with the walk's serial number as its last act. The window then takes
// the results by value (TakePending) and the progress (TakeProgress) on its own thread, and
// after kMsgDone joins the thread (WaitForWalk). Stop asks the walk to end; the owner joins it before it goes away, and
// the walker's destructor does so in any case.
//
// Search rules beside the walker's own: the root list ends at its first empty piece; a root
// that fails the hidden rule keeps its subfolders but its own files are passed over; every
// folder but "." and ".." is entered; a collection is read face by face, a variable font once.
#pragma once

#include <windows.h>

#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

#include "fonts/FontItem.h"
#include "lists/CFolderWalkerImpl.h"
#include "search/SearchMatcher.h"

class FontFileReader;

class SearchWorker : public CFolderWalkerImpl<SearchWorker> {
public:
  static constexpr UINT kMsgFlush = WM_APP + 0x61;
  static constexpr UINT kMsgProgress = WM_APP + 0x62;
  static constexpr UINT kMsgDone = WM_APP + 0x63;
  static constexpr int kStatusStop = 2;  // the status a stop request stores
  static constexpr size_t kFlushAt = 25;  // pending results that ask for a merge at once
  static constexpr ULONGLONG kProgressIntervalMs = 100;
  static constexpr wchar_t kFontPatterns[] = L"*.ttf|*.otf|*.ttc|*.pfm";

  struct Progress {
    uint32_t examined = 0;
    std::wstring folder;  // the folder whose files are examined now
  };

  explicit SearchWorker(HWND notify = nullptr);
  ~SearchWorker();

  // The window the worker posts to; set while no walk runs.
  void SetNotifyWindow(HWND notify) { notify_ = notify; }

  // Starts a walk of `roots` ("|"-separated) for faces that pass `matcher`, after joining a
  // walk that ended. False when the thread could not be started (nothing is posted then).
  bool StartSearch(const std::wstring& roots, const SearchMatcher& matcher);
  void Stop() { m_status = kStatusStop; }
  bool Stopped() const { return m_status == kStatusStop; }

  // The number of the walk StartSearch started last; kMsgDone carries it in wParam, so that
  // the end of an earlier walk is told from the end of this one.
  WPARAM RunSerial() const { return runSerial_; }

  // Owner's thread: the pending results in the order found, the queue emptied.
  std::vector<FontItem> TakePending();
  bool HasPending();
  Progress TakeProgress();

  // The roots up to the first empty piece.
  static std::wstring RootsBeforeEmptyPiece(const std::wstring& roots);

  // Walker hooks (worker thread).
  void OnFile();
  bool ShouldAbort() { return false; }
  bool AcceptFolder(DWORD attributes, bool isRoot) { return isRoot || IsFileShown(attributes); }
  bool AcceptFolderFiles();
  void OnWalkEnd();

private:
  void TestFace(FontFileReader& face);
  void AppendResult(const FontItem& face);
  void PostProgress();

  HWND notify_;
  SearchMatcher matcher_;  // the search's copy, read by the worker only
  std::mutex lock_;        // guards pending_ and folder_
  std::vector<FontItem> pending_;
  std::wstring folder_;
  std::atomic<uint32_t> examined_{0};
  std::atomic<bool> flushPosted_{false};
  std::atomic<bool> progressPosted_{false};
  ULONGLONG lastProgress_ = 0;  // worker thread only
  WPARAM runSerial_ = 0;
};
