// The uninstall path of FontInstaller: unload, remove the registration, delete the files from
// the Fonts folder, and put back what a failed step leaves half done.
#include <shlwapi.h>

#include "app/AppState.h"
#include "common/AppMessageBox.h"
#include "common/RegistryKey.h"
#include "common/RegistryValue.h"
#include "common/ResString.h"
#include "common/ResourceIds.h"
#include "common/Seams.h"
#include "fonts/FontFileCommand.h"
#include "fonts/FontFileReader.h"
#include "fonts/FontInstaller.h"
#include "fonts/FontFileWalk.h"
#include "fonts/FontInstallerShared.h"
#include "fonts/InstalledFontRecords.h"
#include "fonts/InstalledMarkers.h"
#include "fonts/RegistryValueEnumerator.h"

using namespace font_flags;
using namespace installer_detail;

namespace {

constexpr uint32_t kNotUninstallable = kRaster | kEudc | kUnreadable | kOtherVersion;
// The Type 1 value: "T", the ".pfm" and the ".pfb" reference, at most 520 characters.
constexpr DWORD kType1ValueBytes = 1040;

bool ShiftDown() { return (::GetAsyncKeyState(VK_SHIFT) & 0x8000) != 0; }

std::wstring InFolderUnlessFull(const std::wstring& folder, const std::wstring& ref) {
  return IsBareFileName(ref) ? JoinPath(folder, ref) : ref;
}

}  // namespace

bool FontInstaller::UninstallSelected(UINT commandId) {
  commandId_ = commandId;
  return Uninstall();
}

bool FontInstaller::Uninstall() {
  const int n = FilterUninstallable();
  ClearSelectionMarks();
  if (changes_->Stopped()) {
    SetStatusText(0);
    progress_.Destroy();
    return ReportStopped();
  }
  if (n <= 0) {
    NameLeftInPlace();
    // A group none of whose fonts is counted for it any more (their markers were dropped, or
    // the fonts stay for reasons of their own, each named) has nothing installed through it:
    // that was its uninstall.
    const bool named = commandId_ == kUninstallGroup && !failed_.empty();
    const bool done = named && !KeepsGroupInstalled();
    if (named) {
      ReportFailures(IDS_UNINSTALL_FAILED);
    } else {
      failed_.clear();
      AppMessageBox(owner_, MB_ICONWARNING, commandId_, IDS_NOTHING_TO_UNINSTALL, 0, nullptr,
                    g_AppState.UserIsAdmin && !g_AppState.IsElevated);
    }
    SetStatusText(0);
    progress_.Destroy();
    return done;
  }
  CLVInstalledFonts& installed = g_AppState.InstalledFonts;
  if (installed.m_hWnd) installed.SavePosition(true);
  fileOpFlags_ = FOF_NOCONFIRMATION | (ShiftDown() ? 0 : FOF_ALLOWUNDO);
  SetStatusText(IDS_CHECKING_UNINSTALL);
  bool ran = false;
  if (ConfirmCount(n) == IDOK) {
    std::vector<FontItemListEntry*> selected;
    progress_.Create(CollectSelected(selected));
    UninstallLoop();
    SetStatusText(IDS_DELETING_FONT_FILES);
    if (copyFiles_) DeleteUninstalledFiles();
    progress_.Destroy();
    SetStatusText(IDS_FONTS_DONE);
    ran = true;
  }
  SetStatusText(0);
  progress_.Destroy();
  if (changes_->Stopped()) return ReportStopped();
  // A group stays installed while a font of it does because its uninstall failed: it can be
  // uninstalled again later. Fonts that stay for a reason of their own are only named.
  const bool stays = KeepsGroupInstalled();
  // The report comes before the font change: the refresh it starts must not run, and open
  // boxes of its own, while this box is open.
  ReportFailures(IDS_UNINSTALL_FAILED);
  if (ran) AnnounceFontChange();
  return ran && (commandId_ != kUninstallGroup || !stays);
}

bool FontInstaller::KeepsGroupInstalled() const {
  for (const Failure& failure : failed_)
    switch (failure.reasonId) {
      case IDS_REASON_NOT_UNLOADED:
      case IDS_REASON_VALUE_KEPT:
      case IDS_REASON_FILE_KEPT:
      case IDS_REASON_FILE_MISSING:
      case IDS_REASON_UNREADABLE:
      case IDS_REASON_FILE_HELD:
      case IDS_REASON_VALUE_UNREADABLE:
      case IDS_REASON_NOT_PUT_BACK:
        return true;
      default:
        break;
    }
  return false;
}

