// bench_groups: the groups tree and the group font list with many groups and many fonts, in a
// window of their own the way the main window holds them.
//
//   1. A tree of 1,000 groups: the first expansion of a branch of 200 child groups, which reads
//      their 200 group files (target: under 300 ms). Median of several expansions, the branch
//      collapsed (its items dropped) in between, after one cold expansion.
//   2. A group of 5,000 fonts (the fonts-5000 folder of ORVEL_BENCH_DATA, which
//      bench/make_bench_fonts.py makes): the fill up to the first drawn screen of the group
//      list (target: under 1 s), then the detail reader completing every row, with no font
//      file read twice by the reader and the painting together.
//   3. A group of 1,000 fonts (the fonts-1000 folder) installed for the machine and
//      uninstalled again, as the groups tree runs the two commands: through the command's
//      journal, the installed list published between them. Target: the uninstall within twice
//      the time of the install (it reads the Fonts key once, not once per font).
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "app/AppState.h"
#include "app/CGroupsTVContainer.h"
#include "bench/BenchProgram.h"
#include "bench/BenchTiming.h"
#include "common/ResourceIds.h"
#include "fonts/EnsureFontItemLoaded.h"
#include "fonts/FontFileReader.h"
#include "fonts/FontFileWalk.h"
#include "fonts/FontInstaller.h"
#include "fonts/InstallJournal.h"
#include "fonts/InstalledFontRecords.h"
#include "app/Preferences.h"
#include "groups/FontGroup.h"
#include "groups/GroupNames.h"
#include "lists/FontListParent.h"

namespace {

constexpr int kHostWidth = 900;
constexpr int kHostHeight = 900;
constexpr int kPaneWidth = 300;
constexpr int kBranchSize = 200;
constexpr int kGroupCount = 1000;
constexpr int kTopGroups = 5;
constexpr double kTargetExpandMs = 300;
constexpr double kTargetFirstScreenMs = 1000;
constexpr double kReaderTimeoutMs = 600000;
constexpr size_t kGroupFonts = 1000;
constexpr double kUninstallToInstall = 2.0;

// Reads of each font file (its path without case), by the reader and by the painting.
std::mutex g_readsLock;
std::map<std::wstring, int> g_reads;

void CountRead(const std::wstring& path) {
  std::lock_guard<std::mutex> lock(g_readsLock);
  ++g_reads[FoldCase(path)];
}

// The main window of the benchmark: the groups pane on the left (it reflects the tree's
// notifications), the group font list on the right, a status bar.
class Host {
public:
  Host() {
    WNDCLASSEXW cls{};
    cls.cbSize = sizeof(cls);
    cls.lpfnWndProc = &Proc;
    cls.hInstance = ::GetModuleHandleW(nullptr);
    cls.lpszClassName = L"OrvelBenchGroupsHost";
    cls.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    ::RegisterClassExW(&cls);
    window_ = ::CreateWindowExW(0, cls.lpszClassName, L"Groups benchmark", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 0,
                                0, kHostWidth, kHostHeight, nullptr, nullptr, cls.hInstance, nullptr);
    status_ = ::CreateWindowExW(0, STATUSCLASSNAMEW, nullptr, WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, window_, nullptr,
                                cls.hInstance, nullptr);
    g_AppState.MainWindow = window_;
    g_AppState.StatusBar = status_;
    RECT rc{};
    ::GetClientRect(window_, &rc);
    RECT status{};
    ::GetWindowRect(status_, &status);
    const int height = rc.bottom - (status.bottom - status.top);
    pane_.Create(window_, nullptr, nullptr, kPaneStyle);
    pane_.SetWindowPos(nullptr, 0, 0, kPaneWidth, height, SWP_NOZORDER);
    pane_.SetClient(g_AppState.GroupsTree.CreateTree(pane_, IDC_GROUPS_TREE));
    CLVGroupFonts& list = g_AppState.GroupFonts;
    HWND view = ::CreateWindowExW(kFontListExStyle, WC_LISTVIEWW, nullptr, kFontListStyle, kPaneWidth, 0,
                                  rc.right - kPaneWidth, height, window_,
                                  reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDC_GROUP_FONTS_LIST)),
                                  cls.hInstance, nullptr);
    if (view && list.SubclassWindow(view)) list.Initialize();
    g_AppState.GroupListShown = true;
    ::ShowWindow(window_, SW_SHOWNOACTIVATE);
    ::UpdateWindow(window_);
  }
  ~Host() {
    g_AppState.MainWindow = nullptr;
    g_AppState.StatusBar = nullptr;
    ::DestroyWindow(window_);
  }
  Host(const Host&) = delete;
  Host& operator=(const Host&) = delete;

