// Groups made from a folder tree of real font files, under the groups tree's selected group (or
// its root), read back from the group files; Esc while the subfolders are listed.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "groups/FolderGroupImport.h"
#include "groups/GroupFileIo.h"
#include "tests/groups/GroupsTreeHost.h"
#include "tests/support/SfntBuilder.h"

using namespace sfnt_test;
using testing_support::ScratchDir;

namespace {

Bytes TestFont(const std::wstring& full) {
  return BuildSfnt(
      {{"head", BuildHead()}, {"OS/2", BuildOs2(4)}, {"name", BuildNameTable(WindowsNames(full, L"Regular", full))}});
}

using Entries = std::vector<std::pair<std::wstring, std::wstring>>;  // name and path (or file)

Entries FontsOf(const FontGroup& group) {
  Entries out;
  for (const FontGroupEntry& f : group.Fonts) out.emplace_back(f.Name, f.Path);
  return out;
}

std::vector<std::wstring> NodeNamesOf(const FontGroup& group) {
  std::vector<std::wstring> out;
  for (const FontGroupEntry& n : group.Nodes) out.push_back(n.Name);
  return out;
}

// The file of the node called `name`; empty when there is none.
std::wstring NodeFile(const FontGroup& group, const std::wstring& name) {
  for (const FontGroupEntry& n : group.Nodes)
    if (n.Name == name) return n.Path;
  return {};
}

class FolderGroupImportTest : public GroupsTreeTest {
protected:
  void SetUp() override {
    GroupsTreeTest::SetUp();
    src_ = testing_support::LongPath(fonts_.Path()) + L"\\Top";
    for (const wchar_t* sub : {L"", L"\\Sub", L"\\Sub\\Deeper", L"\\Empty", L"\\.hidden"})
      ::CreateDirectoryW((src_ + sub).c_str(), nullptr);
    WriteFile(src_ + L"\\a.ttf", TestFont(L"Alpha"));
    WriteFile(src_ + L"\\three.ttc",
              BuildCollection({TestFont(L"Coll One"), TestFont(L"Coll Two"), TestFont(L"Coll Three")}));
    WriteFile(src_ + L"\\t1.pfm", MinimalPfm());
    WriteFile(src_ + L"\\t1.pfb", BuildPfb(Type1ClearText("/FontName /TeeOne def /FullName (Tee One) def")));
    WriteFile(src_ + L"\\bad.ttf", Bytes("not a font at all"));
    WriteFile(src_ + L"\\notes.txt", TestFont(L"Not By Pattern"));
    WriteFile(src_ + L"\\.hidden\\h.ttf", TestFont(L"Hidden"));
    WriteFile(src_ + L"\\Sub\\b.otf", TestFont(L"Bravo"));
  }

  // The group at a "/"-separated chain of node names below `top`.
  static FontGroup At(const std::wstring& top, const std::wstring& chain) {
    FontGroup group = Group(top);
    size_t begin = 0;
    while (begin < chain.size()) {
      size_t end = chain.find(L'/', begin);
      if (end == std::wstring::npos) end = chain.size();
      group = Group(NodeFile(group, chain.substr(begin, end - begin)));
      begin = end + 1;
    }
    return group;
  }

