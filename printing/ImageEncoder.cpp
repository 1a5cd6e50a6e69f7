#include "printing/ImageEncoder.h"

#include <algorithm>

#include <objidl.h>
using std::max;
using std::min;
#include <gdiplus.h>

namespace {

constexpr int kCubeLevels = 6;
constexpr int kCubeStep = 51;  // 0, 51, ..., 255
constexpr int kGreyEntries = 38;

int Red(uint32_t c) { return (c >> 16) & 0xFF; }
int Green(uint32_t c) { return (c >> 8) & 0xFF; }
int Blue(uint32_t c) { return c & 0xFF; }
uint32_t Rgb(int r, int g, int b) { return (uint32_t(r) << 16) | (uint32_t(g) << 8) | uint32_t(b); }
int Distance(uint32_t a, uint32_t b) {
  const int dr = Red(a) - Red(b), dg = Green(a) - Green(b), db = Blue(a) - Blue(b);
  return dr * dr + dg * dg + db * db;
}

const wchar_t* MimeType(int format) {
  switch (format) {
    case image_format::kJpeg: return L"image/jpeg";
    case image_format::kGif: return L"image/gif";
    case image_format::kPng: return L"image/png";
    default: return L"image/bmp";
  }
}

bool FindEncoder(const wchar_t* mime, CLSID& clsid) {
  UINT count = 0, size = 0;
  if (Gdiplus::GetImageEncodersSize(&count, &size) != Gdiplus::Ok || size == 0) return false;
  std::vector<BYTE> buffer(size);
  auto* codecs = reinterpret_cast<Gdiplus::ImageCodecInfo*>(buffer.data());
  if (Gdiplus::GetImageEncoders(count, size, codecs) != Gdiplus::Ok) return false;
  for (UINT i = 0; i < count; ++i) {
    if (wcscmp(codecs[i].MimeType, mime) == 0) {
      clsid = codecs[i].Clsid;
      return true;
    }
  }
  return false;
}

}  // namespace

const wchar_t* ImageExtension(int format) {
  switch (format) {
    case image_format::kJpeg: return L".jpg";
    case image_format::kGif: return L".gif";
    case image_format::kPng: return L".png";
    default: return L".bmp";
  }
}

GdiplusSession::GdiplusSession() {
  Gdiplus::GdiplusStartupInput input;
  if (Gdiplus::GdiplusStartup(&token_, &input, nullptr) != Gdiplus::Ok) token_ = 0;
}

GdiplusSession::~GdiplusSession() {
  if (token_) Gdiplus::GdiplusShutdown(token_);
}

IndexedPalette::IndexedPalette(uint32_t exact1, uint32_t exact2) {
  for (int r = 0; r < kCubeLevels; ++r)
    for (int g = 0; g < kCubeLevels; ++g)
      for (int b = 0; b < kCubeLevels; ++b) entries[count++] = Rgb(r * kCubeStep, g * kCubeStep, b * kCubeStep);
  for (int i = 1; i <= kGreyEntries; ++i) {
    const int v = i * 255 / (kGreyEntries + 1);
    entries[count++] = Rgb(v, v, v);
  }
  entries[count++] = exact1 & 0xFFFFFF;
  entries[count++] = exact2 & 0xFFFFFF;
}

uint8_t IndexedPalette::Nearest(uint32_t color) const {
  color &= 0xFFFFFF;
  int best = 0, bestDistance = INT32_MAX;
  for (int i = 0; i < count; ++i) {
    const int d = Distance(color, entries[i]);
    if (d < bestDistance) {
      best = i;
      bestDistance = d;
      if (d == 0) break;
    }
  }
  return static_cast<uint8_t>(best);
}

bool SavePicture(const Picture& picture, const std::wstring& path, int format) {
  if (picture.width <= 0 || picture.height <= 0 ||
      picture.pixels.size() != size_t(picture.width) * size_t(picture.height))
    return false;
  CLSID encoder{};
  if (!FindEncoder(MimeType(format), encoder)) return false;
  Gdiplus::Status status = Gdiplus::GenericError;
  if (format == image_format::kGif) {
    // The background (top left) and the first other colour (the text's) get exact entries.
    const uint32_t background = picture.pixels.front() & 0xFFFFFF;
    uint32_t ink = background;
    for (uint32_t p : picture.pixels)
      if ((p & 0xFFFFFF) != background) {
        ink = p & 0xFFFFFF;
        break;
      }
    const IndexedPalette palette(background, ink);
    const int stride = (picture.width + 3) & ~3;
    std::vector<BYTE> indices(size_t(stride) * size_t(picture.height));
    const uint8_t backgroundIndex = palette.Nearest(background), inkIndex = palette.Nearest(ink);
    std::vector<uint8_t> cache(1 << 15, 0xFF);  // 15-bit colour -> index, filled lazily
    for (int y = 0; y < picture.height; ++y)
      for (int x = 0; x < picture.width; ++x) {
        const uint32_t p = picture.pixels[size_t(y) * picture.width + x] & 0xFFFFFF;
        const size_t key = ((p >> 9) & 0x7C00) | ((p >> 6) & 0x3E0) | ((p >> 3) & 0x1F);
        if (p == background || p == ink) {
          indices[size_t(y) * stride + x] = p == background ? backgroundIndex : inkIndex;
          continue;
        }
        if (cache[key] == 0xFF) cache[key] = palette.Nearest(p);
        indices[size_t(y) * stride + x] = cache[key];
      }
    Gdiplus::Bitmap bitmap(picture.width, picture.height, stride, PixelFormat8bppIndexed, indices.data());
    std::vector<BYTE> paletteData(sizeof(Gdiplus::ColorPalette) + sizeof(Gdiplus::ARGB) * 256);
    auto* colors = reinterpret_cast<Gdiplus::ColorPalette*>(paletteData.data());
    colors->Flags = 0;
    colors->Count = static_cast<UINT>(palette.count);
    for (int i = 0; i < palette.count; ++i) colors->Entries[i] = 0xFF000000 | palette.entries[i];
    bitmap.SetPalette(colors);
    status = bitmap.Save(path.c_str(), &encoder, nullptr);
  } else {
    const Gdiplus::PixelFormat pixelFormat = picture.hasAlpha ? PixelFormat32bppARGB : PixelFormat32bppRGB;
    Gdiplus::Bitmap bitmap(picture.width, picture.height, picture.width * 4, pixelFormat,
                           reinterpret_cast<BYTE*>(const_cast<uint32_t*>(picture.pixels.data())));
    status = bitmap.Save(path.c_str(), &encoder, nullptr);
  }
  if (status != Gdiplus::Ok) {
    ::DeleteFileW(path.c_str());
    return false;
  }
  return true;
}
