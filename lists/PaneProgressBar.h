// The progress bar of a list's fill on the main thread, laid over the top of a tree's pane
// (the folder tree's for the folder fonts list, the groups tree's for the group fonts list):
// the left half of the pane's caption band, inset from its edges. Owned by the fill, on the
// main thread; the bar goes with it.
#pragma once

#include <windows.h>

class PaneProgressBar {
public:
  PaneProgressBar() = default;
  ~PaneProgressBar() { Destroy(); }
  PaneProgressBar(const PaneProgressBar&) = delete;
  PaneProgressBar& operator=(const PaneProgressBar&) = delete;

  // A bar over the pane of `tree` with the range 0 to `range`; nothing without a pane.
  void Create(HWND tree, int range);
  // One step while below the range. The bar moves only when its filled part grows by a pixel,
  // and at most about thirty times a second, not once per file of a folder of thousands.
  void Step();
  // Removes the bar and repaints what it covered.
  void Destroy();

  HWND Window() const { return bar_; }
  int Position() const { return position_; }
  int Range() const { return range_; }

private:
  static constexpr ULONGLONG kMoveInterval = 33;  // ms

  HWND bar_ = nullptr;
  int position_ = 0;
  int range_ = 0;
  int width_ = 1;   // the bar's client width in pixels
  int filled_ = 0;  // the filled width at the last move
  ULONGLONG moved_ = 0;
};
