#include "app/QuickSearchWalk.h"

#include <shlwapi.h>

#include <algorithm>

#include "groups/GroupNames.h"
#include "groups/GroupFileNotices.h"

namespace {
constexpr wchar_t kChainSeparator = L'\\';
}  // namespace

std::wstring LastChainFile(const std::wstring& chain) {
  const size_t at = chain.rfind(kChainSeparator);
  return at == std::wstring::npos ? chain : chain.substr(at + 1);
}

std::wstring ChainWithoutLast(const std::wstring& chain) {
  const size_t at = chain.rfind(kChainSeparator);
  return at == std::wstring::npos ? std::wstring() : chain.substr(0, at);
}

QuickSearchWalk::QuickSearchWalk(Hooks hooks) : hooks_(std::move(hooks)) {
  if (!hooks_.matches) {
    hooks_.matches = [](const std::wstring& name, const std::wstring& pattern) {
      return ::PathMatchSpecW(name.c_str(), pattern.c_str()) != FALSE;
    };
  }
}

void QuickSearchWalk::Reset(const std::wstring& file, const std::wstring& chain, const std::wstring& pattern) {
  current_ = file;
  startChain_ = chain_ = chain;
  pattern_ = pattern;
  found_ = wrapped_ = stopped_ = false;
  links_.clear();
  for (size_t start = 0; start < chain.size();) {
    size_t end = chain.find(kChainSeparator, start);
    if (end == std::wstring::npos) end = chain.size();
    links_.push_back(Link{chain.substr(start, end - start)});
    start = end + 1;
  }
  if (links_.empty()) links_.push_back(Link{file});
  // The start group's own fonts are those of the list the search began in.
  searched_ = {FoldCase(file)};
  kept_.clear();
}

bool QuickSearchWalk::Escape() {
  if (!hooks_.escapePressed || !hooks_.escapePressed()) return false;
  stopped_ = true;
  if (hooks_.beep) hooks_.beep(MB_ICONEXCLAMATION);
  return true;
}

bool QuickSearchWalk::End() {
  if (!found_ && hooks_.beep) hooks_.beep(0);
  return false;
}

bool QuickSearchWalk::OnChain(const std::wstring& file) const {
  for (const Link& link : links_)
    if (EqualsNoCase(link.file, file)) return true;
  return false;
}

QuickSearchGroup QuickSearchWalk::Load(const std::wstring& file, bool keep) {
  if (const auto it = kept_.find(file); it != kept_.end()) return it->second;
  QuickSearchGroup group = hooks_.load(file);
  if (keep) kept_[file] = group;
  return group;
}

bool QuickSearchWalk::MatchGroup(const QuickSearchGroup& group) {
  for (size_t i = 0; i < group.fontNames.size(); ++i) {
    if (!hooks_.matches(group.fontNames[i], pattern_)) continue;
    if (hooks_.select) hooks_.select(current_, static_cast<int>(i));
    found_ = true;
    return true;
  }
  return false;
}

bool QuickSearchWalk::Enter(const std::wstring& file) {
  chain_ += kChainSeparator;
  chain_ += file;
  current_ = file;
  searched_.insert(FoldCase(file));
  const QuickSearchGroup group = Load(file, false);
  links_.push_back(Link{file, group.nodeFiles, 0, true});
  return !MatchGroup(group);
}

bool QuickSearchWalk::WrapToRoot() {
  if (startChain_ == kRootGroupFile) return false;  // the whole tree has been searched
  // A second time above the root: every group the root leads to has been seen, and the start is
  // not among them.
  if (wrapped_) return End();
  wrapped_ = true;
  current_ = chain_ = kRootGroupFile;
  links_.assign(1, Link{kRootGroupFile});
  if (Searched(kRootGroupFile)) return true;  // reached through a link before: only its children are left
  // The root's own fonts are searched too: the walk only ever enters children.
  searched_.insert(FoldCase(kRootGroupFile));
  const QuickSearchGroup root = Load(kRootGroupFile, false);
  links_.back().nodes = root.nodeFiles;
  links_.back().read = true;
  return !MatchGroup(root);
}

bool QuickSearchWalk::Step() {
  if (Escape()) return false;
  for (;;) {
    // Down to the next child that has not been searched and is not on the way here.
    Link& top = links_.back();
    if (!top.read) {
      top.nodes = Load(top.file, false).nodeFiles;
      top.read = true;
    }
    while (top.next < top.nodes.size()) {
      const std::wstring node = top.nodes[top.next++];
      if (wrapped_ && chain_ + kChainSeparator + node == startChain_) {
        links_.push_back(Link{node});
        chain_ = startChain_;
        current_ = node;
        return End();
      }
      if (!Searched(node) && !OnChain(node)) return Enter(node);
    }
    // Up to the parent, which goes on after this child.
    if (Escape()) return false;
    const std::wstring child = top.file;
    links_.pop_back();
    chain_ = ChainWithoutLast(chain_);
    if (links_.empty()) return WrapToRoot();
    Link& parent = links_.back();
    current_ = parent.file;
    if (!parent.read) {
      // A group of the start chain, read for the first time.
      parent.nodes = Load(parent.file, true).nodeFiles;
      parent.read = true;
      const auto at = std::find(parent.nodes.begin(), parent.nodes.end(), child);
      parent.next = at == parent.nodes.end() ? parent.nodes.size() : static_cast<size_t>(at - parent.nodes.begin()) + 1;
    }
    if (wrapped_ && chain_ == startChain_) return End();
  }
}

bool QuickSearchWalk::Run() {
  while (Step()) {
  }
  return found_;
}
