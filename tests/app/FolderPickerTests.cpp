// The folder picker and the drive combo, driven through their own windows under Wine. The
// picker's tree here is a plain tree-view over a scratch folder that behaves like the shell
// folder tree where the picker relies on it: it selects its target at Initialize, makes the
// selected folder current, accepts renames through reflected notifications and marks the
// folders as changed.
#include "app/COrvBrowseFolderDialog.h"
#include "app/CDriveCombo.h"

#include <gtest/gtest.h>
#include <commctrl.h>
#include <shlwapi.h>

#include <functional>
#include <vector>

#include "app/CCreateFontCaseDlg.h"
#include "app/Preferences.h"
#include "common/ResString.h"
#include "tests/support/ModalScript.h"
#include "tests/support/TestSupport.h"

using namespace testing_support;

namespace {

class CScratchFolderTree : public orv::CWindowImpl<CScratchFolderTree>, public IPickerFolderTree {
public:
  static inline std::wstring root;
  static inline CScratchFolderTree* last = nullptr;
  static inline int made = 0;  // trees made since the test began

  static std::unique_ptr<IPickerFolderTree> Make() {
    auto tree = std::make_unique<CScratchFolderTree>();
    last = tree.get();
    ++made;
    return tree;
  }

  ~CScratchFolderTree() override {
    if (last == this) last = nullptr;
  }

  void SetTargetFolder(const std::wstring& folder) override { target = folder; }
  void Configure(bool mark, bool editing) override {
    markFontFolders = mark;
    allowEditing = editing;
  }
  bool MarkFontFolders() const override { return markFontFolders; }
  HWND CreateTreeWindow(HWND parent, const RECT& rc, DWORD style, DWORD exStyle, UINT id) override {
    createdStyle = style;
    HWND wnd = ::CreateWindowExW(exStyle, WC_TREEVIEWW, nullptr, style, rc.left, rc.top, rc.right - rc.left,
                                 rc.bottom - rc.top, parent, reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)),
                                 nullptr, nullptr);
    if (wnd) SubclassWindow(wnd);
    return wnd;
  }
  void Initialize() override {
    HTREEITEM top = Insert(TVI_ROOT, root, root);
    Fill(top, root, 2);
    std::wstring start = target;
    if (start.empty() || !::PathFileExistsW(start.c_str())) start = g_Preferences.FontCaseRoot;
    if (HTREEITEM item = ItemOf(start)) {
      SendMessage(TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item));
      SendMessage(TVM_ENSUREVISIBLE, 0, reinterpret_cast<LPARAM>(item));
    }
  }
  bool GetSelectedPath(std::wstring& path) override {
    path = PathOf(reinterpret_cast<HTREEITEM>(SendMessage(TVM_GETNEXTITEM, TVGN_CARET, 0)));
    return !path.empty();
  }
  bool FoldersChanged() const override { return foldersChanged; }

  HTREEITEM ItemOf(const std::wstring& path) const {
    for (size_t i = 0; i < paths.size(); ++i)
      if (paths[i] == path) return items[i];
    return nullptr;
  }
  std::wstring PathOf(HTREEITEM item) const {
    for (size_t i = 0; i < items.size(); ++i)
      if (items[i] == item) return paths[i];
    return {};
  }
  std::wstring TextOf(HTREEITEM item) const { return TreeItemText(m_hWnd, item); }
  void Select(const std::wstring& path) {
    SendMessage(TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(ItemOf(path)));
  }

  BEGIN_MSG_MAP(CScratchFolderTree)
    MESSAGE_HANDLER(WM_COMMAND, OnCommand)
    REFLECTED_NOTIFY_CODE_HANDLER(TVN_SELCHANGEDW, OnSelChanged)
    REFLECTED_NOTIFY_CODE_HANDLER(TVN_ENDLABELEDITW, OnEndLabelEdit)
    DEFAULT_REFLECTION_HANDLER()
  END_MSG_MAP()

  std::wstring target;
  bool markFontFolders = true;
  bool allowEditing = false;
  bool foldersChanged = false;
  int renames = 0;
  int newFolderCommands = 0;
  static constexpr WORD kNewFolderCommand = 198;
  DWORD createdStyle = 0;
  std::vector<std::wstring> paths;
  std::vector<HTREEITEM> items;

