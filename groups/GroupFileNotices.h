// Telling the user about group files that exist but cannot be read (damaged, too large, locked),
// about changes refused because they would write over such a file, and about failed writes.
//
// Every walk over the groups loads the same files again and again (the tree, its rebuilds, the
// group font list, the checks, the relocation, the quick search), so a damaged file is told
// once: again only after it has changed (its creation time, write time or size, or the error it
// gives). What is found goes into one queue, from any thread; the main window's idle pass shows
// the queue once the user's action and its follow-up work are done: one box for one action.
// No other thread ever shows a box.
#pragma once

#include <windows.h>

#include <string>

// Queues that the group file `file` (at `path`) could not be read for `error`, unless this very
// state of the file has been told.
void ReportUnreadableGroupFile(const std::wstring& path, const std::wstring& file, DWORD error);

// Queues that a change to the damaged or unreadable group file `file` was refused: told on
// every action that tries one.
void ReportRefusedGroupChange(const std::wstring& file);

// Queues that the group file `file` could not be written (or named) for `error`: told after
// the step that wrote it, once for all the files that step could not write.
void ReportGroupFileWriteError(DWORD error, const std::wstring& file);

// The window whose thread shows the queue (the main window; null: none), woken by a post when
// another thread adds to the queue. Set on that thread; no other thread reads a window here.
void SetGroupFileNoticeWindow(HWND window);

// The line the groups tree shows for a damaged group: its file and why it is not changed.
std::wstring DescribeDamagedGroupFile(const std::wstring& file);

// Main thread: shows what the queue holds, in one box (the files in the order of their names)
// owned by `owner` (null: the main window), and empties it. True when a box was shown.
bool FlushGroupFileNotices(HWND owner = nullptr);

// True when notices wait to be shown.
bool HasPendingGroupFileNotices();

// Forgets every file told so far and drops the queue, so that a test starts as the program starts.
void ForgetToldGroupFiles();
