// The wait cursor for the life of a scope, the previous cursor put back at its end.
#pragma once

#include <windows.h>

namespace orv {

class ScopedWaitCursor {
public:
  ScopedWaitCursor() : previous_(::SetCursor(::LoadCursorW(nullptr, IDC_WAIT))) {}
  ~ScopedWaitCursor() { ::SetCursor(previous_); }
  ScopedWaitCursor(const ScopedWaitCursor&) = delete;
  ScopedWaitCursor& operator=(const ScopedWaitCursor&) = delete;

private:
  HCURSOR previous_;
};

}  // namespace orv