private:
  HTREEITEM Insert(HTREEITEM parent, const std::wstring& text, const std::wstring& path) {
    TVINSERTSTRUCTW ins{};
    ins.hParent = parent;
    ins.hInsertAfter = TVI_LAST;
    ins.item.mask = TVIF_TEXT;
    ins.item.pszText = const_cast<wchar_t*>(text.c_str());
    auto item = reinterpret_cast<HTREEITEM>(SendMessage(TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&ins)));
    paths.push_back(path);
    items.push_back(item);
    return item;
  }
  void Fill(HTREEITEM parent, const std::wstring& folder, int depth) {
    if (depth == 0) return;
    WIN32_FIND_DATAW fd{};
    HANDLE find = ::FindFirstFileW((folder + L"\\*").c_str(), &fd);
    if (find == INVALID_HANDLE_VALUE) return;
    do {
      if (!(fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) || fd.cFileName[0] == L'.') continue;
      const std::wstring path = folder + L"\\" + fd.cFileName;
      Fill(Insert(parent, fd.cFileName, path), path, depth - 1);
    } while (::FindNextFileW(find, &fd));
    ::FindClose(find);
    SendMessage(TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(parent));
  }
  LRESULT OnCommand(UINT, WPARAM wp, LPARAM, BOOL& handled) {
    if (LOWORD(wp) == kNewFolderCommand)
      ++newFolderCommands;
    else
      handled = FALSE;
    return 0;
  }
  LRESULT OnSelChanged(int, NMHDR* hdr, BOOL&) {
    const std::wstring path = PathOf(reinterpret_cast<NMTREEVIEWW*>(hdr)->itemNew.hItem);
    if (!path.empty() && ::SetCurrentDirectoryW(path.c_str())) target = path;
    return 0;
  }
  LRESULT OnEndLabelEdit(int, NMHDR* hdr, BOOL&) {
    const auto* info = reinterpret_cast<NMTVDISPINFOW*>(hdr);
    if (!info->item.pszText) return FALSE;
    foldersChanged = true;
    ++renames;
    return TRUE;
  }
};

// The folder picker's script player: a picker left open is cancelled.
struct StepPlayer {
  static void Run(std::vector<std::function<bool()>> script, const std::function<void()>& body) {
    testing_support::ModalScript::Run(std::move(script), body, &FindPicker);
  }
  static HWND FindPicker() { return testing_support::FindDialogWithControl(IDC_BROWSE_OK); }
};

void Click(HWND dlg, int id) { testing_support::ClickButton(dlg, id); }

RECT ClientRectOf(HWND dlg, int id) {
  RECT rc{};
  ::GetWindowRect(::GetDlgItem(dlg, id), &rc);
  ::MapWindowPoints(nullptr, dlg, reinterpret_cast<POINT*>(&rc), 2);
  return rc;
}

std::wstring CurrentDirectory() {
  wchar_t path[MAX_PATH] = {};
  ::GetCurrentDirectoryW(MAX_PATH, path);
  return path;
}

class FolderPicker : public ::testing::Test {
protected:
  void SetUp() override {
    ResetRecords();
    COrvBrowseFolderDialog::LastWindowRect() = RECT{};
    COrvBrowseFolderDialog::SetTreeHooks({&CScratchFolderTree::Make, &RebuildMainTree});
    rebuilds = 0;
    CScratchFolderTree::made = 0;
    CScratchFolderTree::root = scratch.Path();
    for (const wchar_t* sub : {L"Alpha", L"Beta", L"Beta\\Inner", L"Gamma"})
      ::CreateDirectoryW(scratch.File(sub).c_str(), nullptr);
    savedFontCase = g_Preferences.FontCaseRoot;
    savedFavorites = g_Preferences.FavoriteFolders;
    startDirectory = CurrentDirectory();
  }
  void TearDown() override {
    ::SetCurrentDirectoryW(startDirectory.c_str());
    COrvBrowseFolderDialog::SetTreeHooks({});
    g_Preferences.FontCaseRoot = savedFontCase;
    g_Preferences.FavoriteFolders = savedFavorites;
    ResetRecords();
  }
  static void RebuildMainTree() { ++rebuilds; }

  static inline int rebuilds = 0;
  ScratchDir scratch;
  std::wstring savedFontCase, savedFavorites, startDirectory;
};

