// Entry point of OrvelManager: single instance, resource library, start-up check, rights
// probes, preferences, main window and the message loop.
#include <windows.h>
#include <commctrl.h>
#include <objbase.h>

#include <memory>
#include <optional>

#include "app/AppState.h"
#include "app/CMainFrame.h"
#include "app/COrvBrowseFolderDialog.h"
#include "app/Preferences.h"
#include "app/ResourceLibrary.h"
#include "app/RightsProbe.h"
#include "app/SingleInstance.h"
#include "app/StartupCheck.h"
#include "common/AppMessageBox.h"
#include "common/ResString.h"
#include "common/ResourceIds.h"
#include "fonts/FontFileCommand.h"
#include "framework/AppModule.h"
#include "framework/MessageLoop.h"
#include "groups/GroupFontInstaller.h"
#include "lists/CPickerFolderTree.h"
#include "lists/FontListImages.h"

namespace {

constexpr int kEarlyStop = 0;
constexpr DWORD kCommonControlClasses = ICC_LISTVIEW_CLASSES | ICC_TREEVIEW_CLASSES | ICC_BAR_CLASSES |
                                        ICC_TAB_CLASSES | ICC_PROGRESS_CLASS | ICC_DATE_CLASSES |
                                        ICC_USEREX_CLASSES | ICC_COOL_CLASSES | ICC_NATIVEFNTCTL_CLASS |
                                        ICC_STANDARD_CLASSES;
static_assert(kCommonControlClasses == 0x672F);

// Claimed before the entry point runs.
const bool g_FirstInstance = SingleInstance::Claim();

void ActivateFirstInstance() {
  HWND other = ::FindWindowW(kSingleInstanceName, nullptr);
  if (!other) return;
  ::SetForegroundWindow(other);
  if (::IsIconic(other)) ::ShowWindow(other, SW_SHOWNORMAL);
}

void ShowProbeFailure(UINT formatId, DWORD error) {
  const std::wstring detail = FormatResString(formatId, static_cast<int>(error));
  AppMessageBox(nullptr, MB_ICONWARNING, IDS_CAPTION_APP, 0, 0, detail.c_str());
}

int Run() {
  // The first start's font case dialog already offers the folder picker.
  InstallPickerFolderTree();
  {
    auto check = std::make_unique<StartupCheckRecord>();
    if (!StartupCheck(*check)) {
      AppMessageBox(nullptr, MB_ICONWARNING, IDS_CAPTION_APP, IDS_STARTUP_FAILED);
      return kEarlyStop;
    }
    if (DWORD error = ProbeUserIsAdmin(g_AppState.UserIsAdmin)) {
      ShowProbeFailure(IDS_ADMIN_PROBE_FAILED, error);
      return kEarlyStop;
    }
    if (DWORD error = ProbeIsElevated(g_AppState.IsElevated)) {
      ShowProbeFailure(IDS_ELEVATION_PROBE_FAILED, error);
      return kEarlyStop;
    }
  }
  LoadPreferences();
  UseFontInstallerForGroups();
  // Before anything reads the font registrations or the groups' marks.
  const std::optional<RecoveredGroupCommand> undone = RecoverCutShortGroupCommand();
  FontFileCommand::SetFolderPrompt(&COrvBrowseFolderDialog::AskForTargetFolder);

  orv::CMessageLoop loop;
  orv::g_Module.AddMessageLoop(&loop);
  auto frame = std::make_unique<CMainFrame>();
  if (!frame->CreateMainWindow()) {
    orv::g_Module.RemoveMessageLoop();
    return kEarlyStop;
  }
  frame->ShowWindow(frame->Layout().Maximized ? SW_SHOWMAXIMIZED : SW_SHOWNORMAL);
  if (undone) ReportUndoneGroupCommand(g_AppState.MainWindow, *undone);
  const int result = loop.Run();
  orv::g_Module.RemoveMessageLoop();
  return result;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR, int) {
  if (!g_FirstInstance) {
    ActivateFirstInstance();
    return kEarlyStop;
  }

  // From the current directory on purpose: the program runs from the folder it was installed in.
  orv::ScopedModule resources = LoadResourceLibrary();
  if (!resources) {
    wchar_t text[512] = {};
    ::LoadStringW(instance, IDS_RESOURCE_LIBRARY_MISSING, text, static_cast<int>(std::size(text)));
    ::MessageBoxW(nullptr, text, nullptr, MB_ICONINFORMATION);
    return kEarlyStop;
  }

  ::CoInitialize(nullptr);
  INITCOMMONCONTROLSEX icc{sizeof(icc), kCommonControlClasses};
  ::InitCommonControlsEx(&icc);
  orv::g_Module.Init(instance);
  const HINSTANCE previous = orv::g_Module.SetResourceInstance(resources.Get());

  const int result = Run();

  FontListImages::Destroy();
  orv::g_Module.SetResourceInstance(previous);
  resources.Reset();
  orv::g_Module.Term();
  ::CoUninitialize();
  return result;
}
