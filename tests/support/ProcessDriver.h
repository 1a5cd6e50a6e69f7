// Starting the built programs from a test and driving their windows from outside, as a user
// would: find a window of the process, send it its own messages, wait for the exit code.
#pragma once

#include <windows.h>
#include <string>

namespace testing_support {

class ChildProcess {
public:
  // Starts `exe` with `cwd` as its current directory; IsRunning() tells whether it started.
  ChildProcess(const std::wstring& exe, const std::wstring& cwd);
  ~ChildProcess();  // ends the process when it is still running
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  bool Started() const { return process_ != nullptr; }
  DWORD Id() const { return id_; }

  // A visible top-level window of the process with this class (null: any), waiting up to `ms`.
  HWND WaitForWindow(const wchar_t* className, DWORD ms, HWND except = nullptr) const;
  // A top-level dialog of the process that has a child with this control id.
  HWND WaitForDialogWithControl(int controlId, DWORD ms) const;

  // The exit code, or STILL_ACTIVE when the process did not end within `ms`.
  DWORD WaitForExit(DWORD ms) const;

private:
  HANDLE process_ = nullptr;
  DWORD id_ = 0;
};

// A window's text read without sending it a message (safe across threads and processes).
std::wstring WindowText(HWND wnd);

// The texts of a window's static children, joined by "\n" (the text of a message box).
std::wstring StaticTexts(HWND dialog);

}  // namespace testing_support