TEST_F(FolderPicker, OpensOnTheStartFolderAndReturnsTheChosenOne) {
  const std::wstring start = scratch.File(L"Alpha"), wanted = scratch.File(L"Beta\\Inner");
  COrvBrowseFolderDialog dlg(start);
  INT_PTR result = 0;
  StepPlayer::Run(
      {[&] {
        HWND picker = StepPlayer::FindPicker();
        if (!picker) return false;
        CScratchFolderTree* tree = CScratchFolderTree::last;
        EXPECT_TRUE(tree && tree->m_hWnd == ::GetDlgItem(picker, IDC_BROWSE_TREE));
        if (!tree) return true;
        std::wstring selected;
        EXPECT_TRUE(tree->GetSelectedPath(selected));
        EXPECT_EQ(selected, start);
        EXPECT_EQ(::GetFocus(), tree->m_hWnd) << "the tree gets the focus";
        EXPECT_TRUE(tree->markFontFolders);
        EXPECT_FALSE(tree->allowEditing);
        EXPECT_EQ(tree->createdStyle & (TVS_HASBUTTONS | TVS_EDITLABELS | TVS_SHOWSELALWAYS | TVS_TRACKSELECT),
                  static_cast<DWORD>(TVS_HASBUTTONS | TVS_EDITLABELS | TVS_SHOWSELALWAYS | TVS_TRACKSELECT));
        EXPECT_TRUE(::IsWindowVisible(::GetDlgItem(picker, IDC_BROWSE_LEGEND)));
        EXPECT_FALSE(::IsWindowVisible(::GetDlgItem(picker, IDC_BROWSE_NEW_FOLDER)));
        wchar_t caption[100] = {};
        ::InternalGetWindowText(picker, caption, 100);
        EXPECT_STREQ(caption, L"Choose a Folder");
        EXPECT_TRUE(::SendMessageW(picker, WM_GETICON, ICON_BIG, 0)) << "icon 128 of the resource library";
        // The tree's selection is the process's current directory while the picker runs.
        tree->Select(wanted);
        EXPECT_EQ(CurrentDirectory(), wanted);
        Click(picker, IDC_BROWSE_OK);
        return true;
      }},
      [&] { result = dlg.DoModal(nullptr); });
  EXPECT_EQ(result, 1);
  EXPECT_EQ(dlg.ChosenFolder(), wanted);
  EXPECT_EQ(CurrentDirectory(), startDirectory) << "the program's current directory comes back";
  EXPECT_EQ(rebuilds, 0) << "nothing was created or renamed";
}