int FontInstaller::FilterUninstallable() {
  std::vector<FontItemListEntry*> selected;
  const int n = CollectSelected(selected);
  if (n == 0 || (!g_AppState.IsElevated && !PerUserInstallsAllowed())) return 0;
  progress_.Create(n);
  for (size_t i = 0; i < selected.size(); ++i) {
    progress_.Step();
    FontItem& record = selected[i]->record;
    // The name the group lists the font by, before the file says what it holds.
    const std::wstring listed = record.HasFlag(kRead) ? std::wstring() : record.displayName;
    if (!record.HasFlag(kResolved)) EnsureFontItemLoaded(*items_, record);
    if (!selected[i]->marked) continue;
    bool keep = false;
    if (commandId_ == kUninstallGroup) {
      keep = FilterGroupFont(*selected[i], listed);
    } else if (record.IsInstalled() && !record.HasFlag(kNotUninstallable) && !record.HasFlag(kGroupInstalled)) {
      // Fonts a group installed are uninstalled only through a group.
      keep = !record.HasFlag(kProtected | kGdiOnly);
      for (size_t j = 0; j < i && keep; ++j) keep = !EqualsNoCase(selected[j]->record.FullName(), record.FullName());
      // Another font of its file that a group counts (a face of the collection, a named
      // instance of the variable font) would go with the file.
      if (keep) keep = !FileCountedByGroup(record);
    }
    if (!keep) selected[i]->marked = false;
  }
  return CollectSelected(selected);
}

bool FontInstaller::FilterGroupFont(FontItemListEntry& entry, const std::wstring& listed) {
  FontItem& record = entry.record;
  const std::wstring prefix = record.IsType1() || record.fileRef.find(L'|') != std::wstring::npos ? L"1|" : L"2|";
  // The file no longer holds the font the group lists (it was replaced by another font, or
  // holds no face or instance of that name): what it holds now is not the group's to take
  // away, and the group's count of the font it named goes.
  const bool replaced = !listed.empty() && HoldsAnotherFont(record, listed);
  if (replaced) {
    const std::wstring name = prefix + listed;
    DWORD marker = 0;
    if (ReadInstalledMarkerValue(name, marker) && (marker & kGroupCountMask)) {
      DropGroupCount(*changes_, name, entry.count);
      Fail(listed, IDS_REASON_FILE_REPLACED);
    }
    return false;
  }
  // A group takes away only what the groups count; a marker whose font is no longer
  // registered (uninstalled outside the program) goes, and the user is told.
  const bool registered = record.IsInstalled() && (record.IsType1() || !InstalledPathOf(record).empty());
  DWORD marker = 0;
  const bool hasMarker = ReadInstalledMarkerValue(record.InstalledMarkerName(), marker);
  if (!registered && hasMarker) {
    DeleteInstalledMarker(*changes_, record.InstalledMarkerName());
    record.flags &= ~kGroupInstalled;
    Fail(record, IDS_REASON_MARKER_DROPPED);
  }
  // A counted font whose file is gone or no longer a font stays registered and counted: the
  // user is told which, and the group stays installed. Not read, it is counted under the name
  // the group lists it by.
  if (record.HasFlag(kUnreadable)) {
    DWORD counted = 0;
    if (ReadInstalledMarkerValue(prefix + NameForUser(record), counted) && (counted & kGroupCountMask))
      Fail(record, ::PathFileExistsW(record.fullPath.c_str()) ? UnreadableReason(record) : IDS_REASON_FILE_MISSING);
    return false;
  }
  if (registered && !record.HasFlag(kGroupInstalled)) {
    // Installed, but not through a group: it stays, and the user is told why, unless another
    // font of its file takes the file away in this uninstall.
    leftInPlace_.push_back({&entry, hasMarker && (marker & kInstalledBeforeMark) ? IDS_REASON_INSTALLED_BEFORE
                                                                                : IDS_REASON_NOT_BY_GROUP});
    return false;
  }
  if (registered && record.HasFlag(kNotUninstallable)) {
    // Installed as another version or kind than the group's: the group's count goes, the
    // installed font stays.
    (void)RemoveInstalledMarker(entry);
    Fail(record, IDS_REASON_NOT_OURS);
    return false;
  }
  return registered;
}

