#include "common/Seams.h"

#include <shellapi.h>

namespace seams {

namespace {
MessageBoxSink g_messageBoxSink = nullptr;
StringSource g_stringSource = nullptr;
HelpSink g_helpSink = nullptr;
ShellOpenSink g_shellOpenSink = nullptr;
}  // namespace

void SetMessageBoxSink(MessageBoxSink sink) { g_messageBoxSink = sink; }

int ShowMessageBox(HWND owner, const std::wstring& text, const std::wstring& caption, UINT type) {
  if (g_messageBoxSink) return g_messageBoxSink(owner, text, caption, type);
  return ::MessageBoxW(owner, text.c_str(), caption.c_str(), type);
}

void SetHelpSink(HelpSink sink) { g_helpSink = sink; }
HelpSink GetHelpSink() { return g_helpSink; }

void SetStringSource(StringSource source) { g_stringSource = source; }
StringSource GetStringSource() { return g_stringSource; }

void SetShellOpenSink(ShellOpenSink sink) { g_shellOpenSink = sink; }

void ShellOpen(const std::wstring& path) {
  if (g_shellOpenSink) {
    g_shellOpenSink(path);
    return;
  }
  ::ShellExecuteW(nullptr, nullptr, path.c_str(), nullptr, L".", SW_SHOWDEFAULT);
}

}  // namespace seams
