// The status line of a tool dialog: a status bar (control 0xE801) made in the dialog's
// initialisation, for which the dialog grows by the bar's height, keeping its place and Z order.
#pragma once

#include <windows.h>

// WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | SBARS_TOOLTIPS.
inline constexpr DWORD kDialogStatusBarStyle = 0x56000800;

// The new status bar, or null when it cannot be made (the dialog then keeps its size).
HWND CreateDialogStatusBar(HWND dialog);
