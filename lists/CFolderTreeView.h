// CFolderTreeView: the tree of the shell namespace (Desktop, drives, folders, zip folders) in
// which the user picks the folder whose fonts the folder fonts list shows.
//
// Owners: AppState holds the main tree (the folder pane's client, control 350), the folder
// picker holds its own. The owner sets the switches, creates the window (CreateTree) inside a
// parent that reflects notifications, and calls Initialize once the window exists; the main
// tree's Initialize comes from the main frame's idle handler while IsInitPending().
//
// Branches are enumerated when first expanded. Each item's record (FolderItemData) is owned by
// the tree and freed with the item. The marks of an item (bold when the folder holds font
// files, the expand button when it has subfolders) are computed once per item, by the main
// thread when it needs them at once and otherwise by a pre-fill thread that each expansion
// starts. Pre-fill threads get copies (absolute item lists and paths), bind their own shell
// folders in their own apartment, hand each answer to the window with SendMessageW and are all
// joined before the window goes away. Everything else runs on the main thread.
//
// Selecting a folder in the main tree makes it the current directory and gives it to the
// folder fonts list with its fill-pending mark; shell change notifications keep the tree and
// that list current.
#pragma once

#include <windows.h>
#include <commctrl.h>
#include <shlobj.h>

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "common/ResourceIds.h"
#include "framework/CustomDraw.h"
#include "framework/MessageCrackers.h"
#include "framework/Handles.h"
#include "lists/CExplorerTreeImpl.h"
#include "lists/CSHChangeNotifyHandler.h"
#include "lists/FolderItemData.h"

struct PrefillJob;
struct PrefillMarks;

