// The sample pane inside the real main window: rows selected in the folder fonts list are drawn
// in the pane (a picture of each is kept), the size control, the style overrides and the font
// commands that the pane passes to the main window.
#include <windows.h>
#include <commctrl.h>

#include <memory>
#include <string>
#include <tuple>

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
    ::RegCreateKeyExW(HKEY_CURRENT_USER, kPrefsKeyPath, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, prefs_.Receive(),
                      nullptr);
    for (const wchar_t* name : {L"DejaVuSans.ttf", L"DejaVuSans-Bold.ttf", L"DejaVuSerif.ttf"})
      ASSERT_TRUE(::CopyFileW((kDejaVu + name).c_str(), scratch_.File(name).c_str(), FALSE));
    ASSERT_TRUE(::CopyFileW(L"Z:\\usr\\share\\fonts\\opentype\\cantarell\\Cantarell-Bold.otf",
                            scratch_.File(L"Cantarell-Bold.otf").c_str(), FALSE));
    wchar_t cwd[MAX_PATH] = {};
    ::GetCurrentDirectoryW(MAX_PATH, cwd);
    cwd_ = cwd;
    savedFontCase_ = g_Preferences.FontCaseRoot;
    g_Preferences.FontCaseRoot = LongPath(scratch_.Path());
    ResetRecords();
    // The main window with the scratch folder's four fonts listed.
    frame_ = std::make_unique<CMainFrame>();
    ASSERT_TRUE(frame_->CreateMainWindow());
    frame_->ShowWindow(SW_SHOWNORMAL);
    for (int i = 0; i < 8 && List().CountRecords() != 4; ++i) frame_->RunIdleJob();
    ASSERT_EQ(List().CountRecords(), 4);
    Idle();
  }
  void TearDown() override {
    if (frame_ && frame_->IsWindow()) frame_->DestroyWindow();
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
    g_Preferences.FontCaseRoot = savedFontCase_;
    g_AppState.FolderFonts.m_folder.clear();
    ::SetCurrentDirectoryW(cwd_.c_str());  // the folder tree made the scratch folder current
    prefs_.Reset();
    ::RegDeleteTreeW(HKEY_CURRENT_USER, kAppKeyPath);
  }

  static CLVFolderFonts& List() { return g_AppState.FolderFonts; }
  CSamplePaneContainer& Pane() { return frame_->Panes().m_samplePane; }
  LRESULT Bar(UINT msg, WPARAM wp, LPARAM lp = 0) { return ::SendMessageW(Pane().m_hWndToolBar, msg, wp, lp); }
  void Command(int id) { Pane().SendMessage(WM_COMMAND, id, reinterpret_cast<LPARAM>(Pane().m_hWndToolBar)); }
  void Idle() {
    PumpMessages(30);
    frame_->RunIdleJob();
    PumpMessages(30);
  }
  // Selects the row of this full name (any row when empty); none: the selection is emptied.
  void Select(const std::wstring& fullName) {
    List().SelectAll(false);
    for (int row = 0; row < List().CountRecords() && fullName != L"-"; ++row) {
      FontItem* record = List().GetRecordAt(row);
      ReadFontDetails(List().m_folder, *record);
      if (!fullName.empty() && record->FullName() != fullName) continue;
      LVITEMW item{};
      item.stateMask = item.state = LVIS_SELECTED | LVIS_FOCUSED;
      ::SendMessageW(List().m_hWnd, LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&item));
      break;
    }
    Idle();
  }
  // A click on a check button: the toolbar flips it, then sends its command.
  void ClickCheck(int command) {
    Bar(TB_CHECKBUTTON, command, MAKELPARAM(Bar(TB_ISBUTTONCHECKED, command) ? FALSE : TRUE, 0));
    Command(command);
  }
  int Image(int command) {
    TBBUTTONINFOW info{sizeof(info)};
    info.dwMask = TBIF_IMAGE;
    Bar(TB_GETBUTTONINFOW, command, reinterpret_cast<LPARAM>(&info));
    return info.iImage;
  }
  // The lParam of the command the pane posted to the main window, or -1.
  LPARAM Posted(int command) {
    MSG msg{};
    LPARAM found = -1;
    while (::PeekMessageW(&msg, frame_->m_hWnd, WM_COMMAND, WM_COMMAND, PM_REMOVE))
      if (LOWORD(msg.wParam) == command) found = msg.lParam;
    return found;
  }

  orv::ScopedKey prefs_;
  ScratchDir scratch_;
  std::wstring cwd_, savedFontCase_;
  std::unique_ptr<CMainFrame> frame_;
};

