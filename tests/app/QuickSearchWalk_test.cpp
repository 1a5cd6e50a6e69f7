// The quick search's walk over group graphs held in memory: depth-first order, the wrap to the
// root, the stop at the start, Esc, a start that no node list leads to, cycles of nodes, and
// groups reached along many ways or with many children, each read once.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "app/QuickSearchWalk.h"
#include "groups/GroupNames.h"
#include "tests/support/TestSupport.h"

namespace {

struct Graph {
  std::map<std::wstring, QuickSearchGroup> groups;
  std::vector<std::wstring> loads;      // every file the walk read, in order
  std::vector<std::pair<std::wstring, int>> selected;
  std::vector<UINT> beeps;
  int escapeAfter = -1;  // Esc is found at this many looks at the queue (-1: never)
  int looks = 0;

  QuickSearchWalk Walk() {
    return QuickSearchWalk({[this](const std::wstring& file) {
                              loads.push_back(file);
                              auto it = groups.find(file);
                              return it == groups.end() ? QuickSearchGroup{} : it->second;
                            },
                            [this] { return ++looks == escapeAfter; },
                            [this](const std::wstring& file, int index) { selected.emplace_back(file, index); },
                            [this](UINT type) { beeps.push_back(type); },
                            nullptr});
  }
};

const std::wstring R = kRootGroupFile;

// Runs the walk, but never for ever: false when it was still going after `limit` steps.
bool Ends(QuickSearchWalk& walk, int limit = 200) {
  for (int i = 0; i < limit; ++i)
    if (!walk.Step()) return true;
  return false;
}

// root: A (fonts Alpha, Beta) with child A1 (font Gamma), B (font Delta) with child B1.
Graph Tree() {
  Graph g;
  g.groups[R] = {{L"a", L"b"}, {L"Root font"}};
  g.groups[L"a"] = {{L"a1"}, {L"Alpha", L"Beta"}};
  g.groups[L"a1"] = {{}, {L"Gamma"}};
  g.groups[L"b"] = {{L"b1"}, {L"Delta"}};
  g.groups[L"b1"] = {{}, {}};
  return g;
}

}  // namespace

TEST(QuickSearchWalk, ChainHelpers) {
  EXPECT_EQ(LastChainFile(L"orvel_Root.xml\\a\\b"), L"b");
  EXPECT_EQ(ChainWithoutLast(L"orvel_Root.xml\\a\\b"), L"orvel_Root.xml\\a");
  EXPECT_EQ(LastChainFile(L"orvel_Root.xml"), L"orvel_Root.xml");
  EXPECT_EQ(ChainWithoutLast(L"orvel_Root.xml"), L"");
}

TEST(QuickSearchWalk, FromTheRootEveryGroupOnceAndNoBeepWithoutMatch) {
  Graph g = Tree();
  QuickSearchWalk walk = g.Walk();
  walk.Reset(R, R, L"Nothing*");
  std::vector<std::wstring> entered;
  while (walk.Step()) entered.push_back(walk.CurrentGroup());
  EXPECT_EQ(entered, (std::vector<std::wstring>{L"a", L"a1", L"b", L"b1"}));
  EXPECT_TRUE(g.beeps.empty()) << "climbing above the root from the root ends quietly";
  EXPECT_FALSE(walk.Wrapped());
}

TEST(QuickSearchWalk, MatchSelectsTheGroupAndTheFontThenGoesOnFromThere) {
  Graph g = Tree();
  QuickSearchWalk walk = g.Walk();
  walk.Reset(R, R, L"*ta");  // Beta, then Delta
  EXPECT_TRUE(walk.Run());
  ASSERT_EQ(g.selected.size(), 1u);
  EXPECT_EQ(g.selected[0], std::make_pair(std::wstring(L"a"), 1));
  EXPECT_EQ(walk.CurrentChain(), R + L"\\a");
  walk.Run();
  ASSERT_EQ(g.selected.size(), 2u);
  EXPECT_EQ(g.selected[1], std::make_pair(std::wstring(L"b"), 0));
  EXPECT_TRUE(g.beeps.empty());
}

