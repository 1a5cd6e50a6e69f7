// The installer object, its install path and the helpers both paths share.
#include "fonts/FontInstaller.h"

#include <commctrl.h>
#include <shlwapi.h>

#include <algorithm>

#include "app/AppState.h"
#include "app/Preferences.h"
#include "common/AppMessageBox.h"
#include "common/ByteReader.h"
#include "common/RegistryKey.h"
#include "common/RegistryValue.h"
#include "common/ResString.h"
#include "common/ResourceIds.h"
#include "common/Seams.h"
#include "fonts/FontFileCommand.h"
#include "fonts/FontFileReader.h"
#include "fonts/FontInstallerShared.h"
#include "fonts/InstalledFontRecords.h"
#include "fonts/RegistryValueEnumerator.h"

using namespace font_flags;

namespace installer_detail {

bool PerUserInstallsAllowed() { return g_AppState.WindowsRelease >= kPerUserRelease; }

std::wstring FileNameOf(const std::wstring& path) { return ::PathFindFileNameW(path.c_str()); }

void ReplaceAll(std::wstring& text, const std::wstring& from, const std::wstring& to) {
  if (from.empty()) return;
  for (size_t at = text.find(from); at != std::wstring::npos; at = text.find(from, at + to.size()))
    text.replace(at, from.size(), to);
}

void AnnounceFontChange() {
  if (g_AppState.MainWindow) ::SendMessageW(g_AppState.MainWindow, WM_COMMAND, ID_FONT_CHANGE, 0);
}

const FontItem* InstalledRecordOf(const FontItem& item) {
  const InstalledFontIndex& index = InstalledFonts();
  const std::vector<const FontItem*>& records = index.Records();
  const uint32_t type = item.flags & kTypeMask;
  const auto trueType = [](uint32_t flags) { return (flags & 5) == kTrueTypeOutlines; };
  const auto first = [&](const std::vector<size_t>& positions, auto&& fits) -> const FontItem* {
    for (const size_t at : positions) {
      const FontItem* record = at < records.size() ? records[at] : nullptr;
      if (record && !record->IsGdiOnly() && fits(*record)) return record;
    }
    return nullptr;
  };
  const std::wstring& name = item.FullName();
  if (!name.empty()) {
    const std::vector<size_t>& byName = index.ByFullName(name);
    if (const FontItem* record = first(byName, [&](const FontItem& r) { return (r.flags & kTypeMask) == type; }))
      return record;
    if (trueType(item.flags))
      if (const FontItem* record = first(byName, [&](const FontItem& r) { return trueType(r.flags); })) return record;
  }
  const std::wstring& english = item.names.English(NameSlot::FullName);
  if (english.empty()) return nullptr;
  return first(index.ByEnglishFullName(english), [&](const FontItem& r) { return (r.flags & kTypeMask) == type; });
}

std::wstring NameForUser(const FontItem& item) {
  const std::wstring file = FileNameOf(item.fullPath.empty() ? item.fileRef : item.fullPath);
  if (!item.HasFlag(kUnreadable)) return item.FullName().empty() ? file : item.FullName();
  // A font that could not be read keeps the name a list or group showed it under, if any.
  const bool named = !item.displayName.empty() && item.displayName != LoadResString(IDS_UNREADABLE_FONT);
  return named ? item.displayName : file;
}

FilesByName FilesOfEntriesByName(const FontItemList& items) {
  FilesByName files;
  for (const FontItemListEntry& entry : items.Entries())
    if (entry.record.HasFlag(kResolved))
      files[FoldCase(entry.record.FullName())].push_back(entry.record.GetFilePaths());
  return files;
}

void DropPrivateLoads(const FilesByName& files, const FontItem& item) {
  g_AppState.FontCache.RemoveFile(item.GetFilePaths());
  if (const auto namesakes = files.find(FoldCase(item.FullName())); namesakes != files.end())
    for (const std::wstring& file : namesakes->second) g_AppState.FontCache.RemoveFile(file);
}

}  // namespace installer_detail

using namespace installer_detail;

