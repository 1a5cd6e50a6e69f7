// The main frame's side of the sample pane: the pane shows the selected row of the font lists,
// the font commands of the menu and the main toolbar follow the pane's own, and command 290 runs
// the sample editor.
#include "app/CMainFrame.h"

#include "app/AppState.h"
#include "fonts/EnsureFontItemLoaded.h"

// The first of the installed, the folder and the group list that has a selected record decides;
// the pane changes only when that list's own selection changed. With no selected record anywhere
// the pane is emptied.
void CMainFrame::ShowSelectionInSample() {
  for (COrvelListView* list : {static_cast<COrvelListView*>(&g_AppState.InstalledFonts),
                               static_cast<COrvelListView*>(&g_AppState.FolderFonts),
                               static_cast<COrvelListView*>(&g_AppState.GroupFonts)}) {
    if (!list->m_hWnd) continue;
    const FontItem* record = list->GetRecordAt(list->GetFirstSelected());
    if (!record) continue;
    if (list->m_selectionChanged) {
      // A row selected before it was ever drawn has not been read yet: complete the copy.
      FontItem shown = *record;
      ReadFontDetails(list->m_folder, shown);
      EnsureFontItemLoaded(list->m_folder, shown);
      panes_.m_samplePane.ShowFont(&shown, list);
    }
    return;
  }
  panes_.m_samplePane.ShowFont(nullptr, nullptr);
}

// The font sheet, the character map and the properties of the menu, the accelerator and the main
// toolbar act on the font the sample pane shows (the selected row of a list): they are offered
// when the pane offers its own buttons for that font.
void CMainFrame::UpdateFontCommandStates() {
  for (int command : {ID_FONTS_SHEET, ID_FONTS_CHARMAP, ID_FONTS_PROPERTIES})
    UIEnable(command, panes_.m_samplePane.IsButtonEnabled(command));
}

LRESULT CMainFrame::OnEditSampleTexts(WORD, WORD, HWND, BOOL&) {
  panes_.m_samplePane.Sample().EditSamples();
  return 0;
}
