// The toolbar resource (type 241): which commands a toolbar strip holds and how big its images
// are. Layout, all little-endian WORDs: version (1), image width, image height, item count,
// then one command identifier per item, 0 for a separator. The image strip is the bitmap of the
// same identifier, one image per non-separator item, left to right.
#pragma once

#include <windows.h>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "framework/Handles.h"

namespace orv {

constexpr WORD kToolbarResourceType = 241;
constexpr WORD kToolbarResourceVersion = 1;

struct ToolbarResource {
  int ImageWidth = 0;
  int ImageHeight = 0;
  std::vector<WORD> Items;  // command identifiers, 0 = separator

  // Number of images the strip must hold (the items that are not separators).
  [[nodiscard]] size_t ImageCount() const;
  // Image index of a command in the strip, or -1.
  [[nodiscard]] int ImageOf(WORD command) const;
};

// Reads a resource blob; nothing when it is truncated, of another version, has a zero image size
// or a count that runs past its end.
[[nodiscard]] std::optional<ToolbarResource> ParseToolbarResource(const void* data, size_t size);

// Finds and parses toolbar resource `id` of `instance`.
[[nodiscard]] std::optional<ToolbarResource> LoadToolbarResource(HINSTANCE instance, UINT id);

// The strip bitmap `bitmapId` as an image list of `imageWidth`-wide images, scaled to the
// screen's density (images drawn for 96 DPI; at 96 DPI they stay as drawn). A 32-bit strip keeps
// its alpha; any other depth is masked by the colour of its top-left pixel.
[[nodiscard]] ScopedImageList LoadToolbarImageList(HINSTANCE instance, UINT bitmapId, int imageWidth, int imageHeight);

// The same from a strip bitmap already loaded (not taken over).
[[nodiscard]] ScopedImageList ImageListFromStrip(HBITMAP strip, int imageWidth, int imageHeight);

// A greyed, lighter copy of every image of `images` (32-bit, transparent where they are), the
// look of a disabled button. Empty when `images` is.
[[nodiscard]] ScopedImageList MakeDisabledImageList(HIMAGELIST images);

// Gives `toolbar` `images` for its buttons and a greyed copy of them for its disabled buttons,
// which would otherwise be drawn as flat grey squares from images that have no mask. Returns
// the copy: a toolbar does not own its image lists, so the caller keeps it as long as the
// toolbar (and `images` too).
[[nodiscard]] ScopedImageList SetToolbarImages(HWND toolbar, HIMAGELIST images);

}  // namespace orv