bool FontInstaller::HoldsAnotherFont(const FontItem& record, const std::wstring& listed) const {
  if (!::PathFileExistsW(record.fullPath.c_str())) return false;
  if (!record.HasFlag(kUnreadable)) {
    // A font the group lists by another name than any the file gives it.
    for (const std::wstring* name : {&record.displayName, &record.FullName(), &record.names.English(NameSlot::FullName)})
      if (EqualsNoCase(*name, listed)) return false;
    return true;
  }
  // Not found under its name: replaced when the file still holds fonts, only not this one.
  if (record.IsType1()) return false;
  bool holdsFonts = false;
  ForEachFontItem(std::wstring(), record.fullPath, [&](const FontItem& face) { holdsFonts = holdsFonts || !face.IsUnreadable(); });
  return holdsFonts;
}

std::wstring FontInstaller::InstalledPathOf(const FontItem& item) const {
  if (item.IsInstalledFile() && !item.fullPath.empty()) return item.fullPath;
  const FontItem* record = InstalledRecordOf(item);
  if (!record) return {};
  const std::wstring& file = record->fullPath.empty() ? record->fileRef : record->fullPath;
  if (file.empty()) return {};
  return InFolderUnlessFull(g_AppState.SystemFontsFolder, file);
}

bool FontInstaller::InFontsFolder(const std::wstring& path) const {
  const std::wstring folder = ParentFolder(path);
  return EqualsNoCase(folder, g_AppState.SystemFontsFolder) ||
         (PerUserInstallsAllowed() && EqualsNoCase(folder, g_AppState.UserFontsFolder));
}

bool FontInstaller::UninstallLoop() {
  std::vector<FontItemListEntry*> selected;
  if (CollectSelected(selected) == 0) return false;
  progress_.Create(static_cast<int>(selected.size()));
  SetStatusText(IDS_UNINSTALLING_FONTS);
  const FilesByName filesByName = FilesOfEntriesByName(*items_);
  for (FontItemListEntry* entry : selected) {
    progress_.Step();
    FontItem& item = entry->record;
    if (!item.HasFlag(kResolved)) EnsureFontItemLoaded(*items_, item);
    if (!entry->marked) continue;
    Undo undo{entry, {}, 0, {}, {}};
    if (item.HasFlag(kGroupInstalled)) {
      const DWORD left = RemoveInstalledMarker(*entry);
      undo.marker = std::move(lastMarker_);
      if (changes_->Stopped()) break;
      if (markerKept_) {
        Fail(item, IDS_REASON_VALUE_KEPT);
        continue;
      }
      if (!entry->marked) {
        // Another group still counts it, or it was installed before the groups.
        leftInPlace_.push_back({entry, left & kGroupCountMask ? IDS_REASON_OTHER_GROUP : IDS_REASON_INSTALLED_BEFORE});
        continue;
      }
      // Another font of its file is still counted, or was installed before: the file, and
      // with it this font, stays installed.
      if (FileHeldByOtherFaces(item)) {
        entry->marked = false;
        leftInPlace_.push_back({entry, IDS_REASON_FILE_SHARED});
        continue;
      }
    }
    if (item.IsType1()) {
      ::SetCurrentDirectoryW(g_AppState.SystemFontsFolder.c_str());
      lastError_ = 0;
      if (!DeleteType1Value(item)) {
        if (changes_->Stopped()) break;
        if (lastError_) {
          // The value is there but stays (or cannot be read): the font stays whole, files and
          // group count too.
          entry->marked = false;
          if (undo.marker) PutBackMarker(*undo.marker);
          Fail(item, lastUnreadable_ ? IDS_REASON_VALUE_UNREADABLE : IDS_REASON_VALUE_KEPT, lastError_);
        } else {
          // No registration of this font's files under its name (none, or another value):
          // nothing of it is unloaded or changed.
          RegValueState value;
          if (RegValueState::Read(RootKeyOf(item), kType1FontsKey, item.FullName(), value) != ERROR_SUCCESS ||
              value.exists)
            Fail(item, IDS_REASON_NOT_OURS);
          if (!(copyFiles_ && InFontsFolder(item.fullPath) && InFontsFolder(item.pfbPath))) entry->marked = false;
        }
        // Without a value nothing is unloaded; the files of a font in the Fonts folder still go
        // to the file step.
        continue;
      }
      if (changes_->Stopped()) break;
      undo.values = std::move(lastRemoved_);
      undo.unloads = lastUnloads_;
      undo.loadPath = item.fullPath + L"|" + item.pfbPath;
      if (copyFiles_ && InFontsFolder(item.fullPath) && InFontsFolder(item.pfbPath)) undo_.push_back(std::move(undo));
      else entry->marked = false;
      continue;
    }
    // Only the file the installed registration names is acted on, never a namesake of the
    // entry's file in the Fonts folder.
    const std::wstring target = InstalledPathOf(item);
    if (target.empty() || Unloaded(target)) {
      entry->marked = false;
      continue;
    }
    // Only plain string values naming the file are registrations this program removes: a file
    // registered only by values of other kinds is not unloaded.
    std::vector<RemovedValue> values;
    if (const LSTATUS read = FindFontsValues(item, target, values); read != ERROR_SUCCESS || values.empty()) {
      // A registration that cannot be read is not taken as absent: the font stays as it is.
      entry->marked = false;
      if (undo.marker) PutBackMarker(*undo.marker);
      Fail(item, read != ERROR_SUCCESS ? IDS_REASON_VALUE_UNREADABLE : IDS_REASON_NOT_OURS, static_cast<DWORD>(read));
      continue;
    }
    unloaded_.insert(FoldCase(target));
    undo.loadPath = target;
    // A private load of the file (or of a namesake, which some GDIs take for it) would keep
    // the face known, or take the removal below for itself.
    g_AppState.FontCache.RemoveFile(target);
    DropPrivateLoads(filesByName, item);
    const bool inFontsFolder = InFontsFolder(target);
    // A font the system registered by bare name was loaded by that name.
    if (inFontsFolder) ::SetCurrentDirectoryW(ParentFolder(target).c_str());
    undo.unloads = changes_->Unload(target, inFontsFolder ? FileNameOf(target) : std::wstring());
    if (changes_->Stopped()) break;
    if (undo.unloads == 0) {
      // Nothing was unloaded: the font stays whole, its value, its file and its group count,
      // and the user is told that it is still installed.
      unloaded_.erase(FoldCase(target));
      entry->marked = false;
      if (undo.marker) PutBackMarker(*undo.marker);
      Fail(item, IDS_REASON_NOT_UNLOADED);
      continue;
    }
    if (!DeleteValues(values)) {
      if (changes_->Stopped()) break;
      const DWORD error = lastError_;
      Reinstate(undo);
      unloaded_.erase(FoldCase(target));
      entry->marked = false;
      Fail(item, IDS_REASON_VALUE_KEPT, error);
      continue;
    }
    undo.values = std::move(lastRemoved_);
    // The registration is gone: so is any "installed before" word of the file's fonts.
    DropFileMarkers(item, target, true);
    if (copyFiles_ && inFontsFolder) {
      item.fullPath = target;
      item.fileRef = target;
      item.pfbPath.clear();
      undo_.push_back(std::move(undo));
    } else {
      // Installed in place: its file is never deleted.
      entry->marked = false;
    }
  }
  if (!g_AppState.FolderFonts.m_folder.empty()) ::SetCurrentDirectoryW(g_AppState.FolderFonts.m_folder.c_str());
  NameLeftInPlace();
  return true;
}

