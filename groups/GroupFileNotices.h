// Telling the user about group files that exist but cannot be read (damaged, too large, locked),
// and about failed writes.
// Every walk over the groups loads the same files again and again (the tree, its rebuilds, the
// group font list, the checks, the relocation, the quick search), so the store tells each such
// file once: a file is told again only after it has changed (its creation time, write time or
// size, or the error it gives). A GroupFileNoticeBatch held for one user action gathers what
// that action finds into one box per error, shown when the outermost batch of the thread ends.
//
// Any thread may report (the classification builds groups on its worker); a worker's box has
// no owner. Batches belong to the thread that opens them.
#pragma once

#include <windows.h>

#include <string>

class GroupFileNoticeBatch {
public:
  GroupFileNoticeBatch();
  ~GroupFileNoticeBatch();
  GroupFileNoticeBatch(const GroupFileNoticeBatch&) = delete;
  GroupFileNoticeBatch& operator=(const GroupFileNoticeBatch&) = delete;
};

// Reports that the group file `file` (at `path`) could not be read for `error`, unless this very
// state of the file has been told; inside a batch the box waits for the batch's end.
void ReportUnreadableGroupFile(const std::wstring& path, const std::wstring& file, DWORD error);

// Reports that the group file `file` could not be written (or named) for `error`, at once:
// every write is the user's own step.
void ReportGroupFileWriteError(DWORD error, const std::wstring& file);

// Forgets every file told so far, so that a test starts as the program starts.
void ForgetToldGroupFiles();
