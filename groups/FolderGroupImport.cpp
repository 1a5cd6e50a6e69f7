#include "groups/FolderGroupImport.h"

#include <shlwapi.h>

#include <vector>

#include "app/AppState.h"
#include "common/ResString.h"
#include "common/ResourceIds.h"
#include "common/Seams.h"
#include "common/StringHelpers.h"
#include "fonts/FontFileWalk.h"
#include "framework/Handles.h"
#include "groups/FontGroup.h"
#include "groups/GroupFileTree.h"
#include "groups/GroupNames.h"
#include "lists/CLVFolderFonts.h"

namespace {

constexpr wchar_t kImportPatterns[] = L"*.ttf|*.otf|*.ttc|*.pfm";
constexpr wchar_t kStatusSeparator[] = L"  > ";

// The group a folder gives: its last component ("C:\Fonts\Serif" -> "Serif"; a drive root
// keeps its drive, "C:").
std::wstring GroupNameOf(const std::wstring& folder) {
  std::wstring path = WithoutTrailingBackslash(folder);
  if (!path.empty() && path.back() == L'\\') path.pop_back();
  const wchar_t* name = ::PathFindFileNameW(path.c_str());
  return name && *name ? std::wstring(name) : path;
}

bool HasNodeFile(const FontGroup& group, const std::wstring& file) {
  for (const FontGroupEntry& node : group.Nodes)
    if (EqualsNoCase(node.Path, file)) return true;
  return false;
}

}  // namespace

FolderGroupImport::FolderGroupImport() {
  m_patterns = kImportPatterns;
  m_recursive = 0;
  m_threaded = 0;
}

bool FolderGroupImport::Run(UINT folderStringId, HTREEITEM target) { return Run(LoadResString(folderStringId), target); }

bool FolderGroupImport::Run(const std::wstring& folder, HTREEITEM target) {
  m_parentFile.clear();
  m_newFile.clear();
  imported_.clear();
  m_status = 0;
  const std::wstring root = WithoutTrailingBackslash(folder);
  if (root.empty()) return false;

  const CGroupsTreeView& tree = g_AppState.GroupsTree;
  HTREEITEM parentItem = target;
  if (!parentItem && tree.m_hWnd) parentItem = tree.GetSelectedItem();
  if (!parentItem && tree.m_hWnd) parentItem = tree.GetRootItem();
  std::wstring parentFile = parentItem ? tree.GetItemFile(parentItem) : std::wstring();
  if (parentFile.empty()) parentFile = kRootGroupFile;

  std::wstring name = GroupNameOf(root);
  FontGroup top;
  FontGroup parent;
  if (!CreateChildGroupFile(parentFile, name, false, top, parent)) return false;
  m_parentFile = parentFile;
  m_newFile = top.FileName;

  ImportFolder(root, m_newFile);
  return true;
}

bool FolderGroupImport::ImportFolder(const std::wstring& folder, const std::wstring& groupFile) {
  if (Stopped()) return false;
  orv::ScopedWaitCursor wait;
  SetMainStatusText(LoadResString(IDS_FOLDER_IMPORT_STATUS) + kStatusSeparator + folder);
  FolderId id{};
  if (ReadFolderId(folder, id)) imported_.insert(id);

  FontGroup group;
  // A group that does not load (it may be damaged meanwhile) is left as it is, and the user told.
  if (!LoadGroupForChange(group, groupFile)) return true;
  AddSubfolders(folder, group);
  if (Stopped()) {
    (void)group.Save();  // the child groups made so far stay reachable
    return false;
  }

  current_ = &group;
  heldFonts_.clear();
  for (const FontGroupEntry& font : group.Fonts) heldFonts_.insert(GroupFontKey(font.Path, font.Name));
  m_roots = folder;
  Start();
  current_ = nullptr;
  (void)group.Save();

  // The nodes are the subfolders, by name; the list is copied, since each import loads groups
  // of its own.
  const std::vector<FontGroupEntry> nodes = group.Nodes;
  for (const FontGroupEntry& node : nodes) {
    if (node.IsLink) continue;
    ImportFolder(::JoinPath(folder, node.Name), node.Path);
  }
  return !Stopped();
}

void FolderGroupImport::AddSubfolders(const std::wstring& folder, FontGroup& group) {
  std::wstring search;
  if (!JoinPath(folder, L"*.*", search)) return;
  WIN32_FIND_DATAW entry;
  orv::ScopedFindHandle find(::FindFirstFileW(search.c_str(), &entry));
  if (!find) return;
  do {
    std::wstring child;
    FolderId id{};
    const bool wanted = (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && entry.cFileName[0] != L'.' &&
                        IsFileShown(entry.dwFileAttributes) && JoinPath(folder, entry.cFileName, child) &&
                        !(ReadFolderId(child, id) && imported_.count(id));
    if (wanted) {
      FontGroup made;
      made.Name = entry.cFileName;
      made.Parent = group.FileName;
      if (made.Save() && !HasNodeFile(group, made.FileName))
        group.AddNode(entry.cFileName, made.FileName, false, false);
    }
    if (TakeEscapeFromInput()) {
      Stop();
      return;
    }
  } while (::FindNextFileW(find.Get(), &entry));
}

bool FolderGroupImport::AddFolderFonts(DWORD attributes) {
  if (!current_ || !IsFileShown(attributes)) return true;
  // A Type 1 font is entered by its ".pfm" file alone; the faces of a collection share its path.
  const std::wstring path = ::JoinPath(m_path, m_fileName);
  ForEachFontItem(
      m_path, m_fileName,
      [&](const FontItem& item) {
        if (item.IsUnreadable() || item.displayName.empty()) return;
        if (heldFonts_.insert(GroupFontKey(path, item.displayName)).second) current_->AddFont(item.displayName, path);
      },
      VariableFontRecords::kWholeFont);
  return true;
}

bool FolderGroupImport::ShouldAbort() {
  if (!TakeEscapeFromInput()) return false;
  seams::Beep(MB_ICONEXCLAMATION);
  return true;
}

void FolderGroupImport::Stop() {
  seams::Beep(MB_ICONEXCLAMATION);
  m_status = kStatusAborted;
}
