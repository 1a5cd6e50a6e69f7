// Every record one font file stands for, in the order the lists add them: each face of a
// collection, each named instance of a variable font (or the font itself when none can be
// read), the one record of any other file; a file that cannot be read gives one record marked
// unreadable. What the file holds decides, not its name: a "ttcf" file named ".ttf" gives
// every face, a ".ttc" holding one font gives that font. The walk the folder lists, the census
// and the tools share.
#pragma once

#include <functional>
#include <string>

#include "fonts/FontItem.h"

// How a variable font is listed: one record per named instance, or one for the whole font
// (the listing of a zip folder).
enum class VariableFontRecords { kEachInstance, kWholeFont };

// Calls `visit` for each record of the file `fileRef` (a path, or a bare name within folder);
// returns the number of records visited.
size_t ForEachFontItem(const std::wstring& folder, const std::wstring& fileRef,
                       const std::function<void(const FontItem&)>& visit,
                       VariableFontRecords variable = VariableFontRecords::kEachInstance);
