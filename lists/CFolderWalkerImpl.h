// TEMPORARY STUB (replaced by the real walker)
#pragma once
#include <windows.h>
#include <shlwapi.h>
#include <string>
template <class T>
class CFolderWalkerImpl {
public:
  std::wstring m_roots, m_patterns, m_path, m_fileName, m_pattern;
  bool m_recursive = true, m_silent = false, m_showHidden = false, m_showSuperHidden = false, m_threaded = true;
  UINT m_beepType = 64;
  int m_status = 0;
  WIN32_FIND_DATAW m_findData{};
  void Start() {
    m_status = 0;
    m_path = m_roots;
    size_t s = 0;
    std::wstring pats = m_patterns + L"|";
    while (s < pats.size()) {
      size_t e = pats.find(L'|', s);
      m_pattern = pats.substr(s, e - s);
      s = e + 1;
      WIN32_FIND_DATAW fd;
      HANDLE h = FindFirstFileW((m_path + L"\\" + m_pattern).c_str(), &fd);
      if (h == INVALID_HANDLE_VALUE) continue;
      do {
        if (!m_threaded && static_cast<T*>(this)->ShouldAbort()) { m_status = 2; FindClose(h); return; }
        if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
        m_fileName = fd.cFileName;
        static_cast<T*>(this)->OnFile();
      } while (FindNextFileW(h, &fd));
      FindClose(h);
    }
  }
};