TEST(QuickSearchWalk, FromADeepGroupWrapsOnceSearchesTheRootAndStopsWithABeepAtTheStart) {
  Graph g = Tree();
  QuickSearchWalk walk = g.Walk();
  walk.Reset(L"a1", R + L"\\a\\a1", L"Nothing");
  EXPECT_FALSE(walk.Run());
  EXPECT_TRUE(walk.Wrapped());
  EXPECT_EQ(g.beeps, std::vector<UINT>{0}) << "a whole walk without a match beeps once";
  // After a1: climb to a (no next child), to the root (next: b), b1, then wrap to the root and
  // down to a, a1 = the start.
  EXPECT_EQ(walk.CurrentChain(), R + L"\\a\\a1");

  // The root's own fonts are found after the wrap.
  Graph h = Tree();
  QuickSearchWalk again = h.Walk();
  again.Reset(L"b1", R + L"\\b\\b1", L"Root*");
  EXPECT_TRUE(again.Run());
  ASSERT_EQ(h.selected.size(), 1u);
  EXPECT_EQ(h.selected[0], std::make_pair(R, 0));
}

TEST(QuickSearchWalk, EscStopsWithTheExclamationBeep) {
  for (int at : {1, 2, 3}) {
    SCOPED_TRACE(at);
    Graph g = Tree();
    g.escapeAfter = at;
    QuickSearchWalk walk = g.Walk();
    walk.Reset(L"a1", R + L"\\a\\a1", L"Nothing");
    EXPECT_FALSE(walk.Run());
    EXPECT_TRUE(walk.Stopped());
    EXPECT_EQ(g.beeps, std::vector<UINT>{MB_ICONEXCLAMATION});
    EXPECT_TRUE(g.selected.empty());
  }
}

TEST(QuickSearchWalk, EndsWhenNoNodeListLeadsToTheStart) {
  // "lost" names the root as its Parent (so its chain runs through the root), but the root does
  // not list it: the walk can never come back to it.
  Graph g = Tree();
  g.groups[L"lost"] = {{}, {L"Zeta"}};
  QuickSearchWalk walk = g.Walk();
  walk.Reset(L"lost", R + L"\\lost", L"Nothing");
  ASSERT_TRUE(Ends(walk));
  EXPECT_FALSE(walk.Found());
  EXPECT_EQ(g.beeps, std::vector<UINT>{0});

  // A chain that does not even start at the root.
  Graph h = Tree();
  QuickSearchWalk orphan = h.Walk();
  orphan.Reset(L"x", L"y\\x", L"Gamma");
  EXPECT_TRUE(orphan.Run()) << "the walk wraps to the root and searches the tree";
  EXPECT_EQ(h.selected.at(0), std::make_pair(std::wstring(L"a1"), 0));
}

TEST(QuickSearchWalk, EndsOnCyclesOfNodes) {
  Graph g;
  g.groups[R] = {{L"a", L"c"}, {}};
  g.groups[L"a"] = {{L"b", L"a"}, {}};          // a lists itself
  g.groups[L"b"] = {{L"a", L"ROOT_LINK"}, {}};  // b leads back to a
  g.groups[L"ROOT_LINK"] = {{R}, {}};           // and through a link to the root
  g.groups[L"c"] = {{L"b"}, {L"Omega"}};
  QuickSearchWalk walk = g.Walk();
  walk.Reset(R, R, L"Nothing");
  ASSERT_TRUE(Ends(walk));
  EXPECT_FALSE(walk.Found());

  // The group behind the cycle is still reached.
  Graph h = g;
  h.loads.clear();
  QuickSearchWalk find = h.Walk();
  find.Reset(L"b", R + L"\\a\\b", L"Omega");
  ASSERT_TRUE(Ends(find));
  EXPECT_TRUE(find.Found());
  EXPECT_EQ(h.selected.at(0), std::make_pair(std::wstring(L"c"), 0));
}

