#include "framework/ToolbarResource.h"

#include <commctrl.h>

namespace orv {

namespace {

// Bounds-checked reads of little-endian words from a resource blob.
class WordReader {
public:
  WordReader(const void* data, size_t size) : data_(static_cast<const uint8_t*>(data)), size_(data ? size : 0) {}
  [[nodiscard]] bool Read(WORD& out) {
    if (size_ - pos_ < 2) return false;
    out = static_cast<WORD>(data_[pos_] | (data_[pos_ + 1] << 8));
    pos_ += 2;
    return true;
  }
  size_t Remaining() const { return size_ - pos_; }

private:
  const uint8_t* data_;
  size_t size_;
  size_t pos_ = 0;
};

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
  WordReader reader(data, size);
  WORD version = 0, width = 0, height = 0, count = 0;
  if (!reader.Read(version) || !reader.Read(width) || !reader.Read(height) || !reader.Read(count)) return std::nullopt;
  if (version != kToolbarResourceVersion || width == 0 || height == 0) return std::nullopt;
  if (reader.Remaining() / 2 < count) return std::nullopt;
  ToolbarResource res;
  res.ImageWidth = width;
  res.ImageHeight = height;
  res.Items.resize(count);
  for (WORD& id : res.Items)
    if (!reader.Read(id)) return std::nullopt;
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
  return ImageListFromStrip(strip.Get(), imageWidth, imageHeight);
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

}  // namespace orv
