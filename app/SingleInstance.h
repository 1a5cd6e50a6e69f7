// The single instance of OrvelManager: the name of its mutex, which is also the main window's
// class name, and the process's hold on that mutex.
//
// The entry point's module claims the mutex before the entry point runs; the process holds it
// until it ends, unless it hands over to a new instance (the restart with administrator
// rights), which lets it go before the new instance is started. Main thread only.
#pragma once

#include <windows.h>

inline constexpr wchar_t kSingleInstanceName[] = L"{EDB8CF7A-7740-49df-8B55-954ADB09715A}";

class SingleInstance {
public:
  // Creates or opens the mutex and holds it; false when another instance had it already. A
  // process that holds it already gets true and nothing changes.
  static bool Claim();
  // Lets the mutex go, so that a new instance started from now on is not turned away.
  static void Release();
  [[nodiscard]] static bool Held();
};
