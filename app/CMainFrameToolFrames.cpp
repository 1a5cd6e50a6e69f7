// The main frame's tabbed tool frames: opening the character map for the selected fonts of a
// list, and the frame's slot among the tool windows.
#include "app/CMainFrame.h"

#include <commctrl.h>

#include <memory>
#include <vector>

#include "app/AppState.h"
#include "viewing/CCharMapFrame.h"

namespace {

// The system's message font, for the tabs of a tool frame; null when it cannot be had.
HFONT CreateMessageFont() {
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof(metrics);
  if (!::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0)) return nullptr;
  return ::CreateFontIndirectW(&metrics.lfMessageFont);
}

bool HasFocusState(const COrvelListView& list, int row) {
  return (::SendMessageW(list.m_hWnd, LVM_GETITEMSTATE, row, LVIS_FOCUSED) & LVIS_FOCUSED) != 0;
}

}  // namespace

// A list sends its own address with the command; from the menu, an accelerator or a toolbar the
// command carries 0 or the toolbar window. Only an address of one of the program's lists is taken
// as a list: anything else is never used as one.
COrvelListView* CMainFrame::FontListOfCommand(LPARAM lParam) const {
  for (COrvelListView* list : FontLists())
    if (lParam == reinterpret_cast<LPARAM>(list)) return list;
  return nullptr;
}

// The list whose selected row the sample pane shows; none while the pane shows no font.
COrvelListView* CMainFrame::SampleSourceList() const { return panes_.m_samplePane.Sample().SourceList(); }

CCharMapFrame* CMainFrame::OpenCharMapFrame() {
  // A frame whose window is gone but whose closing has not been handled yet goes first.
  if (CToolWindow* open = tools_.Get(ToolWindowId::CharMapFrame); open && !::IsWindow(open->GetToolWindow()))
    tools_.OnToolClosed(static_cast<WORD>(ToolWindowId::CharMapFrame));
  if (auto* open = static_cast<CCharMapFrame*>(tools_.Get(ToolWindowId::CharMapFrame))) return open;
  auto frame = std::make_unique<CCharMapFrame>(
      CreateMessageFont(), CTabbedToolFrame::ReadSavedRect(CCharMapFrame::kRectValue, CCharMapFrame::kDefaultRect));
  if (!frame->CreateFrame()) return nullptr;
  frame->ShowWindow(SW_SHOWNORMAL);
  CCharMapFrame* raw = frame.get();
  tools_.Set(ToolWindowId::CharMapFrame, std::move(frame));
  return raw;
}

void CMainFrame::OnFontsCharMap(UINT, int, HWND listParam) {
  COrvelListView* list = FontListOfCommand(reinterpret_cast<LPARAM>(listParam));
  const bool fromSample = list == nullptr;
  if (fromSample) list = SampleSourceList();
  if (!list || !list->m_hWnd) return;
  std::vector<int> rows = list->GetSelectedFileIndices();
  if (fromSample) std::erase_if(rows, [&](int row) { return !HasFocusState(*list, row); });
  if (rows.empty()) return;
  CCharMapFrame* frame = OpenCharMapFrame();
  if (!frame) return;
  for (int row : rows) {
    if (const FontItem* record = list->GetRecordAt(row)) frame->AddFontTab(*record, record->IsInstalledExactly());
  }
}
