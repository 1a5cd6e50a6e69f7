// The census dialog and the finder of folders with fonts under Wine, driven by their own
// messages: a golden census of a small folder tree (records, analysis, filters, counts), damaged
// and odd files, the report files, a stopped walk, closing during a walk and during the font
// check, and the finder's list.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "app/AppState.h"
#include "common/ResString.h"
#include "common/ResourceIds.h"
#include "common/StringHelpers.h"
#include "lists/CCensusDlg.h"
#include "lists/CDirWithFontsDlg.h"
#include "tests/support/SfntBuilder.h"
#include "tests/support/TestSupport.h"

using namespace sfnt_test;
using testing_support::ScratchDir;

namespace {

const std::wstring kDejaVu = L"Z:\\usr\\share\\fonts\\truetype\\dejavu\\";

void Put(const std::wstring& path, const Bytes& bytes) {
  std::wstring folder = path.substr(0, path.rfind(L'\\'));
  ::SHCreateDirectoryExW(nullptr, folder.c_str(), nullptr);
  WriteFile(path, bytes);
}

Bytes DejaVu(const wchar_t* name) { return ReadFile(kDejaVu + name); }

Bytes NamedFont(const std::wstring& full) {
  return BuildSfnt({{"head", BuildHead()}, {"OS/2", BuildOs2(4)}, {"name", BuildNameTable(WindowsNames(full, L"Regular", full))}});
}

// root\sys plays the system Fonts folder and lies inside the root the census walks.
void MakeCensusTree(const std::wstring& root) {
  Put(root + L"\\sys\\DejaVuSans.ttf", DejaVu(L"DejaVuSans.ttf"));
  Put(root + L"\\a\\DejaVuSans.ttf", DejaVu(L"DejaVuSans.ttf"));
  Put(root + L"\\b\\DejaVuSerif.ttf", DejaVu(L"DejaVuSerif.ttf"));
  Put(root + L"\\c\\Serif2.ttf", DejaVu(L"DejaVuSerif.ttf"));
  Put(root + L"\\d\\Same.ttf", DejaVu(L"DejaVuSansMono.ttf"));
  Put(root + L"\\e\\Same.ttf", DejaVu(L"DejaVuSans-Bold.ttf"));
  Put(root + L"\\f\\Pair.ttc", BuildCollection({DejaVu(L"DejaVuSerif-Bold.ttf"), DejaVu(L"DejaVuSansMono-Bold.ttf")}));
  Put(root + L"\\f\\broken.ttf", Bytes("not a font at all, only text"));
  Put(root + L"\\f\\Marlett.ttf", NamedFont(L"Marlett"));
  Put(root + L"\\f\\readme.txt", Bytes("not a font"));
}

// Pumps messages until `done` or about ten seconds have passed.
template <class F>
bool PumpUntil(F done) {
  for (int i = 0; i < 1000 && !done(); ++i) testing_support::PumpMessages(10);
  return done();
}

std::wstring Relative(const std::wstring& path, const std::wstring& root) {
  return path.compare(0, root.size(), root) == 0 ? path.substr(root.size()) : path;
}

// The rows as the list shows them: name|files|version|folder below the root|census flags.
std::vector<std::wstring> Rows(CCensusListView& list, const std::wstring& root) {
  std::vector<std::wstring> rows;
  for (int row = 0; row < list.RowCount(); ++row) {
    wchar_t flags[16];
    wsprintfW(flags, L"%x", list.GetCensusFlags(row));
    rows.push_back(list.GetCellText(row, kCensusName) + L"|" + list.GetCellText(row, kCensusFiles) + L"|" +
                   list.GetCellText(row, kCensusVersion) + L"|" + Relative(list.GetCellText(row, kCensusFolder), root) +
                   L"|" + flags);
  }
  return rows;
}

void SelectFilter(CCensusDlg& dlg, int item) {
  HWND filter = ::GetDlgItem(dlg.m_hWnd, IDC_CENSUS_FILTER);
  ::SendMessageW(filter, CB_SETCURSEL, item, 0);
  ::SendMessageW(dlg.m_hWnd, WM_COMMAND, MAKEWPARAM(IDC_CENSUS_FILTER, CBN_SELCHANGE), reinterpret_cast<LPARAM>(filter));
}

class CensusDlgTest : public ::testing::Test {
protected:
  void SetUp() override {
    testing_support::ResetRecords();
    saved_ = {g_AppState.SystemFontsFolder, g_AppState.UserFontsFolder};
    savedRelease_ = g_AppState.WindowsRelease;
    root_ = testing_support::LongPath(dir_.Path());
    g_AppState.SystemFontsFolder = root_ + L"\\sys";
    g_AppState.UserFontsFolder = root_ + L"\\nowhere";
    g_AppState.WindowsRelease = 1903;
  }
  void TearDown() override {
    g_AppState.SystemFontsFolder = saved_[0];
    g_AppState.UserFontsFolder = saved_[1];
    g_AppState.WindowsRelease = savedRelease_;
  }

