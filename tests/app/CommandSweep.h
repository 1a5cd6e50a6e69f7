// Runs one command of the real main window the way the user's click or key sends it and keeps
// what it left behind: the modal windows it opened (each cancelled again at once), the tool
// windows it opened (each closed again, which must empty its slot), the popup menu it showed
// (its items read, then closed), and the requests that would have left the process (help,
// programs and folders opened, file operations, message boxes). The tests of the command table
// check each command's effect against it.
#pragma once

#include <windows.h>

#include <functional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "tests/support/TestSupport.h"

namespace command_sweep {

// A window that a command opened: the class of the object behind it (or its caption in quotes
// for the system's dialogs) and its caption; for the tabbed tool frames the captions of their
// tabs, for the search dialog whether it searches for similar fonts.
struct SeenWindow {
  std::string kind;
  std::wstring caption;
  std::vector<std::wstring> tabs;
  std::vector<int> controls;  // the identifiers of every window inside it
  bool similarSearch = false;
  [[nodiscard]] bool HasControl(int id) const;
};

// One item of a popup menu the command showed.
struct SeenMenuItem {
  UINT id;
  bool enabled;
};

struct Outcome {
  std::vector<SeenWindow> modal;
  std::vector<SeenWindow> tools;
  std::vector<SeenMenuItem> menu;
  bool menuShown = false;
  std::vector<std::pair<UINT, DWORD_PTR>> help;  // HTML Help command and data
  std::vector<std::wstring> opened;               // folders or pages opened with the shell
  std::vector<std::wstring> started;              // programs started: verb|file
  std::vector<std::wstring> fileOperations;       // operation|first source
  std::vector<std::wstring> systemCalls;          // font resources and font registration: call|argument
  std::vector<testing_support::RecordedBox> boxes;
  std::vector<UINT> beeps;
  bool toolSlotsEmpty = true;  // every tool window it opened emptied its slot when closed
  std::string Describe() const;
};

// Sets the sinks of help, program starts, shell opens, file operations and the system calls of
// font installs for its lifetime. The file operations are answered as cancelled by the user, the
// font resource and registration calls as refused, so that no file, font or registry value
// changes.
class SweepSinks {
public:
  SweepSinks();
  ~SweepSinks();
  SweepSinks(const SweepSinks&) = delete;
  SweepSinks& operator=(const SweepSinks&) = delete;
};

// Sends a command by `send`, pumps what it posted, closes what it opened; `toolsEmpty` tells
// whether the main window's tool slots are all empty again once the tools are closed.
Outcome RunCommand(const std::function<void()>& send, const std::function<bool()>& toolsEmpty);

// The visible top-level windows of this thread.
std::set<HWND> ThreadWindows();

}  // namespace command_sweep
