// The owner-drawn, single-column report list of font rows that every font list derives from
// (folder fonts, group fonts, installed fonts, search results). It owns one row entry per row,
// each holding a copy of a font record or a subgroup entry, keeps them sorted by name without
// case, draws every row itself (type icon, status overlay, the face in its own font, status
// colours), keeps the top row across refills, and offers selection commands, copy to a folder,
// install, uninstall and printing of the selection. Derived lists override the virtual
// operations below; their maps chain to this one.
//
// The window is a list-view control created by the owner and bound with SubclassWindow, then
// Initialize. Items carry their FontListRow as item data and ask for their text by callback.
//
// Threads: everything runs on the main thread except the detail reader, which reads copies of
// the records (DetailReader.h). The records in the rows belong to the main thread: only it reads
// them from their files, resolves them, marks them unreadable while drawing and swaps in the
// reader's copies, so drawing, the display names and the selection helpers need no lock.
//
// Idle time: once the window exists on a thread with a message loop, the list is one of its
// idle handlers; it loads the fonts of the rows about to come into view and lets the private
// font cache unload what it trimmed, a slice at a time.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "common/ResourceIdsLists.h"
#include "framework/Handles.h"
#include "framework/MessageLoop.h"
#include "framework/MessageMap.h"
#include "framework/WindowImpl.h"
#include "lists/DetailReader.h"
#include "lists/FontItemList.h"
#include "lists/FontListRow.h"

class FontDragSession;

// Window styles of a font list: WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN with
// LVS_NOCOLUMNHEADER | LVS_OWNERDRAWFIXED | LVS_SHAREIMAGELISTS; report mode is added by Initialize.
constexpr DWORD kFontListStyle = 0x56000000 | 0x40004440;
constexpr DWORD kFontListExStyle = 0x220;

class COrvelListView : public orv::CWindowImplRoot, public orv::CIdleHandler {
public:
  COrvelListView();
  ~COrvelListView() override;

  // Set-up, once the window exists (bound to this object).
  void Initialize();
  void SetNamesOnly(bool namesOnly);
  void MeasureRows();

  // Rows. The Add operations insert at the sorted place and add no list-view item; Repopulate
  // shows them. AppendItem adds at the end for a bulk fill, which then calls SortRows once.
  FontListRow* AddItem(const FontItem& record, bool readNow);
  FontListRow* AddItemFromFile(const std::wstring& name, const std::wstring& file, bool readNow);
  FontListRow* AddSubgroupEntry(const std::wstring& name, const std::wstring& groupFile, bool installed,
                                bool loadFailed);
  FontListRow* AppendItem(const FontItem& record);
  // Stable sort of the row entries by name: the order the sorted inserts would have given.
  void SortRows();
  void Repopulate();
  void Sort();
  void Clear();
  void InvalidateRecords();
  int CountRecords() const;
  // Both leave the list-view items to the caller's next Repopulate (until then no row is drawn
  // or loaded ahead); a command 218 still on its way for a removed row finds no row and is dropped.
  void RemoveRow(FontListRow* row);
  void RemoveRows(const std::unordered_set<const FontListRow*>& rows);
  const std::vector<std::unique_ptr<FontListRow>>& Rows() const { return rows_; }

  // Queries.
  FontItem* GetRecordAt(int row) const;
  static FontItem* GetItemRecord(FontListRow* row) { return row ? row->record.get() : nullptr; }
  FontListRow* GetRowAt(int row) const;
  int GetItemKind(int row) const;
  bool GetItemNameAndPath(int row, std::wstring& name, std::wstring& path, bool& isRecord) const;
  int GetFirstSelected() const;
  std::vector<int> GetSelectedIndices() const;
  std::vector<int> GetSelectedFileIndices() const;
  int FindNextByName(const std::wstring& text, int after, bool byDisplayName) const;
  int FindMatchingRow(const FontItem& record) const;
  std::wstring GetRowName(int row) const;

  // Selection.
  void SelectAll(bool select);
  void InvertSelection();
  void ExtendSelectionToSameFile();

