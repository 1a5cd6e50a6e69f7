// The group font list's pending transfer: fonts and groups copied or cut in the list or the
// groups tree, pasted into another group; and the copy of a group with its subgroups.
#include "lists/CLVGroupFonts.h"

#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "app/AppState.h"
#include "groups/FontGroup.h"
#include "groups/GroupFileTree.h"
#include "groups/GroupNames.h"

namespace {

bool HasNode(const FontGroup& group, const std::wstring& file) {
  for (const FontGroupEntry& node : group.Nodes)
    if (EqualsNoCase(node.Path, file)) return true;
  return false;
}

// The group files from the topmost reachable group down to `file`, as keys without case.
std::unordered_set<std::wstring> ChainOf(const std::wstring& file) {
  std::unordered_set<std::wstring> chain;
  const std::wstring joined = BuildGroupFileChain(file, L"\\");
  for (size_t start = 0; start <= joined.size();) {
    size_t end = joined.find(L'\\', start);
    if (end == std::wstring::npos) end = joined.size();
    chain.insert(FoldCase(std::wstring_view(joined).substr(start, end - start)));
    start = end + 1;
  }
  return chain;
}

}  // namespace

bool CLVGroupFonts::HasPendingTransfer() const {
  return pending_ && (!pending_->Fonts.empty() || !pending_->Nodes.empty());
}

FontGroup& CLVGroupFonts::NewPending(const std::wstring& sourceFile, int mode) {
  pendingMode_ = mode;
  if (!pending_) pending_ = std::make_unique<FontGroup>();
  pending_->Clear();
  pending_->Parent = sourceFile;
  return *pending_;
}

void CLVGroupFonts::SetTransferSource(const std::wstring& name, const std::wstring& file, const std::wstring& sourceFile,
                                      int mode) {
  pendingMode_ = mode;
  if (file.empty()) return;
  FontGroup& pending = NewPending(sourceFile, mode);
  pending.AddNode(name, file, false, false);
}

void CLVGroupFonts::BeginTransfer(const std::wstring& groupFile, int mode) {
  if (groupFile.empty() || (mode != CGroupsTreeView::kTransferCopy && mode != CGroupsTreeView::kTransferMove)) return;
  FontGroup& pending = NewPending(groupFile, mode);
  ExtendSelectionToSameFile();
  std::unordered_set<std::wstring> fonts;
  for (int i : GetSelectedIndices()) {
    const FontListRow* row = GetRowAt(i);
    const FontGroupEntry* entry = EntryOf(row);
    if (!entry) continue;
    if (row->subgroup) {
      if (!HasNode(pending, entry->Path)) pending.AddNode(entry->Name, entry->Path, false, false);
    } else if (fonts.insert(GroupFontKey(entry->Path, entry->Name)).second) {
      pending.AddFont(entry->Name, entry->Path);
    }
  }
}

