// The one folder scan of the program: a mix-in that an owner inherits once
// (class COwner : public CFolderWalkerImpl<COwner>) to walk the root folders in m_roots,
// optionally with their subfolders, and to hear of every file that matches one of m_patterns
// and passes the Explorer hidden-file rules.
//
// The owner provides
//   void OnFile();             every accepted file; m_path (the folder), m_fileName, m_pattern
//                              and m_findData describe it (an OnFile that returns bool ends
//                              the scan of that folder, all patterns, by returning false)
//   bool ShouldAbort();        polled before every file found when the walk runs on the caller's
//                              thread; true stops the walk with status kStatusAborted
//   bool AcceptFolder(DWORD);  optional: asked with a folder's attributes before a root or
//                              subfolder is scanned or entered (m_folderAsked is its path);
//                              false passes the folder over. An owner may take
//                              (DWORD, bool isRoot) instead.
//   bool AcceptFolderFiles();  optional: asked before the files of m_path are scanned, with
//                              m_folderAttributes holding its attributes; false passes over
//                              the folder's own files but still walks its subfolders
//   void OnWalkEnd();          optional: the last call on the worker thread of a threaded
//                              walk, after the closing beep
// (public, or the walker made a friend).
//
// Threads: with m_threaded set, Start runs the walk on a worker thread of its own and OnFile
// runs there; the owner stops it by storing a non-zero m_status and joins it with WaitForWalk
// (which Start and the destructor do too). An owner whose OnFile touches its own members
// calls WaitForWalk in its own destructor, since the walker's destructor runs after them. The
// walker holds no lock and posts nothing: an owner that shares data with its windows guards it
// itself, and posts rather than sends to a thread that may be waiting in WaitForWalk. Only
// m_status may be touched while a worker runs; the switches keep their values between walks.
//
// Paths keep the 260-character limit of the shell's path functions: a folder or file whose
// path would not fit is passed over, never walked under a cut path. A folder reached twice
// within one root's walk (a junction or symbolic link back up the tree or across it) is walked
// once.
#pragma once

#include <windows.h>
#include <process.h>
#include <shlobj.h>
#include <shlwapi.h>

#include <atomic>
#include <concepts>
#include <set>
#include <string>
#include <string_view>

#include "common/FolderIdentity.h"
#include "common/RegistryValue.h"
#include "common/Seams.h"
#include "framework/Handles.h"

template <class T>
class CFolderWalkerImpl {
public:
  // Values of m_status beside 0 (the walk goes on); an owner may store any other non-zero value.
  static constexpr int kStatusStopped = 1;    // the walker is going away with its walk running
  static constexpr int kStatusAborted = 2;    // the owner's ShouldAbort fired
  static constexpr int kStatusNoThread = -1;  // the worker thread could not be started

  std::wstring m_roots;     // root folders separated by "|"
  std::wstring m_patterns;  // file patterns separated by "|", such as "*.ttf|*.otf"
  BYTE m_recursive = 1;
  BYTE m_silent = 0;  // 0: the worker thread beeps when it ends
  UINT m_beepType = MB_ICONASTERISK;
  BYTE m_showHidden = 0;
  BYTE m_showSuperHidden = 0;
  BYTE m_threaded = 1;
  // 1: every subfolder whose name begins with a dot is passed over; 0: only "." and "..".
  BYTE m_skipDotFolders = 1;
  orv::ScopedHandle m_thread;  // the worker thread until it is joined
  std::atomic<int> m_status{0};
  std::wstring m_path;  // the folder being walked
  std::wstring m_folderAsked;  // the folder AcceptFolder is asked about
  std::wstring m_fileName;
  std::wstring m_pattern;
  WIN32_FIND_DATAW m_findData{};
  DWORD m_folderAttributes = 0;  // the attributes of m_path while it is walked

  // Reads the Explorer settings once.
  CFolderWalkerImpl() {
    SHELLFLAGSTATE state{};
    ::SHGetSettings(&state, SSF_SHOWSYSFILES);
    if (state.fShowSysFiles) return;
    m_showHidden = 1;
    DWORD superHidden = 0;
    const orv::ScopedKey key = OpenRegKey(HKEY_CURRENT_USER, kExplorerAdvancedKey, KEY_READ);
    if (ReadRegDword(key.Get(), L"ShowSuperHidden", superHidden) && superHidden != 0) m_showSuperHidden = 1;
  }

  CFolderWalkerImpl(const CFolderWalkerImpl&) = delete;
  CFolderWalkerImpl& operator=(const CFolderWalkerImpl&) = delete;

  ~CFolderWalkerImpl() {
    if (!m_thread) return;
    m_status = kStatusStopped;
    WaitForWalk();
  }

