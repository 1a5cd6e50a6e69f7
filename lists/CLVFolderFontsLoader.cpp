#include "common/StringHelpers.h"
#include "lists/CLVFolderFontsLoader.h"

#include <commctrl.h>
#include <shlwapi.h>

#include <algorithm>

#include "app/AppState.h"
#include "common/ResString.h"
#include "common/ResourceIds.h"
#include "common/Seams.h"
#include "fonts/FontFileWalk.h"
#include "lists/CLVFolderFonts.h"
#include "lists/TempFontsFolder.h"

namespace {

constexpr int kMainFolderTreeId = 350;

BOOL CALLBACK FindTree(HWND window, LPARAM found) {
  wchar_t cls[32] = {};
  if (::GetDlgCtrlID(window) == kMainFolderTreeId && ::GetClassNameW(window, cls, 32) &&
      lstrcmpiW(cls, WC_TREEVIEWW) == 0) {
    *reinterpret_cast<HWND*>(found) = window;
    return FALSE;
  }
  return TRUE;
}

FolderFillObserver g_fillObserver = nullptr;

void ReportStep(FolderFillStep step) {
  if (g_fillObserver) g_fillObserver(step);
}

// The system's wait cursor is shared: loaded once, it is the same handle for the whole run
// (LoadCursorW costs Wine a resource look-up at every call, once per file of a fill).
void WaitCursor() {
  static const HCURSOR wait = ::LoadCursorW(nullptr, IDC_WAIT);
  ::SetCursor(wait);
}

}  // namespace

void SetFolderFillObserver(FolderFillObserver observer) { g_fillObserver = observer; }

HWND FindMainFolderTree() {
  HWND found = nullptr;
  if (g_AppState.MainWindow) ::EnumChildWindows(g_AppState.MainWindow, &FindTree, reinterpret_cast<LPARAM>(&found));
  return found;
}

CLVFolderFontsLoader::CLVFolderFontsLoader(CLVFolderFonts& owner, const std::wstring& folder)
    : m_owner(&owner), m_folder(folder), tree_(FindMainFolderTree()) {
  m_aborted = false;
}

CLVFolderFontsLoader::~CLVFolderFontsLoader() = default;

// ---------------------------------------------------------------------------------------------
// Folder

int CLVFolderFontsLoader::LoadFolder() {
  if (!::PathFileExistsW(m_folder.c_str())) return 0;
  WaitCursor();
  m_roots = m_folder;
  m_patterns = kFontPatterns;
  m_threaded = false;
  m_recursive = false;
  m_silent = false;
  m_counting = true;
  m_count = 0;
  if (!g_AppState.SystemFontsFolder.empty() && EqualsNoCase(m_folder, g_AppState.SystemFontsFolder)) m_showHidden = true;

  Start();
  // An abort during the count ends the fill: the list was emptied and the folder forgotten.
  if (m_status == 2) {
    SetMainStatusText(std::wstring());
    return 0;
  }
  ReportStep(FolderFillStep::kCounted);
  SetMainStatusText(FormatResString(IDS_FOLDER_FONT_COUNT, m_count));
  if (m_count > 0) progress_.Create(tree_, m_count);

  m_counting = false;
  filesRead_.clear();
  Start();
  const bool aborted = m_status == 2;
  if (!aborted) {
    ReportStep(FolderFillStep::kFilesRead);
    m_owner->SortRows();
    ReportStep(FolderFillStep::kRowsSorted);
    m_owner->Repopulate();
    ReportStep(FolderFillStep::kListShown);
  }
  SetMainStatusText(std::wstring());
  progress_.Destroy();
  if (m_owner->m_hWnd) ::InvalidateRect(m_owner->m_hWnd, nullptr, TRUE);
  return aborted ? 0 : 1;
}

void CLVFolderFontsLoader::OnFile() {
  if (m_counting) {
    ++m_count;
    return;
  }
  progress_.Step();  // the wait cursor is put back by the abort check, which is where it could change
  if (!filesRead_.insert(FoldCase(m_fileName)).second) return;  // a file is read once per fill
  AddRecordsOf(m_fileName, VariableFontRecords::kEachInstance);
}