namespace {

constexpr uint32_t kNotInstallable = kRaster | kEudc | kProtected | kUnreadable;
// Bits of the FontInstallFlags preference.
constexpr uint32_t kInstallFromNetworkSilently = 0x1;
constexpr uint32_t kConfirmListCount = 0x10;
constexpr uint32_t kConfirmGroupCount = 0x20;
const wchar_t kMarlett[] = L"Marlett";
// The fonts one report box names; the rest are counted.
constexpr size_t kMaxNamedFonts = 30;

// The drive class of the marked entries' files: removable (also unknown, no root and CD-ROM)
// as soon as one lies there, else network when one lies on a share, else fixed.
UINT GetFontDriveType(FontItemList& items) {
  UINT drive = DRIVE_FIXED;
  for (FontItemListEntry& entry : items.Entries()) {
    if (!entry.record.HasFlag(kResolved)) EnsureFontItemLoaded(items, entry.record);
    if (!entry.marked) continue;
    wchar_t root[MAX_PATH] = {};
    lstrcpynW(root, entry.record.fullPath.c_str(), MAX_PATH - 1);
    ::PathStripToRootW(root);
    ::PathAddBackslashW(root);
    switch (::GetDriveTypeW(root)) {
      case DRIVE_UNKNOWN:
      case DRIVE_NO_ROOT_DIR:
      case DRIVE_REMOVABLE:
      case DRIVE_CDROM:
        return DRIVE_REMOVABLE;
      case DRIVE_FIXED:
      case DRIVE_RAMDISK:
        break;
      default:
        drive = DRIVE_REMOTE;
        break;
    }
  }
  return drive;
}

// The font list a window is, or null: only the program's own lists have rows to deselect.
COrvelListView* FontListOfWindow(HWND window) {
  if (!window || !::IsWindow(window)) return nullptr;
  return dynamic_cast<COrvelListView*>(orv::CWindowImplRoot::FromHandle(window));
}

// The name a font is registered under: the Type 1 font's full name; for an sfnt font the
// registry name of its face (of all faces joined by " & " for a collection) and its kind. Empty
// when the font has no name to register under. `file` is where the font's file is now.
std::wstring RegistryValueName(const FontItem& item, const std::wstring& file) {
  if (item.IsType1()) return item.FullName();
  FontFileReader reader;
  static_cast<FontItem&>(reader).CopyFrom(item);
  reader.fullPath = file;
  std::wstring name;
  if (item.IsCollectionFace()) {
    if (reader.ReadCollectionHeader()) name = reader.BuildCollectionRegistryName();
    reader.CloseFile();
  } else {
    name = reader.BuildRegistryName();
  }
  if (name.empty()) return name;
  return name + ((item.flags & 5) == kOpenTypeCff ? L" (OpenType)" : L" (TrueType)");
}

}  // namespace

FontInstaller::FontInstaller(FontItemList* items, HWND owner, bool copyFiles, FontChanges* changes)
    : items_(items), changes_(changes ? changes : &direct_), copyFiles_(copyFiles), owner_(owner),
      progress_(g_AppState.StatusBar) {}

HKEY FontInstaller::RootKeyOf(const FontItem& item) {
  return item.IsPerUser() || !g_AppState.IsElevated ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE;
}

int FontInstaller::CollectSelected(std::vector<FontItemListEntry*>& out) const {
  out.clear();
  if (!items_) return 0;
  for (FontItemListEntry& entry : items_->Entries())
    if (entry.marked) out.push_back(&entry);
  return static_cast<int>(out.size());
}

bool FontInstaller::InstallSelected(UINT commandId) {
  commandId_ = commandId;
  std::vector<FontItemListEntry*> selected;
  if (CollectSelected(selected) == 0) return false;
  if (!ConfirmDrive(commandId)) return false;
  return Install();
}

bool FontInstaller::ConfirmDrive(UINT commandId) {
  if (copyFiles_ || (commandId != kInstallFromList && commandId != kInstallGroup) || !items_) return true;
  const UINT drive = GetFontDriveType(*items_);
  if (drive == DRIVE_FIXED) return true;
  if (drive == DRIVE_REMOTE && (g_Preferences.FontInstallFlags & kInstallFromNetworkSilently)) return true;
  return seams::ShowMessageBox(owner_, LoadResString(IDS_ASK_REMOVABLE_DRIVE), LoadResString(commandId),
                               MB_YESNO | MB_ICONWARNING) != IDNO;
}

