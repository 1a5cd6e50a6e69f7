// Item identifier lists of the shell namespace: a move-only owner of a list in task memory and
// the few conversions the folder tree makes (display names, clones, binding a list to its
// folder). Free functions; any thread with COM initialised may call them, each with the shell
// folders of its own apartment.
#pragma once

#include <windows.h>
#include <shlobj.h>

#include <string>

#include "framework/Handles.h"

struct IdListTraits {
  using Handle = LPITEMIDLIST;
  static Handle Null() noexcept { return nullptr; }
  static bool IsValid(Handle h) noexcept { return h != nullptr; }
  static void Close(Handle h) noexcept { ::CoTaskMemFree(h); }
};
using ScopedIdList = orv::UniqueHandle<IdListTraits>;

// A copy of a whole list; empty on an allocation failure.
[[nodiscard]] ScopedIdList CloneIdList(LPCITEMIDLIST list);
// A list of the first element only.
[[nodiscard]] ScopedIdList CloneFirstId(LPCITEMIDLIST list);
// parent + child as one new list.
[[nodiscard]] ScopedIdList CombineIdLists(LPCITEMIDLIST parent, LPCITEMIDLIST child);

// IShellFolder::GetDisplayNameOf as a string; false when the call or the conversion fails.
[[nodiscard]] bool GetShellDisplayName(IShellFolder* folder, LPCITEMIDLIST child, SHGDNF flags, std::wstring& out);

// The file-system path of an absolute list (SHGetPathFromIDListW); empty for virtual items.
std::wstring PathOfIdList(LPCITEMIDLIST absolute);

// The shell folder that an absolute list names, bound in the caller's apartment (the desktop
// for the empty list).
[[nodiscard]] orv::ComPtr<IShellFolder> BindAbsoluteFolder(LPCITEMIDLIST absolute);

// The shell's class identifier of an item (SHGetDataFromIDListW, SHGDFIL_DESCRIPTIONID); false
// where the shell cannot tell it.
[[nodiscard]] bool GetItemClassId(IShellFolder* parent, LPCITEMIDLIST child, CLSID& out);
