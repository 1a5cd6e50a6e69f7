#include "viewing/CPropPageFilesT1.h"

#include "fonts/FontFileReader.h"
#include "viewing/COrvPropPageFile.h"
#include "viewing/PropertyPageHelpers.h"

void CPropPageFilesT1::OnInitDialog() {
  ArrangeCloseOnlySheet(m_hWnd);
  if (!reader_) return;
  const FontFileReader& font = *reader_;
  ShowTypeIcon(m_hWnd, COrvPropPageFile::TypeIconIndex(font.flags), icon_);
  SetControlText(m_hWnd, IDC_PROP_FOLDER, FolderOf(font.fullPath));
  SetControlText(m_hWnd, IDC_PROP_T1_PFM_NAME, FileNameOf(font.fullPath));
  SetControlText(m_hWnd, IDC_PROP_T1_PFB_NAME,
                 (font.HasFlag(font_flags::kPfbInParent) ? L"..\\" : L"") + FileNameOf(font.pfbPath));
  if (!ShowFileDetails(m_hWnd, font.fullPath, IDC_PROP_T1_PFM_SIZE, false)) return;
  (void)ShowFileDetails(m_hWnd, font.pfbPath, IDC_PROP_T1_PFB_SIZE, true);
}
