#include "viewing/COrvPropPageFile.h"

#include <commctrl.h>

#include "fonts/FontFileReader.h"
#include "framework/AppModule.h"
#include "viewing/PropertyPageHelpers.h"

namespace {
constexpr int kTypeIconWidth = 32;
constexpr int kIconCollection = 0;
constexpr int kIconOpenType = 1;
constexpr int kIconTrueType = 2;
constexpr int kIconType1 = 3;
}  // namespace

int COrvPropPageFile::TypeIconIndex(uint32_t flags) {
  if (flags & font_flags::kCollectionFace) return kIconCollection;
  if (!(flags & font_flags::kSfnt)) return kIconType1;
  if (flags & (font_flags::kDsig | font_flags::kCffOrType1)) return kIconOpenType;
  return kIconTrueType;
}

void ShowTypeIcon(HWND page, int index, orv::ScopedIcon& owner) {
  orv::ScopedImageList images(::ImageList_LoadImageW(orv::g_Module.GetResourceInstance(),
                                                     MAKEINTRESOURCEW(IDB_PROP_FONT_TYPES), kTypeIconWidth, 0,
                                                     CLR_NONE, IMAGE_BITMAP, LR_CREATEDIBSECTION));
  if (!images) return;
  owner.Reset(::ImageList_GetIcon(images.Get(), index, ILD_NORMAL));
  if (owner) ::SendDlgItemMessageW(page, IDC_PROP_TYPE_ICON, STM_SETICON, reinterpret_cast<WPARAM>(owner.Get()), 0);
}

void COrvPropPageFile::OnInitDialog() {
  ArrangeCloseOnlySheet(m_hWnd);
  if (!reader_) return;
  const FontFileReader& font = *reader_;
  ShowTypeIcon(m_hWnd, TypeIconIndex(font.flags), icon_);
  const std::wstring name = FileNameOf(font.fullPath);
  SetControlText(m_hWnd, IDC_PROP_FILE_NAME, name);
  SetControlText(m_hWnd, IDC_PROP_FILE_TITLE, name);
  if (!font.collectionName.empty())
    SetControlText(m_hWnd, IDC_PROP_COLLECTION, L"( Collection: " + font.collectionName + L" )");
  SetControlText(m_hWnd, IDC_PROP_FOLDER, FolderOf(font.fullPath));
  (void)ShowFileDetails(m_hWnd, font.fullPath, IDC_PROP_FILE_SIZE, true);
}