int FontInstaller::ConfirmCount(int count) const {
  const bool group = commandId_ == kInstallGroup || commandId_ == kUninstallGroup;
  const uint32_t bit = group ? kConfirmGroupCount : kConfirmListCount;
  if (!(g_Preferences.FontInstallFlags & bit) || g_Preferences.InstallThreshold > static_cast<uint32_t>(count))
    return IDOK;
  const bool install = commandId_ == kInstallFromList || commandId_ == kInstallGroup;
  const std::wstring text =
      FormatResString(install ? IDS_ASK_INSTALL_COUNT : IDS_ASK_UNINSTALL_COUNT, count, count == 1 ? L"." : L"s.");
  return seams::ShowMessageBox(owner_, text, LoadResString(commandId_), MB_OKCANCEL | MB_ICONWARNING);
}

bool FontInstaller::Install() {
  CLVInstalledFonts& installed = g_AppState.InstalledFonts;
  if (installed.m_hWnd) installed.SavePosition(false);
  const int n = FilterInstallable();
  ClearSelectionMarks();
  if (n <= 0) {
    // The fonts left out for a reason of their own are named here; there is nothing else to report.
    const std::wstring lines = TakeFailureLines();
    AppMessageBox(owner_, MB_ICONWARNING, commandId_, IDS_NOTHING_TO_INSTALL, 0,
                  lines.empty() ? nullptr : lines.c_str(), g_AppState.UserIsAdmin && !g_AppState.IsElevated);
    SetStatusText(0);
    progress_.Destroy();
    return false;
  }
  bool ran = false;
  if (ConfirmCount(n) == IDOK) {
    bool copied = true;
    if (copyFiles_) {
      SetStatusText(IDS_COPYING_TO_FONTS);
      copied = CopyToFontsFolder();
    }
    if (copied) {
      std::vector<FontItemListEntry*> selected;
      progress_.Create(CollectSelected(selected));
      SetStatusText(IDS_INSTALLING_FONTS);
      InstallLoop();
      ran = true;
      SetStatusText(IDS_FONTS_DONE);
    }
  }
  SetStatusText(0);
  progress_.Destroy();
  if (changes_->Stopped()) return ReportStopped();
  // Cancelled, or the copy failed: nothing was installed, so the fonts left out are no news.
  if (!ran) failed_.clear();
  // The report comes before the font change: the refresh it starts must not run, and open
  // boxes of its own, while this box is open.
  ReportFailures(IDS_INSTALL_FAILED);
  if (ran) AnnounceFontChange();
  return ran && installedCount_ > 0;
}

int FontInstaller::FilterInstallable() {
  std::vector<FontItemListEntry*> selected;
  const int n = CollectSelected(selected);
  if (n == 0 || (!g_AppState.IsElevated && !PerUserInstallsAllowed())) return 0;
  progress_.Create(n);
  SetStatusText(IDS_CHECKING_FONTS);
  for (size_t i = 0; i < selected.size(); ++i) {
    progress_.Step();
    FontItem& record = selected[i]->record;
    if (!record.HasFlag(kResolved)) EnsureFontItemLoaded(*items_, record);
    if (!selected[i]->marked) continue;
    // A font whose file is gone (or is no font), or that a font of the same name before it
    // stands for, is skipped, and the user is told which and why.
    const bool missing = !::PathFileExistsW(record.fullPath.c_str());
    const bool gone = !record.HasFlag(kNotInstallable & ~kUnreadable) && (record.HasFlag(kUnreadable) || missing);
    bool drop = gone || record.HasFlag(kNotInstallable) || record.FullName() == kMarlett ||
                (commandId_ == kInstallFromList && record.IsInstalled());
    bool namesake = false;
    for (size_t j = 0; j < i && !drop; ++j) drop = namesake = EqualsNoCase(selected[j]->record.FullName(), record.FullName());
    if (gone) Fail(record, missing ? IDS_REASON_FILE_MISSING : UnreadableReason(record));
    else if (namesake) Fail(record, IDS_REASON_SAME_NAME);
    if (drop) selected[i]->marked = false;
  }
  return CollectSelected(selected);
}

