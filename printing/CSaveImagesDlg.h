// CSaveImagesDlg: the image export's dialog for several selected fonts (template 1071): the
// target folder, the image format, whether existing files are replaced, and the optional HTML
// page with its name, an "images" subfolder and an information column. Its OK runs the export
// (ExportFontImages) while the dialog is still open; a status bar at its foot names each font.
// Modal, on the stack of SaveFontImages; main thread only.
#pragma once

#include <string>

#include "common/ResourceIds.h"
#include "framework/DialogImpl.h"
#include "printing/FontImageExport.h"

class CSampleWindow;
class COrvelListView;

class CSaveImagesDlg : public orv::CDialogImpl<CSaveImagesDlg> {
public:
  enum { IDD = IDD_SAVE_IMAGES };

  CSaveImagesDlg(CSampleWindow& pane, COrvelListView& source, const std::wstring& folder);

  const ImageExportOptions& Options() const { return options_; }

  BEGIN_MSG_MAP(CSaveImagesDlg)
    MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
    MESSAGE_HANDLER(WM_HELP, OnHelp)
    COMMAND_ID_HANDLER(IDC_IMAGES_BROWSE, OnBrowse)
    COMMAND_ID_HANDLER(IDC_IMAGES_WRITE_HTML, OnWriteHtml)
    COMMAND_ID_HANDLER(IDOK, OnOK)
    COMMAND_ID_HANDLER(IDCANCEL, OnCancel)
    COMMAND_ID_HANDLER(IDC_DIALOG_HELP, OnHelpButton)
  END_MSG_MAP()

private:
  LRESULT OnInitDialog(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnHelp(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnBrowse(WORD, WORD, HWND, BOOL&);
  LRESULT OnWriteHtml(WORD, WORD, HWND, BOOL&);
  LRESULT OnOK(WORD, WORD, HWND, BOOL&);
  LRESULT OnCancel(WORD, WORD, HWND, BOOL&);
  LRESULT OnHelpButton(WORD, WORD, HWND, BOOL&);

  void EnableHtmlControls(bool enable) const;
  void ReadControls();

  CSampleWindow& pane_;
  COrvelListView& source_;
  ImageExportOptions options_;
  HWND statusBar_ = nullptr;
};
