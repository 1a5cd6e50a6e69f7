// FontDragSession: one drag of fonts out of a font list (folder list, installed list, group list
// or search result list) onto a target in the main window: the folder tree (copy or move the
// font files into a folder), the groups tree (add the fonts to a group, or copy or move group
// rows) or the installed list (install them).
//
// The source list owns the session: it starts one on LVN_BEGINDRAG with the mouse captured,
// passes its mouse moves (Move), drops on the left button's release (Drop) and deletes the
// session on the release, on Esc and on command 296. While it runs, an image-list drag image
// follows the cursor, a CDragActionWnd beside it names the action, and timer 1 of the source
// list (every 100 ms) scrolls the target tree near its edges, expands an item whose expand
// button the cursor rests on, and cancels the drag once the focus has left the program's
// windows. One drag at a time; main thread only.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <memory>
#include <string>

#include "framework/Handles.h"
#include "lists/CDragActionWnd.h"

class COrvelListView;

class FontDragSession {
public:
  // Action codes: the image with that number in IDB_DRAG_ACTIONS and the caption field with that
  // number (counting from 1) in IDS_DRAG_ACTIONS.
  enum Action : int {
    kNone = 0,
    kCopyFiles = 1,
    kMoveFiles = 2,
    kAddToGroup = 3,
    kInstall = 4,
    kInstallOther = 6,
    kCopyRows = 8,
    kMoveRows = 9,
    kCopyFromZip = 10,
  };
  // The hover counter's scroll requests; 0 and up count the ticks at rest.
  static constexpr int kScrollUp = -1;
  static constexpr int kScrollDown = -2;
  // Ticks at rest on an expand button before the item opens.
  static constexpr int kExpandTicks = 5;
  static constexpr UINT kTimerMs = 100;

  // Starts a drag of the selected rows of `source` (control `sourceId`: 204, 206, 208 or 338);
  // Started() tells whether it could begin.
  FontDragSession(COrvelListView& source, int sourceId);
  // Ends the drag and gives the focus back to the source list.
  ~FontDragSession();
  FontDragSession(const FontDragSession&) = delete;
  FontDragSession& operator=(const FontDragSession&) = delete;

  bool Started() const { return started_; }
  // A mouse move: key flags (MK_*) and the point in the source list's client coordinates.
  void Move(WPARAM keys, POINT clientPoint);
  // The left button's release: ends the drag and does what the target offers.
  void Drop();
  // Stops the timer, removes the highlight, the drag image and the action window. Safe to repeat.
  void End();

  // The action for the current target, cursor and keys; shows it beside the cursor (or the
  // not-allowed cursor for none).
  int UpdateFeedback();
  // The action over the folder tree or the groups tree at the cursor; highlights the item under it.
  int TreeAction(int target);

  // One timer tick, as timer 1 runs it; the timer procedure calls it for the running drag.
  void Tick();
  static void CALLBACK TimerProc(HWND, UINT, UINT_PTR, DWORD);
  // The running drag, or null.
  static FontDragSession* Running() { return running_; }

  // State, for the source list and the tests.
  int Target() const { return target_; }
  int ActionShown() const { return action_.m_hWnd && ::IsWindowVisible(action_.m_hWnd) ? action_.Action() : 0; }
  int HoverCounter() const { return hoverCounter_; }
  HTREEITEM Highlighted() const { return highlighted_; }
  POINT Cursor() const { return cursor_; }
  const std::wstring& SourceFolder() const { return sourceFolder_; }
  const CDragActionWnd& ActionWindow() const { return action_; }
  HIMAGELIST DragImage() const { return dragImage_.Get(); }

private:
  bool Start();
  bool BuildDragImage();
  // The target under a screen point: 206, 350, 355 or 0.
  int TargetAt(POINT screen) const;
  HWND TargetWindow(int target) const;
  void ClearHighlight();
  // Runs `step` with the drag image hidden, then updates `window`.
  template <typename Step>
  void WithDragImageHidden(HWND window, Step step) {
    if (imageDragging_) ImageList_DragShowNolock(FALSE);
    step();
    ::UpdateWindow(window);
    if (imageDragging_) ImageList_DragShowNolock(TRUE);
  }
  void DropOnFolderTree(HTREEITEM highlighted);
  void DropOnGroupsTree(HTREEITEM highlighted);

  static FontDragSession* running_;

  orv::ScopedImageList dragImage_;
  CDragActionWnd action_;
  bool started_ = false;
  bool imageDragging_ = false;
  std::wstring sourceFolder_;
  POINT cursor_{};
  bool ctrl_ = false;
  bool shift_ = false;
  int sourceId_ = 0;
  int target_ = 0;
  HTREEITEM highlighted_ = nullptr;
  HWND highlightedTree_ = nullptr;
  int hoverCounter_ = 0;
  UINT_PTR timer_ = 0;
  COrvelListView* source_;
};