  // Starts a walk of m_roots: on a worker thread when m_threaded is set, otherwise on the
  // caller's thread, returning when it is done. A previous threaded walk is joined first.
  // False only when the worker thread could not be started (status kStatusNoThread).
  bool Start() {
    static_assert(requires(T& owner) {
      owner.OnFile();
      { owner.ShouldAbort() } -> std::convertible_to<bool>;
    }, "the owner of a folder walker provides OnFile() and ShouldAbort()");
    WaitForWalk();
    m_status = 0;
    if (!m_threaded) {
      WalkRoots();
      return true;
    }
    const uintptr_t thread = ::_beginthreadex(nullptr, 0, &CFolderWalkerImpl::ThreadProc, this, 0, nullptr);
    if (!thread) {
      m_status = kStatusNoThread;
      return false;
    }
    m_thread.Reset(reinterpret_cast<HANDLE>(thread));
    return true;
  }

  // Waits for a threaded walk to end and closes its thread handle. Called by the owner's
  // thread, never from OnFile.
  void WaitForWalk() {
    if (!m_thread) return;
    ::WaitForSingleObject(m_thread.Get(), INFINITE);
    m_thread.Reset();
  }

  // True while a worker thread walks.
  bool IsWalking() const {
    return m_thread && ::WaitForSingleObject(m_thread.Get(), 0) == WAIT_TIMEOUT;
  }

  // The worker thread: the walk, the closing beep unless silent, the status as exit code.
  static unsigned __stdcall ThreadProc(void* param) {
    auto* walker = static_cast<CFolderWalkerImpl*>(param);
    walker->WalkRoots();
    if (!walker->m_silent) seams::Beep(walker->m_beepType);
    const unsigned status = static_cast<unsigned>(walker->m_status.load());
    if constexpr (requires(T& owner) { owner.OnWalkEnd(); }) walker->Owner().OnWalkEnd();
    return status;
  }

  // Walks each non-empty root of m_roots that exists, until the status turns non-zero.
  void WalkRoots() {
    const std::wstring roots = m_roots;
    ForEachField(roots, [this](std::wstring_view root) {
      if (!NormaliseRoot(root, m_path)) return true;
      if (!::PathFileExistsW(m_path.c_str())) return m_status == 0;
      m_folderAttributes = ::GetFileAttributesW(m_path.c_str());
      m_folderAsked = m_path;
      if (AskAcceptFolder(m_folderAttributes, true)) Recurse();
      return m_status == 0;
    });
  }

  // Scans m_path and, when recursive, every subfolder whose name does not begin with a dot, or
  // with m_skipDotFolders clear every subfolder but "." and ".." (hidden and system folders
  // included). Returns the status.
  int Recurse() {
    if (m_depth == 0) m_visited.clear();
    if (!EnterOnce()) return m_status;
    if (AskAcceptFolderFiles()) ScanFolder();
    const int status = m_status;
    if (status != 0 || !m_recursive) return status;
    std::wstring search;
    if (!JoinPath(m_path, L"*.*", search)) return 0;
    WIN32_FIND_DATAW entry;
    orv::ScopedFindHandle find(::FindFirstFileW(search.c_str(), &entry));
    if (!find) return 0;
    do {
      if (!(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) || IsSkippedFolderName(entry.cFileName)) continue;
      std::wstring child;
      if (!JoinPath(m_path, entry.cFileName, child)) continue;
      m_folderAsked = child;
      if (!AskAcceptFolder(entry.dwFileAttributes, false)) continue;
      std::wstring parent = std::move(m_path);
      m_path = std::move(child);
      m_folderAttributes = entry.dwFileAttributes;
      const int result = RecurseDeeper();
      m_path = std::move(parent);
      if (result != 0) return result;
    } while (::FindNextFileW(find.Get(), &entry));
    return 0;
  }

