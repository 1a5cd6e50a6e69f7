// The client area of the main window: four splitters holding the five panes, with the saved
// window layout that places them.
//
//   main splitter (vertical, 209)
//   ├─ trees splitter (horizontal, 210): folder tree pane over groups tree pane
//   └─ sample splitter (horizontal): lists splitter over the sample pane
//      └─ lists splitter (vertical): font-lists pane | installed fonts pane
#pragma once

#include <windows.h>

#include "app/CFolderTVContainer.h"
#include "app/CFontListsPaneContainer.h"
#include "app/CGroupsTVContainer.h"
#include "app/CInstalledFontsContainer.h"
#include "app/CSamplePaneContainer.h"
#include "app/WindowLayout.h"
#include "framework/SplitterWindow.h"

class MainPanes {
public:
  MainPanes();
  MainPanes(const MainPanes&) = delete;
  MainPanes& operator=(const MainPanes&) = delete;

  // Builds the splitters and panes in `frame`, places the frame and applies the layout; the main
  // splitter is handed back as the frame's client window.
  HWND CreateClientArea(HWND frame, HWND rebar, HWND statusBar);
  void CreatePanes();
  // The frame has been maximised and has laid out its client area: a layout saved maximised
  // gets its splitter positions now, once.
  void OnMaximized();

  // The splitters' positions and modes and the bars' state copied into the layout.
  void ReadBackLayout(HWND frame);

  HWND m_hWndReBar = nullptr;
  HWND m_hWndStatusBar = nullptr;
  HWND m_hWndToolBar = nullptr;

  // The bars' cursors from the resource library, one of each kind for all four splitters.
  orv::ScopedCursor m_verticalBarCursor;
  orv::ScopedCursor m_horizontalBarCursor;
  orv::CSplitterWindow m_mainSplitter;
  orv::CHorSplitterWindow m_treesSplitter;
  orv::CHorSplitterWindow m_sampleSplitter;
  orv::CSplitterWindow m_listsSplitter;

  CFolderTVContainer m_folderPane;
  CGroupsTVContainer m_groupsPane;
  CFontListsPaneContainer m_fontListsPane;
  CInstalledFontsContainer m_installedPane;
  CSamplePaneContainer m_samplePane;

  // The views inside the panes.
  HWND m_folderTree = nullptr;
  HWND m_groupsTree = nullptr;
  HWND m_folderList = nullptr;
  HWND m_groupList = nullptr;
  HWND m_installedList = nullptr;
  HWND m_sampleWindow = nullptr;
  HWND m_sampleUpDown = nullptr;

  // While the user moves or sizes the window or drags a bar; the sample shows its area's size.
  void SetResizing(bool resizing);
  bool m_resizing = false;
  WindowLayout m_layout{};
  bool m_positionsPending = false;  // the layout's positions wait for the maximised window

private:
  void ApplySplitterPositions();
};