  // A census of the root with the system Fonts box on, run to its end.
  void RunCensus(CCensusDlg& dlg, const std::wstring& roots) {
    ASSERT_TRUE(dlg.CreateModeless());
    dlg.StartCensus(roots);
    ASSERT_TRUE(PumpUntil([&] { return !dlg.IsWalkRunning() && !dlg.List().IsBusy(); }));
  }

  ScratchDir dir_;
  std::wstring root_;
  std::vector<std::wstring> saved_;
  int32_t savedRelease_ = 0;
};

}  // namespace

TEST_F(CensusDlgTest, GoldenCensusOfAFolderTree) {
  MakeCensusTree(root_);
  CCensusDlg dlg;
  RunCensus(dlg, root_);
  const std::vector<std::wstring> golden = {
      L"DejaVu Sans|DejaVuSans.ttf|Version 2.37|\\sys|41",
      L"DejaVu Sans|DejaVuSans.ttf|Version 2.37|\\a|2",
      L"DejaVu Sans Bold|Same.ttf|Version 2.37|\\e|100",
      L"DejaVu Sans Mono|Same.ttf|Version 2.37|\\d|100",
      L"DejaVu Sans Mono Bold|Pair.ttc|Version 2.37|\\f|1000",
      L"DejaVu Serif|DejaVuSerif.ttf|Version 2.37|\\b|81",
      L"DejaVu Serif|Serif2.ttf|Version 2.37|\\c|82",
      L"DejaVu Serif Bold|Pair.ttc|Version 2.37|\\f|1000",
  };
  std::vector<std::wstring> rows = Rows(dlg.List(), root_);
  // The unreadable file is listed as unusable under whatever name the reader gave it.
  auto broken = std::find_if(rows.begin(), rows.end(), [](const std::wstring& r) { return r.find(L"|broken.ttf|") != std::wstring::npos; });
  ASSERT_NE(broken, rows.end());
  EXPECT_EQ(broken->substr(broken->rfind(L'|')), L"|10");
  rows.erase(broken);
  EXPECT_EQ(rows, golden);
  EXPECT_EQ(dlg.StatusBar().GetText(0), ToolStatusBar::FormatCount(9));
  EXPECT_EQ(dlg.StatusBar().GetText(1), ToolStatusBar::FormatCount(9));
  EXPECT_EQ(dlg.StatusBar().GetText(3), LoadResString(IDS_OPERATION_FINISHED));
  // A complete census: start locked until the choice changes, filters and save open.
  EXPECT_FALSE(::IsWindowEnabled(::GetDlgItem(dlg.m_hWnd, IDOK)));
  EXPECT_TRUE(::IsWindowEnabled(::GetDlgItem(dlg.m_hWnd, IDC_CENSUS_FILTER)));
  EXPECT_TRUE(::IsWindowEnabled(::GetDlgItem(dlg.m_hWnd, IDC_CENSUS_SAVE)));
  // The folder box shows its entry again once the walk has let it go.
  HWND drives = ::GetDlgItem(dlg.m_hWnd, IDC_CENSUS_DRIVES);
  const int selected = static_cast<int>(::SendMessageW(drives, CB_GETCURSEL, 0, 0));
  ASSERT_GE(selected, 0);
  wchar_t entry[MAX_PATH] = {};
  COMBOBOXEXITEMW item{CBEIF_TEXT, selected, entry, MAX_PATH};
  ::SendMessageW(drives, CBEM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item));
  EXPECT_NE(entry[0], 0);
  HWND edit = reinterpret_cast<HWND>(::SendMessageW(drives, CBEM_GETEDITCONTROL, 0, 0));
  EXPECT_EQ(GetWindowTextString(edit), entry);

  struct FilterCase {
    int item;
    std::vector<std::wstring> rows;
  };
  const FilterCase filters[] = {
      // The installed font with one identical copy is no duplicate.
      {CCensusDlg::kShowDuplicates, {golden[5], golden[6]}},
      {CCensusDlg::kShowOtherFileNames, {golden[5], golden[6]}},
      // Sorted by file name; within one name in the order of the walk.
      {CCensusDlg::kShowSharedFileNames, {golden[3], golden[2]}},
      {CCensusDlg::kShowAll, {}},
  };
  for (const FilterCase& f : filters) {
    SCOPED_TRACE(f.item);
    SelectFilter(dlg, f.item);
    if (f.item == CCensusDlg::kShowAll) {
      EXPECT_EQ(dlg.List().RowCount(), 9);
      continue;
    }
    EXPECT_EQ(Rows(dlg.List(), root_), f.rows);
    EXPECT_EQ(dlg.StatusBar().GetText(1), ToolStatusBar::FormatCount(static_cast<int>(f.rows.size())));
    EXPECT_EQ(dlg.StatusBar().GetText(0), ToolStatusBar::FormatCount(9));
  }

  SelectFilter(dlg, CCensusDlg::kShowAll);
  testing_support::PumpMessages(50);
  EXPECT_TRUE(testing_support::SaveWindowImage(dlg.m_hWnd, testing_support::ArtifactsDir() + L"\\lists_census_dialog.bmp"));

  // Fonts that cannot be loaded: every record is loaded privately on the check thread.
  SelectFilter(dlg, CCensusDlg::kShowUnusable);
  ASSERT_TRUE(PumpUntil([&] { return !dlg.List().IsChecking(); }));
  ASSERT_EQ(dlg.List().RowCount(), 1);
  EXPECT_NE(dlg.List().GetCellText(0, kCensusFiles), L"");
  EXPECT_EQ(dlg.List().GetCellText(0, kCensusFiles), L"broken.ttf");
  EXPECT_TRUE(dlg.List().CheckDone());
  dlg.SendMessage(WM_CLOSE);
  EXPECT_FALSE(::IsWindow(dlg.m_hWnd));
}