bool FontInstaller::Unloaded(const std::wstring& file) const { return unloaded_.count(FoldCase(file)) > 0; }

void FontInstaller::NameLeftInPlace() {
  // A font whose file went with another font of it in this uninstall is not left in place.
  for (const auto& [entry, reason] : leftInPlace_) {
    const std::wstring target = entry->record.IsType1() ? std::wstring() : InstalledPathOf(entry->record);
    if (target.empty() || !Unloaded(target)) Fail(entry->record, reason);
  }
  leftInPlace_.clear();
}

FontInstaller::FontsKeyIndex& FontInstaller::FontsValuesOf(HKEY root) {
  FontsKeyIndex& index = root == HKEY_LOCAL_MACHINE ? machineFonts_ : userFonts_;
  if (index.read) return index;
  index.read = true;
  {
    orv::ScopedKey probe;
    const LSTATUS opened = ::RegOpenKeyExW(root, kFontsKey, 0, KEY_READ | KEY_WOW64_64KEY, probe.Receive());
    if (opened == ERROR_FILE_NOT_FOUND) return index;
    if (opened != ERROR_SUCCESS) {
      index.error = opened;
      return index;
    }
  }
  RegistryValueEnumerator values(root, kFontsKey, KEY_WOW64_64KEY);
  // Only plain strings are registrations: a value of another kind is not this program's to remove.
  while (values.NextString())
    if (values.Type() == REG_SZ) {
      const BYTE* bytes = values.Data();
      index.Add({root, kFontsKey, std::wstring(values.Name()), REG_SZ,
                 std::vector<BYTE>(bytes, bytes + values.DataSize())},
                values.Text());
    }
  if (values.LastError() != ERROR_NO_MORE_ITEMS) index.error = values.LastError();
  return index;
}

