// The program's installer for whole groups: FontInstaller over the fonts the groups tree
// collected, without the copy option, with the groups tree as owner.
#include "groups/GroupFontInstaller.h"

#include "common/AppMessageBox.h"
#include "common/ResString.h"
#include "common/ResourceIds.h"
#include "fonts/FontInstaller.h"
#include "fonts/InstallJournal.h"
#include "groups/FontGroup.h"
#include "groups/GroupFileTree.h"
#include "groups/GroupNames.h"

namespace {

// The changes one box names; the rest are counted.
constexpr size_t kMaxNamedChanges = 20;
// A group's name from the journal is cut to this length in the box: it may be forged.
constexpr size_t kShownGroupName = 60;

class FontInstallerForGroups final : public GroupFontInstaller {
public:
  bool Run(UINT command, FontItemList& fonts, HWND owner, FontChanges& changes) override {
    FontInstaller installer(&fonts, owner, false, &changes);
    return command == kGroupInstallCommand ? installer.InstallSelected(command) : installer.UninstallSelected(command);
  }
};

static_assert(kGroupInstallCommand == kInstallGroup && kGroupUninstallCommand == kUninstallGroup);

// A group file whose mark an undo may put back: one of the groups folder, not the root, there.
bool IsMarkableGroup(const std::wstring& file) {
  if (!IsGroupFileName(file) || IsRootGroupFile(file)) return false;
  FontGroup group;
  return group.Load(file);
}

void AppendLines(std::wstring& detail, UINT headingId, const std::vector<std::wstring>& lines) {
  if (lines.empty()) return;
  if (!detail.empty()) detail += L"\n\n";
  detail += LoadResString(headingId);
  for (size_t i = 0; i < lines.size(); ++i) {
    if (i == kMaxNamedChanges && lines.size() > kMaxNamedChanges + 1) {
      detail += L'\n' + FormatResString(IDS_MORE_FONTS, static_cast<int>(lines.size() - i));
      break;
    }
    detail += L'\n' + lines[i];
  }
}

}  // namespace

void UseFontInstallerForGroups() {
  static FontInstallerForGroups installer;
  SetGroupFontInstaller(&installer);
}

std::optional<RecoveredGroupCommand> RecoverCutShortGroupCommand() {
  const std::optional<CutShortGroupCommand> undone = UndoCutShortGroupCommand();
  if (!undone) return std::nullopt;
  RecoveredGroupCommand told;
  if (!undone->headerValid) {
    told.textId = IDS_GROUP_JOURNAL_FOREIGN;
    return told;
  }
  const std::wstring group = undone->groupName.empty() ? undone->groupFile : undone->groupName;
  told.detail = ShortenedForDisplay(group, kShownGroupName);
  told.complete = undone->notPutBack.empty();
  std::vector<std::wstring> kept;
  for (const UndoFailure& failure : undone->notPutBack)
    kept.push_back(FailureLine(failure.what, failure.reasonId, failure.error));
  // The group's mark goes back with its fonts, and only for a group of the groups folder.
  const bool markable = IsMarkableGroup(undone->groupFile);
  if (told.complete && markable) SetGroupTreeInstalled(undone->groupFile, undone->groupWasInstalled);
  told.textId = !told.complete ? IDS_GROUP_COMMAND_NOT_UNDONE : markable ? IDS_GROUP_COMMAND_UNDONE : IDS_JOURNAL_MARK_KEPT;
  AppendLines(told.detail, IDS_NOT_PUT_BACK, kept);
  AppendLines(told.detail, IDS_JOURNAL_IGNORED, undone->ignored);
  return told;
}

void ReportUndoneGroupCommand(HWND owner, const RecoveredGroupCommand& recovered) {
  AppMessageBox(owner, recovered.complete ? MB_ICONWARNING : MB_ICONERROR, IDS_CAPTION_APP, recovered.textId, 0,
                recovered.detail.empty() ? nullptr : recovered.detail.c_str());
}
