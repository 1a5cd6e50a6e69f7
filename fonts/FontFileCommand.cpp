#include "fonts/FontFileCommand.h"

#include <shlwapi.h>

#include <unordered_set>
#include <vector>

#include "app/AppState.h"
#include "common/AppMessageBox.h"
#include "common/ResString.h"
#include "common/ResourceIds.h"
#include "common/Seams.h"
#include "lists/CLVFolderFonts.h"
#include "lists/FontItemList.h"

namespace {

constexpr uint32_t kNotAFile = font_flags::kRaster | font_flags::kGdiOnly | font_flags::kEudc;

bool ShiftDown() { return (::GetAsyncKeyState(VK_SHIFT) & 0x8000) != 0; }

FontFileCommand::FolderPrompt g_folderPrompt = nullptr;

}  // namespace

void FontFileCommand::SetFolderPrompt(FolderPrompt prompt) { g_folderPrompt = prompt; }

FontFileCommand::FontFileCommand(FontItemList* items, UINT mode, UINT commandId)
    : items_(items), commandId_(commandId) {
  operation_.hwnd = g_AppState.MainWindow;
  operation_.wFunc = mode;
}

int FontFileCommand::AskTargetAndRun(const std::wstring& initialFolder) {
  std::wstring target = initialFolder;
  if (!g_folderPrompt || !g_folderPrompt(LoadResString(commandId_), target) || target.empty()) return 0;
  const int result = RunToFolder(target, 0);
  RefreshFolderTree(result, target);
  return result;
}

int FontFileCommand::CountEligible(const std::wstring& targetFolder) {
  if (!items_ || items_->Empty()) return 0;
  // "C:\Fonts\" is the folder "C:\Fonts": a file is never copied or moved onto itself.
  const std::wstring target = WithoutTrailingBackslash(targetFolder);
  int count = 0;
  for (FontItemListEntry& entry : items_->Entries()) {
    if (!entry.marked) continue;
    FontItem& r = entry.record;
    if (!r.HasFlag(font_flags::kResolved)) EnsureFontItemLoaded(*items_, r);
    if (r.HasFlag(kNotAFile) ||
        (operation_.wFunc == kMove && r.HasFlag(font_flags::kProtected | font_flags::kInstalledFile)) ||
        EqualsNoCase(ParentFolder(r.fullPath), target) ||
        (!r.pfbPath.empty() && EqualsNoCase(ParentFolder(r.pfbPath), target))) {
      entry.marked = false;
      continue;
    }
    ++count;
  }
  return count;
}

int FontFileCommand::RunToFolder(const std::wstring& target, FILEOP_FLAGS extraFlags) {
  if (CountEligible(target) == 0) return 0;
  if (::PathIsRootW(target.c_str()) && ::PathIsSameRootW(target.c_str(), g_AppState.SystemFontsFolder.c_str())) {
    if (seams::ShowMessageBox(operation_.hwnd, LoadResString(IDS_ASK_COPY_TO_DRIVE_ROOT), LoadResString(commandId_),
                              MB_YESNO | MB_ICONWARNING) == IDNO)
      return 0;
  }
  if (!BuildUniqueSources()) return 0;
  SetTargetPath(target);
  operation_.fFlags = extraFlags | FOF_ALLOWUNDO | FOF_FILESONLY | FOF_NOCONFIRMMKDIR;
  if (extraFlags & FOF_RENAMEONCOLLISION) BuildCollisionFreeTargets(target);
  return Execute() ? 1 : -1;
}

void FontFileCommand::BuildCollisionFreeTargets(const std::wstring& folder) {
  renamed_.clear();
  std::vector<std::wstring> taken;
  std::wstring targets;
  for (const wchar_t* source = sources_.c_str(); *source; source += wcslen(source) + 1) {
    const std::wstring name = ::PathFindFileNameW(source);
    std::wstring chosen = name;
    auto isTaken = [&](const std::wstring& candidate) {
      for (const std::wstring& used : taken)
        if (EqualsNoCase(used, candidate)) return true;
      return ::GetFileAttributesW(JoinPath(folder, candidate).c_str()) != INVALID_FILE_ATTRIBUTES;
    };
    const std::wstring extension = ::PathFindExtensionW(name.c_str());
    const std::wstring stem = name.substr(0, name.size() - extension.size());
    for (int n = 2; isTaken(chosen); ++n) chosen = stem + L" (" + std::to_wstring(n) + L")" + extension;
    if (chosen != name) renamed_.emplace_back(name, chosen);
    taken.push_back(chosen);
    targets += JoinPath(folder, chosen);
    targets.push_back(L'\0');
  }
  targets.push_back(L'\0');
  target_ = std::move(targets);
  operation_.fFlags |= FOF_MULTIDESTFILES;
}

