// The program's installer for whole groups: FontInstaller over the fonts the groups tree
// collected, without the copy option, with the groups tree as owner.
#include "groups/GroupFontInstaller.h"

#include "fonts/FontInstaller.h"

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
