#include "groups/GroupFileTree.h"

#include <unordered_set>
#include <vector>

#include "common/Seams.h"
#include "groups/GroupFileNotices.h"
#include "groups/GroupNames.h"

namespace {

class VisitedFiles {
public:
  // False when the file was visited before.
  bool Insert(const std::wstring& file) { return seen_.insert(FoldCase(file)).second; }

private:
  std::unordered_set<std::wstring> seen_;
};

// A group being deleted, with the child files still to go.
struct PendingDelete {
  std::wstring file;
  std::wstring path;
  std::vector<std::wstring> children;
  size_t next = 0;
};

enum class OpenResult { kOpened, kSkip, kFail };

// Loads a group that is to be deleted and lists its child groups. `parent` is the group whose
// node led here (empty for the group the caller named).
OpenResult OpenForDelete(const std::wstring& file, const std::wstring& parent, VisitedFiles& visited,
                         PendingDelete& out) {
  if (!IsGroupFileName(file) || IsRootGroupFile(file)) return parent.empty() ? OpenResult::kFail : OpenResult::kSkip;
  if (!visited.Insert(file)) return OpenResult::kSkip;
  FontGroup group;
  if (!group.Load(file)) {
    if (parent.empty()) return OpenResult::kFail;
    // A child that is named but not there is as good as deleted; only the group the caller
    // named must exist.
    if (group.LoadState() == GroupLoadState::kMissing) return OpenResult::kSkip;
    // The recovery group lists groups that the checks found cut loose, damaged ones among them:
    // none of them is its child, and a file that cannot be read is never deleted. Below any
    // other group an unreadable child may be its own, so the deletion stops there.
    return EqualsNoCase(parent, FormatGroupFileName(kRecoveryGroupNumber)) ? OpenResult::kSkip : OpenResult::kFail;
  }
  if (!parent.empty() && !EqualsNoCase(group.Parent, parent)) return OpenResult::kSkip;
  out.file = file;
  out.path = GroupFilePath(group.GroupsFolder, file);
  for (const FontGroupEntry& node : group.Nodes)
    if (!node.IsLink) out.children.push_back(node.Path);
  return OpenResult::kOpened;
}


}  // namespace

std::wstring BuildGroupFileChain(const std::wstring& file, const wchar_t* separator) {
  if (file.empty()) return kRootGroupFile;
  std::wstring chain = file;
  VisitedFiles visited;
  visited.Insert(file);
  FontGroup group;
  std::wstring current = file;
  for (;;) {
    (void)group.Load(current);
    const std::wstring parent = group.Parent;
    // A name that is no group file cannot be part of the tree; one seen before closes a cycle.
    if (parent.empty() || !IsGroupFileName(parent) || !visited.Insert(parent)) break;
    chain = parent + separator + chain;
    current = parent;
  }
  return chain;
}

bool DeleteGroupFileTree(const std::wstring& file) {
  VisitedFiles visited;
  std::vector<PendingDelete> stack(1);
  if (OpenForDelete(file, std::wstring(), visited, stack.back()) != OpenResult::kOpened) return false;
  while (!stack.empty()) {
    PendingDelete& current = stack.back();
    if (current.next < current.children.size()) {
      const std::wstring child = current.children[current.next++];
      PendingDelete frame;
      switch (OpenForDelete(child, current.file, visited, frame)) {
        case OpenResult::kOpened: stack.push_back(std::move(frame)); break;
        case OpenResult::kSkip: break;
        case OpenResult::kFail: return false;
      }
      continue;
    }
    const bool deleted = !current.path.empty() && ::DeleteFileW(current.path.c_str());
    stack.pop_back();
    if (!deleted) return false;
  }
  return true;
}

