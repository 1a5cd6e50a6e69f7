// The group checks over hand-edited group trees in a scratch groups folder: a table of broken
// trees and the rows each gives, the two repairs read back through FontGroup (each once, never
// over a file that cannot be read), and the checks window driven by its own messages.
#include <gtest/gtest.h>

#include <algorithm>
#include <cwchar>
#include <functional>
#include <string>
#include <vector>

#include "groups/CGroupChecksDlg.h"
#include "groups/GroupFileChecker.h"
#include "groups/GroupNames.h"
#include "tests/groups/GroupsTestEnv.h"

using testing_support::Narrow;

namespace {

const std::wstring kRoot = kRootGroupFile;
const std::wstring kRecovery = L"orvelgrp99999.xml";
std::wstring G(int n) { return FormatGroupFileName(n); }

std::vector<std::wstring> Joined(const std::vector<GroupCheckRecord>& records) {
  std::vector<std::wstring> rows;
  for (const GroupCheckRecord& r : records) rows.push_back(r.Text1 + L"|" + r.Text2 + L"|" + r.Text3 + L"|" + r.Text4);
  std::sort(rows.begin(), rows.end());
  return rows;
}

std::vector<std::string> Narrowed(const std::vector<std::wstring>& rows) {
  std::vector<std::string> out;
  for (const std::wstring& row : rows) out.push_back(Narrow(row));
  return out;
}

class GroupChecksTest : public GroupsTest {
public:
  using GroupsTest::MakeGroup;
  using GroupsTest::PathOf;
  using GroupsTest::WriteRaw;
  using GroupsTest::ReadRaw;

  // A group whose fonts are given by full path.
  void MakeFontGroup(const std::wstring& file, const std::wstring& name, const std::vector<std::wstring>& paths) {
    FontGroup g;
    g.FileName = file;
    g.Name = name;
    g.Parent = kRoot;
    int i = 0;
    for (const std::wstring& path : paths) g.AddFont(L"Font" + std::to_wstring(i++), path);
    ASSERT_TRUE(g.Save());
  }

protected:
  FontGroup Read(const std::wstring& file) {
    FontGroup g;
    EXPECT_TRUE(g.Load(file)) << Narrow(file);
    return g;
  }

  static std::vector<std::wstring> NodePaths(const FontGroup& g) {
    std::vector<std::wstring> paths;
    for (const FontGroupEntry& node : g.Nodes) paths.push_back(node.Path);
    return paths;
  }
};

struct BrokenTree {
  const char* label;
  std::function<void(GroupChecksTest&)> make;
  std::vector<std::wstring> missingFonts;
  std::vector<std::wstring> brokenChains;
  std::vector<std::wstring> missingChildren;
};

}  // namespace

