#include "lists/CLVInstalledFonts.h"

#include "app/AppState.h"
#include "app/Preferences.h"
#include "common/ResString.h"
#include "common/ResourceIds.h"
#include "common/StatusProgressBar.h"
#include "fonts/FontFileReader.h"
#include "fonts/InstalledFontRecords.h"
#include "lists/CLVFolderFonts.h"

namespace {

InstalledFillObserver g_fillObserver = nullptr;

void Notify(InstalledFillStep step) {
  if (g_fillObserver) g_fillObserver(step);
}

const wchar_t kMarlett[] = L"Marlett";

}  // namespace

void SetInstalledFillObserver(InstalledFillObserver observer) { g_fillObserver = observer; }

CLVInstalledFonts::CLVInstalledFonts() : gdiReader_(std::make_unique<FontFileReader>()) { m_refreshPending = true; }

CLVInstalledFonts::~CLVInstalledFonts() { Unpublish(); }

void CLVInstalledFonts::Unpublish() {
  if (!added_.empty() && InstalledFontRecords() == added_) SetInstalledFontRecords({});
  added_.clear();
  byFullName_.clear();
  byPostScriptName_.clear();
}

LRESULT CLVInstalledFonts::OnDestroyList(UINT, WPARAM, LPARAM, BOOL& handled) {
  Unpublish();
  handled = FALSE;  // the base list frees the rows
  return 0;
}

void CLVInstalledFonts::Fill() {
  if (m_hWnd) {
    SelectAll(false);
    ::SendMessageW(m_hWnd, WM_SETREDRAW, FALSE, 0);
  }
  m_busy = true;
  m_folder = g_AppState.SystemFontsFolder;
  // Nobody may resolve against the rows about to be freed.
  SetInstalledFontRecords({});
  Unpublish();
  Clear();
  counts_ = Counts{};

  StatusProgressBar progress(g_AppState.StatusBar);
  progress_ = &progress;
  progress.Create(CountFamilies());
  SetMainStatusText(LoadResString(IDS_READING_INSTALLED_FONTS));
  Notify(InstalledFillStep::kCounted);

  // Per-user registrations exist from release 1809 on.
  const bool perUser = g_AppState.WindowsRelease >= 1809;
  AddType1Fonts(HKEY_LOCAL_MACHINE, g_AppState.SystemFontsFolder);
  if (perUser) AddType1Fonts(HKEY_CURRENT_USER, g_AppState.UserFontsFolder);
  Notify(InstalledFillStep::kType1Keys);
  AddRegisteredFonts(HKEY_LOCAL_MACHINE, g_AppState.SystemFontsFolder);
  if (perUser) AddRegisteredFonts(HKEY_CURRENT_USER, g_AppState.UserFontsFolder);
  Notify(InstalledFillStep::kFontsKeys);
  AddGdiFaces();
  Notify(InstalledFillStep::kGdiFaces);
  AddEudcFonts();
  Notify(InstalledFillStep::kEudc);
  ProtectUserInterfaceFonts();
  Notify(InstalledFillStep::kProtection);

  SetInstalledFontRecords(added_);
  Repopulate();
  progress.Destroy();
  progress_ = nullptr;
  SetMainStatusText(std::wstring());
  if (m_hWnd) {
    ::InvalidateRect(m_hWnd, nullptr, TRUE);
    ::SendMessageW(m_hWnd, WM_SETREDRAW, TRUE, 0);
  }
  m_selectOnRestore = false;
  RestorePosition(false);
  m_refreshPending = false;
  m_busy = false;
  Notify(InstalledFillStep::kShown);
}

FontItem* CLVInstalledFonts::AddRecord(const FontItem& record, bool readNow, int& counter) {
  FontListRow* row = AddItem(record, readNow);
  FontItem* added = row->record.get();
  added_.push_back(added);
  if (!added->FullName().empty()) byFullName_[added->FullName()].push_back(added);
  if (!added->postScriptName.empty()) byPostScriptName_[added->postScriptName].push_back(added);
  ++counter;
  StepProgress();
  return added;
}

FontItem* CLVInstalledFonts::AddRegisteredRecord(const FontItem& record) {
  // Marlett is never shown: the counts, which the pane caption shows, leave it out wherever it
  // comes from.
  int uncounted = 0;
  return AddRecord(record, false, record.FullName() == kMarlett ? uncounted : counts_.registered);
}

void CLVInstalledFonts::StepProgress() {
  // The fill reads no message: input waits until the list is complete.
  if (progress_) progress_->Step(false);
}

FontItem* CLVInstalledFonts::FindByFullName(const std::wstring& name, uint32_t typeMask) const {
  const auto it = byFullName_.find(name);
  if (it == byFullName_.end()) return nullptr;
  for (FontItem* record : it->second)
    if (record->IsAnyType(typeMask)) return record;
  return nullptr;
}

int CLVInstalledFonts::CountShown(bool all) const {
  const Counts& c = counts_;
  if (all) return c.registered + c.type1 + c.eudc + c.raster + c.gdiOnly + c.vertical;
  const uint32_t style = g_Preferences.StyleFlags;
  int shown = c.registered + c.type1 + c.gdiOnly;
  if (!(style & Preferences::kStyleHideRaster)) shown += c.raster;
  if (!(style & Preferences::kStyleHideVertical)) shown += c.vertical;
  if (!(style & Preferences::kStyleHideEudc)) shown += c.eudc;
  return shown;
}

bool CLVInstalledFonts::IsHidden(const FontListRow& row) const {
  const FontItem* record = row.record.get();
  if (!record) return true;
  // The symbols of the window frames: never offered for uninstalling.
  if (record->FullName() == kMarlett) return true;
  const uint32_t style = g_Preferences.StyleFlags;
  if ((style & Preferences::kStyleHideRaster) && record->IsRaster()) return true;
  if ((style & Preferences::kStyleHideEudc) && record->IsEudc()) return true;
  if ((style & Preferences::kStyleHideVertical) && !record->displayName.empty() && record->displayName[0] == L'@')
    return true;
  return false;
}

bool CLVInstalledFonts::OnKey(UINT key, bool ctrl) {
  if (key == VK_DELETE) {
    // Uninstalls and keeps the files.
    UninstallSelection(0);
    return true;
  }
  if ((key == 'F' && ctrl) || key == VK_F3) {
    if (g_AppState.MainWindow) ::PostMessageW(g_AppState.MainWindow, WM_COMMAND, ID_FONTS_SEARCH, 0);
    return true;
  }
  return false;
}

void CLVInstalledFonts::OnItemActivate(NMITEMACTIVATE*) {
  // Uninstalls the selection and deletes its files from the Fonts folder, unless Ctrl is held.
  UninstallSelection(CtrlAlone() ? 0 : 1);
}

void CLVInstalledFonts::OnRightClick(NMITEMACTIVATE*) {
  ::PostMessageW(::GetParent(m_hWnd), WM_COMMAND, ID_PANE_MENU, reinterpret_cast<LPARAM>(m_hWnd));
}
