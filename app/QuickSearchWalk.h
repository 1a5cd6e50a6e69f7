// The quick search's walk through the group tree: group by group in depth-first order from the
// group where the search started, wrapping to the root once, until a group holds a font whose
// name matches the pattern or the walk is back where it started.
//
// Where the walk is is a chain of group files from "orvel_Root.xml" down to the group being
// visited, joined with "\". The walk knows the groups only through its hooks, so that it runs
// over the group files (the quick-search band) or over groups held in memory (the tests).
// Group files are linked by names only, so a group may be reachable along many ways (and along
// cycles): each group is read and searched at most once per search, a node that names a group
// already searched or on the chain is passed over, and a walk that climbs above the root a
// second time has seen every group it can reach. The child lists of the groups on the chain are
// kept while their children are walked, so a climb reads nothing again. Main thread only.
#pragma once

#include <windows.h>

#include <functional>
#include <map>
#include <string>
#include <unordered_set>
#include <vector>

#include "common/StringHelpers.h"

// What the walk reads of a group: the files of its child groups and the names of its fonts, in
// file order; both empty for a group that cannot be read.
struct QuickSearchGroup {
  std::vector<std::wstring> nodeFiles;
  std::vector<std::wstring> fontNames;
};

class QuickSearchWalk {
public:
  struct Hooks {
    std::function<QuickSearchGroup(const std::wstring& file)> load;
    // Takes one input message off the queue; true when it was Esc.
    std::function<bool()> escapePressed;
    // Shows the match: selects the group and, once the group list shows it, the font.
    std::function<void(const std::wstring& file, int fontIndex)> select;
    std::function<void(UINT type)> beep;
    // Whether a font name matches the pattern; PathMatchSpecW when not set.
    std::function<bool(const std::wstring& name, const std::wstring& pattern)> matches;
  };

  explicit QuickSearchWalk(Hooks hooks);

  // Starts again at the group `file`, whose chain from the root is `chain`.
  void Reset(const std::wstring& file, const std::wstring& chain, const std::wstring& pattern);
  // A new pattern for the next steps; where the walk is stays.
  void SetPattern(const std::wstring& pattern) { pattern_ = pattern; }
  // One visit: the next group in depth-first order. True to go on, false when a group matched
  // (its font is then selected), the walk is done, or Esc stopped it.
  bool Step();
  // Steps until the walk ends; true when a group matched.
  bool Run();

  const std::wstring& CurrentGroup() const { return current_; }
  const std::wstring& CurrentChain() const { return chain_; }
  const std::wstring& StartChain() const { return startChain_; }
  const std::wstring& Pattern() const { return pattern_; }
  bool Found() const { return found_; }
  bool Wrapped() const { return wrapped_; }
  bool Stopped() const { return stopped_; }

private:
  // A group on the chain: its child groups once they are read, and the next one to look at.
  struct Link {
    std::wstring file;
    std::vector<std::wstring> nodes;
    size_t next = 0;
    bool read = false;
  };

  // Visits the child `file` of the group at the end of the chain.
  bool Enter(const std::wstring& file);
  // The walk has climbed above the root: it starts again there once. The step's result.
  bool WrapToRoot();
  bool MatchGroup(const QuickSearchGroup& group);
  bool OnChain(const std::wstring& file) const;
  bool Searched(const std::wstring& file) const { return searched_.count(FoldCase(file)) != 0; }
  // A group of the start chain is read when the walk climbs through it and again when the walk
  // comes down to it after the wrap: the second time from the copy kept the first time.
  QuickSearchGroup Load(const std::wstring& file, bool keep);
  bool Escape();
  bool End();

  Hooks hooks_;
  std::wstring pattern_;
  std::wstring startChain_;
  std::wstring current_;
  std::wstring chain_;
  std::vector<Link> links_;                   // the chain, root first
  std::unordered_set<std::wstring> searched_;  // folded file names of the groups searched
  std::map<std::wstring, QuickSearchGroup> kept_;
  bool found_ = false;
  bool wrapped_ = false;
  bool stopped_ = false;  // Esc ended the walk
};

// The chain's last group file ("a\b\c" -> "c") and the chain without it ("a\b"; "" for "c").
[[nodiscard]] std::wstring LastChainFile(const std::wstring& chain);
[[nodiscard]] std::wstring ChainWithoutLast(const std::wstring& chain);
