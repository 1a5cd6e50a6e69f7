// The group font list (control 208): the group selected in the groups tree, one row per child
// group (a subgroup row) and one per font entry. Rows appear at once from the names stored in
// the group file; the detail reader then completes them from their files. The list edits the
// group: Del removes rows (deleting the files of removed subgroups), Ctrl+C and Ctrl+X remember
// the selection as a pending transfer that Ctrl+V pastes into the group selected in the tree;
// the groups tree hands whole groups to the same pending transfer.
//
// The one instance lives in AppState; the main frame creates its window in the font-lists pane
// and fills it from its idle pass while the refresh is pending. Main thread only, but for the
// detail reader of the base list.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>

#include "common/ResourceIds.h"
#include "framework/MessageCrackers.h"
#include "groups/FontGroupEntry.h"
#include "lists/COrvelListView.h"

class FontGroup;

class CLVGroupFonts : public COrvelListView {
public:
  CLVGroupFonts();
  ~CLVGroupFonts() override;

  // Refills the list from the selected group's file: the number of font entries when the fill
  // completed and the detail reader runs, else 0.
  int Fill();
  void RemoveSelectionFromGroup();
  void ShowFontFolder();

  // The pending transfer. SetTransferSource (the groups tree) and BeginTransfer (the list's
  // selection) replace it; PasteToGroup adds it to a target group; EndTransfer brings the tree
  // and the list in line after a paste and ends a move (a copy stays for further pastes).
  void SetTransferSource(const std::wstring& name, const std::wstring& file, const std::wstring& sourceFile, int mode);
  void BeginTransfer(const std::wstring& groupFile, int mode);
  [[nodiscard]] bool PasteToGroup(const std::wstring& targetFile);
  void EndTransfer(const std::wstring& targetFile);
  [[nodiscard]] bool HasPendingTransfer() const;
  int PendingMode() const { return pendingMode_; }

  // Writes the rows back into the selected group.
  void SaveGroupFromList();

  bool OnKey(UINT key, bool ctrl) override;
  void OnItemActivate(NMITEMACTIVATE* info) override;
  void OnRightClick(NMITEMACTIVATE* info) override;
  bool AcceptEntry(FontItemList& list, SubgroupEntry& entry) override;

  BEGIN_MSG_MAP(CLVGroupFonts)
    COMMAND_ID_HANDLER_EX(ID_GROUP_SHOW_FONT_FOLDER, OnShowFontFolderCommand)
    CHAIN_MSG_MAP(COrvelListView)
  END_MSG_MAP()

  bool m_groupInstalled = false;  // the Installed flag of the group shown
  bool m_groupChanged = false;    // rows were removed

private:
  void OnShowFontFolderCommand(UINT, int, HWND);
  // Input that ends a fill: a click or a navigation key in the groups tree.
  bool AbortRequested();
  // The entry of the group file a row stands for, as the file stores it.
  const FontGroupEntry* EntryOf(const FontListRow* row) const;
  // The pending group, created or emptied, for a new transfer from `sourceFile`.
  FontGroup& NewPending(const std::wstring& sourceFile, int mode);

  std::unique_ptr<FontGroup> pending_;
  int pendingMode_ = 0;
  // The group file the rows were filled from, when the fill completed and the group loaded;
  // empty otherwise. Only such a fill is ever written back.
  std::wstring filledFile_;
  bool filledDamaged_ = false;  // the list shows a group read in part
  std::unordered_map<const FontListRow*, FontGroupEntry> entries_;
  ULONGLONG lastAbortLook_ = 0;
};

// Copies a group file and the files of its subgroups under `parentFile` with `name` (empty:
// keep); `file` becomes the copy's file. False when the group could not be read or a copy not
// written. Each file is copied once, so cycles end.
bool CopyGroupTree(std::wstring& file, const std::wstring& parentFile, const std::wstring& name);
// Adds the number of fonts of a group and its subgroups to `count`; each file counted once.
void CountGroupFonts(const std::wstring& file, int64_t& count);
