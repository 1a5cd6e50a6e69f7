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

// The text of a group file, up to its first zero byte (UTF-16: zero character). UTF-16 is told
// by its byte-order mark or, without one, by the zero byte beside the first character; other
// files are UTF-8 (a byte-order mark stays as U+FEFF). A file that another program saved in a
// Windows code page is read in the code page its XML declaration names or, when it names none
// or UTF-8 and the bytes are not UTF-8 and hold nothing shaped like UTF-8 (a lead byte with a
// continuation byte), in the system code page. False when the bytes do not decode into text
// that encodes back to the very same bytes, or are not in the encoding the declaration names:
// such a file is damaged, and `text` then holds a reading of it for showing only (broken
// sequences as U+FFFD).
[[nodiscard]] bool DecodeGroupFileText(const std::string& bytes, std::wstring& text);

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
