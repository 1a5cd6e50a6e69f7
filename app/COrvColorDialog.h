// COrvColorDialog: the system colour picker, opened full, with a caption of its own. Its
// sixteen custom colours are one table for the whole run: before each run some entries are
// set to system colours, the others keep what the user left in them. Modal, UI thread only.
#pragma once

#include <windows.h>

#include <string>

class COrvColorDialog {
public:
  static constexpr int kCustomColors = 16;

  COrvColorDialog(const std::wstring& caption, COLORREF initial) : caption_(caption), color_(initial) {}

  // True when the user chose a colour (then Color() is it).
  bool DoModal(HWND owner);
  COLORREF Color() const { return color_; }

private:
  static UINT_PTR CALLBACK Hook(HWND dialog, UINT msg, WPARAM wp, LPARAM lp);

  std::wstring caption_;
  COLORREF color_;
};
