// What the shared helpers need to know of the running program: its main window (the owner of
// help requests and the receiver of the restart command) and its help file. The application's
// own record (`AppState`) is one and registers itself while the program starts; until then, and
// in a program without it, both are empty. Main thread only.
#pragma once

#include <windows.h>

#include <string>

struct AppShell {
  HWND MainWindow = nullptr;
  std::wstring HelpFilePath;  // the program's path with ".chm"
};

// Makes `shell` the record the helpers read (null: none).
void RegisterAppShell(const AppShell* shell);

// The registered record, or an empty one.
const AppShell& GetAppShell();
