// The main frame's modeless tool windows: one slot per kind, null while that tool is closed.
//
// The frame fills a slot when it opens the tool and empties it when the tool reports its
// closing (command 339, OnToolClosed). When the main window closes, the search, census,
// registered-fonts and folders-with-fonts windows are destroyed with it (DestroyOnMainClose);
// the group checks dialog and the two tool frames stay until the process ends. Main thread only.
#pragma once

#include <windows.h>

#include <memory>

#include "common/Seams.h"

#include "app/CToolWindow.h"

// The closing identifier each tool posts with command 339: its dialog template, the registered
// fonts list's opening command, or the command that opens a tool frame.
enum class ToolWindowId : WORD {
  CharMapFrame = 156,
  FontSheetFrame = 173,
  ListRegistryFontsDlg = 714,
  SearchDlg = 1052,
  CensusDlg = 1054,
  DirWithFontsDlg = 1055,
  GroupChecksDlg = 1065,
};

class ToolWindows {
public:
  ToolWindows() = default;
  ToolWindows(const ToolWindows&) = delete;
  ToolWindows& operator=(const ToolWindows&) = delete;
  ~ToolWindows();

  CToolWindow* Get(ToolWindowId id) const;
  // Puts an opened tool into its slot, which is empty: a tool is opened only while its slot is
  // null.
  void Set(ToolWindowId id, std::unique_ptr<CToolWindow> tool);

  // Command 339: deletes the tool named by `closingId` and empties its slot. A tool whose window
  // still exists is kept (its window would be left bound to a deleted object); so is everything
  // for an identifier that names no tool. True when a tool was deleted.
  bool OnToolClosed(WORD closingId);

  // WM_CLOSE of the main window: destroys the windows of the search, census, registered-fonts
  // and folders-with-fonts tools. Their objects go with their 339 or with this object.
  void DestroyOnMainClose();

private:
  std::unique_ptr<CToolWindow>* Slot(ToolWindowId id);
  const std::unique_ptr<CToolWindow>* Slot(ToolWindowId id) const;

  std::unique_ptr<CToolWindow> searchDlg_;
  std::unique_ptr<CToolWindow> censusDlg_;
  std::unique_ptr<CToolWindow> dirWithFontsDlg_;
  std::unique_ptr<CToolWindow> groupChecksDlg_;
  std::unique_ptr<CToolWindow> listRegistryFontsDlg_;
  std::unique_ptr<CToolWindow> fontSheetFrame_;
  std::unique_ptr<CToolWindow> charMapFrame_;
};

// The open tool of a slot brought to the top; false when the slot is empty or its window gone
// (the object of a gone window is deleted then).
bool BringOpenToolToTop(ToolWindows& tools, ToolWindowId id);

// Command of a modeless tool: an open one comes to the top, otherwise a new one is made and put
// into its slot (a beep when its window cannot be made).
template <class Tool>
void OpenToolWindow(ToolWindows& tools, ToolWindowId id) {
  if (BringOpenToolToTop(tools, id)) return;
  auto tool = std::make_unique<Tool>();
  if (!tool->CreateModeless()) {
    seams::Beep(MB_ICONEXCLAMATION);
    return;
  }
  tools.Set(id, std::move(tool));
}
