// The process's module record: the program's instance handle, the instance that resources are
// loaded from (the resource library while the program runs) and the message loop of each UI
// thread. One object for the process, `g_Module`; set up by the entry point before any window
// exists and ended after the last one is gone.
#pragma once

#include <windows.h>
#include <map>
#include <mutex>

#include "framework/Handles.h"
#include "framework/MessageLoop.h"

namespace orv {

class CAppModule {
public:
  void Init(HINSTANCE instance);
  void Term();

  HINSTANCE GetModuleInstance() const { return instance_; }
  HINSTANCE GetResourceInstance() const { return resourceInstance_ ? resourceInstance_ : instance_; }
  // Returns the previous resource instance.
  HINSTANCE SetResourceInstance(HINSTANCE resources);

  // An icon (0 x 0: the system's default size) or a cursor of the resource instance, owned by
  // the caller. Never a shared load: from a library mapped as data file every shared load makes
  // a new handle that nobody would free.
  [[nodiscard]] ScopedIcon LoadResourceIcon(UINT id, int width = 0, int height = 0) const;
  [[nodiscard]] ScopedCursor LoadResourceCursor(UINT id) const;

  bool AddMessageLoop(CMessageLoop* loop);
  bool RemoveMessageLoop();
  CMessageLoop* GetMessageLoop(DWORD threadId = ::GetCurrentThreadId()) const;

private:
  HINSTANCE instance_ = nullptr;
  HINSTANCE resourceInstance_ = nullptr;
  mutable std::mutex lock_;
  std::map<DWORD, CMessageLoop*> loops_;
};

extern CAppModule g_Module;

}  // namespace orv
