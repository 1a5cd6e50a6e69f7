// The target of a shell link file (a shortcut to a folder), resolved without updating the link
// or searching for a moved target.
#pragma once

#include <windows.h>

#include <string>

[[nodiscard]] bool ResolveShortcutTarget(const std::wstring& link, HWND owner, std::wstring& target);
