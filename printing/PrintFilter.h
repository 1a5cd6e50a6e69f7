// Which fonts a print job can take. Unreadable and end-user-defined-character fonts make no
// page. A font whose PostScript name is longer than a PostScript printer can take is left out
// too: the printer driver writes the name into the job as it is, and the printer stops at that
// font, so the font and every page after it would be lost without an error reaching us.
// Main thread only.
#pragma once

#include <string>
#include <vector>

#include "lists/FontItemList.h"

// The longest PostScript name a PostScript printer takes.
constexpr size_t kMaxPostScriptName = 63;

// The name a printer driver gives the printer for the font: its PostScript name, or, for a file
// without one, its full name less its spaces.
std::wstring PrinterFontName(const FontItem& font);
bool HasPrintableName(const FontItem& font);

// Completes each entry of `list` and removes the entries that cannot be printed. Returns how the
// fonts left out for their names are shown to the user (name and file, each name cut short).
std::vector<std::wstring> LeaveOutUnprintableFonts(FontItemList& list);

// The fonts `left` names, one a line (each line ended, so that the message shows a list even
// of one), as the message about them lists them.
std::wstring LeftOutFontsText(const std::vector<std::wstring>& left);
