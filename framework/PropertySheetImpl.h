// Modal property sheets over PropertySheetW.
//
// CPropertyPageImpl<T>: one page, from dialog template T::IDD of the resource library (or a
// template in memory given with SetTemplate), bound to its object like a dialog. Sheet
// notifications go to T's hooks: `bool OnSetActive()`, `bool OnKillActive()` (false keeps the
// page), `int OnApply()` (a PSNRET_* value), `void OnReset()`, `bool OnQueryCancel()` (false
// keeps the sheet open), `void OnHelp()`. SetModified enables Apply.
//
// CPropertySheetImpl<T>: collects pages (not owned: usually members of T) and runs them with
// DoModal; the sheet window is bound to T's message map once the sheet has initialised, and
// `void OnSheetInitialized()` runs then. A page added while the sheet runs joins it at once.
// Main thread only.
#pragma once

#include <windows.h>
#include <commctrl.h>
#include <prsht.h>

#include <string>
#include <vector>

#include "framework/AppModule.h"
#include "framework/DialogImpl.h"
#include "framework/WindowImpl.h"

namespace orv {

class CPropertyPageImplRoot : public CDialogImplRoot {
public:
  CPropertyPageImplRoot();

  PROPSHEETPAGEW m_psp{};

  // A dialog template in memory instead of T::IDD (kept by the caller while the sheet runs).
  void SetTemplate(const DLGTEMPLATE* dlgTemplate);
  void SetTitle(const wchar_t* title);

  [[nodiscard]] HPROPSHEETPAGE CreatePage();
  HWND GetPropertySheet() const { return ::GetParent(m_hWnd); }
  void SetModified(bool changed = true) const;

protected:
  void InitPage(int templateId);

private:
  std::wstring title_;
};

template <typename T>
class CPropertyPageImpl : public CPropertyPageImplRoot {
public:
  CPropertyPageImpl() { InitPage(TemplateId()); }

  bool OnSetActive() { return true; }
  bool OnKillActive() { return true; }
  int OnApply() { return PSNRET_NOERROR; }
  void OnReset() {}
  bool OnQueryCancel() { return true; }
  void OnHelp() {}

  BEGIN_MSG_MAP(CPropertyPageImpl)
    MESSAGE_HANDLER(WM_NOTIFY, OnNotify)
  END_MSG_MAP()

private:
  template <typename U>
  static auto IddOf(int) -> decltype(U::IDD, int()) { return U::IDD; }
  template <typename U>
  static int IddOf(...) { return 0; }
  static int TemplateId() { return IddOf<T>(0); }

  LRESULT OnNotify(UINT, WPARAM, LPARAM lParam, BOOL& handled) {
    auto* hdr = reinterpret_cast<NMHDR*>(lParam);
    if (hdr->hwndFrom != GetPropertySheet()) {
      handled = FALSE;
      return 0;
    }
    T* self = static_cast<T*>(this);
    switch (hdr->code) {
      case PSN_SETACTIVE: return self->OnSetActive() ? 0 : -1;
      case PSN_KILLACTIVE: return self->OnKillActive() ? FALSE : TRUE;
      case PSN_APPLY: return self->OnApply();
      case PSN_RESET: self->OnReset(); return 0;
      case PSN_QUERYCANCEL: return self->OnQueryCancel() ? FALSE : TRUE;
      case PSN_HELP: self->OnHelp(); return 0;
      default:
        handled = FALSE;
        return 0;
    }
  }
};

class CPropertySheetImplRoot : public CWindowImplRoot {
public:
  CPropertySheetImplRoot();

  PROPSHEETHEADERW m_psh{};

  // Before DoModal the page is kept for the start; while the sheet runs it is created and
  // added (false, and nothing added, when the page cannot be created or the sheet refuses it).
  bool AddPage(CPropertyPageImplRoot& page);
  size_t GetPageCount() const { return pages_.size(); }
  // The caption: PSM_SETTITLEW while the sheet runs, else the header's caption as it is (no
  // "Properties for" prefix).
  void SetTitle(const wchar_t* title);
  // The start page before DoModal, the current page while the sheet runs.
  void SetActivePage(UINT index);

  // While the sheet runs: its tab control, the current page's window and index (-1: none).
  HWND GetTabControl() const;
  HWND GetActivePage() const;
  int GetActiveIndex() const;

  // PropertySheetW's result: positive after OK, 0 after Cancel, -1 when the sheet could not run.
  INT_PTR DoModal(HWND parent = ::GetActiveWindow());

  static int CALLBACK SheetCallback(HWND wnd, UINT msg, LPARAM lp);

protected:
  virtual void OnSheetInitializedHook() {}

private:
  std::vector<CPropertyPageImplRoot*> pages_;
  std::wstring title_;
};

template <typename T>
class CPropertySheetImpl : public CPropertySheetImplRoot {
public:
  void OnSheetInitialized() {}

  BEGIN_MSG_MAP(CPropertySheetImpl)
  END_MSG_MAP()

protected:
  void OnSheetInitializedHook() override { static_cast<T*>(this)->OnSheetInitialized(); }
};

}  // namespace orv
