// Small image lists of command icons, cut from the main toolbar's bitmap strip.
//
// The strip (bitmap 128 of the resource library) holds one 16 x 16 image per command of the
// command icon table; a few more commands borrow the image of another. Menus and dialogs that
// show a command's icon build their list here.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include "framework/Handles.h"

// The main toolbar strip.
inline constexpr UINT kCommandIconStripId = 128;
inline constexpr int kCommandIconSize = 16;

// The strip image of a command (aliases applied), or -1 when the command has no icon.
int CommandIconIndex(int commandId) noexcept;

// Builds a 16 x 16 list with one image per identifier, in order, up to `count` identifiers or
// the first -1. A command without an icon gets an empty (transparent) image, so that image i
// always belongs to identifier i. False when the strip cannot be loaded or the list not made.
[[nodiscard]] bool LoadImageListFromResource(orv::ScopedImageList& out, int count, const int* commandIds);

// The same from a strip already loaded (16 x 16 images in the order of the icon table).
[[nodiscard]] bool LoadImageListFromStrip(HIMAGELIST strip, orv::ScopedImageList& out, int count,
                                          const int* commandIds);
