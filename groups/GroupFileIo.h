// The file side of the group store: reading a group file whole with a size bound, decoding
// its text, and replacing a group file so that it is either the old file or the complete new
// one, never a half-written one. Main thread (any thread would do: no shared state besides
// the test hook).
#pragma once

#include <windows.h>

#include <string>

// Group files are a few kilobytes; anything above this is not read (and so never saved over).
inline constexpr ULONGLONG kGroupFileMaxBytes = 32ull * 1024 * 1024;

enum class GroupFileRead {
  kRead,      // bytes hold the whole file
  kMissing,   // no such file
  kEmpty,     // the file exists and holds no bytes
  kFailed,    // exists but could not be opened, sized or read (error says why)
  kTooLarge,  // larger than kGroupFileMaxBytes
};

struct GroupFileBytes {
  GroupFileRead result = GroupFileRead::kMissing;
  DWORD error = 0;       // the system error of kFailed (0 when the failure gave none)
  bool openFailed = false;
  std::string bytes;
};

[[nodiscard]] GroupFileBytes ReadGroupFileBytes(const std::wstring& path, ULONGLONG maxBytes = kGroupFileMaxBytes);

// The text of a group file: UTF-8 (a byte-order mark stays as U+FEFF), or UTF-16 when the file
// starts with a UTF-16 byte-order mark (a file re-saved by a text editor). Zero bytes or zero
// characters are dropped rather than ending the text, so that nothing behind them is lost.
[[nodiscard]] std::wstring DecodeGroupFileText(const std::string& bytes);

// Writes `bytes` to a new temporary file in `folder` (a name that never matches "orvel*.xml"),
// flushes it and moves it over `path` in one step; a read-only file at `path` is refused
// (ERROR_ACCESS_DENIED). Returns 0, or the system error of the step
// that failed; the file at `path` is then unchanged and the temporary file is gone.
[[nodiscard]] DWORD ReplaceGroupFile(const std::wstring& folder, const std::wstring& path, const std::string& bytes);

namespace group_store_seams {
// Stands in for WriteFile in ReplaceGroupFile, so that a test can fail a write midway (a
// full disk); null restores WriteFile.
using WriteHook = BOOL (*)(HANDLE file, const void* data, DWORD size, DWORD* written);
void SetWriteHook(WriteHook hook);
}  // namespace group_store_seams
