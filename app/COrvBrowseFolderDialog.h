// COrvBrowseFolderDialog: the program's one folder picker, a resizable modal dialog (template
// 0x41B) around a shell folder tree that every browse button opens.
//
// The owner builds it on its stack with a start folder (a path, a string identifier, or none
// for the documents folder), sets the title, prompt, allow-editing and centre-over window, runs
// DoModal (owner = the active window) and reads ChosenFolder() when the result is 1. Every
// picker opens where the last one of the process was closed, with the same size. While it runs,
// the process's current directory follows the tree's selection; it is put back when the picker
// ends. UI thread only.
//
// The folder tree is the shell namespace tree of the folder pane, reached through
// IPickerFolderTree: the program sets, once at start, the hooks that make one tree per picker
// and that rebuild the main window's tree after the picker created or renamed folders.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "common/ResourceIds.h"
#include "framework/DialogImpl.h"
#include "framework/Handles.h"

// What the picker needs of its folder tree. A picker's tree is not the main tree, sends no
// shell change notifications, hides zip folders, and posts WM_COMMAND IDC_BROWSE_OK to its
// parent on a double-click. The picker reflects the tree's notifications back to it.
class IPickerFolderTree {
public:
  virtual ~IPickerFolderTree() = default;

  // The folder the tree selects at Initialize, later the folder it last made current.
  virtual void SetTargetFolder(const std::wstring& folder) = 0;
  // Before the window exists: mark folders holding fonts bold; allow new folders and renames.
  virtual void Configure(bool markFontFolders, bool allowEditing) = 0;
  virtual bool MarkFontFolders() const = 0;
  // Creates the tree window with these styles, rectangle and control id.
  virtual HWND CreateTreeWindow(HWND parent, const RECT& rect, DWORD style, DWORD exStyle, UINT id) = 0;
  // Builds the root and selects the target folder (the "FontCaseRoot" preference when the
  // target is empty or missing).
  virtual void Initialize() = 0;
  // The file-system path of the selected item; false (and empty) when there is none.
  virtual bool GetSelectedPath(std::wstring& path) = 0;
  // Set once a folder was created or renamed in this tree.
  virtual bool FoldersChanged() const = 0;
};

struct PickerFolderTreeHooks {
  // Makes the tree of a new picker, with the folder tree's defaults; null: the picker has none.
  std::unique_ptr<IPickerFolderTree> (*makeTree)() = nullptr;
  // Rebuilds the main window's folder tree and selects the folder font list's folder there.
  void (*rebuildMainTree)() = nullptr;
};

class COrvBrowseFolderDialog : public orv::CDialogImpl<COrvBrowseFolderDialog> {
public:
  enum { IDD = IDD_BROWSE_FOLDER };

  // Starts in the user's documents folder.
  COrvBrowseFolderDialog();
  explicit COrvBrowseFolderDialog(const std::wstring& startFolder);
  // Starts in the folder named by a resource string.
  explicit COrvBrowseFolderDialog(UINT startFolderStringId);
  ~COrvBrowseFolderDialog() override;

  // A picker owned by the active window, titled `title`, starting at `folder`, where new folders
  // and renames are allowed; on OK the chosen folder goes into `folder`. The program hands it to
  // the font file commands as the way to ask for their target folder.
  static bool AskForTargetFolder(const std::wstring& title, std::wstring& folder);

  static void SetTreeHooks(const PickerFolderTreeHooks& hooks);
  static const PickerFolderTreeHooks& TreeHooks();
  // Where the last picker was closed (empty at start); tests reset it.
  static RECT& LastWindowRect();

  // The start folder before DoModal, the selected folder after it.
  const std::wstring& ChosenFolder() const { return chosenFolder_; }
  void SetStartFolder(const std::wstring& folder) { chosenFolder_ = folder; }

  std::wstring title;              // empty: the template's caption
  std::wstring prompt;             // empty: none
  bool allowEditing = false;       // new-folder button, new folders and renames in the tree
  bool markFontFolders = true;
  HWND centreOver = nullptr;       // none: the parent

  IPickerFolderTree* Tree() const { return tree_.get(); }

  BEGIN_MSG_MAP(COrvBrowseFolderDialog)
    MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
    MESSAGE_HANDLER(WM_GETMINMAXINFO, OnGetMinMaxInfo)
    MESSAGE_HANDLER(WM_SIZE, OnSize)
    MESSAGE_HANDLER(WM_HELP, OnHelp)
    MESSAGE_HANDLER(WM_DESTROY, OnDestroy)
    COMMAND_ID_HANDLER(IDC_BROWSE_NEW_FOLDER, OnNewFolder)
    COMMAND_ID_HANDLER(IDC_BROWSE_OK, OnOK)
    COMMAND_ID_HANDLER(IDCANCEL, OnOK)
    COMMAND_ID_HANDLER(IDOK, OnEnter)
    NOTIFY_ID_HANDLER(IDC_BROWSE_TREE, OnTreeNotify)
  END_MSG_MAP()

private:
  LRESULT OnInitDialog(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnGetMinMaxInfo(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnSize(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnHelp(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnDestroy(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnNewFolder(WORD, WORD, HWND, BOOL&);
  LRESULT OnOK(WORD, WORD id, HWND, BOOL&);
  LRESULT OnEnter(WORD, WORD, HWND, BOOL&);
  LRESULT OnTreeNotify(int id, NMHDR* hdr, BOOL& handled);

  void CentreOnOwner();
  void FitPrompt();
  RECT TreeRect() const;
  void CreateTree(const RECT& rc);
  void SetUpResizing();
  void Layout(int width, int height);
  HWND TreeWindow() const;
  bool IsEditingLabel() const;
  void RestoreCurrentDirectory();
  void EndLabelEdit(bool abandon);

  std::unique_ptr<IPickerFolderTree> tree_;
  orv::ScopedIcon icon_;  // the dialog's big icon, kept while the dialog lives
  std::wstring chosenFolder_;
  POINT minTrackSize_{-1, -1};
  HWND gripper_ = nullptr;
  std::wstring savedCurrentDirectory_;
  // Client size and control rectangles at the end of the initialisation, the layout's base.
  SIZE baseClient_{};
  RECT baseRects_[6]{};
  bool layoutReady_ = false;
  // How the picker is ending a label edit of the tree; see OnTreeNotify.
  enum class EndingEdit { kNo, kCommitting, kCommitted, kAbandoning };
  EndingEdit endingEdit_ = EndingEdit::kNo;
};
