// The main window of Orvel Font Manager: command bar and toolbar in a rebar, status bar, and
// the client area of four splitters and five panes (MainPanes). Its class name is the
// single-instance name, so a second start can find it. It filters the thread's messages
// (accelerators, wheel routing) and runs the program's deferred jobs from the idle phase, one
// per pass. It saves the layout and the favourite folders when it closes, and ends the message
// loop with exit code 1 when it is destroyed.
#pragma once

#include <vector>

#include "app/MainPanes.h"
#include "app/SingleInstance.h"
#include "app/ToolWindows.h"
#include "app/WindowLayout.h"
#include "common/ResourceIds.h"
#include "framework/CommandBarCtrl.h"
#include "framework/FrameWindowImpl.h"
#include "framework/MessageCrackers.h"
#include "framework/MessageLoop.h"
#include "framework/UpdateUI.h"
#include "lists/FontListParent.h"

class COrvelListView;
class CSearchDlg;

// The deferred jobs of the idle phase, in the order they are taken.
enum class IdleJob {
  None,
  InstalledRefresh,     // full font refresh of the installed list
  FolderTreeInit,
  GroupsTreeInit,
  StateUpdate,          // selection, toolbar and caption states; nothing left to do afterwards
  FolderListFill,       // state update plus the folder list's fill and caption
  FolderCaption,
  GroupListFill,        // state update plus the group list's fill or caption
};

// What the views ask of the idle phase; each flag is cleared by the job that serves it. The
// folder tree's initialisation is the tree's own flag (CFolderTreeView::IsInitPending).
struct IdlePending {
  bool InstalledRefresh = false;
  bool GroupsTreeInit = false;
  bool FolderListRefresh = false;
  bool FolderCaption = false;
  bool GroupListRefresh = false;
  bool GroupCaption = false;
  bool SelectionChanged = false;
};