private:
  static LRESULT CALLBACK Proc(HWND window, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_DRAWITEM) {
      // A row drawn before it was read is read now, on this thread: counted.
      const auto* row = reinterpret_cast<const FontListRow*>(reinterpret_cast<DRAWITEMSTRUCT*>(lp)->itemData);
      if (row && row->record && !row->record->HasFlag(font_flags::kRead)) CountRead(row->record->fileRef);
    }
    LRESULT result = 0;
    if (HandleFontListParentMessage(g_AppState.GroupFonts, msg, wp, lp, result)) return result;
    return ::DefWindowProcW(window, msg, wp, lp);
  }

  HWND window_ = nullptr;
  HWND status_ = nullptr;
  CGroupsTVContainer pane_;
};

void Pump() {
  MSG msg;
  while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
  }
}

void Save(FontGroup& group) {
  if (!group.Save()) fprintf(stderr, "bench_groups: %ls could not be written\n", group.FileName.c_str());
}

// Root, five top groups; the first has the 200-child branch, the others share the rest.
void MakeTree() {
  FontGroup root;
  root.FileName = kRootGroupFile;
  root.Name = L"Bench groups";
  int next = 1;
  std::vector<int> tops;
  for (int t = 0; t < kTopGroups; ++t) {
    tops.push_back(next);
    root.AddNode(L"Top " + std::to_wstring(t), FormatGroupFileName(next++), false, false);
  }
  Save(root);
  const int perOther = (kGroupCount - kTopGroups - kBranchSize) / (kTopGroups - 1);
  for (int t = 0; t < kTopGroups; ++t) {
    FontGroup top;
    top.FileName = FormatGroupFileName(tops[t]);
    top.Name = L"Top " + std::to_wstring(t);
    top.Parent = kRootGroupFile;
    const int children = t == 0 ? kBranchSize : perOther;
    for (int c = 0; c < children; ++c) {
      FontGroup child;
      child.FileName = FormatGroupFileName(next++);
      child.Name = L"Group " + std::to_wstring(t) + L"." + std::to_wstring(c);
      child.Parent = top.FileName;
      child.AddFont(L"Bench font", L"C:\\Fonts\\bench.ttf");
      Save(child);
      top.AddNode(child.Name, child.FileName, false, false);
    }
    Save(top);
  }
}

bool BenchTreeExpansion() {
  MakeTree();
  CGroupsTreeView& tree = g_AppState.GroupsTree;
  tree.Reload();
  Pump();
  HTREEITEM branch = tree.FindItemByFile(FormatGroupFileName(1));
  if (!branch) {
    fprintf(stderr, "bench_groups: the branch is not in the tree\n");
    return false;
  }
  std::vector<double> times;
  const int runs = BenchRuns(7);
  for (int run = 0; run <= runs; ++run) {
    tree.Expand(branch, TVE_COLLAPSE | TVE_COLLAPSERESET);
    Pump();
    const double start = NowMs();
    tree.Expand(branch, TVE_EXPAND);
    ::UpdateWindow(tree.m_hWnd);
    const double end = NowMs();
    if (run > 0) times.push_back(end - start);  // the first one is cold
  }
  int children = 0;
  for (HTREEITEM c = tree.GetChildItem(branch); c; c = tree.GetNextSiblingItem(c)) ++children;
  const double median = Median(times);
  printf("tree of %d groups: first expansion of a branch of %d groups (files read, items made, drawn): %.1f ms "
         "(median of %d; target < %.0f ms)\n",
         kGroupCount, children, median, runs, kTargetExpandMs);
  return children == kBranchSize && median < kTargetExpandMs;
}

