// Completes a record that a font list created cheaply from a name and a file reference: reads
// its file once (flag 0x40000000), then resolves its installed status against the installed
// fonts and reads its FontsInstalled marker once (flag 0x80000000).
//
// Called on the main thread and on a list's detail-reader thread; the caller keeps the record
// and the installed list from changing while it runs.
#pragma once

#include <string>

class FontItem;

// listFolder is the folder of bare file names (the list's folder string). True at once for a
// record already resolved; otherwise whether a FontsInstalled marker was found.
bool EnsureFontItemLoaded(const std::wstring& listFolder, FontItem& item);
// The read step alone: fills the record from its file by the record's full name (a collection
// face, a named instance of a variable font or a whole file). Sets 0x40000000.
void ReadFontItemFromFile(const std::wstring& listFolder, FontItem& item);
