#include "lists/ClipboardFileDrop.h"

#include <shellapi.h>
#include <shlobj.h>

#include <cstring>

namespace {

class ClipboardOpen {
public:
  explicit ClipboardOpen(HWND owner) : open_(::OpenClipboard(owner) != FALSE) {}
  ~ClipboardOpen() {
    if (open_) ::CloseClipboard();
  }
  ClipboardOpen(const ClipboardOpen&) = delete;
  ClipboardOpen& operator=(const ClipboardOpen&) = delete;
  explicit operator bool() const { return open_; }

private:
  bool open_;
};

}  // namespace

bool WriteFileDropToClipboard(HWND owner, const std::vector<std::wstring>& paths) {
  std::wstring list;
  for (const std::wstring& path : paths) {
    list += path;
    list.push_back(L'\0');
  }
  list.push_back(L'\0');
  const size_t bytes = sizeof(DROPFILES) + list.size() * sizeof(wchar_t);
  ClipboardOpen clipboard(owner);
  if (!clipboard) return false;
  ::EmptyClipboard();
  HGLOBAL memory = ::GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, bytes);
  if (!memory) return false;
  auto* drop = static_cast<DROPFILES*>(::GlobalLock(memory));
  if (!drop) {
    ::GlobalFree(memory);
    return false;
  }
  drop->pFiles = sizeof(DROPFILES);
  drop->fWide = TRUE;
  std::memcpy(reinterpret_cast<BYTE*>(drop) + sizeof(DROPFILES), list.data(), list.size() * sizeof(wchar_t));
  ::GlobalUnlock(memory);
  if (!::SetClipboardData(CF_HDROP, memory)) {
    ::GlobalFree(memory);
    return false;
  }
  return true;
}

std::vector<std::wstring> ReadFileDropFromClipboard(HWND owner) {
  std::vector<std::wstring> paths;
  ClipboardOpen clipboard(owner);
  if (!clipboard) return paths;
  auto drop = static_cast<HDROP>(::GetClipboardData(CF_HDROP));
  if (!drop) return paths;
  const UINT count = ::DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
  for (UINT i = 0; i < count; ++i) {
    wchar_t path[MAX_PATH] = {};
    if (::DragQueryFileW(drop, i, path, MAX_PATH)) paths.emplace_back(path);
  }
  return paths;
}
