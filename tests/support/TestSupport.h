// What every test executable shares: the recorded message boxes and beeps, paths of the build
// and of test artifacts, and a scratch folder per test.
#pragma once

#include <windows.h>
#include <commctrl.h>
#include <string>
#include <vector>

namespace testing_support {

struct RecordedBox {
  HWND owner;
  std::wstring text;
  std::wstring caption;
  UINT type;
};

// Message boxes shown since the last Reset, and how the next ones are answered.
std::vector<RecordedBox>& Boxes();
std::vector<UINT>& Beeps();
void SetBoxAnswer(int answer);
void ResetRecords();

// The folder with OrvelManager.exe and OrvelRes64.dll (ORVEL_BIN_DIR, else the test program's
// own folder); the source tree (ORVEL_SOURCE_DIR, else the tree the test program was built
// from); the artifacts folder (screenshots and such kept for a person to look at).
std::wstring BinDir();
std::wstring SourceDir();
std::wstring ArtifactsDir();

// A new empty folder under the temporary folder, deleted with its contents by the destructor.
class ScratchDir {
public:
  ScratchDir();
  ~ScratchDir();
  ScratchDir(const ScratchDir&) = delete;
  ScratchDir& operator=(const ScratchDir&) = delete;
  const std::wstring& Path() const { return path_; }
  std::wstring File(const std::wstring& name) const { return path_ + L"\\" + name; }

private:
  std::wstring path_;
};

// The long form of a path (the temporary folder may come in its 8.3 form).
std::wstring LongPath(const std::wstring& path);

// Deletes a folder tree (no shell, no recycle bin).
void DeleteTree(const std::wstring& path);

bool WriteFileBytes(const std::wstring& path, const void* data, size_t size);
std::string ReadFileBytes(const std::wstring& path);

// Saves a picture of a window, frame included, as a 32-bit BMP file: the pictures kept for a
// person to look at. A window of this process is read from its own window DC, so another window
// lying over it does not show; another process's window is brought to the top and read from the
// screen.
bool SaveWindowImage(HWND window, const std::wstring& path);

// The least size a window lets itself be dragged to (its WM_GETMINMAXINFO answer).
SIZE LeastWindowSize(HWND window);

// A rectangle for a test window on the screen the test runs on: `offset` from the virtual
// screen's top-left corner, `wanted` in size but never smaller than `least`, and shrunk (not
// below `least`) and moved so that it lies inside the screen as far as the screen allows.
RECT RectOnScreen(POINT offset, SIZE wanted, SIZE least = {0, 0});

// Pumps this thread's messages for about `ms` milliseconds.
void PumpMessages(DWORD ms);

// Waits until input sent with SendInput has reached this thread's queue (left there), up to
// `ms`; false when none came.
bool WaitForQueuedInput(DWORD ms = 10000);

// The label a tree control shows for an item (a callback label is asked of the tree's owner).
std::wstring TreeItemText(HWND tree, HTREEITEM item);

// Whether the spooler names a default printer (./orvel test makes a CUPS-PDF one when it can).
bool HasDefaultPrinter();

// Whether GDI enumerates a font family of this name in this process.
bool GdiKnows(const std::wstring& family);

std::string Narrow(const std::wstring& s);

}  // namespace testing_support
