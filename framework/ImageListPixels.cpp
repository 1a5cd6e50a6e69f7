#include "framework/ImageListPixels.h"

#include <algorithm>
#include <cstring>

namespace orv {

namespace {

// The image drawn on a background of one grey value, as 0x00RRGGBB pixels.
bool DrawOn(HIMAGELIST images, int index, int width, int height, BYTE background, std::vector<uint32_t>& out) {
  uint32_t* bits = nullptr;
  ScopedBitmap dib = CreateTopDownDib(width, height, &bits);
  ScopedCreatedDC dc(::CreateCompatibleDC(nullptr));
  if (!dib || !dc) return false;
  const size_t count = static_cast<size_t>(width) * static_cast<size_t>(height);
  std::fill(bits, bits + count, RGB(background, background, background));
  {
    ScopedSelectObject select(dc.Get(), dib.Get());
    if (!::ImageList_Draw(images, index, dc.Get(), 0, 0, ILD_TRANSPARENT)) return false;
    ::GdiFlush();
  }
  out.assign(bits, bits + count);
  return true;
}

uint32_t Channel(uint32_t pixel, int shift) { return (pixel >> shift) & 0xFF; }

}  // namespace

ScopedBitmap CreateTopDownDib(int width, int height, uint32_t** bits) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* raw = nullptr;
  ScopedBitmap dib(width > 0 && height > 0 ? ::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &raw, nullptr, 0)
                                           : nullptr);
  if (bits) *bits = dib ? static_cast<uint32_t*>(raw) : nullptr;
  return dib;
}

ImagePixels ReadImagePixels(HIMAGELIST images, int index) {
  ImagePixels result;
  int width = 0, height = 0;
  if (!images || index < 0 || index >= ::ImageList_GetImageCount(images) ||
      !::ImageList_GetIconSize(images, &width, &height) || width <= 0 || height <= 0)
    return result;
  std::vector<uint32_t> onBlack, onWhite;
  if (!DrawOn(images, index, width, height, 0, onBlack) || !DrawOn(images, index, width, height, 0xFF, onWhite))
    return result;
  // Over black a pixel shows colour * alpha; over white that plus (1 - alpha) * 255.
  result.Width = width;
  result.Height = height;
  result.Pixels.resize(onBlack.size());
  for (size_t i = 0; i < onBlack.size(); ++i) {
    uint32_t spread = 0;
    for (int shift : {0, 8, 16}) {
      const uint32_t b = Channel(onBlack[i], shift), w = Channel(onWhite[i], shift);
      spread = std::max(spread, w > b ? w - b : 0u);
    }
    const uint32_t alpha = 0xFF - spread;
    uint32_t pixel = alpha << 24;
    for (int shift : {0, 8, 16}) pixel |= std::min(Channel(onBlack[i], shift), alpha) << shift;
    result.Pixels[i] = alpha ? pixel : 0;
  }
  return result;
}

ScopedBitmap MakePremultipliedBitmap(const ImagePixels& image) {
  if (image.Empty()) return {};
  uint32_t* bits = nullptr;
  ScopedBitmap dib = CreateTopDownDib(image.Width, image.Height, &bits);
  if (dib) std::memcpy(bits, image.Pixels.data(), image.Pixels.size() * sizeof(uint32_t));
  return dib;
}

ScopedBitmap MakeStraightAlphaBitmap(const ImagePixels& image) {
  if (image.Empty()) return {};
  uint32_t* bits = nullptr;
  ScopedBitmap dib = CreateTopDownDib(image.Width, image.Height, &bits);
  if (!dib) return dib;
  for (size_t i = 0; i < image.Pixels.size(); ++i) {
    const uint32_t p = image.Pixels[i], alpha = p >> 24;
    uint32_t straight = alpha << 24;
    if (alpha)
      for (int shift : {0, 8, 16}) straight |= std::min(0xFFu, (Channel(p, shift) * 0xFF + alpha / 2) / alpha) << shift;
    bits[i] = straight;
  }
  return dib;
}

}  // namespace orv
