// The main window's search commands: the search dialog (144), the search for fonts similar to
// the sample pane's font (340, or 144 with Shift), and the states of the result pane's buttons.
#include "app/CMainFrame.h"

#include <memory>

#include "search/CSearchDlg.h"

namespace {

void EnableToolbarButton(HWND toolbar, int command, bool enable) {
  if (toolbar) ::SendMessageW(toolbar, TB_ENABLEBUTTON, command, MAKELPARAM(enable ? TRUE : FALSE, 0));
}

}  // namespace

CSearchDlg* CMainFrame::SearchDialog() const {
  auto* dialog = static_cast<CSearchDlg*>(tools_.Get(ToolWindowId::SearchDlg));
  return dialog && dialog->m_hWnd ? dialog : nullptr;
}

COrvelListView* CMainFrame::SearchResultList() const {
  CSearchDlg* dialog = SearchDialog();
  return dialog && dialog->ResultList().m_hWnd ? &dialog->ResultList() : nullptr;
}

CSearchDlg* CMainFrame::OpenSearchDialog() {
  // A dialog whose window is gone but whose closing has not been handled yet goes first.
  if (CToolWindow* open = tools_.Get(ToolWindowId::SearchDlg); open && !::IsWindow(open->GetToolWindow()))
    tools_.OnToolClosed(static_cast<WORD>(ToolWindowId::SearchDlg));
  if (CSearchDlg* open = SearchDialog()) {
    if (open->IsIconic()) open->ShowWindow(SW_RESTORE);
    ::SetForegroundWindow(open->m_hWnd);
    return open;
  }
  auto dialog = std::make_unique<CSearchDlg>();
  if (!dialog->CreateDialogWindow()) return nullptr;
  dialog->ShowWindow(SW_SHOWNORMAL);
  CSearchDlg* raw = dialog.get();
  tools_.Set(ToolWindowId::SearchDlg, std::move(dialog));
  return raw;
}

void CMainFrame::OnFontsSearch(UINT code, int id, HWND control) {
  if (::GetKeyState(VK_SHIFT) < 0) {
    OnFontsSimilar(code, id, control);
    return;
  }
  OpenSearchDialog();
}

// Similar fonts are found by the classification of the sample's font, which only a font that
// has properties (the sample pane's button 157) carries.
bool CMainFrame::CanSearchSimilarFonts() const {
  return panes_.m_samplePane.Sample().HasFont() && panes_.m_samplePane.IsButtonEnabled(ID_FONTS_PROPERTIES);
}

void CMainFrame::OnFontsSimilar(UINT, int, HWND) {
  const CSampleWindow& sample = panes_.m_samplePane.Sample();
  if (!CanSearchSimilarFonts()) return;
  // The sample may change while the dialog opens: the reference is taken first.
  const FontItem reference = sample.Item();
  CSearchDlg* dialog = OpenSearchDialog();
  if (!dialog) return;
  dialog->SetReferenceFont(reference.panose, static_cast<uint16_t>(reference.familyClass), reference.FullName());
}

void CMainFrame::UpdateSearchStates() {
  UIEnable(ID_FONTS_SIMILAR, CanSearchSimilarFonts());
  CSearchDlg* dialog = SearchDialog();
  if (!dialog) return;
  const bool selection = dialog->ResultList().GetFirstSelected() >= 0;
  HWND toolbar = dialog->ResultPane().m_hWndToolBar;
  for (int command : {ID_FONTS_INSTALL, ID_FONTS_UNINSTALL, ID_FONTS_PROPERTIES})
    EnableToolbarButton(toolbar, command, selection);
}
