// A resource library of our own for the tests of the command icons: a copy of the real one
// whose bitmap 128 is a strip with one solid colour per image, made the resource instance
// while the object lives.
#pragma once

#include <windows.h>
#include <commctrl.h>
#include <string>

#include "tests/support/TestSupport.h"

class TestStripLibrary {
public:
  TestStripLibrary();
  ~TestStripLibrary();
  bool Loaded() const { return module_ != nullptr; }
  static COLORREF Colour(int image);

private:
  testing_support::ScratchDir dir_;
  HMODULE module_ = nullptr;
  HINSTANCE previous_ = nullptr;
};

// The colour of pixel (x, y) of an image of a list, drawn on `background`.
COLORREF ImagePixel(HIMAGELIST list, int image, int x, int y, COLORREF background, UINT drawStyle = ILD_NORMAL);
// The colour of pixel (x, y) of a bitmap.
COLORREF BitmapPixel(HBITMAP bitmap, int x, int y);
// True when every channel differs by at most `tolerance`.
bool NearColour(COLORREF a, COLORREF b, int tolerance);
