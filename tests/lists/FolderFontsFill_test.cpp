// The folder fonts list filled from real folders under Wine: one row per face, per collection
// face and per named instance, in name order; the abort keys; the clipboard; deletion.
#include <gtest/gtest.h>
#include <shlwapi.h>

#include <atomic>
#include <thread>

#include "app/AppState.h"
#include "app/Preferences.h"
#include "framework/Handles.h"
#include "lists/CLVFolderFonts.h"
#include "lists/ClipboardFileDrop.h"
#include "lists/TempFontsFolder.h"
#include "tests/lists/ListTestHost.h"
#include "tests/support/SfntBuilder.h"
#include "tests/support/TestSupport.h"

using namespace sfnt_test;
using testing_support::ScratchDir;

namespace {

const std::wstring kDejaVu = L"Z:\\usr\\share\\fonts\\truetype\\dejavu\\";
const std::wstring kCantarell = L"Z:\\usr\\share\\fonts\\opentype\\cantarell\\Cantarell-Regular.otf";
const std::wstring kNimbusT1 = L"Z:\\usr\\share\\fonts\\type1\\urw-base35\\NimbusSans-Regular.t1";

std::wstring Fixture(const wchar_t* name) { return testing_support::SourceDir() + L"\\tests\\fonts\\data\\" + name; }

bool Copy(const std::wstring& from, const std::wstring& to) { return ::CopyFileW(from.c_str(), to.c_str(), FALSE) != 0; }

// A folder with a TrueType font, a CFF OpenType font, a three-face collection, a Type 1 pair,
// a variable font with named instances, and files the list must pass over.
void MakeMixedFolder(const ScratchDir& dir) {
  ASSERT_TRUE(Copy(kDejaVu + L"DejaVuSans.ttf", dir.File(L"DejaVuSans.ttf")));
  ASSERT_TRUE(Copy(kCantarell, dir.File(L"Cantarell-Regular.otf")));
  WriteFile(dir.File(L"Three.ttc"), BuildCollection({ReadFile(kDejaVu + L"DejaVuSans-Bold.ttf"),
                                                     ReadFile(kDejaVu + L"DejaVuSerif.ttf"),
                                                     ReadFile(kDejaVu + L"DejaVuSansMono.ttf")}));
  const Bytes t1 = ReadFile(kNimbusT1);
  ASSERT_FALSE(t1.empty());
  WriteFile(dir.File(L"NimbusSans-Regular.pfm"), MinimalPfm());
  WriteFile(dir.File(L"NimbusSans-Regular.pfb"), BuildPfb(t1.substr(0, t1.find("eexec") + 6)));
  ASSERT_TRUE(Copy(Fixture(L"OrvelVarStat.ttf"), dir.File(L"OrvelVarStat.ttf")));
  WriteFile(dir.File(L"readme.txt"), "not a font");
  WriteFile(dir.File(L"y.otc"), ReadFile(dir.File(L"Three.ttc")));  // collections named .otc are not listed
  ::CreateDirectoryW(dir.File(L"sub").c_str(), nullptr);
  ASSERT_TRUE(Copy(kDejaVu + L"DejaVuSerif-Bold.ttf", dir.File(L"sub\\DejaVuSerif-Bold.ttf")));
}

// A real key press with the keyboard focus in the tree: the fill's abort check looks at input
// messages only.
void PressKeyInTree(const ListTestHost& host, WORD key) {
  ::SetForegroundWindow(host.Window());
  ::ShowWindow(host.Tree(), SW_SHOW);
  ::SetFocus(host.Tree());
  INPUT input[2] = {};
  input[0].type = input[1].type = INPUT_KEYBOARD;
  input[0].ki.wVk = input[1].ki.wVk = key;
  input[1].ki.dwFlags = KEYEVENTF_KEYUP;
  ::SendInput(2, input, sizeof(INPUT));
  EXPECT_TRUE(testing_support::WaitForQueuedInput()) << "the key press did not reach the queue";
}

std::vector<std::wstring> RowNames(const COrvelListView& list) {
  std::vector<std::wstring> names;
  const int count = static_cast<int>(::SendMessageW(list.m_hWnd, LVM_GETITEMCOUNT, 0, 0));
  for (int i = 0; i < count; ++i) names.push_back(list.GetRowName(i));
  return names;
}

struct FolderListFixture : testing::Test {
  void SetUp() override {
    testing_support::ResetRecords();
    savedPoints = g_Preferences.FontPointSize;
    g_Preferences.FontPointSize = 12;
    host.Attach(list);
    list.m_zipFolder = false;
    list.m_refreshPending = false;
  }
  void TearDown() override {
    g_Preferences.FontPointSize = savedPoints;
    g_AppState.FontCache.RemoveAll(false);
  }
  int savedPoints = 0;
  ListTestHost host;
  CLVFolderFonts& list = g_AppState.FolderFonts;  // the file commands refresh the program's own list
};

}  // namespace

