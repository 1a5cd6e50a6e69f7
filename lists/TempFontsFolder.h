// The temporary folder of the program: zip folders are unpacked here before their fonts are
// listed. The per-user application-data folder followed by "Orvel Font Manager\Temp".
#pragma once

#include <string>

// The folder, created when missing; empty when the application-data folder is unknown.
std::wstring GetTempFontsFolder();
// The folder's path, whether it exists or not.
std::wstring TempFontsFolderPath();
bool TempFontsFolderExists();
// Deletes the files (not folders) directly inside the temporary folder. Does nothing unless the
// folder's path is absolute and the folder exists.
void EmptyTempFontsFolder();
