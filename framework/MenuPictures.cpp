#include "framework/MenuPictures.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "framework/ImageListPixels.h"

namespace orv {

namespace {

// Wine copies an item's picture as it is, without its transparency: each picture is laid on the
// menu colour first and made opaque, which Windows draws the same way. A few columns of menu
// colour on its right keep the text off the picture.
ScopedBitmap OnMenuColour(const ImagePixels& picture) {
  ImagePixels image;
  image.Width = picture.Width + kMenuPictureGap;
  image.Height = picture.Height;
  image.Pixels.assign(static_cast<size_t>(image.Width) * static_cast<size_t>(image.Height), 0);
  for (int y = 0; y < picture.Height; ++y)
    for (int x = 0; x < picture.Width; ++x)
      image.Pixels[static_cast<size_t>(y) * image.Width + x] = picture.Pixels[static_cast<size_t>(y) * picture.Width + x];
  const COLORREF menu = ::GetSysColor(COLOR_MENU);
  const uint32_t paper[3] = {GetBValue(menu), GetGValue(menu), GetRValue(menu)};
  for (uint32_t& p : image.Pixels) {
    const uint32_t alpha = p >> 24;
    uint32_t opaque = 0xFF000000;
    for (int c = 0; c < 3; ++c) {
      const uint32_t value = ((p >> (8 * c)) & 0xFF) + (paper[c] * (0xFF - alpha) + 0x7F) / 0xFF;
      opaque |= std::min<uint32_t>(value, 0xFF) << (8 * c);
    }
    p = opaque;
  }
  return MakePremultipliedBitmap(image);
}

}  // namespace

ScopedBitmap MakeMenuPicture(HIMAGELIST images, int index) {
  ImagePixels image = ReadImagePixels(images, index);
  if (image.Empty()) return {};
  return OnMenuColour(image);
}

HBITMAP BlankMenuPicture() {
  static const ScopedBitmap blank = [] {
    ImagePixels empty;
    empty.Width = empty.Height = kMenuPictureSize;
    empty.Pixels.assign(static_cast<size_t>(kMenuPictureSize) * kMenuPictureSize, 0);
    return OnMenuColour(empty);
  }();
  return blank.Get();
}

bool ArrangeMenuPictures(HMENU popup) {
  const int count = popup ? ::GetMenuItemCount(popup) : 0;
  std::vector<UINT> bare;  // text items without a picture, by position
  bool pictures = false;
  for (int i = 0; i < count; ++i) {
    MENUITEMINFOW mii{sizeof(mii)};
    mii.fMask = MIIM_FTYPE | MIIM_BITMAP;
    if (!::GetMenuItemInfoW(popup, static_cast<UINT>(i), TRUE, &mii) ||
        (mii.fType & (MFT_SEPARATOR | MFT_OWNERDRAW | MFT_BITMAP)))
      continue;
    if (!mii.hbmpItem) bare.push_back(static_cast<UINT>(i));
    else if (mii.hbmpItem != BlankMenuPicture()) pictures = true;
  }
  if (!pictures) return false;
  MENUINFO info{sizeof(info)};
  info.fMask = MIM_STYLE;
  if (::GetMenuInfo(popup, &info) && (info.dwStyle & (MNS_CHECKORBMP | MNS_NOCHECK))) {
    info.dwStyle &= ~(MNS_CHECKORBMP | MNS_NOCHECK);
    ::SetMenuInfo(popup, &info);
  }
  for (UINT position : bare) {
    MENUITEMINFOW set{sizeof(set)};
    set.fMask = MIIM_BITMAP;
    set.hbmpItem = BlankMenuPicture();
    ::SetMenuItemInfoW(popup, position, TRUE, &set);
  }
  return true;
}

}  // namespace orv
