// The folder walker over real folders under Wine: roots and their normalisation, patterns,
// recursion, the hidden-file rules and the Explorer settings behind them, aborts, the worker
// thread, paths at the 260-character limit and folders reached twice through links.
#include "lists/CFolderWalkerImpl.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cwchar>
#include <memory>
#include <set>
#include <vector>

#include "tests/support/TestSupport.h"

using testing_support::Narrow;
using testing_support::ScratchDir;

namespace {

struct Hit {
  std::wstring path, name, pattern;
  DWORD thread;
};

// An owner that records every file it hears of, without a folder filter.
struct Recorder : CFolderWalkerImpl<Recorder> {
  std::vector<Hit> hits;
  int abortCalls = 0;
  size_t abortAt = 0;   // non-zero: ShouldAbort answers true once this many files were reported
  size_t statusAt = 0;  // non-zero: OnFile stores statusValue at this many files
  int statusValue = 0;

  void OnFile() {
    hits.push_back({m_path, m_fileName, m_pattern, ::GetCurrentThreadId()});
    if (statusAt && hits.size() == statusAt) m_status = statusValue;
  }
  bool ShouldAbort() {
    ++abortCalls;
    return abortAt && hits.size() >= abortAt;
  }

  std::multiset<std::wstring> Files() const {
    std::multiset<std::wstring> out;
    for (const Hit& h : hits) out.insert(h.path + (h.path.back() == L'\\' ? L"" : L"\\") + h.name);
    return out;
  }
  std::multiset<std::wstring> Names() const {
    std::multiset<std::wstring> out;
    for (const Hit& h : hits) out.insert(h.name);
    return out;
  }
};

// An owner that refuses hidden folders, as the census does with the folders it leaves out.
struct Filtering : CFolderWalkerImpl<Filtering> {
  std::vector<std::wstring> names;
  std::vector<DWORD> asked;
  void OnFile() { names.push_back(m_fileName); }
  bool ShouldAbort() { return false; }
  bool AcceptFolder(DWORD attributes) {
    asked.push_back(attributes);
    return !(attributes & FILE_ATTRIBUTE_HIDDEN);
  }
};

void MakeFile(const std::wstring& path, DWORD attributes = 0) {
  ASSERT_TRUE(testing_support::WriteFileBytes(path, "x", 1)) << Narrow(path);
  if (attributes) {
    ASSERT_TRUE(::SetFileAttributesW(path.c_str(), attributes)) << Narrow(path);
  }
}

// Folder attributes go through the handle: Wine keeps them only that way.
void MakeFolder(const std::wstring& path, DWORD attributes = 0) {
  ASSERT_TRUE(::CreateDirectoryW(path.c_str(), nullptr)) << Narrow(path);
  if (!attributes) return;
  orv::ScopedHandle folder(::CreateFileW(path.c_str(), FILE_READ_ATTRIBUTES | FILE_WRITE_ATTRIBUTES,
                                         FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                         FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  ASSERT_TRUE(folder);
  FILE_BASIC_INFO info{};
  ASSERT_TRUE(::GetFileInformationByHandleEx(folder.Get(), FileBasicInfo, &info, sizeof(info)));
  info.FileAttributes = attributes | FILE_ATTRIBUTE_DIRECTORY;
  ASSERT_TRUE(::SetFileInformationByHandle(folder.Get(), FileBasicInfo, &info, sizeof(info)));
  ASSERT_EQ(::GetFileAttributesW(path.c_str()) & attributes, attributes);
}

void WalkHere(Recorder& walker, const std::wstring& roots, const std::wstring& patterns) {
  walker.m_threaded = 0;
  walker.m_roots = roots;
  walker.m_patterns = patterns;
  EXPECT_TRUE(walker.Start());
}

std::multiset<std::wstring> Set(std::initializer_list<std::wstring> items) { return {items}; }

}  // namespace

TEST(FolderWalker, ConstructionDefaults) {
  Recorder walker;
  EXPECT_EQ(walker.m_recursive, 1);
  EXPECT_EQ(walker.m_silent, 0);
  EXPECT_EQ(walker.m_beepType, static_cast<UINT>(MB_ICONASTERISK));
  EXPECT_EQ(walker.m_threaded, 1);
  EXPECT_FALSE(walker.m_thread);
  EXPECT_EQ(walker.m_status.load(), 0);
  EXPECT_FALSE(walker.IsWalking());
}

TEST(FolderWalker, RootNormalisationAndJoinsTable) {
  const struct {
    const wchar_t* root;
    const wchar_t* kept;
  } roots[] = {
      {L"C:", L"C:\\"},
      {L"C:\\", L"C:\\"},
      {L"C:\\Fonts", L"C:\\Fonts"},
      {L"C:\\Fonts\\", L"C:\\Fonts"},
      {L"\\", L"\\"},
  };
  for (const auto& row : roots) {
    std::wstring out;
    ASSERT_TRUE(Recorder::NormaliseRoot(row.root, out)) << Narrow(row.root);
    EXPECT_TRUE(out == row.kept) << Narrow(row.root) << " -> " << Narrow(out);
  }
  std::wstring out = L"unchanged";
  EXPECT_FALSE(Recorder::NormaliseRoot(std::wstring(MAX_PATH, L'a'), out));
  EXPECT_FALSE(Recorder::NormaliseRoot(L"C:\\" + std::wstring(MAX_PATH - 4, L'a'), out)) << "no room for the backslash";
  EXPECT_TRUE(out == L"unchanged");

  EXPECT_TRUE(Recorder::JoinPath(L"C:\\", L"*.ttf", out) && out == L"C:\\*.ttf");
  EXPECT_TRUE(Recorder::JoinPath(L"C:\\Fonts", L"a.ttf", out) && out == L"C:\\Fonts\\a.ttf");
  EXPECT_TRUE(Recorder::JoinPath(L"C:\\Fonts", L"..a", out) && out == L"C:\\Fonts\\..a") << "no canonicalisation";
  // 259 characters fit with the terminator; 260 do not.
  const std::wstring folder = L"C:\\" + std::wstring(250, L'f');  // 253 characters
  EXPECT_TRUE(Recorder::JoinPath(folder, L"a.ttf", out) && out.size() == 259);
  out = L"unchanged";
  EXPECT_FALSE(Recorder::JoinPath(folder, L"ab.ttf", out));
  EXPECT_FALSE(Recorder::JoinPath(folder, L"", out));
  EXPECT_FALSE(Recorder::JoinPath(L"", L"a.ttf", out));
  EXPECT_TRUE(out == L"unchanged");
}

TEST(FolderWalker, RootsWithEmptyFieldsAndMissingRoots) {
  ScratchDir dir;
  MakeFolder(dir.File(L"one"));
  MakeFolder(dir.File(L"two"));
  MakeFolder(dir.File(L"three"));
  MakeFile(dir.File(L"one\\a.ttf"));
  MakeFile(dir.File(L"two\\b.ttf"));
  MakeFile(dir.File(L"three\\c.ttf"));
  Recorder walker;
  WalkHere(walker, L"|" + dir.File(L"one") + L"||" + dir.File(L"missing") + L"|" + dir.File(L"two\\") + L"|", L"*.ttf");
  EXPECT_EQ(walker.Files(), Set({dir.File(L"one\\a.ttf"), dir.File(L"two\\b.ttf")}));
  ASSERT_EQ(walker.hits.size(), 2u);
  EXPECT_TRUE(walker.hits[0].path == dir.File(L"one"));
  EXPECT_TRUE(walker.hits[1].path == dir.File(L"two")) << "a folder root is walked without its backslash";
  EXPECT_EQ(walker.m_status.load(), 0);

  Recorder empty;
  WalkHere(empty, L"||", L"*.ttf");
  WalkHere(empty, L"", L"*.ttf");
  EXPECT_TRUE(empty.hits.empty());
}

TEST(FolderWalker, DriveRootKeepsItsBackslash) {
  ScratchDir dir;
  const std::wstring drive = dir.Path().substr(0, 2);  // "C:"
  wchar_t name[64];
  std::swprintf(name, 64, L"orvel_walker_%lu.walkprobe", ::GetCurrentProcessId());
  const std::wstring probe = drive + L"\\" + name;
  MakeFile(probe);
  MakeFile(dir.File(L"x.walkprobe"));
  Recorder walker;
  walker.m_recursive = 0;
  WalkHere(walker, dir.Path() + L"|" + drive, L"*.walkprobe");
  ::DeleteFileW(probe.c_str());
  ASSERT_EQ(walker.hits.size(), 2u);
  EXPECT_TRUE(walker.hits[0].path == dir.Path());
  EXPECT_TRUE(walker.hits[1].path == drive + L"\\") << Narrow(walker.hits[1].path);
  EXPECT_TRUE(walker.hits[1].name == name);
}

TEST(FolderWalker, RecursionDotFoldersAndHiddenFolders) {
  ScratchDir dir;
  MakeFile(dir.File(L"top.ttf"));
  MakeFolder(dir.File(L"sub"));
  MakeFile(dir.File(L"sub\\deep.ttf"));
  MakeFolder(dir.File(L"sub\\deeper"));
  MakeFile(dir.File(L"sub\\deeper\\deepest.ttf"));
  MakeFolder(dir.File(L".git"));
  MakeFile(dir.File(L".git\\dot.ttf"));
  MakeFolder(dir.File(L".hidden.d"));
  MakeFile(dir.File(L".hidden.d\\dot2.ttf"));
  MakeFolder(dir.File(L"Hid"), FILE_ATTRIBUTE_HIDDEN);
  MakeFile(dir.File(L"Hid\\plain.ttf"));
  MakeFile(dir.File(L"Hid\\secret.ttf"), FILE_ATTRIBUTE_HIDDEN);
  MakeFolder(dir.File(L"Sys"), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
  MakeFile(dir.File(L"Sys\\insys.ttf"));
  MakeFile(dir.File(L"a.ttf.d"));  // matched by no pattern

  {
    Recorder walker;
    walker.m_showHidden = 0;
    walker.m_showSuperHidden = 0;
    WalkHere(walker, dir.Path(), L"*.ttf");
    EXPECT_EQ(walker.Names(), Set({L"top.ttf", L"deep.ttf", L"deepest.ttf", L"plain.ttf", L"insys.ttf"}))
        << "hidden and system folders are entered, dot folders never; the hidden file needs show hidden";
    EXPECT_EQ(walker.abortCalls, 6) << "ShouldAbort before every file found, shown or not";
  }
  {
    Recorder walker;
    walker.m_showHidden = 1;
    walker.m_showSuperHidden = 0;
    WalkHere(walker, dir.Path(), L"*.ttf");
    EXPECT_EQ(walker.Names(), Set({L"top.ttf", L"deep.ttf", L"deepest.ttf", L"plain.ttf", L"secret.ttf", L"insys.ttf"}));
  }
  {
    Recorder walker;
    walker.m_recursive = 0;
    WalkHere(walker, dir.Path(), L"*.ttf");
    EXPECT_EQ(walker.Names(), Set({L"top.ttf"})) << "without recursion only the root itself";
  }
  {
    // A root whose name begins with a dot is walked: only subfolders are judged by name.
    Recorder walker;
    WalkHere(walker, dir.File(L".git"), L"*.ttf");
    EXPECT_EQ(walker.Names(), Set({L"dot.ttf"}));
  }
}

TEST(FolderWalker, HiddenAndSystemFileRulesTable) {
  ScratchDir dir;
  MakeFile(dir.File(L"plain.ttf"));
  MakeFile(dir.File(L"hidden.ttf"), FILE_ATTRIBUTE_HIDDEN);
  MakeFile(dir.File(L"both.ttf"), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
  MakeFile(dir.File(L"system.ttf"), FILE_ATTRIBUTE_SYSTEM);
  MakeFile(dir.File(L"readonly.ttf"), FILE_ATTRIBUTE_READONLY);
  const struct {
    BYTE showHidden, showSuperHidden;
    std::multiset<std::wstring> names;
  } table[] = {
      {0, 0, Set({L"plain.ttf", L"system.ttf", L"readonly.ttf"})},
      {1, 0, Set({L"plain.ttf", L"hidden.ttf", L"system.ttf", L"readonly.ttf"})},
      {0, 1, Set({L"plain.ttf", L"hidden.ttf", L"both.ttf", L"system.ttf", L"readonly.ttf"})},
      {1, 1, Set({L"plain.ttf", L"hidden.ttf", L"both.ttf", L"system.ttf", L"readonly.ttf"})},
  };
  for (const auto& row : table) {
    SCOPED_TRACE(testing::Message() << "hidden " << int(row.showHidden) << " super-hidden " << int(row.showSuperHidden));
    Recorder walker;
    walker.m_showHidden = row.showHidden;
    walker.m_showSuperHidden = row.showSuperHidden;
    WalkHere(walker, dir.Path(), L"*.ttf");
    EXPECT_EQ(walker.Names(), row.names);
  }
}

namespace {

// A registry value as it was, put back by the destructor (or deleted when it was missing).
class SavedRegValue {
public:
  SavedRegValue(HKEY key, const wchar_t* name) : key_(key), name_(name) {
    DWORD size = 0;
    if (::RegQueryValueExW(key_, name_, nullptr, &type_, nullptr, &size) != ERROR_SUCCESS) return;
    data_.resize(size);
    existed_ = ::RegQueryValueExW(key_, name_, nullptr, &type_, data_.data(), &size) == ERROR_SUCCESS;
  }
  ~SavedRegValue() {
    if (existed_)
      ::RegSetValueExW(key_, name_, 0, type_, data_.data(), static_cast<DWORD>(data_.size()));
    else
      ::RegDeleteValueW(key_, name_);
  }
  SavedRegValue(const SavedRegValue&) = delete;
  SavedRegValue& operator=(const SavedRegValue&) = delete;

private:
  HKEY key_;
  const wchar_t* name_;
  DWORD type_ = 0;
  std::vector<BYTE> data_;
  bool existed_ = false;
};

}  // namespace

// Under Wine, fShowSysFiles follows Explorer's "Hidden" value 2; the walker reads the flag from
// SHGetSettings and "ShowSuperHidden" itself only when the flag is clear.
TEST(FolderWalker, ConstructionReadsExplorerSettings) {
  orv::ScopedKey key;
  ASSERT_EQ(::RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Advanced", 0,
                              nullptr, 0, KEY_ALL_ACCESS, nullptr, key.Receive(), nullptr),
            ERROR_SUCCESS);
  const SavedRegValue savedHidden(key.Get(), L"Hidden");
  const SavedRegValue savedSuperHidden(key.Get(), L"ShowSuperHidden");

  ScratchDir dir;
  MakeFile(dir.File(L"plain.ttf"));
  MakeFile(dir.File(L"hidden.ttf"), FILE_ATTRIBUTE_HIDDEN);
  MakeFile(dir.File(L"both.ttf"), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);

  enum Kind { kMissing, kDword, kString };
  const struct {
    Kind hiddenKind;
    DWORD hidden;
    Kind superKind;
    DWORD super;
    BYTE showHidden, showSuperHidden;  // with fShowSysFiles clear
  } table[] = {
      {kMissing, 0, kMissing, 0, 1, 0},
      {kMissing, 0, kDword, 0, 1, 0},
      {kMissing, 0, kDword, 1, 1, 1},
      {kMissing, 0, kDword, 7, 1, 1},
      {kMissing, 0, kString, 1, 1, 0},  // not a REG_DWORD: as if missing
      {kDword, 2, kDword, 1, 0, 0},
      {kDword, 2, kDword, 0, 0, 0},
  };
  int rowsWithSysFiles = 0;
  for (const auto& row : table) {
    SCOPED_TRACE(testing::Message() << "Hidden " << row.hidden << " ShowSuperHidden " << row.super << " kinds "
                                    << row.hiddenKind << row.superKind);
    ::RegDeleteValueW(key.Get(), L"Hidden");
    ::RegDeleteValueW(key.Get(), L"ShowSuperHidden");
    if (row.hiddenKind == kDword) {
      ASSERT_TRUE(WriteRegDword(key.Get(), L"Hidden", row.hidden));
    }
    if (row.superKind == kDword) {
      ASSERT_TRUE(WriteRegDword(key.Get(), L"ShowSuperHidden", row.super));
    }
    if (row.superKind == kString) {
      ASSERT_TRUE(WriteRegString(key.Get(), L"ShowSuperHidden", L"1"));
    }

    SHELLFLAGSTATE state{};
    ::SHGetSettings(&state, SSF_SHOWSYSFILES);
    const bool sysFiles = state.fShowSysFiles != 0;
    rowsWithSysFiles += sysFiles;
    Recorder walker;
    EXPECT_EQ(walker.m_showHidden, sysFiles ? 0 : row.showHidden);
    EXPECT_EQ(walker.m_showSuperHidden, sysFiles ? 0 : row.showSuperHidden);

    WalkHere(walker, dir.Path(), L"*.ttf");
    if (sysFiles) {
      EXPECT_EQ(walker.Names(), Set({L"plain.ttf"}));
      // The folder list turns show hidden on for the system Fonts folder: hidden files, but
      // still no hidden system files.
      Recorder fontsFolder;
      fontsFolder.m_showHidden = 1;
      WalkHere(fontsFolder, dir.Path(), L"*.ttf");
      EXPECT_EQ(fontsFolder.Names(), Set({L"plain.ttf", L"hidden.ttf"}));
    } else if (row.showSuperHidden) {
      EXPECT_EQ(walker.Names(), Set({L"plain.ttf", L"hidden.ttf", L"both.ttf"}));
    } else {
      EXPECT_EQ(walker.Names(), Set({L"plain.ttf", L"hidden.ttf"}));
    }
  }
  EXPECT_GT(rowsWithSysFiles, 0) << "no row reached the fShowSysFiles branch";
  EXPECT_LT(rowsWithSysFiles, static_cast<int>(std::size(table)));
}

TEST(FolderWalker, AbortInTheSecondPatternStopsEverything) {
  ScratchDir dir;
  MakeFolder(dir.File(L"r1"));
  MakeFolder(dir.File(L"r2"));
  for (const wchar_t* name : {L"a1.ttf", L"a2.ttf", L"b1.otf", L"b2.otf", L"b3.otf"}) MakeFile(dir.File(L"r1\\") + name);
  MakeFolder(dir.File(L"r1\\sub"));
  MakeFile(dir.File(L"r1\\sub\\c.ttf"));
  MakeFile(dir.File(L"r2\\d.ttf"));

  Recorder walker;
  walker.abortAt = 3;  // two of the first pattern and one of the second
  WalkHere(walker, dir.File(L"r1") + L"|" + dir.File(L"r2"), L"*.ttf|*.otf");
  EXPECT_EQ(walker.m_status.load(), Recorder::kStatusAborted);
  ASSERT_EQ(walker.hits.size(), 3u);
  EXPECT_TRUE(walker.hits[0].pattern == L"*.ttf" && walker.hits[1].pattern == L"*.ttf");
  EXPECT_TRUE(walker.hits[2].pattern == L"*.otf");
  EXPECT_EQ(walker.abortCalls, 4);

  // The same walker runs again from status 0 with its switches kept.
  walker.hits.clear();
  walker.abortAt = 0;
  EXPECT_TRUE(walker.Start());
  EXPECT_EQ(walker.m_status.load(), 0);
  EXPECT_EQ(walker.Names(), Set({L"a1.ttf", L"a2.ttf", L"b1.otf", L"b2.otf", L"b3.otf", L"c.ttf", L"d.ttf"}));
}

TEST(FolderWalker, OwnerStatusStopsTheWalk) {
  ScratchDir dir;
  MakeFile(dir.File(L"a.ttf"));
  MakeFile(dir.File(L"b.ttf"));
  MakeFolder(dir.File(L"sub"));
  MakeFile(dir.File(L"sub\\c.ttf"));
  Recorder walker;
  walker.statusAt = 1;
  walker.statusValue = 9;
  WalkHere(walker, dir.Path() + L"|" + dir.Path(), L"*.ttf");
  EXPECT_EQ(walker.hits.size(), 1u);
  EXPECT_EQ(walker.m_status.load(), 9);
}

TEST(FolderWalker, FileMatchingTwoPatternsIsReportedTwice) {
  ScratchDir dir;
  MakeFile(dir.File(L"a.ttf"));
  MakeFile(dir.File(L"b.ttf"));
  MakeFile(dir.File(L"abc.otf"));
  Recorder walker;
  WalkHere(walker, dir.Path(), L"|*.ttf||a*|");
  ASSERT_EQ(walker.hits.size(), 4u);
  EXPECT_EQ(walker.Names(), Set({L"a.ttf", L"a.ttf", L"b.ttf", L"abc.otf"}));
  // Pattern by pattern: both of the first, then both of the second.
  EXPECT_TRUE(walker.hits[0].pattern == L"*.ttf" && walker.hits[1].pattern == L"*.ttf");
  EXPECT_TRUE(walker.hits[2].pattern == L"a*" && walker.hits[3].pattern == L"a*");
}

TEST(FolderWalker, FolderFilterOfTheOwner) {
  ScratchDir dir;
  MakeFolder(dir.File(L"root"));
  MakeFile(dir.File(L"root\\r.ttf"));
  MakeFolder(dir.File(L"root\\Keep"));
  MakeFile(dir.File(L"root\\Keep\\k.ttf"));
  MakeFolder(dir.File(L"root\\Keep\\Inner"));
  MakeFile(dir.File(L"root\\Keep\\Inner\\i.ttf"));
  MakeFolder(dir.File(L"root\\Hid"), FILE_ATTRIBUTE_HIDDEN);
  MakeFile(dir.File(L"root\\Hid\\h.ttf"));
  MakeFolder(dir.File(L"root\\Hid\\Deep"));
  MakeFile(dir.File(L"root\\Hid\\Deep\\x.ttf"));
  MakeFolder(dir.File(L"HiddenRoot"), FILE_ATTRIBUTE_HIDDEN);
  MakeFile(dir.File(L"HiddenRoot\\y.ttf"));

  Filtering walker;
  walker.m_threaded = 0;
  walker.m_roots = dir.File(L"root") + L"|" + dir.File(L"HiddenRoot");
  walker.m_patterns = L"*.ttf";
  EXPECT_TRUE(walker.Start());
  std::sort(walker.names.begin(), walker.names.end());
  EXPECT_EQ(walker.names, (std::vector<std::wstring>{L"i.ttf", L"k.ttf", L"r.ttf"}));
  // Each root and each subfolder asked once; nothing below a refused folder.
  EXPECT_EQ(walker.asked.size(), 5u);
  for (DWORD attributes : walker.asked) EXPECT_TRUE(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

TEST(FolderWalker, PathsAtTheLengthLimitArePassedOverNotCut) {
  ScratchDir dir;
  // A folder of exactly 250 characters, made through the long-path prefix.
  const std::wstring folder = dir.Path() + L"\\" + std::wstring(250 - dir.Path().size() - 1, L'f');
  ASSERT_EQ(folder.size(), 250u);
  const auto longPath = [](const std::wstring& p) { return L"\\\\?\\" + p; };
  MakeFolder(longPath(folder));
  MakeFile(longPath(folder + L"\\a.ttf"));               // 256: reported
  MakeFile(longPath(folder + L"\\abcdefghijkl.ttf"));    // 267: passed over
  MakeFolder(longPath(folder + L"\\s"));
  MakeFile(longPath(folder + L"\\s\\c.ttf"));            // 258: reported
  MakeFolder(longPath(folder + L"\\sub"));                // 254: "\*.ttf" makes 260
  MakeFile(longPath(folder + L"\\sub\\b.ttf"));
  MakeFolder(longPath(folder + L"\\sub\\x"));             // 256, listed but not scanned
  MakeFile(longPath(folder + L"\\sub\\x\\d.ttf"));
  MakeFolder(longPath(folder + L"\\abcdefghij"));         // 261: never entered
  MakeFile(longPath(folder + L"\\abcdefghij\\e.ttf"));

  Recorder walker;
  WalkHere(walker, dir.Path(), L"*.ttf");
  EXPECT_EQ(walker.Files(), Set({folder + L"\\a.ttf", folder + L"\\s\\c.ttf"}));
  for (const std::wstring& file : walker.Files()) {
    EXPECT_LT(file.size(), static_cast<size_t>(MAX_PATH));
    EXPECT_NE(::GetFileAttributesW(file.c_str()), INVALID_FILE_ATTRIBUTES) << Narrow(file);
  }
  EXPECT_EQ(walker.m_status.load(), 0);
}

namespace {

std::wstring UnixPath(const std::wstring& path) {
  using ToUnix = char*(CDECL*)(LPCWSTR);
  const auto toUnix = reinterpret_cast<ToUnix>(
      reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
  if (!toUnix) return {};
  char* unix = toUnix(path.c_str());
  if (!unix) return {};
  wchar_t wide[1024] = {};
  ::MultiByteToWideChar(CP_UTF8, 0, unix, -1, wide, 1024);
  ::HeapFree(::GetProcessHeap(), 0, unix);
  return wide;
}

bool Exists(const std::wstring& p) { return ::GetFileAttributesW(p.c_str()) != INVALID_FILE_ATTRIBUTES; }

// A Unix process started by Wine gives no handle to wait on: watch for its result instead.
bool RunUnixUntil(std::wstring command, const std::wstring& watched, bool shouldExist) {
  STARTUPINFOW si{sizeof(si)};
  PROCESS_INFORMATION pi{};
  if (!::CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) return false;
  if (pi.hThread) ::CloseHandle(pi.hThread);
  if (pi.hProcess) ::CloseHandle(pi.hProcess);
  for (int i = 0; i < 300; ++i) {
    if (Exists(watched) == shouldExist) return true;
    ::Sleep(10);
  }
  return false;
}

// A folder tree with symbolic links to folders, in a folder of its own: a tree deleter that
// follows links would loop in it, so it is cleared with "rm -rf" (which never follows them)
// before and after, and a run killed half-way cannot trap a later one. Links come from
// CreateSymbolicLinkW where the system makes them; Wine 8 only pretends to, so there they are
// made on the Unix side with ln, and Wine reports them as reparse points.
class LinkTree {
public:
  LinkTree() {
    wchar_t temp[MAX_PATH] = {};
    ::GetTempPathW(MAX_PATH, temp);
    path_ = std::wstring(temp) + L"orvel_walker_links";
    Clear();
    ::CreateDirectoryW(path_.c_str(), nullptr);
  }
  ~LinkTree() { Clear(); }
  LinkTree(const LinkTree&) = delete;
  LinkTree& operator=(const LinkTree&) = delete;

  std::wstring File(const std::wstring& name) const { return path_ + L"\\" + name; }

  bool MakeLink(const std::wstring& link, const std::wstring& target) {
    links_.push_back(link);
    if (::CreateSymbolicLinkW(link.c_str(), target.c_str(),
                              SYMBOLIC_LINK_FLAG_DIRECTORY | SYMBOLIC_LINK_FLAG_ALLOW_UNPRIVILEGED_CREATE) &&
        Exists(link))
      return true;
    const std::wstring unix = UnixPath(link);
    return !unix.empty() && RunUnixUntil(L"Z:\\bin\\ln -s \"" + target + L"\" \"" + unix + L"\"", link, true);
  }

private:
  void Clear() {
    for (const std::wstring& link : links_) ::RemoveDirectoryW(link.c_str());
    links_.clear();
    if (!Exists(path_)) return;
    const std::wstring unix = UnixPath(path_);
    if (unix.empty() || !RunUnixUntil(L"Z:\\bin\\rm -rf \"" + unix + L"\"", path_, false))
      testing_support::DeleteTree(path_);
  }

  std::wstring path_;
  std::vector<std::wstring> links_;
};

}  // namespace

TEST(FolderWalker, FolderReachedTwiceThroughLinksIsWalkedOnce) {
  LinkTree tree;
  MakeFolder(tree.File(L"root"));
  MakeFile(tree.File(L"root\\a.ttf"));
  MakeFolder(tree.File(L"root\\sub"));
  MakeFile(tree.File(L"root\\sub\\b.ttf"));
  if (!tree.MakeLink(tree.File(L"root\\sub\\up"), L"..") || !tree.MakeLink(tree.File(L"root\\side"), L"sub"))
    GTEST_SKIP() << "no folder links here";
  ASSERT_TRUE(Exists(tree.File(L"root\\sub\\up\\sub\\b.ttf")));

  Recorder walker;
  WalkHere(walker, tree.File(L"root"), L"*.ttf");
  EXPECT_EQ(walker.Names(), Set({L"a.ttf", L"b.ttf"})) << "the loop back up and the second way into sub are walked once";
  for (const Hit& hit : walker.hits) EXPECT_EQ(hit.path.find(L"\\up"), std::wstring::npos) << Narrow(hit.path);

  // Each root's walk has its own record of folders: the link as a second root walks sub and,
  // through "up", the first root again.
  Recorder twice;
  WalkHere(twice, tree.File(L"root") + L"|" + tree.File(L"root\\side"), L"*.ttf");
  EXPECT_EQ(twice.Names(), Set({L"a.ttf", L"b.ttf", L"a.ttf", L"b.ttf"}));
}

namespace {

// An owner whose first file waits until the test lets it go on.
struct Gated : CFolderWalkerImpl<Gated> {
  orv::ScopedHandle reached{::CreateEventW(nullptr, TRUE, FALSE, nullptr)};
  orv::ScopedHandle go{::CreateEventW(nullptr, TRUE, FALSE, nullptr)};
  std::vector<Hit> hits;  // written by the worker only until it is joined
  std::atomic<int> abortCalls{0};
  void OnFile() {
    hits.push_back({m_path, m_fileName, m_pattern, ::GetCurrentThreadId()});
    if (hits.size() == 1) {
      ::SetEvent(reached.Get());
      ::WaitForSingleObject(go.Get(), 5000);
    }
  }
  bool ShouldAbort() {
    ++abortCalls;
    return true;
  }
};

std::atomic<int> g_slowFiles{0};

// An owner without state of its own, so its walk may outlive the owner's part of the object.
struct Slow : CFolderWalkerImpl<Slow> {
  void OnFile() {
    ++g_slowFiles;
    ::Sleep(10);
  }
  bool ShouldAbort() { return true; }
};

}  // namespace

TEST(FolderWalker, ThreadedWalkStoppedByTheOwnersStatus) {
  testing_support::ResetRecords();
  ScratchDir dir;
  for (int i = 0; i < 6; ++i) MakeFile(dir.File(L"f" + std::to_wstring(i) + L".ttf"));
  Gated walker;
  walker.m_roots = dir.Path();
  walker.m_patterns = L"*.ttf";
  walker.m_beepType = MB_ICONEXCLAMATION;
  ASSERT_TRUE(walker.Start());
  ASSERT_TRUE(walker.m_thread);
  ASSERT_EQ(::WaitForSingleObject(walker.reached.Get(), 5000), WAIT_OBJECT_0);
  EXPECT_TRUE(walker.IsWalking());
  walker.m_status = 5;
  ::SetEvent(walker.go.Get());
  ASSERT_EQ(::WaitForSingleObject(walker.m_thread.Get(), 5000), WAIT_OBJECT_0);
  DWORD exitCode = 0;
  EXPECT_TRUE(::GetExitCodeThread(walker.m_thread.Get(), &exitCode));
  EXPECT_EQ(exitCode, 5u) << "the status is the thread's exit code";
  EXPECT_FALSE(walker.IsWalking());
  walker.WaitForWalk();
  EXPECT_FALSE(walker.m_thread);
  ASSERT_EQ(walker.hits.size(), 1u) << "the status is read before each file";
  EXPECT_NE(walker.hits[0].thread, ::GetCurrentThreadId());
  EXPECT_EQ(walker.abortCalls.load(), 0) << "ShouldAbort belongs to walks on the caller's thread";
  EXPECT_EQ(walker.m_status.load(), 5);
  EXPECT_EQ(testing_support::Beeps(), (std::vector<UINT>{MB_ICONEXCLAMATION}));
}

TEST(FolderWalker, ThreadedWalkRunsToTheEndAndIsReused) {
  testing_support::ResetRecords();
  ScratchDir dir;
  for (int i = 0; i < 4; ++i) MakeFile(dir.File(L"f" + std::to_wstring(i) + L".ttf"));
  Gated walker;
  ::SetEvent(walker.go.Get());
  walker.m_roots = dir.Path();
  walker.m_patterns = L"*.ttf";
  walker.m_silent = 1;
  ASSERT_TRUE(walker.Start());
  walker.WaitForWalk();
  EXPECT_EQ(walker.hits.size(), 4u);
  EXPECT_EQ(walker.m_status.load(), 0);
  EXPECT_TRUE(testing_support::Beeps().empty()) << "a silent walk ends without a beep";

  // A second Start while the first still runs joins it first; both walks report everything.
  walker.hits.clear();
  walker.m_silent = 0;
  ASSERT_TRUE(walker.Start());
  ASSERT_TRUE(walker.Start());
  walker.WaitForWalk();
  EXPECT_EQ(walker.hits.size(), 8u);
  EXPECT_EQ(testing_support::Beeps(), (std::vector<UINT>{MB_ICONASTERISK, MB_ICONASTERISK}));
}

TEST(FolderWalker, DestructorStopsAndJoinsARunningWalk) {
  ScratchDir dir;
  for (int i = 0; i < 60; ++i) MakeFile(dir.File(L"f" + std::to_wstring(i) + L".ttf"));
  g_slowFiles = 0;
  auto walker = std::make_unique<Slow>();
  walker->m_roots = dir.Path();
  walker->m_patterns = L"*.ttf";
  walker->m_silent = 1;
  ASSERT_TRUE(walker->Start());
  for (int i = 0; i < 500 && g_slowFiles == 0; ++i) ::Sleep(2);
  HANDLE raw = nullptr;
  ASSERT_TRUE(::DuplicateHandle(::GetCurrentProcess(), walker->m_thread.Get(), ::GetCurrentProcess(), &raw, 0, FALSE,
                                DUPLICATE_SAME_ACCESS));
  const orv::ScopedHandle thread(raw);
  walker.reset();
  EXPECT_EQ(::WaitForSingleObject(thread.Get(), 0), WAIT_OBJECT_0) << "the thread ended before the walker went away";
  DWORD exitCode = 0;
  EXPECT_TRUE(::GetExitCodeThread(thread.Get(), &exitCode));
  EXPECT_EQ(exitCode, static_cast<DWORD>(Slow::kStatusStopped));
  const int reported = g_slowFiles;
  EXPECT_LT(reported, 60);
  ::Sleep(50);
  EXPECT_EQ(g_slowFiles, reported);
}
