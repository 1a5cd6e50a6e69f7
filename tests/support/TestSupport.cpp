#include "tests/support/TestSupport.h"

#include <commctrl.h>
#include <shlwapi.h>
#include <winspool.h>

#include "framework/Handles.h"
#include "common/UnicodeText.h"

#include <algorithm>
#include <atomic>
#include <cstdio>

namespace testing_support {

namespace {
std::vector<RecordedBox> g_boxes;
std::vector<UINT> g_beeps;
int g_answer = IDOK;

std::wstring EnvOr(const wchar_t* name, const std::wstring& fallback) {
  wchar_t buffer[MAX_PATH] = {};
  const DWORD n = ::GetEnvironmentVariableW(name, buffer, MAX_PATH);
  if (n == 0 || n >= MAX_PATH) return fallback;
  return buffer;
}

std::wstring ExeDir() {
  wchar_t path[MAX_PATH] = {};
  ::GetModuleFileNameW(nullptr, path, MAX_PATH);
  ::PathRemoveFileSpecW(path);
  return path;
}

// Paths from the build arrive as Unix paths; Wine maps them through drive Z:.
std::wstring FromUnixPath(std::wstring p) {
  if (!p.empty() && p[0] == L'/') {
    for (wchar_t& c : p)
      if (c == L'/') c = L'\\';
    p = L"Z:" + p;
  }
  return p;
}
}  // namespace

std::vector<RecordedBox>& Boxes() { return g_boxes; }
std::vector<UINT>& Beeps() { return g_beeps; }
void SetBoxAnswer(int answer) { g_answer = answer; }
int BoxAnswer() { return g_answer; }

void ResetRecords() {
  g_boxes.clear();
  g_beeps.clear();
  g_answer = IDOK;
}

std::wstring BinDir() { return FromUnixPath(EnvOr(L"ORVEL_BIN_DIR", ExeDir())); }
// Without ORVEL_SOURCE_DIR (a test program run by hand, from build/bin or a copy of it) the
// source tree is the one the program was built from.
std::wstring SourceDir() { return FromUnixPath(EnvOr(L"ORVEL_SOURCE_DIR", L"" ORVEL_RECORDED_SOURCE_DIR)); }

std::wstring ArtifactsDir() {
  std::wstring dir = FromUnixPath(EnvOr(L"ORVEL_ARTIFACTS", ExeDir() + L"\\artifacts"));
  ::CreateDirectoryW(dir.c_str(), nullptr);
  return dir;
}

ScratchDir::ScratchDir() {
  static std::atomic<int> counter{0};
  wchar_t temp[MAX_PATH] = {};
  ::GetTempPathW(MAX_PATH, temp);
  wchar_t name[64];
  std::swprintf(name, 64, L"orvel_test_%lu_%d", ::GetCurrentProcessId(), counter++);
  path_ = std::wstring(temp) + name;
  DeleteTree(path_);
  ::CreateDirectoryW(path_.c_str(), nullptr);
}

ScratchDir::~ScratchDir() { DeleteTree(path_); }

std::wstring LongPath(const std::wstring& path) {
  wchar_t buffer[MAX_PATH] = {};
  const DWORD n = ::GetLongPathNameW(path.c_str(), buffer, MAX_PATH);
  return n > 0 && n < MAX_PATH ? std::wstring(buffer) : path;
}

void DeleteTree(const std::wstring& path) {
  WIN32_FIND_DATAW fd;
  HANDLE find = ::FindFirstFileW((path + L"\\*").c_str(), &fd);
  if (find != INVALID_HANDLE_VALUE) {
    do {
      const std::wstring name = fd.cFileName;
      if (name == L"." || name == L"..") continue;
      const std::wstring child = path + L"\\" + name;
      if ((fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && (fd.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
        // A link to a folder goes, not what it points to (a link loop would never end).
        if (!::RemoveDirectoryW(child.c_str())) ::DeleteFileW(child.c_str());
      } else if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        DeleteTree(child);
      } else {
        ::SetFileAttributesW(child.c_str(), FILE_ATTRIBUTE_NORMAL);
        ::DeleteFileW(child.c_str());
      }
    } while (::FindNextFileW(find, &fd));
    ::FindClose(find);
  }
  ::RemoveDirectoryW(path.c_str());
}

bool WriteFileBytes(const std::wstring& path, const void* data, size_t size) {
  HANDLE f = ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (f == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  const bool ok = ::WriteFile(f, data, static_cast<DWORD>(size), &written, nullptr) && written == size;
  ::CloseHandle(f);
  return ok;
}

std::string ReadFileBytes(const std::wstring& path) {
  HANDLE f = ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (f == INVALID_HANDLE_VALUE) return {};
  std::string data;
  char buffer[65536];
  DWORD got = 0;
  while (::ReadFile(f, buffer, sizeof(buffer), &got, nullptr) && got) data.append(buffer, got);
  ::CloseHandle(f);
  return data;
}

namespace {

// Copies w x h pixels from (x, y) of `source` into a BMP file.
bool SaveDCArea(HDC source, int x, int y, int w, int h, const std::wstring& path) {
  if (!source || w <= 0 || h <= 0) return false;
  BITMAPINFO bi{};
  bi.bmiHeader = {sizeof(BITMAPINFOHEADER), w, h, 1, 32, BI_RGB};
  void* bits = nullptr;
  orv::ScopedBitmap shot(::CreateDIBSection(source, &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
  orv::ScopedCreatedDC dc(::CreateCompatibleDC(source));
  if (!shot || !dc) return false;
  {
    orv::ScopedSelectObject select(dc.Get(), shot.Get());
    ::BitBlt(dc.Get(), 0, 0, w, h, source, x, y, SRCCOPY);
    ::GdiFlush();
  }
  const DWORD bytes = static_cast<DWORD>(w) * static_cast<DWORD>(h) * 4;
  for (DWORD i = 0; i < bytes / 4; ++i) static_cast<DWORD*>(bits)[i] |= 0xFF000000u;
  const DWORD header = sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER);
  BITMAPFILEHEADER file{0x4D42, header + bytes, 0, 0, header};
  std::string out(reinterpret_cast<const char*>(&file), sizeof(file));
  out.append(reinterpret_cast<const char*>(&bi.bmiHeader), sizeof(BITMAPINFOHEADER));
  out.append(static_cast<const char*>(bits), bytes);
  ::CreateDirectoryW(ArtifactsDir().c_str(), nullptr);
  return WriteFileBytes(path, out.data(), out.size());
}

}  // namespace

SIZE LeastWindowSize(HWND window) {
  MINMAXINFO info{};
  ::SendMessageW(window, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
  return {info.ptMinTrackSize.x, info.ptMinTrackSize.y};
}

RECT RectOnScreen(POINT offset, SIZE wanted, SIZE least) {
  const int left = ::GetSystemMetrics(SM_XVIRTUALSCREEN), top = ::GetSystemMetrics(SM_YVIRTUALSCREEN);
  const int width = ::GetSystemMetrics(SM_CXVIRTUALSCREEN), height = ::GetSystemMetrics(SM_CYVIRTUALSCREEN);
  // The size: as wanted, at most the screen less the offset, never below the least size.
  const int w = std::max<int>(least.cx, std::min<int>(wanted.cx, width - offset.x));
  const int h = std::max<int>(least.cy, std::min<int>(wanted.cy, height - offset.y));
  // The place: at the offset, moved back left and up as far as needed to stay inside.
  const int x = left + std::max(0, std::min<int>(offset.x, width - w));
  const int y = top + std::max(0, std::min<int>(offset.y, height - h));
  return RECT{x, y, x + w, y + h};
}

bool SaveWindowImage(HWND window, const std::wstring& path) {
  RECT rc{};
  if (!::GetWindowRect(window, &rc)) return false;
  const int w = rc.right - rc.left, h = rc.bottom - rc.top;
  DWORD process = 0;
  ::GetWindowThreadProcessId(window, &process);
  if (process == ::GetCurrentProcessId()) {
    // Wine keeps the pixels of each top-level window apart from the screen: the window DC reads
    // the window's own, whatever lies over it on the screen.
    ::RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_UPDATENOW | RDW_ALLCHILDREN);
    HDC dc = ::GetWindowDC(window);
    const bool saved = SaveDCArea(dc, 0, 0, w, h, path);
    ::ReleaseDC(window, dc);
    return saved;
  }
  // Another process's pixels can be read only from the screen: put its window on top first.
  ::SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  ::Sleep(200);
  orv::ScopedGetDC screen(nullptr);
  const bool saved = SaveDCArea(screen.Get(), rc.left, rc.top, w, h, path);
  ::SetWindowPos(window, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  return saved;
}

std::wstring TreeItemText(HWND tree, HTREEITEM item) {
  wchar_t text[MAX_PATH] = {};
  TVITEMW tvi{};
  tvi.mask = TVIF_TEXT;
  tvi.hItem = item;
  tvi.pszText = text;
  tvi.cchTextMax = MAX_PATH;
  ::SendMessageW(tree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&tvi));
  return text;
}

bool HasDefaultPrinter() {
  DWORD size = 0;
  ::GetDefaultPrinterW(nullptr, &size);
  return size > 0;
}

void PumpMessages(DWORD ms) {
  const ULONGLONG end = ::GetTickCount64() + ms;
  do {
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      ::TranslateMessage(&msg);
      ::DispatchMessageW(&msg);
    }
    ::Sleep(5);
  } while (::GetTickCount64() < end);
}

bool WaitForQueuedInput(DWORD ms) {
  const ULONGLONG end = ::GetTickCount64() + ms;
  MSG msg;
  while (!::PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_INPUT)) {
    if (::GetTickCount64() >= end) return false;
    ::Sleep(5);
  }
  return true;
}

namespace {
int CALLBACK NoteFace(const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM found) {
  *reinterpret_cast<bool*>(found) = true;
  return 0;
}
}  // namespace

bool GdiKnows(const std::wstring& family) {
  HDC dc = ::GetDC(nullptr);
  LOGFONTW lf{};
  lf.lfCharSet = DEFAULT_CHARSET;
  wcsncpy(lf.lfFaceName, family.c_str(), LF_FACESIZE - 1);
  bool found = false;
  ::EnumFontFamiliesExW(dc, &lf, &NoteFace, reinterpret_cast<LPARAM>(&found), 0);
  ::ReleaseDC(nullptr, dc);
  return found;
}

std::string Narrow(const std::wstring& s) { return Utf16ToUtf8(s); }

}  // namespace testing_support
