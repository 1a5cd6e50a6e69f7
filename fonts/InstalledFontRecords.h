// The records of the installed fonts list, in list order (the order in which its fill added
// them). The installed list publishes them on the main thread after each fill; the installed
// status resolution and the display-font fallback read them, also on a font list's detail-reader
// thread, without a lock: a list that refills first stops the readers that could be reading.
// Until the installed list publishes anything the set is empty (no installed font is known).
// The pointers stay owned by the installed list; a null entry is a position without a record.
#pragma once

#include <vector>

class FontItem;

const std::vector<const FontItem*>& InstalledFontRecords();
void SetInstalledFontRecords(std::vector<const FontItem*> records);
