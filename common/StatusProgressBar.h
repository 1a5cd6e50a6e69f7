// A progress bar laid over the last fifth of the main status bar while a long main-thread
// operation runs (the installed list's fill, installs and uninstalls). Owned by the operation,
// on the main thread; destroyed with it.
#pragma once

#include <windows.h>

class StatusProgressBar {
public:
  explicit StatusProgressBar(HWND statusBar);
  ~StatusProgressBar();
  StatusProgressBar(const StatusProgressBar&) = delete;
  StatusProgressBar& operator=(const StatusProgressBar&) = delete;

  // Nothing without a status bar or for a count <= 0. A second call resets range and position.
  void Create(int count);
  // One step while below the maximum. With eatOneMessage one input message of the thread's
  // queue is removed and dropped (never dispatched), so that clicks and keys queued during the
  // operation do not fire afterwards; messages posted to the program (commands, timers,
  // WM_QUIT) stay queued. The installed list's fill reads no message.
  void Step(bool eatOneMessage = true);
  // Removes the bar and repaints the part of the status bar it covered.
  void Destroy();

  HWND Window() const { return bar_; }
  int Position() const { return position_; }
  const RECT& Placement() const { return rect_; }

private:
  HWND parent_ = nullptr;
  HWND bar_ = nullptr;
  RECT rect_{};
  int maximum_ = 0;
  int position_ = 0;
  int shownPixels_ = -1;
  int width_ = 1;
};
