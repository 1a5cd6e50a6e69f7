// CLVSearchFonts: the search dialog's result list (control 338), a font list like every other
// (COrvelListView), inside the dialog's result pane. What it does differently: a double click,
// or command 332, opens the result's folder in the main window with the font's row selected;
// Insert adds the selected results to the group selected in the groups tree; a right click
// asks the pane for its context menu; selection changes and resizes are told to the dialog's
// status bar (command 345), except while a search runs (the busy mark).
//
// Results come in batches from the dialog (MergeResults): each goes to its sorted place among
// the rows, items are inserted where they belong rather than the list built again, and the
// first visible row stays where it was, so merging stays cheap however long the list grows.
// Main thread only; lives as long as the dialog.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <vector>

#include "common/ResourceIds.h"
#include "framework/MessageCrackers.h"
#include "lists/COrvelListView.h"

class CLVSearchFonts : public COrvelListView {
public:
  // The window that hears of selection changes (the dialog's status bar).
  void SetNoticeWindow(HWND window) { noticeWindow_ = window; }
  // Set while a search runs: the app-starting cursor, no selection notices.
  void SetBusy(bool busy) { m_busy = busy; }

  // Adds copies of the records, each at its place in the list's order (equal names after those
  // there), keeping the first visible row in view.
  void MergeResults(std::vector<FontItem> records);

  // The folder of the focused result in the main window's folder list, the result's row
  // selected there.
  void ShowInFolder();
  // Insert: the selected results into the group selected in the groups tree; a beep when none is.
  void AddSelectionToGroup();

  bool OnKey(UINT key, bool ctrl) override;
  void OnItemActivate(NMITEMACTIVATE*) override { ShowInFolder(); }
  void OnRightClick(NMITEMACTIVATE*) override;
  void OnItemChanged(NMLISTVIEW*) override;
  void OnResized() override;

  BEGIN_MSG_MAP(CLVSearchFonts)
    COMMAND_ID_HANDLER_EX(ID_SEARCH_OPEN_FOLDER, OnOpenFolder)
    CHAIN_MSG_MAP(COrvelListView)
  END_MSG_MAP()

private:
  void OnOpenFolder(UINT, int, HWND) { ShowInFolder(); }
  void TellNoticeWindow() const;
  // Where a record goes among the items in the list's order: after every item that does not
  // sort behind it.
  int InsertionIndex(const FontItem& record) const;

  HWND noticeWindow_ = nullptr;
  size_t nextOrder_ = 0;  // the order the next merged row gets
};
