// CReportOptionsPage: the page the print dialog of a font list adds to its sheet. It chooses
// one font sheet per page or a font list in columns, the columns, the label details, one-line
// samples and the title, and shows a live preview at a zoom chosen with a slider (25 to 200 %).
// The choice is stored as "PrintFlags" when the user prints. Main thread only.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "common/ResourceIds.h"
#include "framework/PropertySheetImpl.h"
#include "printing/ReportOptions.h"

class COrvelListView;
class CFontSheetView;
class CPrintFontList;
class CPreviewFrame;

// The title a report of `list` gets when the user gives none: by the list's kind, with the
// folder's last component (folder fonts) or the name of the group selected in the groups tree
// (group fonts).
std::wstring MakeDefaultReportTitle(const COrvelListView* list);

class CReportOptionsPage : public orv::CPropertyPageImpl<CReportOptionsPage> {
public:
  enum { IDD = IDD_REPORT_OPTIONS };
  static constexpr int kZoomPositions = 4;
  static constexpr int kStartZoomPosition = 1;

  explicit CReportOptionsPage(const COrvelListView* source);
  ~CReportOptionsPage();

  const std::wstring& Title() const { return title_; }
  bool SetMode() const { return options_.setMode; }
  const ReportOptions& Options() const { return options_; }
  int Zoom() const { return zoom_; }
  // The preview shown, or null (set mode without an installed Arial).
  CPreviewFrame* Preview() const;

  int OnApply();

  BEGIN_MSG_MAP(CReportOptionsPage)
    MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
    MESSAGE_HANDLER(WM_HSCROLL, OnZoomSlider)
    COMMAND_RANGE_HANDLER(IDC_REPORT_SET_MODE, IDC_REPORT_LIST_MODE, OnModeClicked)
    COMMAND_HANDLER(IDC_REPORT_COLUMNS, EN_CHANGE, OnOptionChanged)
    COMMAND_HANDLER(IDC_REPORT_TITLE, EN_KILLFOCUS, OnOptionChanged)
    COMMAND_CODE_HANDLER(BN_CLICKED, OnBoxClicked)
    COMMAND_ID_HANDLER(IDC_DIALOG_HELP, OnHelpButton)
    CHAIN_MSG_MAP(orv::CPropertyPageImpl<CReportOptionsPage>)
  END_MSG_MAP()

private:
  LRESULT OnInitDialog(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnZoomSlider(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnModeClicked(WORD, WORD, HWND, BOOL&);
  LRESULT OnOptionChanged(WORD, WORD, HWND, BOOL&);
  LRESULT OnBoxClicked(WORD, WORD id, HWND, BOOL& handled);
  LRESULT OnHelpButton(WORD, WORD, HWND, BOOL&);

  void ReadControls();
  void UpdateEnabledStates() const;
  void ShowPreview();
  void ApplyToListPreview();
  RECT PreviewArea() const;

  const COrvelListView* source_;
  std::wstring title_;
  ReportOptions options_;
  int zoom_ = 50;
  HWND upDown_ = nullptr;
  HWND slider_ = nullptr;
  std::unique_ptr<CPrintFontList> listPreview_;
  std::unique_ptr<CFontSheetView> sheetPreview_;
  bool initialized_ = false;
};