// The fonts of the group: every font file of the folder, listed by its full name as a group
// lists it.
void GroupOfFolder(const std::wstring& folder, FontItemList& fonts) {
  WIN32_FIND_DATAW fd;
  HANDLE find = ::FindFirstFileW((folder + L"\\*.*").c_str(), &fd);
  if (find == INVALID_HANDLE_VALUE) return;
  do {
    const std::wstring path = folder + L"\\" + fd.cFileName;
    if (!EndsWithNoCase(path, L".ttf") && !EndsWithNoCase(path, L".otf")) continue;
    ForEachFontItem(std::wstring(), path, [&](const FontItem& face) {
      if (!face.IsUnreadable() && fonts.Entries().size() < kGroupFonts) fonts.AddGroupFont(face.FullName(), path);
    });
  } while (fonts.Entries().size() < kGroupFonts && ::FindNextFileW(find, &fd));
  ::FindClose(find);
}

// One group command as the groups tree runs it, timed.
double RunGroupCommand(UINT command, FontItemList& fonts, bool& ran) {
  const double start = NowMs();
  InstallJournal journal(command, std::wstring(), L"Bench group", command == kUninstallGroup);
  FontInstaller installer(&fonts, nullptr, false, &journal);
  ran = command == kInstallGroup ? installer.InstallSelected(command) : installer.UninstallSelected(command);
  journal.Finish();
  return NowMs() - start;
}

bool BenchGroupInstall() {
  const std::wstring folder = BenchDataFolder() + L"\\fonts-1000";
  FontItemList install;
  GroupOfFolder(folder, install);
  if (install.Entries().size() < kGroupFonts) {
    fprintf(stderr, "bench_groups: %ls holds fewer than %zu fonts (run bench/make_bench_fonts.py)\n", folder.c_str(),
            kGroupFonts);
    return false;
  }
  // As under Wine: an administrator in an elevated process, no count question.
  g_AppState.IsElevated = true;
  g_AppState.WindowsRelease = 1903;
  wchar_t windows[MAX_PATH] = {};
  ::GetWindowsDirectoryW(windows, MAX_PATH);
  g_AppState.SystemFontsFolder = std::wstring(windows) + L"\\Fonts";
  g_Preferences.FontInstallFlags = 0;
  bool installed = false;
  const double installMs = RunGroupCommand(kInstallGroup, install, installed);
  // What the installed list's fill publishes after the font change.
  std::vector<FontItem> records;
  for (const FontItemListEntry& entry : install.Entries()) {
    FontItem& record = records.emplace_back(entry.record);
    record.flags = (record.flags & ~font_flags::kInstalledFile) | font_flags::kInstalled;
  }
  std::vector<const FontItem*> published;
  for (const FontItem& record : records) published.push_back(&record);
  SetInstalledFontRecords(published);
  FontItemList uninstall;
  GroupOfFolder(folder, uninstall);
  bool uninstalled = false;
  const double uninstallMs = RunGroupCommand(kUninstallGroup, uninstall, uninstalled);
  SetInstalledFontRecords({});
  printf("group of %zu fonts: install %.0f ms, uninstall %.0f ms (target: uninstall < %.0fx install)\n",
         install.Entries().size(), installMs, uninstallMs, kUninstallToInstall);
  return installed && uninstalled && uninstallMs < kUninstallToInstall * installMs;
}

}  // namespace

int wmain() {
  BenchProgram program("bench_groups");
  if (!program.Ready()) return 2;
  wchar_t temp[MAX_PATH] = {};
  ::GetTempPathW(MAX_PATH, temp);
  std::wstring groups = std::wstring(temp) + L"orvel-bench-groups-" + std::to_wstring(::GetCurrentProcessId());
  ::CreateDirectoryW(groups.c_str(), nullptr);
  FontGroup::SetGroupsFolderSource(&groups);
  bool met = true;
  {
    Host host;
    met = BenchTreeExpansion() && met;
  }
  met = BenchGroupInstall() && met;
  // The scratch groups folder goes with its files.
  WIN32_FIND_DATAW fd;
  HANDLE find = ::FindFirstFileW((groups + L"\\*").c_str(), &fd);
  if (find != INVALID_HANDLE_VALUE) {
    do {
      if (!(fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) ::DeleteFileW((groups + L"\\" + fd.cFileName).c_str());
    } while (::FindNextFileW(find, &fd));
    ::FindClose(find);
  }
  ::RemoveDirectoryW(groups.c_str());
  FontGroup::SetGroupsFolderSource(nullptr);
  printf(met ? "bench_groups: targets met\n" : "bench_groups: TARGETS MISSED\n");
  return 0;
}
