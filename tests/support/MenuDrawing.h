// Reads a popup menu off the screen while it is shown and checks each item as a person would:
// the label is there in full, in the menu font, and no picture or check mark lies over it.
//
// For every text item the label (up to its tab) is drawn off screen in the menu font and looked
// for in the item's rectangle: the best place must match nearly pixel for pixel, and every other
// ink of the item left of the label's end (its picture, a check mark) must end before the
// label's first ink column. Only ink is compared with ink; no width is measured.
#pragma once

#include <windows.h>

#include <string>

namespace testing_support {

// `menuWindow` is the shown popup's window (class "#32768"), `menu` its menu. Returns one line
// per faulty item ("Index: picture over the text; "), empty when every item is whole.
std::string CheckShownMenu(HWND menuWindow, HMENU menu);

// The shown popup menu window of this thread, or null.
HWND FindShownMenuWindow();

// Opens a popup by calling `open` (which tracks it and returns when it has closed), checks it
// with CheckShownMenu as soon as it shows, saves a picture of it as `picture` when not empty,
// and closes it. Returns the findings, or "menu not shown" when no popup appeared.
std::string CheckMenuWhileShown(void (*open)(void* context), void* context, const std::wstring& picture);

}  // namespace testing_support