int FontFileCommand::CollectSourcesNoUndo() {
  if (!items_) return 0;
  for (FontItemListEntry& entry : items_->Entries()) {
    if (!entry.marked) continue;
    FontItem& r = entry.record;
    if (!r.HasFlag(font_flags::kResolved)) EnsureFontItemLoaded(*items_, r);
    const bool uninstalling = commandId_ == 21003 || commandId_ == 21005;
    if (r.HasFlag(0x38) || (!uninstalling && r.IsInstalledFile()) || (r.IsProtected() && r.IsInstalledFile()))
      entry.marked = false;
  }
  bool any = false;
  for (const FontItemListEntry& entry : items_->Entries()) any = any || entry.marked;
  if (!any) {
    AppMessageBox(operation_.hwnd, MB_ICONWARNING, commandId_, IDS_NOTHING_TO_DELETE);
    return 0;
  }
  if (!BuildUniqueSources()) return -1;
  return RunShell();
}

bool FontFileCommand::CollectSources() {
  if (!ShiftDown()) operation_.fFlags = FOF_ALLOWUNDO;
  const int result = CollectSourcesNoUndo();
  RefreshFolderTree(result, std::wstring());
  return true;
}

bool FontFileCommand::BuildUniqueSources() {
  sources_.clear();
  if (!items_) return false;
  std::unordered_set<std::wstring> kept;  // folded file references: one look-up per entry
  for (FontItemListEntry& entry : items_->Entries()) {
    if (!entry.marked) continue;
    if (!entry.record.HasFlag(font_flags::kResolved)) EnsureFontItemLoaded(*items_, entry.record);
    if (!kept.insert(FoldCase(entry.record.fileRef)).second) {
      entry.marked = false;
      continue;
    }
    sources_ += entry.record.fullPath;
    sources_.push_back(L'\0');
    if (!entry.record.pfbPath.empty()) {
      sources_ += entry.record.pfbPath;
      sources_.push_back(L'\0');
    }
  }
  if (sources_.empty()) return false;
  sources_.push_back(L'\0');
  return true;
}

bool FontFileCommand::SetSourcePaths(const std::wstring& text, wchar_t separator) {
  sources_ = text;
  if (separator != L'\0')
    for (wchar_t& ch : sources_)
      if (ch == separator) ch = L'\0';
  sources_.push_back(L'\0');
  sources_.push_back(L'\0');
  return true;
}

bool FontFileCommand::SetTargetPath(const std::wstring& path) {
  target_ = path;
  target_.push_back(L'\0');
  target_.push_back(L'\0');
  return true;
}

bool FontFileCommand::Execute() { return RunShell() == 1; }

int FontFileCommand::RunShell() {
  if (sources_.empty()) return 0;
  operation_.pFrom = sources_.c_str();
  UnloadSources();
  operation_.pTo = operation_.wFunc == kDelete ? nullptr : target_.c_str();
  operation_.fAnyOperationsAborted = FALSE;
  operation_.hNameMappings = nullptr;
  const int shell = seams::FileOperation(operation_);
  return shell == 0 && !operation_.fAnyOperationsAborted ? 1 : -1;
}

void FontFileCommand::UnloadSources() {
  if (sources_.empty() || sources_.find_first_of(L"*?") < wcslen(sources_.c_str())) return;
  std::vector<std::wstring> paths;
  for (const wchar_t* p = sources_.c_str(); *p; p += wcslen(p) + 1) paths.emplace_back(p);
  for (size_t i = 0; i < paths.size(); ++i) {
    std::wstring loaded = paths[i];
    const std::wstring ext = ::PathFindExtensionW(loaded.c_str());
    if (EqualsNoCase(ext, L".pfm") && i + 1 < paths.size()) loaded += L"|" + paths[i + 1];
    g_AppState.FontCache.RemoveFile(loaded);
  }
}

void FontFileCommand::RefreshFolderTree(int result, const std::wstring& path) {
  CLVFolderFonts& list = g_AppState.FolderFonts;
  if (result == -1 || operation_.wFunc == kMove) list.m_refreshPending = true;
  else if (operation_.wFunc == kCopy && EqualsNoCase(WithoutTrailingBackslash(path), list.m_folder))
    list.m_refreshPending = true;
  if (result == 0) return;
  // The folder tree shows in bold the folders that hold fonts: the folders that lost or gained
  // files are looked at again.
  CFolderTreeView& tree = g_AppState.FolderTree;
  const bool treeShown = tree.m_hWnd && ::IsWindow(tree.m_hWnd);
  if (operation_.wFunc != kCopy) {
    if (treeShown) (void)tree.FindItemByPath(nullptr);
    if (!list.m_refreshPending) list.m_captionPending = true;
  }
  if (operation_.wFunc != kDelete && treeShown && !path.empty()) {
    const std::wstring target = WithoutTrailingBackslash(path);
    (void)tree.FindItemByPath(&target);
  }
}