  // Position.
  void SavePosition(bool preferUnselected);
  void SetPositionName(const std::wstring& name, bool select);
  void RestorePosition(bool byDisplayName);
  void ScrollToRow(int row, int where);
  void FitColumn();

  // The records of the rows (selected only or all) into `list`; the number of entries, 0 after Esc.
  int CollectItems(FontItemList& list, bool selectedOnly);
  void AppendContextMenuItems(HMENU menu, UINT flags) const;
  void PrintList();

  // Font drag (FontDragSession.h): ends a running drag without a drop (Esc, command 296).
  void CancelDrag();
  FontDragSession* CurrentDrag() const { return m_currentDrag.get(); }

  // Detail reader (a worker that completes copies of the records in row order). Once Stop
  // returns no reader runs and none of its copies is taken in any more.
  void StartDetailReader();
  void StopDetailReader();
  bool DetailReaderRunning() const { return reader_ && reader_->Running(); }
  // Command 218: swaps the reader's completed copies into their rows and resolves them.
  void OnDetailsRead();

  // Idle work (COrvelListViewIdle.cpp): true while work is left; a message is then posted to
  // the list so that the loop comes back.
  bool OnIdle() override;

  // Virtual operations of the derived lists.
  virtual void GetCounts(int* items, int* selected) const;
  virtual void ShowInInstalledList();
  virtual void CopySelectionToFolder();
  // Install or uninstall the selected fonts (COrvelListViewInstall.cpp); copyOption / option
  // non-zero: through the Fonts folder (copy in, delete afterwards).
  virtual void InstallSelection(bool copyOption);
  virtual void UninstallSelection(int option);
  // Whether InstallSelection and UninstallSelection can act; the buttons and keys that ask for
  // them stay disabled while they cannot.
  [[nodiscard]] static bool CanInstallFonts();
  virtual bool OnKey(UINT key, bool ctrl) { return false; }
  virtual bool IsHidden(const FontListRow&) const { return false; }
  virtual void OnItemActivate(NMITEMACTIVATE*) {}
  virtual void OnRightClick(NMITEMACTIVATE*) {}
  virtual void OnItemChanged(NMLISTVIEW*) { m_selectionChanged = true; }
  virtual void OnResized() {}
  virtual bool AcceptEntry(FontItemList&, SubgroupEntry&) { return true; }

  // Drawing.
  COLORREF GetItemTextColor(uint32_t flags, int controlId) const;
  int RowHeight() const { return m_rowHeight; }

  BEGIN_MSG_MAP(COrvelListView)
    MESSAGE_HANDLER(WM_ERASEBKGND, OnEraseBackground)
    MESSAGE_HANDLER(orv::kReflectBase + WM_DRAWITEM, OnDrawItem)
    REFLECTED_NOTIFY_CODE_HANDLER(LVN_GETDISPINFOW, OnGetDispInfo)
    REFLECTED_NOTIFY_CODE_HANDLER(LVN_ITEMCHANGED, OnItemChangedNotify)
    REFLECTED_NOTIFY_CODE_HANDLER(LVN_DELETEITEM, OnDeleteItem)
    REFLECTED_NOTIFY_CODE_HANDLER(LVN_DELETEALLITEMS, OnDeleteAllItems)
    REFLECTED_NOTIFY_CODE_HANDLER(NM_RCLICK, OnRightClickNotify)
    REFLECTED_NOTIFY_CODE_HANDLER(NM_DBLCLK, OnDoubleClickNotify)
    REFLECTED_NOTIFY_CODE_HANDLER(LVN_BEGINDRAG, OnBeginDrag)
    MESSAGE_HANDLER(WM_SETCURSOR, OnSetCursor)
    MESSAGE_HANDLER(WM_MOUSEMOVE, OnMouseMove)
    MESSAGE_HANDLER(WM_LBUTTONUP, OnLeftButtonUp)
    COMMAND_ID_HANDLER(ID_LIST_DETAILS_READ, OnDetailsReadCommand)
    COMMAND_ID_HANDLER(ID_LIST_SELECT_ALL_, OnSelectAllCommand)
    COMMAND_ID_HANDLER(ID_LIST_INVERT_SELECTION_, OnInvertCommand)
    COMMAND_ID_HANDLER(ID_COPY_TO_FOLDER_, OnCopyToFolderCommand)
    COMMAND_ID_HANDLER(ID_FONT_SHEET_, OnPassToMainWindow)
    COMMAND_ID_HANDLER(ID_CHARMAP_, OnPassToMainWindow)
    COMMAND_ID_HANDLER(ID_PROPERTIES_, OnPassToMainWindow)
    COMMAND_ID_HANDLER(ID_SHOW_INSTALLED_, OnShowInstalledCommand)
    COMMAND_ID_HANDLER(ID_REFRESH_, OnRefreshCommand)
    COMMAND_ID_HANDLER(ID_LIST_PRINT_, OnPrintCommand)
    COMMAND_ID_HANDLER(ID_LIST_END_DRAG_, OnEndDragCommand)
    MESSAGE_HANDLER(WM_DESTROY, OnDestroy)
    MESSAGE_HANDLER(WM_SIZE, OnSize)
    MESSAGE_HANDLER(WM_SETFOCUS, OnSetFocus)
    MESSAGE_HANDLER(WM_SETFONT, OnSetFont)
    MESSAGE_HANDLER(WM_KEYDOWN, OnKeyDown)
    DEFAULT_REFLECTION_HANDLER()
  END_MSG_MAP()

