// The record behind one item of the folder tree (the item's parameter). The tree view that
// inserted the item owns it and deletes it when the control deletes the item; it lives on the
// main thread only: its shell folder belongs to the main thread's apartment.
#pragma once

#include <windows.h>
#include <commctrl.h>
#include <shlobj.h>

#include <cstdint>

#include "framework/Handles.h"
#include "lists/ShellIdList.h"

struct FolderItemData {
  orv::ComPtr<IShellFolder> parentFolder;  // none for the root item
  ScopedIdList relative;                   // the item within its parent folder
  ScopedIdList absolute;                   // the item from the desktop down
  ULONG attributes = 0;                    // SFGAO_* bits learnt so far
  bool zip = false;                        // a zip folder or inside one
  bool marksDone = false;                  // bold mark and child button computed

  // Bookkeeping of the owning tree: the item that shows the record, the number by which
  // worker threads name it (a record may be gone by the time their answer arrives), and
  // whether a pre-fill thread already has it in its list.
  HTREEITEM item = nullptr;
  uint32_t serial = 0;
  bool prefillQueued = false;
};
