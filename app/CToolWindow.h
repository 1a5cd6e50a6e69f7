// What the main frame needs of each of its modeless tool windows (search, census, registered
// fonts, folders with fonts, group checks, the character map and font sheet frames).
//
// A tool window is a top-level window without owner, made by the main frame on the heap and
// held in one of its slots (ToolWindows). When its window has gone it posts the main window
// WM_COMMAND ID_TOOL_WINDOW_CLOSED with its closing identifier (ToolWindowId) in lParam, and the
// main frame then deletes the object; the frame never destroys the window on that command.
// Main thread only.
#pragma once

#include <windows.h>

class CToolWindow {
public:
  CToolWindow() = default;
  CToolWindow(const CToolWindow&) = delete;
  CToolWindow& operator=(const CToolWindow&) = delete;
  virtual ~CToolWindow() = default;

  // The tool's top-level window, or null when it has none (any more).
  virtual HWND GetToolWindow() const = 0;
  // Forgets the window handle of a window that is gone, before the object is deleted.
  virtual void ClearToolWindow() = 0;
  // Command 228 (a window back on the screen): the window clamped to the screen, shown and
  // brought to the top; a tool may place itself otherwise.
  virtual void BringOntoScreen();
  // The page setup changed: a tool that shows printed pages lays them out again.
  virtual void OnPageSetupChanged() {}

protected:
  // Keyboard navigation (Tab, arrows, Esc, Enter) of a modeless dialog, for messages to the
  // dialog or one of its controls only.
  static bool TranslateDialogKeys(HWND dialog, MSG* msg);
  // Tells the main window that the tool's window has gone (WM_COMMAND ID_TOOL_WINDOW_CLOSED
  // with the closing identifier `id`).
  static void ReportClosed(UINT id);
};
