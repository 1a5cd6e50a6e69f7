// The list of the font files of the folder selected in the main folder tree (control 204): one
// row per face of a collection, one per named instance of a variable font, one per other font
// file. A zip folder is unpacked into the temporary folder first. Beyond the base list it offers
// Del (delete the files), Ctrl+C and Ctrl+V (file lists on the clipboard), double-click install
// or uninstall, and the zip commands.
#pragma once

#include <string>

#include "lists/COrvelListView.h"

// How zip folders are read: the shell's zip folders (Shell.Application) normally; the tests put
// their own in (Wine has no zip folders).
struct ZipFolderAccess {
  // Tab-separated names of the font files in `zip` with one of the "|"-separated `extensions`;
  // returns their number.
  int (*listFontFiles)(const std::wstring& zip, const std::wstring& extensions, std::wstring& names) = nullptr;
  // Copies the named files into `destination`, calling `onFile` (with `context`) for each copied
  // file and `shouldAbort` before each; false when it was aborted.
  bool (*extract)(const std::wstring& zip, const std::wstring& destination, const std::wstring& names,
                  void* context, bool (*shouldAbort)(void*),
                  void (*onFile)(void*, const std::wstring& folder, const std::wstring& name)) = nullptr;
};
void SetZipFolderAccess(const ZipFolderAccess& access);
const ZipFolderAccess& GetZipFolderAccess();

class CLVFolderFonts : public COrvelListView {
public:
  CLVFolderFonts() = default;

  // Fills the list from the folder member (or the zip file it names); 1 on success, 0 otherwise.
  int Fill();
  void DeleteSelectedFiles();
  void CopyFilesToClipboard();
  void PasteFilesFromClipboard();
  void UnloadSelectedFont();
  void ShowExtractZippedFontsDialog();

  bool OnKey(UINT key, bool ctrl) override;
  void CopySelectionToFolder() override;
  void OnItemActivate(NMITEMACTIVATE* info) override;
  void OnRightClick(NMITEMACTIVATE* info) override;

  BEGIN_MSG_MAP(CLVFolderFonts)
    COMMAND_ID_HANDLER(ID_DELETE_FILES_, OnDeleteCommand)
    COMMAND_ID_HANDLER(ID_EXTRACT_ZIPPED_, OnExtractCommand)
    COMMAND_ID_HANDLER(ID_UNLOAD_FONT_, OnUnloadCommand)
    MESSAGE_HANDLER(WM_SETFOCUS, OnFocus)
    MESSAGE_HANDLER(WM_KILLFOCUS, OnFocus)
    CHAIN_MSG_MAP(COrvelListView)
  END_MSG_MAP()

  bool m_filesChanged = false;  // set after a deletion; read by the main frame's idle update
  bool m_zipFolder = false;     // the folder member names a zip file; set by the folder tree

private:
  static constexpr UINT ID_DELETE_FILES_ = 146;
  static constexpr UINT ID_EXTRACT_ZIPPED_ = 287;
  static constexpr UINT ID_UNLOAD_FONT_ = 182;

  LRESULT OnDeleteCommand(WORD, WORD, HWND, BOOL&);
  LRESULT OnExtractCommand(WORD, WORD, HWND, BOOL&);
  LRESULT OnUnloadCommand(WORD, WORD, HWND, BOOL&);
  LRESULT OnFocus(UINT, WPARAM, LPARAM, BOOL&);
};

// Writes `text` into part 0 of the main status bar.
void SetMainStatusText(const std::wstring& text);