TEST_F(GroupChecksTest, BrokenTreesGiveTheirRows) {
  const std::vector<BrokenTree> cases = {
      {"only the root", [](GroupChecksTest&) {}, {}, {}, {}},
      {"sound tree",
       [](GroupChecksTest& s) {
         s.MakeGroup(kRoot, L"Root", L"", {G(1)});
         s.MakeGroup(G(1), L"One", kRoot, {G(2)});
         s.MakeGroup(G(2), L"Two", G(1));
       },
       {}, {}, {}},
      {"missing child listed twice (the store keeps one)",
       [](GroupChecksTest& s) {
         s.MakeGroup(kRoot, L"Root", L"", {G(1)});
         s.MakeGroup(G(1), L"One", kRoot, {G(5), G(5)});
       },
       {}, {}, {L"One|" + G(1) + L"|" + G(5) + L" name|" + G(5)}},
      {"parent lists the group in other letter case",
       [](GroupChecksTest& s) {
         s.MakeGroup(kRoot, L"Root", L"", {L"ORVELGRP00001.XML"});
         s.MakeGroup(G(1), L"One", kRoot);
       },
       {}, {L"Root|" + kRoot + L"|One|" + G(1)}, {}},
      {"empty Parent",
       [](GroupChecksTest& s) {
         s.MakeGroup(G(1), L"One", L"");
       },
       {}, {L"||One|" + G(1)}, {}},
      {"parent file gone",
       [](GroupChecksTest& s) {
         s.MakeGroup(G(1), L"One", G(7));
       },
       {}, {L"|" + G(7) + L"|One|" + G(1)}, {}},
      {"wrong Parent: the parent does not list the group",
       [](GroupChecksTest& s) {
         s.MakeGroup(kRoot, L"Root", L"", {G(2)});
         s.MakeGroup(G(1), L"One", G(2));
         s.MakeGroup(G(2), L"Two", kRoot);
       },
       {}, {L"Two|" + G(2) + L"|One|" + G(1)}, {}},
      {"cycle of two groups listing each other",
       [](GroupChecksTest& s) {
         s.MakeGroup(G(1), L"One", G(2), {G(2)});
         s.MakeGroup(G(2), L"Two", G(1), {G(1)});
       },
       {}, {L"One|" + G(1) + L"|Two|" + G(2), L"Two|" + G(2) + L"|One|" + G(1)}, {}},
      {"group that is its own parent",
       [](GroupChecksTest& s) {
         s.MakeGroup(G(1), L"One", G(1), {G(1)});
       },
       {}, {L"||One|" + G(1)}, {}},
      {"empty and damaged files",
       [](GroupChecksTest& s) {
         s.WriteRaw(G(3), "");
         s.WriteRaw(G(4), "<OrvelFontGroups><Name>Cut");
       },
       // The empty file has nothing to show; the damaged one shows its file name.
       {}, {L"||" + G(4) + L"|" + G(4), L"|||" + G(3)}, {}},
      {"a damaged file that its parent lists: the tree cannot show it, the checks do",
       [](GroupChecksTest& s) {
         s.MakeGroup(kRoot, L"Root", L"", {G(5)});
         s.MakeGroup(G(5), L"Holey", kRoot);
         std::string text = s.ReadRaw(G(5));
         ASSERT_NE(text.find("</OrvelFontGroups>"), std::string::npos);
         text.insert(text.find("</OrvelFontGroups>"), "<orvelnodes>\r\n\t<node></node>\r\n</orvelnodes>\r\n");
         s.WriteRaw(G(5), text);
       },
       {}, {L"||" + G(5) + L"|" + G(5)}, {}},
      {"missing fonts: five gone give one row, a Type 1 pair without its .pfb counts",
       [](GroupChecksTest& s) {
         s.WriteRaw(L"a.ttf", "x");
         s.WriteRaw(L"a.pfm", "x");
         s.WriteRaw(L"b.pfb", "x");
         s.MakeGroup(kRoot, L"Root", L"", {G(1), G(2), G(3)});
         s.MakeFontGroup(G(1), L"Five", {L"C:\\gone1.ttf", L"C:\\gone2.ttf", L"C:\\gone3.ttf", L"C:\\gone4.ttf", L"C:\\gone5.ttf"});
         s.MakeFontGroup(G(2), L"Pfb", {s.PathOf(L"a.ttf"), s.PathOf(L"a.pfm") + L"|" + s.PathOf(L"a.pfb")});
         s.MakeFontGroup(G(3), L"Present", {s.PathOf(L"a.ttf"), s.PathOf(L"a.pfm") + L"|" + s.PathOf(L"b.pfb")});
       },
       {L"|" + kRoot + L"|Five|" + G(1), L"|" + kRoot + L"|Pfb|" + G(2)}, {}, {}},
  };
  for (const BrokenTree& c : cases) {
    SCOPED_TRACE(c.label);
    for (const std::wstring& f : FolderFiles()) ::DeleteFileW(PathOf(f).c_str());
    c.make(*this);
    GroupFileChecker checker;
    EXPECT_TRUE(checker.Run());
    EXPECT_TRUE(checker.ScanDone);
    EXPECT_EQ(Narrowed(Joined(checker.MissingFonts)), Narrowed(c.missingFonts));
    EXPECT_EQ(Narrowed(Joined(checker.BrokenChains)), Narrowed(c.brokenChains));
    std::vector<std::wstring> children = c.missingChildren;
    std::sort(children.begin(), children.end());
    EXPECT_EQ(Narrowed(Joined(checker.MissingChildren)), Narrowed(children));
  }
}

