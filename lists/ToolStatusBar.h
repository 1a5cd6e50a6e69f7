// The status line of the census and of the folders-with-fonts finder: a status bar (control
// 0xE801, size grip, tooltips) that the dialog creates in its initialisation, growing by the
// bar's height so that nothing of its template is covered. The dialog owns the bar as one of
// its child windows; this object only addresses it. UI thread only.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

class ToolStatusBar {
public:
  static constexpr DWORD kStyle = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | SBARS_SIZEGRIP | SBARS_TOOLTIPS;

  // Creates the bar at the bottom of `dialog` and makes the dialog taller by its height.
  bool Create(HWND dialog);
  HWND Handle() const { return bar_; }

  // Parts by the right edges given (-1: to the end of the bar).
  void SetParts(const std::vector<int>& rightEdges) const;
  void SetText(int part, const std::wstring& text) const;
  void SetTipText(int part, const std::wstring& text) const;
  std::wstring GetText(int part) const;
  // A count as the census shows it: " %d" padded so that the part is always cut and its tip
  // shows.
  void ShowCount(int part, int count) const;
  static std::wstring FormatCount(int count);
  // The width of a text in the bar's font.
  int TextWidth(const wchar_t* text) const;
  // Follows the dialog's new size (WM_SIZE).
  void Resize() const;

private:
  HWND bar_ = nullptr;
};
