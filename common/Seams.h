// The few places where a test steers what the program would otherwise ask of the user or the
// machine: message boxes, beeps (framework/Beep.h), help requests, web addresses opened and the
// source of resource strings. The program itself never sets them; each defaults to the real
// system call.
#pragma once

#include <windows.h>
#include <shellapi.h>
#include <string>

#include "framework/Beep.h"  // the beep, whose seam the window layer holds

namespace seams {

// Shows a message box, or hands it to the test's sink, which answers in its place.
using MessageBoxSink = int (*)(HWND owner, const std::wstring& text, const std::wstring& caption, UINT type);
void SetMessageBoxSink(MessageBoxSink sink);
int ShowMessageBox(HWND owner, const std::wstring& text, const std::wstring& caption, UINT type);

// A help request (HtmlHelpW's owner, file, command and data) handed to the test's sink instead
// of HTML Help.
using HelpSink = void (*)(HWND owner, const std::wstring& file, UINT command, DWORD_PTR data);
void SetHelpSink(HelpSink sink);
HelpSink GetHelpSink();

// Starts a program with the shell (ShellExecuteExW), or hands the request to the test's sink,
// whose answer stands for the shell's.
using ProgramStartSink = bool (*)(const SHELLEXECUTEINFOW& info);
void SetProgramStartSink(ProgramStartSink sink);
bool StartProgram(SHELLEXECUTEINFOW& info);

// Opens a web address with the shell (ShellExecuteW "open"), or hands it to the test's sink.
using ShellOpenSink = void (*)(HWND owner, const std::wstring& target);
void SetShellOpenSink(ShellOpenSink sink);
void ShellOpen(HWND owner, const std::wstring& target);

// Where resource strings come from; null: the resource instance's string table.
using StringSource = std::wstring (*)(UINT id);
void SetStringSource(StringSource source);
StringSource GetStringSource();

// The library the character map reads character names from; empty: the system's getuname.dll.
void SetCharNameLibrary(const std::wstring& path);
const std::wstring& GetCharNameLibrary();

// The system calls that install and uninstall fonts and move their files: the font resource
// calls, the registry writes of the font registration and the markers, the writes of the
// group commands' journal and the shell's file operation. A test gives a table whose non-null
// entries answer in place of the system (to make one step fail); null restores the system calls.
struct SystemCalls {
  int (*addFontResource)(const wchar_t* path) = nullptr;
  BOOL (*removeFontResource)(const wchar_t* path) = nullptr;
  LSTATUS (*setRegValue)(HKEY key, const wchar_t* name, DWORD type, const BYTE* data, DWORD size) = nullptr;
  LSTATUS (*deleteRegValue)(HKEY key, const wchar_t* name) = nullptr;
  int (*fileOperation)(SHFILEOPSTRUCTW* operation) = nullptr;
  LSTATUS (*writeJournalValue)(HKEY key, const wchar_t* name, DWORD type, const BYTE* data, DWORD size) = nullptr;
};
void SetSystemCalls(const SystemCalls* calls);
int AddFontResource(const wchar_t* path);
BOOL RemoveFontResource(const wchar_t* path);
LSTATUS SetRegValue(HKEY key, const wchar_t* name, DWORD type, const BYTE* data, DWORD size);
LSTATUS DeleteRegValue(HKEY key, const wchar_t* name);
int FileOperation(SHFILEOPSTRUCTW& operation);
LSTATUS WriteJournalValue(HKEY key, const wchar_t* name, DWORD type, const BYTE* data, DWORD size);

// The enumeration of the font families that the display font's face lookup asks for
// (EnumFontFamiliesExW), or the test's enumerator, which counts them and passes them on.
using FontFamilyEnumerator = int (*)(HDC dc, LOGFONTW* logFont, FONTENUMPROCW proc, LPARAM param, DWORD flags);
void SetFontFamilyEnumerator(FontFamilyEnumerator enumerator);
int EnumFontFamilies(HDC dc, LOGFONTW* logFont, FONTENUMPROCW proc, LPARAM param, DWORD flags);

}  // namespace seams