TEST_F(GroupChecksTest, RemovingMissingChildrenKeepsTheRestAndNeverWritesOverADamagedFile) {
  MakeGroup(kRoot, L"Root", L"", {G(1), G(3)});
  MakeGroup(G(1), L"One", kRoot, {G(2), G(5), G(5), G(6)});
  MakeGroup(G(2), L"Two", G(1));
  const std::string damaged = "<OrvelFontGroups><Name>Cut<Node><Path>orvelgrp00008.xml";
  WriteRaw(G(3), damaged);
  GroupFileChecker checker;
  ASSERT_TRUE(checker.Run());
  ASSERT_EQ(checker.MissingChildren.size(), 2u);

  // A row whose group file has since become unreadable changes nothing.
  EXPECT_FALSE(GroupFileChecker::RemoveMissingChild({L"Cut", G(3), L"x", G(8)}));
  EXPECT_EQ(ReadRaw(G(3)), damaged);

  checker.RemoveAllMissingChildren();
  EXPECT_TRUE(checker.MissingChildren.empty());
  EXPECT_EQ(NodePaths(Read(G(1))), std::vector<std::wstring>{G(2)});
  EXPECT_EQ(Read(G(1)).Name, L"One");
  EXPECT_EQ(Read(G(1)).Parent, kRoot);
  ASSERT_TRUE(checker.Run());
  EXPECT_TRUE(checker.MissingChildren.empty());
  EXPECT_EQ(ReadRaw(G(3)), damaged);
}

namespace {
int g_saves = 0;
}  // namespace

TEST_F(GroupChecksTest, RepairingMissingChildrenLoadsAndSavesEachGroupOnce) {
  // A group with 20,000 dangling child entries beside a live one, and a small one with two.
  constexpr int kDangling = 20000;
  {
    FontGroup big;
    big.FileName = G(1);
    big.Name = L"Big";
    big.Parent = kRoot;
    big.AddNode(L"Alive", G(2), false, false);
    wchar_t path[32];
    for (int i = 0; i < kDangling; ++i) {
      std::swprintf(path, std::size(path), L"gone%05d.xml", i);
      big.AddNode(L"Gone", path, false, false);
    }
    ASSERT_TRUE(big.Save());
  }
  MakeGroup(kRoot, L"Root", L"", {G(1), G(3)});
  MakeGroup(G(2), L"Alive", G(1));
  MakeGroup(G(3), L"Small", kRoot, {G(7), G(2), G(8)});
  GroupFileChecker checker;
  ASSERT_TRUE(checker.Run());
  ASSERT_EQ(checker.MissingChildren.size(), static_cast<size_t>(kDangling + 2));

  // A save writes its file from the start, in chunks: the first chunk of each is one save.
  g_saves = 0;
  group_store_seams::SetWriteHook([](HANDLE file, const void* data, DWORD size, DWORD* written) -> BOOL {
    LARGE_INTEGER at{};
    if (::SetFilePointerEx(file, LARGE_INTEGER{}, &at, FILE_CURRENT) && at.QuadPart == 0) ++g_saves;
    return ::WriteFile(file, data, size, written, nullptr);
  });
  checker.RemoveAllMissingChildren();
  group_store_seams::SetWriteHook(nullptr);
  EXPECT_EQ(g_saves, 2);
  EXPECT_TRUE(checker.MissingChildren.empty());
  EXPECT_EQ(NodePaths(Read(G(1))), std::vector<std::wstring>{G(2)});
  EXPECT_EQ(NodePaths(Read(G(3))), std::vector<std::wstring>{G(2)});
  ASSERT_TRUE(checker.Run());
  EXPECT_TRUE(checker.MissingChildren.empty());
}

