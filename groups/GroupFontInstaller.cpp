// The program's installer for whole groups: FontInstaller over the fonts the groups tree
// collected, without the copy option, with the groups tree as owner.
#include "groups/GroupFontInstaller.h"

#include "common/AppMessageBox.h"
#include "common/ResourceIds.h"
#include "fonts/FontInstaller.h"
#include "fonts/InstallJournal.h"
#include "groups/GroupFileTree.h"

namespace {

class FontInstallerForGroups final : public GroupFontInstaller {
public:
  bool Run(UINT command, FontItemList& fonts, HWND owner) override {
    FontInstaller installer(&fonts, owner, false);
    return command == kGroupInstallCommand ? installer.InstallSelected(command) : installer.UninstallSelected(command);
  }
};

static_assert(kGroupInstallCommand == kInstallGroup && kGroupUninstallCommand == kUninstallGroup);

}  // namespace

void UseFontInstallerForGroups() {
  static FontInstallerForGroups installer;
  SetGroupFontInstaller(&installer);
}

std::optional<std::wstring> RecoverCutShortGroupCommand() {
  const std::optional<CutShortGroupCommand> undone = UndoCutShortGroupCommand();
  if (!undone) return std::nullopt;
  if (!undone->groupFile.empty()) SetGroupTreeInstalled(undone->groupFile, undone->groupWasInstalled);
  return undone->groupName.empty() ? undone->groupFile : undone->groupName;
}

void ReportUndoneGroupCommand(HWND owner, const std::wstring& group) {
  AppMessageBox(owner, MB_ICONWARNING, IDS_CAPTION_APP, IDS_GROUP_COMMAND_UNDONE, 0, group.c_str());
}
