// Reading and writing a group's file. A user's groups are years of sorting fonts: a file that
// exists but cannot be read is never replaced, and a file is only ever replaced whole.
#include "groups/FontGroup.h"

#include <algorithm>

#include "common/AppMessageBox.h"
#include "common/AppShell.h"
#include "common/ResString.h"
#include "common/ResourceIds.h"
#include "groups/GroupFileIo.h"
#include "groups/GroupNames.h"

namespace {

void ReportFileError(DWORD error, const std::wstring& file) {
  // The classification builds groups on its worker thread: a box owned by a window of another
  // thread would tie the two threads' input together, so the worker's box has no owner.
  HWND owner = GetAppShell().MainWindow;
  if (owner && ::GetWindowThreadProcessId(owner, nullptr) != ::GetCurrentThreadId()) owner = nullptr;
  AppMessageBox(owner, MB_ICONHAND, IDS_GROUPS_CAPTION, IDS_GROUP_FILE_FAILED, error,
                file.c_str());
}

}  // namespace

void FontGroup::SetLoadFailure(GroupLoadState state) {
  loadState_ = state;
  Name.clear();
  Parent.clear();
  Nodes.clear();
  Fonts.clear();
  if (state == GroupLoadState::kUnreadable) {
    const bool known = std::any_of(unreadableFiles_.begin(), unreadableFiles_.end(),
                                   [this](const std::wstring& f) { return EqualsNoCase(f, FileName); });
    if (!known) unreadableFiles_.push_back(FileName);
  }
}

bool FontGroup::Load(UINT fileStringId) { return Load(LoadResString(fileStringId)); }

bool FontGroup::Load(const std::wstring& file) {
  Name.clear();
  Parent.clear();
  Nodes.clear();
  Fonts.clear();
  FileName = file;

  // Only bare group file names of a usable groups folder: a name from a file (a node's path)
  // may hold anything.
  const std::wstring path = GroupFilePath(GroupsFolder, file);
  if (path.empty()) {
    SetLoadFailure(GroupLoadState::kRefused);
    return false;
  }

  GroupFileBytes read = ReadGroupFileBytes(path);
  switch (read.result) {
    case GroupFileRead::kMissing:
      SetLoadFailure(GroupLoadState::kMissing);
      return false;
    case GroupFileRead::kEmpty:
      SetLoadFailure(GroupLoadState::kEmpty);
      return false;
    case GroupFileRead::kTooLarge:
      ReportFileError(read.error, file);
      SetLoadFailure(GroupLoadState::kUnreadable);
      return false;
    case GroupFileRead::kFailed:
      if (read.openFailed) ReportFileError(read.error, file);
      SetLoadFailure(GroupLoadState::kUnreadable);
      return false;
    case GroupFileRead::kRead:
      break;
  }

  // Text that does not decode as it was written, and a file the reader would read only in part,
  // are damaged alike: what the record would hold is not what the file holds.
  std::wstring text;
  const bool decoded = DecodeGroupFileText(read.bytes, text);
  read.bytes = {};
  bool blank = false;
  if (!decoded || !ParseFileText(text, blank)) {
    if (blank) {
      SetLoadFailure(GroupLoadState::kEmpty);
    } else {
      ReportFileError(ERROR_FILE_CORRUPT, file);
      SetLoadFailure(GroupLoadState::kUnreadable);
    }
    return false;
  }
  loadState_ = GroupLoadState::kLoaded;
  std::erase_if(unreadableFiles_, [&file](const std::wstring& f) { return EqualsNoCase(f, file); });
  return true;
}

bool FontGroup::Save(bool skipNodes) {
  if (!IsUsableGroupsFolder(GroupsFolder)) {
    ReportFileError(ERROR_PATH_NOT_FOUND, FileName);
    return false;
  }
  if (FileName.empty()) {
    std::wstring name = NewFileName();
    if (name.empty()) {
      ReportFileError(ERROR_CANNOT_MAKE, std::wstring());
      return false;
    }
    FileName = std::move(name);
  }
  const std::wstring path = GroupFilePath(GroupsFolder, FileName);
  if (path.empty()) {
    ReportFileError(ERROR_INVALID_NAME, FileName);
    return false;
  }
  // Load has told the user about this file already; writing over it would lose what it holds.
  if (std::any_of(unreadableFiles_.begin(), unreadableFiles_.end(),
                  [this](const std::wstring& f) { return EqualsNoCase(f, FileName); }))
    return false;

  const DWORD error = ReplaceGroupFile(GroupsFolder, path, BuildFileBytes(skipNodes));
  if (error) {
    ReportFileError(error, FileName);
    return false;
  }
  return true;
}
