#include "framework/Dpi.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace orv {

namespace {

// For each new pixel along one side: the old pixels it covers and how much of each (the weights
// of one new pixel add up to 1).
struct Span {
  int first = 0;
  std::vector<double> weights;
};

std::vector<Span> Coverage(int from, int to) {
  std::vector<Span> spans(static_cast<size_t>(to));
  const double step = static_cast<double>(from) / to;
  for (int i = 0; i < to; ++i) {
    const double begin = i * step, end = (i + 1) * step;
    Span& s = spans[static_cast<size_t>(i)];
    s.first = static_cast<int>(std::floor(begin));
    for (int p = s.first; p < from && p < end; ++p) {
      const double covered = std::min(end, p + 1.0) - std::max(begin, static_cast<double>(p));
      if (covered > 0) s.weights.push_back(covered / step);
      else if (s.weights.empty()) ++s.first;
    }
  }
  return spans;
}

}  // namespace

int ScreenDpi() {
  static const int dpi = [] {
    ScopedGetDC screen(nullptr);
    const int value = screen ? ::GetDeviceCaps(screen.Get(), LOGPIXELSY) : 0;
    return value > 0 ? value : kBaseDpi;
  }();
  return dpi;
}

int ScaleToDpi(int pixels, int dpi) { return dpi == kBaseDpi ? pixels : ::MulDiv(pixels, dpi, kBaseDpi); }

ImagePixels ScaleImagePixels(const ImagePixels& image, int width, int height) {
  if (image.Empty() || width <= 0 || height <= 0) return {};
  if (image.Width == width && image.Height == height) return image;
  const std::vector<Span> across = Coverage(image.Width, width), down = Coverage(image.Height, height);
  ImagePixels result;
  result.Width = width;
  result.Height = height;
  result.Pixels.resize(static_cast<size_t>(width) * static_cast<size_t>(height));
  for (int y = 0; y < height; ++y) {
    const Span& rows = down[static_cast<size_t>(y)];
    for (int x = 0; x < width; ++x) {
      const Span& columns = across[static_cast<size_t>(x)];
      double sum[4] = {};  // premultiplied channels, then alpha
      for (size_t j = 0; j < rows.weights.size(); ++j)
        for (size_t i = 0; i < columns.weights.size(); ++i) {
          const uint32_t p = image.Pixels[static_cast<size_t>(rows.first + static_cast<int>(j)) * image.Width +
                                          static_cast<size_t>(columns.first + static_cast<int>(i))];
          const double w = rows.weights[j] * columns.weights[i];
          for (int c = 0; c < 4; ++c) sum[c] += w * ((p >> (8 * c)) & 0xFF);
        }
      uint32_t pixel = 0;
      const uint32_t alpha = static_cast<uint32_t>(std::clamp(std::lround(sum[3]), 0L, 255L));
      if (alpha) {
        pixel = alpha << 24;
        for (int c = 0; c < 3; ++c)
          pixel |= static_cast<uint32_t>(std::clamp(std::lround(sum[c]), 0L, static_cast<long>(alpha))) << (8 * c);
      }
      result.Pixels[static_cast<size_t>(y) * width + x] = pixel;
    }
  }
  return result;
}

ScopedImageList ScaleImageList(ScopedImageList images, int width, int height) {
  int oldWidth = 0, oldHeight = 0;
  if (!images || !::ImageList_GetIconSize(images.Get(), &oldWidth, &oldHeight)) return {};
  if (oldWidth == width && oldHeight == height) return images;
  if (width <= 0 || height <= 0) return {};
  const int count = ::ImageList_GetImageCount(images.Get());
  ScopedImageList scaled(::ImageList_Create(width, height, ILC_COLOR32, count, 4));
  if (!scaled) return {};
  for (int i = 0; i < count; ++i) {
    ImagePixels picture = ScaleImagePixels(ReadImagePixels(images.Get(), i), width, height);
    if (picture.Empty()) {  // keeps the later pictures at their indexes
      picture.Width = width;
      picture.Height = height;
      picture.Pixels.assign(static_cast<size_t>(width) * static_cast<size_t>(height), 0);
    }
    ScopedBitmap bitmap = MakeStraightAlphaBitmap(picture);
    if (!bitmap || ::ImageList_Add(scaled.Get(), bitmap.Get(), nullptr) < 0) return {};
  }
  return scaled;
}

}  // namespace orv
