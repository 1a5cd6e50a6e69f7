// OrvelRunAs: starts OrvelManager again with the "runas" verb so that the system asks for
// administrator rights, and with "open" when the user refuses. The manager starts this program
// after making its own folder the current directory; nothing else crosses between the two.
#include <windows.h>
#include <shellapi.h>
#include <shlwapi.h>

#include <string>

namespace {

constexpr wchar_t kManagerFile[] = L"OrvelManager.exe";

// The folder the manager is started in: an elevated process would otherwise begin in the system
// folder and could not find its resource library there.
std::wstring CurrentFolder() {
  wchar_t folder[MAX_PATH] = {};
  const DWORD length = ::GetCurrentDirectoryW(MAX_PATH, folder);
  return length > 0 && length < MAX_PATH ? std::wstring(folder, length) : std::wstring();
}

bool StartManager(const wchar_t* verb, const std::wstring& folder) {
  SHELLEXECUTEINFOW info{};
  info.cbSize = sizeof(info);
  info.lpVerb = verb;
  info.lpFile = kManagerFile;
  info.lpDirectory = folder.empty() ? nullptr : folder.c_str();
  info.nShow = SW_SHOWNORMAL;
  return ::ShellExecuteExW(&info) != FALSE;
}

}  // namespace

int wmain() {
  if (HWND console = ::GetConsoleWindow()) ::ShowWindow(console, SW_HIDE);
  ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
  const std::wstring folder = CurrentFolder();
  if (!StartManager(L"runas", folder) && ::GetLastError() == ERROR_CANCELLED) {
    // The elevation prompt was refused: bring the manager back with the user's own rights.
    StartManager(L"open", folder);
  }
  ::CoUninitialize();
  return 0;
}
