// CAboutDlg: the modal About box of the main window (command 999, template 999). It shows the
// program's version in control 900 over a background painted once into an off-screen bitmap
// with GDI+: a translucent gradient and two pictures of the resource library. A click anywhere
// or Cancel closes it. GDI+ runs for the dialog's lifetime. Main thread only.
#pragma once

#include <windows.h>

#include <string>

#include "common/ResourceIds.h"
#include "framework/DialogImpl.h"
#include "framework/Handles.h"
#include "framework/MessageCrackers.h"

// The version line: "Version 5.2 (64-bit)" for a release build, "Version ß 5.2.3.4 (64-bit)"
// for a pre-release build or when the version cannot be read (info null: all parts 0).
[[nodiscard]] std::wstring AboutVersionText(const VS_FIXEDFILEINFO* info);
// The fixed version information of a file; false when it has none.
[[nodiscard]] bool ReadFixedFileInfo(const std::wstring& path, VS_FIXEDFILEINFO& info);

class CAboutDlg : public orv::CDialogImpl<CAboutDlg> {
public:
  enum { IDD = IDD_ABOUT };

  static constexpr COLORREF kBackground = 0xFFFEFC;

  CAboutDlg();
  ~CAboutDlg() override;

  BEGIN_MSG_MAP(CAboutDlg)
    MSG_WM_INITDIALOG(OnInitDialog)
    MESSAGE_HANDLER(WM_ERASEBKGND, OnEraseBackground)
    MESSAGE_HANDLER(WM_CTLCOLORDLG, OnControlColor)
    MESSAGE_HANDLER(WM_CTLCOLORBTN, OnControlColor)
    MESSAGE_HANDLER(WM_CTLCOLORSTATIC, OnControlColor)
    MESSAGE_HANDLER(WM_HELP, OnHelp)
    MESSAGE_HANDLER(WM_LBUTTONDOWN, OnLButtonDown)
    COMMAND_ID_HANDLER_EX(IDCANCEL, OnCancel)
  END_MSG_MAP()

private:
  BOOL OnInitDialog(HWND, LPARAM);
  LRESULT OnEraseBackground(UINT, WPARAM wParam, LPARAM, BOOL&);
  LRESULT OnControlColor(UINT, WPARAM wParam, LPARAM, BOOL&);
  LRESULT OnHelp(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnLButtonDown(UINT, WPARAM, LPARAM, BOOL&);
  void OnCancel(UINT, int, HWND);

  void PaintBackground();

  ULONG_PTR gdiplusToken_ = 0;
  orv::ScopedCreatedDC memoryDC_;
  orv::ScopedBitmap bitmap_;
  HGDIOBJ replacedBitmap_ = nullptr;
  orv::ScopedBrush background_;
  HGDIOBJ replacedBrush_ = nullptr;
  int width_ = 0;
  int height_ = 0;
};
