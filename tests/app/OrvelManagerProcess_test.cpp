// The built OrvelManager.exe started under Wine as a user would start it.
#include <windows.h>
#include <shlobj.h>
#include <shlwapi.h>

#include <commctrl.h>

#include <array>
#include <cstring>
#include <cwchar>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "app/Preferences.h"
#include "app/SingleInstance.h"
#include "app/WindowLayout.h"
#include "common/RegistryValue.h"
#include "common/ResourceIds.h"
#include "framework/Handles.h"
#include "groups/FontGroup.h"
#include "groups/GroupNames.h"
#include "tests/support/ProcessDriver.h"
#include "tests/support/TestSupport.h"

using namespace testing_support;

namespace {

constexpr DWORD kWait = 20000;

std::wstring ManagerExe() { return BinDir() + L"\\OrvelManager.exe"; }

void ForgetEverything() {
  ::RegDeleteTreeW(HKEY_CURRENT_USER, kAppKeyPath);
  DeleteTree(GetAppDataFolder());
}

// Settings of a user who has run the program before.
void SetUpReturningUser(const std::wstring& fontCase) {
  HKEY key = nullptr;
  ASSERT_EQ(::RegCreateKeyExW(HKEY_CURRENT_USER, kPrefsKeyPath, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
            ERROR_SUCCESS);
  WriteRegString(key, L"FontCaseRoot", fontCase);
  ::RegCloseKey(key);
}

bool ReadLayout(WindowLayout& layout) {
  orv::ScopedKey key = OpenRegKey(HKEY_CURRENT_USER, kPrefsKeyPath, KEY_READ);
  return key && ReadRegBinaryExact(key.Get(), L"WinLayout", &layout, sizeof(layout));
}

// Types a folder into the first-start dialog and presses OK.
void AcceptFontCaseDialog(const ChildProcess& app, const std::wstring& folder, HWND* dialog = nullptr) {
  HWND dlg = app.WaitForDialogWithControl(IDC_FONT_CASE_FOLDER, kWait);
  ASSERT_NE(dlg, nullptr) << "dialog 1077 did not appear";
  ::SendMessageW(::GetDlgItem(dlg, IDC_FONT_CASE_FOLDER), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(folder.c_str()));
  ::PostMessageW(dlg, WM_COMMAND, IDOK, 0);
  if (dialog) *dialog = dlg;
}

class ManagerProcess : public ::testing::Test {
protected:
  void SetUp() override { ForgetEverything(); }
  void TearDown() override { ForgetEverything(); }
  ScratchDir scratch_;
};

TEST_F(ManagerProcess, WithoutResourceLibraryShowsMessage721AndExits0) {
  // A copy of the program in a folder without the library, started from there.
  const std::wstring exe = scratch_.File(L"OrvelManager.exe");
  ASSERT_TRUE(::CopyFileW(ManagerExe().c_str(), exe.c_str(), FALSE));
  ChildProcess app(exe, scratch_.Path());
  ASSERT_TRUE(app.Started());
  HWND box = app.WaitForWindow(L"#32770", kWait);
  ASSERT_NE(box, nullptr);
  const std::wstring text = StaticTexts(box);
  EXPECT_NE(text.find(L"Orvel Font Manager n'est pas correctement install\u00e9."), std::wstring::npos)
      << Narrow(text);
  EXPECT_NE(text.find(L"(Fichier OrvelRes64.Dll absent)"), std::wstring::npos);
  ::PostMessageW(box, WM_COMMAND, IDOK, 0);
  EXPECT_EQ(app.WaitForExit(kWait), 0u);
}

TEST_F(ManagerProcess, FirstStartAsksForFontCaseThenCloseExits1) {
  const std::wstring fontCase = scratch_.File(L"My Fonts");
  ChildProcess app(ManagerExe(), BinDir());
  ASSERT_TRUE(app.Started());
  HWND dlg = nullptr;
  AcceptFontCaseDialog(app, fontCase, &dlg);
  ASSERT_NE(dlg, nullptr);
  // The Prefs key exists once the dialog is up.
  EXPECT_TRUE(OpenRegKey(HKEY_CURRENT_USER, kPrefsKeyPath, KEY_READ));

  // The folder does not exist: the program asks before it makes it.
  HWND ask = app.WaitForWindow(L"#32770", kWait, dlg);
  ASSERT_NE(ask, nullptr);
  ::PostMessageW(ask, WM_COMMAND, IDYES, 0);

  HWND main = app.WaitForWindow(kSingleInstanceName, kWait);
  ASSERT_NE(main, nullptr);
  EXPECT_TRUE(::PathIsDirectoryW(fontCase.c_str()));
  EXPECT_TRUE(::PathIsDirectoryW(GetAppDataFolder(L"Font Groups").c_str()));
  std::wstring stored;
  EXPECT_TRUE(ReadRegString(OpenRegKey(HKEY_CURRENT_USER, kPrefsKeyPath, KEY_READ).Get(), L"FontCaseRoot", 260, stored));
  EXPECT_EQ(stored, fontCase);

  ::PostMessageW(main, WM_CLOSE, 0, 0);
  EXPECT_EQ(app.WaitForExit(kWait), 1u);
  WindowLayout layout{};
  EXPECT_TRUE(ReadLayout(layout));
}

// The first start's dialog offers a folder picker before anything else runs: it shows the
// folder tree above its legend, as it does later from the options.
TEST_F(ManagerProcess, FirstStartFolderPickerShowsTheFolderTree) {
  ChildProcess app(ManagerExe(), BinDir());
  ASSERT_TRUE(app.Started());
  HWND dlg = app.WaitForDialogWithControl(IDC_FONT_CASE_FOLDER, kWait);
  ASSERT_NE(dlg, nullptr) << "dialog 1077 did not appear";
  ::PostMessageW(dlg, WM_COMMAND, IDC_FONT_CASE_BROWSE, 0);
  HWND picker = app.WaitForDialogWithControl(IDC_BROWSE_LEGEND, kWait);
  ASSERT_NE(picker, nullptr) << "the folder picker did not open";
  HWND tree = ::GetDlgItem(picker, IDC_BROWSE_TREE);
  EXPECT_NE(tree, nullptr) << "the picker shows no folder tree";
  if (tree) {
    wchar_t className[64] = {};
    ::GetClassNameW(tree, className, 64);
    EXPECT_STREQ(className, WC_TREEVIEWW);
    EXPECT_TRUE(::IsWindowVisible(tree));
    EXPECT_GT(::SendMessageW(tree, TVM_GETCOUNT, 0, 0), 0);
    RECT treeRect{}, legendRect{};
    ::GetWindowRect(tree, &treeRect);
    ::GetWindowRect(::GetDlgItem(picker, IDC_BROWSE_LEGEND), &legendRect);
    EXPECT_GT(treeRect.bottom - treeRect.top, 100);
    EXPECT_LE(treeRect.bottom, legendRect.top) << "the tree covers the legend";
  }
  ::PostMessageW(picker, WM_COMMAND, IDCANCEL, 0);
  AcceptFontCaseDialog(app, scratch_.Path());
  HWND main = app.WaitForWindow(kSingleInstanceName, kWait);
  ASSERT_NE(main, nullptr);
  ::PostMessageW(main, WM_CLOSE, 0, 0);
  EXPECT_EQ(app.WaitForExit(kWait), 1u);
}

TEST_F(ManagerProcess, ExistingDataFolderDoesNotStopAFirstStart) {
  // No settings yet, but the data folder is left from an earlier installation.
  ASSERT_TRUE(::CreateDirectoryW(GetAppDataFolder().c_str(), nullptr));
  ChildProcess app(ManagerExe(), BinDir());
  AcceptFontCaseDialog(app, scratch_.Path());
  HWND main = app.WaitForWindow(kSingleInstanceName, kWait);
  ASSERT_NE(main, nullptr) << "the start stopped although the folder only existed already";
  EXPECT_TRUE(::PathIsDirectoryW(GetAppDataFolder(L"Font Groups").c_str()));
  ::PostMessageW(main, WM_CLOSE, 0, 0);
  EXPECT_EQ(app.WaitForExit(kWait), 1u);
}

TEST_F(ManagerProcess, SecondInstanceRestoresTheFirstAndExits0) {
  SetUpReturningUser(scratch_.Path());
  ChildProcess first(ManagerExe(), BinDir());
  HWND main = first.WaitForWindow(kSingleInstanceName, kWait);
  ASSERT_NE(main, nullptr);
  ::SendMessageW(main, WM_SYSCOMMAND, SC_MINIMIZE, 0);
  ASSERT_TRUE(::IsIconic(main));

  ChildProcess second(ManagerExe(), BinDir());
  EXPECT_EQ(second.WaitForExit(kWait), 0u);
  for (int i = 0; i < 100 && ::IsIconic(main); ++i) ::Sleep(50);
  EXPECT_FALSE(::IsIconic(main));

  ::PostMessageW(main, WM_CLOSE, 0, 0);
  EXPECT_EQ(first.WaitForExit(kWait), 1u);
}

BOOL CALLBACK FindById(HWND window, LPARAM param) {
  auto* wanted = reinterpret_cast<std::pair<int, HWND>*>(param);
  if (::GetDlgCtrlID(window) != wanted->first) return TRUE;
  wanted->second = window;
  return FALSE;
}

HWND Descendant(HWND root, int id) {
  std::pair<int, HWND> wanted{id, nullptr};
  ::EnumChildWindows(root, &FindById, reinterpret_cast<LPARAM>(&wanted));
  return wanted.second;
}

int ItemCount(HWND list) { return static_cast<int>(::SendMessageW(list, LVM_GETITEMCOUNT, 0, 0)); }

struct ClassSearch {
  const wchar_t* cls;
  HWND found;
};

BOOL CALLBACK FindByClass(HWND window, LPARAM param) {
  auto* search = reinterpret_cast<ClassSearch*>(param);
  wchar_t cls[64] = {};
  ::GetClassNameW(window, cls, 64);
  if (std::wcscmp(cls, search->cls) != 0) return TRUE;
  search->found = window;
  return FALSE;
}

HWND DescendantOfClass(HWND root, const wchar_t* cls) {
  ClassSearch search{cls, nullptr};
  ::EnumChildWindows(root, &FindByClass, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

// Waits until `done` holds, up to ten seconds.
template <typename F>
bool WaitFor(F done) {
  for (int i = 0; i < 200; ++i) {
    if (done()) return true;
    ::Sleep(50);
  }
  return done();
}

// The sample pane's controls in a running program.
struct SampleControls {
  HWND pane, toolbar, upDown, window, list;
  explicit SampleControls(HWND main)
      : pane(DescendantOfClass(main, L"OrvelSamplePane")),
        toolbar(DescendantOfClass(pane, TOOLBARCLASSNAMEW)),
        upDown(Descendant(pane, IDC_SAMPLE_SIZE_UPDOWN)),
        window(DescendantOfClass(pane, L"OrvelSampleWindow")),
        list(DescendantOfClass(window, WC_LISTBOXW)) {}
  bool Complete() const { return pane && toolbar && upDown && window && list; }
  int Size() const { return static_cast<int>(::SendMessageW(upDown, UDM_GETPOS32, 0, 0)); }
  bool InfoBlockChecked() const { return ::SendMessageW(toolbar, TB_ISBUTTONCHECKED, ID_SAMPLE_INFO_BLOCK, 0) != 0; }
  int Sample() const { return static_cast<int>(::SendMessageW(list, LB_GETCURSEL, 0, 0)); }
};

// Width and height of the five panes (the parents of their views), folder tree pane first.
using PaneSizes = std::array<SIZE, 5>;

PaneSizes ReadPaneSizes(HWND main) {
  PaneSizes sizes{};
  const int views[] = {IDC_FOLDER_TREE, IDC_GROUPS_TREE, IDC_FOLDER_FONTS_LIST, IDC_INSTALLED_FONTS_LIST,
                       IDC_SAMPLE_SIZE_UPDOWN};
  for (size_t i = 0; i < sizes.size(); ++i) {
    RECT rc{};
    if (HWND view = Descendant(main, views[i])) ::GetWindowRect(::GetParent(view), &rc);
    sizes[i] = {rc.right - rc.left, rc.bottom - rc.top};
  }
  return sizes;
}

bool Same(const PaneSizes& a, const PaneSizes& b) {
  for (size_t i = 0; i < a.size(); ++i)
    if (a[i].cx != b[i].cx || a[i].cy != b[i].cy) return false;
  return true;
}

std::string Describe(const PaneSizes& sizes) {
  std::string s;
  for (const SIZE& size : sizes) s += std::to_string(size.cx) + "x" + std::to_string(size.cy) + " ";
  return s;
}

// Whether the main splitter fills the window's client area and its panes fill the splitter: the
// folder pane and the sample pane stand side by side across it.
bool PanesFillTheWindow(HWND main, const PaneSizes& sizes) {
  RECT client{}, splitter{};
  ::GetClientRect(main, &client);
  ::GetWindowRect(::GetDlgItem(main, IDC_MAIN_SPLITTER), &splitter);
  const int splitterWidth = splitter.right - splitter.left;
  return splitterWidth == client.right &&
         sizes[0].cx + sizes[4].cx + 2 * ::GetSystemMetrics(SM_CXEDGE) + 8 >= splitterWidth;
}

// The pane sizes once the window is in the state asked for (maximised over the work area, or
// normal), its panes fill it, and they stay unchanged over several looks (the window may show
// before it has its final size, and before its panes are laid out).
PaneSizes SettledPanes(HWND main, bool maximised) {
  constexpr int kStableLooks = 3;
  RECT work{};
  ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  PaneSizes last = ReadPaneSizes(main);
  int stable = 0;
  for (int i = 0; i < 100 && stable < kStableLooks; ++i) {
    ::Sleep(100);
    RECT client{};
    ::GetClientRect(main, &client);
    const PaneSizes now = ReadPaneSizes(main);
    const bool state = maximised ? ::IsZoomed(main) && client.right >= work.right - work.left
                                 : !::IsZoomed(main) && !::IsIconic(main);
    stable = state && PanesFillTheWindow(main, now) && Same(now, last) ? stable + 1 : 0;
    last = now;
  }
  return last;
}

// What a user needs of a normal window: every pane big enough to use.
void ExpectUsablePanes(const PaneSizes& sizes) {
  EXPECT_GE(sizes[0].cy, 100) << "folder pane " << Describe(sizes);
  EXPECT_GE(sizes[3].cx, 100) << "installed pane " << Describe(sizes);
  EXPECT_GE(sizes[4].cy, 100) << "sample pane " << Describe(sizes);
  for (const SIZE& size : sizes) EXPECT_GT(size.cx, 0) << Describe(sizes);
}

// A user's days: a session maximised and closed, another that starts maximised and closes so,
// then one restored to its normal size, and one that starts normal. The maximised sessions show
// the first one's maximised panes, the normal ones its normal panes; a close while minimised
// keeps the stored layout.
TEST_F(ManagerProcess, MaximisedSessionsThenNormalOnesKeepEveryPane) {
  SetUpReturningUser(scratch_.Path());
  PaneSizes normal{}, maximised{};
  {
    ChildProcess app(ManagerExe(), BinDir());
    HWND main = app.WaitForWindow(kSingleInstanceName, kWait);
    ASSERT_NE(main, nullptr);
    normal = SettledPanes(main, false);
    ExpectUsablePanes(normal);
    ::SendMessageW(main, WM_SYSCOMMAND, SC_MAXIMIZE, 0);
    ASSERT_TRUE(::IsZoomed(main));
    maximised = SettledPanes(main, true);
    for (const SIZE& size : maximised) ASSERT_GT(size.cy, 50) << Describe(maximised);
    ::PostMessageW(main, WM_CLOSE, 0, 0);
    ASSERT_EQ(app.WaitForExit(kWait), 1u);
  }
  WindowLayout saved{};
  ASSERT_TRUE(ReadLayout(saved));
  EXPECT_EQ(saved.Maximized, 1);
  // The normal rectangle is kept, not the maximised one.
  EXPECT_LT(saved.WindowRect.right - saved.WindowRect.left, ::GetSystemMetrics(SM_CXSCREEN));
  {
    SCOPED_TRACE("second maximised session");
    ChildProcess app(ManagerExe(), BinDir());
    HWND main = app.WaitForWindow(kSingleInstanceName, kWait);
    ASSERT_NE(main, nullptr);
    const PaneSizes again = SettledPanes(main, true);
    EXPECT_TRUE(::IsZoomed(main));
    EXPECT_TRUE(Same(again, maximised)) << "before " << Describe(maximised) << "after " << Describe(again);
    ::SendMessageW(main, WM_SYSCOMMAND, SC_MAXIMIZE, 0);
    ::PostMessageW(main, WM_CLOSE, 0, 0);
    ASSERT_EQ(app.WaitForExit(kWait), 1u);
  }
  for (const bool restored : {true, false}) {
    SCOPED_TRACE(restored ? "restored to normal" : "started normal");
    ChildProcess app(ManagerExe(), BinDir());
    HWND main = app.WaitForWindow(kSingleInstanceName, kWait);
    ASSERT_NE(main, nullptr);
    if (restored) {
      EXPECT_TRUE(Same(SettledPanes(main, true), maximised));
      ::SendMessageW(main, WM_SYSCOMMAND, SC_RESTORE, 0);
    }
    const PaneSizes now = SettledPanes(main, false);
    ExpectUsablePanes(now);
    EXPECT_TRUE(Same(now, normal)) << "first " << Describe(normal) << "now " << Describe(now);
    if (!restored) {
      ASSERT_TRUE(ReadLayout(saved));
      EXPECT_EQ(saved.Maximized, 0);
      ::SendMessageW(main, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    }
    ::PostMessageW(main, WM_CLOSE, 0, 0);
    ASSERT_EQ(app.WaitForExit(kWait), 1u);
  }
  WindowLayout after{};
  ASSERT_TRUE(ReadLayout(after));
  EXPECT_EQ(std::memcmp(&saved, &after, sizeof(saved)), 0) << "a minimised close must keep the stored layout";
}

// A library named OrvelRes64.dll in the current folder that has code as well as the resources:
// the program runs with its resources, and its code never runs.
TEST_F(ManagerProcess, ResourceLibraryCodeNeverRuns) {
  SetUpReturningUser(scratch_.Path());
  const std::wstring exe = scratch_.File(L"OrvelManager.exe");
  const std::wstring library = scratch_.File(L"OrvelRes64.dll");
  ASSERT_TRUE(::CopyFileW(ManagerExe().c_str(), exe.c_str(), FALSE));
  ASSERT_TRUE(::CopyFileW((BinDir() + L"\\OrvelResProbe.dll").c_str(), library.c_str(), FALSE));
  ChildProcess app(exe, scratch_.Path());
  HWND main = app.WaitForWindow(kSingleInstanceName, kWait);
  ASSERT_NE(main, nullptr);
  EXPECT_NE(Descendant(main, IDC_FOLDER_FONTS_LIST), nullptr);
  EXPECT_EQ(WindowText(main), L"Orvel Font Manager");
  ::PostMessageW(main, WM_CLOSE, 0, 0);
  EXPECT_EQ(app.WaitForExit(kWait), 1u);
  EXPECT_EQ(::GetFileAttributesW((library + L".ran").c_str()), INVALID_FILE_ATTRIBUTES);
}

}  // namespace

// The program's main road: at start the folder tree selects the font case folder, the idle
// passes fill the folder fonts list, and its rows are drawn.
TEST_F(ManagerProcess, StartListsTheFontCaseFolderInTheFolderFontsList) {
  const std::wstring dejaVu = L"Z:\\usr\\share\\fonts\\truetype\\dejavu\\";
  for (const wchar_t* name : {L"DejaVuSans.ttf", L"DejaVuSerif.ttf", L"DejaVuSansMono.ttf"})
    ASSERT_TRUE(::CopyFileW((dejaVu + name).c_str(), scratch_.File(name).c_str(), FALSE));
  ASSERT_TRUE(::CopyFileW(L"Z:\\usr\\share\\fonts\\opentype\\cantarell\\Cantarell-Bold.otf",
                          scratch_.File(L"Cantarell-Bold.otf").c_str(), FALSE));
  WriteFileBytes(scratch_.File(L"readme.txt"), "text", 4);
  ::CreateDirectoryW(scratch_.File(L"more").c_str(), nullptr);
  ASSERT_TRUE(::CopyFileW((dejaVu + L"DejaVuSans-Bold.ttf").c_str(), scratch_.File(L"more\\b.ttf").c_str(), FALSE));
  SetUpReturningUser(scratch_.Path());
  ASSERT_TRUE(::CreateDirectoryW(GetAppDataFolder().c_str(), nullptr) || ::GetLastError() == ERROR_ALREADY_EXISTS);
  ::CreateDirectoryW(GetAppDataFolder(L"Font Groups").c_str(), nullptr);

  ChildProcess app(ManagerExe(), BinDir());
  HWND main = app.WaitForWindow(kSingleInstanceName, kWait);
  ASSERT_NE(main, nullptr);
  HWND list = Descendant(main, IDC_FOLDER_FONTS_LIST);
  ASSERT_NE(list, nullptr);
  for (int i = 0; i < 200 && ItemCount(list) != 4; ++i) ::Sleep(100);
  EXPECT_EQ(ItemCount(list), 4) << "the folder's four font files, not its text file or subfolder";
  ::Sleep(500);  // the rows are drawn
  EXPECT_TRUE(SaveWindowImage(main, ArtifactsDir() + L"\\app_folder_fonts.bmp"));
  ::PostMessageW(main, WM_CLOSE, 0, 0);
  EXPECT_EQ(app.WaitForExit(kWait), 1u);
}

// The sample size, the information block switch and the active sample are the user's: a
// restart brings them back.
TEST_F(ManagerProcess, SampleSettingsSurviveARestart) {
  SetUpReturningUser(scratch_.Path());
  for (const bool restarted : {false, true}) {
    ChildProcess app(ManagerExe(), BinDir());
    HWND main = app.WaitForWindow(kSingleInstanceName, kWait);
    ASSERT_NE(main, nullptr);
    const SampleControls sample(main);
    ASSERT_TRUE(sample.Complete());
    EXPECT_EQ(sample.Size(), restarted ? 19 : 16);
    EXPECT_EQ(sample.InfoBlockChecked(), restarted);
    EXPECT_EQ(sample.Sample(), restarted ? 0 : 5) << "Alphabet, the first; Paragraph, the last";
    if (!restarted) {
      // Three clicks on the up arrow (the upper half of the control).
      RECT arrows{};
      ::GetClientRect(sample.upDown, &arrows);
      const LPARAM upper = MAKELPARAM(arrows.right / 2, arrows.bottom / 4);
      for (int i = 0; i < 3; ++i) {
        ::PostMessageW(sample.upDown, WM_LBUTTONDOWN, MK_LBUTTON, upper);
        ::PostMessageW(sample.upDown, WM_LBUTTONUP, 0, upper);
      }
      EXPECT_TRUE(WaitFor([&] { return sample.Size() == 19; })) << sample.Size();
      ::PostMessageW(sample.pane, WM_COMMAND, ID_SAMPLE_INFO_BLOCK, 0);
      EXPECT_TRUE(WaitFor([&] { return sample.InfoBlockChecked(); }));
      ::SendMessageW(sample.list, LB_SETCURSEL, 0, 0);
      ::PostMessageW(sample.window, WM_COMMAND, MAKEWPARAM(1, LBN_SELCHANGE), reinterpret_cast<LPARAM>(sample.list));
    }
    ::PostMessageW(main, WM_CLOSE, 0, 0);
    ASSERT_EQ(app.WaitForExit(kWait), 1u);
  }
}

namespace {

BOOL CALLBACK CountManagerWindow(HWND window, LPARAM count) {
  wchar_t cls[64] = {};
  ::GetClassNameW(window, cls, 64);
  if (std::wcscmp(cls, kSingleInstanceName) == 0 && ::IsWindowVisible(window)) ++*reinterpret_cast<int*>(count);
  return TRUE;
}

int ManagerWindowCount() {
  int count = 0;
  ::EnumWindows(&CountManagerWindow, reinterpret_cast<LPARAM>(&count));
  return count;
}

}  // namespace

// The launcher started from the program's folder starts the manager ("runas" runs it directly
// under Wine) and ends with 0 at once; a second launch only brings the first window forward.
TEST_F(ManagerProcess, LauncherStartsTheManagerAndASecondLaunchOnlyRestoresIt) {
  SetUpReturningUser(scratch_.Path());
  const std::wstring launcher = BinDir() + L"\\OrvelRunAs.exe";
  {
    ChildProcess run(launcher, BinDir());
    ASSERT_TRUE(run.Started());
    EXPECT_EQ(run.WaitForExit(kWait), 0u);
  }
  HWND main = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (main = ::FindWindowW(kSingleInstanceName, nullptr)) && ::IsWindowVisible(main); }));
  DWORD id = 0;
  ::GetWindowThreadProcessId(main, &id);
  orv::ScopedHandle manager(::OpenProcess(SYNCHRONIZE, FALSE, id));
  ASSERT_TRUE(manager);
  ::SendMessageW(main, WM_SYSCOMMAND, SC_MINIMIZE, 0);
  ASSERT_TRUE(::IsIconic(main));
  {
    ChildProcess again(launcher, BinDir());
    EXPECT_EQ(again.WaitForExit(kWait), 0u);
  }
  EXPECT_TRUE(WaitFor([&] { return !::IsIconic(main); }));
  ::Sleep(1000);  // a second manager that was not turned away would show its window by now
  EXPECT_EQ(ManagerWindowCount(), 1);
  ::PostMessageW(main, WM_CLOSE, 0, 0);
  EXPECT_EQ(::WaitForSingleObject(manager.Get(), kWait), WAIT_OBJECT_0);
}

TEST_F(ManagerProcess, AboutShowsTheProgramsVersion) {
  SetUpReturningUser(scratch_.Path());
  ChildProcess app(ManagerExe(), BinDir());
  HWND main = app.WaitForWindow(kSingleInstanceName, kWait);
  ASSERT_NE(main, nullptr);
  ::PostMessageW(main, WM_COMMAND, ID_APP_ABOUT, 0);
  HWND about = app.WaitForDialogWithControl(IDC_ABOUT_VERSION, kWait);
  ASSERT_NE(about, nullptr);
  EXPECT_EQ(WindowText(::GetDlgItem(about, IDC_ABOUT_VERSION)), L"Version 1.0 (64-bit)");
  ::Sleep(300);  // drawn
  EXPECT_TRUE(SaveWindowImage(about, ArtifactsDir() + L"\\app_about_box.bmp"));
  ::PostMessageW(about, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
  EXPECT_TRUE(WaitFor([&] { return !::IsWindow(about); }));
  ::PostMessageW(main, WM_CLOSE, 0, 0);
  EXPECT_EQ(app.WaitForExit(kWait), 1u);
}

// The program comes with its font installer for whole groups: an installed group offers the
// uninstall button of the groups pane as soon as it is selected, any other group the install
// button. (The buttons show only once the idle pass has looked at the selection.)
TEST_F(ManagerProcess, GroupInstallIsOfferedFromTheStart) {
  SetUpReturningUser(scratch_.Path());
  const std::wstring groups = GetAppDataFolder(L"Font Groups");
  ASSERT_TRUE(::SHCreateDirectoryExW(nullptr, groups.c_str(), nullptr) == ERROR_SUCCESS ||
              ::PathIsDirectoryW(groups.c_str()));
  FontGroup::SetGroupsFolderSource(&groups);
  FontGroup root;
  root.FileName = kRootGroupFile;
  root.Name = L"Root";
  bool saved = true;
  for (int n : {1, 2}) {
    const bool installed = n == 1;
    FontGroup group;
    group.FileName = FormatGroupFileName(n);
    group.Name = installed ? L"In use" : L"Project";
    group.Parent = kRootGroupFile;
    group.Installed = installed;
    group.AddFont(L"DejaVu Sans", L"Z:\\usr\\share\\fonts\\truetype\\dejavu\\DejaVuSans.ttf");
    root.AddNode(group.Name, group.FileName, installed, false);
    saved = group.Save() && saved;
  }
  saved = root.Save() && saved;
  FontGroup::SetGroupsFolderSource(nullptr);
  ASSERT_TRUE(saved);

  ChildProcess app(ManagerExe(), BinDir());
  HWND main = app.WaitForWindow(kSingleInstanceName, kWait);
  ASSERT_NE(main, nullptr);
  HWND tree = Descendant(main, IDC_GROUPS_TREE);
  ASSERT_NE(tree, nullptr);
  // The pane's own toolbar: the one with the install button.
  HWND toolbar = nullptr;
  for (HWND child = ::GetWindow(::GetParent(tree), GW_CHILD); child && !toolbar; child = ::GetWindow(child, GW_HWNDNEXT)) {
    wchar_t cls[64] = {};
    ::GetClassNameW(child, cls, 64);
    if (std::wcscmp(cls, TOOLBARCLASSNAMEW) == 0 && ::SendMessageW(child, TB_COMMANDTOINDEX, ID_GROUP_INSTALL, 0) >= 0)
      toolbar = child;
  }
  ASSERT_NE(toolbar, nullptr);
  auto item = [&](UINT which, HTREEITEM from) {
    return reinterpret_cast<HTREEITEM>(::SendMessageW(tree, TVM_GETNEXTITEM, which, reinterpret_cast<LPARAM>(from)));
  };
  // A selection sent from outside brings no input message: a posted one starts the idle pass.
  auto shown = [&](int id) {
    ::PostMessageW(main, WM_NULL, 0, 0);
    return ::SendMessageW(toolbar, TB_ISBUTTONHIDDEN, id, 0) == 0;
  };
  auto enabled = [&](int id) { return ::SendMessageW(toolbar, TB_ISBUTTONENABLED, id, 0) != 0; };
  HTREEITEM inUse = nullptr, project = nullptr;
  ASSERT_TRUE(WaitFor([&] {
    inUse = item(TVGN_CHILD, item(TVGN_ROOT, nullptr));
    project = inUse ? item(TVGN_NEXT, inUse) : nullptr;
    return project != nullptr;
  })) << "the groups tree does not show both groups";

  ::SendMessageW(tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(inUse));
  ASSERT_TRUE(WaitFor([&] { return shown(ID_GROUP_UNINSTALL) && !shown(ID_GROUP_INSTALL); }));
  EXPECT_TRUE(enabled(ID_GROUP_UNINSTALL)) << "the uninstall button of the groups pane is disabled";
  ::SendMessageW(tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(project));
  ASSERT_TRUE(WaitFor([&] { return shown(ID_GROUP_INSTALL) && !shown(ID_GROUP_UNINSTALL); }));
  EXPECT_TRUE(enabled(ID_GROUP_INSTALL)) << "the install button of the groups pane is disabled";
  ::PostMessageW(main, WM_CLOSE, 0, 0);
  EXPECT_EQ(app.WaitForExit(kWait), 1u);
}

namespace {

// The screen's density of the prefix, as Wine reads it when a process starts: set for the life of
// this object, and taken away again (the later test programs run at the density they had).
class ScopedLogPixels {
public:
  explicit ScopedLogPixels(DWORD dpi) {
    ::RegCreateKeyExW(HKEY_CURRENT_USER, L"Control Panel\\Desktop", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                      key_.Receive(), nullptr);
    DWORD size = sizeof(old_);
    had_ = key_ && ::RegQueryValueExW(key_.Get(), L"LogPixels", nullptr, nullptr,
                                      reinterpret_cast<BYTE*>(&old_), &size) == ERROR_SUCCESS;
    if (key_) WriteRegDword(key_.Get(), L"LogPixels", dpi);
  }
  ~ScopedLogPixels() {
    if (!key_) return;
    if (had_) WriteRegDword(key_.Get(), L"LogPixels", old_);
    else ::RegDeleteValueW(key_.Get(), L"LogPixels");
  }

private:
  orv::ScopedKey key_;
  DWORD old_ = 0;
  bool had_ = false;
};

// The toolbars of a running program that have pictures: the main one, the panes' and the
// favourites band's (the command bar is a toolbar of text buttons).
std::vector<HWND> PictureToolbars(HWND main) {
  std::vector<HWND> toolbars;
  ::EnumChildWindows(
      main,
      [](HWND wnd, LPARAM out) {
        wchar_t cls[64]{};
        ::GetClassNameW(wnd, cls, 64);
        if (std::wstring(cls) == TOOLBARCLASSNAMEW && ::GetDlgCtrlID(wnd) != 0xE801 &&
            ::SendMessageW(wnd, TB_BUTTONCOUNT, 0, 0) > 0)
          reinterpret_cast<std::vector<HWND>*>(out)->push_back(wnd);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&toolbars));
  return toolbars;
}

int AtDpi(int pixels, DWORD dpi) { return ::MulDiv(pixels, static_cast<int>(dpi), 96); }

RECT WindowRectOf(HWND window) {
  RECT rc{};
  ::GetWindowRect(window, &rc);
  return rc;
}

std::string Describe(const RECT& rc) {
  return std::to_string(rc.left) + "," + std::to_string(rc.top) + "," + std::to_string(rc.right) + "," +
         std::to_string(rc.bottom);
}

// Each pane at the window's least size: its toolbar on its caption above the view (and, but for
// the sample pane's long one, all of it inside the pane), and a view that shows some rows.
void ExpectPanesKeepTheirParts(HWND main) {
  const int views[] = {IDC_FOLDER_TREE, IDC_GROUPS_TREE, IDC_FOLDER_FONTS_LIST, IDC_INSTALLED_FONTS_LIST};
  for (const int id : views) {
    SCOPED_TRACE(id);
    HWND view = Descendant(main, id);
    ASSERT_NE(view, nullptr);
    HWND pane = ::GetParent(view);
    const RECT paneRect = WindowRectOf(pane), viewRect = WindowRectOf(view);
    const RECT toolbar = WindowRectOf(::FindWindowExW(pane, nullptr, TOOLBARCLASSNAMEW, nullptr));  // the pane's own
    EXPECT_GE(toolbar.left, paneRect.left) << Describe(toolbar) << " in " << Describe(paneRect);
    EXPECT_LE(toolbar.bottom, viewRect.top) << Describe(toolbar) << " over " << Describe(viewRect);
    const bool tree = id == IDC_FOLDER_TREE || id == IDC_GROUPS_TREE;  // (TVM_ and LVM_ have no pointers)
    const LRESULT rows = ::SendMessageW(view, tree ? TVM_GETVISIBLECOUNT : LVM_GETCOUNTPERPAGE, 0, 0);
    EXPECT_GE(rows, 1) << "rows in " << Describe(viewRect);
  }
  const SampleControls sample(main);
  ASSERT_TRUE(sample.Complete());
  const RECT sampleRect = WindowRectOf(sample.window);
  EXPECT_LE(WindowRectOf(sample.toolbar).bottom, sampleRect.top);
  EXPECT_GE(sampleRect.bottom - sampleRect.top, WindowRectOf(sample.toolbar).bottom - WindowRectOf(sample.toolbar).top);
}

}  // namespace

// At 120 and 144 DPI the shipped program's built-in sizes follow the density. The first window
// is the 96-DPI one scaled, within the work area; its toolbars (the main one and the panes') have
// pictures of the density's size, 20 and 24 pixels, each button at least 6 higher than its
// picture; at its least size, 350 x 300 scaled, every pane keeps its toolbar and some rows; a
// stored layout comes back exactly as it was stored.
TEST_F(ManagerProcess, BuiltInSizesFollowTheScreensDensity) {
  SetUpReturningUser(scratch_.Path());
  ASSERT_TRUE(::CreateDirectoryW(GetAppDataFolder().c_str(), nullptr) || ::GetLastError() == ERROR_ALREADY_EXISTS);
  ::CreateDirectoryW(GetAppDataFolder(L"Font Groups").c_str(), nullptr);
  RECT work{};
  ASSERT_TRUE(::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0));
  for (const DWORD dpi : {120u, 144u}) {
    SCOPED_TRACE(dpi);
    ScopedLogPixels density(dpi);
    if (orv::ScopedKey key = OpenRegKey(HKEY_CURRENT_USER, kPrefsKeyPath, KEY_SET_VALUE))
      ::RegDeleteValueW(key.Get(), L"WinLayout");
    {
      ChildProcess app(ManagerExe(), BinDir());
      HWND main = app.WaitForWindow(kSingleInstanceName, kWait);
      ASSERT_NE(main, nullptr);
      std::vector<HWND> toolbars;
      EXPECT_TRUE(WaitFor([&] { return (toolbars = PictureToolbars(main)).size() >= 6; }))
          << "the main toolbar, five panes' and the favourites band's: " << toolbars.size();
      const int picture = AtDpi(16, dpi);
      for (HWND toolbar : toolbars) {
        // A button holds its picture and a frame of 3 pixels round it (TB_GETBUTTONSIZE has no
        // pointers: it reads across processes).
        const LRESULT size = ::SendMessageW(toolbar, TB_GETBUTTONSIZE, 0, 0);
        EXPECT_GE(HIWORD(size), picture + 6) << ::GetDlgCtrlID(::GetParent(toolbar));
        EXPECT_GE(LOWORD(size), picture + 6) << ::GetDlgCtrlID(::GetParent(toolbar));
      }
      const RECT first = WindowRectOf(main);
      EXPECT_TRUE(first.left >= work.left && first.top >= work.top && first.right <= work.right &&
                  first.bottom <= work.bottom)
          << Describe(first) << " on " << Describe(work);
      EXPECT_GE(first.right - first.left, std::min<int>(AtDpi(700, dpi), work.right - work.left)) << Describe(first);
      EXPECT_GE(first.bottom - first.top, std::min<int>(AtDpi(500, dpi), work.bottom - work.top)) << Describe(first);
      EXPECT_TRUE(SaveWindowImage(main, ArtifactsDir() + L"\\app_main_window_" + std::to_wstring(dpi) + L"dpi.bmp"));

      ::SetWindowPos(main, nullptr, 0, 0, 1, 1, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
      const SIZE least{AtDpi(350, dpi), AtDpi(300, dpi)};
      RECT small{};
      EXPECT_TRUE(WaitFor([&] {
        small = WindowRectOf(main);
        return small.right - small.left == least.cx && small.bottom - small.top == least.cy;
      })) << Describe(small);
      SettledPanes(main, false);
      ExpectPanesKeepTheirParts(main);
      EXPECT_TRUE(SaveWindowImage(main, ArtifactsDir() + L"\\app_least_window_" + std::to_wstring(dpi) + L"dpi.bmp"));
      ::PostMessageW(main, WM_CLOSE, 0, 0);
      EXPECT_EQ(app.WaitForExit(kWait), 1u);
    }
    // A layout stored at any density is the user's: it opens as stored.
    WindowLayout stored{};
    ASSERT_TRUE(ReadLayout(stored));
    stored.WindowRect = {work.left + 20, work.top + 10, work.left + 20 + AtDpi(420, dpi), work.top + 10 + AtDpi(330, dpi)};
    if (orv::ScopedKey key = OpenRegKey(HKEY_CURRENT_USER, kPrefsKeyPath, KEY_SET_VALUE))
      ASSERT_TRUE(WriteRegBinary(key.Get(), L"WinLayout", &stored, sizeof(stored)));
    ChildProcess again(ManagerExe(), BinDir());
    HWND main = again.WaitForWindow(kSingleInstanceName, kWait);
    ASSERT_NE(main, nullptr);
    RECT shown{};
    EXPECT_TRUE(WaitFor([&] { return ::EqualRect(&(shown = WindowRectOf(main)), &stored.WindowRect) != FALSE; }))
        << Describe(shown) << " stored " << Describe(stored.WindowRect);
    ::PostMessageW(main, WM_CLOSE, 0, 0);
    EXPECT_EQ(again.WaitForExit(kWait), 1u);
  }
}