bool CLVFolderFontsLoader::ShouldAbort() {
  HWND window = tree_;
  if (!window) return false;
  // Asked before every file; looking at the queue every few milliseconds keeps the tree just as
  // responsive and spares a round trip to the window server per file.
  const ULONGLONG now = ::GetTickCount64();
  if (lastLook_ != 0 && now - lastLook_ < kLookInterval) return false;
  lastLook_ = now;
  WaitCursor();  // messages sent while peeking may have set another cursor
  MSG msg;
  while (::PeekMessageW(&msg, window, 0, 0, PM_REMOVE | PM_QS_INPUT)) {
    const bool navigation = msg.message == WM_LBUTTONDOWN ||
                            (msg.message == WM_KEYDOWN && (msg.wParam == VK_ESCAPE || msg.wParam == VK_PRIOR ||
                                                           msg.wParam == VK_NEXT || msg.wParam == VK_UP ||
                                                           msg.wParam == VK_DOWN));
    if (!navigation) continue;  // other input taken from the queue is dropped
    m_owner->Clear();
    m_owner->m_folder.clear();
    if (msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE) seams::Beep(MB_ICONEXCLAMATION);
    else ::PostMessageW(msg.hwnd, msg.message, msg.wParam, msg.lParam);
    return true;
  }
  return false;
}

void CLVFolderFontsLoader::AddRecordsOf(const std::wstring& name, VariableFontRecords variable) {
  ForEachFontItem(m_folder, name, [this](const FontItem& record) { m_owner->AppendItem(record); }, variable);
}

// ---------------------------------------------------------------------------------------------
// Zip folder

namespace {

bool ZipShouldAbort(void* loader) { return static_cast<CLVFolderFontsLoader*>(loader)->ShouldAbort(); }

void ZipOnFile(void* loader, const std::wstring& folder, const std::wstring& name) {
  static_cast<CLVFolderFontsLoader*>(loader)->OnZipFile(folder, name);
}

}  // namespace

int CLVFolderFontsLoader::LoadZipFolder() {
  RemoveTemporaryFonts();
  const ZipFolderAccess& access = GetZipFolderAccess();
  std::wstring names;
  m_count = access.listFontFiles ? access.listFontFiles(m_folder, kZipExtensions, names) : 0;
  if (m_count <= 0 || names.empty()) return 0;
  const std::wstring temp = GetTempFontsFolder();
  if (temp.empty()) return 0;
  progress_.Create(tree_, m_count);
  SetMainStatusText(FormatResString(IDS_ZIP_FONT_COUNT, m_count));
  WaitCursor();
  progress_.Step();
  if (access.extract) {
    if (!access.extract(m_folder, temp, names, this, &ZipShouldAbort, &ZipOnFile)) m_aborted = true;
  } else {
    (void)Extract(m_folder, temp, names);
  }
  progress_.Destroy();
  if (m_aborted) {
    SetMainStatusText(std::wstring());
    RemoveTemporaryFonts();
    return 0;
  }
  m_owner->SortRows();
  m_owner->Repopulate();
  if (m_owner->m_hWnd) ::InvalidateRect(m_owner->m_hWnd, nullptr, TRUE);
  SetMainStatusText(LoadResString(IDS_ZIP_FOLDER_STATUS));
  return 1;
}

void CLVFolderFontsLoader::OnZipFile(const std::wstring& folder, const std::wstring& name) {
  WaitCursor();
  progress_.Step();
  m_folder = folder;
  AddRecordsOf(name, VariableFontRecords::kWholeFont);  // a variable font from a zip gives one row
}

void CLVFolderFontsLoader::RemoveTemporaryFonts() {
  if (g_AppState.FontCache.Count() > 0) g_AppState.FontCache.RemoveAll(true);
  EmptyTempFontsFolder();
}
