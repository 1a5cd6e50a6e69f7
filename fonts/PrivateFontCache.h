// The one process-wide list of font files loaded privately (AddFontResourceExW with
// FR_PRIVATE) so that fonts that are not installed can be drawn. Each file is loaded once; the
// list is cut back by a fifth when it grows past the "FontCacheSize" preference, and emptied
// when the main window closes or is minimised, on every font change and before a folder is
// deleted or renamed. Lives in `AppState` for the whole run.
//
// Threads: the lists call Add on the main thread, drawing and in idle time; any thread may
// (private loads work from any thread), and every access to the list holds the lock. The
// status bar is written only by the thread that owns it (the main thread); a call from another
// thread loads without the status text.
//
// Trimming: the entries cut back leave the list at once, in the order and number the limit
// gives; unloading them from GDI (about a quarter of a millisecond each) is left to the lists'
// idle passes, a few at a time (UnloadTrimmed). RemoveAll, RemoveFile and the destructor unload
// what is still waiting. An entry added again while it waits is loaded again: GDI counts the
// loads of a file, so the late unload takes back only the earlier one.
//
// Each load and each unload changes the faces GDI knows: it empties the display font's face
// lookups (fonts/FaceLookups.h).
#pragma once

#include <windows.h>
#include <cstdint>
#include <deque>
#include <string>
#include <unordered_set>
#include <vector>

constexpr int32_t kFontCacheDefault = 2000;

class PrivateFontCache {
public:
  PrivateFontCache();
  ~PrivateFontCache();
  PrivateFontCache(const PrivateFontCache&) = delete;
  PrivateFontCache& operator=(const PrivateFontCache&) = delete;

  // Called once the application state is set up; until then RemoveAll does nothing.
  void SetReady(bool value);
  // Whether RemoveAll unloads (a print job keeps every font loaded while it runs).
  bool IsReady() const;
  void SetLimit(int32_t value);
  void SetStatusBar(HWND window);

  // Loads fileSpec privately unless it is already loaded (exact, case-sensitive comparison).
  // A Type 1 font is given as "x.pfm|x.pfb". Always true. A failed load is not recorded, so
  // the next Add of the same file tries again. A load that made no face available (GDI had
  // the font already) is recorded apart and not tried again, on any draw, until RemoveAll (the
  // fonts changed) or RemoveFile of that file. With a display name, the main thread's status
  // bar shows the loading text while the load runs.
  bool Add(const std::wstring& fileSpec, const wchar_t* displayName = nullptr);
  // Appends a file loaded elsewhere and trims the list.
  void Remember(const std::wstring& fileSpec);
  // Unloads one entry given exactly as it was added; false when it was not loaded.
  bool RemoveFile(const std::wstring& fileSpec);
  // Unloads every entry; with reportFailure a failed unload is shown to the user, at once when
  // no modal window of the program is open, else by the next such call with none open.
  void RemoveAll(bool reportFailure);
  // Unloads up to `count` of the trimmed entries, oldest first; true while more are waiting.
  bool UnloadTrimmed(size_t count);

  // Whether fileSpec is in the list (loaded and not cut back since).
  bool Contains(const std::wstring& fileSpec) const;
  size_t Count() const;
  size_t TrimmedCount() const;
  int32_t Limit() const;
  std::vector<std::wstring> Files() const;

private:
  // These run with the lock held.
  bool ContainsLocked(const std::wstring& fileSpec) const;
  void RememberLocked(const std::wstring& fileSpec);
  // Unloads the trimmed entries equal to fileSpec, or all of them; false when one failed.
  bool UnloadTrimmedLocked(const std::wstring* fileSpec);

  mutable CRITICAL_SECTION lock_;
  std::vector<std::wstring> files_;  // oldest first
  std::unordered_multiset<std::wstring> listed_;  // the same, for a look-up that does not walk them all
  std::deque<std::wstring> trimmed_;  // out of the list, still loaded; oldest first
  std::unordered_set<std::wstring> hadAlready_;  // loads that added no face, until the next RemoveAll
  int32_t limit_ = kFontCacheDefault;
  HWND statusBar_ = nullptr;
  bool ready_ = false;
  bool reportPending_ = false;  // a failed unload not yet told (the main thread's RemoveAll only)
};
