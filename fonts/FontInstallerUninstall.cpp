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
constexpr int kMaxRemovals = 8;

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
  if (n <= 0) {
    // A group whose only counted fonts had gone (their markers were dropped, and are named)
    // has nothing installed through it any more: that was its uninstall.
    bool onlyDropped = !failed_.empty();
    for (const Failure& failure : failed_) onlyDropped = onlyDropped && failure.reasonId == IDS_REASON_MARKER_DROPPED;
    const bool dropped = commandId_ == kUninstallGroup && onlyDropped;
    const bool named = commandId_ == kUninstallGroup && !failed_.empty();
    const std::wstring lines = TakeFailureLines();
    if (named)
      AppMessageBox(owner_, MB_ICONWARNING, commandId_, IDS_UNINSTALL_FAILED, 0, lines.c_str());
    else
      AppMessageBox(owner_, MB_ICONWARNING, commandId_, IDS_NOTHING_TO_UNINSTALL, 0, nullptr,
                    g_AppState.UserIsAdmin && !g_AppState.IsElevated);
    SetStatusText(0);
    progress_.Destroy();
    return dropped;
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
  // A group stays installed while a font of it does: it can be uninstalled again later. A
  // marker dropped because its font had gone is no such font.
  bool stays = false;
  for (const Failure& failure : failed_) stays = stays || failure.reasonId != IDS_REASON_MARKER_DROPPED;
  // The report comes before the font change: the refresh it starts must not run, and open
  // boxes of its own, while this box is open.
  ReportFailures(IDS_UNINSTALL_FAILED);
  if (ran) AnnounceFontChange();
  return ran && (commandId_ != kUninstallGroup || !stays);
}

