// The one message-box routine of the program: caption and text by string identifier, the
// system's text for an error code, a detail line, and an optional question whether to restart
// with administrator rights (a Yes posts the restart command to the main window).
// Main thread only.
#pragma once

#include <windows.h>
#include <string>

// Builds the text the box shows: text string + "\n", system error text + "\n",
// "\n(" detail ")" (a detail that holds a line break, a list, as "\n" detail), and "\n\n" + the
// restart question.
std::wstring BuildAppMessageText(UINT textId, DWORD systemError, const wchar_t* detail, bool askRestart);

void AppMessageBox(HWND owner, UINT type, UINT captionId, UINT textId, DWORD systemError = 0,
                   const wchar_t* detail = nullptr, bool askRestart = false);

// One line of a list of failures in a message: "<name>: <reason>", and " (<system text>)" for
// a system error.
std::wstring FailureLine(const std::wstring& name, UINT reasonId, DWORD systemError);
