// Driving a modal window from its own thread: a thread timer plays a script of steps while the
// test's body runs the modal loop.
#pragma once

#include <windows.h>

#include <functional>
#include <vector>

namespace testing_support {

// Runs `body` (which opens a modal window) while a thread timer plays `steps`, one per tick. A
// step returns false to be tried again at the next tick (its window is not there yet). Once the
// steps are done, the window `leftOpen` finds is cancelled after a while, so that a failing test
// cannot hang. Checks that every step ran.
void PlaySteps(std::vector<std::function<bool()>> steps, const std::function<void()>& body, HWND (*leftOpen)());

// A visible top-level dialog of this process that has a control with this identifier.
HWND FindDialogWithControl(int controlId);

}  // namespace testing_support