class CFolderTreeView : public CExplorerTreeImpl<CFolderTreeView>,
                        public orv::CCustomDraw<CFolderTreeView>,
                        public CSHChangeNotifyHandler {
public:
  static constexpr DWORD kTreeStyle = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | WS_BORDER |
                                      TVS_HASBUTTONS | TVS_EDITLABELS | TVS_SHOWSELALWAYS | TVS_TRACKSELECT;
  static constexpr DWORD kTreeExStyle = WS_EX_CONTEXTHELP;
  static constexpr COLORREF kCompressedColor = 0xFF0000;

  CFolderTreeView();
  ~CFolderTreeView();

  // The window with the tree's fixed styles, as control `id` of `parent`.
  HWND CreateTree(HWND parent, int id);

  // Switches an owner sets before the window exists (the picker's tree: not the main tree,
  // notifications off, zip folders hidden).
  void SetMainTree(bool main) { mainTree_ = main; }
  void SetNotifications(bool on) { notifications_ = on; }
  void SetHideZipFolders(bool hide) { hideZipFolders_ = hide; }
  void SetMarkFontFolders(bool mark) { markFontFolders_ = mark; }
  void SetLabelEditing(bool allowed) { labelEditing_ = allowed; }
  void SetTargetFolder(const std::wstring& folder) { target_ = folder; }

  bool IsMainTree() const { return mainTree_; }
  bool MarksFontFolders() const { return markFontFolders_; }
  bool LabelEditingAllowed() const { return labelEditing_; }
  bool ShowsHidden() const { return showHidden_; }
  bool ShowsSuperHidden() const { return showSuperHidden_; }
  bool IsInitPending() const { return initPending_; }
  void SetInitPending() { initPending_ = true; }
  bool FoldersChanged() const { return foldersChanged_; }
  const std::wstring& TargetFolder() const { return target_; }
  // True while any pre-fill thread of this tree still works.
  bool IsPrefillRunning() const;

  // Builds the root item and selects the initial folder.
  void Initialize();
  void SelectInitialFolder();

  // The item of a file-system path (or of a resource string naming one), expanding every
  // branch on the way when asked; null when there is none.
  HTREEITEM FindItemByIdList(const std::wstring& path, bool expand);
  HTREEITEM FindItemByIdList(UINT stringId, bool expand);
  // The item of a path (no expansion), or the selected item for null; its bold mark is renewed.
  HTREEITEM FindItemByPath(const std::wstring* path);
  // Re-enumerates the branch that holds `path` after folders were made or removed there.
  void RefreshFolder(const std::wstring& path);
  // Rebuilds the whole tree; does nothing while a pre-fill thread runs.
  void Refresh();
  // Makes the selected item the current folder (TVN_SELCHANGED, NM_DBLCLK).
  bool SelectFolder();

  // The file-system path of an item: a zip item gives its parsing name, a folder shortcut its
  // target. `data` may be null (the item's own record is used).
  bool GetItemPath(HTREEITEM item, const FolderItemData* data, std::wstring& out);
  bool GetSelectedPath(std::wstring& out, HTREEITEM item = nullptr);
  // Computes the bold mark and the child button of one item once (again when forced); `path`
  // may be null.
  bool UpdateItemMarks(HTREEITEM item, const std::wstring* path, bool force);
  [[nodiscard]] bool FolderHasFontFiles(const std::wstring& path) const;
  // The files of an item's folder whose extensions are among the "|"-separated `extensions`:
  // with stopAtFirst 1 or -1; else the count, the names appended to `names`, each followed by
  // a tab. -1 when the folder cannot be listed.
  int ListZipFontFiles(HTREEITEM item, std::wstring& names, const wchar_t* extensions, bool stopAtFirst = false);
  // The path of the zip file that holds an item (the item itself or an ancestor).
  bool GetZipFilePath(HTREEITEM item, std::wstring& out);
  bool IsZipItem(HTREEITEM item) const;

  FolderItemData* GetItemRecord(HTREEITEM item) const;
  // Records alive (one per item); for the tests of clean-up.
  size_t RecordCount() const { return records_.size(); }

  void OnShellChange(LONG event, const std::wstring& path1, const std::wstring& path2) override;

  // Folder commands (CFolderTreeViewCommands.cpp). NewFolder makes "New Folder" (or "New
  // Folder (2)", "(3)", ...) under the selected folder and starts editing its name; DeleteFolder
  // removes the selected folder when it may be deleted (CanDeleteSelectedFolder) and, when the
  // request names the record it was made for, only while that record is still selected.
  void NewFolder();
  void DeleteFolder(uint32_t requestedSerial = 0);
  // The selected item may be deleted: a file-system folder below the top level that the shell
  // lets delete, without subfolders, empty but for system files Thumbs.db and Desktop.ini, not a
  // drive root and not inside a zip folder.
  [[nodiscard]] bool CanDeleteSelectedFolder();
  // Makes the selected folder the target when `item` may get a new name (the folder menu asks).
  bool SetTargetFolderFromItem(HTREEITEM item);
  // No entry but ".", "..", and system files named Thumbs.db or Desktop.ini.
  [[nodiscard]] static bool IsFolderEmpty(const std::wstring& path);
  // Makes font groups from the target folder and the folders below it, under the group selected
  // in the groups tree, and selects the new group there. Not for a zip folder.
  void MakeGroupsFromTarget();
  // Copies the fonts of the zip folder shown in the folder fonts list into a folder the user
  // picks, and shows that folder in the main tree when asked to.
  static void RunExtractZippedFonts();

  // Label editing: renames go through the shell.
  LRESULT OnBeginLabelEdit(NMTVDISPINFOW* info);
  LRESULT OnEndLabelEdit(NMTVDISPINFOW* info);
  void OnBeginDrag(NMTREEVIEWW* nm);

  // Handlers that CExplorerTreeImpl calls.
  void OnTreeCreate();
  void OnTreeDestroy();
  LRESULT OnItemExpanding(NMTREEVIEWW* nm);
  void OnDeleteItem(NMTREEVIEWW* nm);

  // Custom draw: compressed folders in their colour.
  DWORD OnPrePaint(int, NMCUSTOMDRAW* cd);
  DWORD OnItemPrePaint(int, NMCUSTOMDRAW* cd);

  BEGIN_MSG_MAP(CFolderTreeView)
    MESSAGE_HANDLER(WM_SETFOCUS, OnSetFocus)
    MESSAGE_HANDLER(kPrefillMarksMessage, OnPrefillMarks)
    MESSAGE_HANDLER(kCollapseResetMessage, OnCollapseReset)
    REFLECTED_NOTIFY_CODE_HANDLER(TVN_SELCHANGINGW, OnSelChanging)
    REFLECTED_NOTIFY_CODE_HANDLER(TVN_SELCHANGEDW, OnSelChanged)
    REFLECTED_NOTIFY_CODE_HANDLER(NM_DBLCLK, OnDoubleClick)
    REFLECTED_NOTIFY_CODE_HANDLER(TVN_KEYDOWN, OnKeyDown)
    REFLECTED_NOTIFY_CODE_HANDLER(NM_RCLICK, OnRightClick)
    COMMAND_ID_HANDLER_EX(ID_FONTS_REFRESH, OnRefreshCommand)
    COMMAND_ID_HANDLER_EX(ID_FOLDER_NEW, OnNewFolderCommand)
    COMMAND_ID_HANDLER_EX(ID_FOLDER_DELETE, OnDeleteFolderCommand)
    COMMAND_ID_HANDLER_EX(ID_FOLDER_OPEN, OnOpenFolderCommand)
    COMMAND_ID_HANDLER_EX(ID_TREE_RENAME, OnRenameCommand)
    COMMAND_ID_HANDLER_EX(ID_TREE_MENU, OnContextMenuCommand)
    COMMAND_ID_HANDLER_EX(ID_LIST_EXTRACT_ZIPPED, OnExtractZippedCommand)
    COMMAND_ID_HANDLER_EX(ID_FOLDER_MAKE_GROUPS, OnMakeGroupsCommand)
    CHAIN_MSG_MAP_ALT(orv::CCustomDraw<CFolderTreeView>, 1)
    CHAIN_MSG_MAP(CExplorerTreeImpl<CFolderTreeView>)
  END_MSG_MAP()

  static constexpr UINT kPrefillMarksMessage = WM_APP + 1;   // lParam: const PrefillMarks*
  static constexpr UINT kCollapseResetMessage = WM_APP + 2;  // wParam: record serial

private:
  struct PrefillThread {
    orv::ScopedHandle handle;
    std::unique_ptr<PrefillJob> job;
  };

  LRESULT OnSetFocus(UINT, WPARAM, LPARAM, BOOL& handled);
  LRESULT OnPrefillMarks(UINT, WPARAM, LPARAM lParam, BOOL&);
  LRESULT OnCollapseReset(UINT, WPARAM wParam, LPARAM, BOOL&);
  LRESULT OnSelChanging(int, NMHDR* hdr, BOOL&);
  LRESULT OnSelChanged(int, NMHDR* hdr, BOOL&);
  LRESULT OnDoubleClick(int, NMHDR* hdr, BOOL&);
  LRESULT OnKeyDown(int, NMHDR* hdr, BOOL&);
  LRESULT OnRightClick(int, NMHDR* hdr, BOOL&);
  void OnRefreshCommand(UINT, int, HWND) { Refresh(); }
  void OnNewFolderCommand(UINT, int, HWND) { NewFolder(); }
  void OnDeleteFolderCommand(UINT, int, HWND serial);
  void OnOpenFolderCommand(UINT, int, HWND);
  void OnRenameCommand(UINT, int, HWND);
  void OnContextMenuCommand(UINT, int, HWND);
  void OnExtractZippedCommand(UINT, int, HWND) { RunExtractZippedFonts(); }
  void OnMakeGroupsCommand(UINT, int, HWND) { MakeGroupsFromTarget(); }
  // The rename has been done: the target, the current directory and the lists follow the new
  // path.
  void AfterRename(HTREEITEM item, const std::wstring& oldPath);

  bool InsertRootItem();
  bool EnumChildFolders(IShellFolder* folder, LPCITEMIDLIST parentList, HTREEITEM parentItem, bool parentZip);
  HTREEITEM InsertFolderItem(HTREEITEM parent, std::unique_ptr<FolderItemData> record, const std::wstring& text,
                             int childCount);
  orv::ComPtr<IShellFolder> BindItemFolder(const FolderItemData& record) const;
  static int CALLBACK CompareItems(LPARAM a, LPARAM b, LPARAM sortParam);
  void ApplyMarks(FolderItemData& record, bool bold, bool attributesKnown, ULONG attributes);
  HTREEITEM TopLevelAncestor(HTREEITEM item) const;
  void DeleteAllRecords();

  // Pre-fill threads.
  void StartPrefill();
  void CollectPrefillItems(HTREEITEM first, PrefillJob& job);
  void ReapPrefillThreads(bool all);

  HIMAGELIST systemImages_ = nullptr;  // the shell's; never destroyed here
  bool notifications_ = true;
  bool labelEditing_ = true;
  bool showHidden_ = false;
  bool showSuperHidden_ = false;
  bool hideZipFolders_ = false;
  std::atomic<bool> closing_{false};
  bool showCompressedColor_ = false;
  COLORREF compressedColor_ = kCompressedColor;
  CLSID zipFolderClass_{};
  bool initPending_ = true;
  bool markFontFolders_ = true;
  bool foldersChanged_ = false;
  bool renaming_ = false;  // shell change notifications are not followed meanwhile
  HTREEITEM editedItem_ = nullptr;  // the item whose label is being edited
  bool mainTree_ = true;
  std::wstring target_;

  std::unordered_map<uint32_t, std::unique_ptr<FolderItemData>> records_;
  uint32_t nextSerial_ = 1;
  std::vector<PrefillThread> prefillThreads_;
};
