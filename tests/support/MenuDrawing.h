// Reads a popup menu off the screen while it is shown and checks each text item as a person would:
// its label (up to the tab), drawn off screen in the menu font, is found nearly pixel for pixel in
// the item, and every other ink of the item left of the label's end (its picture, a check mark)
// ends before the label's first ink column. Only ink is compared with ink; no width is measured.
#pragma once

#include <windows.h>

#include <string>

namespace testing_support {

// The shown popup menu window of this thread, or null.
HWND FindShownMenuWindow();

// Opens a popup by calling `open` (which tracks it and returns when it has closed), checks it as
// soon as it shows, saves a picture of it as `picture` when not empty, and closes it. Returns one
// line per faulty item ("Index: picture over the text; "), empty when every item is whole, or
// "menu not shown" when no popup appeared.
std::string CheckMenuWhileShown(void (*open)(void* context), void* context, const std::wstring& picture);

}  // namespace testing_support
