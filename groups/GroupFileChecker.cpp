#include "groups/GroupFileChecker.h"

#include <commctrl.h>
#include <shlwapi.h>

#include <unordered_map>
#include <unordered_set>

#include "common/ResString.h"
#include "common/Seams.h"
#include "common/ResourceIds.h"
#include "common/StringHelpers.h"
#include "groups/FontGroup.h"
#include "groups/GroupFileTree.h"
#include "groups/GroupFileNotices.h"
#include "groups/GroupNames.h"

namespace {

bool FileExists(const std::wstring& path) {
  if (path.empty() || path.size() >= MAX_PATH) return false;
  const DWORD attributes = ::GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// The groups folder joined with a node's path as the shell joins paths; empty when too long.
std::wstring NodeFilePath(const std::wstring& folder, const std::wstring& path) {
  if (folder.size() + path.size() + 2 >= MAX_PATH) return {};
  wchar_t buffer[MAX_PATH] = {};
  folder.copy(buffer, folder.size());
  if (!::PathAppendW(buffer, path.c_str())) return {};
  return buffer;
}

// A font entry's first file, or its ".pfm" and ".pfb" files joined by "|", all present.
bool FontFilesExist(const std::wstring& path) {
  const size_t bar = path.find(L'|');
  if (bar == std::wstring::npos) return FileExists(path);
  return FileExists(path.substr(0, bar)) && FileExists(path.substr(bar + 1));
}

std::wstring RecoveryFile() { return FormatGroupFileName(kRecoveryGroupNumber); }


}  // namespace

void GroupFileChecker::ShowStatus(const std::wstring& text) const {
  if (StatusWindow) ::SendMessageW(StatusWindow, SB_SETTEXTW, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

bool GroupFileChecker::Run() {
  MissingChildren.clear();
  MissingFonts.clear();
  BrokenChains.clear();
  const std::wstring folder = FontGroup().GroupsFolder;
  bool stopped = false;
  if (IsUsableGroupsFolder(folder)) {
    WIN32_FIND_DATAW found{};
    HANDLE find = ::FindFirstFileW((folder + L"\\orvelgrp*.xml").c_str(), &found);
    if (find != INVALID_HANDLE_VALUE) {
      do {
        if (IsEscapePending()) {
          MSG msg;
          while (::PeekMessageW(&msg, nullptr, WM_KEYDOWN, WM_KEYDOWN, PM_REMOVE)) {}
          seams::Beep(MB_OK);
          stopped = true;
          break;
        }
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
        CheckGroupFile(found.cFileName);
      } while (::FindNextFileW(find, &found));
      ::FindClose(find);
    }
  }
  ScanDone = true;
  return !stopped;
}

bool GroupFileChecker::CheckGroupFile(const std::wstring& file) {
  FontGroup group;
  (void)group.Load(file);
  // A file that cannot be read whole has no name to show: its file name tells the user which
  // one it is, in the rows and in the recovery group that lists it.
  // It is examined as a group without content, so that it is listed among the broken chains.
  const bool damaged = group.IsDamagedOrUnreadable();
  if (damaged) {
    group.Nodes.clear();
    group.Fonts.clear();
    group.Parent.clear();
  }
  const std::wstring name = damaged ? file : group.Name;
  ShowStatus(name);

  for (const FontGroupEntry& node : group.Nodes) {
    if (!FileExists(NodeFilePath(group.GroupsFolder, node.Path)))
      MissingChildren.push_back({name, file, node.Name, node.Path});
  }

  for (const FontGroupEntry& font : group.Fonts) {
    if (!FontFilesExist(font.Path)) {
      MissingFonts.push_back({std::wstring(), group.Parent, name, file});
      break;
    }
  }

  // Climb the Parent chain: each parent must list the group below it by its file name. A file
  // reached twice is a cycle, which never reaches the root.
  std::wstring current;
  std::wstring lastName;
  std::unordered_set<std::wstring> visited{FoldCase(file)};
  for (;;) {
    if (group.Parent.empty()) {
      if (current == kRootGroupFile) return true;
      break;
    }
    // A cycle ends the climb at the last group reached.
    if (!visited.insert(FoldCase(group.Parent)).second) break;
    const std::wstring child = group.FileName;
    current = group.Parent;
    (void)group.Load(current);
    lastName = group.Name;
    bool listed = false;
    for (const FontGroupEntry& node : group.Nodes) listed = listed || node.Path == child;
    if (!listed) break;
  }
  BrokenChains.push_back({lastName, current, name, file});
  return true;
}

bool GroupFileChecker::RemoveMissingChild(const GroupCheckRecord& record) {
  FontGroup group;
  if (!group.Load(record.Text2)) return false;
  if (!group.RemoveNode(record.Text4)) return false;
  return group.Save();
}

void GroupFileChecker::RemoveAllMissingChildren() {
  // One load and one save per group, however many of its entries are dangling: a group of
  // thousands of them must not be read and written once per row.
  struct GroupRepair {
    std::wstring file;
    std::unordered_map<std::wstring, size_t> paths;  // folded path: records naming it
  };
  std::vector<GroupRepair> repairs;
  std::unordered_map<std::wstring, size_t> indexOfFile;
  for (const GroupCheckRecord& record : MissingChildren) {
    const auto [it, added] = indexOfFile.try_emplace(FoldCase(record.Text2), repairs.size());
    if (added) repairs.push_back({record.Text2, {}});
    ++repairs[it->second].paths[FoldCase(record.Text4)];
  }
  for (GroupRepair& repair : repairs) {
    FontGroup group;
    if (!group.Load(repair.file)) continue;
    // Each record removes the first node that matches it, as a row's own repair does.
    const size_t before = group.Nodes.size();
    std::erase_if(group.Nodes, [&repair](const FontGroupEntry& node) {
      const auto it = repair.paths.find(FoldCase(node.Path));
      if (it == repair.paths.end() || it->second == 0) return false;
      --it->second;
      return true;
    });
    if (group.Nodes.size() != before) (void)group.Save();
  }
  MissingChildren.clear();
}

bool GroupFileChecker::GatherBrokenChains() {
  const std::wstring recoveryFile = RecoveryFile();
  const std::wstring recoveryName = LoadResString(IDS_RECOVERY_GROUP_NAME);

  // The root must be read before it is written: a root that exists but cannot be read is left
  // alone, and so is everything else.
  FontGroup root;
  if (!root.Load(kRootGroupFile) && root.LoadState() != GroupLoadState::kMissing &&
      root.LoadState() != GroupLoadState::kEmpty) {
    if (root.IsDamagedOrUnreadable()) ReportRefusedGroupChange(kRootGroupFile);
    return false;
  }
  bool listed = false;
  for (const FontGroupEntry& node : root.Nodes) listed = listed || EqualsNoCase(node.Path, recoveryFile);

  // An existing recovery group keeps what it lists; a missing one is made with its Name and the
  // root as its Parent, so that it is itself a sound group.
  FontGroup recovery;
  if (!recovery.Load(recoveryFile)) {
    if (recovery.LoadState() != GroupLoadState::kMissing && recovery.LoadState() != GroupLoadState::kEmpty) {
      if (recovery.IsDamagedOrUnreadable()) ReportRefusedGroupChange(recoveryFile);
      return false;
    }
    recovery.Clear();
    recovery.FileName = recoveryFile;
  }
  if (recovery.Name.empty()) recovery.Name = recoveryName;
  if (recovery.Parent.empty()) recovery.Parent = kRootGroupFile;

  if (!listed) {
    root.FileName = kRootGroupFile;
    root.AddNode(recovery.Name, recoveryFile, false, false);
    if (!root.Save()) return false;
  }

  for (const GroupCheckRecord& record : BrokenChains) {
    if (record.Text4.empty() || EqualsNoCase(record.Text4, recoveryFile) || IsRootGroupFile(record.Text4)) continue;
    bool known = false;
    for (const FontGroupEntry& node : recovery.Nodes) known = known || EqualsNoCase(node.Path, record.Text4);
    if (!known) recovery.AddNode(record.Text3, record.Text4, false, false);
  }
  if (!recovery.Save()) return false;
  BrokenChains.clear();
  return true;
}
