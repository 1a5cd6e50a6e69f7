// What the parent of a font list does for it: answers WM_MEASUREITEM with the list's row height
// and sends the list's owner-draw and list notifications back to it (the list draws its own
// rows and handles its own notifications). The main frame does this for its three lists; any
// other window that hosts a font list calls this from its window procedure.
#pragma once

#include <windows.h>

class COrvelListView;

// True when the message was the list's; `result` is then the answer.
bool HandleFontListParentMessage(const COrvelListView& list, UINT msg, WPARAM wParam, LPARAM lParam,
                                 LRESULT& result);
