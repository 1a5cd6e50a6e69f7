// The two questions the folder tree asks about the files of a folder: does a file-system folder
// hold any font file, and which font files does a shell folder (a zip folder above all) list.
// Thread-neutral: the folder interface must come from the caller's apartment.
#pragma once

#include <windows.h>
#include <shlobj.h>

#include <string>

// The extensions that make a folder a font folder, in the form ListFontFilesInFolder takes.
inline constexpr wchar_t kFontFileExtensions[] = L"|.ttf|.otf|.ttc|.pfm|";

// True as soon as FindFirstFileW finds a "*.ttf", "*.otf", "*.ttc" or "*.pfm" in the folder;
// false for an empty path.
[[nodiscard]] bool FolderHoldsFontFiles(const std::wstring& folder);

// Enumerates the files of a shell folder (hidden ones too when asked) and matches each name's
// extension (from its last dot, without regard to case) with one of the "|"-separated
// `extensions`. With stopAtFirst: 1 at the first match, -1 when none matches. Otherwise each
// matching name followed by a tab is appended to `names` and the count is returned. -1 when the
// folder cannot be enumerated.
int ListFontFilesInFolder(IShellFolder* folder, HWND owner, bool includeHidden, std::wstring* names,
                          const wchar_t* extensions, bool stopAtFirst);

// The lower-cased extension of a file name, dot included ("" when the name has none).
std::wstring LowerCaseExtension(const std::wstring& name);

// True when `extension` (".ttf") is one of the "|"-separated entries of `extensions`.
[[nodiscard]] bool ExtensionListed(const std::wstring& extension, const wchar_t* extensions);
