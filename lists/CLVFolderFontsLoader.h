// One fill of the folder fonts list: walks the folder (not its subfolders) twice on the main
// thread with the font file patterns, first counting the files, then reading each one into the
// list, with a progress bar over the top of the folder tree's pane; or unpacks the font files
// of a zip folder into the temporary folder and lists them from there. Built on the stack by
// CLVFolderFonts::Fill for one fill.
#pragma once

#include <windows.h>

#include <string>
#include <unordered_set>

#include "fonts/FontFileWalk.h"
#include "lists/CFolderWalkerImpl.h"
#include "lists/CZipperImpl.h"
#include "lists/PaneProgressBar.h"

class CLVFolderFonts;

class CLVFolderFontsLoader : public CZipperImpl<CLVFolderFontsLoader>,
                             public CFolderWalkerImpl<CLVFolderFontsLoader> {
public:
  static constexpr const wchar_t* kFontPatterns = L"*.ttf|*.otf|*.ttc|*.pfm";
  static constexpr const wchar_t* kZipExtensions = L"|.ttf|.otf|.ttc|.pfm|";

  CLVFolderFontsLoader(CLVFolderFonts& owner, const std::wstring& folder);
  ~CLVFolderFontsLoader();
  CLVFolderFontsLoader(const CLVFolderFontsLoader&) = delete;
  CLVFolderFontsLoader& operator=(const CLVFolderFontsLoader&) = delete;

  int LoadFolder();
  int LoadZipFolder();

  // Unloads every privately loaded font and deletes the files of the temporary folder.
  static void RemoveTemporaryFonts();

  // Walker and zipper callbacks.
  void OnFile();
  bool ShouldAbort();
  void OnZipFile(const std::wstring& folder, const std::wstring& name);

  bool m_counting = false;
  int m_count = 0;
  CLVFolderFonts* m_owner;
  std::wstring m_folder;

private:
  // Adds a row for each record of the file: each face of a collection (told by the file's tag,
  // not its name), each named instance of a variable font or the font once.
  void AddRecordsOf(const std::wstring& name, VariableFontRecords variable);

  static constexpr ULONGLONG kLookInterval = 8;  // ms between two looks at the input queue

  HWND tree_ = nullptr;
  ULONGLONG lastLook_ = 0;
  PaneProgressBar progress_;
  std::unordered_set<std::wstring> filesRead_;  // folded names read in this fill
};

// The steps of a folder fill, in their order; where an observer is set (the benchmarks time the
// steps with one; the program sets none), it is called on the main thread as each step ends.
enum class FolderFillStep { kCounted, kFilesRead, kRowsSorted, kListShown };
using FolderFillObserver = void (*)(FolderFillStep step);
void SetFolderFillObserver(FolderFillObserver observer);

// The main folder tree's window (control 350 of the main window), or null.
HWND FindMainFolderTree();
