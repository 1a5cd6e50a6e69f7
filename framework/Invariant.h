// The one invariant check of the program. A broken invariant is a programming fault: in a
// debug build it stops in the debugger; in a release build the check still runs and the
// caller's fallback path is taken (the macro yields false), so nothing goes on with bad state.
#pragma once

#include <windows.h>

namespace orv::detail {
inline bool InvariantFailed(const char* expr, const char* file, int line) noexcept {
#ifndef NDEBUG
  if (::IsDebuggerPresent()) ::DebugBreak();
#endif
  (void)expr;
  (void)file;
  (void)line;
  return false;
}
}  // namespace orv::detail

// Usage: if (!ORV_CHECK(index < count)) return false;
#define ORV_CHECK(expr) ((expr) ? true : ::orv::detail::InvariantFailed(#expr, __FILE__, __LINE__))
