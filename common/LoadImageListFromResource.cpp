#include "common/LoadImageListFromResource.h"

#include <iterator>

#include "framework/AppModule.h"
#include "framework/Dpi.h"

namespace {

// Image n of the strip belongs to the n-th command here.
constexpr int kCommandIconTable[] = {170, 142, 144, 145, 143, 146, 147, 148,   149,   150, 151,
                                     152, 153, 155, 154, 181, 173, 156, 285,   157,   193, 714,
                                     57670, 57666, 160, 172, 57665, 180, 219, 283, 297, 298};

struct IconAlias {
  int command;
  int sharesWith;
};
constexpr IconAlias kIconAliases[] = {{282, 144}, {286, 154}, {322, 157}, {220, 57665}};

}  // namespace

int CommandIconIndex(int commandId) noexcept {
  for (const auto& alias : kIconAliases) {
    if (alias.command == commandId) {
      commandId = alias.sharesWith;
      break;
    }
  }
  for (size_t i = 0; i < std::size(kCommandIconTable); ++i) {
    if (kCommandIconTable[i] == commandId) return static_cast<int>(i);
  }
  return -1;
}

std::vector<std::pair<UINT, int>> CommandPictureTable() {
  std::vector<std::pair<UINT, int>> table;
  for (size_t i = 0; i < std::size(kCommandIconTable); ++i)
    table.emplace_back(static_cast<UINT>(kCommandIconTable[i]), static_cast<int>(i));
  for (const auto& alias : kIconAliases) table.emplace_back(static_cast<UINT>(alias.command), CommandIconIndex(alias.command));
  return table;
}

namespace {

orv::ScopedImageList LoadStrip() {
  return orv::ScopedImageList(::ImageList_LoadImageW(orv::g_Module.GetResourceInstance(),
                                                     MAKEINTRESOURCEW(kCommandIconStripId), kCommandIconSize, 0,
                                                     CLR_NONE, IMAGE_BITMAP, LR_CREATEDIBSECTION | LR_DEFAULTSIZE));
}

int SizeOrScreen(int size) { return size > 0 ? size : orv::ScreenPictureSize(); }

}  // namespace

orv::ScopedImageList LoadCommandPictures(int size) {
  const int side = SizeOrScreen(size);
  return orv::ScaleImageList(LoadStrip(), side, side);
}

bool LoadImageListFromStrip(HIMAGELIST strip, orv::ScopedImageList& out, int count, const int* commandIds, int size) {
  out.Reset();
  if (!strip || count < 0 || (count > 0 && !commandIds)) return false;
  orv::ScopedImageList list(
      ::ImageList_Create(kCommandIconSize, kCommandIconSize, ILC_COLOR32 | ILC_MASK, count, 0));
  if (!list) return false;
  const int stripCount = ::ImageList_GetImageCount(strip);
  orv::ScopedIcon blank;
  for (int i = 0; i < count && commandIds[i] != -1; ++i) {
    const int index = CommandIconIndex(commandIds[i]);
    orv::ScopedIcon icon;
    if (index >= 0 && index < stripCount) icon.Reset(::ImageList_GetIcon(strip, index, ILD_TRANSPARENT));
    if (!icon) {
      // An all-transparent stand-in keeps the later images at their identifiers' positions.
      if (!blank) {
        const BYTE andMask[kCommandIconSize * kCommandIconSize / 8] = {
            0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF,
            0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF};
        const BYTE xorMask[kCommandIconSize * kCommandIconSize / 8] = {};
        blank.Reset(::CreateIcon(nullptr, kCommandIconSize, kCommandIconSize, 1, 1, andMask, xorMask));
      }
      if (::ImageList_AddIcon(list.Get(), blank.Get()) < 0) return false;
      continue;
    }
    if (::ImageList_AddIcon(list.Get(), icon.Get()) < 0) return false;
  }
  const int side = SizeOrScreen(size);
  out = orv::ScaleImageList(std::move(list), side, side);
  return static_cast<bool>(out);
}

bool LoadImageListFromResource(orv::ScopedImageList& out, int count, const int* commandIds) {
  out.Reset();
  orv::ScopedImageList strip = LoadStrip();
  if (!strip) return false;
  return LoadImageListFromStrip(strip.Get(), out, count, commandIds);
}
