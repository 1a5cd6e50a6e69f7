#include "framework/PropertySheetImpl.h"

namespace orv {

namespace {
// The sheet being started on this thread: its callback carries no context of its own.
thread_local CPropertySheetImplRoot* t_startingSheet = nullptr;
}  // namespace

CPropertyPageImplRoot::CPropertyPageImplRoot() {
  m_psp.dwSize = sizeof(m_psp);
  m_psp.hInstance = g_Module.GetResourceInstance();
  m_psp.pfnDlgProc = &CDialogImplRoot::PageDialogProc;
  m_psp.lParam = reinterpret_cast<LPARAM>(this);
}

void CPropertyPageImplRoot::InitPage(int templateId) {
  if (templateId) m_psp.pszTemplate = MAKEINTRESOURCEW(templateId);
}

void CPropertyPageImplRoot::SetTemplate(const DLGTEMPLATE* dlgTemplate) {
  m_psp.dwFlags |= PSP_DLGINDIRECT;
  m_psp.pResource = dlgTemplate;
}

void CPropertyPageImplRoot::SetTitle(const wchar_t* title) {
  title_ = title ? title : L"";
  m_psp.dwFlags |= PSP_USETITLE;
  m_psp.pszTitle = title_.c_str();
}

HPROPSHEETPAGE CPropertyPageImplRoot::CreatePage() {
  m_psp.hInstance = g_Module.GetResourceInstance();
  m_psp.lParam = reinterpret_cast<LPARAM>(this);
  return ::CreatePropertySheetPageW(&m_psp);
}

void CPropertyPageImplRoot::SetModified(bool changed) const {
  ::SendMessageW(GetPropertySheet(), changed ? PSM_CHANGED : PSM_UNCHANGED, reinterpret_cast<WPARAM>(m_hWnd), 0);
}

CPropertySheetImplRoot::CPropertySheetImplRoot() {
  m_psh.dwSize = sizeof(m_psh);
  m_psh.dwFlags = PSH_USECALLBACK;
  m_psh.pfnCallback = &CPropertySheetImplRoot::SheetCallback;
}

bool CPropertySheetImplRoot::AddPage(CPropertyPageImplRoot& page) {
  if (m_hWnd) {
    HPROPSHEETPAGE handle = page.CreatePage();
    if (!handle) return false;
    if (!SendMessage(PSM_ADDPAGE, 0, reinterpret_cast<LPARAM>(handle))) {
      ::DestroyPropertySheetPage(handle);
      return false;
    }
  }
  pages_.push_back(&page);
  return true;
}

void CPropertySheetImplRoot::SetTitle(const wchar_t* title) {
  title_ = title ? title : L"";
  m_psh.dwFlags &= ~PSH_PROPTITLE;
  m_psh.pszCaption = title_.c_str();
  if (m_hWnd) SendMessage(PSM_SETTITLEW, 0, reinterpret_cast<LPARAM>(title_.c_str()));
}

void CPropertySheetImplRoot::SetActivePage(UINT index) {
  if (m_hWnd)
    SendMessage(PSM_SETCURSEL, index, 0);
  else
    m_psh.nStartPage = index;
}

HWND CPropertySheetImplRoot::GetTabControl() const {
  return m_hWnd ? reinterpret_cast<HWND>(SendMessage(PSM_GETTABCONTROL)) : nullptr;
}

HWND CPropertySheetImplRoot::GetActivePage() const {
  return m_hWnd ? reinterpret_cast<HWND>(SendMessage(PSM_GETCURRENTPAGEHWND)) : nullptr;
}

int CPropertySheetImplRoot::GetActiveIndex() const {
  HWND tab = GetTabControl();
  return tab ? static_cast<int>(::SendMessageW(tab, TCM_GETCURSEL, 0, 0)) : -1;
}

INT_PTR CPropertySheetImplRoot::DoModal(HWND parent) {
  if (m_hWnd || pages_.empty()) return -1;
  std::vector<HPROPSHEETPAGE> handles;
  for (CPropertyPageImplRoot* page : pages_) {
    HPROPSHEETPAGE h = page->CreatePage();
    if (!h) {
      for (HPROPSHEETPAGE made : handles) ::DestroyPropertySheetPage(made);
      return -1;
    }
    handles.push_back(h);
  }
  m_psh.dwFlags &= ~(PSH_PROPSHEETPAGE | PSH_MODELESS);
  m_psh.dwFlags |= PSH_USECALLBACK;
  m_psh.pfnCallback = &CPropertySheetImplRoot::SheetCallback;
  m_psh.hwndParent = parent;
  m_psh.hInstance = g_Module.GetResourceInstance();
  m_psh.nPages = static_cast<UINT>(handles.size());
  m_psh.phpage = handles.data();
  if (m_psh.nStartPage >= m_psh.nPages) m_psh.nStartPage = 0;
  CPropertySheetImplRoot* const previous = t_startingSheet;
  t_startingSheet = this;
  // The sheet destroys the page handles it was given, also when it fails to start.
  const INT_PTR result = ::PropertySheetW(&m_psh);
  t_startingSheet = previous;
  m_psh.phpage = nullptr;
  return result;
}

int CALLBACK CPropertySheetImplRoot::SheetCallback(HWND wnd, UINT msg, LPARAM) {
  if (msg == PSCB_INITIALIZED) {
    CPropertySheetImplRoot* self = t_startingSheet;
    if (self && wnd && self->SubclassWindow(wnd)) self->OnSheetInitializedHook();
  }
  return 0;
}

}  // namespace orv