  ScratchDir fonts_;
  std::wstring src_;
};

TEST_F(FolderGroupImportTest, MakesOneGroupPerFolderUnderTheSelectedGroup) {
  // A child called "Top" already: the new group is "Top(1)", in its own file and its node.
  MakeGroup(kRootGroupFile, L"Root", L"", {G(1)});
  MakeGroup(G(1), L"Mine", kRootGroupFile, {G(2)});
  MakeGroup(G(2), L"Top", G(1));
  NameNodesAfterChildren(kRootGroupFile);
  NameNodesAfterChildren(G(1));
  Tree().Init();
  Tree().SelectItem(Tree().FindChildByFile(Tree().GetRootItem(), G(1)));

  FolderGroupImport import;
  ASSERT_TRUE(import.Run(src_ + L"\\"));
  EXPECT_EQ(import.m_parentFile, G(1));
  const FontGroup parent = Group(G(1));
  EXPECT_EQ(NodeNamesOf(parent), (std::vector<std::wstring>{L"Top", L"Top(1)"}));
  EXPECT_EQ(NodeFile(parent, L"Top(1)"), import.m_newFile);
  const FontGroup top = Group(import.m_newFile);
  EXPECT_EQ(top.Name, L"Top(1)");
  EXPECT_EQ(top.Parent, G(1));
  EXPECT_FALSE(import.Stopped());

  const std::wstring t1Name = FontsOf(top).size() == 5 ? FontsOf(top)[4].first : L"?";
  struct Case {
    const wchar_t* chain;
    std::vector<std::wstring> nodes;
    Entries fonts;  // paths relative to the source folder
  } cases[] = {
      // Three faces of one collection share its path; the Type 1 font is entered by its ".pfm";
      // the unreadable file, the text file and the dot folder are left out.
      {L"", {L"Empty", L"Sub"},
       {{L"Alpha", L"a.ttf"}, {L"Coll One", L"three.ttc"}, {L"Coll Three", L"three.ttc"},
        {L"Coll Two", L"three.ttc"}, {t1Name, L"t1.pfm"}}},
      {L"Sub", {L"Deeper"}, {{L"Bravo", L"Sub\\b.otf"}}},
      {L"Sub/Deeper", {}, {}},
      {L"Empty", {}, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing_support::Narrow(c.chain));
    const FontGroup group = At(import.m_newFile, c.chain);
    ASSERT_EQ(group.LoadState(), GroupLoadState::kLoaded);
    EXPECT_EQ(NodeNamesOf(group), c.nodes);
    Entries want;
    for (const auto& [name, file] : c.fonts) want.emplace_back(name, src_ + L"\\" + file);
    EXPECT_EQ(FontsOf(group), want);
    for (const FontGroupEntry& node : group.Nodes) EXPECT_EQ(Group(node.Path).Parent, group.FileName);
  }
  EXPECT_NE(t1Name.find(L"Tee"), std::wstring::npos) << testing_support::Narrow(t1Name);

  // The files as written: the renamed top group and its entries.
  const std::string bytes = ReadRaw(import.m_newFile);
  EXPECT_NE(bytes.find("<Name>Top(1)</Name>"), std::string::npos) << bytes;
  EXPECT_NE(bytes.find("<Parent>" + testing_support::Narrow(G(1)) + "</Parent>"), std::string::npos);
  EXPECT_EQ(bytes.find("<Installed>"), std::string::npos);
  EXPECT_NE(bytes.find("<path>" + testing_support::Narrow(src_) + "\\t1.pfm</path>"), std::string::npos);
  EXPECT_EQ(bytes.find("t1.pfb"), std::string::npos);
  const std::string parentBytes = ReadRaw(G(1));
  EXPECT_NE(parentBytes.find("<name>Top(1)</name>"), std::string::npos) << parentBytes;
  EXPECT_NE(parentBytes.find("<file>" + testing_support::Narrow(import.m_newFile) + "</file>"), std::string::npos);
  EXPECT_TRUE(testing_support::Boxes().empty());
  EXPECT_TRUE(testing_support::Beeps().empty());
}

TEST_F(FolderGroupImportTest, EscWhileSubfoldersAreListedKeepsTheGroupsMadeAndImportsNoFonts) {
  MakeGroup(kRootGroupFile, L"Root", L"");
  Tree().Init();
  Tree().SelectItem(nullptr);  // no selection: the import goes under the root
  struct Case {
    const char* what;
    int escAtWrite;  // the group file write before which Esc arrives; 0: before the run
    size_t childGroups;
  } cases[] = {
      {"before the run", 0, 0},
      // Writes: the top group, the root with its node, then the first child group.
      {"after the first child group", 3, 1},
  };
  static int writes;
  static int escAt;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    testing_support::ResetRecords();
    writes = 0;
    escAt = c.escAtWrite;
    group_store_seams::SetWriteHook([](HANDLE file, const void* data, DWORD size, DWORD* written) -> BOOL {
      if (++writes == escAt) ::PostThreadMessageW(::GetCurrentThreadId(), WM_KEYDOWN, VK_ESCAPE, 0);
      return ::WriteFile(file, data, size, written, nullptr);
    });
    if (c.escAtWrite == 0) {
      ASSERT_TRUE(::PostThreadMessageW(::GetCurrentThreadId(), WM_KEYDOWN, VK_ESCAPE, 0));
    }
    FolderGroupImport import;
    ASSERT_TRUE(import.Run(src_));
    EXPECT_EQ(import.m_parentFile, kRootGroupFile);
    group_store_seams::SetWriteHook(nullptr);
    EXPECT_TRUE(import.Stopped());
    EXPECT_EQ(testing_support::Beeps(), std::vector<UINT>{MB_ICONEXCLAMATION});
    const FontGroup top = Group(import.m_newFile);
    EXPECT_EQ(top.LoadState(), GroupLoadState::kLoaded);
    EXPECT_EQ(top.Parent, kRootGroupFile);
    EXPECT_TRUE(top.Fonts.empty());
    ASSERT_EQ(top.Nodes.size(), c.childGroups);
    for (const FontGroupEntry& node : top.Nodes) {
      const FontGroup child = Group(node.Path);
      EXPECT_EQ(child.Parent, import.m_newFile);
      EXPECT_EQ(child.Name, node.Name);
      EXPECT_TRUE(child.Fonts.empty() && child.Nodes.empty()) << "folders not visited get nothing";
    }
    MSG msg;
    EXPECT_FALSE(::PeekMessageW(&msg, nullptr, WM_KEYFIRST, WM_KEYLAST, PM_NOREMOVE)) << "the Esc was taken";
  }
}

}  // namespace
