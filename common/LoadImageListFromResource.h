// The pictures of commands: one table from command identifier to picture, shared by the command
// bar, every pane toolbar and every context menu, cut from the main toolbar's bitmap strip.
//
// The strip (bitmap 128 of the resource library) holds one 16 x 16 image per command of the
// command icon table; a few more commands borrow the image of another. Lists built here have
// the screen's picture size (16 pixels at 96 DPI, 24 at 144), the strip's images scaled.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <utility>
#include <vector>

#include "framework/Handles.h"

// The main toolbar strip.
inline constexpr UINT kCommandIconStripId = 128;
inline constexpr int kCommandIconSize = 16;  // of the strip's images

// The strip image of a command (aliases applied), or -1 when the command has no icon.
int CommandIconIndex(int commandId) noexcept;

// Every command that has a picture and the strip image of it, aliases included: the one table.
[[nodiscard]] std::vector<std::pair<UINT, int>> CommandPictureTable();

// The strip's images in strip order (image n for CommandIconIndex n) at `size` pixels (0: the
// screen's picture size). Empty when the strip cannot be loaded.
[[nodiscard]] orv::ScopedImageList LoadCommandPictures(int size = 0);

// Builds a list with one image per identifier, in order, up to `count` identifiers or the first
// -1, at the screen's picture size. A command without an icon gets an empty (transparent)
// image, so that image i always belongs to identifier i. False when the strip cannot be loaded
// or the list not made.
[[nodiscard]] bool LoadImageListFromResource(orv::ScopedImageList& out, int count, const int* commandIds);

// The same from a strip already loaded (16 x 16 images in the order of the icon table), at
// `size` pixels (0: the screen's picture size).
[[nodiscard]] bool LoadImageListFromStrip(HIMAGELIST strip, orv::ScopedImageList& out, int count,
                                          const int* commandIds, int size = 0);