void FontInstaller::ClearSelectionMarks() {
  COrvelListView* list = items_ ? FontListOfWindow(owner_) : nullptr;
  if (!list) return;  // a group command: the groups tree has no rows to deselect
  for (const FontItemListEntry& entry : items_->Entries()) {
    if (entry.marked || entry.row < 0) continue;
    LVITEMW state{};
    state.stateMask = LVIS_SELECTED;
    ::SendMessageW(owner_, LVM_SETITEMSTATE, static_cast<WPARAM>(entry.row), reinterpret_cast<LPARAM>(&state));
  }
  if (list == &g_AppState.InstalledFonts) {
    // The caller switched the list's redraw off for the command: one paint shows the change.
    ::SendMessageW(owner_, WM_SETREDRAW, TRUE, 0);
    ::UpdateWindow(owner_);
    ::SendMessageW(owner_, WM_SETREDRAW, FALSE, 0);
  }
  // The lists that may show these fonts reload with their new status when next shown.
  g_AppState.FolderFonts.m_refreshPending = true;
  g_AppState.GroupFonts.m_refreshPending = true;
}

bool FontInstaller::CopyToFontsFolder() {
  std::vector<FontItemListEntry*> selected;
  if (CollectSelected(selected) == 0) return false;
  const std::wstring target =
      g_AppState.IsElevated || !PerUserInstallsAllowed() ? g_AppState.SystemFontsFolder : g_AppState.UserFontsFolder;
  copyTarget_ = target;
  FontFileCommand command(items_, FontFileCommand::kCopy, commandId_);
  int result = command.RunToFolder(target, FOF_RENAMEONCOLLISION | FOF_WANTMAPPINGHANDLE);
  for (const auto& pair : command.Renamed()) mappings_.push_back(pair);
  if (HANDLE mappings = command.NameMappings()) {
    if (!ApplyNameMappings(mappings) && result == 1) result = 0;
    ::SHFreeNameMappings(mappings);
  }
  // The files the shell was asked to copy: on success they are this command's copies (deleted
  // again when their font cannot be installed); on a failure whatever of them arrived goes.
  for (FontItemListEntry* entry : selected) {
    if (!entry->marked) continue;
    for (const std::wstring& source : {entry->record.fullPath, entry->record.pfbPath}) {
      if (source.empty()) continue;
      std::wstring name = FileNameOf(source);
      for (const auto& [from, to] : mappings_)
        if (from == name) name = to;
      const std::wstring copy = JoinPath(target, name);
      if (result == 1) copiedFiles_.push_back(copy);
      else if (result < 0) ::DeleteFileW(copy.c_str());
    }
  }
  // Fonts that already lie in the target folder are not copied, but they are installed: in
  // place, from the Fonts folder itself. Only those go on when nothing else was copied.
  for (FontItemListEntry* entry : selected) {
    const bool inTarget = EqualsNoCase(ParentFolder(entry->record.fullPath), target);
    entry->marked = result == 1 || (result == 0 && inTarget);
  }
  std::vector<FontItemListEntry*> left;
  return result == 1 || (result == 0 && CollectSelected(left) > 0);
}

bool FontInstaller::ApplyNameMappings(HANDLE mappings) {
  // The shell's handle is a count and an array of SHNAMEMAPPINGW.
  struct MappingList {
    UINT count;
    LPSHNAMEMAPPINGW mappings;
  };
  const auto* list = static_cast<const MappingList*>(mappings);
  if (!list || !list->mappings) return true;
  for (UINT i = 0; i < list->count; ++i) {
    const SHNAMEMAPPINGW& mapping = list->mappings[i];
    if (!mapping.pszOldPath || !mapping.pszNewPath) continue;
    mappings_.emplace_back(FileNameOf(mapping.pszOldPath), FileNameOf(mapping.pszNewPath));
  }
  return true;
}

