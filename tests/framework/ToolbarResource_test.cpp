#include "framework/ToolbarResource.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

std::vector<uint8_t> Blob(std::initializer_list<WORD> words) {
  std::vector<uint8_t> bytes;
  for (WORD w : words) {
    bytes.push_back(static_cast<uint8_t>(w & 0xFF));
    bytes.push_back(static_cast<uint8_t>(w >> 8));
  }
  return bytes;
}

}  // namespace

TEST(ToolbarResource, ParsesCommandsAndSeparators) {
  const auto blob = Blob({1, 16, 15, 5, 170, 0, 142, 0xE800, 0});
  const auto res = orv::ParseToolbarResource(blob.data(), blob.size());
  ASSERT_TRUE(res);
  EXPECT_EQ(res->ImageWidth, 16);
  EXPECT_EQ(res->ImageHeight, 15);
  EXPECT_EQ(res->Items, (std::vector<WORD>{170, 0, 142, 0xE800, 0}));
  EXPECT_EQ(res->ImageCount(), 3u);
  EXPECT_EQ(res->ImageOf(170), 0);
  EXPECT_EQ(res->ImageOf(142), 1);
  EXPECT_EQ(res->ImageOf(0xE800), 2);
  EXPECT_EQ(res->ImageOf(999), -1);
  EXPECT_EQ(res->ImageOf(0), -1);  // a separator has no image
}

TEST(ToolbarResource, RejectsBrokenBlobs) {
  struct Case {
    const char* what;
    std::vector<uint8_t> bytes;
    bool ok;
  } cases[] = {
      {"empty", {}, false},
      {"half a header", Blob({1, 16}), false},
      {"header without count", Blob({1, 16, 16}), false},
      {"version 2", Blob({2, 16, 16, 1, 100}), false},
      {"zero width", Blob({1, 0, 16, 1, 100}), false},
      {"zero height", Blob({1, 16, 0, 1, 100}), false},
      {"count past the end", Blob({1, 16, 16, 3, 100, 101}), false},
      {"huge count", Blob({1, 16, 16, 0xFFFF, 100}), false},
      {"odd trailing byte in an item", [] { auto b = Blob({1, 16, 16, 2, 100}); b.push_back(7); return b; }(), false},
      {"no items", Blob({1, 16, 16, 0}), true},
      {"trailing padding kept out", Blob({1, 16, 16, 1, 100, 0, 0}), true},
  };
  for (const Case& c : cases) {
    const auto res = orv::ParseToolbarResource(c.bytes.empty() ? nullptr : c.bytes.data(), c.bytes.size());
    EXPECT_EQ(res.has_value(), c.ok) << c.what;
  }
  const auto padded = Blob({1, 16, 16, 1, 100, 0, 0});
  EXPECT_EQ(orv::ParseToolbarResource(padded.data(), padded.size())->Items.size(), 1u);
}

TEST(ToolbarResource, MissingResourceGivesNothing) {
  EXPECT_FALSE(orv::LoadToolbarResource(::GetModuleHandleW(nullptr), 4711));
  EXPECT_FALSE(orv::LoadToolbarImageList(::GetModuleHandleW(nullptr), 4711, 16, 16));
}

namespace {

// A strip of `count` 16 x 16 images: the top-left pixel of each is `background`, the rest `ink`.
orv::ScopedBitmap MakeStrip(int count, WORD bits, COLORREF background, COLORREF ink) {
  BITMAPINFO bi{};
  bi.bmiHeader = {sizeof(BITMAPINFOHEADER), 16 * count, -16, 1, bits, BI_RGB};
  void* pixels = nullptr;
  orv::ScopedBitmap bmp(::CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &pixels, nullptr, 0));
  orv::ScopedCreatedDC dc(::CreateCompatibleDC(nullptr));
  {
    orv::ScopedSelectObject select(dc.Get(), bmp.Get());
    orv::ScopedBrush back(::CreateSolidBrush(background)), fore(::CreateSolidBrush(ink));
    RECT all{0, 0, 16 * count, 16};
    ::FillRect(dc.Get(), &all, back.Get());
    for (int i = 0; i < count; ++i) {
      RECT r{16 * i + 4, 4, 16 * i + 12, 12};
      ::FillRect(dc.Get(), &r, fore.Get());
    }
  }
  return bmp;
}

}  // namespace

TEST(ToolbarImages, MaskedByTheTopLeftColourOrKeptWithAlpha) {
  for (WORD bits : {24, 16, 32}) {
    orv::ScopedBitmap strip = MakeStrip(3, bits, RGB(255, 0, 255), RGB(0, 0, 255));
    orv::ScopedImageList list = orv::ImageListFromStrip(strip.Get(), 16, 16);
    ASSERT_TRUE(list) << bits;
    EXPECT_EQ(::ImageList_GetImageCount(list.Get()), 3) << bits;
    int cx = 0, cy = 0;
    ::ImageList_GetIconSize(list.Get(), &cx, &cy);
    EXPECT_EQ(cx, 16);
    EXPECT_EQ(cy, 16);
    IMAGEINFO info{};
    ASSERT_TRUE(::ImageList_GetImageInfo(list.Get(), 1, &info));
    if (bits == 32) continue;  // alpha strips carry no mask
    ASSERT_TRUE(info.hbmMask) << bits;
    // Drawn onto white, the background shows white and the ink stays.
    orv::ScopedGetDC screen(nullptr);
    orv::ScopedCreatedDC dc(::CreateCompatibleDC(screen.Get()));
    orv::ScopedBitmap canvas(::CreateCompatibleBitmap(screen.Get(), 16, 16));
    orv::ScopedSelectObject select(dc.Get(), canvas.Get());
    RECT rc{0, 0, 16, 16};
    ::FillRect(dc.Get(), &rc, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
    ::ImageList_Draw(list.Get(), 1, dc.Get(), 0, 0, ILD_TRANSPARENT);
    EXPECT_EQ(::GetPixel(dc.Get(), 1, 1), RGB(255, 255, 255)) << bits;
    EXPECT_EQ(::GetPixel(dc.Get(), 8, 8), RGB(0, 0, 255)) << bits;
  }
  // A strip narrower than one image, or no image size, gives nothing.
  orv::ScopedBitmap narrow = MakeStrip(1, 24, RGB(255, 0, 255), RGB(0, 0, 0));
  EXPECT_FALSE(orv::ImageListFromStrip(narrow.Get(), 32, 16));
  EXPECT_FALSE(orv::ImageListFromStrip(narrow.Get(), 0, 16));
  EXPECT_FALSE(orv::ImageListFromStrip(nullptr, 16, 16));
}
