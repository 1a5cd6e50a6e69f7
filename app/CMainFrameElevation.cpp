// The restart with administrator rights (command 700): the manager starts the launcher
// OrvelRunAs from its own folder and closes; the launcher starts the manager again with the
// shell's "runas" verb.
#include "app/CMainFrame.h"

#include <shellapi.h>
#include <shlwapi.h>

#include "app/AppState.h"
#include "app/SingleInstance.h"
#include "common/Seams.h"

namespace {
constexpr wchar_t kLauncherFile[] = L"OrvelRunAs.exe";

// The folder of the program's own file, or empty when it cannot be had.
std::wstring ProgramFolder() {
  wchar_t path[MAX_PATH] = {};
  const DWORD n = ::GetModuleFileNameW(nullptr, path, MAX_PATH);
  if (n == 0 || n >= MAX_PATH || !::PathRemoveFileSpecW(path)) return {};
  return path;
}
}  // namespace

void CMainFrame::OnRestartElevated(UINT, int, HWND) { RestartElevated(); }

void CMainFrame::RestartElevated() {
  if (!g_AppState.UserIsAdmin || g_AppState.IsElevated) return;
  // The launcher is found beside the program, and so is the manager it starts.
  const std::wstring folder = ProgramFolder();
  if (!folder.empty()) ::SetCurrentDirectoryW(folder.c_str());
  // The new instance may start before this one has closed: it must not find the mutex held and
  // give up, leaving the user with no window at all.
  const bool held = SingleInstance::Held();
  SingleInstance::Release();
  SHELLEXECUTEINFOW info{};
  info.cbSize = sizeof(info);
  info.hwnd = m_hWnd;
  info.lpVerb = L"open";
  info.lpFile = kLauncherFile;
  info.nShow = SW_HIDE;
  if (!seams::StartProgram(info)) {
    // Nothing was started: this instance goes on as the only one.
    if (held) (void)SingleInstance::Claim();
    return;
  }
  SendMessage(WM_CLOSE);
}
