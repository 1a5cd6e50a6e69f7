// One copy of files with one call of the shell's file operation: the font files of a folder
// tree into a destination folder, each placed by the chosen layout (the mirrored tree, all flat,
// or one subfolder per font type, where TrueType and OpenType files may be sorted by PANOSE
// family or OS/2 family class instead), or the group files "orvel*.xml" of one folder into
// another (the groups backup and restore).
//
// Built on the caller's stack for one copy, on the main thread. It walks the source twice with
// its own folder walker on the calling thread: once to size the source and destination lists,
// once to fill them, so that the shell gets every path in one request. Esc stops a walk with a
// beep.
//
// No file of a copy replaces another file of the same copy: a font whose layout path an earlier
// font already has is copied under a new name, and the user is told which. What the shell
// reports is checked against the destination: a copy after which a file is missing there, or
// still differs, is told and counts as failed.
#pragma once

#include <windows.h>
#include <shellapi.h>

#include <string>
#include <utility>
#include <vector>

#include "groups/CopyTargetNames.h"
#include "lists/CFolderWalkerImpl.h"

class FontFileOperation : public CFolderWalkerImpl<FontFileOperation> {
public:
  FontFileOperation();
  FontFileOperation(const FontFileOperation&) = delete;
  FontFileOperation& operator=(const FontFileOperation&) = delete;

  // Copies the font files of the source root into the destination root by the layout options.
  // True when every file found arrived (no error, no cancel, no file passed over or stopped by
  // Esc).
  bool CopyFontFiles();
  // Copies every "orvel*.xml" of `source` (not its subfolders) into `destination`; the shell
  // asks before it replaces a group file. `caption` names the messages. True when every group
  // file arrived.
  bool CopyGroupFiles(const std::wstring& source, const std::wstring& destination, UINT caption);

  // The subfolder (below the destination root) that a file of this name in `folder` goes to in
  // the per-type layout; empty for the destination root itself.
  std::wstring TypeFolder(const std::wstring& folder, const std::wstring& fileName) const;
  // The folder names of the PANOSE and family-class layouts for one font file; empty when the
  // file cannot be read (or, for the class, has no family class).
  std::wstring PanoseFolder(const std::wstring& folder, const std::wstring& fileName) const;
  std::wstring ClassificationFolder(const std::wstring& folder, const std::wstring& fileName) const;

  // The walker's steps.
  void OnFile();
  bool ShouldAbort();

  // Set by the caller before the copy.
  std::wstring m_sourceRoot;
  std::wstring m_destinationRoot;
  bool m_mirrorTree = false;
  bool m_flat = false;
  bool m_panoseFolders = false;
  bool m_panoseSecondLevel = false;
  bool m_overwrite = false;
  bool m_classificationFolders = false;
  HWND m_owner = nullptr;      // owner of the shell's windows and of the messages
  HWND m_statusBar = nullptr;  // receives the progress text in its part 0 when set

  // What the last copy handed to the shell (for the tests): the flags and the number of files.
  FILEOP_FLAGS RequestFlags() const { return flags_; }
  int FileCount() const { return fileCount_; }
  // The files of the last font copy that were given new names.
  const std::vector<CopyTargetNames::Renamed>& RenamedFiles() const { return targets_.RenamedFiles(); }

private:
  enum class WalkMode { kCounting = 1, kCollecting = 2 };

  void NormalizeRoots();
  bool CountFiles();
  void AddFile();
  std::wstring DestinationOf(const std::wstring& folder, const std::wstring& fileName) const;
  void UnloadTargets(const std::wstring& destinations) const;
  bool Run();
  bool ConfirmCopies() const;
  void ReportRenamedFiles() const;

  UINT caption_;
  FILEOP_FLAGS flags_;
  WalkMode mode_ = WalkMode::kCounting;
  int fileCount_ = 0;
  int countedFiles_ = 0;
  bool groupCopy_ = false;
  size_t sourceLength_ = 0;
  size_t destinationLength_ = 0;
  std::wstring sources_;       // paths in walk order, each closed by a tab until the run
  std::wstring destinations_;  // the i-th destination belongs to the i-th source
  std::vector<std::pair<std::wstring, std::wstring>> planned_;  // every file and where it goes
  CopyTargetNames targets_;
  ULONGLONG lastLook_ = 0;
};
