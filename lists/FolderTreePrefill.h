// The work of one folder-tree pre-fill thread: the items whose marks are still to be computed,
// as copies the thread owns (absolute item lists, paths), and the switches it needs. The
// thread binds its own shell folders in its own single-threaded apartment, sends each item's
// marks to the tree window (SendMessageW, so the tree applies them on its thread) and stops
// early when the tree is closing. The tree owns the job and joins the thread before it frees it.
#pragma once

#include <windows.h>

#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

#include "lists/ShellIdList.h"

struct PrefillEntry {
  uint32_t serial = 0;      // the record's number in the tree
  ScopedIdList absolute;
  std::wstring path;        // file-system path (empty for virtual items)
  bool zip = false;
};

// One item's answer, sent to the tree with the job's message.
struct PrefillMarks {
  uint32_t serial = 0;
  bool bold = false;
  bool attributesKnown = false;
  ULONG attributes = 0;
};

struct PrefillJob {
  HWND tree = nullptr;
  UINT message = 0;
  const std::atomic<bool>* closing = nullptr;
  bool markFontFolders = true;
  bool includeHidden = false;
  std::vector<PrefillEntry> entries;
  std::atomic<bool> running{true};  // this thread's own state, cleared as it ends
};

// The attributes the marks ask for: subfolders, folder, compressed, can delete, can rename.
constexpr ULONG kMarkAttributes =
    SFGAO_HASSUBFOLDER | SFGAO_FOLDER | SFGAO_COMPRESSED | SFGAO_CANDELETE | SFGAO_CANRENAME;
static_assert(kMarkAttributes == 0xA4000030);

// The marks of one entry, with shell folders of the calling thread's apartment.
PrefillMarks ComputePrefillMarks(const PrefillEntry& entry, bool markFontFolders, bool includeHidden);

// The thread procedure (_beginthreadex); the argument is the PrefillJob.
unsigned __stdcall PrefillThreadProc(void* job);
