#include "tests/support/ProcessDriver.h"

#include <vector>

namespace testing_support {

namespace {

struct FindRequest {
  DWORD pid;
  const wchar_t* className;
  int controlId;
  HWND except;
  HWND found;
};

BOOL CALLBACK MatchTopLevel(HWND wnd, LPARAM lp) {
  auto* req = reinterpret_cast<FindRequest*>(lp);
  DWORD pid = 0;
  ::GetWindowThreadProcessId(wnd, &pid);
  if (pid != req->pid || wnd == req->except || !::IsWindowVisible(wnd)) return TRUE;
  if (req->className) {
    wchar_t cls[128] = {};
    ::GetClassNameW(wnd, cls, 128);
    if (::lstrcmpiW(cls, req->className) != 0) return TRUE;
  }
  if (req->controlId && !::GetDlgItem(wnd, req->controlId)) return TRUE;
  req->found = wnd;
  return FALSE;
}

HWND WaitFor(DWORD pid, const wchar_t* className, int controlId, HWND except, DWORD ms) {
  const ULONGLONG end = ::GetTickCount64() + ms;
  for (;;) {
    FindRequest req{pid, className, controlId, except, nullptr};
    ::EnumWindows(&MatchTopLevel, reinterpret_cast<LPARAM>(&req));
    if (req.found || ::GetTickCount64() >= end) return req.found;
    ::Sleep(50);
  }
}

}  // namespace

ChildProcess::ChildProcess(const std::wstring& exe, const std::wstring& cwd) {
  STARTUPINFOW si{sizeof(si)};
  PROCESS_INFORMATION pi{};
  std::vector<wchar_t> cmd(exe.begin(), exe.end());
  cmd.insert(cmd.begin(), L'"');
  cmd.push_back(L'"');
  cmd.push_back(L'\0');
  if (::CreateProcessW(exe.c_str(), cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, cwd.c_str(), &si, &pi)) {
    ::CloseHandle(pi.hThread);
    process_ = pi.hProcess;
    id_ = pi.dwProcessId;
  }
}

ChildProcess::~ChildProcess() {
  if (!process_) return;
  if (::WaitForSingleObject(process_, 0) == WAIT_TIMEOUT) {
    ::TerminateProcess(process_, 99);
    ::WaitForSingleObject(process_, 5000);
  }
  ::CloseHandle(process_);
}

HWND ChildProcess::WaitForWindow(const wchar_t* className, DWORD ms, HWND except) const {
  return WaitFor(id_, className, 0, except, ms);
}

HWND ChildProcess::WaitForDialogWithControl(int controlId, DWORD ms) const {
  return WaitFor(id_, L"#32770", controlId, nullptr, ms);
}

DWORD ChildProcess::WaitForExit(DWORD ms) const {
  if (!process_) return STILL_ACTIVE;
  if (::WaitForSingleObject(process_, ms) != WAIT_OBJECT_0) return STILL_ACTIVE;
  DWORD code = STILL_ACTIVE;
  ::GetExitCodeProcess(process_, &code);
  return code;
}

std::wstring WindowText(HWND wnd) {
  wchar_t text[2048] = {};
  const int n = ::InternalGetWindowText(wnd, text, 2048);
  return std::wstring(text, n > 0 ? static_cast<size_t>(n) : 0);
}

std::wstring StaticTexts(HWND dialog) {
  std::wstring all;
  for (HWND child = ::GetWindow(dialog, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
    wchar_t cls[64] = {};
    ::GetClassNameW(child, cls, 64);
    if (::lstrcmpiW(cls, L"Static") != 0) continue;
    const std::wstring text = WindowText(child);
    if (text.empty()) continue;
    if (!all.empty()) all += L"\n";
    all += text;
  }
  return all;
}

}  // namespace testing_support
