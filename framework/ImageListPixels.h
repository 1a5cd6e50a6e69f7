// The pixels of one image of an image list, with its transparency, whatever kind of list it is.
//
// An image list keeps its pictures as colour plus alpha (32-bit lists) or colour plus a mask
// (older depths); drawing such a picture somewhere else keeps its look only when that
// transparency comes along. ReadImagePixels draws the image once on black and once on white
// and takes the alpha of each pixel from the difference, so it works for both kinds.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <cstdint>
#include <vector>

#include "framework/Handles.h"

namespace orv {

// Width, height and top-down 0xAARRGGBB pixels with premultiplied colour (a fully transparent
// pixel is 0).
struct ImagePixels {
  int Width = 0;
  int Height = 0;
  std::vector<uint32_t> Pixels;

  [[nodiscard]] bool Empty() const { return Pixels.empty(); }
};

// A 32-bit top-down DIB section of that size and its pixels (0xAARRGGBB, row by row); null for
// an empty size.
[[nodiscard]] ScopedBitmap CreateTopDownDib(int width, int height, uint32_t** bits);

// Image `index` of `images`; empty when the list has no such image or a bitmap cannot be made.
[[nodiscard]] ImagePixels ReadImagePixels(HIMAGELIST images, int index);

// A 32-bit top-down DIB section holding `image` as it is (premultiplied alpha), the kind that
// menus and AlphaBlend draw with their transparency. Null for an empty image.
[[nodiscard]] ScopedBitmap MakePremultipliedBitmap(const ImagePixels& image);

// The same colours with straight (not premultiplied) alpha, the kind an image list takes.
[[nodiscard]] ScopedBitmap MakeStraightAlphaBitmap(const ImagePixels& image);

}  // namespace orv
