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

// Posted to the main window when the selection of a font list has changed, so that the toolbars
// and the sample pane follow it at once: the idle phase alone may come late, since the message
// loop starts one only after a message other than a mouse move, a paint or a caret blink.
// Sent with wParam kSelectionChangeNotice by a window that hosts another font list: the main
// window then posts it to itself, once for any number of changes before it comes.
inline constexpr UINT kMsgFontListSelectionChanged = WM_APP + 40;
inline constexpr WPARAM kSelectionChangeNotice = 1;

// Whether `msg` is a list notification that the selection changed (a row selected or no longer
// selected, or a range of rows of a virtual list).
[[nodiscard]] bool IsSelectionChangeNotice(UINT msg, LPARAM lParam);