  // Members, as the lists and the main frame read them.
  std::wstring m_folder;
  int32_t m_rowHeight = 0;
  bool m_selectionChanged = false;
  bool m_refreshPending = false;
  // The pane caption is out of date (rows went without a refill, or the group shown was
  // renamed); the main window's idle pass renews it.
  bool m_captionPending = false;
  bool m_busy = false;
  bool m_namesOnly = false;
  COLORREF m_backgroundColor;
  UINT m_driveType = 0;
  COLORREF m_textColor;
  bool m_shellIconsForSubgroups = true;
  int32_t m_sortAscending = 1;
  bool m_dragAllowed = true;
  bool m_invertSelectedText = false;
  std::unique_ptr<FontDragSession> m_currentDrag;  // the running drag, null when none runs
  std::wstring m_rememberedRow;
  bool m_selectOnRestore = false;

protected:
  static constexpr UINT ID_LIST_SELECT_ALL_ = 196;
  static constexpr UINT ID_LIST_INVERT_SELECTION_ = 197;
  static constexpr UINT ID_COPY_TO_FOLDER_ = 147;
  static constexpr UINT ID_FONT_SHEET_ = 173;
  static constexpr UINT ID_CHARMAP_ = 156;
  static constexpr UINT ID_PROPERTIES_ = 157;
  static constexpr UINT ID_SHOW_INSTALLED_ = 172;
  static constexpr UINT ID_REFRESH_ = 143;
  static constexpr UINT ID_LIST_PRINT_ = 142;
  static constexpr UINT ID_LIST_END_DRAG_ = 296;

  // Stops the reader, deletes the items and frees every row.
  void FreeRows();
  FontListRow* InsertSorted(std::unique_ptr<FontListRow> row);
  FontListRow* Register(FontListRow* row);
  // Reads and resolves a row's record the way command 218 does (drawing, the idle loading and
  // Ctrl+Up/Down use it too).
  void CompleteRow(FontListRow& row);
  // Loads the fonts of the rows next to the visible ones until `deadline` (milliseconds of the
  // performance counter); true while rows are left.
  bool LoadFontsAhead(double deadline);
  // Whether drawing the record loads its file through the private font cache.
  static bool LoadsPrivately(const FontItem& record);
  // The font a record row's sample is drawn in (the caller owns it), or null; the look-up by the
  // record's names is done once per row and height. SampleHeight: the height the rows use now.
  HFONT CreateSampleFont(FontListRow& row, int height);
  int SampleHeight() const;
  void RegisterIdleHandler(bool add);
  int ControlId() const { return ::GetDlgCtrlID(m_hWnd); }
  int TopIndex() const;
  int ItemCount() const;
  void JumpToFlaggedRow(bool down);
  // The selection through FontInstaller: install (true) or uninstall with this copy option.
  void RunInstaller(bool install, bool copyFiles);
  bool RowIsCurrent(const FontItem* record) const;