TEST_F(CensusDlgTest, DamagedAndOddFilesGiveUnusableRowsAndTheCensusEnds) {
  const Bytes sans = DejaVu(L"DejaVuSans.ttf");
  Bytes lyingCollection = "ttcf";
  PutU32(lyingCollection, 0x00010000);
  PutU32(lyingCollection, 0xFFFFFFFF);  // faces declared
  PutU32(lyingCollection, 0x7FFFFFF0);  // offset of the first face, past the end
  Bytes hostileOffsets = sans;
  const uint16_t tables = GetU16(hostileOffsets, 4);
  for (size_t at = 12; at < 12 + 16u * tables && at + 16 <= hostileOffsets.size(); at += 16)
    SetU32(hostileOffsets, at + 8, 0xFFFFFF00);  // every table past the end
  const struct {
    const wchar_t* name;
    Bytes bytes;
  } files[] = {
      {L"empty.ttf", Bytes()},
      {L"truncated.ttf", sans.substr(0, 100)},
      {L"lying.ttc", lyingCollection},
      {L"offsets.otf", hostileOffsets},
      {L"garbage.pfm", Bytes(300, '\xFF')},
      {L"ok.ttf", sans},
  };
  for (const auto& f : files) Put(root_ + L"\\h\\" + f.name, f.bytes);
  // A folder named like a font and a path at the length limit are passed over or read.
  ::CreateDirectoryW((root_ + L"\\h\\folder.ttf").c_str(), nullptr);
  std::wstring deep = root_ + L"\\h";
  while (deep.size() < 230) deep += L"\\deeper";
  Put(deep + L"\\long.ttf", sans);

  CCensusDlg dlg;
  RunCensus(dlg, root_ + L"\\h");
  int unusable = 0, readable = 0;
  for (int row = 0; row < dlg.List().RowCount(); ++row) {
    const bool bad = (dlg.List().GetCensusFlags(row) & census_flags::kUnusable) != 0;
    (bad ? unusable : readable) += 1;
    if (!bad) {
      EXPECT_EQ(dlg.List().GetCellText(row, kCensusName), L"DejaVu Sans");
    }
  }
  EXPECT_EQ(readable, 2);  // ok.ttf and long.ttf
  EXPECT_EQ(unusable, 5);
  EXPECT_EQ(dlg.StatusBar().GetText(3), LoadResString(IDS_OPERATION_FINISHED));
  dlg.SendMessage(WM_CLOSE);
}

