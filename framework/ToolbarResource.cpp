#include "framework/ToolbarResource.h"

#include <commctrl.h>

#include <algorithm>

#include "framework/ByteReader.h"
#include "framework/Dpi.h"
#include "framework/ImageListPixels.h"

namespace orv {

namespace {

// A disabled picture: each pixel's brightness, moved half way towards white, a quarter more
// transparent than it was.
constexpr uint32_t kDisabledWhiteShare = 128;  // of 256
constexpr uint32_t kDisabledOpacity = 192;     // of 256

void GreyOut(ImagePixels& image) {
  for (uint32_t& p : image.Pixels) {
    const uint32_t alpha = p >> 24;
    if (!alpha) continue;
    const uint32_t r = (p >> 16) & 0xFF, g = (p >> 8) & 0xFF, b = p & 0xFF;
    // Straight brightness of the premultiplied colour.
    const uint32_t luma = std::min(0xFFu, ((r * 77 + g * 150 + b * 29) / 256 * 0xFF + alpha / 2) / alpha);
    const uint32_t grey = luma + (0xFF - luma) * kDisabledWhiteShare / 256;
    const uint32_t newAlpha = alpha * kDisabledOpacity / 256;
    const uint32_t premultiplied = (grey * newAlpha + 0x7F) / 0xFF;
    p = (newAlpha << 24) | (premultiplied << 16) | (premultiplied << 8) | premultiplied;
  }
}

}  // namespace

size_t ToolbarResource::ImageCount() const {
  size_t n = 0;
  for (WORD id : Items)
    if (id != 0) ++n;
  return n;
}

int ToolbarResource::ImageOf(WORD command) const {
  if (command == 0) return -1;
  int image = 0;
  for (WORD id : Items) {
    if (id == 0) continue;
    if (id == command) return image;
    ++image;
  }
  return -1;
}

std::optional<ToolbarResource> ParseToolbarResource(const void* data, size_t size) {
  // The resource is little-endian words: version, image width, image height, count, then the
  // command of each item (0 for a separator).
  const ByteReader reader(data, data ? size : 0);
  uint16_t version = 0, width = 0, height = 0, count = 0;
  if (!reader.U16LE(0, version) || !reader.U16LE(2, width) || !reader.U16LE(4, height) || !reader.U16LE(6, count))
    return std::nullopt;
  if (version != kToolbarResourceVersion || width == 0 || height == 0) return std::nullopt;
  constexpr uint64_t kItems = 8;
  if (!reader.Has(kItems, uint64_t{count} * 2)) return std::nullopt;
  ToolbarResource res;
  res.ImageWidth = width;
  res.ImageHeight = height;
  res.Items.resize(count);
  for (uint16_t i = 0; i < count; ++i) {
    uint16_t id = 0;
    if (!reader.U16LE(kItems + uint64_t{i} * 2, id)) return std::nullopt;
    res.Items[i] = id;
  }
  return res;
}

std::optional<ToolbarResource> LoadToolbarResource(HINSTANCE instance, UINT id) {
  HRSRC info = ::FindResourceW(instance, MAKEINTRESOURCEW(id), MAKEINTRESOURCEW(kToolbarResourceType));
  if (!info) return std::nullopt;
  HGLOBAL block = ::LoadResource(instance, info);
  const void* data = block ? ::LockResource(block) : nullptr;
  if (!data) return std::nullopt;
  return ParseToolbarResource(data, ::SizeofResource(instance, info));
}

ScopedImageList LoadToolbarImageList(HINSTANCE instance, UINT bitmapId, int imageWidth, int imageHeight) {
  ScopedBitmap strip(static_cast<HBITMAP>(
      ::LoadImageW(instance, MAKEINTRESOURCEW(bitmapId), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
  if (!strip) return {};
  return ScaleImageListForScreen(ImageListFromStrip(strip.Get(), imageWidth, imageHeight));
}

ScopedImageList ImageListFromStrip(HBITMAP strip, int imageWidth, int imageHeight) {
  if (!strip || imageWidth <= 0 || imageHeight <= 0) return {};
  BITMAP bm{};
  if (!::GetObjectW(strip, sizeof(bm), &bm) || bm.bmWidth < imageWidth) return {};
  const int count = bm.bmWidth / imageWidth;
  const bool alpha = bm.bmBitsPixel == 32;
  ScopedImageList list(::ImageList_Create(imageWidth, imageHeight, alpha ? ILC_COLOR32 : (ILC_COLOR24 | ILC_MASK),
                                          count, 4));
  if (!list) return {};
  if (alpha) {
    if (::ImageList_Add(list.Get(), strip, nullptr) < 0) return {};
  } else {
    ScopedCreatedDC dc(::CreateCompatibleDC(nullptr));
    COLORREF mask = RGB(192, 192, 192);
    if (dc) {
      ScopedSelectObject select(dc.Get(), strip);
      mask = ::GetPixel(dc.Get(), 0, 0);
    }
    if (::ImageList_AddMasked(list.Get(), strip, mask) < 0) return {};
  }
  return list;
}

ScopedImageList MakeDisabledImageList(HIMAGELIST images) {
  int width = 0, height = 0;
  if (!images || !::ImageList_GetIconSize(images, &width, &height)) return {};
  const int count = ::ImageList_GetImageCount(images);
  ScopedImageList disabled(::ImageList_Create(width, height, ILC_COLOR32, count, 4));
  if (!disabled) return {};
  for (int i = 0; i < count; ++i) {
    ImagePixels image = ReadImagePixels(images, i);
    if (image.Empty()) {
      // Keeps the later images at their indexes.
      image.Width = width;
      image.Height = height;
      image.Pixels.assign(static_cast<size_t>(width) * static_cast<size_t>(height), 0);
    }
    GreyOut(image);
    ScopedBitmap bitmap = MakeStraightAlphaBitmap(image);
    if (!bitmap || ::ImageList_Add(disabled.Get(), bitmap.Get(), nullptr) < 0) return {};
  }
  return disabled;
}

ScopedImageList SetToolbarImages(HWND toolbar, HIMAGELIST images) {
  if (!toolbar || !images) return {};
  ScopedImageList disabled = MakeDisabledImageList(images);
  ::SendMessageW(toolbar, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(images));
  if (disabled) ::SendMessageW(toolbar, TB_SETDISABLEDIMAGELIST, 0, reinterpret_cast<LPARAM>(disabled.Get()));
  return disabled;
}

}  // namespace orv
