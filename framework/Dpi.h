// The screen's pixel density and the sizes that follow it.
//
// The program is system-DPI aware (its manifest says so): the screen's LOGPIXELSY is the density
// of every window, read once per process (Windows and Wine fix it when the process starts; under
// Wine it is the prefix's "LogPixels" value of HKCU\Control Panel\Desktop). Sizes made for 96 DPI
// are scaled by dpi / 96, rounded; at 96 DPI every size stays as it is. Toolbar and menu
// pictures are drawn for 16 pixels and shown at PictureSizeForDpi (20 at 120 DPI, 24 at 144).
#pragma once

#include <windows.h>
#include <commctrl.h>

#include "framework/Handles.h"
#include "framework/ImageListPixels.h"

namespace orv {

inline constexpr int kBaseDpi = 96;
inline constexpr int kBasePictureSize = 16;

// The screen's density in dots per inch (96 when it cannot be read).
[[nodiscard]] int ScreenDpi();

// `pixels` at 96 DPI, at `dpi`.
[[nodiscard]] int ScaleToDpi(int pixels, int dpi);
[[nodiscard]] inline int ScaleToScreenDpi(int pixels) { return ScaleToDpi(pixels, ScreenDpi()); }

// The side of a toolbar or menu picture at `dpi`: 16 at 96 DPI.
[[nodiscard]] inline int PictureSizeForDpi(int dpi) { return ScaleToDpi(kBasePictureSize, dpi); }
[[nodiscard]] inline int ScreenPictureSize() { return PictureSizeForDpi(ScreenDpi()); }

// `image` resampled to `width` x `height`: each new pixel is the area-weighted mean of the old
// pixels it covers (premultiplied, so transparency is kept). The image itself when the size is
// the same; empty for an empty image or size.
[[nodiscard]] ImagePixels ScaleImagePixels(const ImagePixels& image, int width, int height);

// `images` with every picture resampled to `width` x `height` (a 32-bit list with alpha), in the
// same order. `images` itself when its pictures have that size already, so at 96 DPI nothing
// changes; empty when a picture cannot be made.
[[nodiscard]] ScopedImageList ScaleImageList(ScopedImageList images, int width, int height);

// `images` at the screen's picture size, from pictures drawn for 96 DPI.
[[nodiscard]] inline ScopedImageList ScaleImageListForScreen(ScopedImageList images) {
  int width = 0, height = 0;
  if (!images || !::ImageList_GetIconSize(images.Get(), &width, &height)) return images;
  return ScaleImageList(std::move(images), ScaleToScreenDpi(width), ScaleToScreenDpi(height));
}

}  // namespace orv
