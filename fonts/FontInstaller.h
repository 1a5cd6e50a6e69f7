// Installs fonts for the machine or the current user, and uninstalls them: copies the files
// into a Fonts folder when asked, loads each font with AddFontResourceW and writes the system's
// registration value (Fonts or Type 1 Fonts key), so that the font survives a restart; the
// uninstall unloads, removes the value and, when asked, deletes the file from the Fonts folder.
//
// One object lives for one command on the caller's stack, over the caller's FontItemList: an
// entry is acted on while its mark is set, and the installer clears the mark of every entry it
// leaves out, so the caller can read back what was done. Main thread only; no abort. Every
// registry value it changes and every font it loads or unloads goes through one writer
// (FontChanges), a group command's journal; when that cannot write a change down, the command
// stops before the change, undoes what it did and says so.
//
// Each font ends a command either fully installed (file, value, loaded) or fully uninstalled:
// a step that fails undoes the steps before it for that font (a copy made by this command is
// deleted again, a value removed is written back, an unloaded font is loaded again) and the
// failure is reported in one message at the end, each font with its reason, before the font
// change is announced. A registration this program did not write is never overwritten or
// removed by an install: a value of the font's name that names another file stays, and the
// font is left out.
#pragma once

#include <windows.h>

#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <utility>
#include <vector>

#include "common/StatusProgressBar.h"
#include "fonts/FontChanges.h"
#include "lists/FontItemList.h"

// Command identifiers of the installer; also the string identifiers of its message captions.
inline constexpr UINT kInstallFromList = 21002;
inline constexpr UINT kUninstallFromList = 21003;
inline constexpr UINT kInstallGroup = 21004;
inline constexpr UINT kUninstallGroup = 21005;

class FontInstaller {
public:
  // Every change the command makes goes through `changes` (a group command's journal); null:
  // straight to the system.
  FontInstaller(FontItemList* items, HWND owner, bool copyFiles, FontChanges* changes = nullptr);
  FontInstaller(const FontInstaller&) = delete;
  FontInstaller& operator=(const FontInstaller&) = delete;

  // Install (21002 from a list, 21004 for a group); true when fonts were installed (for a group:
  // when any of its fonts is now installed and counted for it). Fonts whose files are gone are
  // named to the user with those that failed.
  bool InstallSelected(UINT commandId);
  // Uninstall (21003, 21005); true when the uninstall ran (for a group: and no font of it stays
  // installed and counted because its uninstall failed).
  bool UninstallSelected(UINT commandId);

  // The marked entries, in list order.
  int CollectSelected(std::vector<FontItemListEntry*>& out) const;
  bool ConfirmDrive(UINT commandId);
  int ConfirmCount(int count) const;
  int FilterInstallable();
  bool CopyToFontsFolder();
  void InstallLoop();
  // Writes the registration value of an item whose file reference is the registered form;
  // false (with LastError) when the key does not open, the item has no name to register under,
  // or the write fails.
  bool WriteFontsValue(FontItem& item);
  // Appends the (old, new) file-name pairs of a shell name-mapping handle.
  bool ApplyNameMappings(HANDLE mappings);
  void ClearSelectionMarks();
  void SetStatusText(UINT stringId) const;
  // Unloads a font another program loaded without registering it (its installed-list row is
  // known to GDI only), and announces the font change.
  void UnloadLoadedFontFile(FontItem& item);

  // Uninstall steps.
  bool Uninstall();
  int FilterUninstallable();
  bool UninstallLoop();
  // Removes the Fonts values whose data names the file at `path` (a bare name only when the
  // file lies in the system Fonts folder); false when a value could not be removed (none is
  // removed then). Only plain strings (REG_SZ) count: values of other kinds stay.
  bool DeleteFontsValue(FontItem& item, const std::wstring& path);
  // Removes the Type 1 value of the item and unloads the files it names.
  bool DeleteType1Value(FontItem& item);
  bool DeleteUninstalledFiles();

