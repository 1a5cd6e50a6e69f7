// Checks of a window's layout as a user sees it: which child controls show, where they lie and
// whether their labels show whole, at the sizes the fonts of the running system give.
#pragma once

#include <windows.h>

#include <vector>

namespace testing_support {

// The visible direct children of a window, in z-order.
std::vector<HWND> VisibleChildren(HWND parent);

// A child's rectangle in its parent's client coordinates. A combo box counts with its closed
// part only: its list covers what lies below it only while it is open.
RECT ShownRect(HWND child);

// Whether a child control lies wholly inside `area` (its parent's client coordinates). A
// control of no size shows nothing and lies anywhere.
bool LiesInside(HWND child, const RECT& area);

// Whether a text label shows its whole text: a static's text wrapped in its width fits its
// height; a button's one line fits its width inside its edges (a check box or radio button
// less its mark; a button of several lines in its height too).
// Controls of other kinds, and empty labels, pass.
bool ShowsWholeText(HWND control);

}  // namespace testing_support