  // Reports the files of m_path pattern by pattern, each in the order the system lists them;
  // a file that matches two patterns is reported twice.
  void ScanFolder() {
    const std::wstring patterns = m_patterns;
    ForEachField(patterns, [this](std::wstring_view pattern) {
      m_pattern.assign(pattern);
      std::wstring search;
      if (!JoinPath(m_path, m_pattern, search)) return true;
      orv::ScopedFindHandle find(::FindFirstFileW(search.c_str(), &m_findData));
      if (!find) return true;
      do {
        if (!m_threaded && Owner().ShouldAbort()) {
          m_status = kStatusAborted;
          return false;
        }
        if (m_status != 0) return false;
        if (m_findData.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
        // The owner joins folder and name itself; a name that would not fit is passed over.
        if (!FitsInPath(m_path, m_findData.cFileName)) continue;
        m_fileName = m_findData.cFileName;
        if (!IsFileShown(m_findData.dwFileAttributes)) continue;
        if constexpr (std::same_as<decltype(Owner().OnFile()), bool>) {
          if (!Owner().OnFile()) return false;
        } else {
          Owner().OnFile();
        }
      } while (::FindNextFileW(find.Get(), &m_findData));
      return true;
    });
  }

  // The Explorer rules: everything with show super-hidden; otherwise never a file both hidden
  // and system, and a hidden one only with show hidden.
  bool IsFileShown(DWORD attributes) const {
    if (m_showSuperHidden) return true;
    constexpr DWORD kSuperHidden = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
    if ((attributes & kSuperHidden) == kSuperHidden) return false;
    return m_showHidden || !(attributes & FILE_ATTRIBUTE_HIDDEN);
  }

  // folder + "\" + name (no second backslash after a root) when that fits in MAX_PATH
  // characters with its terminator; otherwise false and `out` unchanged.
  static bool JoinPath(const std::wstring& folder, std::wstring_view name, std::wstring& out) {
    if (folder.empty() || name.empty() || !FitsInPath(folder, name)) return false;
    std::wstring joined = folder;
    if (joined.back() != L'\\') joined += L'\\';
    joined += name;
    out = std::move(joined);
    return true;
  }

  static bool FitsInPath(const std::wstring& folder, std::wstring_view name) {
    const size_t separator = !folder.empty() && folder.back() == L'\\' ? 0 : 1;
    return folder.size() + separator + name.size() < MAX_PATH;
  }

  // A root as the walk keeps it: a drive root with its backslash, any other folder without
  // (PathAddBackslashW, then PathRemoveBackslashW unless PathIsRootW), within MAX_PATH.
  static bool NormaliseRoot(std::wstring_view root, std::wstring& out) {
    if (root.empty() || root.size() >= MAX_PATH) return false;
    std::wstring path(root);
    if (path.back() != L'\\') {
      if (path.size() + 1 >= MAX_PATH) return false;
      path += L'\\';
    }
    if (!::PathIsRootW(path.c_str())) path.pop_back();
    out = std::move(path);
    return true;
  }

  // A folder's identity on its volume, the same through every link that leads to it.
  using FolderId = FileIdentity;

  // The identity of an existing folder; false when it cannot be read.
  static bool ReadFolderId(const std::wstring& folder, FolderId& id) { return ReadFileIdentity(folder, id); }

private:
  static constexpr const wchar_t* kExplorerAdvancedKey = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Advanced";

  T& Owner() { return static_cast<T&>(*this); }

  bool AskAcceptFolder(DWORD attributes, bool isRoot) {
    if constexpr (requires(T& owner, DWORD a, bool r) {
                    { owner.AcceptFolder(a, r) } -> std::convertible_to<bool>;
                  })
      return Owner().AcceptFolder(attributes, isRoot);
    else if constexpr (requires(T& owner, DWORD a) {
                         { owner.AcceptFolder(a) } -> std::convertible_to<bool>;
                       })
      return Owner().AcceptFolder(attributes);
    else
      return true;
  }

  bool AskAcceptFolderFiles() {
    if constexpr (requires(T& owner) {
                    { owner.AcceptFolderFiles() } -> std::convertible_to<bool>;
                  })
      return Owner().AcceptFolderFiles();
    else
      return true;
  }

  bool IsSkippedFolderName(const wchar_t* name) const {
    if (name[0] != L'.') return false;
    if (m_skipDotFolders) return true;
    return name[1] == L'\0' || (name[1] == L'.' && name[2] == L'\0');
  }

  int RecurseDeeper() {
    struct Step {
      int& depth;
      explicit Step(int& d) : depth(++d) {}
      ~Step() { --depth; }
    } step(m_depth);
    return Recurse();
  }

  // Calls `field` with every non-empty "|"-separated field of `list` until it returns false.
  template <class F>
  static void ForEachField(std::wstring_view list, F&& field) {
    size_t begin = 0;
    while (begin <= list.size()) {
      size_t end = list.find(L'|', begin);
      if (end == std::wstring_view::npos) end = list.size();
      if (end > begin && !field(list.substr(begin, end - begin))) return;
      begin = end + 1;
    }
  }

  // False when m_path was walked already in this root's walk. A folder whose identity cannot
  // be read is walked unless it is a reparse point, which could lead back into the tree.
  bool EnterOnce() {
    FolderId id{};
    if (!ReadFolderId(m_path, id)) {
      const DWORD attributes = ::GetFileAttributesW(m_path.c_str());
      return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_REPARSE_POINT);
    }
    return m_visited.insert(id).second;
  }

  std::set<FolderId> m_visited;  // folders of the current root's walk
  int m_depth = 0;
};
