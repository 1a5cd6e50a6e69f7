// The main frame's commands that open the folder census (145) and the finder of folders with
// fonts (168): an open tool comes to the top, otherwise a new one is made.
#include "app/CMainFrame.h"

#include "lists/CCensusDlg.h"
#include "lists/CDirWithFontsDlg.h"

namespace {

// The open tool of a slot brought to the top; false when the slot is empty or its window gone.
bool BringOpenToolToTop(ToolWindows& tools, ToolWindowId id) {
  CToolWindow* open = tools.Get(id);
  if (!open) return false;
  HWND wnd = open->GetToolWindow();
  if (wnd && ::IsWindow(wnd)) {
    if (::IsIconic(wnd)) ::ShowWindow(wnd, SW_RESTORE);
    ::BringWindowToTop(wnd);
    ::SetForegroundWindow(wnd);
    return true;
  }
  // Its closing report is still on its way: the object goes now.
  tools.OnToolClosed(static_cast<WORD>(id));
  return tools.Get(id) != nullptr;
}

template <class Tool>
void OpenTool(ToolWindows& tools, ToolWindowId id) {
  if (BringOpenToolToTop(tools, id)) return;
  auto tool = std::make_unique<Tool>();
  if (!tool->CreateModeless()) {
    seams::Beep(MB_ICONEXCLAMATION);
    return;
  }
  tools.Set(id, std::move(tool));
}

}  // namespace

void CMainFrame::OnFontsCensus(UINT, int, HWND) { OpenTool<CCensusDlg>(tools_, ToolWindowId::CensusDlg); }

void CMainFrame::OnFontsDirsWithFonts(UINT, int, HWND) {
  OpenTool<CDirWithFontsDlg>(tools_, ToolWindowId::DirWithFontsDlg);
}
