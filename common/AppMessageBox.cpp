#include "common/AppMessageBox.h"

#include <cwchar>

#include "common/AppShell.h"
#include "common/ResString.h"
#include "common/ResourceIds.h"
#include "common/Seams.h"

namespace {
constexpr DWORD kSystemTextLimit = 260;
constexpr UINT kRestartBoxType = MB_ICONWARNING | MB_YESNO;
}  // namespace

std::wstring BuildAppMessageText(UINT textId, DWORD systemError, const wchar_t* detail, bool askRestart) {
  std::wstring text;
  if (textId) {
    text += LoadResString(textId);
    text += L'\n';
  }
  if (systemError) {
    wchar_t buffer[kSystemTextLimit];
    const DWORD n = ::FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, systemError,
                                     MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT), buffer, kSystemTextLimit, nullptr);
    if (n > 0 && n < kSystemTextLimit) text.append(buffer, n);
    text += L'\n';
  }
  if (detail) {
    // A list (lines of fonts and their files) stands as it is; one detail is a remark.
    const bool list = wcschr(detail, L'\n') != nullptr;
    text += list ? L"\n" : L"\n(";
    text += detail;
    if (!list) text += L')';
  }
  if (askRestart) {
    text += L"\n\n";
    text += LoadResString(IDS_RESTART_ELEVATED_ASK);
  }
  return text;
}

void AppMessageBox(HWND owner, UINT type, UINT captionId, UINT textId, DWORD systemError, const wchar_t* detail,
                   bool askRestart) {
  const std::wstring caption = captionId ? LoadResString(captionId) : std::wstring();
  const std::wstring text = BuildAppMessageText(textId, systemError, detail, askRestart);
  if (askRestart) type = kRestartBoxType;
  // A box stands in front of the top-level window its owner belongs to, and holds that window
  // while it is open: owned by a child window (a list, a tree), it would be left for the main
  // window to cover.
  if (!owner || !::IsWindow(owner)) owner = GetAppShell().MainWindow;
  owner = owner && ::IsWindow(owner) ? ::GetAncestor(owner, GA_ROOT) : nullptr;
  if (seams::ShowMessageBox(owner, text, caption, type) == IDYES)
    ::PostMessageW(GetAppShell().MainWindow, WM_COMMAND, ID_RESTART_ELEVATED, 0);
}

std::wstring FailureLine(const std::wstring& name, UINT reasonId, DWORD systemError) {
  std::wstring line = name + L": " + LoadResString(reasonId);
  if (systemError) {
    std::wstring system = BuildAppMessageText(0, systemError, nullptr, false);
    while (!system.empty() && (system.back() == L'\n' || system.back() == L'\r' || system.back() == L'.'))
      system.pop_back();
    if (!system.empty()) line += L" (" + system + L")";
  }
  return line;
}
