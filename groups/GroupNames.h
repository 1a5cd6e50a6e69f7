// Rules for the names the group store handles: which file names it may touch, the numbered
// group file names, and the case-insensitive comparisons that the group files rely on.
// Pure functions, any thread.
#pragma once

#include "common/StringHelpers.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

inline constexpr wchar_t kRootGroupFile[] = L"orvel_Root.xml";
inline constexpr wchar_t kGroupFileFormat[] = L"orvelgrp%05d.xml";
inline constexpr int kFirstGroupNumber = 1;
inline constexpr int kLastGroupNumber = 99998;   // 99999 belongs to the recovery group
inline constexpr int kRecoveryGroupNumber = 99999;
inline constexpr size_t kGroupPathMax = 260;     // groups folder, backslash, file name, terminator

// A name that the store may read, write or delete: a bare file name (no folder, no drive, no
// "..", no wildcard or control character, no trailing dot or space) matching "orvel*.xml".
[[nodiscard]] bool IsGroupFileName(std::wstring_view name);
[[nodiscard]] bool IsRootGroupFile(std::wstring_view name);

// The text a group is shown by, never empty: `name`; when that is empty, `fallbackName`; when
// both are, the file name. The groups tree gives the group's Name first and its parent's node
// name as the fallback (a damaged file whose reading stopped before its Name, or a file that
// names none); the group font list the other way round.
[[nodiscard]] std::wstring GroupLabel(const std::wstring& name, const std::wstring& fallbackName, const std::wstring& file);

// "orvelgrp%05d.xml" for a number from 0 to 99999.
[[nodiscard]] std::wstring FormatGroupFileName(int number);

// The number of an "orvelgrp" + five digits + ".xml" name (any case); -1 for any other name.
[[nodiscard]] int GroupFileNumber(std::wstring_view name);

// The first number from 1 to 99998 that is not taken and is not `excluded`; 0 when none is
// left. `taken` is indexed by number; missing indexes count as free.
[[nodiscard]] int PickFreeGroupNumber(const std::vector<bool>& taken, int excluded);

// One key for a font entry's path and name, both without case: two entries with the same key
// are the same font of a group.
[[nodiscard]] std::wstring GroupFontKey(const std::wstring& path, const std::wstring& name);

// The folder the store works in: an absolute path, not empty.
[[nodiscard]] bool IsUsableGroupsFolder(const std::wstring& folder);

// The full path of a group file; empty when the folder is not usable, the name is not a group
// file name or the path would not fit in kGroupPathMax.
[[nodiscard]] std::wstring GroupFilePath(const std::wstring& folder, std::wstring_view name);
