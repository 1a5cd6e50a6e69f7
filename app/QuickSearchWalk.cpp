#include "app/QuickSearchWalk.h"

#include <shlwapi.h>

#include "common/StringHelpers.h"
#include "groups/GroupNames.h"

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
  for (size_t start = 0; start <= chain_.size();) {
    size_t end = chain_.find(kChainSeparator, start);
    if (end == std::wstring::npos) end = chain_.size();
    if (EqualsNoCase(std::wstring_view(chain_).substr(start, end - start), file)) return true;
    start = end + 1;
  }
  return false;
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
  if (wrapped_ && chain_ == startChain_) return End();
  return !MatchGroup(hooks_.load(file));
}

bool QuickSearchWalk::Step() {
  if (Escape()) return false;
  // Down to the first child that is not already on the way here.
  for (const std::wstring& node : hooks_.load(current_).nodeFiles)
    if (!OnChain(node)) return Enter(node);
  // Up until a group has a next child.
  for (;;) {
    current_ = LastChainFile(chain_);
    chain_ = ChainWithoutLast(chain_);
    if (chain_.empty()) {
      if (startChain_ == kRootGroupFile) return false;  // the whole tree has been searched
      // A second time above the root: every group the root leads to has been seen, and the
      // start is not among them.
      if (wrapped_) return End();
      current_ = chain_ = kRootGroupFile;
      wrapped_ = true;
      // The root's own fonts are searched too: the walk only ever enters children.
      return !MatchGroup(hooks_.load(current_));
    }
    bool passed = false;
    for (const std::wstring& node : hooks_.load(LastChainFile(chain_)).nodeFiles) {
      if (Escape()) return false;
      if (!passed) {
        passed = node == current_;
      } else if (!OnChain(node)) {
        return Enter(node);
      }
    }
    if (wrapped_ && chain_ == startChain_) return End();
  }
}

bool QuickSearchWalk::Run() {
  while (Step()) {
  }
  return found_;
}