void FontInstaller::FontsKeyIndex::Add(RemovedValue value, std::wstring_view data) {
  byData[FoldCase(data)].push_back(std::move(value));
}

void FontInstaller::FontsKeyIndex::Remove(const RemovedValue& value) {
  std::wstring data(reinterpret_cast<const wchar_t*>(value.data.data()), value.data.size() / sizeof(wchar_t));
  data.resize(wcsnlen(data.c_str(), data.size()));
  auto found = byData.find(FoldCase(data));
  if (found == byData.end()) return;
  std::erase_if(found->second, [&](const RemovedValue& known) { return known.name == value.name; });
}

LSTATUS FontInstaller::FindFontsValues(const FontItem& item, const std::wstring& path, std::vector<RemovedValue>& found) {
  found.clear();
  const std::wstring full = InFolderUnlessFull(g_AppState.SystemFontsFolder, path);
  const std::wstring name = FileNameOf(full);
  // A bare file name in a value names a file of the system Fonts folder, and nothing else.
  const bool bareNamesCount = EqualsNoCase(ParentFolder(full), g_AppState.SystemFontsFolder);
  // The key is read once per command: a group of a thousand fonts is not a thousand reads of it.
  const FontsKeyIndex& index = FontsValuesOf(RootKeyOf(item));
  if (index.error != ERROR_SUCCESS) return index.error;
  for (const std::wstring& data : {full, bareNamesCount ? name : std::wstring()}) {
    if (data.empty()) continue;
    if (const auto values = index.byData.find(FoldCase(data)); values != index.byData.end())
      found.insert(found.end(), values->second.begin(), values->second.end());
  }
  return ERROR_SUCCESS;
}

bool FontInstaller::DeleteFontsValue(FontItem& item, const std::wstring& path) {
  std::vector<RemovedValue> found;
  if (const LSTATUS read = FindFontsValues(item, path, found); read != ERROR_SUCCESS) {
    lastError_ = static_cast<DWORD>(read);
    return false;
  }
  return DeleteValues(found);
}

bool FontInstaller::DeleteValues(std::vector<RemovedValue>& found) {
  lastRemoved_.clear();
  for (RemovedValue& value : found) {
    const LSTATUS status = changes_->SetValue(value.root, value.key.c_str(), value.name, RegValueState());
    if (status != ERROR_SUCCESS) {
      // All or nothing: the values already removed go back.
      lastError_ = static_cast<DWORD>(status);
      if (!changes_->Stopped()) (void)RestoreValues(lastRemoved_);
      lastRemoved_.clear();
      return false;
    }
    FontsValuesOf(value.root).Remove(value);
    lastRemoved_.push_back(std::move(value));
  }
  return true;
}