TEST_F(GroupChecksTest, GatheringBrokenChainsListsEachOnceUnderASoundRecoveryGroup) {
  MakeGroup(kRoot, L"Root", L"", {G(1)});
  MakeGroup(G(1), L"One", kRoot);
  MakeGroup(G(2), L"Lost", L"");
  MakeGroup(G(3), L"Orphan", G(9));
  GroupFileChecker checker;
  ASSERT_TRUE(checker.Run());
  ASSERT_EQ(checker.BrokenChains.size(), 2u);
  ASSERT_TRUE(checker.GatherBrokenChains());
  EXPECT_TRUE(checker.BrokenChains.empty());

  ASSERT_TRUE(checker.Run());
  // The broken groups keep their own files and are listed again; the recovery group is sound.
  EXPECT_EQ(checker.BrokenChains.size(), 2u);
  ASSERT_TRUE(checker.GatherBrokenChains());

  FontGroup root = Read(kRoot);
  // Sorted by name: "Recovered Groups" before "orvelgrp00001.xml name".
  EXPECT_EQ(NodePaths(root), (std::vector<std::wstring>{kRecovery, G(1)}));
  FontGroup recovery = Read(kRecovery);
  EXPECT_EQ(recovery.Name, LoadResString(IDS_RECOVERY_GROUP_NAME));
  EXPECT_EQ(recovery.Parent, kRoot);
  EXPECT_EQ(NodePaths(recovery), (std::vector<std::wstring>{G(2), G(3)}));
  EXPECT_EQ(Read(G(2)).Parent, L"");
  EXPECT_EQ(Read(G(3)).Parent, G(9));
}

TEST_F(GroupChecksTest, GatheringMendsAListedButMissingRecoveryFileAndKeepsAnUnlistedOne) {
  // Listed in the root but gone: made again with its Name and the root as Parent.
  MakeGroup(kRoot, L"Root", L"", {kRecovery});
  MakeGroup(G(2), L"Lost", L"");
  GroupFileChecker checker;
  ASSERT_TRUE(checker.Run());
  ASSERT_TRUE(checker.GatherBrokenChains());
  EXPECT_EQ(Read(kRecovery).Name, LoadResString(IDS_RECOVERY_GROUP_NAME));
  EXPECT_EQ(Read(kRecovery).Parent, kRoot);
  EXPECT_EQ(NodePaths(Read(kRoot)), std::vector<std::wstring>{kRecovery});

  // Present but not listed in the root: what it lists stays.
  MakeGroup(kRoot, L"Root", L"", {});
  MakeGroup(G(4), L"Other", L"");
  ASSERT_TRUE(checker.Run());
  ASSERT_TRUE(checker.GatherBrokenChains());
  EXPECT_EQ(NodePaths(Read(kRecovery)), (std::vector<std::wstring>{G(2), G(4)}));
  EXPECT_EQ(NodePaths(Read(kRoot)), std::vector<std::wstring>{kRecovery});
}

TEST_F(GroupChecksTest, GatheringLeavesADamagedRootAlone) {
  const std::string damaged = "<OrvelFontGroups><Name>Root</Name><Node><Path>orvelgrp00001.xml";
  WriteRaw(kRoot, damaged);
  MakeGroup(G(2), L"Lost", L"");
  GroupFileChecker checker;
  ASSERT_TRUE(checker.Run());
  ASSERT_FALSE(checker.BrokenChains.empty());
  EXPECT_FALSE(checker.GatherBrokenChains());
  EXPECT_EQ(ReadRaw(kRoot), damaged);
  EXPECT_FALSE(Exists(kRecovery));
  EXPECT_FALSE(checker.BrokenChains.empty());
}

