// The census walk's callbacks, on the walk thread: which folders are walked, and the records of
// every font file found. They touch no window; what they find waits under the dialog's lock
// until its timer takes it.
#include "common/StringHelpers.h"
#include "fonts/FontFileWalk.h"
#include "fonts/FontItem.h"
#include "lists/CCensusDlg.h"

namespace {
// A font of this name is part of the system and no font of the user's.
constexpr wchar_t kMarlett[] = L"Marlett";
}  // namespace

bool CCensusDlg::AcceptFolder(DWORD attributes) {
  const std::wstring& folder = m_folderAsked;
  bool accepted;
  // Each Fonts folder is walked once, also when a chosen root holds it.
  if (includeSystemFonts_ && !systemFontsFolder_.empty() && EqualsNoCase(folder, systemFontsFolder_)) {
    accepted = !systemFontsVisited_;
    systemFontsVisited_ = true;
  } else if (includeUserFonts_ && !userFontsFolder_.empty() && EqualsNoCase(folder, userFontsFolder_)) {
    accepted = !userFontsVisited_;
    userFontsVisited_ = true;
  } else {
    accepted = IsFileShown(attributes);  // folders follow the Explorer rules of files
  }
  if (accepted) {
    std::lock_guard guard(lock_);
    folderWalked_ = folder;
    folderChanged_ = true;
  }
  return accepted;
}

bool CCensusDlg::OnFile() {
  const bool collection = m_pattern == L"*.ttc";
  ForEachFontItem(
      m_path, m_fileName,
      [&](const FontItem& item) {
        if (!item.IsCollectionFace() && !collection && item.FullName() == kMarlett) return;
        AddFace(item);
      },
      VariableFontRecords::kWholeFont);
  return true;
}

void CCensusDlg::AddFace(const FontItem& item) {
  CensusRecord record = MakeCensusRecord(item, m_path, m_fileName, systemFontsFolder_);
  std::lock_guard guard(lock_);
  found_.push_back(std::move(record));
}

void CCensusDlg::OnWalkEnd() { ::PostMessageW(m_hWnd, kMsgWalkDone, 0, 0); }
