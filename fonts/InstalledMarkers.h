// The FontsInstalled markers of group installs: one REG_DWORD per font under the current
// user's key of the program, named by `FontItem::InstalledMarkerName`. The low word counts the
// group installs that still need the font; the high word is 1 when the font was installed
// before the first group install met it (such a font is never removed by a group uninstall).
// FontInstaller writes them during group installs and uninstalls (InstalledMarkers.cpp), on
// the main thread; `FontItem::ReadInstalledMarker` turns a counting marker into flag 0x10000.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

class FontChanges;

inline constexpr wchar_t kFontsInstalledKey[] = L"SOFTWARE\\OrvelManager\\FontsInstalled";
constexpr DWORD kGroupCountMask = 0xFFFF;
constexpr DWORD kInstalledBeforeMark = 0x10000;

// The marker of that name: false when there is none (or it is not a REG_DWORD).
[[nodiscard]] bool ReadInstalledMarkerValue(const std::wstring& name, DWORD& value);
// Both change the markers through the command's writer.
void DeleteInstalledMarker(FontChanges& changes, const std::wstring& name);
// Takes `count` group installs off the marker of a font that is no longer there to uninstall
// (its file holds another font now); the marker goes when no group counts it any more.
void DropGroupCount(FontChanges& changes, const std::wstring& name, int32_t count);