TEST_F(CensusDlgTest, ReportFilesFollowTheRowsShownAndAnExistingFileIsKeptOnNo) {
  MakeCensusTree(root_);
  CCensusDlg dlg;
  RunCensus(dlg, root_);
  SelectFilter(dlg, CCensusDlg::kShowDuplicates);
  ASSERT_EQ(dlg.List().RowCount(), 2);
  const std::wstring html = dir_.File(L"report.htm");
  const std::wstring text = dir_.File(L"report.txt");
  ASSERT_TRUE(dlg.WriteReport(html, CensusReportKind::kHtml));
  ASSERT_TRUE(dlg.WriteReport(text, CensusReportKind::kText));
  const std::string page = testing_support::ReadFileBytes(html);
  EXPECT_EQ(page.rfind("<!DOCTYPE html>\r\n<html>\r\n<head>\r\n<title>Orvel Font Manager</title>\r\n", 0), 0u);
  EXPECT_EQ(page.substr(page.size() - 16), "</body>\r\n</html>");
  size_t rows = 0;
  for (size_t at = page.find("<tr onmouseover"); at != std::string::npos; at = page.find("<tr onmouseover", at + 1)) ++rows;
  EXPECT_EQ(rows, 2u);
  const std::string lines = testing_support::ReadFileBytes(text);
  const std::string first = "\"DejaVu Serif\";\"DejaVuSerif.ttf\";\"Version 2.37\";\"";
  EXPECT_EQ(lines.rfind(first, 0), 0u);
  EXPECT_EQ(std::count(lines.begin(), lines.end(), '\n'), 2);
  EXPECT_NE(lines.find("\\c\"\r\n"), std::string::npos);  // the second row, in list order

  // An existing file: the question, and No leaves it alone.
  testing_support::SetBoxAnswer(IDNO);
  EXPECT_FALSE(dlg.WriteReport(text, CensusReportKind::kHtml));
  EXPECT_EQ(testing_support::ReadFileBytes(text), lines);
  ASSERT_EQ(testing_support::Boxes().size(), 1u);
  EXPECT_EQ(testing_support::Boxes()[0].text, LoadResString(IDS_ASK_REPLACE_PAGE));
  // A file that cannot be written is reported, not passed over.
  testing_support::ResetRecords();
  EXPECT_FALSE(dlg.WriteReport(dir_.File(L"no such folder\\r.htm"), CensusReportKind::kHtml));
  ASSERT_EQ(testing_support::Boxes().size(), 1u);
  EXPECT_EQ(testing_support::Boxes()[0].text, LoadResString(IDS_CENSUS_REPORT_FAILED));
  dlg.SendMessage(WM_CLOSE);
}

TEST_F(CensusDlgTest, ClosingDuringAWalkEndsTheWalkAndTheWindow) {
  // Enough folders that the walk is still running when the close comes.
  const Bytes sans = DejaVu(L"DejaVuSans.ttf");
  for (int i = 0; i < 60; ++i) Put(root_ + L"\\many\\f" + std::to_wstring(i) + L"\\DejaVuSans.ttf", sans);
  CCensusDlg dlg;
  ASSERT_TRUE(dlg.CreateModeless());
  dlg.StartCensus(root_ + L"\\many");
  EXPECT_FALSE(::IsWindowEnabled(::GetDlgItem(dlg.m_hWnd, IDCANCEL)));
  dlg.SendMessage(WM_CLOSE);
  EXPECT_FALSE(::IsWindow(dlg.m_hWnd));
  EXPECT_FALSE(dlg.IsWalkRunning());
}

// So many small fonts in so many folders that a walk of them, or a check of them, runs for a
// second or more.
constexpr int kManyFonts = 1000;
void MakeManyFonts(const std::wstring& root) {
  const Bytes font = ReadFile(testing_support::SourceDir() + L"\\tests\\fonts\\data\\OrvelVarNoStat.ttf");
  ASSERT_FALSE(font.empty()) << "missing test font OrvelVarNoStat.ttf";
  for (int i = 0; i < kManyFonts; ++i)
    Put(root + L"\\d" + std::to_wstring(i / 50) + L"\\f" + std::to_wstring(i) + L".ttf", font);
}

