// Reading and writing a group's file. A user's groups are years of sorting fonts: a file that
// exists but cannot be read is never replaced, and a file is only ever replaced whole.
#include "groups/FontGroup.h"

#include <algorithm>

#include "common/ResString.h"
#include "common/ResourceIds.h"
#include "groups/GroupFileIo.h"
#include "groups/GroupFileNotices.h"
#include "groups/GroupNames.h"

void FontGroup::RememberUnwritable() {
  const bool known = std::any_of(unreadableFiles_.begin(), unreadableFiles_.end(),
                                 [this](const std::wstring& f) { return EqualsNoCase(f, FileName); });
  if (!known) unreadableFiles_.push_back(FileName);
}

void FontGroup::SetLoadFailure(GroupLoadState state) {
  loadState_ = state;
  Name.clear();
  Parent.clear();
  Nodes.clear();
  Fonts.clear();
  if (state == GroupLoadState::kUnreadable) RememberUnwritable();
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
      ReportUnreadableGroupFile(path, file, read.error);
      SetLoadFailure(GroupLoadState::kUnreadable);
      return false;
    case GroupFileRead::kFailed:
      if (read.openFailed) ReportUnreadableGroupFile(path, file, read.error);
      SetLoadFailure(GroupLoadState::kUnreadable);
      return false;
    case GroupFileRead::kRead:
      break;
  }

  // Text that does not decode as it was written, and a file the reader reads only in part, are
  // damaged alike: what the record holds is not what the file holds. The record keeps what was
  // read, so that the group can be shown, and the file is never saved over.
  std::wstring text;
  const bool decoded = DecodeGroupFileText(read.bytes, text);
  read.bytes = {};
  bool blank = false;
  const bool whole = ParseFileText(text, blank);
  if (!decoded || !whole) {
    if (decoded && blank) {
      SetLoadFailure(GroupLoadState::kEmpty);
      return false;
    }
    ReportUnreadableGroupFile(path, file, ERROR_FILE_CORRUPT);
    loadState_ = GroupLoadState::kDamaged;
    RememberUnwritable();
    return false;
  }
  loadState_ = GroupLoadState::kLoaded;
  std::erase_if(unreadableFiles_, [&file](const std::wstring& f) { return EqualsNoCase(f, file); });
  return true;
}

bool FontGroup::Save(bool skipNodes) {
  if (!IsUsableGroupsFolder(GroupsFolder)) {
    ReportGroupFileWriteError(ERROR_PATH_NOT_FOUND, FileName);
    return false;
  }
  if (FileName.empty()) {
    std::wstring name = NewFileName();
    if (name.empty()) {
      ReportGroupFileWriteError(ERROR_CANNOT_MAKE, std::wstring());
      return false;
    }
    FileName = std::move(name);
  }
  const std::wstring path = GroupFilePath(GroupsFolder, FileName);
  if (path.empty()) {
    ReportGroupFileWriteError(ERROR_INVALID_NAME, FileName);
    return false;
  }
  // Writing over a file this record could not read whole would lose what it holds: the change
  // is refused, and the user told why.
  if (std::any_of(unreadableFiles_.begin(), unreadableFiles_.end(),
                  [this](const std::wstring& f) { return EqualsNoCase(f, FileName); })) {
    ReportRefusedGroupChange(FileName);
    return false;
  }

  const DWORD error = ReplaceGroupFile(GroupsFolder, path, BuildFileBytes(skipNodes));
  if (error) {
    ReportGroupFileWriteError(error, FileName);
    return false;
  }
  return true;
}
