// The FontsInstalled markers of group installs: one REG_DWORD per font under the current
// user's key of the program, named by `FontItem::InstalledMarkerName`. The low word counts the
// group installs that still need the font; the high word is 1 when the font was installed
// before the first group install met it (such a font is never removed by a group uninstall).
// The installer writes them during group installs and uninstalls, on the main thread;
// `FontItem::ReadInstalledMarker` turns a counting marker into flag 0x10000.
#pragma once

#include <windows.h>
#include <cstdint>

class FontItem;

inline constexpr wchar_t kFontsInstalledKey[] = L"SOFTWARE\\OrvelManager\\FontsInstalled";
constexpr DWORD kGroupCountMask = 0xFFFF;
constexpr DWORD kInstalledBeforeMark = 0x10000;

// One group install of `item`, collected `count` times. Called before anything is loaded. The
// value written (0 when the key could not be created: the font is then installed as usual).
// Clears `load` when the font is installed already and must not be loaded again.
DWORD AddInstalledMarker(const FontItem& item, int32_t count, bool& load);

// One group uninstall of `item` (which carries 0x10000), collected `count` times. The value
// that remains (0 when the value is gone). Clears `unload` while the font is still counted or
// was installed before; clears the item's 0x10000 when the marker is gone.
DWORD RemoveInstalledMarker(FontItem& item, int32_t count, bool& unload);
