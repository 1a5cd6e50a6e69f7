// Saving a drawn picture as an image file through GDI+: BMP, JPEG, GIF (converted to an 8-bit
// palette first, which GDI+'s GIF encoder needs to write a sound file) and PNG, with or
// without an alpha channel. Any thread, with a GdiplusSession alive on it.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

// Image formats by the number the export dialog and the save dialog use.
namespace image_format {
constexpr int kBmp = 1;
constexpr int kJpeg = 2;
constexpr int kGif = 3;
constexpr int kPng = 4;
}  // namespace image_format

// ".jpg", ".gif", ".png", or ".bmp" for any other number.
const wchar_t* ImageExtension(int format);

// GDI+ started for the lifetime of the object.
class GdiplusSession {
public:
  GdiplusSession();
  ~GdiplusSession();
  GdiplusSession(const GdiplusSession&) = delete;
  GdiplusSession& operator=(const GdiplusSession&) = delete;
  bool Ok() const { return token_ != 0; }

private:
  ULONG_PTR token_ = 0;
};

// A picture of 32-bit pixels, top row first, 0xAARRGGBB (the byte order of a 32-bit DIB).
struct Picture {
  int width = 0;
  int height = 0;
  std::vector<uint32_t> pixels;
  bool hasAlpha = false;
};

// The index of the palette entry nearest to `color` (0x00RRGGBB) in the GIF palette: the
// 216 web colours, a grey ramp and the two colours given as exact entries.
struct IndexedPalette {
  IndexedPalette(uint32_t exact1, uint32_t exact2);
  uint8_t Nearest(uint32_t color) const;
  uint32_t entries[256]{};
  int count = 0;
};

// Encodes `picture` into `path` with the format's encoder; false when nothing sound was written.
bool SavePicture(const Picture& picture, const std::wstring& path, int format);