TEST_F(FolderPicker, TitlePromptAndSwitchesShapeTheDialog) {
  COrvBrowseFolderDialog dlg(scratch.File(L"Beta"));
  dlg.title = L"Where to copy the fonts";
  dlg.prompt = L"Choose the folder that receives the copies of the selected fonts. The folder must exist or be "
               L"created here with the new-folder button below the tree.";
  dlg.allowEditing = true;
  dlg.markFontFolders = false;
  INT_PTR result = 0;
  StepPlayer::Run({[&] {
                    HWND picker = StepPlayer::FindPicker();
                    if (!picker) return false;
                    wchar_t caption[100] = {};
                    ::InternalGetWindowText(picker, caption, 100);
                    EXPECT_STREQ(caption, dlg.title.c_str());
                    EXPECT_TRUE(::IsWindowVisible(::GetDlgItem(picker, IDC_BROWSE_NEW_FOLDER)));
                    EXPECT_FALSE(::IsWindowVisible(::GetDlgItem(picker, IDC_BROWSE_LEGEND)));
                    CScratchFolderTree* tree = CScratchFolderTree::last;
                    EXPECT_TRUE(tree && tree->allowEditing && !tree->markFontFolders);
                    const RECT prompt = ClientRectOf(picker, IDC_BROWSE_PROMPT);
                    const RECT treeRc = ClientRectOf(picker, IDC_BROWSE_TREE);
                    const RECT ok = ClientRectOf(picker, IDC_BROWSE_OK);
                    EXPECT_GT(prompt.bottom - prompt.top, 20) << "the prompt wraps onto several lines";
                    EXPECT_EQ(treeRc.top, prompt.bottom + 5);
                    EXPECT_EQ(treeRc.left, prompt.left);
                    RECT client{};
                    ::GetClientRect(picker, &client);
                    EXPECT_EQ(client.right - treeRc.right, prompt.left) << "same margin on both sides";
                    EXPECT_EQ(treeRc.bottom, ok.top - 5) << "without the legend the tree reaches the buttons";
                    ::RedrawWindow(picker, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
                    SaveWindowImage(picker, ArtifactsDir() + L"\\folder_picker.bmp");

                    Click(picker, IDC_BROWSE_NEW_FOLDER);
                    EXPECT_EQ(tree ? tree->newFolderCommands : 0, 1) << "the tree makes the new folder";
                    HWND gripper = ::FindWindowExW(picker, nullptr, L"ScrollBar", nullptr);
                    EXPECT_TRUE(gripper && ::IsWindowVisible(gripper));
                    ::ShowWindow(picker, SW_MAXIMIZE);
                    EXPECT_FALSE(::IsWindowVisible(gripper)) << "no gripper while maximised";
                    ::ShowWindow(picker, SW_RESTORE);
                    EXPECT_TRUE(::IsWindowVisible(gripper));
                    // What the tree posts on a double-click confirms the picker.
                    ::PostMessageW(picker, WM_COMMAND, IDC_BROWSE_OK, 0);
                    return true;
                  }},
                  [&] { result = dlg.DoModal(nullptr); });
  EXPECT_EQ(result, 1);
  EXPECT_EQ(dlg.ChosenFolder(), scratch.File(L"Beta"));
}

// With font folders marked, the legend that explains the bold folders stays readable under the
// tree, also when the picker is resized.
TEST_F(FolderPicker, TheTreeEndsAboveTheLegend) {
  COrvBrowseFolderDialog dlg(scratch.File(L"Alpha"));
  dlg.prompt = L"Choose the folder to search.";
  StepPlayer::Run({[&] {
                    HWND picker = StepPlayer::FindPicker();
                    if (!picker) return false;
                    for (const bool maximised : {false, true}) {
                      SCOPED_TRACE(maximised ? "maximised" : "as opened");
                      if (maximised) ::ShowWindow(picker, SW_MAXIMIZE);
                      const RECT treeRc = ClientRectOf(picker, IDC_BROWSE_TREE);
                      const RECT legend = ClientRectOf(picker, IDC_BROWSE_LEGEND);
                      EXPECT_TRUE(::IsWindowVisible(::GetDlgItem(picker, IDC_BROWSE_LEGEND)));
                      EXPECT_EQ(treeRc.bottom, legend.top - 5) << "the tree stops above the legend";
                      EXPECT_GT(treeRc.bottom - treeRc.top, 100);
                    }
                    ::ShowWindow(picker, SW_RESTORE);
                    ::RedrawWindow(picker, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
                    SaveWindowImage(picker, ArtifactsDir() + L"\\folder_picker_legend.bmp");
                    Click(picker, IDCANCEL);
                    return true;
                  }},
                  [&] { dlg.DoModal(nullptr); });
}

// How the font file commands ask for their target folder: a picker with the command's title
// where folders may be made, starting at the given folder.
TEST_F(FolderPicker, TargetFolderPromptTitlesThePickerAndAllowsNewFolders) {
  std::wstring folder = scratch.File(L"Alpha");
  bool chosen = false;
  StepPlayer::Run({[&] {
                    HWND picker = StepPlayer::FindPicker();
                    if (!picker) return false;
                    wchar_t caption[100] = {};
                    ::InternalGetWindowText(picker, caption, 100);
                    EXPECT_STREQ(caption, L"Copy fonts");
                    CScratchFolderTree* tree = CScratchFolderTree::last;
                    std::wstring selected;
                    EXPECT_TRUE(tree && tree->allowEditing && tree->GetSelectedPath(selected));
                    EXPECT_EQ(selected, scratch.File(L"Alpha"));
                    if (tree) tree->Select(scratch.File(L"Gamma"));
                    Click(picker, IDC_BROWSE_OK);
                    return true;
                  }},
                  [&] { chosen = COrvBrowseFolderDialog::AskForTargetFolder(L"Copy fonts", folder); });
  EXPECT_TRUE(chosen);
  EXPECT_EQ(folder, scratch.File(L"Gamma"));
}

TEST_F(FolderPicker, EnterCommitsANameEditWhileOkAndCancelOnlyAbandonIt) {
  COrvBrowseFolderDialog dlg(scratch.File(L"Alpha"));
  dlg.allowEditing = true;
  INT_PTR result = 0;
  HTREEITEM item = nullptr;
  StepPlayer::Run(
      {[&] {
         HWND picker = StepPlayer::FindPicker();
         if (!picker) return false;
         CScratchFolderTree* tree = CScratchFolderTree::last;
         item = tree->ItemOf(scratch.File(L"Alpha"));
         HWND edit = reinterpret_cast<HWND>(tree->SendMessage(TVM_EDITLABELW, 0, reinterpret_cast<LPARAM>(item)));
         EXPECT_TRUE(edit);
         ::SetWindowTextW(edit, L"Renamed");
         ::SendMessageW(picker, WM_COMMAND, IDOK, 0);  // Enter
         EXPECT_TRUE(::IsWindowVisible(picker)) << "Enter never closes the picker";
         EXPECT_FALSE(tree->SendMessage(TVM_GETEDITCONTROL)) << "the edit ended";
         EXPECT_EQ(tree->TextOf(item), L"Renamed") << "and the name was kept";
         EXPECT_TRUE(tree->FoldersChanged());
         EXPECT_EQ(tree->renames, 1) << "the tree hears of the new name once";
         return true;
       },
       [&] {
         HWND picker = StepPlayer::FindPicker();
         CScratchFolderTree* tree = CScratchFolderTree::last;
         for (int id : {IDC_BROWSE_OK, IDCANCEL}) {
           HWND edit = reinterpret_cast<HWND>(tree->SendMessage(TVM_EDITLABELW, 0, reinterpret_cast<LPARAM>(item)));
           ::SetWindowTextW(edit, L"Dropped");
           Click(picker, id);
           EXPECT_TRUE(::IsWindowVisible(picker)) << id << " only abandons the edit";
           EXPECT_FALSE(tree->SendMessage(TVM_GETEDITCONTROL));
           EXPECT_EQ(tree->TextOf(item), L"Renamed");
           EXPECT_EQ(tree->renames, 1);
         }
         ::SendMessageW(picker, WM_COMMAND, IDOK, 0);
         EXPECT_TRUE(::IsWindowVisible(picker)) << "Enter without an edit does nothing";
         Click(picker, IDC_BROWSE_OK);
         return true;
       }},
      [&] { result = dlg.DoModal(nullptr); });
  EXPECT_EQ(result, 1);
  EXPECT_EQ(rebuilds, 1) << "a renamed folder rebuilds the main window's tree";
}

TEST_F(FolderPicker, ASecondPickerOpensWhereTheFirstClosedWithTheSameSize) {
  RECT closedAt{};
  {
    COrvBrowseFolderDialog first(scratch.File(L"Alpha"));
    StepPlayer::Run(
        {[&] {
          HWND picker = StepPlayer::FindPicker();
          if (!picker) return false;
          RECT rc{};
          ::GetWindowRect(picker, &rc);
          MINMAXINFO mmi{};
          ::SendMessageW(picker, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&mmi));
          EXPECT_EQ(mmi.ptMinTrackSize.x, rc.right - rc.left) << "it never gets smaller than it opened";
          EXPECT_EQ(mmi.ptMinTrackSize.y, rc.bottom - rc.top);
          const RECT tree0 = ClientRectOf(picker, IDC_BROWSE_TREE), ok0 = ClientRectOf(picker, IDC_BROWSE_OK);
          const RECT fresh0 = ClientRectOf(picker, IDC_BROWSE_NEW_FOLDER);
          ::SetWindowPos(picker, nullptr, 40, 30, rc.right - rc.left + 120, rc.bottom - rc.top + 80, SWP_NOZORDER);
          const RECT tree1 = ClientRectOf(picker, IDC_BROWSE_TREE), ok1 = ClientRectOf(picker, IDC_BROWSE_OK);
          const RECT fresh1 = ClientRectOf(picker, IDC_BROWSE_NEW_FOLDER);
          EXPECT_EQ(tree1.right - tree0.right, 120) << "the tree stretches";
          EXPECT_EQ(tree1.bottom - tree0.bottom, 80);
          EXPECT_EQ(ok1.left - ok0.left, 120) << "OK follows the bottom right corner";
          EXPECT_EQ(ok1.top - ok0.top, 80);
          EXPECT_EQ(fresh1.left, fresh0.left) << "the new-folder button keeps to the left";
          EXPECT_EQ(fresh1.top - fresh0.top, 80);
          ::GetWindowRect(picker, &closedAt);
          ::SendMessageW(picker, WM_COMMAND, IDCANCEL, 0);  // Esc
          return true;
        }},
        [&] { EXPECT_EQ(first.DoModal(nullptr), IDCANCEL); });
  }
  EXPECT_TRUE(::EqualRect(&COrvBrowseFolderDialog::LastWindowRect(), &closedAt)) << "kept even on Cancel";
  COrvBrowseFolderDialog second(scratch.File(L"Gamma"));
  RECT openedAt{};
  StepPlayer::Run({[&] {
                    HWND picker = StepPlayer::FindPicker();
                    if (!picker) return false;
                    ::GetWindowRect(picker, &openedAt);
                    Click(picker, IDC_BROWSE_OK);
                    return true;
                  }},
                  [&] { second.DoModal(nullptr); });
  EXPECT_TRUE(::EqualRect(&openedAt, &closedAt));
}

TEST_F(FolderPicker, AMissingStartFolderOpensOnTheFontCaseAndNoSelectionGivesNoFolder) {
  g_Preferences.FontCaseRoot = scratch.File(L"Gamma");
  COrvBrowseFolderDialog dlg(scratch.File(L"Missing"));
  StepPlayer::Run({[&] {
                    HWND picker = StepPlayer::FindPicker();
                    if (!picker) return false;
                    std::wstring selected;
                    CScratchFolderTree::last->GetSelectedPath(selected);
                    EXPECT_EQ(selected, scratch.File(L"Gamma"));
                    Click(picker, IDC_BROWSE_OK);
                    return true;
                  }},
                  [&] { dlg.DoModal(nullptr); });
  EXPECT_EQ(dlg.ChosenFolder(), scratch.File(L"Gamma"));

  COrvBrowseFolderDialog::SetTreeHooks({});
  COrvBrowseFolderDialog bare(scratch.File(L"Alpha"));
  INT_PTR result = 0;
  StepPlayer::Run({[&] {
                    HWND picker = StepPlayer::FindPicker();
                    if (!picker) return false;
                    Click(picker, IDC_BROWSE_OK);
                    return true;
                  }},
                  [&] { result = bare.DoModal(nullptr); });
  EXPECT_EQ(result, 1);
  EXPECT_TRUE(bare.ChosenFolder().empty());
}

TEST_F(FolderPicker, TheFontCaseBrowseButtonOpensThePickerAtTheEditsFolder) {
  const std::wstring typed = scratch.File(L"Beta"), wanted = scratch.File(L"Gamma");
  CCreateFontCaseDlg caseDlg;
  std::wstring pickerStart, editAfter;
  auto findCaseDlg = [] {
    HWND wnd = nullptr;
    while ((wnd = ::FindWindowExW(nullptr, wnd, L"#32770", nullptr)))
      if (::GetDlgItem(wnd, IDC_FONT_CASE_FOLDER)) return wnd;
    return HWND{};
  };
  StepPlayer::Run(
      {[&] {
         HWND wnd = findCaseDlg();
         if (!wnd) return false;
         ::SetDlgItemTextW(wnd, IDC_FONT_CASE_FOLDER, typed.c_str());
         Click(wnd, IDC_FONT_CASE_BROWSE);  // runs the picker until a later step closes it
         wchar_t text[MAX_PATH] = {};
         ::GetDlgItemTextW(wnd, IDC_FONT_CASE_FOLDER, text, MAX_PATH);
         editAfter = text;
         return true;
       },
       [&] {
         HWND picker = StepPlayer::FindPicker();
         if (!picker) return false;
         CScratchFolderTree::last->GetSelectedPath(pickerStart);
         CScratchFolderTree::last->Select(wanted);
         Click(picker, IDC_BROWSE_OK);
         return true;
       },
       [&] {
         HWND wnd = findCaseDlg();
         ::SendMessageW(wnd, WM_COMMAND, IDOK, 0);
         return true;
       }},
      [&] { caseDlg.DoModal(nullptr); });
  EXPECT_EQ(pickerStart, typed);
  EXPECT_EQ(editAfter, wanted);
  EXPECT_EQ(caseDlg.Folder(), wanted);
}

// The drive combo in a plain top-level window.
class DriveCombo : public FolderPicker {
protected:
  void SetUp() override {
    FolderPicker::SetUp();
    host = ::CreateWindowExW(0, L"STATIC", L"host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 500, 300, nullptr,
                             nullptr, nullptr, nullptr);
  }
  void TearDown() override {
    ::DestroyWindow(host);
    FolderPicker::TearDown();
  }
  HWND Make(CDriveCombo& combo) {
    RECT rc{10, 10, 400, 300};
    return combo.CreateControl(host, rc, 314);
  }
  static std::wstring ItemText(const CDriveCombo& combo, int index, int* image = nullptr) {
    wchar_t text[MAX_PATH] = {};
    COMBOBOXEXITEMW item{};
    item.mask = CBEIF_TEXT | CBEIF_IMAGE;
    item.iItem = index;
    item.pszText = text;
    item.cchTextMax = MAX_PATH;
    combo.SendMessage(CBEM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item));
    if (image) *image = item.iImage;
    return text;
  }
  static int IconOf(const wchar_t* path) {
    SHFILEINFOW info{};
    ::SHGetFileInfoW(path, 0, &info, sizeof(info), SHGFI_SYSICONINDEX | SHGFI_SMALLICON);
    return info.iIcon;
  }
  // Chooses an entry the way the user does: the inner combo's selection changes and says so.
  static void Choose(CDriveCombo& combo, int index) {
    combo.SendMessage(CB_SETCURSEL, index);
    HWND inner = reinterpret_cast<HWND>(combo.SendMessage(CBEM_GETCOMBOCONTROL));
    combo.SendMessage(WM_COMMAND, MAKEWPARAM(::GetDlgCtrlID(inner), CBN_SELCHANGE), reinterpret_cast<LPARAM>(inner));
  }

  HWND host = nullptr;
};