namespace {

// Every file the walk read, with the number of reads.
std::map<std::wstring, int> ReadCounts(const Graph& g) {
  std::map<std::wstring, int> counts;
  for (const std::wstring& file : g.loads) ++counts[file];
  return counts;
}

int MostReads(const Graph& g) {
  int most = 0;
  for (const auto& [file, count] : ReadCounts(g)) most = std::max(most, count);
  return most;
}

std::wstring Rung(int level, wchar_t side) { return L"l" + std::to_wstring(level) + side; }

// A ladder of hand-made group files: the root lists the two groups of the first rung and every
// group of a rung lists both groups of the next, so the last rung is reached along 2^(rungs-1)
// ways. The font "Target" lies in the last rung's second group.
Graph Ladder(int rungs) {
  Graph g;
  g.groups[R] = {{Rung(0, L'a'), Rung(0, L'b')}, {}};
  for (int level = 0; level < rungs; ++level)
    for (wchar_t side : {L'a', L'b'}) {
      QuickSearchGroup& group = g.groups[Rung(level, side)];
      if (level + 1 < rungs) group.nodeFiles = {Rung(level + 1, L'a'), Rung(level + 1, L'b')};
      group.fontNames = {L"Font " + Rung(level, side)};
    }
  g.groups[Rung(rungs - 1, L'b')].fontNames.push_back(L"Target");
  return g;
}

}  // namespace

TEST(QuickSearchWalk, GroupsReachedAlongManyWaysAreReadOnceEach) {
  constexpr int kRungs = 22;  // 45 files, 2^21 ways to the last rung
  Graph g = Ladder(kRungs);
  // A walk that reads a group again and again is stopped as Esc would stop it, long before it
  // has followed every way.
  g.escapeAfter = 20 * static_cast<int>(g.groups.size());
  QuickSearchWalk walk = g.Walk();
  walk.Reset(R, R, L"Target");
  EXPECT_TRUE(walk.Run());
  EXPECT_FALSE(walk.Stopped());
  ASSERT_EQ(g.selected.size(), 1u);
  EXPECT_EQ(g.selected[0], std::make_pair(Rung(kRungs - 1, L'b'), 1));
  EXPECT_EQ(MostReads(g), 1);

  // From a group halfway down, through the wrap and back: every group read at most once, and
  // the start's ancestors not again after the wrap.
  Graph h = Ladder(kRungs);
  h.escapeAfter = g.escapeAfter;
  QuickSearchWalk back = h.Walk();
  std::wstring chain = R;
  for (int level = 0; level <= 10; ++level) chain += L"\\" + Rung(level, L'a');
  back.Reset(Rung(10, L'a'), chain, L"Nothing");
  EXPECT_FALSE(back.Run());
  EXPECT_FALSE(back.Stopped());
  EXPECT_TRUE(back.Wrapped());
  EXPECT_EQ(h.beeps, std::vector<UINT>{0});
  EXPECT_EQ(MostReads(h), 1);
  EXPECT_EQ(ReadCounts(h).size(), h.groups.size()) << "every group was searched";
}

TEST(QuickSearchWalk, AGroupWithManyChildrenIsReadOnce) {
  Graph g;
  QuickSearchGroup& root = g.groups[R];
  for (int i = 0; i < 500; ++i) {
    root.nodeFiles.push_back(L"c" + std::to_wstring(i));
    g.groups[root.nodeFiles.back()] = {{}, {L"Font " + std::to_wstring(i)}};
  }
  g.groups[L"c499"].fontNames.push_back(L"Last");
  for (const std::wstring& start : {R, std::wstring(L"c250")}) {
    SCOPED_TRACE(testing_support::Narrow(start));
    Graph h = g;
    QuickSearchWalk walk = h.Walk();
    walk.Reset(start, start == R ? R : R + L"\\" + start, L"Last");
    EXPECT_TRUE(walk.Run());
    EXPECT_EQ(h.selected.at(0), std::make_pair(std::wstring(L"c499"), 1));
    EXPECT_EQ(ReadCounts(h)[R], 1) << "the parent is kept while its children are walked";
  }
}
