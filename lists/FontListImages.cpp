#include "lists/FontListImages.h"

#include "common/ResourceIds.h"
#include "framework/AppModule.h"

namespace {

HICON g_icons[FontListImages::kImageCount] = {};
bool g_iconsMade[FontListImages::kImageCount] = {};

HIMAGELIST LoadStrip(UINT id, int width) {
  return ImageList_LoadImageW(orv::g_Module.GetResourceInstance(), MAKEINTRESOURCEW(id), width, 0, CLR_NONE,
                              IMAGE_BITMAP, LR_CREATEDIBSECTION | LR_DEFAULTSIZE);
}

}  // namespace

FontListImages& FontListImages::Get() {
  static FontListImages images;
  return images;
}

void FontListImages::Load(HWND firstList) {
  FontListImages& images = Get();
  if (images.ownerList) return;
  images.small = LoadStrip(IDB_FONT_TYPES_SMALL, 16);
  images.large = LoadStrip(IDB_FONT_TYPES_LARGE, 32);
  images.ownerList = firstList;
}

HICON FontListImages::Icon(int image) {
  if (image < 0 || image >= kImageCount) return nullptr;
  if (!g_iconsMade[image]) {
    g_iconsMade[image] = true;
    if (Get().large) g_icons[image] = ImageList_GetIcon(Get().large, image, ILD_NORMAL);
  }
  return g_icons[image];
}
