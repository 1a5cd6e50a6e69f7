#include "common/Seams.h"

#include <shellapi.h>

namespace seams {

namespace {
MessageBoxSink g_messageBoxSink = nullptr;
BeepSink g_beepSink = nullptr;
StringSource g_stringSource = nullptr;
HelpSink g_helpSink = nullptr;
ShellOpenSink g_shellOpenSink = nullptr;
}  // namespace

void SetMessageBoxSink(MessageBoxSink sink) { g_messageBoxSink = sink; }

int ShowMessageBox(HWND owner, const std::wstring& text, const std::wstring& caption, UINT type) {
  if (g_messageBoxSink) return g_messageBoxSink(owner, text, caption, type);
  return ::MessageBoxW(owner, text.c_str(), caption.c_str(), type);
}

void SetBeepSink(BeepSink sink) { g_beepSink = sink; }

void Beep(UINT type) {
  if (g_beepSink) {
    g_beepSink(type);
    return;
  }
  ::MessageBeep(type);
}

void SetHelpSink(HelpSink sink) { g_helpSink = sink; }
HelpSink GetHelpSink() { return g_helpSink; }

void SetShellOpenSink(ShellOpenSink sink) { g_shellOpenSink = sink; }

void ShellOpen(HWND owner, const std::wstring& target) {
  if (g_shellOpenSink) {
    g_shellOpenSink(owner, target);
    return;
  }
  ::ShellExecuteW(owner, L"open", target.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

void SetStringSource(StringSource source) { g_stringSource = source; }
StringSource GetStringSource() { return g_stringSource; }

}  // namespace seams