  // The FontsInstalled markers of group commands (InstalledMarkers.cpp). One group install of
  // the entry's font, counted as often as the group met it, before anything is loaded: the
  // value written (0 when the key could not be created: the font is then installed as usual);
  // clears the entry's mark when the font is installed already and must not be loaded again.
  DWORD AddInstalledMarker(FontItemListEntry& entry);
  // One group uninstall of a font that carries 0x10000: the count left, with the "installed
  // before" word (0 when neither); clears the entry's mark while another group still counts the
  // font or it was installed before the groups, else clears the font's 0x10000. The value is
  // deleted when no group counts the font any more, whatever its "installed before" word.
  DWORD RemoveInstalledMarker(FontItemListEntry& entry);

  // The registry key root of an item: the current user for a per-user install or without
  // elevation, the machine otherwise.
  static HKEY RootKeyOf(const FontItem& item);

  const std::vector<std::pair<std::wstring, std::wstring>>& NameMappings() const { return mappings_; }
  UINT CommandId() const { return commandId_; }
  DWORD LastError() const { return lastError_; }

private:
  // A marker as it was before this command changed it, put back when the font's step fails.
  struct MarkerBefore {
    std::wstring name;
    bool existed = false;
    DWORD value = 0;
  };
  // A value removed by this command, kept to write it back when the font cannot be uninstalled.
  struct RemovedValue {
    HKEY root;
    std::wstring key;
    std::wstring name;
    DWORD type;
    std::vector<BYTE> data;
  };
  // What the uninstall loop did to one entry.
  struct Undo {
    FontItemListEntry* entry;
    std::wstring loadPath;  // the file unloaded (for Type 1 "x.pfm|x.pfb")
    int unloads = 0;
    std::vector<RemovedValue> values;
    std::optional<MarkerBefore> marker;
  };

  bool Install();
  // The group uninstall's test of one font: true when it is to be uninstalled; a font that
  // stays is named with its reason (some only once the loop has run). `listed` is the name the
  // group lists the font by, empty when the record was read before.
  bool FilterGroupFont(FontItemListEntry& entry, const std::wstring& listed);
  // True when the record's file exists but holds another font than the one listed as `listed`.
  bool HoldsAnotherFont(const FontItem& record, const std::wstring& listed) const;
  // True when a font failed in a way that keeps its group installed (it can be tried again).
  bool KeepsGroupInstalled() const;
  bool Unloaded(const std::wstring& file) const;
  // Names the fonts the uninstall leaves in place, but those whose file it took away with
  // another font of it.
  void NameLeftInPlace();
  // The file an installed entry's registration names: its own file when it is the installed
  // one, else the installed record's file; empty when none resolves.
  std::wstring InstalledPathOf(const FontItem& item) const;
  bool InFontsFolder(const std::wstring& path) const;
  // The marker names of every font that shares the item's sfnt file `file`, whatever makes
  // them share it (faces of a collection, named instances of a variable font and the font as a
  // whole, fonts of this command listed for that file under other names), the item's own
  // included; for a Type 1 font its own alone.
  std::vector<std::wstring> FaceNamesOfFile(const FontItem& item, const std::wstring& file) const;
  // True when a font of the file the item is installed through carries a marker that counts
  // groups.
  bool FileCountedByGroup(const FontItem& item) const;
  // True when another font of the item's file carries any marker (a group count or the
  // "installed before" word): a group uninstall then leaves the file installed.
  bool FileHeldByOtherFaces(const FontItem& item) const;
  // Removes the markers of every font of `file`; with onlyUncounted, only those that count no
  // group.
  void DropFileMarkers(const FontItem& item, const std::wstring& file, bool onlyUncounted) const;
  // Counts one more group install of a font whose file this command installed through another
  // font of it.
  void CountWithItsFile(FontItemListEntry& entry);
  // The reason the value the item would be registered under cannot be written (it exists and
  // is not this font's own plain registration: it names another file, or it is of another
  // kind), or 0 when it can.
  UINT RegistrationHeldFor(const FontItem& item, const std::wstring& valueName, const std::wstring& file) const;
  // A font left out or failed, with the reason string and the system error, if any.
  void Fail(const FontItem& item, UINT reasonId, DWORD error = 0);
  void Fail(const std::wstring& name, UINT reasonId, DWORD error = 0);
  // Undoes one entry's uninstall: values and marker written back, the font loaded again; a
  // font that cannot be put back whole is named. True when it was.
  bool Reinstate(Undo& undo);
  bool PutBackMarker(const MarkerBefore& marker);
  bool WriteFontsValue(const FontItem& item, const std::wstring& valueName);
  // Deletes those of the files that this command copied into a Fonts folder.
  void RemoveCopies(std::initializer_list<std::wstring> files);
  // One line per font that failed or was left out: its name and why; forgets them.
  std::wstring TakeFailureLines();
  void ReportFailures(UINT textId);
  // After a change could not be written down: everything the command did is put back and the
  // user told, with what could not be. Always false (the command did not run).
  bool ReportStopped();
  // The reason an entry's existing file cannot be read: held by another program, or no font
  // this program can read.
  static UINT UnreadableReason(const FontItem& item);
  bool RestoreValues(std::vector<RemovedValue>& values);
  // The plain string values of the item's Fonts key that name the file at `path`; an error when
  // the key cannot be read (no value is taken as absent then).
  LSTATUS FindFontsValues(const FontItem& item, const std::wstring& path, std::vector<RemovedValue>& found);
  // Removes the values found, all or none.
  bool DeleteValues(std::vector<RemovedValue>& found);

