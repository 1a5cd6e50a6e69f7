// Helpers shared by the dialogs over the system's font registration (font substitutes, family
// defaults): their two-column report lists and the rows they read from one registry key.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

// Two columns titled by the two "|"-separated fields of string `titlesId`, each first sized to
// its title plus a margin, then both to half the list's client width; full-row selection.
void SetUpTwoColumnList(HWND list, UINT titlesId);

// Inserts a row of two texts at `position`; the row's index.
int InsertTwoTextRow(HWND list, int position, const std::wstring& first, const std::wstring& second,
                     LPARAM data = 0);

// One value of a key: its name, its type and, for a string value, its text.
struct NamedText {
  std::wstring name;
  std::wstring text;
  DWORD type = REG_SZ;
};
// The values of a key, in the key's order, through the registry value reader: each value's name,
// type and, for string values, its text (up to the first null; other types give an empty text).
// A key that cannot be opened gives none; the first error ends the list.
std::vector<NamedText> ReadKeyTexts(HKEY root, const std::wstring& path);
