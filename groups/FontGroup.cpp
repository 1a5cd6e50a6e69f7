#include "groups/FontGroup.h"

#include <algorithm>
#include <unordered_set>

#include "common/ResString.h"
#include "framework/Handles.h"
#include "groups/GroupNames.h"

namespace {

// Upper bound for the "(n)" counter read from a name, far below the range of long long, so
// that counting on from it can never overflow.
constexpr long long kUniqueCounterMax = 1000000000000000LL;

// The decimal integer at the start of `s` as the C runtime's wtoi reads it: blanks, a sign,
// digits; anything else ends it.
long long LeadingInteger(std::wstring_view s) {
  size_t i = 0;
  while (i < s.size() && (s[i] == L' ' || s[i] == L'\t')) ++i;
  bool negative = false;
  if (i < s.size() && (s[i] == L'+' || s[i] == L'-')) negative = s[i++] == L'-';
  long long value = 0;
  for (; i < s.size() && s[i] >= L'0' && s[i] <= L'9'; ++i)
    value = std::min(value * 10 + (s[i] - L'0'), kUniqueCounterMax);
  return negative ? -value : value;
}

void InsertSorted(std::vector<FontGroupEntry>& entries, FontGroupEntry entry) {
  // From the back: entries that arrive in order cost one comparison each.
  size_t i = entries.size();
  while (i > 0 && entry.Name < entries[i - 1].Name) --i;
  entries.insert(entries.begin() + static_cast<ptrdiff_t>(i), std::move(entry));
}

const std::wstring* g_groupsFolder = nullptr;

}  // namespace

void FontGroup::SetGroupsFolderSource(const std::wstring* folder) { g_groupsFolder = folder; }

FontGroup::FontGroup() {
  if (g_groupsFolder) GroupsFolder = *g_groupsFolder;
}

bool FontGroup::AddFont(const std::wstring& name, const std::wstring& path) {
  if (name.empty() || path.empty()) return false;
  InsertSorted(Fonts, FontGroupEntry{false, false, name, path});
  return true;
}

bool FontGroup::AddNode(const std::wstring& name, const std::wstring& path, bool installed, bool isLink) {
  if (path.empty()) return false;
  InsertSorted(Nodes, FontGroupEntry{installed, isLink, name, path});
  return true;
}

bool FontGroup::RemoveNode(const std::wstring& path) {
  for (size_t i = 0; i < Nodes.size(); ++i)
    if (EqualsNoCase(Nodes[i].Path, path)) return RemoveNodeAt(i);
  return false;
}

bool FontGroup::RemoveNodeAt(size_t index) {
  if (index >= Nodes.size()) return false;
  Nodes.erase(Nodes.begin() + static_cast<ptrdiff_t>(index));
  return true;
}

bool FontGroup::RemoveFontAt(size_t index) {
  if (index >= Fonts.size()) return false;
  Fonts.erase(Fonts.begin() + static_cast<ptrdiff_t>(index));
  return true;
}

void FontGroup::Clear() {
  Name.clear();
  FileName.clear();
  Parent.clear();
  Nodes.clear();
  Fonts.clear();
}

std::wstring FontGroup::NewFileName() const {
  if (!IsUsableGroupsFolder(GroupsFolder)) return {};
  const std::wstring folder = GroupsFolder.back() == L'\\' ? GroupsFolder : GroupsFolder + L'\\';

  // One pass over the folder instead of one file probe per number.
  std::vector<bool> taken(kRecoveryGroupNumber + 1, false);
  WIN32_FIND_DATAW found;
  orv::ScopedFindHandle find(::FindFirstFileW((folder + L"orvelgrp*.xml").c_str(), &found));
  if (find) {
    do {
      const int number = GroupFileNumber(found.cFileName);
      if (number >= 0) taken[static_cast<size_t>(number)] = true;
    } while (::FindNextFileW(find.Get(), &found));
  }

  const int excluded = GroupFileNumber(Parent);
  for (;;) {
    const int number = PickFreeGroupNumber(taken, excluded);
    if (number == 0) return {};
    std::wstring name = FormatGroupFileName(number);
    // The listing may be stale by now: a name is handed out only when no file has it.
    if (::GetFileAttributesW((folder + name).c_str()) == INVALID_FILE_ATTRIBUTES) {
      const DWORD error = ::GetLastError();
      if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) return name;
    }
    taken[static_cast<size_t>(number)] = true;
  }
}

std::wstring FontGroup::MakeUniqueName(const std::wstring& base, const std::wstring& parentFile) {
  if (!parentFile.empty()) (void)Load(parentFile);

  std::wstring stem = base;
  long long n = 0;
  if (!base.empty() && base.back() == L')') {
    const size_t open = base.rfind(L'(');
    if (open != std::wstring::npos) {
      const long long value = LeadingInteger(std::wstring_view(base).substr(open + 1));
      if (value != 0) {
        n = value;
        stem = base.substr(0, open);
      }
    }
  }

  std::unordered_set<std::wstring> used;
  used.reserve(Nodes.size());
  for (const FontGroupEntry& node : Nodes) used.insert(FoldCase(node.Name));

  std::wstring result = base;
  while (used.count(FoldCase(result))) {
    result = stem + L"(" + std::to_wstring(n + 1) + L")";
    ++n;
  }
  return result;
}

std::wstring FontGroup::MakeUniqueName(UINT baseStringId, const std::wstring& parentFile) {
  return MakeUniqueName(LoadResString(baseStringId), parentFile);
}

void DestroyFontGroup(std::unique_ptr<FontGroup>& group) { group.reset(); }
