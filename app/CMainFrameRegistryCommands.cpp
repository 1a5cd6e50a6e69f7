// The main frame's commands over the system's font registration: the registered fonts list
// (714, modeless), the font substitutes (171) and the family defaults (175), both modal.
#include "app/CMainFrame.h"

#include <memory>

#include "app/AppState.h"
#include "fonts/CDefaultFamiliesDlg.h"
#include "fonts/CListRegistryFontsDlg.h"
#include "fonts/CSubstituteDlg.h"

namespace {

// The window modal dialogs of the Tools menu belong to: the active one, else the main window.
HWND ActiveOwner(HWND mainWindow) {
  HWND active = ::GetActiveWindow();
  return active ? active : mainWindow;
}

}  // namespace

void CMainFrame::OnToolsRegistryFonts(UINT, int, HWND) {
  // A list whose window is gone but whose closing has not been handled yet goes first.
  if (CToolWindow* open = tools_.Get(ToolWindowId::ListRegistryFontsDlg); open && !::IsWindow(open->GetToolWindow()))
    tools_.OnToolClosed(static_cast<WORD>(ToolWindowId::ListRegistryFontsDlg));
  if (CToolWindow* open = tools_.Get(ToolWindowId::ListRegistryFontsDlg)) {
    HWND wnd = open->GetToolWindow();
    if (::IsIconic(wnd)) ::ShowWindow(wnd, SW_RESTORE);
    ::SetWindowPos(wnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
    ::SetForegroundWindow(wnd);
    return;
  }
  auto dialog = std::make_unique<CListRegistryFontsDlg>();
  if (!dialog->CreateModeless()) return;
  tools_.Set(ToolWindowId::ListRegistryFontsDlg, std::move(dialog));
}

void CMainFrame::OnToolsSubstitutes(UINT, int, HWND) {
  CSubstituteDlg dialog;
  dialog.DoModal(ActiveOwner(m_hWnd));
}

void CMainFrame::OnToolsFamilyDefaults(UINT, int, HWND) {
  // A face must be the display name of a row of the installed fonts list, case included.
  CDefaultFamiliesDlg dialog([](const std::wstring& face) {
    return g_AppState.InstalledFonts.FindNextByName(face, -1, true) >= 0;
  });
  dialog.DoModal(ActiveOwner(m_hWnd));
}