TEST_F(GroupChecksTest, WindowDrivenByItsMessages) {
  MakeGroup(kRoot, L"Root", L"", {G(1)});
  MakeGroup(G(1), L"One", kRoot, {G(5), G(6)});
  MakeGroup(G(2), L"Lost", L"");
  CGroupChecksDlg dlg;
  ASSERT_TRUE(dlg.CreateModeless());
  HWND repair = ::GetDlgItem(dlg.m_hWnd, IDC_GROUP_CHECKS_REPAIR);
  // Before a run: columns and description, no rows, no status text.
  EXPECT_TRUE(dlg.Rows().empty());
  EXPECT_EQ(dlg.StatusBar().GetText(0), L"");
  EXPECT_FALSE(::IsWindowEnabled(repair));

  ::SendMessageW(dlg.m_hWnd, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
  EXPECT_EQ(dlg.CurrentTab(), 0);
  EXPECT_TRUE(dlg.Rows().empty());
  EXPECT_EQ(dlg.StatusBar().GetText(0), LoadResString(IDS_GROUP_CHECKS_NO_ROWS));
  EXPECT_FALSE(::IsWindowEnabled(repair));

  auto selectTab = [&](int tab) {
    HWND tabs = ::GetDlgItem(dlg.m_hWnd, IDC_GROUP_CHECKS_TABS);
    ::SendMessageW(tabs, TCM_SETCURSEL, tab, 0);
    NMHDR header{tabs, IDC_GROUP_CHECKS_TABS, static_cast<UINT>(TCN_SELCHANGE)};
    ::SendMessageW(dlg.m_hWnd, WM_NOTIFY, IDC_GROUP_CHECKS_TABS, reinterpret_cast<LPARAM>(&header));
  };
  auto doubleClick = [&](int row) {
    NMITEMACTIVATE activate{};
    activate.hdr = {dlg.ListView(), IDC_GROUP_CHECKS_LIST, static_cast<UINT>(NM_DBLCLK)};
    activate.iItem = row;
    ::SendMessageW(dlg.m_hWnd, WM_NOTIFY, IDC_GROUP_CHECKS_LIST, reinterpret_cast<LPARAM>(&activate));
  };

  selectTab(2);
  EXPECT_EQ(dlg.Rows(), (std::vector<std::wstring>{L"One|" + G(5) + L" name", L"One|" + G(6) + L" name"}));
  EXPECT_TRUE(::IsWindowEnabled(repair));
  doubleClick(-1);
  EXPECT_EQ(dlg.Rows().size(), 2u);
  doubleClick(0);
  EXPECT_EQ(dlg.Rows(), std::vector<std::wstring>{L"One|" + G(6) + L" name"});
  EXPECT_EQ(NodePaths(Read(G(1))), std::vector<std::wstring>{G(6)});
  doubleClick(0);
  EXPECT_TRUE(dlg.Rows().empty());
  EXPECT_EQ(dlg.StatusBar().GetText(0), LoadResString(IDS_GROUP_CHECKS_NO_ROWS));
  EXPECT_TRUE(Read(G(1)).Nodes.empty());

  selectTab(1);
  EXPECT_EQ(dlg.Rows(), std::vector<std::wstring>{L"Lost|"});
  ::SendMessageW(dlg.m_hWnd, WM_COMMAND, MAKEWPARAM(IDC_GROUP_CHECKS_REPAIR, BN_CLICKED), reinterpret_cast<LPARAM>(repair));
  EXPECT_TRUE(dlg.Rows().empty());
  EXPECT_EQ(NodePaths(Read(kRecovery)), std::vector<std::wstring>{G(2)});

  ::SendMessageW(dlg.m_hWnd, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
  EXPECT_FALSE(::IsWindow(dlg.m_hWnd));
}

TEST_F(GroupChecksTest, EscStopsARunWithABeepAndTheRunEnds) {
  MakeGroup(G(1), L"One", L"");
  MakeGroup(G(2), L"Two", L"");
  GroupFileChecker checker;
  // Another key typed first does not hide the Esc behind it.
  ::PostThreadMessageW(::GetCurrentThreadId(), WM_KEYDOWN, VK_SPACE, 0);
  ::PostThreadMessageW(::GetCurrentThreadId(), WM_KEYDOWN, VK_ESCAPE, 0);
  EXPECT_FALSE(checker.Run());
  EXPECT_TRUE(checker.ScanDone);
  EXPECT_TRUE(checker.BrokenChains.empty());
  EXPECT_EQ(testing_support::Beeps().size(), 1u);
  MSG msg;
  EXPECT_FALSE(::PeekMessageW(&msg, nullptr, WM_KEYDOWN, WM_KEYDOWN, PM_NOREMOVE));
  EXPECT_TRUE(checker.Run());
  EXPECT_EQ(checker.BrokenChains.size(), 2u);
}
