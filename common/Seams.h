// The few places where a test steers what the program would otherwise ask of the user or the
// machine: message boxes, beeps (framework/Beep.h), help requests and the source of resource
// strings. The program itself never sets them; each defaults to the real system call.
#pragma once

#include <windows.h>
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

// Where resource strings come from; null: the resource instance's string table.
using StringSource = std::wstring (*)(UINT id);
void SetStringSource(StringSource source);
StringSource GetStringSource();

// Opening a document with the shell's default verb (ShellExecuteW), or the test's sink instead.
using ShellOpenSink = void (*)(const std::wstring& path);
void SetShellOpenSink(ShellOpenSink sink);
void ShellOpen(const std::wstring& path);

}  // namespace seams