TEST_F(CensusDlgTest, StoppedCensusKeepsItsRowsAndLeavesTheFiltersClosed) {
  MakeManyFonts(root_ + L"\\many");
  CCensusDlg dlg;
  ASSERT_TRUE(dlg.CreateModeless());
  dlg.StartCensus(root_ + L"\\many");
  // The first records are taken as the dialog's timer takes them, but without pumping: the
  // walk's end, were it posted already, is not handled before the stop, however busy the machine.
  for (int i = 0; i < 2000 && dlg.List().RecordCount() == 0; ++i) {
    ::Sleep(2);
    dlg.SendMessage(WM_TIMER, CCensusDlg::kTimerTake);
  }
  ASSERT_GT(dlg.List().RecordCount(), 0);
  ASSERT_TRUE(dlg.IsWalkRunning()) << "the walk must still run when the stop comes";
  dlg.SendMessage(WM_COMMAND, IDOK);  // the button stops the walk
  ASSERT_TRUE(PumpUntil([&] { return !dlg.IsWalkRunning() && !dlg.List().IsBusy(); }));
  EXPECT_EQ(dlg.StatusBar().GetText(3), LoadResString(IDS_CENSUS_STOPPED));
  const int records = dlg.List().RecordCount();
  EXPECT_GT(records, 0) << "the rows found before the stop stay";
  EXPECT_LT(records, kManyFonts) << "the walk ended at the stop, not at the last file";
  EXPECT_EQ(dlg.List().RowCount(), records);
  EXPECT_EQ(dlg.StatusBar().GetText(0), ToolStatusBar::FormatCount(records));
  EXPECT_EQ(dlg.StatusBar().GetText(1), ToolStatusBar::FormatCount(records));
  // A stopped census can be run again at once; its rows are not analysed, so no filter.
  EXPECT_TRUE(::IsWindowEnabled(::GetDlgItem(dlg.m_hWnd, IDOK)));
  EXPECT_FALSE(::IsWindowEnabled(::GetDlgItem(dlg.m_hWnd, IDC_CENSUS_FILTER)));
  EXPECT_EQ(GetWindowTextString(::GetDlgItem(dlg.m_hWnd, IDOK)), LoadResString(IDS_CENSUS_START));
  dlg.SendMessage(WM_CLOSE);
}

TEST_F(CensusDlgTest, ClosingDuringTheFontCheckKeepsTheWindowUntilTheCheckHasStopped) {
  MakeManyFonts(root_ + L"\\many");
  CCensusDlg dlg;
  RunCensus(dlg, root_ + L"\\many");
  ASSERT_EQ(dlg.List().RecordCount(), kManyFonts);
  SelectFilter(dlg, CCensusDlg::kShowUnusable);
  ASSERT_TRUE(dlg.List().IsChecking());
  dlg.SendMessage(WM_CLOSE);
  EXPECT_TRUE(::IsWindow(dlg.m_hWnd)) << "the window stays while the check stops";
  ASSERT_TRUE(PumpUntil([&] { return !::IsWindow(dlg.m_hWnd); })) << "and goes once it has stopped";
  EXPECT_FALSE(dlg.List().IsChecking());
  EXPECT_FALSE(dlg.List().CheckDone()) << "the check was stopped, not run to its end";
}

TEST_F(CensusDlgTest, FinderListsEachFolderWithFontsOnceInOrder) {
  const Bytes sans = DejaVu(L"DejaVuSans.ttf");
  for (const wchar_t* name : {L"one.ttf", L"two.ttf", L"three.ttf"}) Put(root_ + L"\\z\\" + name, sans);
  Put(root_ + L"\\z\\x.pfm", MinimalPfm());
  Put(root_ + L"\\a\\sub\\font.otf", sans);
  Put(root_ + L"\\m\\readme.txt", Bytes("no font"));
  Put(root_ + L"\\h\\hidden.ttf", sans);
  ::SetFileAttributesW((root_ + L"\\h\\hidden.ttf").c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
  CDirWithFontsDlg dlg;
  ASSERT_TRUE(dlg.CreateModeless());
  dlg.StartWalk(root_);
  ASSERT_TRUE(PumpUntil([&] { return !dlg.IsWalkRunning() && !dlg.List().IsBusy(); }));
  std::vector<std::wstring> found;
  for (int i = 0; i < dlg.List().Count(); ++i) found.push_back(Relative(dlg.List().FolderAt(i), root_));
  EXPECT_EQ(found, (std::vector<std::wstring>{L"\\a\\sub", L"\\z"}));
  EXPECT_EQ(dlg.StatusBar().GetText(0), LoadResString(IDS_OPERATION_FINISHED));
  EXPECT_TRUE(::IsWindowEnabled(dlg.Drives().m_hWnd));
  dlg.SendMessage(WM_CLOSE);
  EXPECT_FALSE(::IsWindow(dlg.m_hWnd));
}
