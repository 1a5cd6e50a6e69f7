// The main frame's tabbed tool frames: opening the character map or the font sheets for the
// selected fonts of a list, and the frames' slots among the tool windows.
#include "app/CMainFrame.h"

#include <commctrl.h>

#include <memory>
#include <vector>

#include "app/AppState.h"
#include "printing/CPrintFontSet.h"
#include "viewing/CCharMapFrame.h"
#include "viewing/CFontSheetFrame.h"

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

// The open frame of a slot, or a new one made and shown at its saved rectangle; null when its
// window cannot be made.
template <typename Frame>
Frame* OpenToolFrame(ToolWindows& tools, ToolWindowId id, const RECT& whenEmpty) {
  // A frame whose window is gone but whose closing has not been handled yet goes first.
  if (CToolWindow* open = tools.Get(id); open && !::IsWindow(open->GetToolWindow()))
    tools.OnToolClosed(static_cast<WORD>(id));
  if (auto* open = static_cast<Frame*>(tools.Get(id))) return open;
  auto frame = std::make_unique<Frame>(CreateMessageFont(), CTabbedToolFrame::ReadSavedRect(Frame::kRectValue, whenEmpty));
  if (!frame->CreateFrame()) return nullptr;
  frame->ShowWindow(SW_SHOWNORMAL);
  Frame* raw = frame.get();
  tools.Set(id, std::move(frame));
  return raw;
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

// The rows a tool frame command takes: the selected readable fonts of the list it names, or
// with none named the row the sample pane shows. Null when there is no such list.
COrvelListView* CMainFrame::ToolFrameRows(HWND listParam, std::vector<int>& rows) const {
  rows.clear();
  COrvelListView* list = FontListOfCommand(reinterpret_cast<LPARAM>(listParam));
  const bool fromSample = list == nullptr;
  if (fromSample) list = SampleSourceList();
  if (!list || !list->m_hWnd) return nullptr;
  rows = list->GetSelectedFileIndices();
  if (fromSample) std::erase_if(rows, [&](int row) { return !HasFocusState(*list, row); });
  return list;
}

void CMainFrame::OnFontsCharMap(UINT, int, HWND listParam) {
  std::vector<int> rows;
  COrvelListView* list = ToolFrameRows(listParam, rows);
  if (!list || rows.empty()) return;
  auto* frame = OpenToolFrame<CCharMapFrame>(tools_, ToolWindowId::CharMapFrame, CCharMapFrame::kDefaultRect);
  if (!frame) return;
  for (int row : rows) {
    if (const FontItem* record = list->GetRecordAt(row)) frame->AddFontTab(*record, record->IsInstalledExactly());
  }
}

void CMainFrame::OnFontsSheet(UINT, int, HWND listParam) {
  std::vector<int> rows;
  COrvelListView* list = ToolFrameRows(listParam, rows);
  if (!list || rows.empty()) return;
  // The sheets' pages need the page setup; the first job object reads it from the printer.
  if (g_AppState.PageSetup.units == 0) CPrintFontSet pageSetupDefaults;
  auto* frame = OpenToolFrame<CFontSheetFrame>(tools_, ToolWindowId::FontSheetFrame, CFontSheetFrame::kDefaultRect);
  if (!frame) return;
  for (int row : rows) {
    if (const FontItem* record = list->GetRecordAt(row)) frame->AddFontTab(*record);
  }
}
