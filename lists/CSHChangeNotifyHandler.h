// What a window that listens to shell change notifications implements: one call per
// notification, with the event bits (SHCNE_*) and the paths of its item lists (empty where a
// list is missing or names no file-system item). Called on the window's thread.
#pragma once

#include <windows.h>

#include <string>

class CSHChangeNotifyHandler {
public:
  virtual void OnShellChange(LONG event, const std::wstring& path1, const std::wstring& path2) = 0;

protected:
  ~CSHChangeNotifyHandler() = default;
};