bool CLVGroupFonts::PasteToGroup(const std::wstring& targetFile) {
  if (targetFile.empty() || !HasPendingTransfer()) return false;
  const bool move = pendingMode_ == CGroupsTreeView::kTransferMove;
  const std::wstring sourceFile = pending_->Parent;
  if (move) {
    if (EqualsNoCase(targetFile, sourceFile)) return false;
    // A group moved into itself or below itself would leave the tree as a cycle nobody reaches.
    const std::unordered_set<std::wstring> chain = ChainOf(targetFile);
    const CGroupsTreeView& tree = g_AppState.GroupsTree;
    HTREEITEM targetItem = tree.FindItemByFile(targetFile);
    for (const FontGroupEntry& node : pending_->Nodes) {
      if (chain.count(FoldCase(node.Path)) || (targetItem && tree.IsFileOnAncestorPath(node.Path, targetItem)))
        return false;
    }
  }
  FontGroup target;
  if (!LoadGroupForChange(target, targetFile)) return false;
  FontGroup source;
  if (move && !LoadGroupForChange(source, sourceFile)) return false;

  std::unordered_set<std::wstring> held;
  for (const FontGroupEntry& font : target.Fonts) held.insert(GroupFontKey(font.Path, font.Name));
  std::unordered_map<std::wstring, int> leaving;  // fonts to take out of the source, by key
  for (const FontGroupEntry& font : pending_->Fonts) {
    const std::wstring key = GroupFontKey(font.Path, font.Name);
    if (held.insert(key).second) target.AddFont(font.Name, font.Path);
    if (move) ++leaving[key];
  }
  if (move && !leaving.empty()) {
    // The first entry of each moved font goes, in one pass over the source.
    std::vector<FontGroupEntry> kept;
    kept.reserve(source.Fonts.size());
    for (FontGroupEntry& font : source.Fonts) {
      const auto it = leaving.find(GroupFontKey(font.Path, font.Name));
      if (it != leaving.end() && it->second > 0) --it->second;
      else kept.push_back(std::move(font));
    }
    source.Fonts = std::move(kept);
  }

  for (const FontGroupEntry& node : pending_->Nodes) {
    const std::wstring name = target.MakeUniqueName(node.Name);
    if (move) {
      FontGroup child;
      if (!child.Load(node.Path)) continue;  // a group that cannot be read stays where it is
      const std::wstring oldParent = child.Parent;
      child.Name = name;
      child.Parent = targetFile;
      if (!child.Save()) continue;
      source.RemoveNode(node.Path);
      if (!oldParent.empty() && !EqualsNoCase(oldParent, sourceFile) && !EqualsNoCase(oldParent, targetFile)) {
        FontGroup former;
        if (former.Load(oldParent) && former.RemoveNode(node.Path)) (void)former.Save();
      }
      if (!HasNode(target, node.Path)) target.AddNode(name, node.Path, child.Installed, false);
    } else {
      std::wstring copy = node.Path;
      if (CopyGroupTree(copy, targetFile, name) && !HasNode(target, copy)) target.AddNode(name, copy, false, false);
    }
  }
  // The target first: should it fail, the source still lists what it had.
  if (!target.Save()) return false;
  if (move) (void)source.Save();
  return true;
}

void CLVGroupFonts::EndTransfer(const std::wstring& targetFile) {
  if (!HasPendingTransfer()) return;
  CGroupsTreeView& tree = g_AppState.GroupsTree;
  const bool move = pendingMode_ == CGroupsTreeView::kTransferMove;
  const std::wstring sourceFile = pending_->Parent;
  if (move) tree.RefreshItem(tree.FindItemByFile(sourceFile), false);
  tree.RefreshItem(tree.FindItemByFile(targetFile), true);
  const std::wstring shown = tree.GetItemFile();
  if (move || shown == targetFile) m_refreshPending = true;
  if (move) {
    pending_.reset();
    pendingMode_ = 0;
  }
}

bool CopyGroupTree(std::wstring& file, const std::wstring& parentFile, const std::wstring& name) {
  // Depth first without recursion; a copy is a tree, so a node that leads back to a group
  // already being copied, or to a group that cannot be read, is left out of the copy.
  struct Frame {
    FontGroup group;  // the copy, its nodes being rewritten to the copies of the children
    size_t next = 0;
  };
  std::vector<Frame> stack(1);
  std::unordered_set<std::wstring> copying{FoldCase(file)};
  if (!stack[0].group.Load(file)) return false;
  stack[0].group.Parent = parentFile;
  if (!name.empty()) stack[0].group.Name = name;
  stack[0].group.FileName.clear();
  if (!stack[0].group.Save()) return false;
  const std::wstring top = stack[0].group.FileName;
  while (!stack.empty()) {
    const size_t at = stack.size() - 1;
    std::vector<FontGroupEntry>& nodes = stack[at].group.Nodes;
    if (stack[at].next >= nodes.size()) {
      (void)stack[at].group.Save();
      stack.pop_back();
      continue;
    }
    const size_t index = stack[at].next++;
    FontGroupEntry& node = nodes[index];
    if (node.IsLink) continue;
    Frame child;
    if (!copying.insert(FoldCase(node.Path)).second || !child.group.Load(node.Path)) {
      nodes.erase(nodes.begin() + static_cast<ptrdiff_t>(index));
      --stack[at].next;
      continue;
    }
    child.group.Parent = stack[at].group.FileName;
    child.group.FileName.clear();
    if (!child.group.Save()) {
      nodes.erase(nodes.begin() + static_cast<ptrdiff_t>(index));
      --stack[at].next;
      continue;
    }
    node.Path = child.group.FileName;
    stack.push_back(std::move(child));
  }
  file = top;
  return true;
}

void CountGroupFonts(const std::wstring& file, int64_t& count) {
  (void)WalkGroupTree(file, [&count](FontGroup& group) {
    count += static_cast<int64_t>(group.Fonts.size());
    return true;
  });
}
