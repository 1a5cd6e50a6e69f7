#include "tests/common/CommandIconStrip.h"

#include <commctrl.h>

#include <cstdlib>
#include <vector>

#include "framework/AppModule.h"
#include "framework/Handles.h"

namespace {

constexpr int kStripImages = 32;
constexpr int kImageSize = 16;

std::vector<BYTE> StripDib() {
  const int width = kStripImages * kImageSize;
  const int stride = width * 3;  // a multiple of four already
  std::vector<BYTE> dib(sizeof(BITMAPINFOHEADER) + static_cast<size_t>(stride) * kImageSize);
  auto* header = reinterpret_cast<BITMAPINFOHEADER*>(dib.data());
  header->biSize = sizeof(BITMAPINFOHEADER);
  header->biWidth = width;
  header->biHeight = kImageSize;
  header->biPlanes = 1;
  header->biBitCount = 24;
  header->biCompression = BI_RGB;
  BYTE* bits = dib.data() + sizeof(BITMAPINFOHEADER);
  for (int y = 0; y < kImageSize; ++y) {
    for (int x = 0; x < width; ++x) {
      const COLORREF c = TestStripLibrary::Colour(x / kImageSize);
      BYTE* p = bits + y * stride + x * 3;
      p[0] = GetBValue(c);
      p[1] = GetGValue(c);
      p[2] = GetRValue(c);
    }
  }
  return dib;
}

}  // namespace

COLORREF TestStripLibrary::Colour(int image) {
  return RGB(10 + image * 7, 220 - image * 5, 40 + (image * 37) % 200);
}

TestStripLibrary::TestStripLibrary() {
  const std::wstring copy = dir_.File(L"StripRes.dll");
  if (!::CopyFileW((testing_support::BinDir() + L"\\OrvelRes64.dll").c_str(), copy.c_str(), FALSE)) return;
  HANDLE update = ::BeginUpdateResourceW(copy.c_str(), FALSE);
  if (!update) return;
  std::vector<BYTE> dib = StripDib();
  const bool added = ::UpdateResourceW(update, RT_BITMAP, MAKEINTRESOURCEW(128),
                                       MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US), dib.data(),
                                       static_cast<DWORD>(dib.size())) != FALSE;
  if (!::EndUpdateResourceW(update, !added) || !added) return;
  module_ = ::LoadLibraryW(copy.c_str());
  if (module_) previous_ = orv::g_Module.SetResourceInstance(module_);
}

TestStripLibrary::~TestStripLibrary() {
  if (!module_) return;
  orv::g_Module.SetResourceInstance(previous_);
  ::FreeLibrary(module_);
}

COLORREF ImagePixel(HIMAGELIST list, int image, int x, int y, COLORREF background, UINT drawStyle) {
  int w = 0;
  int h = 0;
  ::ImageList_GetIconSize(list, &w, &h);
  orv::ScopedGetDC screen(nullptr);
  orv::ScopedCreatedDC dc(::CreateCompatibleDC(screen.Get()));
  BITMAPINFO bi{};
  bi.bmiHeader = {sizeof(BITMAPINFOHEADER), w, -h, 1, 32, BI_RGB};
  void* bits = nullptr;
  orv::ScopedBitmap dib(::CreateDIBSection(screen.Get(), &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
  orv::ScopedSelectObject select(dc.Get(), dib.Get());
  orv::ScopedBrush brush(::CreateSolidBrush(background));
  const RECT all{0, 0, w, h};
  ::FillRect(dc.Get(), &all, brush.Get());
  ::ImageList_Draw(list, image, dc.Get(), 0, 0, drawStyle);
  ::GdiFlush();
  return ::GetPixel(dc.Get(), x, y);
}

COLORREF BitmapPixel(HBITMAP bitmap, int x, int y) {
  orv::ScopedGetDC screen(nullptr);
  orv::ScopedCreatedDC dc(::CreateCompatibleDC(screen.Get()));
  orv::ScopedSelectObject select(dc.Get(), bitmap);
  return ::GetPixel(dc.Get(), x, y);
}

bool NearColour(COLORREF a, COLORREF b, int tolerance) {
  return std::abs(GetRValue(a) - GetRValue(b)) <= tolerance && std::abs(GetGValue(a) - GetGValue(b)) <= tolerance &&
         std::abs(GetBValue(a) - GetBValue(b)) <= tolerance;
}
