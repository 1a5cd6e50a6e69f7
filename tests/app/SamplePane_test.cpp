// The sample pane inside the real main window: rows selected in the folder fonts list are drawn
// in the pane (a picture of each is kept), the size control, the style overrides and the font
// commands that the pane passes to the main window.
#include <windows.h>
#include <commctrl.h>

#include <memory>
#include <string>

#include <gtest/gtest.h>

#include "app/AppState.h"
#include "app/CMainFrame.h"
#include "app/Preferences.h"
#include "common/RegistryValue.h"
#include "tests/support/TestSupport.h"

using namespace testing_support;

namespace {

const std::wstring kDejaVu = L"Z:\\usr\\share\\fonts\\truetype\\dejavu\\";

class SamplePane : public ::testing::Test {
protected:
  void SetUp() override {
    ::RegDeleteTreeW(HKEY_CURRENT_USER, kAppKeyPath);
    HKEY key = nullptr;
    ::RegCreateKeyExW(HKEY_CURRENT_USER, kPrefsKeyPath, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr);
    ::RegCloseKey(key);
    for (const wchar_t* name : {L"DejaVuSans.ttf", L"DejaVuSans-Bold.ttf", L"DejaVuSerif.ttf"})
      ASSERT_TRUE(::CopyFileW((kDejaVu + name).c_str(), scratch_.File(name).c_str(), FALSE));
    ASSERT_TRUE(::CopyFileW(L"Z:\\usr\\share\\fonts\\opentype\\cantarell\\Cantarell-Bold.otf",
                            scratch_.File(L"Cantarell-Bold.otf").c_str(), FALSE));
    wchar_t cwd[MAX_PATH] = {};
    ::GetCurrentDirectoryW(MAX_PATH, cwd);
    cwd_ = cwd;
    savedFontCase_ = g_Preferences.FontCaseRoot;
    g_Preferences.FontCaseRoot = LongPath(scratch_.Path());
    saved_ = {g_AppState.ShowInfoBlock, g_AppState.MarkMissingGlyphs};
    ResetRecords();
  }
  void TearDown() override {
    if (frame_ && frame_->IsWindow()) frame_->DestroyWindow();
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
    g_Preferences.FontCaseRoot = savedFontCase_;
    g_AppState.FolderFonts.m_folder.clear();
    g_AppState.ShowInfoBlock = saved_.first;
    g_AppState.MarkMissingGlyphs = saved_.second;
    ::SetCurrentDirectoryW(cwd_.c_str());
    ::RegDeleteTreeW(HKEY_CURRENT_USER, kAppKeyPath);
  }

  // The main window with the scratch folder's four fonts listed.
  CMainFrame& Open() {
    frame_ = std::make_unique<CMainFrame>();
    EXPECT_TRUE(frame_->CreateMainWindow());
    frame_->ShowWindow(SW_SHOWNORMAL);
    frame_->UpdateWindow();
    for (int i = 0; i < 8 && List().CountRecords() != 4; ++i) frame_->RunIdleJob();
    EXPECT_EQ(List().CountRecords(), 4);
    Idle();
    return *frame_;
  }
  static CLVFolderFonts& List() { return g_AppState.FolderFonts; }
  CSamplePaneContainer& Pane() { return frame_->Panes().m_samplePane; }
  HWND Toolbar() { return Pane().m_hWndToolBar; }
  void Idle() {
    PumpMessages(30);
    frame_->RunIdleJob();
    PumpMessages(30);
  }
  void SelectRow(int row) {
    List().SelectAll(false);
    LVITEMW item{};
    item.stateMask = item.state = LVIS_SELECTED | LVIS_FOCUSED;
    ::SendMessageW(List().m_hWnd, LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&item));
    Idle();
  }
  static int RowOf(const std::wstring& fullName) {
    for (int row = 0; row < List().CountRecords(); ++row) {
      FontItem* record = List().GetRecordAt(row);
      if (!record) continue;
      ReadFontDetails(List().m_folder, *record);
      if (record->FullName() == fullName) return row;
    }
    return -1;
  }
  bool Enabled(int command) { return ::SendMessageW(Toolbar(), TB_ISBUTTONENABLED, command, 0) != 0; }
  bool Checked(int command) { return ::SendMessageW(Toolbar(), TB_ISBUTTONCHECKED, command, 0) != 0; }
  int Image(int command) {
    TBBUTTONINFOW info{sizeof(info)};
    info.dwMask = TBIF_IMAGE;
    ::SendMessageW(Toolbar(), TB_GETBUTTONINFOW, command, reinterpret_cast<LPARAM>(&info));
    return info.iImage;
  }
  // A click on a check button: the toolbar flips it, then sends its command.
  void ClickCheck(int command) {
    ::SendMessageW(Toolbar(), TB_CHECKBUTTON, command, MAKELPARAM(Checked(command) ? FALSE : TRUE, 0));
    Pane().SendMessage(WM_COMMAND, command, reinterpret_cast<LPARAM>(Toolbar()));
  }
  void SizeStep(int delta) {
    NMUPDOWN change{};
    change.hdr.hwndFrom = frame_->Panes().m_sampleUpDown;
    change.hdr.idFrom = IDC_SAMPLE_SIZE_UPDOWN;
    change.hdr.code = UDN_DELTAPOS;
    change.iDelta = delta;
    Pane().SendMessage(WM_NOTIFY, IDC_SAMPLE_SIZE_UPDOWN, reinterpret_cast<LPARAM>(&change));
  }
  // The command the pane posted to the main window, if any: its lParam, or -1.
  LPARAM PostedCommand(int command) {
    MSG msg{};
    LPARAM found = -1;
    while (::PeekMessageW(&msg, frame_->m_hWnd, WM_COMMAND, WM_COMMAND, PM_REMOVE))
      if (LOWORD(msg.wParam) == command) found = msg.lParam;
    return found;
  }

