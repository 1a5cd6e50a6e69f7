#include "common/HelpRequest.h"

#include <string>

#include "common/AppShell.h"
#include "common/Seams.h"
#include "framework/Handles.h"

namespace {

constexpr UINT kDisplayToc = 0x0001;     // HH_DISPLAY_TOC
constexpr UINT kDisplayIndex = 0x0002;   // HH_DISPLAY_INDEX
constexpr UINT kHelpContext = 0x000F;    // HH_HELP_CONTEXT
using HtmlHelpFn = HWND(WINAPI*)(HWND, LPCWSTR, UINT, DWORD_PTR);

// The HTML Help control's server, as registered under its class identifier.
std::wstring HelpControlPath() {
  orv::ScopedKey key;
  wchar_t path[MAX_PATH] = {};
  DWORD size = sizeof(path) - sizeof(wchar_t);
  DWORD type = 0;
  if (::RegOpenKeyExW(HKEY_CLASSES_ROOT, L"CLSID\\{ADB880A6-D8FF-11CF-9377-00AA003B7A11}\\InprocServer32", 0,
                      KEY_READ, key.Receive()) == ERROR_SUCCESS &&
      ::RegQueryValueExW(key.Get(), nullptr, nullptr, &type, reinterpret_cast<BYTE*>(path), &size) == ERROR_SUCCESS &&
      (type == REG_SZ || type == REG_EXPAND_SZ) && path[0]) {
    wchar_t expanded[MAX_PATH];
    const DWORD n = ::ExpandEnvironmentStringsW(path, expanded, MAX_PATH);
    if (n > 0 && n <= MAX_PATH) return expanded;
    return path;
  }
  return L"hhctrl.ocx";
}

HtmlHelpFn BindHtmlHelp() {
  static HtmlHelpFn fn = [] {
    HMODULE module = ::LoadLibraryW(HelpControlPath().c_str());
    return module ? reinterpret_cast<HtmlHelpFn>(::GetProcAddress(module, "HtmlHelpW")) : nullptr;
  }();
  return fn;
}

// Without the help control, or without the help file (HtmlHelpW then gives null at once), a
// request shows nothing.
void CallHelp(UINT command, DWORD_PTR data) {
  const AppShell& shell = GetAppShell();
  if (seams::HelpSink sink = seams::GetHelpSink()) {
    sink(shell.MainWindow, shell.HelpFilePath, command, data);
    return;
  }
  if (HtmlHelpFn fn = BindHtmlHelp()) fn(shell.MainWindow, shell.HelpFilePath.c_str(), command, data);
}

}  // namespace

void ShowHelpContents() { CallHelp(kDisplayToc, 0); }
void ShowHelpIndex() { CallHelp(kDisplayIndex, 0); }

void ShowHelpTopic(UINT topic) {
  CallHelp(kDisplayToc, 0);
  CallHelp(kHelpContext, topic);
}
