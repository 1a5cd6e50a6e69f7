// The image lists every font list shares: font types, status overlays and group images, small
// (bitmap 914: 16 pixels at 96 DPI, the screen's picture size at other densities) and 32 pixels
// (916). Made by the first list that is initialised and kept for the whole run; drawing takes
// the 32-pixel images and scales them. The entry point destroys them after the message loop has
// ended, when no list is left to use them.
#pragma once

#include <windows.h>
#include <commctrl.h>

struct FontListImages {
  static constexpr int kImageCount = 14;

  HIMAGELIST small = nullptr;
  HIMAGELIST large = nullptr;
  HWND ownerList = nullptr;  // the list the image lists were set on

  static FontListImages& Get();
  static void Load(HWND firstList);
  // The 32-pixel image as an icon (made once), or null.
  static HICON Icon(int image);
  // Icon `id` of the resource library at `size` pixels (loaded once), or null.
  static HICON ResourceIcon(int id, int size);
  // Destroys both image lists and every icon made here; a list initialised later loads them again.
  static void Destroy();
};