bool FontInstaller::DeleteType1Value(FontItem& item) {
  lastRemoved_.clear();
  lastUnloads_ = 0;
  lastUnreadable_ = false;
  const HKEY root = RootKeyOf(item);
  const std::wstring name = item.FullName();
  // A value that cannot be read is not taken as absent: the font stays, named.
  const auto unreadable = [&](LSTATUS status) {
    lastError_ = static_cast<DWORD>(status);
    lastUnreadable_ = true;
    return false;
  };
  RegistryValueEnumerator key(root, kType1FontsKey, KEY_SET_VALUE | KEY_CREATE_SUB_KEY | KEY_WOW64_64KEY);
  if (!key.IsOpen()) {
    RegValueState value;
    const LSTATUS read = RegValueState::Read(root, kType1FontsKey, name, value);
    return read != ERROR_SUCCESS ? unreadable(read) : false;
  }
  std::vector<BYTE> data(kType1ValueBytes);
  DWORD type = 0;
  DWORD size = kType1ValueBytes;
  const LSTATUS read = ::RegQueryValueExW(key.Key(), name.c_str(), nullptr, &type, data.data(), &size);
  // Longer than "T" and two references can be: no registration of this program's.
  if (read != ERROR_SUCCESS && read != ERROR_FILE_NOT_FOUND && read != ERROR_MORE_DATA) return unreadable(read);
  if (read != ERROR_SUCCESS || type != REG_MULTI_SZ || size < 2 || size % 2) return false;
  data.resize(size);
  const auto* chars = reinterpret_cast<const wchar_t*>(data.data());
  const size_t count = size / 2;
  if (chars[count - 1] != L'\0' || (count >= 2 && chars[count - 2] != L'\0')) return false;
  std::wstring text(chars, count >= 2 ? count - 2 : 0);
  for (wchar_t& ch : text)
    if (ch == L'\0') ch = L'|';
  // "T|x.pfm|x.pfb" without the "T|".
  if (text.size() < 2 || text.compare(0, 2, L"T|") != 0) return false;
  const std::wstring references = text.substr(2);
  // A value that names other files than this font's is not its registration.
  const size_t split = references.find(L'|');
  const auto names = [&](const std::wstring& reference, const std::wstring& file) {
    return EqualsNoCase(InFolderUnlessFull(g_AppState.SystemFontsFolder, reference), file) ||
           EqualsNoCase(FileNameOf(reference), FileNameOf(file));
  };
  if (split == std::wstring::npos || !names(references.substr(0, split), item.fullPath) ||
      (!item.pfbPath.empty() && !names(references.substr(split + 1), item.pfbPath)))
    return false;
  const LSTATUS status = changes_->SetValue(root, kType1FontsKey, name, RegValueState());
  if (status != ERROR_SUCCESS) {
    lastError_ = static_cast<DWORD>(status);
    return false;
  }
  lastRemoved_.push_back({root, kType1FontsKey, name, REG_MULTI_SZ, std::move(data)});
  // The files the value named are the ones to unload and delete.
  const size_t bar = references.find(L'|');
  item.fileRef = references;
  item.fullPath = InFolderUnlessFull(g_AppState.SystemFontsFolder, references.substr(0, bar));
  item.pfbPath = bar == std::wstring::npos ? std::wstring()
                                           : InFolderUnlessFull(g_AppState.SystemFontsFolder, references.substr(bar + 1));
  // Written down by their full paths, unloaded also by the references as the value holds them.
  lastUnloads_ = changes_->Unload(item.fullPath + L"|" + item.pfbPath, references);
  return true;
}

bool FontInstaller::DeleteUninstalledFiles() {
  std::vector<FontItemListEntry*> selected;
  const int n = CollectSelected(selected);
  if (n == 0) return false;
  SetStatusText(IDS_DELETING_FONT_FILES);
  progress_.Create(n);
  for (FontItemListEntry* entry : selected) {
    progress_.Step();
    if (entry->record.IsType1()) entry->record.fileRef = entry->record.fullPath + L"|" + entry->record.pfbPath;
  }
  FontFileCommand command(items_, FontFileCommand::kDelete, commandId_);
  command.SetFlags(fileOpFlags_);
  const int result = command.CollectSourcesNoUndo();
  // Whatever the shell did: a font whose file is still there is installed again, as it was.
  progress_.Create(static_cast<int>(undo_.size()));
  for (Undo& undo : undo_) {
    progress_.Step();
    const FontItem& item = undo.entry->record;
    const bool remains = ::PathFileExistsW(item.fullPath.c_str()) ||
                         (!item.pfbPath.empty() && ::PathFileExistsW(item.pfbPath.c_str()));
    if (!remains) continue;
    Reinstate(undo);
    Fail(item, IDS_REASON_FILE_KEPT);
  }
  undo_.clear();
  return result == 1;
}

bool FontInstaller::RestoreValues(std::vector<RemovedValue>& values) {
  bool restored = true;
  for (const RemovedValue& value : values) {
    const RegValueState state = RegValueState::Bytes(value.type, value.data.data(), value.data.size());
    if (changes_->SetValue(value.root, value.key.c_str(), value.name, state) != ERROR_SUCCESS) {
      restored = false;
      continue;
    }
    if (value.key == kFontsKey) {
      std::wstring data(reinterpret_cast<const wchar_t*>(value.data.data()), value.data.size() / sizeof(wchar_t));
      data.resize(wcsnlen(data.c_str(), data.size()));
      FontsValuesOf(value.root).Add(value, data);
    }
  }
  return restored;
}

bool FontInstaller::Reinstate(Undo& undo) {
  bool whole = RestoreValues(undo.values);
  if (undo.marker) whole = PutBackMarker(*undo.marker) && whole;
  for (int i = 0; i < undo.unloads; ++i) whole = changes_->Load(undo.loadPath) > 0 && whole;
  // Half put back: the user must know that the font is neither installed nor uninstalled.
  if (!whole && !changes_->Stopped()) Fail(undo.entry->record, IDS_REASON_NOT_PUT_BACK);
  return whole;
}
