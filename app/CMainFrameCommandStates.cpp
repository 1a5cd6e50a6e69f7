// Commands of the menu, the accelerators and the toolbar whose windows or dialogs are not part
// of the program yet. They stay disabled wherever they appear, and an accelerator of a
// disabled command is swallowed, so that no command offered does nothing. A command leaves
// this table when its window joins the command table.
#include "app/CMainFrame.h"

namespace {
constexpr UINT kCommandsWithoutWindow[] = {
    ID_GROUPS_CLASSIFY,       ID_GROUPS_BACKUP,       ID_GROUPS_RESTORE,   ID_GROUPS_RELOCATE,
    ID_FILES_BACKUP,
};
}  // namespace

void CMainFrame::DisableCommandsWithoutWindow() {
  for (UINT id : kCommandsWithoutWindow) UIEnable(static_cast<int>(id), false);
}