void FontInstaller::InstallLoop() {
  std::vector<FontItemListEntry*> selected;
  CollectSelected(selected);
  const FilesByName filesByName = FilesOfEntriesByName(*items_);
  for (size_t i = 0; i < selected.size(); ++i) {
    progress_.Step();
    FontItemListEntry& entry = *selected[i];
    FontItem& item = entry.record;
    if (!item.HasFlag(kResolved)) EnsureFontItemLoaded(*items_, item);
    if (!entry.marked) continue;
    std::optional<MarkerBefore> marker;
    if (commandId_ == kInstallGroup) {
      AddInstalledMarker(entry);
      marker = std::move(lastMarker_);
      if (!entry.marked) {
        // Installed already: not loaded or registered again, but now this group's font too.
        ++installedCount_;
        continue;
      }
    }
    const std::wstring previous = item.fileRef;
    // Drawn by the lists, the face is loaded privately; the system-wide load would then be
    // taken as done without loading it, and the uninstall later find nothing to unload.
    DropPrivateLoads(filesByName, item);
    if (copyFiles_ && !mappings_.empty()) {
      const std::wstring name = FileNameOf(item.fullPath);
      const std::wstring pfbName = FileNameOf(item.pfbPath);
      for (const auto& [from, to] : mappings_) {
        if (from == name) {
          ReplaceAll(item.fullPath, from, to);
          ReplaceAll(item.fileRef, from, to);
        }
        if (item.IsType1() && !item.pfbPath.empty() && from == pfbName) ReplaceAll(item.pfbPath, from, to);
      }
    }
    // Where the files are now, and the registered form of the reference to them.
    std::wstring file = item.fullPath;
    std::wstring pfbFile = item.pfbPath;
    std::wstring path = item.fullPath;
    std::wstring pfb = item.pfbPath;
    if (copyFiles_) {
      file = JoinPath(copyTarget_, FileNameOf(item.fullPath));
      if (!pfb.empty()) pfbFile = JoinPath(copyTarget_, FileNameOf(item.pfbPath));
      if (g_AppState.IsElevated) {
        path = FileNameOf(path);
        if (!pfb.empty()) pfb = FileNameOf(pfb);
      } else {
        path = file;
        if (!pfb.empty()) pfb = pfbFile;
      }
    } else if (EqualsNoCase(ParentFolder(path), g_AppState.SystemFontsFolder)) {
      path = FileNameOf(path);
      if (!pfb.empty()) pfb = FileNameOf(pfb);
    }
    item.fileRef = item.IsType1() ? path + L"|" + pfb : path;
    const std::wstring loadSpec = item.IsType1() ? file + L"|" + pfbFile : file;
    // One load and one value for a file with several faces (or named instances); each of them
    // is counted for a group all the same.
    std::vector<FontItemListEntry*> sameFile;
    if (!item.IsType1()) {
      for (size_t j = i + 1; j < selected.size(); ++j)
        if (selected[j]->marked && selected[j]->record.fileRef == previous) {
          selected[j]->marked = false;
          sameFile.push_back(selected[j]);
        }
    }
    const std::wstring valueName = RegistryValueName(item, file);
    UINT reason = IDS_REASON_NO_NAME;
    DWORD error = 0;
    bool installed = false;
    if (!valueName.empty() && (reason = RegistrationHeldFor(item, valueName, file)) != 0) {
      // Someone else's registration (or one that cannot be read): never overwritten, and so
      // never lost by an uninstall.
    } else if (!valueName.empty()) {
      if (changes_->Load(loadSpec) > 0) {
        installed = WriteFontsValue(item, valueName);
        if (!installed) {
          reason = IDS_REASON_NOT_REGISTERED;
          error = lastError_;
          if (!changes_->Stopped() && changes_->Unload(loadSpec, std::wstring(), 1) == 0)
            Fail(item, IDS_REASON_NOT_PUT_BACK);
        }
      } else {
        reason = IDS_REASON_NOT_LOADED;
        error = ::GetLastError();
      }
    } else {
      reason = IDS_REASON_NO_NAME;
    }
    // The journal could not write a change down: the command stops here, and every change it
    // made is undone together.
    if (changes_->Stopped()) break;
    if (installed) {
      ++installedCount_;
      if (commandId_ == kInstallGroup)
        for (FontItemListEntry* face : sameFile) CountWithItsFile(*face);
      // Installed by hand, a font no group counts: a marker left from a registration removed
      // outside the program would keep a list uninstall from taking it away.
      if (commandId_ == kInstallFromList) DropFileMarkers(item, file, false);
      continue;
    }
    // Nothing of this font stays: not loaded, no value, no copy this command made, and no
    // group count for it.
    entry.marked = false;
    if (marker) PutBackMarker(*marker);
    RemoveCopies({file, pfbFile});
    Fail(item, reason, error);
    // The other fonts of its file were to come with it: they are not installed either.
    for (FontItemListEntry* face : sameFile) Fail(face->record, IDS_REASON_FILE_FAILED);
    if (changes_->Stopped()) break;
  }
}

