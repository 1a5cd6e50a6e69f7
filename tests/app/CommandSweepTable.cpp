// What every command of the main window must do, where it is offered, in each state of the
// command sweep: enabled or not, and the effect a user sees.
#include <windows.h>
#include <commctrl.h>
#include <shlwapi.h>

#include <algorithm>
#include <map>
#include <memory>

#include "common/ResString.h"
#include "common/StringHelpers.h"
#include "fonts/FontInstaller.h"
#include "tests/app/CommandSweepFixture.h"

using namespace testing_support;

namespace command_sweep {

namespace {

constexpr UINT kHelpContents = 1, kHelpIndex = 2, kHelpContext = 0xF;  // HTML Help commands
constexpr UINT kMainWindowTopic = 128;
constexpr UINT kDeleteOperation = FO_DELETE;

Offer Enabled(const State&) { return Offer::Enabled; }
Offer Disabled(const State&) { return Offer::Disabled; }
Offer Hidden(const State&) { return Offer::Hidden; }
Offer WithFont(const State& s) { return s.font() ? Offer::Enabled : Offer::Disabled; }
Offer FolderMode(const State& s) { return s.groupList ? Offer::Hidden : WithFont(s); }
Offer GroupMode(const State& s) { return s.groupList ? WithFont(s) : Offer::Hidden; }
Offer InstalledSelection(const State& s) { return s.selectedIn == At::InstalledList ? Offer::Enabled : Offer::Disabled; }
// The list menus' items that act on the selection: the state's one selected row is a font file
// that is neither raster nor EUDC nor the installed file itself, in no zip folder.
Offer FolderListFont(const State& s) { return s.selectedIn == At::FolderList ? Offer::Enabled : Offer::Disabled; }
Offer GroupListFont(const State& s) { return s.selectedIn == At::GroupList ? Offer::Enabled : Offer::Disabled; }

std::string Modal(const Outcome& o, const std::string& kind) {
  if (o.modal.size() == 1 && o.modal[0].kind == kind && o.tools.empty()) return {};
  return "expected the modal window " + kind;
}

bool StartsWith(const std::wstring& text, const std::wstring& start) { return text.compare(0, start.size(), start) == 0; }

// A tool window of that kind, with a tab of the state's font when `font` is given.
std::string Tool(const Outcome& o, const std::string& kind, const wchar_t* font = nullptr) {
  if (o.tools.size() != 1 || o.tools[0].kind != kind || !o.modal.empty()) return "expected the tool window " + kind;
  if (!font) return {};
  for (const std::wstring& tab : o.tools[0].tabs)
    if (StartsWith(tab, font)) return {};
  return "expected a tab of " + Narrow(font) + " in " + kind;
}

std::string Menu(const Outcome& o) { return o.menuShown && !o.menu.empty() ? std::string() : std::string("expected a menu"); }

std::string Help(const Outcome& o, const std::vector<std::pair<UINT, DWORD_PTR>>& expected) {
  return o.help == expected ? std::string() : std::string("expected a help request");
}

std::string BoxText(const Outcome& o, const std::wstring& text) {
  for (const RecordedBox& box : o.boxes)
    if (StartsWith(box.text, text)) return {};
  return "expected the question \"" + Narrow(text) + "\"";
}

// Controls of the system's dialogs (dlgs.h): the page setup's first margin, the print dialog's
// printer list, the file name of the save dialog.
constexpr int kPageSetupMargin = 0x483, kPrinterName = 0x473, kFileNameCombo = 0x47C, kFileNameEdit = 0x480;

// The system's print or page setup dialog; with no printer at all, the message that says so:
// the system's own box, or ours after the system's dialog found no printer.
std::string PrinterDialog(const Outcome& o, int control) {
  if (o.modal.size() == 1 && o.modal[0].HasControl(control)) return {};
  if (!HasDefaultPrinter() && o.modal.size() <= 1 && o.modal.size() + o.boxes.size() >= 1) return {};
  return "expected the system's printer dialog";
}

std::string SaveDialog(const Outcome& o) {
  if (o.modal.size() == 1 && (o.modal[0].HasControl(kFileNameCombo) || o.modal[0].HasControl(kFileNameEdit))) return {};
  return "expected the save dialog";
}

// An install or uninstall that ran for the font: it handed the font's file to the system, or
// told the user in a box of the command why it did not.
std::string Installer(const Outcome& o, UINT caption, const std::wstring& file) {
  for (const std::vector<std::wstring>* calls : {&o.fileOperations, &o.systemCalls})
    for (const std::wstring& call : *calls)
      if (FoldCase(call).find(FoldCase(file)) != std::wstring::npos) return {};
  for (const RecordedBox& box : o.boxes)
    if (box.caption == LoadResString(caption)) return {};
  return "expected the font handed to the system, or a message box \"" + Narrow(LoadResString(caption)) + "\"";
}

HWND EditControl(HWND tree) { return reinterpret_cast<HWND>(::SendMessageW(tree, TVM_GETEDITCONTROL, 0, 0)); }

std::string CancelsLabelEdit(HWND tree) {
  if (!EditControl(tree)) return "expected the label in editing";
  ::SendMessageW(tree, TVM_ENDEDITLABELNOW, TRUE, 0);
  return {};
}

}  // namespace

std::vector<CommandSweep::Row> CommandSweep::Table() {
  // What a view command shows or hides, and the check marks that follow it.
  auto view = [this] {
    MainPanes& p = Panes();
    REBARBANDINFOW band{sizeof(band)};
    band.fMask = RBBIM_STYLE;
    ::SendMessageW(Frame().m_hWndToolBar, RB_GETBANDINFOW, 1, reinterpret_cast<LPARAM>(&band));
    std::string s;
    for (int mode : {p.m_mainSplitter.GetSinglePaneMode(), p.m_treesSplitter.GetSinglePaneMode(),
                     p.m_listsSplitter.GetSinglePaneMode(), p.m_sampleSplitter.GetSinglePaneMode()})
      s += std::to_string(mode) + ",";
    s += (band.fStyle & RBBS_HIDDEN) ? "no toolbar," : "toolbar,";
    s += ::IsWindowVisible(Frame().m_hWndStatusBar) ? "status bar," : "no status bar,";
    s += g_Preferences.ShowSampleInList ? "samples" : "names";
    return s;
  };
  auto checked = [this](UINT id) { return (Frame().UIGetState(static_cast<int>(id)) & orv::UPDUI_CHECKED) != 0; };
  auto viewBefore = std::make_shared<std::string>();
  auto checkBefore = std::make_shared<bool>();
  // A view command changes the view and its check mark; sent again it restores both.
  auto toggle = [=](UINT id) {
    return Row{At::Frame, id, Enabled,
               [=] {
                 *viewBefore = view();
                 *checkBefore = checked(id);
               },
               [=](const Outcome&, const Again& again) -> std::string {
                 if (view() == *viewBefore) return "the view did not change";
                 if (checked(id) == *checkBefore) return "the check mark did not follow";
                 again();
                 if (view() != *viewBefore || checked(id) != *checkBefore) return "sent again, it did not restore the view";
                 return {};
               }};
  };
  // Lists and trees damaged by the test: a refresh must show their rows again.
  auto rows = std::make_shared<std::map<At, int>>();
  auto emptyList = [this, rows](At at) {
    return [this, rows, at] {
      (*rows)[at] = Items(at);
      ::SendMessageW(List(at)->m_hWnd, LVM_DELETEALLITEMS, 0, 0);
    };
  };
  auto refilled = [this, rows](At at) {
    return [this, rows, at](const Outcome&, const Again&) -> std::string {
      Idle();
      if (Items(at) == 0 || Items(at) != (*rows)[at]) return std::string("the ") + Name(at) + " was not filled again";
      return {};
    };
  };
  auto cutGroups = [this] {
    HTREEITEM root = Tree().GetRootItem();
    while (HTREEITEM child = Tree().GetChildItem(root)) Tree().DeleteItem(child);
  };
  auto groupsBack = [this](const Outcome&, const Again&) -> std::string {
    Idle();
    return GroupItem() ? std::string() : std::string("the groups tree was not read again");
  };
  // What the font commands open for the state's font.
  auto sheet = [this](const Outcome& o, const Again&) { return Tool(o, "CFontSheetFrame", Current().row); };
  auto charMap = [this](const Outcome& o, const Again&) { return Tool(o, "CCharMapFrame", Current().row); };
  auto properties = [this](const Outcome& o, const Again&) -> std::string {
    if (std::string wrong = Modal(o, "COrvFontPropertiesTT"); !wrong.empty()) return wrong;
    return StartsWith(o.modal[0].caption, Current().row) ? std::string() : std::string("the sheet of another font");
  };
  auto search = [](bool similar) {
    return [similar](const Outcome& o, const Again&) -> std::string {
      if (std::string wrong = Tool(o, "CSearchDlg"); !wrong.empty()) return wrong;
      return o.tools[0].similarSearch == similar ? std::string() : std::string("the search in the wrong mode");
    };
  };
  auto modal = [](const char* kind) { return [kind](const Outcome& o, const Again&) { return Modal(o, kind); }; };
  auto tool = [](const char* kind) { return [kind](const Outcome& o, const Again&) { return Tool(o, kind); }; };
  auto menu = [](const Outcome& o, const Again&) { return Menu(o); };
  auto help = [](std::vector<std::pair<UINT, DWORD_PTR>> expected) {
    return [expected](const Outcome& o, const Again&) { return Help(o, expected); };
  };
  auto refreshAll = [=] {
    emptyList(At::FolderList)();
    emptyList(At::InstalledList)();
    cutGroups();
  };
  auto allRefilled = [=](const Outcome& o, const Again& a) -> std::string {
    for (At at : {At::FolderList, At::InstalledList})
      if (std::string wrong = refilled(at)(o, a); !wrong.empty()) return wrong;
    return groupsBack(o, a);
  };
  // The selected state of every row of a list, before a selection command and after it.
  auto selection = [this](At at) {
    std::vector<bool> rows(static_cast<size_t>(Items(at)));
    for (size_t i = 0; i < rows.size(); ++i)
      rows[i] = ::SendMessageW(List(at)->m_hWnd, LVM_GETITEMSTATE, i, LVIS_SELECTED) != 0;
    return rows;
  };
  auto selectedBefore = std::make_shared<std::vector<bool>>();
  auto selectAll = [=](At at) {
    return Row{at, ID_LIST_SELECT_ALL, Enabled, [=] { *selectedBefore = selection(at); },
               [=](const Outcome&, const Again&) {
                 const std::vector<bool> now = selection(at);
                 const bool changed = std::count(selectedBefore->begin(), selectedBefore->end(), false) > 0;
                 return changed && std::count(now.begin(), now.end(), false) == 0 ? std::string()
                                                                                  : std::string("not every row selected");
               }};
  };
  auto invert = [=](At at) {
    return Row{at, ID_LIST_INVERT_SELECTION, Enabled, [=] { *selectedBefore = selection(at); },
               [=](const Outcome&, const Again&) {
                 std::vector<bool> flipped = *selectedBefore;
                 flipped.flip();
                 return selection(at) == flipped && !flipped.empty() ? std::string() : std::string("the selection not inverted");
               }};
  };
  auto printList = [](const Outcome& o, const Again&) { return PrinterDialog(o, kPrinterName); };
  auto copyToFolder = modal("COrvBrowseFolderDialog");
  // The common items every list menu ends with.
  auto common = [=](At at, std::function<Offer(const State&)> withRows) {
    return std::vector<Row>{
        selectAll(at),
        invert(at),
        {at, ID_FONTS_SHEET, withRows, {}, tool("CFontSheetFrame")},
        {at, ID_FONTS_CHARMAP, withRows, {}, tool("CCharMapFrame")},
        {at, ID_FONTS_REFRESH, Enabled, emptyList(at), refilled(at)},
        {at, ID_LIST_PRINT, withRows, {}, printList},
    };
  };

  // A band button shows its band under the pane's caption; clicked again, it hides it.
  auto band = [](At at, UINT id, std::function<bool()> checked, std::function<HWND()> window) {
    return Row{at, id, Enabled, {}, [=](const Outcome&, const Again& again) -> std::string {
                 if (!checked() || !::IsWindowVisible(window())) return "the band is not shown";
                 again();
                 return ::IsWindowVisible(window()) ? std::string("clicked again, the band stays") : std::string();
               }};
  };
  // The file of the state's font, for the install commands.
  auto file = [this] {
    const std::wstring row = Current().row ? Current().row : L"";
    return row == kTaggedFont ? L"SweepySans.ttf" : row == kInstalledCopy ? L"DejaVuSerif.ttf" : L"DejaVuSans.ttf";
  };
  auto installer = [file](UINT caption) {
    return [file, caption](const Outcome& o, const Again&) { return Installer(o, caption, file()); };
  };
  // The groups under the root named after the fonts folder (a second one gets a number).
  auto madeGroups = [this] {
    const std::wstring name = ::PathFindFileNameW(FontsFolder().c_str());
    int n = 0;
    HTREEITEM root = Tree().GetRootItem();
    for (HTREEITEM child = Tree().GetChildItem(root); child; child = Tree().GetNextSiblingItem(child))
      n += StartsWith(Tree().GetItemName(child), name);
    return n;
  };
  auto madeBefore = std::make_shared<int>();
  std::vector<Row> table = {
      // The menu bar, the accelerators and the main toolbar.
      {At::Frame, ID_TOOLS_OPTIONS, Enabled, {}, modal("CPreferences")},
      {At::Frame, ID_FONTS_REFRESH, Enabled, refreshAll, allRefilled},
      {At::Frame, ID_FONTS_SEARCH, Enabled, {}, search(false)},
      {At::Frame, ID_FONTS_SIMILAR, WithFont, {}, search(true)},
      {At::Frame, ID_FONTS_CENSUS, Enabled, {}, tool("CCensusDlg")},
      {At::Frame, ID_FONTS_CHARMAP, WithFont, {}, charMap},
      {At::Frame, ID_FONTS_SHEET, WithFont, {}, sheet},
      {At::Frame, ID_FONTS_PROPERTIES, WithFont, {}, properties},
      {At::Frame, ID_HELP_TOPIC_MAIN, Enabled, {}, help({{kHelpContents, 0}, {kHelpContext, kMainWindowTopic}})},
      {At::Frame, ID_HELP_CONTENTS, Enabled, {}, help({{kHelpContents, 0}})},
      {At::Frame, ID_HELP_INDEX, Enabled, {}, help({{kHelpIndex, 0}})},
      {At::Frame, ID_FONTS_DIRS_WITH_FONTS, Enabled, {}, tool("CDirWithFontsDlg")},
      {At::Frame, ID_FILE_PAGE_SETUP, Enabled, {},
       [](const Outcome& o, const Again&) { return PrinterDialog(o, kPageSetupMargin); }},
      {At::Frame, ID_TOOLS_SUBSTITUTES, Enabled, {}, modal("CSubstituteDlg")},
      {At::Frame, ID_TOOLS_FAMILY_DEFAULTS, Enabled, {}, modal("CDefaultFamiliesDlg")},
      {At::Frame, ID_GROUPS_BACKUP, Enabled, {}, modal("COrvBrowseFolderDialog")},
      {At::Frame, ID_GROUPS_RESTORE, Enabled, {}, modal("CGroupsRestoreDlg")},
      {At::Frame, ID_GROUPS_RELOCATE, Enabled, {}, modal("CXmlRelocateFontsDlg")},
      {At::Frame, ID_FILES_BACKUP, Enabled, {}, modal("CImportExportDlg")},
      {At::Frame, ID_GROUPS_CLASSIFY, Enabled, {}, modal("CFontClassificationsDlg")},
      {At::Frame, ID_TOOLS_GROUP_CHECKS, Enabled, {}, tool("CGroupChecksDlg")},
      {At::Frame, ID_TOOLS_REGISTRY_FONTS, Enabled, {}, tool("CListRegistryFontsDlg")},
      // One font selected: its image is saved under the name the save dialog asks for.
      {At::Frame, ID_FILE_SAVE_IMAGES, WithFont, {}, [](const Outcome& o, const Again&) { return SaveDialog(o); }},
      {At::Frame, ID_SAMPLE_EDIT_TEXTS, Enabled, {}, modal("CSampleNewDlg")},
      {At::Frame, ID_APP_ABOUT, Enabled, {}, modal("CAboutDlg")},
      {At::Frame, ID_RESTART_ELEVATED, Disabled, {}, {}},  // an elevated process
      {At::Frame, ID_APP_EXIT, Enabled, {}, {}},            // swept last, on its own
      {At::Frame, ID_WINDOW_TO_SCREEN, Enabled,
       [this] { Frame().SetWindowPos(nullptr, 40, 50, 0, 0, SWP_NOSIZE | SWP_NOZORDER); },
       [this](const Outcome&, const Again&) -> std::string {
         RECT rc{};
         Frame().GetWindowRect(&rc);
         return rc.left == 0 && rc.top == 0 ? std::string() : std::string("the window is not at the corner");
       }},
      toggle(ID_VIEW_TOOLBAR),
      toggle(ID_VIEW_STATUS_BAR),
      toggle(ID_VIEW_FOLDER_TREE),
      toggle(ID_VIEW_GROUPS_TREE),
      toggle(ID_VIEW_FOLDER_LISTS),
      toggle(ID_VIEW_SAMPLE_PANE),
      toggle(ID_VIEW_SAMPLE_IN_LIST),

      // The sample pane's font commands.
      {At::SamplePane, ID_FONTS_SHEET, WithFont, {}, sheet},
      {At::SamplePane, ID_FONTS_CHARMAP, WithFont, {}, charMap},
      {At::SamplePane, ID_FONTS_PROPERTIES, WithFont, {}, properties},

      // The folder pane.
      band(At::FolderPane, ID_PANE_FAVORITES, [this] { return Panes().m_folderPane.FavoritesShown(); },
           [this] { return Panes().m_folderPane.Favorites().m_hWnd; }),
      {At::FolderPane, ID_PANE_SYSTEM_FONTS_DIR, Enabled, {},
       [this](const Outcome&, const Again& again) -> std::string {
         Idle();
         if (!EqualsNoCase(g_AppState.FolderFonts.m_folder, g_AppState.SystemFontsFolder))
           return "the folder list does not show the Fonts folder";
         again();
         Idle();
         return EqualsNoCase(g_AppState.FolderFonts.m_folder, FontsFolder()) ? std::string()
                                                                             : std::string("clicked again, it did not come back");
       }},
      {At::FolderPane, ID_PANE_MENU, Enabled, {}, menu},

      // The groups pane.
      band(At::GroupsPane, ID_GROUPS_QUICK_SEARCH, [this] { return Panes().m_groupsPane.QuickSearchShown(); },
           [this] { return Panes().m_groupsPane.QuickSearch().m_hWnd; }),
      {At::GroupsPane, ID_GROUP_INSTALL, Enabled, {}, installer(kInstallGroup)},
      {At::GroupsPane, ID_GROUP_UNINSTALL, Hidden, {}, {}},  // no group is installed
      {At::GroupsPane, ID_PANE_MENU, Enabled, {}, menu},

      // The font-lists pane: the install buttons of the list in front.
      {At::ListsPane, ID_FONTS_INSTALL, FolderMode, {}, installer(kInstallFromList)},
      {At::ListsPane, ID_FONTS_UNINSTALL, FolderMode, {}, installer(kUninstallFromList)},
      {At::ListsPane, ID_GROUP_LIST_INSTALL, GroupMode, {}, installer(kInstallFromList)},
      {At::ListsPane, ID_GROUP_LIST_UNINSTALL, GroupMode, {}, installer(kUninstallFromList)},
      {At::ListsPane, ID_GROUP_REMOVE_FONTS, GroupMode, {},
       [](const Outcome& o, const Again&) { return BoxText(o, LoadResString(IDS_REMOVE_FROM_GROUP_ASK)); }},
      {At::ListsPane, ID_PANE_PARENT_FOLDER, [](const State& s) { return s.groupList ? Offer::Enabled : Offer::Hidden; },
       {},
       [this](const Outcome&, const Again&) {
         return Tree().GetSelectedItem() == Tree().GetRootItem() ? std::string() : std::string("the parent group not selected");
       }},
      {At::ListsPane, ID_PANE_MENU, Enabled, {}, menu},

      // The installed pane.
      {At::InstalledPane, ID_FONTS_UNINSTALL, InstalledSelection, {}, installer(kUninstallFromList)},
      {At::InstalledPane, ID_PANE_MENU, Enabled, {}, menu},

      // The folder tree's menu.
      {At::FolderTree, ID_FOLDER_MAKE_GROUPS, Enabled, [=] { *madeBefore = madeGroups(); },
       [=](const Outcome&, const Again&) {
         return madeGroups() == *madeBefore + 1 ? std::string() : std::string("no group made from the folder");
       }},
      {At::FolderTree, ID_LIST_EXTRACT_ZIPPED, Hidden, {}, {}},
      {At::FolderTree, ID_FOLDER_NEW, Enabled, {},
       [this](const Outcome&, const Again&) -> std::string {
         const std::wstring made = FontsFolder() + L"\\" + LoadResString(IDS_NEW_FOLDER_NAME);
         const bool exists = ::PathIsDirectoryW(made.c_str()) != FALSE;
         const std::string edit = CancelsLabelEdit(Panes().m_folderTree);
         ::RemoveDirectoryW(made.c_str());
         return !exists ? "no new folder" : edit;
       }},
      {At::FolderTree, ID_TREE_RENAME, Enabled, {},
       [this](const Outcome&, const Again&) { return CancelsLabelEdit(Panes().m_folderTree); }},
      {At::FolderTree, ID_FOLDER_DELETE, Hidden, {}, {}},  // the folder holds fonts
      {At::FolderTree, ID_FOLDER_OPEN, Enabled, {},
       [this](const Outcome& o, const Again&) {
         return o.opened.size() == 1 && EqualsNoCase(o.opened[0], FontsFolder()) ? std::string()
                                                                                 : std::string("the folder not opened");
       }},
      {At::FolderTree, ID_FONTS_REFRESH, Enabled, emptyList(At::FolderList), refilled(At::FolderList)},

      // The groups tree's menu.
      {At::GroupsTree, ID_GROUP_NEW, Enabled, {},
       [this](const Outcome&, const Again&) -> std::string {
         HTREEITEM made = Tree().GetSelectedItem();
         if (!made || !StartsWith(Tree().GetItemName(made), LoadResString(IDS_NEW_GROUP_NAME))) return "no new group";
         return CancelsLabelEdit(Panes().m_groupsTree);
       }},
      {At::GroupsTree, ID_TREE_RENAME, [](const State& s) { return s.groupList ? Offer::Enabled : Offer::Disabled; }, {},
       [this](const Outcome&, const Again&) { return CancelsLabelEdit(Panes().m_groupsTree); }},
      {At::GroupsTree, ID_GROUP_DELETE, [](const State& s) { return s.groupList ? Offer::Enabled : Offer::Disabled; }, {},
       [this](const Outcome& o, const Again&) -> std::string {
         if (!GroupItem()) return "the group was deleted without asking";
         return BoxText(o, FormatResString(IDS_DELETE_GROUP_ASK, L"Sweep"));
       }},
      {At::GroupsTree, ID_GROUPS_CLASSIFY, Enabled, {}, modal("CFontClassificationsDlg")},
      {At::GroupsTree, ID_GROUP_CLEAR_INSTALLED, Disabled, {}, {}},  // nothing is marked installed
      {At::GroupsTree, ID_FONTS_REFRESH, Enabled, cutGroups, groupsBack},

      // The folder list's menu.
      {At::FolderList, ID_FONTS_COPY_TO_FOLDER, FolderListFont, {}, copyToFolder},
      {At::FolderList, ID_LIST_EXTRACT_ZIPPED, Hidden, {}, {}},
      {At::FolderList, ID_LIST_DELETE_FILES, FolderListFont, {},
       [this, file](const Outcome& o, const Again&) -> std::string {
         const std::wstring path = FontsFolder() + L"\\" + file();
         if (o.fileOperations != std::vector<std::wstring>{std::to_wstring(kDeleteOperation) + L"|" + path})
           return "the file not handed to the shell to delete";
         return ::PathFileExistsW(path.c_str()) ? std::string() : std::string("deleted though cancelled");
       }},
      {At::FolderList, ID_FONTS_SHOW_INSTALLED,
       [](const State& s) { return s.row == kInstalledCopy ? Offer::Enabled : Offer::Hidden; },
       [this] {
         COrvelListView& installed = *List(At::InstalledList);
         ::SendMessageW(installed.m_hWnd, LVM_ENSUREVISIBLE, Items(At::InstalledList) - 1, FALSE);
       },
       [this](const Outcome&, const Again&) -> std::string {
         const COrvelListView& installed = *List(At::InstalledList);
         const FontItem* record = List(At::FolderList)->GetRecordAt(List(At::FolderList)->GetFirstSelected());
         const int match = record ? installed.FindMatchingRow(*record) : -1;
         const int top = static_cast<int>(::SendMessageW(installed.m_hWnd, LVM_GETTOPINDEX, 0, 0));
         const int page = static_cast<int>(::SendMessageW(installed.m_hWnd, LVM_GETCOUNTPERPAGE, 0, 0));
         return match >= top && match < top + page ? std::string() : std::string("the installed face is not shown");
       }},
      {At::FolderList, ID_LIST_UNLOAD_FONT, Hidden, {}, {}},  // no namesake known only to GDI
  };
  for (Row& row : common(At::FolderList, FolderListFont)) table.push_back(std::move(row));

  // The group list's menu.
  table.push_back({At::GroupList, ID_GROUP_SHOW_FONT_FOLDER,
                  [](const State& s) { return s.selectedIn == At::GroupList ? Offer::Enabled : Offer::Hidden; },
                  [this] {
                    // Another folder in the folder list, so that the jump shows.
                    CFolderTreeView& folders = g_AppState.FolderTree;
                    folders.SelectItem(folders.GetParentItem(folders.GetSelectedItem()));
                    Idle();
                  },
                  [this](const Outcome&, const Again&) -> std::string {
                    Idle();
                    if (g_AppState.GroupListShown) return "the folder list is not in front";
                    return EqualsNoCase(g_AppState.FolderFonts.m_folder, FontsFolder())
                               ? std::string()
                               : std::string("the folder list does not show the font's folder");
                  }});
  table.push_back({At::GroupList, ID_FONTS_SHOW_INSTALLED, Hidden, {}, {}});  // the group's font is not installed
  for (Row& row : common(At::GroupList, GroupListFont)) table.push_back(std::move(row));

  // The installed list's menu.
  table.push_back({At::InstalledList, ID_FONTS_COPY_TO_FOLDER, InstalledSelection, {}, copyToFolder});
  for (Row& row : common(At::InstalledList, InstalledSelection)) table.push_back(std::move(row));
  return table;
}

}  // namespace command_sweep
