// The keys of the system's font registration that the registration dialogs read (and, for the
// family defaults, write), and the one place a test moves them to a private key of its own.
//
// `SystemFontKey` turns a system root and path into the key to open. Normally that is the pair
// as given; while a test has set a redirection every HKLM path lies under "<prefix>\Machine"
// and every HKCU path under "<prefix>\User" of the test's root, so that a test never reads or
// changes the machine's own registration. Main thread only.
#pragma once

#include <windows.h>

#include <string>

inline constexpr wchar_t kFontSubstitutesKey[] = L"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\FontSubstitutes";
inline constexpr wchar_t kFamilyDefaultsKey[] =
    L"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\FontMapper\\FamilyDefaults";

struct SystemFontKey {
  HKEY root;
  std::wstring path;
};

SystemFontKey MakeSystemFontKey(HKEY systemRoot, const wchar_t* path);

namespace seams {
// Redirects the registration keys below `prefix` of `root`; an empty prefix ends it.
void RedirectSystemFontKeys(HKEY root, const std::wstring& prefix);
}  // namespace seams
