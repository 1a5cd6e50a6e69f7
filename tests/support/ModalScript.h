// Drives modal windows of the test's own thread: a thread timer plays a script of steps while
// the code under test runs its modal loop.
#pragma once

#include <windows.h>

#include <functional>
#include <vector>

namespace testing_support {

struct ModalScript {
  // Runs `body` (which opens a modal window and returns when it closes) while a thread timer
  // plays `steps`, one per tick. A step returns false to be tried again at the next tick (its
  // window is not there yet). Once the steps are done, the window `leftOpen` finds (by default
  // the innermost dialog of the thread) is cancelled after about two seconds, so that a failing
  // test cannot hang. Expects every step to have run.
  static void Run(std::vector<std::function<bool()>> steps, const std::function<void()>& body,
                  HWND (*leftOpen)() = nullptr);
};

// A visible top-level dialog of this thread that has a control with this identifier.
HWND FindDialogWithControl(int controlId);

// The visible and enabled dialog window of this thread that is on top: the innermost modal
// one. Null when there is none.
HWND TopDialogOfThread();

// Page `index` of a running property sheet made current (the platform creates a page when it
// is first shown); its window.
HWND ShowSheetPage(HWND sheet, int index);
// The index of the current page of a running property sheet.
int CurrentSheetPage(HWND sheet);

// A button of a dialog clicked through its own notification.
void ClickButton(HWND dialog, int id);

}  // namespace testing_support
