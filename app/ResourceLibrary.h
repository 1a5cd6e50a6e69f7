// The resource library OrvelRes64, which holds every dialog, menu, accelerator table, string,
// bitmap, cursor and text table of the program. The program looks for it in the current
// directory, as it always has, but maps it only as an image resource and data file: the loader
// runs no entry point and resolves no imports, so no code of whatever DLL of that name lies in
// that folder ever runs. Such a handle carries the loader's data-file marks in its low bits;
// the resource calls (strings, templates, menus, accelerators, images, raw resources) take it as
// it is. Called by the entry point (and the test main) before any window exists.
#pragma once

#include <windows.h>

#include <string>

#include "framework/Handles.h"

inline constexpr wchar_t kResourceLibraryPath[] = L".\\OrvelRes64.dll";
inline constexpr DWORD kResourceLibraryLoadFlags = LOAD_LIBRARY_AS_IMAGE_RESOURCE | LOAD_LIBRARY_AS_DATAFILE;

// The library at `path` mapped for its resources only; empty when it cannot be loaded.
[[nodiscard]] orv::ScopedModule LoadResourceLibrary(const std::wstring& path = kResourceLibraryPath);
