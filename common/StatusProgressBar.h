// A progress bar laid over the last fifth of the main status bar while an install or uninstall
// runs on the main thread. Each step also drops one pending input message, so that clicks and
// keys queued during the work do not fire afterwards; messages posted to the program (commands,
// timers, WM_QUIT) stay queued. Main thread only; the owner destroys the bar before it goes.
#pragma once

#include <windows.h>

class StatusProgressBar {
public:
  static constexpr int kStatusParts = 5;

  // The bar covers the last of the status bar's five parts, inset 12 pixels left and right and
  // 6 top and bottom.
  explicit StatusProgressBar(HWND statusBar);
  ~StatusProgressBar() { Destroy(); }
  StatusProgressBar(const StatusProgressBar&) = delete;
  StatusProgressBar& operator=(const StatusProgressBar&) = delete;

  // Creates the bar (or resets an existing one) for `count` steps; nothing without a status
  // bar or for count <= 0.
  void Create(int count);
  void Step();
  void Destroy();

  HWND Window() const { return bar_; }
  const RECT& Placement() const { return rect_; }

private:
  HWND bar_ = nullptr;
  HWND parent_ = nullptr;
  RECT rect_{};
  int maximum_ = 0;
};
