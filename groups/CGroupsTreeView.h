// CGroupsTreeView: the groups pane's tree (control 355), one item per font group from the root
// group "orvel_Root.xml" down. Selecting a group makes the group font list show it; on the tree
// the user creates, renames, deletes, installs and uninstalls groups and pastes fonts and
// groups copied or cut in the group font list.
//
// The one instance lives in AppState; the main frame creates its window inside the groups pane
// (which reflects notifications back) and its idle pass calls Init while IsInitPending().
// The tree keeps nothing of a group but a small record per item (GroupTreeItemData, owned here,
// freed with the item): every change loads the group files, changes and saves them, and then
// brings the items in line. Branches are read when first expanded and dropped when collapsed.
// Group files are linked by names only, so every walk here ends on cycles and foreign names.
// Main thread only.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>

#include "common/ResourceIds.h"
#include "framework/CustomDraw.h"
#include "framework/Handles.h"
#include "framework/MessageCrackers.h"
#include "framework/TreeViewCtrl.h"
#include "framework/WindowImpl.h"
#include "groups/GroupTreeItemData.h"

class FontGroup;
class FontItemList;

class CGroupsTreeView : public orv::CWindowImpl<CGroupsTreeView, orv::CTreeViewCtrlT<orv::CWindowImplRoot>>,
                        public orv::CCustomDraw<CGroupsTreeView> {
public:
  static constexpr DWORD kTreeStyle = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | WS_BORDER |
                                      TVS_HASBUTTONS | TVS_EDITLABELS | TVS_SHOWSELALWAYS | TVS_TRACKSELECT |
                                      TVS_INFOTIP;
  static constexpr DWORD kTreeExStyle = WS_EX_CONTEXTHELP;
  static_assert(kTreeStyle == 0x56800A29);
  // The installed look: overlay 1 and bold.
  static constexpr UINT kInstalledLookMask = TVIS_OVERLAYMASK | TVIS_BOLD;
  static constexpr UINT kInstalledLook = INDEXTOOVERLAYMASK(1) | TVIS_BOLD;
  static_assert(kInstalledLookMask == 0xF10 && kInstalledLook == 0x110);
  // Transfer modes of the group font list.
  static constexpr int kTransferCopy = 1;
  static constexpr int kTransferMove = 2;

  CGroupsTreeView() = default;
  ~CGroupsTreeView();

  HWND CreateTree(HWND parent, int id);
  bool IsInitPending() const { return initPending_; }
  void SetInitPending() { initPending_ = true; }

  // Builds the tree from the root group (creating the root file when there is none) and
  // expands the root.
  void Init();
  // Deletes every item and builds the tree again; the group font list refills.
  void Reload();

  // Queries; a null item means the selected one.
  GroupTreeItemData* GetItemRecord(HTREEITEM item) const;
  [[nodiscard]] std::wstring GetItemFile(HTREEITEM item = nullptr) const;
  HTREEITEM FindChildByFile(HTREEITEM parent, const std::wstring& file) const;
  // The item of a group among the items that exist (a branch never expanded is not searched).
  HTREEITEM FindItemByFile(const std::wstring& file) const;
  // Whether `item` or one of the siblings after it has exactly that file.
  bool FindSiblingByFile(const std::wstring& file, HTREEITEM item = nullptr) const;
  // Whether the item's file or the file of one of its ancestors is `file`.
  bool IsFileOnAncestorPath(const std::wstring& file, HTREEITEM item = nullptr) const;
  using CTreeViewCtrlT::GetItemState;
  // The item's overlay bits, with bit 0 set when the overlay is the installed mark.
  UINT GetItemState(HTREEITEM item) const;
  bool IsItemInstalled(HTREEITEM item = nullptr) const;
  bool IsItemNonEmpty(HTREEITEM item = nullptr) const;
  // The text of an item: its group's Name, else its parent's node name, else its file name
  // (GroupLabel).
  [[nodiscard]] std::wstring GetItemName(HTREEITEM item = nullptr) const;

  // Expands the tree down to a group and selects it; with a font index other than -1 the group
  // font list selects that font's row once it shows the group. Returns the item.
  HTREEITEM SelectGroupByFile(const std::wstring& file, int fontIndex);
  // Re-reads the item's group: its counts, and with `force` or when expanded, its children.
  void RefreshItem(HTREEITEM item, bool force);
  // Inserts the item of a child group in its sorted place; `nodeName` is the name the parent's
  // node gives the child (its label when the file names none).
  bool InsertChildItem(HTREEITEM parent, const std::wstring& file, const std::wstring& nodeName = {});
  // -1 leaves a count as it is; a node count sets the item's button.
  void SetItemCounts(HTREEITEM item, int64_t nodeCount, int64_t fontCount);
  void SetItemInstalled(HTREEITEM item, bool installed);

  // Operations on groups (CGroupsTreeViewCommands.cpp).
  void NewGroup();
  // Creates a child group of the item's group with a unique variant of `name` (which is
  // updated); its file name, empty when nothing was created.
  std::wstring AddChildGroup(HTREEITEM parent, std::wstring& name);
  bool RenameGroup(HTREEITEM item, const std::wstring& newName);
  bool DeleteGroup(HTREEITEM item = nullptr);
  // Installs (true) or uninstalls the fonts of the selected group and its subgroups.
  void InstallGroup(bool install);
  // Whether InstallGroup can act on the selected group now.
  [[nodiscard]] bool CanInstallGroup(bool install) const;
  void ClearInstalledMarks();
  // Adds the marked fonts of the list to the item's group.
  void AddFontsToGroup(FontItemList& list, HTREEITEM item);
  void MarkPendingTransfer(int mode);
  // Ctrl+V: the group font list's pending transfer into the selected group.
  bool PasteToSelectedGroup();
  void StartLabelEdit();

  DWORD OnPrePaint(int, NMCUSTOMDRAW*) { return CDRF_NOTIFYITEMDRAW; }
  DWORD OnItemPrePaint(int, NMCUSTOMDRAW* cd);

  BEGIN_MSG_MAP(CGroupsTreeView)
    MESSAGE_HANDLER(WM_DESTROY, OnDestroy)
    MESSAGE_HANDLER(WM_SETFOCUS, OnSetFocus)
    REFLECTED_NOTIFY_CODE_HANDLER(TVN_ITEMEXPANDINGW, OnItemExpanding)
    REFLECTED_NOTIFY_CODE_HANDLER(TVN_DELETEITEMW, OnDeleteItem)
    REFLECTED_NOTIFY_CODE_HANDLER(TVN_BEGINLABELEDITW, OnBeginLabelEdit)
    REFLECTED_NOTIFY_CODE_HANDLER(TVN_ENDLABELEDITW, OnEndLabelEdit)
    REFLECTED_NOTIFY_CODE_HANDLER(TVN_BEGINDRAGW, OnBeginDrag)
    REFLECTED_NOTIFY_CODE_HANDLER(NM_RCLICK, OnRightClick)
    REFLECTED_NOTIFY_CODE_HANDLER(TVN_SELCHANGINGW, OnSelChanging)
    REFLECTED_NOTIFY_CODE_HANDLER(TVN_SELCHANGEDW, OnSelChanged)
    REFLECTED_NOTIFY_CODE_HANDLER(TVN_GETDISPINFOW, OnGetDispInfo)
    REFLECTED_NOTIFY_CODE_HANDLER(TVN_KEYDOWN, OnKeyDown)
    COMMAND_ID_HANDLER_EX(ID_FONTS_REFRESH, OnReloadCommand)
    COMMAND_ID_HANDLER_EX(ID_GROUP_INSTALL, OnInstallCommand)
    COMMAND_ID_HANDLER_EX(ID_GROUP_UNINSTALL, OnInstallCommand)
    COMMAND_ID_HANDLER_EX(ID_GROUP_NEW, OnNewGroupCommand)
    COMMAND_ID_HANDLER_EX(ID_GROUP_DELETE, OnDeleteCommand)
    COMMAND_ID_HANDLER_EX(ID_GROUP_CLEAR_INSTALLED, OnClearInstalledCommand)
    COMMAND_ID_HANDLER_EX(ID_TREE_RENAME, OnRenameCommand)
    COMMAND_ID_HANDLER_EX(ID_TREE_MENU, OnContextMenuCommand)
    COMMAND_ID_HANDLER_EX(ID_GROUPS_CLASSIFY, OnClassifyCommand)
    CHAIN_MSG_MAP_ALT(orv::CCustomDraw<CGroupsTreeView>, 1)
    DEFAULT_REFLECTION_HANDLER()
  END_MSG_MAP()

private:
  LRESULT OnDestroy(UINT, WPARAM, LPARAM, BOOL& handled);
  LRESULT OnSetFocus(UINT, WPARAM, LPARAM, BOOL& handled);
  LRESULT OnItemExpanding(int, NMHDR* hdr, BOOL&);
  LRESULT OnDeleteItem(int, NMHDR* hdr, BOOL&);
  LRESULT OnBeginLabelEdit(int, NMHDR* hdr, BOOL&);
  LRESULT OnEndLabelEdit(int, NMHDR* hdr, BOOL&);
  LRESULT OnBeginDrag(int, NMHDR* hdr, BOOL&);
  LRESULT OnRightClick(int, NMHDR*, BOOL&);
  LRESULT OnSelChanging(int, NMHDR*, BOOL&);
  LRESULT OnSelChanged(int, NMHDR*, BOOL&);
  LRESULT OnGetDispInfo(int, NMHDR* hdr, BOOL&);
  LRESULT OnKeyDown(int, NMHDR* hdr, BOOL&);
  void OnReloadCommand(UINT, int, HWND);
  void OnInstallCommand(UINT, int id, HWND);
  void OnNewGroupCommand(UINT, int, HWND);
  void OnDeleteCommand(UINT, int, HWND);
  void OnClearInstalledCommand(UINT, int, HWND);
  void OnRenameCommand(UINT, int, HWND);
  void OnContextMenuCommand(UINT, int, HWND);
  void OnClassifyCommand(UINT, int, HWND);

  // Inserts an item for a loaded group under `parent` after `after` (TVI_LAST, TVI_FIRST or a
  // sibling), labelled by GroupLabel with `nodeName` as the fallback.
  HTREEITEM InsertGroupItem(HTREEITEM parent, HTREEITEM after, const FontGroup& group, const std::wstring& file,
                            const std::wstring& parentFile, bool installedLook, const std::wstring& nodeName = {});
  // The sibling after which a child named `name` keeps the children sorted.
  HTREEITEM SortedPlace(HTREEITEM parent, const std::wstring& name) const;
  void InsertChildren(HTREEITEM item);
  void SetRedraw(bool redraw) const;
  void DeleteAllRecords();

  orv::ScopedImageList images_;
  bool initPending_ = true;
  std::unordered_map<const GroupTreeItemData*, std::unique_ptr<GroupTreeItemData>> records_;
};

// Sorts group names in the tree's order: as the tree control sorts its item texts.
[[nodiscard]] int CompareGroupNames(const std::wstring& a, const std::wstring& b);

// Whether a group's item is drawn greyed: its file exists but was not read whole (damaged or
// unreadable), so no change to it is written. One rule for inserting and refreshing an item.
[[nodiscard]] bool ShowsAsDamaged(const FontGroup& group);
