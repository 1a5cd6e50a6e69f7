// CDriveCombo: the extended combo box (ComboBoxEx) in which the census, the folders-with-fonts
// finder and the search pick their root folders.
//
// Its entries, in the order added: the owner's own folders (the last folder used, the
// favourite folders as one entry, ...), then an entry for all drives at once, one entry per
// drive, and, when the browse entry is on, a last entry that opens the folder picker. A path
// may hold several folders joined by "|" (the owner walks each as a root); the path "*" marks
// the browse entry. Entries only grow. The owner creates or attaches the control, adds its own
// entries, then calls Populate (or the steps one by one) and reads the selected entry's path.
// It lives as long as its dialog; UI thread only.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "framework/WindowImpl.h"

class CDriveCombo : public orv::CWindowImpl<CDriveCombo> {
public:
  struct Entry {
    std::wstring label;
    std::wstring path;
  };
  static constexpr wchar_t kBrowsePath[] = L"*";

  explicit CDriveCombo(bool browseEntryOn = false) noexcept : browseEntryOn_(browseEntryOn) {}

  // Creates the control (an editable ComboBoxEx, visible) and attaches it.
  HWND CreateControl(HWND parent, const RECT& rc, UINT id);

  // False for an empty path; the label defaults to the path.
  bool AddFolder(const std::wstring& path, const std::wstring& label = {});
  // False when the id is 0 or the path empty; the label is the string.
  bool AddFolderWithCaption(const std::wstring& path, UINT stringId);
  // The all-drives entry (its index is the owner entry count), one entry per drive, then the
  // browse entry when it is on.
  void AddDrives();
  // Puts every recorded entry into the control, with the shell's small icons.
  void InsertItems();
  // Widens the drop-down to the widest entry.
  void FitDroppedWidth();
  // The shell's small-icon list, AddDrives, InsertItems, FitDroppedWidth; entry 0 selected.
  void Populate();
  // Once the items are in the control: adds a folder entry at the end with its shell icon and
  // widens the drop-down; its index, or -1 for an empty path.
  int AppendFolder(const std::wstring& path);
  // Selects an entry and remembers it as the selection the browse entry returns to.
  void SelectEntry(int index);

  const std::vector<Entry>& Entries() const noexcept { return entries_; }
  int OwnerEntryCount() const noexcept { return ownerEntryCount_; }
  bool BrowseEntryOn() const noexcept { return browseEntryOn_; }
  int BrowseEntryIndex() const noexcept { return browseEntryIndex_; }
  int RememberedSelection() const noexcept { return rememberedSelection_; }

  BEGIN_MSG_MAP(CDriveCombo)
    MESSAGE_HANDLER(WM_COMMAND, OnCommand)
  END_MSG_MAP()

private:
  LRESULT OnCommand(UINT, WPARAM wp, LPARAM, BOOL& handled);
  void OnSelectionChange();
  void InsertItem(const std::wstring& text, int image);
  std::wstring EditText() const;

  std::vector<Entry> entries_;
  int ownerEntryCount_ = 0;
  bool browseEntryOn_ = false;
  int browseEntryIndex_ = -1;
  int rememberedSelection_ = 0;
};

// The path of the combo's selected entry into `path`; nothing selected or the browse entry
// selected leaves `path` as it was (false).
bool GetComboSelectedText(const CDriveCombo& combo, std::wstring& path);
