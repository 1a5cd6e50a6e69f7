// Opening the property sheet of a font, as the font lists, the main window and the census do.
#pragma once

#include <windows.h>

class FontItem;

// Runs the sheet that fits the record modally over `owner`, on a copy of the record:
// TrueType/OpenType for an sfnt font, Type 1 for a Type 1 font, none for a font known to GDI
// only, a raster font or anything else. True when a sheet ran.
bool ShowFontProperties(const FontItem& record, HWND owner);
