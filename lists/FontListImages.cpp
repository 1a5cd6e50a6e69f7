#include "lists/FontListImages.h"

#include <map>
#include <utility>

#include "common/ResourceIds.h"
#include "framework/AppModule.h"
#include "framework/Dpi.h"

namespace {

HICON g_icons[FontListImages::kImageCount] = {};
bool g_iconsMade[FontListImages::kImageCount] = {};
// Rows draw these at every paint: each is loaded once (a missing one stays null) and owned here.
std::map<std::pair<int, int>, orv::ScopedIcon> g_resourceIcons;

HIMAGELIST LoadStrip(UINT id, int width) {
  return ImageList_LoadImageW(orv::g_Module.GetResourceInstance(), MAKEINTRESOURCEW(id), width, 0, CLR_NONE,
                              IMAGE_BITMAP, LR_CREATEDIBSECTION | LR_DEFAULTSIZE);
}

// The small pictures at the screen's picture size: the 16-pixel strip at 96 DPI, else the 32-pixel
// one brought down to the size, which keeps more of the pictures than the small one blown up.
HIMAGELIST LoadSmallStrip() {
  const int size = orv::ScreenPictureSize();
  if (size == orv::kBasePictureSize) return LoadStrip(IDB_FONT_TYPES_SMALL, size);
  return orv::ScaleImageList(orv::ScopedImageList(LoadStrip(IDB_FONT_TYPES_LARGE, 2 * orv::kBasePictureSize)), size,
                             size)
      .Release();
}

}  // namespace

FontListImages& FontListImages::Get() {
  static FontListImages images;
  return images;
}

void FontListImages::Load(HWND firstList) {
  FontListImages& images = Get();
  if (images.ownerList) return;
  images.small = LoadSmallStrip();
  images.large = LoadStrip(IDB_FONT_TYPES_LARGE, 32);
  images.ownerList = firstList;
}

HICON FontListImages::Icon(int image) {
  if (image < 0 || image >= kImageCount) return nullptr;
  if (!g_iconsMade[image] && Get().large) {
    g_iconsMade[image] = true;
    g_icons[image] = ImageList_GetIcon(Get().large, image, ILD_NORMAL);
  }
  return g_icons[image];
}

HICON FontListImages::ResourceIcon(int id, int size) {
  auto [at, added] = g_resourceIcons.try_emplace({id, size});
  if (added) at->second = orv::g_Module.LoadResourceIcon(static_cast<UINT>(id), size, size);
  return at->second.Get();
}

void FontListImages::Destroy() {
  g_resourceIcons.clear();
  for (int i = 0; i < kImageCount; ++i) {
    if (g_icons[i]) ::DestroyIcon(g_icons[i]);
    g_icons[i] = nullptr;
    g_iconsMade[i] = false;
  }
  FontListImages& images = Get();
  if (images.small) ImageList_Destroy(images.small);
  if (images.large) ImageList_Destroy(images.large);
  images = FontListImages{};
}