UINT FontInstaller::RegistrationHeldFor(const FontItem& item, const std::wstring& valueName,
                                        const std::wstring& file) const {
  RegValueState value;
  // A value that cannot be read is not taken as absent: the font is left out.
  if (RegValueState::Read(RootKeyOf(item), item.IsType1() ? kType1FontsKey : kFontsKey, valueName, value) !=
      ERROR_SUCCESS)
    return IDS_REASON_VALUE_UNREADABLE;
  if (!value.exists) return 0;
  if (item.IsType1()) {
    // "T", the ".pfm" and the ".pfb" reference: this font's own registration, or none of ours.
    std::wstring text;
    if (value.type == REG_MULTI_SZ && value.data.size() % 2 == 0)
      text.assign(reinterpret_cast<const wchar_t*>(value.data.data()), value.data.size() / 2);
    while (!text.empty() && text.back() == L'\0') text.pop_back();
    for (wchar_t& ch : text)
      if (ch == L'\0') ch = L'|';
    const std::wstring own = L"T|" + item.fileRef;
    if (value.type == REG_MULTI_SZ && EqualsNoCase(text, own)) return 0;
    return value.type == REG_MULTI_SZ ? IDS_REASON_NAME_TAKEN : IDS_REASON_VALUE_FOREIGN;
  }
  // Only a plain string naming this file is this font's registration: any other kind of value
  // (an expandable string, a number, bytes) is not one this program writes or changes.
  if (value.type != REG_SZ) return IDS_REASON_VALUE_FOREIGN;
  std::wstring data(reinterpret_cast<const wchar_t*>(value.data.data()), value.data.size() / sizeof(wchar_t));
  if (const size_t nul = data.find(L'\0'); nul != std::wstring::npos) data.resize(nul);
  // A bare file name names a file of the system Fonts folder.
  const std::wstring named = IsBareFileName(data) ? JoinPath(g_AppState.SystemFontsFolder, data) : data;
  return EqualsNoCase(named, file) || EqualsNoCase(data, item.fileRef) ? 0 : IDS_REASON_NAME_TAKEN;
}

void FontInstaller::RemoveCopies(std::initializer_list<std::wstring> files) {
  for (const std::wstring& file : files)
    for (const std::wstring& copy : copiedFiles_)
      if (!file.empty() && EqualsNoCase(copy, file)) ::DeleteFileW(file.c_str());
}

bool FontInstaller::WriteFontsValue(FontItem& item) {
  const std::wstring name = RegistryValueName(item, item.fullPath);
  if (name.empty()) {
    lastError_ = ERROR_INVALID_NAME;
    return false;
  }
  return WriteFontsValue(item, name);
}

bool FontInstaller::WriteFontsValue(const FontItem& item, const std::wstring& valueName) {
  if (!item.IsType1() && item.fileRef.empty()) {
    lastError_ = ERROR_FILE_NOT_FOUND;
    return false;
  }
  const wchar_t* keyPath = item.IsType1() ? kType1FontsKey : kFontsKey;
  const RegValueState value = item.IsType1() ? RegistryKey::MultiStringState(L"T|" + item.fileRef)
                                             : RegistryKey::StringState(item.fileRef);
  const LSTATUS status = changes_->SetValue(RootKeyOf(item), keyPath, valueName, value);
  lastError_ = static_cast<DWORD>(status);
  return status == ERROR_SUCCESS;
}

