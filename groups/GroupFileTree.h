// Operations on whole trees of group files: the file chain from the root down to a group,
// deleting a group with its subtree, and walks over a group and every group below it.
//
// The tree exists only as names inside the files, and hand-edited files can make it anything:
// every walk keeps a set of the files it has visited and ends a cycle there, and none of them
// recurses on the machine stack, so a long chain cannot overflow it. Main thread only.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "groups/FontGroup.h"

// The group files from the topmost reachable group down to `file`, joined by `separator`
// ("orvel_Root.xml\orvelgrp00003.xml\orvelgrp00007.xml"); "orvel_Root.xml" for an empty file.
[[nodiscard]] std::wstring BuildGroupFileChain(const std::wstring& file, const wchar_t* separator);

// Deletes the files of the group's child groups, depth first, then the group's own file. Only
// group files of the groups folder are deleted, never the root file, and a child only when its
// Parent is the group being deleted (a node that points elsewhere is not this group's to
// delete); link nodes are never followed. A child file that is missing counts as deleted; one
// that cannot be read stops the deletion, and that child's ancestors stay, except below the
// recovery group, whose entries are never its children: there it is passed over and kept.
// True when the group's own file was deleted.
[[nodiscard]] bool DeleteGroupFileTree(const std::wstring& file);

// Loads `file` and every group below it through its nodes (links included), in node order,
// each file once, and hands each loaded group to `visit` (a damaged one as far as it was read;
// saving it is refused); groups that cannot be read at all are passed over. False as soon as `visit` returns false.
using GroupVisitor = std::function<bool(FontGroup& group)>;
[[nodiscard]] bool WalkGroupTree(const std::wstring& file, const GroupVisitor& visit);

// Writes the Installed flag into a group file and every group file below it. Files that are
// missing or cannot be read are left alone rather than created or written over.
void SetGroupTreeInstalled(const std::wstring& file, bool installed);

// True when an Esc key-down is waiting anywhere in this thread's key input; the keys stay
// queued, in their order.
[[nodiscard]] bool IsEscapePending();

// Takes this thread's pending key and mouse messages off its queue without dispatching them;
// true when one of them was an Esc key-down. The long walks on the main thread look here
// between steps: input meant for the windows meanwhile is lost, as it would be to a busy program.
[[nodiscard]] bool TakeEscapeFromInput();

// Loads a group that is about to be changed and saved: true when it loaded, or when it is the
// root file and that is missing or empty (saving then makes it). A damaged or unreadable file
// gives false, and the refused change is told.
[[nodiscard]] bool LoadGroupForChange(FontGroup& group, const std::wstring& file);

// Makes a new group file for a child of the group in `parentFile` and links it into the parent
// as a node. The child is named `name` made unique among the parent's nodes with "(n)" (`name`
// gets the name used); it takes the parent's Installed flag when `inheritInstalled`, else it
// is not installed. On success `child` and `parent` hold the records as saved. On failure
// nothing is left behind: a parent that cannot be read gets no child (exclamation beep), and
// a new file that could not be linked into its parent is deleted, since no one could reach it.
[[nodiscard]] bool CreateChildGroupFile(const std::wstring& parentFile, std::wstring& name, bool inheritInstalled,
                                        FontGroup& child, FontGroup& parent);

// Adds the fonts of a group and of every group below it to a list of fonts: each font entry
// goes to `list.AddGroupFont(name, path)`, which counts a font it holds already (same name,
// path equal ignoring case) once more and appends any other. False when Esc is pressed.
template <typename FontList>
[[nodiscard]] bool CollectGroupFonts(FontList& list, const std::wstring& file) {
  if (IsEscapePending()) return false;
  return WalkGroupTree(file, [&list](FontGroup& group) {
    if (IsEscapePending()) return false;
    for (const FontGroupEntry& font : group.Fonts) {
      list.AddGroupFont(font.Name, font.Path);
      if (IsEscapePending()) return false;
    }
    return true;
  });
}
