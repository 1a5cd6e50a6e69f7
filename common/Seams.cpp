#include "common/Seams.h"

#include <shellapi.h>

namespace seams {

namespace {
MessageBoxSink g_messageBoxSink = nullptr;
StringSource g_stringSource = nullptr;
HelpSink g_helpSink = nullptr;
std::wstring g_charNameLibrary;
ShellOpenSink g_shellOpenSink = nullptr;
ProgramStartSink g_programStartSink = nullptr;
const SystemCalls* g_systemCalls = nullptr;
FontFamilyEnumerator g_fontFamilyEnumerator = nullptr;
}  // namespace

void SetMessageBoxSink(MessageBoxSink sink) { g_messageBoxSink = sink; }

int ShowMessageBox(HWND owner, const std::wstring& text, const std::wstring& caption, UINT type) {
  if (g_messageBoxSink) return g_messageBoxSink(owner, text, caption, type);
  return ::MessageBoxW(owner, text.c_str(), caption.c_str(), type);
}

void SetHelpSink(HelpSink sink) { g_helpSink = sink; }
HelpSink GetHelpSink() { return g_helpSink; }

void SetProgramStartSink(ProgramStartSink sink) { g_programStartSink = sink; }

bool StartProgram(SHELLEXECUTEINFOW& info) {
  if (g_programStartSink) return g_programStartSink(info);
  return ::ShellExecuteExW(&info) != FALSE;
}

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

void SetCharNameLibrary(const std::wstring& path) { g_charNameLibrary = path; }
const std::wstring& GetCharNameLibrary() { return g_charNameLibrary; }

void SetSystemCalls(const SystemCalls* calls) { g_systemCalls = calls; }

int AddFontResource(const wchar_t* path) {
  if (g_systemCalls && g_systemCalls->addFontResource) return g_systemCalls->addFontResource(path);
  return ::AddFontResourceW(path);
}

BOOL RemoveFontResource(const wchar_t* path) {
  if (g_systemCalls && g_systemCalls->removeFontResource) return g_systemCalls->removeFontResource(path);
  return ::RemoveFontResourceW(path);
}

LSTATUS SetRegValue(HKEY key, const wchar_t* name, DWORD type, const BYTE* data, DWORD size) {
  if (g_systemCalls && g_systemCalls->setRegValue) return g_systemCalls->setRegValue(key, name, type, data, size);
  return ::RegSetValueExW(key, name, 0, type, data, size);
}

LSTATUS DeleteRegValue(HKEY key, const wchar_t* name) {
  if (g_systemCalls && g_systemCalls->deleteRegValue) return g_systemCalls->deleteRegValue(key, name);
  return ::RegDeleteValueW(key, name);
}

int FileOperation(SHFILEOPSTRUCTW& operation) {
  if (g_systemCalls && g_systemCalls->fileOperation) return g_systemCalls->fileOperation(&operation);
  return ::SHFileOperationW(&operation);
}

void SetFontFamilyEnumerator(FontFamilyEnumerator enumerator) { g_fontFamilyEnumerator = enumerator; }

int EnumFontFamilies(HDC dc, LOGFONTW* logFont, FONTENUMPROCW proc, LPARAM param, DWORD flags) {
  if (g_fontFamilyEnumerator) return g_fontFamilyEnumerator(dc, logFont, proc, param, flags);
  return ::EnumFontFamiliesExW(dc, logFont, proc, param, flags);
}

LSTATUS WriteJournalValue(HKEY key, const wchar_t* name, DWORD type, const BYTE* data, DWORD size) {
  if (g_systemCalls && g_systemCalls->writeJournalValue)
    return g_systemCalls->writeJournalValue(key, name, type, data, size);
  return ::RegSetValueExW(key, name, 0, type, data, size);
}

}  // namespace seams
