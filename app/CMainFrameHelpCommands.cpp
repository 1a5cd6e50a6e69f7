// The main frame's Help menu: help on the main window (160, also F1), the help file's contents
// (0xE146) and index (0xE142), and the About box (999).
#include "app/CMainFrame.h"

#include "app/CAboutDlg.h"
#include "common/HelpRequest.h"

namespace {
// The help topic of the main window is the number of its resources.
constexpr UINT kMainWindowHelpTopic = IDR_MAINFRAME;
}  // namespace

void CMainFrame::OnHelpMainWindow(UINT, int, HWND) { ShowHelpTopic(kMainWindowHelpTopic); }

void CMainFrame::OnHelpContents(UINT, int, HWND) { ShowHelpContents(); }

void CMainFrame::OnHelpIndex(UINT, int, HWND) { ShowHelpIndex(); }

void CMainFrame::OnAppAbout(UINT, int, HWND) {
  CAboutDlg about;
  about.DoModal(m_hWnd);
}