  ScratchDir scratch_;
  std::wstring cwd_, savedFontCase_;
  std::pair<bool, bool> saved_;
  std::unique_ptr<CMainFrame> frame_;
};

TEST_F(SamplePane, EachSelectedRowIsDrawnInThePane) {
  g_AppState.ShowInfoBlock = true;
  CMainFrame& f = Open();
  EXPECT_EQ(Pane().CaptionText(), L"[16 points] ");
  EXPECT_FALSE(Enabled(ID_FONTS_PROPERTIES));
  for (int row = 0; row < 4; ++row) {
    SelectRow(row);
    const FontItem* record = List().GetRecordAt(row);
    ASSERT_TRUE(record);
    SCOPED_TRACE(Narrow(record->FullName()));
    EXPECT_EQ(Pane().Sample().Item().FullName(), record->FullName());
    EXPECT_EQ(Pane().Sample().SourceList(), &List());
    EXPECT_EQ(Pane().CaptionText(), L"[16 points] " + record->FullName());
    for (int command : {ID_FONTS_PROPERTIES, ID_FONTS_CHARMAP, ID_FONTS_SHEET}) EXPECT_TRUE(Enabled(command));
    EXPECT_TRUE(::SendMessageW(Toolbar(), TB_ISBUTTONHIDDEN, ID_SAMPLE_EUDC_EDITOR, 0)) << "not an EUDC font";
    RECT rc{};
    f.GetWindowRect(&rc);
    EXPECT_TRUE(SaveScreenArea(rc, ArtifactsDir() + L"\\app_sample_pane_" + std::to_wstring(row) + L".bmp"));
  }
  // Nothing selected: nothing shown, and the font commands are off.
  List().SelectAll(false);
  Idle();
  EXPECT_FALSE(Pane().Sample().HasFont());
  EXPECT_EQ(Pane().Sample().SourceList(), nullptr);
  EXPECT_FALSE(Enabled(ID_FONTS_PROPERTIES));
  EXPECT_FALSE(Enabled(ID_FONTS_SHEET));
}

TEST_F(SamplePane, SizeStaysWithinItsRangeAndIsStored) {
  Open();
  SelectRow(0);
  const std::wstring name = Pane().Sample().Item().FullName();
  SizeStep(-1);  // the up arrow
  EXPECT_EQ(Pane().Sample().SampleSize(), 17);
  EXPECT_EQ(::SendMessageW(frame_->Panes().m_sampleUpDown, UDM_GETPOS32, 0, 0), 17);
  EXPECT_EQ(Pane().CaptionText(), L"[17 points] " + name);
  DWORD stored = 0;
  EXPECT_TRUE(ReadRegDword(OpenRegKey(HKEY_CURRENT_USER, kPrefsKeyPath, KEY_READ).Get(), L"SampleFontSize", stored));
  EXPECT_EQ(stored, 17u);
  struct Case {
    int from, delta, to;
  };
  for (const Case& c : {Case{72, -1, 72}, Case{71, -1, 72}, Case{4, 1, 4}, Case{5, 1, 4}}) {
    Pane().Sample().SetSampleSize(c.from);
    SizeStep(c.delta);
    EXPECT_EQ(Pane().Sample().SampleSize(), c.to) << c.from << " " << c.delta;
  }
}