TEST_F(DriveCombo, OwnerFoldersThenAllDrivesEachDriveAndTheBrowseEntry) {
  const std::wstring fontCase = scratch.File(L"Alpha");
  g_Preferences.FavoriteFolders = scratch.File(L"Beta") + L"|" + scratch.File(L"Gamma") + L"|";
  CDriveCombo combo(true);
  ASSERT_TRUE(Make(combo));
  EXPECT_TRUE(combo.AddFolder(fontCase));
  EXPECT_TRUE(combo.AddFolderWithCaption(g_Preferences.FavoriteFolders, IDS_FAVORITE_FOLDERS));
  combo.Populate();

  const auto& entries = combo.Entries();
  ASSERT_GE(entries.size(), 6u);
  EXPECT_EQ(entries[0].label, fontCase) << "the label defaults to the path";
  EXPECT_EQ(entries[1].label, LoadResString(IDS_FAVORITE_FOLDERS));
  EXPECT_EQ(entries[1].path, g_Preferences.FavoriteFolders) << "every favourite, walked as several roots";
  EXPECT_EQ(combo.OwnerEntryCount(), 2);
  EXPECT_EQ(entries[2].label, LoadResString(IDS_ALL_DRIVES));
  EXPECT_NE(entries[2].path.find(L"C:\\|"), std::wstring::npos) << Narrow(entries[2].path);
  EXPECT_NE(entries[2].path.find(L"Z:\\"), std::wstring::npos) << Narrow(entries[2].path);

  // One entry per drive root, in the order of the all-drives path.
  std::wstring joined;
  for (size_t i = 3; i + 1 < entries.size(); ++i) {
    if (!joined.empty()) joined += L'|';
    joined += entries[i].path;
    EXPECT_FALSE(entries[i].label.empty());
  }
  EXPECT_EQ(joined, entries[2].path);
  EXPECT_EQ(entries.back().path, L"*");
  EXPECT_EQ(entries.back().label, LoadResString(IDS_BROWSE_ENTRY));
  EXPECT_EQ(combo.BrowseEntryIndex(), static_cast<int>(entries.size()) - 1);

  ASSERT_EQ(combo.SendMessage(CB_GETCOUNT), static_cast<LRESULT>(entries.size()));
  for (size_t i = 0; i < entries.size(); ++i) EXPECT_EQ(ItemText(combo, static_cast<int>(i)), entries[i].label);
  int image = -5;
  ItemText(combo, 2, &image);
  EXPECT_EQ(image, IconOf(L"C:\\")) << "the all-drives entry shows the icon of C:";
  ItemText(combo, 1, &image);
  EXPECT_EQ(image, IconOf(scratch.File(L"Beta").c_str())) << "a joined path shows its first folder's icon";
  EXPECT_TRUE(combo.SendMessage(CBEM_GETIMAGELIST)) << "the shell's small icons";

  EXPECT_EQ(combo.SendMessage(CB_GETCURSEL), 0);
  EXPECT_EQ(combo.RememberedSelection(), 0);
  HWND inner = reinterpret_cast<HWND>(combo.SendMessage(CBEM_GETCOMBOCONTROL));
  EXPECT_GT(::SendMessageW(inner, CB_GETDROPPEDWIDTH, 0, 0), 20);

  // Choosing an ordinary entry only remembers it.
  Choose(combo, 3);
  EXPECT_EQ(combo.RememberedSelection(), 3);
  EXPECT_EQ(combo.SendMessage(CB_GETCURSEL), 3);
  EXPECT_EQ(CScratchFolderTree::made, 0) << "no picker opened";

  // What the walks take as their roots: the selected entry's path; the browse entry or no
  // selection leave the previous roots.
  const struct {
    int selected;
    std::wstring path;
  } roots[] = {{1, g_Preferences.FavoriteFolders}, {2, entries[2].path}, {combo.BrowseEntryIndex(), L"before"},
               {-1, L"before"}};
  for (const auto& r : roots) {
    SCOPED_TRACE(r.selected);
    combo.SendMessage(CB_SETCURSEL, static_cast<WPARAM>(r.selected));
    std::wstring path = L"before";
    EXPECT_EQ(GetComboSelectedText(combo, path), r.path != L"before");
    EXPECT_EQ(path, r.path);
  }
}