void FontInstaller::SetStatusText(UINT stringId) const {
  if (!g_AppState.StatusBar) return;
  const std::wstring text = stringId ? LoadResString(stringId) : std::wstring();
  ::SendMessageW(g_AppState.StatusBar, SB_SETTEXTW, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

void FontInstaller::Fail(const FontItem& item, UINT reasonId, DWORD error) { Fail(NameForUser(item), reasonId, error); }

void FontInstaller::Fail(const std::wstring& name, UINT reasonId, DWORD error) {
  failed_.push_back({name, reasonId, error});
}

std::wstring FontInstaller::TakeFailureLines() {
  std::wstring lines;
  for (size_t i = 0; i < failed_.size(); ++i) {
    const Failure& failure = failed_[i];
    if (!lines.empty()) lines += L'\n';
    if (i == kMaxNamedFonts && failed_.size() > kMaxNamedFonts + 1) {
      // A box taller than the screen would hide its own button.
      lines += FormatResString(IDS_MORE_FONTS, static_cast<int>(failed_.size() - i));
      break;
    }
    lines += FailureLine(failure.name, failure.reasonId, failure.error);
  }
  failed_.clear();
  return lines;
}

void FontInstaller::ReportFailures(UINT textId) {
  if (failed_.empty()) return;
  // Fonts that only stay as they are, each for a reason of its own, are news, not a failure.
  const bool onlyLeft = std::all_of(failed_.begin(), failed_.end(), [](const Failure& failure) {
    switch (failure.reasonId) {
      case IDS_REASON_OTHER_GROUP:
      case IDS_REASON_INSTALLED_BEFORE:
      case IDS_REASON_FILE_SHARED:
      case IDS_REASON_NOT_BY_GROUP:
      case IDS_REASON_FILE_REPLACED:
      case IDS_REASON_MARKER_DROPPED:
        return true;
      default:
        return false;
    }
  });
  const std::wstring lines = TakeFailureLines();
  AppMessageBox(owner_, onlyLeft ? MB_ICONINFORMATION : MB_ICONERROR, commandId_, textId, 0, lines.c_str());
}

bool FontInstaller::ReportStopped() {
  // What the fonts did before the stop is undone with them: only the stop and the undo count.
  failed_.clear();
  leftInPlace_.clear();
  const std::vector<UndoFailure> kept = changes_->UndoCommand();
  std::wstring lines;
  if (!kept.empty()) {
    lines = LoadResString(IDS_NOT_PUT_BACK);
    for (size_t i = 0; i < kept.size(); ++i) {
      if (i == kMaxNamedFonts && kept.size() > kMaxNamedFonts + 1) {
        lines += L'\n' + FormatResString(IDS_MORE_FONTS, static_cast<int>(kept.size() - i));
        break;
      }
      lines += L'\n' + FailureLine(kept[i].what, kept[i].reasonId, kept[i].error);
    }
  }
  AppMessageBox(owner_, MB_ICONERROR, commandId_, IDS_COMMAND_STOPPED, static_cast<DWORD>(changes_->StopError()),
                lines.empty() ? nullptr : lines.c_str());
  // Fonts were loaded and unloaded again: the lists look afresh.
  AnnounceFontChange();
  return false;
}

UINT FontInstaller::UnreadableReason(const FontItem& item) {
  const uint32_t heldBefore = FileBytes::HeldOpens();
  FileBytes file;
  if (!file.Open(item.fullPath) && FileBytes::HeldOpens() != heldBefore) return IDS_REASON_FILE_HELD;
  return IDS_REASON_UNREADABLE;
}

void FontInstaller::UnloadLoadedFontFile(FontItem& item) {
  if (item.FullName() == kMarlett) return;
  const CLVInstalledFonts& installed = g_AppState.InstalledFonts;
  int row = installed.FindNextByName(item.FullName(), -1, false);
  if (row < 0 && (item.flags & 5) == kOpenTypeCff) {
    // GDI lists CFF fonts under their PostScript-style names with spaces for the hyphens.
    for (std::wstring* name : {&item.names.System(NameSlot::FullName), &item.names.English(NameSlot::FullName)})
      for (wchar_t& ch : *name)
        if (ch == L'-') ch = L' ';
    row = installed.FindNextByName(item.FullName(), -1, false);
  }
  if (row < 0) return;
  const FontItem* record = installed.GetRecordAt(row);
  if (!record || !record->IsGdiOnly()) return;
  std::wstring path = item.fileRef;
  if (item.IsType1()) ReplaceAll(path, L"..\\", L"");
  (void)changes_->Unload(item.GetFilePaths(), path);
  AnnounceFontChange();
}
