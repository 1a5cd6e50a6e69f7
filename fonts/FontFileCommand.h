// Copies, moves or deletes font files through the shell's file operation, so that the user gets
// the shell's progress, conflict and recycle-bin handling. Works on the selected (marked)
// entries of a FontItemList or on a path list given as text. Every source file the program
// holds loaded privately for drawing is unloaded first: a loaded file cannot be moved or
// deleted. One object lives for one command on the caller's stack.
#pragma once

#include <windows.h>
#include <shellapi.h>

#include <string>
#include <utility>
#include <vector>

class FontItemList;

class FontFileCommand {
public:
  static constexpr UINT kMove = FO_MOVE;
  static constexpr UINT kCopy = FO_COPY;
  static constexpr UINT kDelete = FO_DELETE;

  // Asks the user for a target folder: `folder` holds the start folder and receives the one
  // chosen; false when the user cancelled. The application supplies its folder picker at start.
  using FolderPrompt = bool (*)(const std::wstring& title, std::wstring& folder);
  static void SetFolderPrompt(FolderPrompt prompt);

  FontFileCommand(FontItemList* items, UINT mode, UINT commandId);
  FontFileCommand(const FontFileCommand&) = delete;
  FontFileCommand& operator=(const FontFileCommand&) = delete;

  // Asks for the target folder (starting at initialFolder, titled with the command's string)
  // and copies or moves there; 0 without a prompt or when the user cancelled.
  int AskTargetAndRun(const std::wstring& initialFolder);
  // 1 done, 0 nothing done, -1 failed or aborted.
  int RunToFolder(const std::wstring& target, FILEOP_FLAGS extraFlags);
  int CountEligible(const std::wstring& target);
  // The delete of the selected entries; entries left out lose their mark.
  bool CollectSources();
  int CollectSourcesNoUndo();
  bool SetSourcePaths(const std::wstring& text, wchar_t separator);
  bool BuildUniqueSources();
  bool SetTargetPath(const std::wstring& path);
  bool SetTargetPathCopy(const std::wstring& path) { return SetTargetPath(path); }
  bool Execute();
  void UnloadSources();
  void RefreshFolderTree(int result, const std::wstring& path);

  void AddFlags(FILEOP_FLAGS flags) { operation_.fFlags |= flags; }
  void SetFlags(FILEOP_FLAGS flags) { operation_.fFlags = flags; }
  FILEOP_FLAGS Flags() const { return operation_.fFlags; }
  const std::wstring& Sources() const { return sources_; }
  // The shell's name-mapping handle of the last run (FOF_WANTMAPPINGHANDLE), or null; the caller
  // frees it with SHFreeNameMappings.
  HANDLE NameMappings() const { return operation_.hNameMappings; }
  // With FOF_RENAMEONCOLLISION the command itself gives a source whose name is taken in the
  // target a free name ("a (2).ttf"), so that the shell never asks whether to replace a file:
  // these are the (old, new) file names it chose.
  const std::vector<std::pair<std::wstring, std::wstring>>& Renamed() const { return renamed_; }

private:
  int RunShell();
  // One target path per source, free names for the sources whose names are taken.
  void BuildCollisionFreeTargets(const std::wstring& folder);

  FontItemList* items_;
  SHFILEOPSTRUCTW operation_{};
  std::wstring sources_;  // NUL-separated paths, ending in two NULs
  std::wstring target_;   // the target folder (or one path per source) and two NULs
  std::vector<std::pair<std::wstring, std::wstring>> renamed_;
  UINT commandId_;
};