const std::vector<std::wstring> kMixedRows = {
    L"Cantarell",      L"DejaVu Sans Bold", L"DejaVu Sans Book", L"DejaVu Sans Mono Book",    L"DejaVu Serif Book",
    L"Nimbus Sans",    L"Orvel Var Bold",   L"Orvel Var Bold Condensed", L"Orvel Var Light"};

TEST_F(FolderListFixture, MixedFolderGivesOneRowPerFaceInNameOrder) {
  ScratchDir dir;
  MakeMixedFolder(dir);
  list.m_folder = dir.Path();
  ASSERT_EQ(list.Fill(), 1);
  EXPECT_EQ(RowNames(list), kMixedRows);
  EXPECT_EQ(list.CountRecords(), 9);
  EXPECT_FALSE(list.m_busy);
  EXPECT_FALSE(list.m_refreshPending);
  EXPECT_EQ(list.m_driveType, static_cast<UINT>(DRIVE_FIXED));
  wchar_t current[MAX_PATH] = {};
  ::GetCurrentDirectoryW(MAX_PATH, current);
  EXPECT_TRUE(EqualsNoCase(current, dir.Path()));
  int collectionFaces = 0, instances = 0;
  for (int i = 0; i < 9; ++i) {
    const FontItem* r = list.GetRecordAt(i);
    ASSERT_NE(r, nullptr);
    EXPECT_TRUE(r->HasFlag(font_flags::kRead)) << i;  // read by the fill, never again by the painting
    collectionFaces += r->IsCollectionFace();
    instances += r->IsVariable();
  }
  EXPECT_EQ(collectionFaces, 3);
  EXPECT_EQ(instances, 3);
  EXPECT_TRUE(list.GetRecordAt(5)->IsType1());
  EXPECT_TRUE(list.GetRecordAt(0)->IsType(font_flags::kOpenTypeCff));
  ::SetCurrentDirectoryW(testing_support::BinDir().c_str());
}