bool WalkGroupTree(const std::wstring& file, const GroupVisitor& visit) {
  VisitedFiles visited;
  // Children are pushed in reverse so that they come off the stack in node order.
  std::vector<std::wstring> stack{file};
  while (!stack.empty()) {
    const std::wstring current = std::move(stack.back());
    stack.pop_back();
    if (!visited.Insert(current)) continue;
    // A damaged group is walked as far as it was read: its subgroups are reached, and a visit
    // that saves it is refused by the store.
    FontGroup group;
    if (!group.Load(current) && !group.HoldsFileContent()) continue;
    if (!visit(group)) return false;
    for (auto node = group.Nodes.rbegin(); node != group.Nodes.rend(); ++node) stack.push_back(node->Path);
  }
  return true;
}

void SetGroupTreeInstalled(const std::wstring& file, bool installed) {
  (void)WalkGroupTree(file, [installed](FontGroup& group) {
    group.Installed = installed;
    (void)group.Save();
    return true;
  });
}

bool IsEscapePending() {
  // A peek shows only the first waiting key, and a key typed before the Esc would hide it for
  // the whole walk. So the keys are taken off the queue, looked at, and put back in order.
  std::vector<MSG> keys;
  MSG msg;
  while (::PeekMessageW(&msg, nullptr, WM_KEYFIRST, WM_KEYLAST, PM_REMOVE | PM_NOYIELD)) keys.push_back(msg);
  bool escape = false;
  for (const MSG& key : keys) {
    escape = escape || (key.message == WM_KEYDOWN && key.wParam == VK_ESCAPE);
    if (key.hwnd) ::PostMessageW(key.hwnd, key.message, key.wParam, key.lParam);
    else ::PostThreadMessageW(::GetCurrentThreadId(), key.message, key.wParam, key.lParam);
  }
  return escape;
}

bool TakeEscapeFromInput() {
  bool escape = false;
  MSG msg;
  // Posted and hardware input alike: the key range first, then the mouse range.
  while (::PeekMessageW(&msg, nullptr, WM_KEYFIRST, WM_KEYLAST, PM_REMOVE | PM_NOYIELD))
    escape = escape || (msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE);
  while (::PeekMessageW(&msg, nullptr, WM_MOUSEFIRST, WM_MOUSELAST, PM_REMOVE | PM_NOYIELD)) {}
  return escape;
}

bool LoadGroupForChange(FontGroup& group, const std::wstring& file) {
  if (group.Load(file)) return true;
  const GroupLoadState state = group.LoadState();
  if (group.IsDamagedOrUnreadable()) ReportRefusedGroupChange(file);
  return IsRootGroupFile(file) && (state == GroupLoadState::kMissing || state == GroupLoadState::kEmpty);
}

bool CreateChildGroupFile(const std::wstring& parentFile, std::wstring& name, bool inheritInstalled, FontGroup& child,
                          FontGroup& parent) {
  name = child.MakeUniqueName(name, parentFile);
  // A parent that cannot be read would lose its content to the node added below.
  const GroupLoadState parentState = child.LoadState();
  if (parentState != GroupLoadState::kLoaded && !(IsRootGroupFile(parentFile) && (parentState == GroupLoadState::kMissing ||
                                                                                  parentState == GroupLoadState::kEmpty))) {
    if (child.IsDamagedOrUnreadable()) ReportRefusedGroupChange(parentFile);
    seams::Beep(MB_ICONEXCLAMATION);
    return false;
  }
  child.Clear();
  if (!inheritInstalled) child.Installed = false;
  child.Parent = parentFile;
  child.Name = name;
  if (!child.Save()) return false;
  const std::wstring& file = child.FileName;

  bool linked = LoadGroupForChange(parent, parentFile);
  if (linked) {
    bool known = false;
    for (const FontGroupEntry& node : parent.Nodes) known = known || EqualsNoCase(node.Path, file);
    if (!known) parent.AddNode(name, file, false, false);
    linked = parent.Save();
  }
  if (!linked) {
    // Not linked into its parent, the new file would be a group nobody can reach.
    const std::wstring path = GroupFilePath(child.GroupsFolder, file);
    if (!path.empty()) ::DeleteFileW(path.c_str());
    return false;
  }
  return true;
}