  // Drawing (FontRowDrawing.cpp).
  void DrawItem(const DRAWITEMSTRUCT& dis);
  void DrawNamesOnlyRow(const DRAWITEMSTRUCT& dis, FontItem& record, COLORREF color);
  void DrawSubgroupRow(const DRAWITEMSTRUCT& dis, const SubgroupEntry& entry);
  void DrawRowSeparator(HDC dc, const RECT& row) const;
  static void DrawImageListIcon(HDC dc, int x, int y, int size, int image, int overlay, HIMAGELIST list);
  static void DrawResourceIcon(HDC dc, int x, int y, int size, int iconId);
  int TextHeightOfX(HDC dc) const;

  LRESULT OnEraseBackground(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnDrawItem(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnGetDispInfo(int, NMHDR*, BOOL&);
  LRESULT OnItemChangedNotify(int, NMHDR*, BOOL&);
  LRESULT OnDeleteItem(int, NMHDR*, BOOL&);
  LRESULT OnDeleteAllItems(int, NMHDR*, BOOL&);
  LRESULT OnRightClickNotify(int, NMHDR*, BOOL&);
  LRESULT OnDoubleClickNotify(int, NMHDR*, BOOL&);
  LRESULT OnBeginDrag(int, NMHDR*, BOOL&);
  LRESULT OnSetCursor(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnMouseMove(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnLeftButtonUp(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnDetailsReadCommand(WORD, WORD, HWND, BOOL&);
  LRESULT OnSelectAllCommand(WORD, WORD, HWND, BOOL&);
  LRESULT OnInvertCommand(WORD, WORD, HWND, BOOL&);
  LRESULT OnCopyToFolderCommand(WORD, WORD, HWND, BOOL&);
  LRESULT OnPassToMainWindow(WORD, WORD, HWND, BOOL&);
  LRESULT OnShowInstalledCommand(WORD, WORD, HWND, BOOL&);
  LRESULT OnRefreshCommand(WORD, WORD, HWND, BOOL&);
  LRESULT OnPrintCommand(WORD, WORD, HWND, BOOL&);
  LRESULT OnEndDragCommand(WORD, WORD, HWND, BOOL&);
  LRESULT OnDestroy(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnSize(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnSetFocus(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnSetFont(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnKeyDown(UINT, WPARAM, LPARAM, BOOL&);

  std::vector<std::unique_ptr<FontListRow>> rows_;
  // Rows by serial number: what the reader's copies and command 218 name a row by. Serial
  // numbers are never given twice, so a removed row's number finds nothing.
  std::unordered_map<uint32_t, FontListRow*> rowOfSerial_;
  uint32_t nextSerial_ = 1;
  orv::ScopedFont listFont_;
  // The font that carries the row height to the control: the control keeps using the font it
  // was given, so it lives until the next one is given or the list goes.
  orv::ScopedFont rowHeightFont_;
  std::unique_ptr<DetailReader> reader_;
  bool idleHandlerAdded_ = false;
  // Rows were removed and the list-view items not yet put back: some name freed rows.
  bool itemsStale_ = false;
  // Where the loading ahead stands: the top row and rows per screen it was planned for, the
  // direction of the last scroll and the rows still to do, nearest first.
  int aheadTop_ = -1;
  int aheadPage_ = 0;
  bool scrolledUp_ = false;
  std::vector<int> aheadRows_;
  size_t aheadNext_ = 0;

private:
  static int CALLBACK CompareItems(LPARAM a, LPARAM b, LPARAM list);
};

// Reads a record's details from its file unless it was read already: a collection face by its
// name, a variable-font instance by its name, any other font as a whole file. Bare file names
// resolve in `listFolder`. The record takes the read whole, the read flag with what it found; a
// file that another handle still holds once the byte reader has waited for it leaves the record
// unread (false), never unreadable for good. The detail reader reads its copies so too.
bool ReadFontDetails(const std::wstring& listFolder, FontItem& record);

// Ctrl held alone (Shift and Alt up), as the lists read it.
bool CtrlAlone();
// The list font: the system message font with two face substitutions.
HFONT CreateListFont();
