// Whether a file arrived where a copy put it. The shell's "done" also covers a file whose
// replacement the user declined, and a shell may pass over a file without an error; only the
// destination itself tells.
#pragma once

#include <string>
#include <utility>
#include <vector>

// True when `copy` holds what `original` holds: the same size and the same time of the last
// write (the copy keeps it), or, where the destination's file system keeps times less exactly
// (FAT: two seconds), the same bytes.
[[nodiscard]] bool ArrivedAsCopy(const std::wstring& original, const std::wstring& copy);

// The sources of `pairs` (source, destination) whose copy did not arrive.
[[nodiscard]] std::vector<std::wstring> MissingCopies(const std::vector<std::pair<std::wstring, std::wstring>>& pairs);

// Up to `limit` paths, one per line, and "..." when there are more: the list a message shows.
[[nodiscard]] std::wstring ListForMessage(const std::vector<std::wstring>& lines, size_t limit);
