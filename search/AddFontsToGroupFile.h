// Search results into a group: the group selected in the groups tree, and the addition of a
// list's fonts to a group file (load the group, add what it lacks, save it whole).
//
// The groups tree names its selected group's file through the source set here; with no source,
// or no group selected, there is no target and the caller beeps. Main thread only.
#pragma once

#include <string>

class FontItemList;

using SelectedGroupFileSource = std::wstring (*)();
void SetSelectedGroupFileSource(SelectedGroupFileSource source);
// The file of the group selected in the groups tree; empty when none is.
std::wstring SelectedGroupFile();

// Adds the marked fonts of `fonts` (each read from its file first when it was not yet) to the
// group in `groupFile`, unless the group holds a font of the same path and name (ignoring
// case). False when the group could not be read or written (the store has told the user).
bool AddFontsToGroupFile(const FontItemList& fonts, const std::wstring& groupFile);