TEST_F(FolderListFixture, RowsAreDrawnInTheirOwnFaces) {
  ScratchDir dir;
  MakeMixedFolder(dir);
  list.m_folder = dir.Path();
  ASSERT_EQ(list.Fill(), 1);
  ::RedrawWindow(host.Window(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  testing_support::PumpMessages(300);
  // Painting resolved the visible rows; the fonts that are not installed were loaded privately.
  const FontItem* sans = list.GetRecordAt(2);
  ASSERT_NE(sans, nullptr);
  EXPECT_TRUE(sans->HasFlag(font_flags::kResolved));
  EXPECT_FALSE(sans->IsUnreadable());
  EXPECT_GT(g_AppState.FontCache.Count(), 0u);
  // The picture shows the rows even with another window lying over them.
  HWND cover = ::CreateWindowExW(WS_EX_TOPMOST, L"STATIC", nullptr, WS_POPUP | WS_VISIBLE, 0, 0, 300, 300, nullptr,
                                 nullptr, nullptr, nullptr);
  RECT all{0, 0, 300, 300};
  ::FillRect(orv::ScopedGetDC(cover).Get(), &all, orv::ScopedBrush(::CreateSolidBrush(RGB(1, 254, 3))).Get());
  const std::wstring shot = testing_support::ArtifactsDir() + L"\\lists_folder_rows.bmp";
  EXPECT_TRUE(testing_support::SaveWindowImage(host.Window(), shot));
  ::DestroyWindow(cover);
  const std::string pixels = testing_support::ReadFileBytes(shot).substr(54);  // blue, green, red, alpha
  EXPECT_EQ(pixels.find(std::string("\3\xFE\1\xFF\3\xFE\1\xFF", 8)), std::string::npos) << "the cover's colour";
  ::SetCurrentDirectoryW(testing_support::BinDir().c_str());
}

// What each file holds decides its rows: DejaVu Sans copied to a ".ttc" is one font, a
// ten-face "ttcf" collection named ".ttf" gives every face; each row is readable and its display
// font is its own face.
TEST_F(FolderListFixture, FileTagDecidesTheRowsAndEachDrawsInItsOwnFace) {
  const std::wstring noto = L"Z:\\usr\\share\\fonts\\opentype\\noto\\NotoSansCJK-Bold.ttc";
  if (::GetFileAttributesW(noto.c_str()) == INVALID_FILE_ATTRIBUTES) GTEST_SKIP() << "fonts-noto-cjk missing";
  ScratchDir dir;
  ASSERT_TRUE(Copy(kDejaVu + L"DejaVuSans.ttf", dir.File(L"single.ttc")));
  ASSERT_TRUE(Copy(noto, dir.File(L"NotoSansCJK-Bold.ttf")));
  list.m_folder = dir.Path();
  ASSERT_EQ(list.Fill(), 1);
  ASSERT_EQ(list.CountRecords(), 11);
  EXPECT_EQ(list.GetRowName(0), L"DejaVu Sans Book");
  orv::ScopedGetDC screen(nullptr);
  for (int i = 0; i < 11; ++i) {
    ::SendMessageW(list.m_hWnd, LVM_ENSUREVISIBLE, i, FALSE);
    ::UpdateWindow(list.m_hWnd);
    const FontItem* row = list.GetRecordAt(i);
    ASSERT_NE(row, nullptr);
    SCOPED_TRACE(testing_support::Narrow(row->displayName));
    EXPECT_FALSE(row->IsUnreadable());
    EXPECT_EQ(row->IsCollectionFace(), i > 0);
    FontItem copy = FontItem::CopyConstruct(*row);
    orv::ScopedFont font(copy.CreateDisplayFont(-16));
    ASSERT_TRUE(font);
    EXPECT_NE(copy.enumFound, 0u);
    orv::ScopedSelectObject select(screen.Get(), font.Get());
    wchar_t face[LF_FACESIZE] = {};
    ::GetTextFaceW(screen.Get(), LF_FACESIZE, face);
    EXPECT_EQ(std::wstring(face), row->names.SystemFirst(NameSlot::Family));
  }
  EXPECT_TRUE(testing_support::SaveWindowImage(host.Window(), testing_support::ArtifactsDir() + L"\\lists_folder_tag_rows.bmp"));
  ::SetCurrentDirectoryW(testing_support::BinDir().c_str());
}

TEST_F(FolderListFixture, EscapeInTheTreeStopsTheFillAndBeeps) {
  ScratchDir dir;
  MakeMixedFolder(dir);
  list.m_folder = dir.Path();
  PressKeyInTree(host, VK_ESCAPE);
  EXPECT_EQ(list.Fill(), 0);
  EXPECT_EQ(list.CountRecords(), 0);
  EXPECT_TRUE(list.m_folder.empty());
  ASSERT_EQ(testing_support::Beeps().size(), 1u);
  EXPECT_EQ(testing_support::Beeps()[0], static_cast<UINT>(MB_ICONEXCLAMATION));
}

TEST_F(FolderListFixture, NavigationKeyInTheTreeStopsTheFillAndReachesTheTree) {
  ScratchDir dir;
  MakeMixedFolder(dir);
  list.m_folder = dir.Path();
  PressKeyInTree(host, VK_DOWN);
  EXPECT_EQ(list.Fill(), 0);
  EXPECT_EQ(list.CountRecords(), 0);
  EXPECT_TRUE(testing_support::Beeps().empty());
  MSG msg;
  ASSERT_TRUE(::PeekMessageW(&msg, host.Tree(), WM_KEYDOWN, WM_KEYDOWN, PM_REMOVE));
  EXPECT_EQ(msg.wParam, static_cast<WPARAM>(VK_DOWN));
}

TEST_F(FolderListFixture, OtherInputDoesNotStopTheFill) {
  ScratchDir dir;
  MakeMixedFolder(dir);
  list.m_folder = dir.Path();
  PressKeyInTree(host, 'A');
  EXPECT_EQ(list.Fill(), 1);
  EXPECT_EQ(list.CountRecords(), 9);
  ::SetCurrentDirectoryW(testing_support::BinDir().c_str());
}

TEST_F(FolderListFixture, MissingOrEmptyFolderGivesNoRows) {
  list.m_folder = L"C:\\no\\such\\folder";
  EXPECT_EQ(list.Fill(), 0);
  EXPECT_EQ(list.CountRecords(), 0);
  list.m_folder.clear();
  list.m_refreshPending = true;
  EXPECT_EQ(list.Fill(), 0);
  EXPECT_FALSE(list.m_refreshPending);
  ScratchDir empty;
  list.m_folder = empty.Path();
  EXPECT_EQ(list.Fill(), 1);
  EXPECT_EQ(list.CountRecords(), 0);
  ::SetCurrentDirectoryW(testing_support::BinDir().c_str());
}

TEST_F(FolderListFixture, CopyPutsTheSelectedFilesOnTheClipboard) {
  ScratchDir dir;
  MakeMixedFolder(dir);
  list.m_folder = dir.Path();
  ASSERT_EQ(list.Fill(), 1);
  list.SelectAll(true);
  list.CopyFilesToClipboard();
  const std::vector<std::wstring> paths = ReadFileDropFromClipboard(host.Window());
  const std::vector<std::wstring> expected = {
      dir.File(L"Cantarell-Regular.otf"), dir.File(L"Three.ttc"), dir.File(L"DejaVuSans.ttf"),
      dir.File(L"NimbusSans-Regular.pfm"), dir.File(L"NimbusSans-Regular.pfb"), dir.File(L"OrvelVarStat.ttf")};
  EXPECT_EQ(paths, expected);
  ::SetCurrentDirectoryW(testing_support::BinDir().c_str());
}

TEST_F(FolderListFixture, PasteCopiesFontFilesFromTheClipboardAndBeepsWithoutAny) {
  ScratchDir from;
  MakeMixedFolder(from);
  ScratchDir to;
  list.m_folder = to.Path();
  ASSERT_TRUE(WriteFileDropToClipboard(host.Window(), {from.File(L"readme.txt")}));
  list.PasteFilesFromClipboard();
  EXPECT_EQ(testing_support::Beeps().size(), 1u);
  ASSERT_TRUE(WriteFileDropToClipboard(host.Window(), {from.File(L"DejaVuSans.ttf"), from.File(L"readme.txt"),
                                                       from.File(L"Three.ttc")}));
  list.PasteFilesFromClipboard();
  EXPECT_TRUE(::PathFileExistsW(to.File(L"DejaVuSans.ttf").c_str()));
  EXPECT_TRUE(::PathFileExistsW(to.File(L"Three.ttc").c_str()));
  EXPECT_FALSE(::PathFileExistsW(to.File(L"readme.txt").c_str()));
  EXPECT_TRUE(list.m_refreshPending);
}

TEST_F(FolderListFixture, ZipFolderOrNoFolderRefusesDeleteAndPaste) {
  list.m_folder.clear();
  list.PasteFilesFromClipboard();
  list.m_folder = L"C:\\x.zip";
  list.m_zipFolder = true;
  list.PasteFilesFromClipboard();
  list.DeleteSelectedFiles();
  EXPECT_EQ(testing_support::Beeps(), (std::vector<UINT>{0, 0, 0}));
}

namespace {

// Answers the shell's delete confirmation from another thread.
struct ConfirmAnswerer {
  ConfirmAnswerer() : thread([this] {
    for (int i = 0; i < 200 && !stop; ++i) {
      HWND box = ::FindWindowW(L"#32770", nullptr);
      DWORD pid = 0;
      if (box) ::GetWindowThreadProcessId(box, &pid);
      if (box && pid == ::GetCurrentProcessId()) {
        ::PostMessageW(box, WM_COMMAND, IDYES, 0);
        answered = true;
      }
      ::Sleep(50);
    }
  }) {}
  ~ConfirmAnswerer() {
    stop = true;
    thread.join();
  }
  std::atomic<bool> stop{false};
  std::atomic<bool> answered{false};
  std::thread thread;
};

}  // namespace

TEST_F(FolderListFixture, DeleteRemovesExactlyTheSelectedFilesAndTheirRows) {
  ScratchDir dir;
  MakeMixedFolder(dir);
  list.m_folder = dir.Path();
  ASSERT_EQ(list.Fill(), 1);
  LVITEMW item{};
  item.stateMask = LVIS_SELECTED;
  item.state = LVIS_SELECTED;
  ::SendMessageW(list.m_hWnd, LVM_SETITEMSTATE, 0, reinterpret_cast<LPARAM>(&item));  // Cantarell
  ::SendMessageW(list.m_hWnd, LVM_SETITEMSTATE, 1, reinterpret_cast<LPARAM>(&item));  // a face of Three.ttc
  {
    ConfirmAnswerer answer;
    list.DeleteSelectedFiles();
  }
  EXPECT_FALSE(::PathFileExistsW(dir.File(L"Cantarell-Regular.otf").c_str()));
  EXPECT_FALSE(::PathFileExistsW(dir.File(L"Three.ttc").c_str()));
  for (const wchar_t* kept : {L"DejaVuSans.ttf", L"NimbusSans-Regular.pfm", L"NimbusSans-Regular.pfb",
                              L"OrvelVarStat.ttf", L"readme.txt", L"y.otc", L"sub\\DejaVuSerif-Bold.ttf"})
    EXPECT_TRUE(::PathFileExistsW(dir.File(kept).c_str())) << testing_support::Narrow(kept);
  EXPECT_EQ(RowNames(list), (std::vector<std::wstring>{L"DejaVu Sans Book", L"Nimbus Sans", L"Orvel Var Bold",
                                                       L"Orvel Var Bold Condensed", L"Orvel Var Light"}));
  EXPECT_TRUE(list.m_filesChanged);
  EXPECT_FALSE(list.m_busy);
  ::SetCurrentDirectoryW(testing_support::BinDir().c_str());
}

namespace {

// Zip folders as the tests see them: the "zip" is a plain folder whose files are copied.
int ListPlainFolder(const std::wstring& zip, const std::wstring& extensions, std::wstring& names) {
  names.clear();
  int count = 0;
  WIN32_FIND_DATAW found{};
  HANDLE find = ::FindFirstFileW((zip + L"\\*.*").c_str(), &found);
  if (find == INVALID_HANDLE_VALUE) return 0;
  do {
    std::wstring ext = ::PathFindExtensionW(found.cFileName);
    ::CharLowerBuffW(ext.data(), static_cast<DWORD>(ext.size()));
    if (ext.empty() || extensions.find(L"|" + ext + L"|") == std::wstring::npos) continue;
    if (!names.empty()) names += L"\t";
    names += found.cFileName;
    ++count;
  } while (::FindNextFileW(find, &found));
  ::FindClose(find);
  return count;
}

bool CopyPlainFolder(const std::wstring& zip, const std::wstring& destination, const std::wstring& names,
                     void* context, bool (*shouldAbort)(void*),
                     void (*onFile)(void*, const std::wstring&, const std::wstring&)) {
  size_t start = 0;
  while (start <= names.size()) {
    const size_t tab = names.find(L'\t', start);
    const std::wstring name = names.substr(start, tab == std::wstring::npos ? std::wstring::npos : tab - start);
    if (shouldAbort(context)) return false;
    ::CopyFileW((zip + L"\\" + name).c_str(), (destination + L"\\" + name).c_str(), FALSE);
    onFile(context, destination, name);
    if (tab == std::wstring::npos) break;
    start = tab + 1;
  }
  return true;
}

}  // namespace

TEST_F(FolderListFixture, ZipFolderIsListedFromTheTemporaryFolder) {
  ScratchDir zip;
  ASSERT_TRUE(Copy(Fixture(L"OrvelVarStat.ttf"), zip.File(L"OrvelVarStat.ttf")));
  ASSERT_TRUE(Copy(kDejaVu + L"DejaVuSans.ttf", zip.File(L"DejaVuSans.ttf")));
  WriteFile(zip.File(L"notes.txt"), "x");
  const ZipFolderAccess saved = GetZipFolderAccess();
  SetZipFolderAccess({&ListPlainFolder, &CopyPlainFolder});
  list.m_folder = zip.Path();
  list.m_zipFolder = true;
  EXPECT_EQ(list.Fill(), 1);
  // A variable font inside a zip gives one row.
  EXPECT_EQ(list.CountRecords(), 2);
  const std::wstring temp = GetTempFontsFolder();
  EXPECT_TRUE(::PathFileExistsW((temp + L"\\DejaVuSans.ttf").c_str()));
  EXPECT_FALSE(::PathFileExistsW((temp + L"\\notes.txt").c_str()));
  EXPECT_TRUE(EqualsNoCase(list.GetRecordAt(0)->folder, temp));
  EXPECT_FALSE(list.GetRecordAt(0)->IsUnreadable());
  // The next zip listing empties the temporary folder first.
  ScratchDir empty;
  list.m_folder = empty.Path();
  EXPECT_EQ(list.Fill(), 0);
  EXPECT_FALSE(::PathFileExistsW((temp + L"\\DejaVuSans.ttf").c_str()));
  SetZipFolderAccess(saved);
}