TEST_F(SamplePane, EachSelectedRowIsDrawnAndItsCommandsGoToTheMainWindow) {
  EXPECT_EQ(Pane().CaptionText(), L"[16 points] ");
  bool serifSeen = false;
  for (int row = 0; row < 4; ++row) {
    List().SelectAll(false);
    LVITEMW item{};
    item.stateMask = item.state = LVIS_SELECTED | LVIS_FOCUSED;
    ::SendMessageW(List().m_hWnd, LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&item));
    Idle();
    const FontItem& record = *List().GetRecordAt(row);
    const std::wstring name = record.FullName();
    SCOPED_TRACE(Narrow(name));
    EXPECT_EQ(Pane().Sample().Item().FullName(), name);
    // The caption names the row as the list does.
    EXPECT_EQ(Pane().CaptionText(), L"[16 points] " + record.displayName);
    if (name == L"DejaVu Serif") {
      serifSeen = true;
      EXPECT_EQ(Pane().CaptionText(), L"[16 points] DejaVu Serif Book") << "the style, not the full name";
    }
    EXPECT_TRUE(Bar(TB_ISBUTTONHIDDEN, ID_SAMPLE_EUDC_EDITOR)) << "not an EUDC font";
    EXPECT_TRUE(SaveWindowImage(frame_->m_hWnd, ArtifactsDir() + L"\\app_sample_pane_" + std::to_wstring(row) + L".bmp"));
  }
  EXPECT_TRUE(serifSeen);
  Posted(0);
  Command(ID_FONTS_PROPERTIES);
  EXPECT_EQ(Posted(ID_FONTS_PROPERTIES), reinterpret_cast<LPARAM>(static_cast<COrvelListView*>(&List())));
  for (int command : {ID_FONTS_CHARMAP, ID_FONTS_SHEET}) {
    EXPECT_TRUE(Bar(TB_ISBUTTONENABLED, command));
    Command(command);
    EXPECT_EQ(Posted(command), 0) << "0: the sample's source list";
  }
  // Wine has no EUDC editor: the start fails without a word and without a box.
  Command(ID_SAMPLE_EUDC_EDITOR);
  EXPECT_TRUE(Boxes().empty());

  // Nothing selected: nothing shown, the font commands off and not passed on.
  Select(L"-");
  EXPECT_FALSE(Pane().Sample().HasFont());
  EXPECT_EQ(Pane().Sample().SourceList(), nullptr);
  for (int command : {ID_FONTS_PROPERTIES, ID_FONTS_CHARMAP, ID_FONTS_SHEET}) {
    EXPECT_FALSE(Bar(TB_ISBUTTONENABLED, command));
    Command(command);
    EXPECT_EQ(Posted(command), -1) << command;
  }
  ClickCheck(ID_SAMPLE_UNDERLINE);
  EXPECT_FALSE(Bar(TB_ISBUTTONCHECKED, ID_SAMPLE_UNDERLINE)) << "without a font a style click only unchecks";
}