  std::vector<std::pair<std::wstring, std::wstring>> mappings_;
  FontItemList* items_;
  FontChanges direct_;
  FontChanges* changes_;
  bool copyFiles_;
  UINT commandId_ = 0;
  HWND owner_;
  StatusProgressBar progress_;
  FILEOP_FLAGS fileOpFlags_ = 0;
  DWORD lastError_ = 0;
  // Files this command copied into a Fonts folder: only these are deleted again on a failure.
  std::vector<std::wstring> copiedFiles_;
  std::wstring copyTarget_;
  int installedCount_ = 0;
  // What the last DeleteFontsValue or DeleteType1Value removed, and how often the latter unloaded.
  std::vector<RemovedValue> lastRemoved_;
  int lastUnloads_ = 0;
  std::vector<Undo> undo_;
  // The Fonts key of a root, read once per command: its plain string values by the text they
  // hold (without case), kept up to date with what the command removes and writes back.
  struct FontsKeyIndex {
    bool read = false;
    LSTATUS error = ERROR_SUCCESS;  // the key could not be read whole
    std::unordered_map<std::wstring, std::vector<RemovedValue>> byData;
    void Add(RemovedValue value, std::wstring_view data);
    void Remove(const RemovedValue& value);
  };
  FontsKeyIndex& FontsValuesOf(HKEY root);
  FontsKeyIndex machineFonts_;
  FontsKeyIndex userFonts_;
  // The last RemoveInstalledMarker could not change the marker.
  bool markerKept_ = false;
  // The last DeleteType1Value found a value it could not read.
  bool lastUnreadable_ = false;
  // What the last AddInstalledMarker or RemoveInstalledMarker changed; empty when it changed nothing.
  std::optional<MarkerBefore> lastMarker_;
  struct Failure {
    std::wstring name;
    UINT reasonId;
    DWORD error;
  };
  // The fonts whose step failed or that were left out for a reason the user must know.
  std::vector<Failure> failed_;
  // Fonts a group uninstall leaves in place, with the reason, named once the loop has run.
  std::vector<std::pair<FontItemListEntry*, UINT>> leftInPlace_;
  // The files the uninstall loop unloaded (without case), so that the fonts of one file go once.
  std::unordered_set<std::wstring> unloaded_;
};
