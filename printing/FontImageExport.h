// Image export: one image per selected font, each the sample pane's drawing of that font (without
// its information block) rendered off screen, and optionally an HTML page (UTF-8) that lists
// every font with its image and a few details, opened with the shell afterwards. The command
// (285) belongs to the main frame; the many-font path runs from CSaveImagesDlg. Main thread.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

class CSampleWindow;
class COrvelListView;
class FontItem;

struct ImageExportOptions {
  std::wstring folder;
  std::wstring htmlName = L"index.htm";
  int format = 2;                 // image_format numbers
  bool overwrite = false;
  bool writeHtml = false;
  bool imagesSubfolder = false;
  bool infoColumn = true;
};

// The command: one selected font through a save dialog, several through CSaveImagesDlg.
void SaveFontImages(CSampleWindow& pane);
// The Pictures folder, or the folder list's folder when there is none; with a backslash.
std::wstring DefaultImageFolder();

// A file name (without extension) from a font's full name: characters a file name cannot hold
// become "_", "(", ")" or "'"; with forHtml spaces become "_" and letters lower case. Control
// characters and trailing blanks become "_", and a device name (CON, NUL, COM1, ...) gets a
// leading "_".
std::wstring MakeImageFileName(const std::wstring& fullName, bool forHtml);
// path without extension + "(n)" + the format's extension for the first n whose file does not
// exist; the name is cut where needed so that the path stays within MAX_PATH - 1 characters.
void MakeUniqueImageName(std::wstring& path, int format);
// path with its file name cut so that the whole stays within MAX_PATH - 1 characters.
void FitPathLength(std::wstring& path);

// Text for an HTML page: &, <, >, " and ' as entities.
std::wstring HtmlEscape(const std::wstring& text);
// A relative URL path: UTF-8, every byte outside A-Z a-z 0-9 - . _ ~ / percent-encoded.
std::wstring PercentEncodePath(const std::wstring& path);

// Renders what the pane shows (its current font) into an image file; false when nothing was
// saved. The pane's information block is off while it renders and `infoBlockAfter` afterwards.
bool RenderSampleImage(CSampleWindow& pane, const std::wstring& path, int format, bool infoBlockAfter);

// The many-font path: images of the list's selected rows (less unreadable and EUDC fonts) and
// the page. The status bar, when given, names each font. False when nothing was exported.
bool ExportFontImages(CSampleWindow& pane, COrvelListView& list, const ImageExportOptions& options, HWND statusBar);