TEST_F(SamplePane, SizeStaysInItsRangeAndStylesCannotTakeAFacesOwn) {
  Select(L"DejaVu Sans Bold");
  ASSERT_EQ(Pane().Sample().Item().FullName(), L"DejaVu Sans Bold");
  NMUPDOWN step{{frame_->Panes().m_sampleUpDown, IDC_SAMPLE_SIZE_UPDOWN, UDN_DELTAPOS}, 0, -1};
  Pane().SendMessage(WM_NOTIFY, IDC_SAMPLE_SIZE_UPDOWN, reinterpret_cast<LPARAM>(&step));  // the up arrow
  EXPECT_EQ(::SendMessageW(frame_->Panes().m_sampleUpDown, UDM_GETPOS32, 0, 0), 17);
  EXPECT_EQ(Pane().CaptionText(), L"[17 points] DejaVu Sans Bold");
  DWORD stored = 0;
  EXPECT_TRUE(ReadRegDword(prefs_.Get(), L"SampleFontSize", stored) && stored == 17);
  for (const auto& [from, delta, to] : {std::tuple{72, -1, 72}, std::tuple{71, -1, 72}, std::tuple{4, 1, 4}}) {
    Pane().Sample().SetSampleSize(from);
    step.iDelta = delta;
    Pane().SendMessage(WM_NOTIFY, IDC_SAMPLE_SIZE_UPDOWN, reinterpret_cast<LPARAM>(&step));
    EXPECT_EQ(Pane().Sample().SampleSize(), to) << from << " " << delta;
  }

  EXPECT_TRUE(Bar(TB_ISBUTTONCHECKED, ID_SAMPLE_BOLD)) << "the face is bold by itself";
  EXPECT_EQ(Image(ID_SAMPLE_BOLD), 8);
  ClickCheck(ID_SAMPLE_BOLD);
  EXPECT_TRUE(Bar(TB_ISBUTTONCHECKED, ID_SAMPLE_BOLD)) << "and stays bold";
  Select(L"DejaVu Sans");
  EXPECT_EQ(Image(ID_SAMPLE_BOLD), 4);
  ClickCheck(ID_SAMPLE_ITALIC);
  EXPECT_TRUE(Pane().Sample().Item().HasFlag(font_flags::kItalic));
  EXPECT_EQ(Image(ID_SAMPLE_ITALIC), 9);
  ClickCheck(ID_SAMPLE_ITALIC);
  EXPECT_FALSE(Bar(TB_ISBUTTONCHECKED, ID_SAMPLE_ITALIC)) << "an override the user set can be taken back";
  EXPECT_FALSE(Pane().Sample().Item().HasFlag(font_flags::kItalic));
}

TEST_F(SamplePane, TheChooserDropsTheSampleListAndAChoiceBecomesTheListsText) {
  Select(L"");
  CSampleWindow& sample = Pane().Sample();
  HWND list = sample.SampleListBox();
  EXPECT_EQ(sample.ActiveTitle(), L"Paragraph") << "with nothing stored, the last sample";
  Command(ID_SAMPLE_CHOOSER);
  ASSERT_TRUE(::IsWindowVisible(list));
  PumpMessages(50);
  EXPECT_TRUE(SaveWindowImage(frame_->m_hWnd, ArtifactsDir() + L"\\app_sample_list.bmp"));
  ::SendMessageW(list, LB_SETCURSEL, 0, 0);
  sample.SendMessage(WM_COMMAND, MAKEWPARAM(CSampleWindow::kListBoxId, LBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
  EXPECT_FALSE(::IsWindowVisible(list));
  EXPECT_EQ(sample.ActiveTitle(), L"Alphabet");
  EXPECT_EQ(g_Preferences.SampleText, sample.ActiveText());
  // The drop-down arrow shows and hides the list as well.
  NMTOOLBARW arrow{{Pane().m_hWndToolBar, 0, static_cast<UINT>(TBN_DROPDOWN)}, ID_SAMPLE_CHOOSER};
  for (const bool shown : {true, false}) {
    Pane().SendMessage(WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&arrow));
    EXPECT_EQ(::IsWindowVisible(list) != FALSE, shown);
  }
}

}  // namespace