class CMainFrame : public orv::CFrameWindowImpl<CMainFrame>,
                   public orv::CUpdateUI<CMainFrame>,
                   public orv::CMessageFilter,
                   public orv::CIdleHandler {
public:
  DECLARE_WND_CLASS_EX(kSingleInstanceName, CS_DBLCLKS, COLOR_WINDOW)

  CMainFrame();

  HWND CreateMainWindow();
  const WindowLayout& Layout() const { return panes_.m_layout; }
  MainPanes& Panes() { return panes_; }
  orv::CCommandBarCtrl& CommandBar() { return commandBar_; }
  // The modeless tool windows, each null while closed.
  ToolWindows& Tools() { return tools_; }

  // Command 700: starts the launcher that brings the program back with administrator rights,
  // and closes this instance. Nothing for a user who is no administrator or in an elevated
  // process; nothing changes when the launcher cannot be started.
  void RestartElevated();

  bool PreTranslateMessage(MSG* msg) override;
  bool OnIdle() override;

  // Empties the private font cache, refills the installed list, refills the folder list when it
  // shows the Fonts folder and has the other lists resolve their records again. The last step
  // of command 143, all of WM_FONTCHANGE and the first idle job.
  void FullFontRefresh();

  // One pass of the idle phase: the job done. Public for the tests of the job order.
  IdleJob RunIdleJob();
  IdlePending Pending;

  BEGIN_UPDATE_UI_MAP(CMainFrame)
    UPDATE_ELEMENT(ID_VIEW_TOOLBAR, orv::UPDUI_MENUPOPUP)
    UPDATE_ELEMENT(ID_VIEW_STATUS_BAR, orv::UPDUI_MENUPOPUP)
    UPDATE_ELEMENT(ID_VIEW_SAMPLE_PANE, orv::UPDUI_MENUPOPUP)
    UPDATE_ELEMENT(ID_VIEW_GROUPS_TREE, orv::UPDUI_MENUPOPUP)
    UPDATE_ELEMENT(ID_VIEW_FOLDER_TREE, orv::UPDUI_MENUPOPUP)
    UPDATE_ELEMENT(ID_VIEW_FOLDER_LISTS, orv::UPDUI_MENUPOPUP)
    UPDATE_ELEMENT(ID_VIEW_SAMPLE_IN_LIST, orv::UPDUI_MENUPOPUP | orv::UPDUI_TOOLBAR)
    UPDATE_ELEMENT(ID_RESTART_ELEVATED, orv::UPDUI_MENUPOPUP | orv::UPDUI_TOOLBAR)
    UPDATE_ELEMENT(ID_FONTS_SIMILAR, orv::UPDUI_MENUPOPUP)
    UPDATE_ELEMENT(ID_FILE_SAVE_IMAGES, orv::UPDUI_MENUPOPUP)
    UPDATE_ELEMENT(ID_FONTS_SHEET, orv::UPDUI_MENUPOPUP | orv::UPDUI_TOOLBAR)
    UPDATE_ELEMENT(ID_FONTS_CHARMAP, orv::UPDUI_MENUPOPUP | orv::UPDUI_TOOLBAR)
    UPDATE_ELEMENT(ID_FONTS_PROPERTIES, orv::UPDUI_MENUPOPUP | orv::UPDUI_TOOLBAR)
    UPDATE_ELEMENT(ID_FONTS_SEARCH, orv::UPDUI_MENUPOPUP | orv::UPDUI_TOOLBAR)
    UPDATE_ELEMENT(ID_FONTS_CENSUS, orv::UPDUI_MENUPOPUP | orv::UPDUI_TOOLBAR)
    UPDATE_ELEMENT(ID_FONTS_DIRS_WITH_FONTS, orv::UPDUI_MENUPOPUP)
    UPDATE_ELEMENT(ID_TOOLS_REGISTRY_FONTS, orv::UPDUI_MENUPOPUP)
    UPDATE_ELEMENT(ID_TOOLS_SUBSTITUTES, orv::UPDUI_MENUPOPUP)
    UPDATE_ELEMENT(ID_TOOLS_FAMILY_DEFAULTS, orv::UPDUI_MENUPOPUP)
    UPDATE_ELEMENT(ID_TOOLS_GROUP_CHECKS, orv::UPDUI_MENUPOPUP)
    UPDATE_ELEMENT(ID_GROUPS_CLASSIFY, orv::UPDUI_MENUPOPUP)
    UPDATE_ELEMENT(ID_GROUPS_BACKUP, orv::UPDUI_MENUPOPUP)
    UPDATE_ELEMENT(ID_GROUPS_RESTORE, orv::UPDUI_MENUPOPUP)
    UPDATE_ELEMENT(ID_GROUPS_RELOCATE, orv::UPDUI_MENUPOPUP)
    UPDATE_ELEMENT(ID_FILES_BACKUP, orv::UPDUI_MENUPOPUP)
    UPDATE_ELEMENT(ID_FILE_PAGE_SETUP, orv::UPDUI_MENUPOPUP)
  END_UPDATE_UI_MAP()

  BEGIN_MSG_MAP(CMainFrame)
    MESSAGE_HANDLER(WM_CREATE, OnCreate)
    MESSAGE_HANDLER(WM_DESTROY, OnDestroy)
    MESSAGE_HANDLER(WM_SIZE, OnSize)
    MESSAGE_HANDLER(WM_CLOSE, OnClose)
    MESSAGE_HANDLER(WM_GETMINMAXINFO, OnGetMinMaxInfo)
    MESSAGE_HANDLER(WM_MEASUREITEM, OnFontListMessage)
    MESSAGE_HANDLER(WM_DRAWITEM, OnFontListMessage)
    MESSAGE_HANDLER(WM_NOTIFY, OnFontListMessage)
    MESSAGE_HANDLER(kMsgFontListSelectionChanged, OnSelectionChanged)
    MESSAGE_HANDLER(WM_ENTERSIZEMOVE, OnEnterSizeMove)
    MESSAGE_HANDLER(WM_EXITSIZEMOVE, OnExitSizeMove)
    MESSAGE_HANDLER(WM_HELP, OnHelp)
    MSG_WM_TIMER(OnTimer)
    MSG_WM_FONTCHANGE(OnFontChange)
    CHAIN_MSG_MAP(orv::CUpdateUI<CMainFrame>)
    COMMAND_ID_HANDLER(ID_LISTS_REDRAW, OnListsRedraw)
    COMMAND_ID_HANDLER(ID_SHOW_FONT_LIST, OnShowFontList)
    COMMAND_ID_HANDLER(ID_APP_EXIT, OnAppExit)
    COMMAND_ID_HANDLER(ID_TOOL_WINDOW_CLOSED, OnToolWindowClosed)
    COMMAND_ID_HANDLER(ID_SAMPLE_EDIT_TEXTS, OnEditSampleTexts)
    COMMAND_ID_HANDLER_EX(ID_FONTS_CHARMAP, OnFontsCharMap)
    COMMAND_ID_HANDLER_EX(ID_FONTS_SHEET, OnFontsSheet)
    COMMAND_ID_HANDLER_EX(ID_FONTS_CENSUS, OnFontsCensus)
    COMMAND_ID_HANDLER_EX(ID_TOOLS_GROUP_CHECKS, OnToolsGroupChecks)
    COMMAND_ID_HANDLER_EX(ID_FONTS_DIRS_WITH_FONTS, OnFontsDirsWithFonts)
    COMMAND_ID_HANDLER(ID_FONTS_PROPERTIES, OnFontProperties)
    COMMAND_ID_HANDLER(ID_TOOLS_OPTIONS, OnOptions)
    COMMAND_ID_HANDLER(ID_FILE_PAGE_SETUP, OnPageSetup)
    COMMAND_ID_HANDLER(ID_FILE_SAVE_IMAGES, OnSaveFontImages)
    COMMAND_ID_HANDLER_EX(ID_FONTS_REFRESH, OnRefresh)
    COMMAND_ID_HANDLER_EX(ID_WINDOW_TO_SCREEN, OnWindowToScreen)
    COMMAND_ID_HANDLER_EX(ID_VIEW_SAMPLE_PANE, OnViewSamplePane)
    COMMAND_ID_HANDLER_EX(ID_VIEW_GROUPS_TREE, OnViewGroupsTree)
    COMMAND_ID_HANDLER_EX(ID_VIEW_FOLDER_TREE, OnViewFolderTree)
    COMMAND_ID_HANDLER_EX(ID_VIEW_FOLDER_LISTS, OnViewFolderLists)
    COMMAND_ID_HANDLER_EX(ID_VIEW_SAMPLE_IN_LIST, OnViewSampleInList)
    COMMAND_ID_HANDLER_EX(ID_VIEW_TOOLBAR, OnViewToolbar)
    COMMAND_ID_HANDLER_EX(ID_VIEW_STATUS_BAR, OnViewStatusBar)
    COMMAND_ID_HANDLER_EX(ID_HELP_TOPIC_MAIN, OnHelpMainWindow)
    COMMAND_ID_HANDLER_EX(ID_HELP_CONTENTS, OnHelpContents)
    COMMAND_ID_HANDLER_EX(ID_HELP_INDEX, OnHelpIndex)
    COMMAND_ID_HANDLER_EX(ID_APP_ABOUT, OnAppAbout)
    COMMAND_ID_HANDLER_EX(ID_RESTART_ELEVATED, OnRestartElevated)
    COMMAND_ID_HANDLER_EX(ID_FILES_BACKUP, OnFilesBackup)
    COMMAND_ID_HANDLER_EX(ID_GROUPS_BACKUP, OnGroupsBackup)
    COMMAND_ID_HANDLER_EX(ID_GROUPS_RESTORE, OnGroupsRestore)
    COMMAND_ID_HANDLER_EX(ID_GROUPS_RELOCATE, OnGroupsRelocate)
    COMMAND_ID_HANDLER_EX(ID_GROUPS_CLASSIFY, OnGroupsClassify)
    COMMAND_ID_HANDLER_EX(ID_FONTS_SEARCH, OnFontsSearch)
    COMMAND_ID_HANDLER_EX(ID_FONTS_SIMILAR, OnFontsSimilar)
    COMMAND_ID_HANDLER_EX(ID_TOOLS_REGISTRY_FONTS, OnToolsRegistryFonts)
    COMMAND_ID_HANDLER_EX(ID_TOOLS_SUBSTITUTES, OnToolsSubstitutes)
    COMMAND_ID_HANDLER_EX(ID_TOOLS_FAMILY_DEFAULTS, OnToolsFamilyDefaults)
    COMMAND_ID_HANDLER_EX(ID_FONT_CHANGE, OnFontChangeCommand)
    CHAIN_MSG_MAP(orv::CFrameWindowImpl<CMainFrame>)
  END_MSG_MAP()

private:
  LRESULT OnCreate(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnDestroy(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnSize(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnClose(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnGetMinMaxInfo(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnFontListMessage(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnEnterSizeMove(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnExitSizeMove(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnHelp(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnListsRedraw(WORD, WORD, HWND, BOOL&);
  LRESULT OnShowFontList(WORD, WORD, HWND, BOOL&);
  LRESULT OnAppExit(WORD, WORD, HWND, BOOL&);
  LRESULT OnToolWindowClosed(WORD, WORD, HWND, BOOL&);
  LRESULT OnEditSampleTexts(WORD, WORD, HWND, BOOL&);  // CMainFrameSampleCommands.cpp
  LRESULT OnPageSetup(WORD, WORD, HWND, BOOL&);        // CMainFramePrintCommands.cpp
  LRESULT OnSaveFontImages(WORD, WORD, HWND, BOOL&);   // CMainFramePrintCommands.cpp
  bool HasFontImagesToSave() const;                    // CMainFramePrintCommands.cpp

  // The tool frames (CMainFrameToolFrames.cpp).
  void OnFontsCharMap(UINT, int, HWND list);
  void OnFontsSheet(UINT, int, HWND list);
  COrvelListView* ToolFrameRows(HWND listParam, std::vector<int>& rows) const;
  COrvelListView* FontListOfCommand(LPARAM lParam) const;
  COrvelListView* SampleSourceList() const;

  // The search (CMainFrameSearchCommands.cpp).
  void OnFontsSearch(UINT, int, HWND);
  void OnFontsSimilar(UINT, int, HWND);
  CSearchDlg* OpenSearchDialog();
  CSearchDlg* SearchDialog() const;
  COrvelListView* SearchResultList() const;
  bool CanSearchSimilarFonts() const;
  void UpdateSearchStates();
  // The census and the finder of folders with fonts (CMainFrameCensusCommands.cpp).
  void OnFontsCensus(UINT, int, HWND);
  void OnFontsDirsWithFonts(UINT, int, HWND);
  // The group checks window (CMainFrameGroupChecks.cpp).
  void OnToolsGroupChecks(UINT, int, HWND);

  // Font properties and options (CMainFrameViewCommands.cpp).
  LRESULT OnFontProperties(WORD, WORD, HWND, BOOL&);
  LRESULT OnOptions(WORD, WORD, HWND, BOOL&);
  std::vector<COrvelListView*> FontLists() const;
  COrvelListView* FontListFromCommand(LPARAM argument) const;
  void ApplyOptions(bool refreshFolderTree, bool rebuildLists);

  // The view toggles and the window commands (CMainFrameViewToggles.cpp).
  void OnRefresh(UINT, int, HWND);
  void OnWindowToScreen(UINT, int, HWND);
  void OnViewSamplePane(UINT, int, HWND);
  void OnViewGroupsTree(UINT, int, HWND);
  void OnViewFolderTree(UINT, int, HWND);
  void OnViewFolderLists(UINT, int, HWND);
  void OnViewSampleInList(UINT, int, HWND);
  void OnViewToolbar(UINT, int, HWND);
  void OnViewStatusBar(UINT, int, HWND);
  // Shows or hides the tree of the trees splitter's pane `pane` (0 folders, 1 groups).
  void ToggleTree(int pane);

  // Help and About (CMainFrameHelpCommands.cpp).
  void OnHelpMainWindow(UINT, int, HWND);
  void OnHelpContents(UINT, int, HWND);
  void OnHelpIndex(UINT, int, HWND);
  void OnAppAbout(UINT, int, HWND);

  // The font-change protocol (CMainFrameFontChange.cpp).
  void OnFontChangeCommand(UINT, int, HWND);
  void OnFontChange();
  void OnTimer(UINT_PTR id);
  void ShowInstalledCounts();

  // The restart with administrator rights (CMainFrameElevation.cpp).
  void OnRestartElevated(UINT, int, HWND);

  // The dialogs over the system's font registration (CMainFrameRegistryCommands.cpp).
  void OnToolsRegistryFonts(UINT, int, HWND);
  void OnToolsSubstitutes(UINT, int, HWND);
  void OnToolsFamilyDefaults(UINT, int, HWND);
  // The copies of font files and group files (CMainFrameBackupCommands.cpp).
  void OnFilesBackup(UINT, int, HWND);
  void OnGroupsBackup(UINT, int, HWND);
  void OnGroupsRestore(UINT, int, HWND);
  void OnGroupsRelocate(UINT, int, HWND);
  void OnGroupsClassify(UINT, int, HWND);

  void SetViewChecks();
  void ShowFolderListCaption();
  void UpdateStates();
  // A list's selection changed: the states follow at once, by a posted message (one at a time).
  void PostSelectionUpdate();
  LRESULT OnSelectionChanged(UINT, WPARAM, LPARAM, BOOL&);
  bool selectionUpdatePosted_ = false;
  // The groups pane and the group list (CMainFrameGroupCommands.cpp).
  void UpdateGroupsPaneButtons();
  void ShowGroupList();
  // The sample pane follows the selection of the lists (CMainFrameSampleCommands.cpp).
  void ShowSelectionInSample();
  void UpdateFontCommandStates();
  void SelectOnly(HWND focusList, std::initializer_list<HWND> deselect) const;
  bool RouteMouseWheel(const MSG& msg) const;
  bool IsFocusedViewKey(const MSG& msg) const;

  MainPanes panes_;
  bool minSizeGuard_ = true;  // WM_GETMINMAXINFO is left alone until WM_CREATE has finished
  orv::CCommandBarCtrl commandBar_;
  orv::ScopedIcon elevatedIcon_;  // the big icon of an elevated process, kept while the window lives
  ToolWindows tools_;
  bool filtersAdded_ = false;
};
