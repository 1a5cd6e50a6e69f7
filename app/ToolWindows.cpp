#include "app/ToolWindows.h"

#include <utility>

#include "app/AppState.h"
#include "common/ClampRectToVirtualScreen.h"
#include "common/ResourceIds.h"
#include "framework/Invariant.h"

namespace {

bool HasLiveWindow(const CToolWindow& tool) {
  HWND wnd = tool.GetToolWindow();
  return wnd && ::IsWindow(wnd);
}

// A tool whose window is gone is deleted; one whose window is still on screen is let go, since
// deleting it would leave that window bound to freed memory: it lives until the process ends.
void Dispose(std::unique_ptr<CToolWindow>& tool) {
  if (tool && HasLiveWindow(*tool)) (void)tool.release();
  tool.reset();
}

}  // namespace

ToolWindows::~ToolWindows() {
  for (auto* slot : {&searchDlg_, &censusDlg_, &dirWithFontsDlg_, &groupChecksDlg_, &listRegistryFontsDlg_,
                     &fontSheetFrame_, &charMapFrame_})
    Dispose(*slot);
}

std::unique_ptr<CToolWindow>* ToolWindows::Slot(ToolWindowId id) {
  return const_cast<std::unique_ptr<CToolWindow>*>(std::as_const(*this).Slot(id));
}

const std::unique_ptr<CToolWindow>* ToolWindows::Slot(ToolWindowId id) const {
  switch (id) {
    case ToolWindowId::CharMapFrame: return &charMapFrame_;
    case ToolWindowId::FontSheetFrame: return &fontSheetFrame_;
    case ToolWindowId::ListRegistryFontsDlg: return &listRegistryFontsDlg_;
    case ToolWindowId::SearchDlg: return &searchDlg_;
    case ToolWindowId::CensusDlg: return &censusDlg_;
    case ToolWindowId::DirWithFontsDlg: return &dirWithFontsDlg_;
    case ToolWindowId::GroupChecksDlg: return &groupChecksDlg_;
  }
  return nullptr;
}

CToolWindow* ToolWindows::Get(ToolWindowId id) const {
  const auto* slot = Slot(id);
  return slot ? slot->get() : nullptr;
}

void ToolWindows::Set(ToolWindowId id, std::unique_ptr<CToolWindow> tool) {
  auto* slot = Slot(id);
  if (!ORV_CHECK(slot != nullptr)) {
    Dispose(tool);
    return;
  }
  if (!ORV_CHECK(*slot == nullptr)) Dispose(*slot);
  *slot = std::move(tool);
}

bool ToolWindows::OnToolClosed(WORD closingId) {
  const auto id = static_cast<ToolWindowId>(closingId);
  auto* slot = Slot(id);
  if (!slot || !*slot || HasLiveWindow(**slot)) return false;
  // The dialogs forget their window first; the frames' deletion saves their rectangle.
  if (id != ToolWindowId::CharMapFrame && id != ToolWindowId::FontSheetFrame) (*slot)->ClearToolWindow();
  slot->reset();
  return true;
}

void ToolWindows::DestroyOnMainClose() {
  for (auto* slot : {&searchDlg_, &censusDlg_, &listRegistryFontsDlg_, &dirWithFontsDlg_}) {
    if (*slot && HasLiveWindow(**slot)) ::DestroyWindow((*slot)->GetToolWindow());
  }
}

void CToolWindow::BringOntoScreen() {
  HWND wnd = GetToolWindow();
  RECT rc{};
  ::GetWindowRect(wnd, &rc);
  ClampRectToVirtualScreen(rc);
  ::SetWindowPos(wnd, HWND_TOP, rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top, SWP_SHOWWINDOW);
}

bool CToolWindow::TranslateDialogKeys(HWND dialog, MSG* msg) {
  if (!dialog || !msg->hwnd || (msg->hwnd != dialog && !::IsChild(dialog, msg->hwnd))) return false;
  return ::IsDialogMessageW(dialog, msg) != FALSE;
}

void CToolWindow::ReportClosed(UINT id) {
  if (HWND main = g_AppState.MainWindow) ::PostMessageW(main, WM_COMMAND, ID_TOOL_WINDOW_CLOSED, static_cast<LPARAM>(id));
}

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