int FontInstaller::FilterUninstallable() {
  std::vector<FontItemListEntry*> selected;
  const int n = CollectSelected(selected);
  if (n == 0 || (!g_AppState.IsElevated && !PerUserInstallsAllowed())) return 0;
  progress_.Create(n);
  for (size_t i = 0; i < selected.size(); ++i) {
    progress_.Step();
    FontItem& record = selected[i]->record;
    if (!record.HasFlag(kResolved)) EnsureFontItemLoaded(*items_, record);
    if (!selected[i]->marked) continue;
    bool keep = false;
    if (commandId_ == kUninstallGroup) {
      // A group takes away only what the groups count; a marker whose font is no longer
      // registered (uninstalled outside the program) goes, and the user is told.
      const bool registered = record.IsInstalled() && (record.IsType1() || !InstalledPathOf(record).empty());
      DWORD marker = 0;
      if (!registered && ReadInstalledMarkerValue(record.InstalledMarkerName(), marker)) {
        DeleteInstalledMarker(record.InstalledMarkerName());
        record.flags &= ~kGroupInstalled;
        Fail(record, IDS_REASON_MARKER_DROPPED);
      }
      keep = registered && record.HasFlag(kGroupInstalled) && !record.HasFlag(kNotUninstallable);
      // A counted font whose file is gone or no longer a font stays registered and counted:
      // the user is told which, and the group stays installed. Not read, it is counted under
      // the name the group lists it by.
      if (record.HasFlag(kUnreadable)) {
        const bool type1 = record.IsType1() || record.fileRef.find(L'|') != std::wstring::npos;
        DWORD counted = 0;
        if (ReadInstalledMarkerValue((type1 ? L"1|" : L"2|") + NameForUser(record), counted) && (counted & kGroupCountMask))
          Fail(record, ::PathFileExistsW(record.fullPath.c_str()) ? IDS_REASON_UNREADABLE : IDS_REASON_FILE_MISSING);
      }
    } else if (record.IsInstalled() && !record.HasFlag(kNotUninstallable) && !record.HasFlag(kGroupInstalled)) {
      // Fonts a group installed are uninstalled only through a group.
      keep = !record.HasFlag(kProtected | kGdiOnly);
      for (size_t j = 0; j < i && keep; ++j) keep = !EqualsNoCase(selected[j]->record.FullName(), record.FullName());
      // A group counts a collection under the one face it met first: the other faces, which
      // carry no marker, would take the group's font away with the file.
      if (keep) keep = !FileCountedByGroup(record);
    }
    if (!keep) selected[i]->marked = false;
  }
  return CollectSelected(selected);
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
  std::vector<std::wstring> done;  // the files handled, so that the faces of one file go once
  const FilesByName filesByName = FilesOfEntriesByName(*items_);
  for (FontItemListEntry* entry : selected) {
    progress_.Step();
    FontItem& item = entry->record;
    if (!item.HasFlag(kResolved)) EnsureFontItemLoaded(*items_, item);
    if (!entry->marked) continue;
    Undo undo{entry, {}, 0, {}, {}};
    if (item.HasFlag(kGroupInstalled)) {
      RemoveInstalledMarker(*entry);
      undo.marker = std::move(lastMarker_);
      if (!entry->marked) continue;  // another group still counts it, or it was installed before
      // Another face of its collection file is still counted, or was installed before: the
      // file, and with it this face, stays installed.
      if (FileHeldByOtherFaces(item)) {
        entry->marked = false;
        continue;
      }
    }
    if (item.IsType1()) {
      ::SetCurrentDirectoryW(g_AppState.SystemFontsFolder.c_str());
      lastError_ = 0;
      if (!DeleteType1Value(item)) {
        if (lastError_) {
          // The value is there but stays: the font stays whole, files and group count too.
          entry->marked = false;
          if (undo.marker) PutBackMarker(*undo.marker);
          Fail(item, IDS_REASON_VALUE_KEPT, lastError_);
        } else if (!(copyFiles_ && InFontsFolder(item.fullPath) && InFontsFolder(item.pfbPath))) {
          entry->marked = false;
        }
        // Without a value nothing is unloaded; the files of a font in the Fonts folder still go
        // to the file step.
        continue;
      }
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
    bool seen = target.empty();
    for (const std::wstring& file : done) seen = seen || EqualsNoCase(file, target);
    if (seen) {
      entry->marked = false;
      continue;
    }
    done.push_back(target);
    undo.loadPath = target;
    // A private load of the file (or of a namesake, which some GDIs take for it) would keep
    // the face known, or take the removal below for itself.
    g_AppState.FontCache.RemoveFile(target);
    DropPrivateLoads(filesByName, item);
    const bool inFontsFolder = InFontsFolder(target);
    if (inFontsFolder) {
      // A font the system registered by bare name was loaded by that name.
      ::SetCurrentDirectoryW(ParentFolder(target).c_str());
      undo.unloads += RemoveFontResourceRepeatedly(FileNameOf(target));
    }
    undo.unloads += RemoveFontResourceRepeatedly(target);
    if (undo.unloads == 0) {
      // Nothing was unloaded: the font stays whole, its value, its file and its group count,
      // and the user is told that it is still installed.
      entry->marked = false;
      if (undo.marker) PutBackMarker(*undo.marker);
      Fail(item, IDS_REASON_NOT_UNLOADED);
      continue;
    }
    if (!DeleteFontsValue(item, target)) {
      Reinstate(undo);
      entry->marked = false;
      Fail(item, IDS_REASON_VALUE_KEPT, lastError_);
      continue;
    }
    undo.values = std::move(lastRemoved_);
    // The registration is gone: so is any "installed before" word of the file's faces.
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
  return true;
}

bool FontInstaller::DeleteFontsValue(FontItem& item, const std::wstring& path) {
  lastRemoved_.clear();
  const std::wstring full = InFolderUnlessFull(g_AppState.SystemFontsFolder, path);
  const std::wstring name = FileNameOf(full);
  // A bare file name in a value names a file of the system Fonts folder, and nothing else.
  const bool bareNamesCount = EqualsNoCase(ParentFolder(full), g_AppState.SystemFontsFolder);
  const HKEY root = RootKeyOf(item);
  std::vector<RemovedValue> found;
  {
    RegistryValueEnumerator values(root, kFontsKey, KEY_WOW64_64KEY);
    while (values.IsOpen() && values.NextString()) {
      const std::wstring data(values.Text());
      if (EqualsNoCase(data, full) || (bareNamesCount && IsBareFileName(data) && EqualsNoCase(data, name))) {
        const BYTE* bytes = values.Data();
        found.push_back({root, kFontsKey, std::wstring(values.Name()), values.Type(),
                         std::vector<BYTE>(bytes, bytes + values.DataSize())});
      }
    }
  }
  if (found.empty()) return true;
  orv::ScopedKey key = OpenRegKey(root, kFontsKey, KEY_WRITE | KEY_WOW64_64KEY);
  if (!key) {
    lastError_ = ERROR_ACCESS_DENIED;
    return false;
  }
  for (RemovedValue& value : found) {
    const LSTATUS status = seams::DeleteRegValue(key.Get(), value.name.c_str());
    if (status != ERROR_SUCCESS) {
      // All or nothing: the values already removed go back.
      lastError_ = static_cast<DWORD>(status);
      RestoreValues(lastRemoved_);
      lastRemoved_.clear();
      return false;
    }
    lastRemoved_.push_back(std::move(value));
  }
  return true;
}

bool FontInstaller::DeleteType1Value(FontItem& item) {
  lastRemoved_.clear();
  lastUnloads_ = 0;
  const HKEY root = RootKeyOf(item);
  RegistryValueEnumerator key(root, kType1FontsKey, KEY_SET_VALUE | KEY_CREATE_SUB_KEY | KEY_WOW64_64KEY);
  if (!key.IsOpen()) return false;
  const std::wstring name = item.FullName();
  std::vector<BYTE> data(kType1ValueBytes);
  DWORD type = 0;
  DWORD size = kType1ValueBytes;
  if (::RegQueryValueExW(key.Key(), name.c_str(), nullptr, &type, data.data(), &size) != ERROR_SUCCESS ||
      type != REG_MULTI_SZ || size < 2 || size % 2)
    return false;
  data.resize(size);
  const auto* chars = reinterpret_cast<const wchar_t*>(data.data());
  const size_t count = size / 2;
  if (chars[count - 1] != L'\0' || (count >= 2 && chars[count - 2] != L'\0')) return false;
  std::wstring text(chars, count >= 2 ? count - 2 : 0);
  for (wchar_t& ch : text)
    if (ch == L'\0') ch = L'|';
  // "T|x.pfm|x.pfb" without the "T|".
  if (text.size() < 2) return false;
  const std::wstring references = text.substr(2);
  const LSTATUS status = seams::DeleteRegValue(key.Key(), name.c_str());
  if (status != ERROR_SUCCESS) {
    lastError_ = static_cast<DWORD>(status);
    return false;
  }
  lastRemoved_.push_back({root, kType1FontsKey, name, REG_MULTI_SZ, std::move(data)});
  while (lastUnloads_ < kMaxRemovals && seams::RemoveFontResource(references.c_str())) ++lastUnloads_;
  // The files the value named are the ones to delete.
  const size_t bar = references.find(L'|');
  item.fileRef = references;
  item.fullPath = InFolderUnlessFull(g_AppState.SystemFontsFolder, references.substr(0, bar));
  item.pfbPath = bar == std::wstring::npos ? std::wstring()
                                           : InFolderUnlessFull(g_AppState.SystemFontsFolder, references.substr(bar + 1));
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
    orv::ScopedKey key = OpenRegKey(value.root, value.key.c_str(), KEY_SET_VALUE | KEY_WOW64_64KEY);
    restored = key && seams::SetRegValue(key.Get(), value.name.c_str(), value.type, value.data.data(),
                                         static_cast<DWORD>(value.data.size())) == ERROR_SUCCESS &&
               restored;
  }
  return restored;
}

void FontInstaller::Reinstate(Undo& undo) {
  RestoreValues(undo.values);
  if (undo.marker) PutBackMarker(*undo.marker);
  for (int i = 0; i < undo.unloads; ++i) seams::AddFontResource(undo.loadPath.c_str());
}
