// The search walk over a tree of built fonts under Wine: every filter of the search finds
// exactly the faces it should (names and masks, family names, kinds, ranges, symbol fonts,
// characters present or absent, PANOSE and family-class likeness), collections give a result
// per face, damaged files none; dot folders are entered, a hidden root keeps its subfolders,
// an empty piece ends the roots; the worker posts a merge at 25 results and its end, stops,
// and a worker destroyed in the middle of a walk ends it first.
#include "search/SearchWorker.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>

#include "tests/search/SearchTestFonts.h"
#include "tests/support/TestSupport.h"

using testing_support::ScratchDir;

namespace {

std::set<std::wstring> Search(const std::wstring& roots, const SearchMatcher& matcher, bool showHidden = true) {
  SearchWorker worker;
  worker.m_showHidden = showHidden;
  worker.m_showSuperHidden = 0;
  EXPECT_TRUE(worker.StartSearch(roots, matcher));
  worker.WaitForWalk();
  std::set<std::wstring> names;
  for (const FontItem& face : worker.TakePending()) names.insert(face.FullName());
  return names;
}

SearchMatcher Pattern(const std::wstring& pattern) {
  SearchMatcher matcher;
  matcher.pattern = pattern;
  return matcher;
}

class SearchWalk : public testing::Test {
protected:
  void SetUp() override { all_ = search_test::WriteSearchTree(dir_.Path()); }
  ScratchDir dir_;
  std::vector<std::wstring> all_;
};

TEST_F(SearchWalk, EveryFilterFindsExactlyItsFaces) {
  using Names = std::set<std::wstring>;
  struct Case {
    const char* what;
    SearchMatcher matcher;
    Names expected;
  };
  std::vector<Case> cases;
  cases.push_back({"everything", Pattern(L"*"), Names(all_.begin(), all_.end())});
  cases.push_back({"two masks", Pattern(L"alpha*; Gamma ?ook"), {L"Alpha Sans", L"Gamma Book"}});
  SearchMatcher family = Pattern(L"Duo");
  family.familyNames = true;
  cases.push_back({"family names, one per face of the collection", family, {L"Duo One", L"Duo Two"}});
  cases.push_back({"full names only", Pattern(L"Duo"), {}});
  auto kinds = [](std::initializer_list<int> chosen) {
    SearchMatcher m = Pattern(L"*");
    m.filterOn = true;
    m.filter.kindSwitch = SearchFilter::kKindsSelected;
    for (int k : chosen) m.filter.kinds[k - 1] = static_cast<uint16_t>(k);
    return m;
  };
  cases.push_back({"Type 1", kinds({1}), {L"TeeOne"}});
  cases.push_back({"TrueType without DSIG",
                   kinds({2}),
                   {L"Alpha Sans", L"Duo One", L"Flex Variable", L"Sym Pi", L"Dotty Sans", L"Hostile Cmap"}});
  cases.push_back({"TrueType outlines",
                   kinds({3}),
                   {L"Alpha Sans", L"Beta Serif Bold", L"Duo One", L"Duo Two", L"Flex Variable", L"Sym Pi",
                    L"Dotty Sans", L"Hostile Cmap"}});
  cases.push_back({"CFF", kinds({4}), {L"Gamma Book"}});
  cases.push_back({"collection faces or variable", kinds({5, 6}), {L"Duo One", L"Duo Two", L"Flex Variable"}});
  SearchMatcher range = Pattern(L"*");
  range.filterOn = true;
  range.filter.SetRangeBit(1);
  cases.push_back({"range bit 1", range, {L"Beta Serif Bold"}});
  SearchMatcher symbol = Pattern(L"*");
  symbol.filterOn = true;
  symbol.filter.symbolMode = 1;
  symbol.filter.SetRangeBit(1);  // not consulted in symbol mode
  cases.push_back({"symbol fonts", symbol, {L"Sym Pi"}});
  auto characters = [](const std::wstring& text, uint8_t mode) {
    SearchMatcher m = Pattern(L"*");
    m.filterOn = true;
    m.filter.SetCharacters(text);
    m.filter.glyphMode = mode;
    return m;
  };
  cases.push_back({"euro present", characters(L"\u20AC", 1), {L"Beta Serif Bold"}});
  cases.push_back({"A and Z present", characters(L"AZ", 1), {L"Duo One"}});
  cases.push_back({"A absent", characters(L"A", 0), {L"Dotty Sans"}});
  SearchMatcher off = characters(L"\u20AC", 1);
  off.filterOn = false;
  cases.push_back({"a filter that is off", off, Names(all_.begin(), all_.end())});
  SearchMatcher similar = Pattern(L"*");
  similar.similarFlags = SearchMatcher::kPanoseLikeness;
  similar.referencePanose[0] = 2, similar.referencePanose[1] = 11, similar.referencePanose[2] = 5;
  similar.referencePanose[3] = 9;
  cases.push_back({"PANOSE likeness, 0 matches anything", similar, {L"Alpha Sans", L"Gamma Book"}});
  similar.similarFlags |= SearchMatcher::kSameFamilyClass;
  similar.referenceFamilyClass = 0x0805;
  cases.push_back({"and the same family class", similar, {L"Alpha Sans"}});

  for (const Case& c : cases) EXPECT_EQ(Search(dir_.Path(), c.matcher), c.expected) << c.what;
}

TEST_F(SearchWalk, RootsDotFoldersAndHiddenFolders) {
  // A root list ends at its first empty piece.
  EXPECT_EQ(SearchWorker::RootsBeforeEmptyPiece(L"C:\\a|D:\\b||E:\\c"), L"C:\\a|D:\\b");
  EXPECT_EQ(SearchWorker::RootsBeforeEmptyPiece(L"|C:\\a"), L"");
  EXPECT_EQ(SearchWorker::RootsBeforeEmptyPiece(L"C:\\a|"), L"C:\\a");
  const std::wstring deep = dir_.Path() + L"\\deep";
  EXPECT_EQ(Search(deep + L"||" + dir_.Path(), Pattern(L"*")), (std::set<std::wstring>{L"Gamma Book", L"Flex Variable"}));
  EXPECT_EQ(Search(dir_.Path() + L"\\missing|" + deep + L"\\deeper", Pattern(L"*")),
            std::set<std::wstring>{L"Gamma Book"});
  EXPECT_EQ(Search(dir_.Path(), Pattern(L"Dotty*")), std::set<std::wstring>{L"Dotty Sans"}) << "a dot folder is walked";

  // A hidden root keeps its subfolders, a hidden subfolder is passed over whole.
  orv::ScopedHandle folder(::CreateFileW(deep.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                         nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  FILE_BASIC_INFO info{};
  info.FileAttributes = FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN;
  ASSERT_TRUE(::SetFileInformationByHandle(folder.Get(), FileBasicInfo, &info, sizeof info));
  folder.Reset();
  EXPECT_EQ(Search(deep, Pattern(L"*"), false), std::set<std::wstring>{L"Gamma Book"});
  EXPECT_EQ(Search(dir_.Path(), Pattern(L"Gamma*;Flex*"), false), std::set<std::wstring>{});
  EXPECT_EQ(Search(dir_.Path(), Pattern(L"Gamma*;Flex*"), true),
            (std::set<std::wstring>{L"Gamma Book", L"Flex Variable"}));
}

TEST_F(SearchWalk, PostsAMergeAtTwentyFiveResultsAndItsEnd) {
  ScratchDir many;
  for (int i = 0; i < 30; ++i) {
    search_test::Face face{L"Many", L"Regular", L"Many " + std::to_wstring(i), u"A"};
    sfnt_test::WriteFile(many.File(L"m" + std::to_wstring(i) + L".ttf"), search_test::BuildFace(face));
  }
  HWND target = ::CreateWindowExW(0, L"STATIC", nullptr, 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
  ASSERT_TRUE(target);
  SearchWorker worker(target);
  ASSERT_TRUE(worker.StartSearch(many.Path(), Pattern(L"*")));
  worker.WaitForWalk();
  MSG msg;
  EXPECT_TRUE(::PeekMessageW(&msg, target, SearchWorker::kMsgFlush, SearchWorker::kMsgFlush, PM_REMOVE));
  EXPECT_FALSE(::PeekMessageW(&msg, target, SearchWorker::kMsgFlush, SearchWorker::kMsgFlush, PM_REMOVE))
      << "one merge asked for until the queue is taken";
  ASSERT_TRUE(::PeekMessageW(&msg, target, SearchWorker::kMsgDone, SearchWorker::kMsgDone, PM_REMOVE));
  EXPECT_EQ(msg.wParam, worker.RunSerial());
  EXPECT_EQ(worker.TakePending().size(), 30u);
  EXPECT_EQ(worker.TakeProgress().examined, 30u);
  ::DestroyWindow(target);
}

TEST_F(SearchWalk, StopsAndEndsItsWalkWhenDestroyed) {
  SearchMatcher everything = Pattern(L"*");
  {
    SearchWorker worker;
    ASSERT_TRUE(worker.StartSearch(L"Z:\\usr\\share\\fonts", everything));
    worker.Stop();
    worker.WaitForWalk();
    EXPECT_TRUE(worker.Stopped());
    // The same worker searches again, from an empty queue.
    ASSERT_TRUE(worker.StartSearch(dir_.Path() + L"\\deep", everything));
    worker.WaitForWalk();
    EXPECT_FALSE(worker.Stopped());
    EXPECT_EQ(worker.TakePending().size(), 2u);
  }
  auto worker = std::make_unique<SearchWorker>();
  ASSERT_TRUE(worker->StartSearch(L"Z:\\usr\\share\\fonts", everything));
  worker.reset();  // joins the walk before its queue goes
}

}  // namespace