TEST_F(SamplePane, StyleOverridesCannotTakeAFacesOwnStyle) {
  Open();
  SelectRow(RowOf(L"DejaVu Sans Bold"));
  ASSERT_EQ(Pane().Sample().Item().FullName(), L"DejaVu Sans Bold");
  EXPECT_TRUE(Checked(ID_SAMPLE_BOLD)) << "the face is bold by itself";
  EXPECT_EQ(Image(ID_SAMPLE_BOLD), 8);
  ClickCheck(ID_SAMPLE_BOLD);
  EXPECT_TRUE(Checked(ID_SAMPLE_BOLD)) << "and stays bold";

  SelectRow(RowOf(L"DejaVu Sans"));
  ASSERT_EQ(Pane().Sample().Item().FullName(), L"DejaVu Sans");
  EXPECT_FALSE(Checked(ID_SAMPLE_BOLD));
  EXPECT_EQ(Image(ID_SAMPLE_BOLD), 4);
  ClickCheck(ID_SAMPLE_ITALIC);
  EXPECT_TRUE(Checked(ID_SAMPLE_ITALIC));
  EXPECT_TRUE(Pane().Sample().Item().HasFlag(font_flags::kItalic));
  EXPECT_EQ(Image(ID_SAMPLE_ITALIC), 9);
  ClickCheck(ID_SAMPLE_ITALIC);
  EXPECT_FALSE(Checked(ID_SAMPLE_ITALIC)) << "an override the user set can be taken back";
  EXPECT_FALSE(Pane().Sample().Item().HasFlag(font_flags::kItalic));

  List().SelectAll(false);
  Idle();
  ClickCheck(ID_SAMPLE_UNDERLINE);
  EXPECT_FALSE(Checked(ID_SAMPLE_UNDERLINE)) << "without a font a style click only unchecks";
}

TEST_F(SamplePane, FontCommandsGoToTheMainWindowOnlyWithAFont) {
  Open();
  PostedCommand(0);
  for (int command : {ID_FONTS_PROPERTIES, ID_FONTS_CHARMAP, ID_FONTS_SHEET}) {
    Pane().SendMessage(WM_COMMAND, command, reinterpret_cast<LPARAM>(Toolbar()));
    EXPECT_EQ(PostedCommand(command), -1) << command;
  }
  SelectRow(0);
  Pane().SendMessage(WM_COMMAND, ID_FONTS_PROPERTIES, reinterpret_cast<LPARAM>(Toolbar()));
  EXPECT_EQ(PostedCommand(ID_FONTS_PROPERTIES), reinterpret_cast<LPARAM>(static_cast<COrvelListView*>(&List())));
  for (int command : {ID_FONTS_CHARMAP, ID_FONTS_SHEET}) {
    Pane().SendMessage(WM_COMMAND, command, reinterpret_cast<LPARAM>(Toolbar()));
    EXPECT_EQ(PostedCommand(command), 0) << "the sample's source list";
  }
  // Wine has no EUDC editor: the start fails without a word and without a box.
  Pane().SendMessage(WM_COMMAND, ID_SAMPLE_EUDC_EDITOR, reinterpret_cast<LPARAM>(Toolbar()));
  EXPECT_TRUE(Boxes().empty());
}

TEST_F(SamplePane, TheChooserDropsTheSampleListAndAChoiceBecomesTheListsText) {
  CMainFrame& f = Open();
  SelectRow(0);
  CSampleWindow& sample = Pane().Sample();
  HWND list = sample.SampleListBox();
  EXPECT_EQ(sample.ActiveTitle(), L"Paragraph") << "with nothing stored, the last sample";
  Pane().SendMessage(WM_COMMAND, ID_SAMPLE_CHOOSER, reinterpret_cast<LPARAM>(Toolbar()));
  ASSERT_TRUE(::IsWindowVisible(list));
  PumpMessages(50);
  RECT rc{};
  f.GetWindowRect(&rc);
  EXPECT_TRUE(SaveScreenArea(rc, ArtifactsDir() + L"\\app_sample_list.bmp"));
  ::SendMessageW(list, LB_SETCURSEL, 0, 0);
  sample.SendMessage(WM_COMMAND, MAKEWPARAM(CSampleWindow::kListBoxId, LBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
  EXPECT_FALSE(::IsWindowVisible(list));
  EXPECT_EQ(sample.ActiveTitle(), L"Alphabet");
  EXPECT_EQ(g_Preferences.SampleText, sample.ActiveText());

  // The drop-down arrow shows and hides the list as well.
  NMTOOLBARW arrow{};
  arrow.hdr.hwndFrom = Toolbar();
  arrow.hdr.code = TBN_DROPDOWN;
  arrow.iItem = ID_SAMPLE_CHOOSER;
  ::SendMessageW(Toolbar(), TB_GETRECT, ID_SAMPLE_CHOOSER, reinterpret_cast<LPARAM>(&arrow.rcButton));
  Pane().SendMessage(WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&arrow));
  EXPECT_TRUE(::IsWindowVisible(list));
  Pane().SendMessage(WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&arrow));
  EXPECT_FALSE(::IsWindowVisible(list));
}

}  // namespace
