// What the display font's face lookups found (FontItem::EnumerateFamilies looking for a face
// by its full name): for each enumeration asked, the family given and the full name looked
// for, the face GDI gave or that none matched. A list drawn over many records of one name, a
// variable font's instances of repeated names, and the sample pane painting the same record
// again would otherwise enumerate every font family each time.
//
// The set holds while the fonts GDI knows stay as they are. Whatever changes them empties it:
// the private font cache's loads and unloads, the census's own loads, and a font change the
// main frame hears of (WM_FONTCHANGE: an install, an uninstall, another program). An EUDC font
// loaded for the length of one paint changes no lookup: its face is asked for as "EUDC" and
// never looked up, and it is gone again before the next row is drawn.
//
// Any thread: the lists and the sample pane look up on the main thread, the search's worker on
// its own; one lock guards the set. A lookup that began before the set was emptied is not kept.
#pragma once

#include <windows.h>
#include <cstdint>
#include <string>

struct FaceLookup {
  bool found = false;
  NEWTEXTMETRICEXW metrics{};  // of the face found
  std::wstring faceName;       // GDI's face name of the face found
};

// The key of the enumeration over `logFont` (its face name and character set) for `fullName`.
std::wstring FaceLookupKey(const LOGFONTW& logFont, const wchar_t* fullName);
// True with what was found for `key`; false when it was not looked up since the fonts last
// changed, with the state to give RememberFaceLookup after the enumeration.
bool FindFaceLookup(const std::wstring& key, FaceLookup& face, uint64_t& state);
void RememberFaceLookup(const std::wstring& key, FaceLookup face, uint64_t state);
// The fonts changed: nothing looked up so far holds.
void ForgetFaceLookups();