TEST_F(DriveCombo, AddFolderRefusesAnEmptyPathOrCaption) {
  CDriveCombo combo;
  EXPECT_FALSE(combo.AddFolder(L""));
  EXPECT_FALSE(combo.AddFolder(L"", L"label"));
  EXPECT_FALSE(combo.AddFolderWithCaption(L"C:\\", 0));
  EXPECT_FALSE(combo.AddFolderWithCaption(L"", IDS_FAVORITE_FOLDERS));
  EXPECT_TRUE(combo.AddFolder(L"C:\\windows", L"Windows"));
  ASSERT_EQ(combo.Entries().size(), 1u);
  EXPECT_EQ(combo.Entries()[0].label, L"Windows");
  combo.AddDrives();
  EXPECT_EQ(combo.OwnerEntryCount(), 1);
  EXPECT_EQ(combo.BrowseEntryIndex(), -1) << "no browse entry unless asked for";
  EXPECT_NE(combo.Entries().back().path, L"*");
}

TEST_F(DriveCombo, TheBrowseEntryAddsTheChosenFolderOrLeavesThePreviousEntry) {
  const std::wstring first = scratch.File(L"Alpha"), chosen = scratch.File(L"Beta\\Inner");
  CDriveCombo combo(true);
  ASSERT_TRUE(Make(combo));
  combo.AddFolder(first);
  combo.Populate();
  const int browse = combo.BrowseEntryIndex();
  const size_t before = combo.Entries().size();

  // Cancelled: the previous entry stays selected, nothing is added.
  std::wstring startedAt;
  StepPlayer::Run({[&] {
                    HWND picker = StepPlayer::FindPicker();
                    if (!picker) return false;
                    CScratchFolderTree::last->GetSelectedPath(startedAt);
                    Click(picker, IDCANCEL);
                    return true;
                  }},
                  [&] { Choose(combo, browse); });
  EXPECT_EQ(startedAt, first) << "the picker starts at the edit's folder";
  EXPECT_EQ(combo.SendMessage(CB_GETCURSEL), 0);
  EXPECT_EQ(combo.Entries().size(), before);

  // Confirmed with a folder: a new last entry, selected and remembered.
  StepPlayer::Run({[&] {
                    HWND picker = StepPlayer::FindPicker();
                    if (!picker) return false;
                    CScratchFolderTree::last->Select(chosen);
                    Click(picker, IDC_BROWSE_OK);
                    return true;
                  }},
                  [&] { Choose(combo, browse); });
  ASSERT_EQ(combo.Entries().size(), before + 1);
  EXPECT_EQ(combo.Entries().back().path, chosen);
  EXPECT_EQ(combo.Entries().back().label, chosen);
  const int added = static_cast<int>(before);
  EXPECT_EQ(combo.SendMessage(CB_GETCOUNT), added + 1);
  EXPECT_EQ(ItemText(combo, added), chosen);
  EXPECT_EQ(combo.SendMessage(CB_GETCURSEL), added);
  EXPECT_EQ(combo.RememberedSelection(), added);
  EXPECT_TRUE(Beeps().empty());

  // Confirmed with nothing selected in the tree: a beep, the selection stays.
  g_Preferences.FontCaseRoot.clear();
  combo.SelectEntry(combo.OwnerEntryCount());  // all drives: the picker starts at C:\\, outside the tree
  StepPlayer::Run({[&] {
                    HWND picker = StepPlayer::FindPicker();
                    if (!picker) return false;
                    HWND tree = ::GetDlgItem(picker, IDC_BROWSE_TREE);
                    ::SendMessageW(tree, TVM_SELECTITEM, TVGN_CARET, 0);
                    Click(picker, IDC_BROWSE_OK);
                    return true;
                  }},
                  [&] { Choose(combo, browse); });
  EXPECT_EQ(Beeps().size(), 1u);
  EXPECT_EQ(combo.Entries().size(), before + 1);
  EXPECT_EQ(combo.SendMessage(CB_GETCURSEL), combo.OwnerEntryCount());
}

}  // namespace
