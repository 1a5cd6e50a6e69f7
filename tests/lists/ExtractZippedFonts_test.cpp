// The zipped fonts extraction dialog over the folder fonts list: its default destination, the
// refusal of an empty or relative destination, a failed copy reported, every row copied into a
// folder made for them, and the list's double-click and copy command on a zip folder's fonts.
#include <windows.h>
#include <shlwapi.h>

#include <gtest/gtest.h>

#include "app/AppState.h"
#include "lists/CExtractZippedFontsDlg.h"
#include "lists/CLVFolderFonts.h"
#include "tests/lists/ListTestHost.h"
#include "tests/support/ModalScript.h"
#include "tests/support/TestSupport.h"

using namespace testing_support;

namespace {

const std::wstring kDejaVu = L"Z:\\usr\\share\\fonts\\truetype\\dejavu\\";

TEST(ExtractZippedFonts, DefaultDestinationIsTheZipFileWithoutItsExtensionBesideIt) {
  const struct {
    const wchar_t *item, *zip, *expected;
  } cases[] = {
      {L"D:\\fonts\\pack.zip\\sub", L"D:\\fonts\\pack.zip", L"D:\\fonts\\pack\\sub"},
      {L"D:\\fonts\\pack.zip", L"D:\\fonts\\pack.zip", L"D:\\fonts\\pack"},
      {L"d:\\FONTS\\Pack.ZIP\\a\\b", L"D:\\fonts\\pack.zip", L"D:\\fonts\\pack\\a\\b"},
      {L"D:\\fonts\\pack.zipper", L"D:\\fonts\\pack.zip", L""},
      {L"D:\\other", L"D:\\fonts\\pack.zip", L""},
      {L"D:\\fonts\\pack.zip", L"", L""},
  };
  for (const auto& c : cases) EXPECT_EQ(DefaultExtractDestination(c.item, c.zip), c.expected) << Narrow(c.item);
}

struct ExtractDialog : ::testing::Test {
  void SetUp() override {
    ResetRecords();
    host.Attach(list);
    ASSERT_TRUE(::CopyFileW((kDejaVu + L"DejaVuSans.ttf").c_str(), source.File(L"DejaVuSans.ttf").c_str(), FALSE));
    list.m_folder = source.Path();
    list.m_zipFolder = false;
    ASSERT_EQ(list.Fill(), 1);
    list.m_zipFolder = true;  // shown as the fonts of a zip folder
  }
  void TearDown() override {
    list.m_zipFolder = false;
    ::SetCurrentDirectoryW(BinDir().c_str());
    ResetRecords();
  }
  HWND Dialog() { return FindDialogWithControl(IDC_EXTRACT_DESTINATION); }
  void Type(HWND dialog, const std::wstring& text) { ::SetDlgItemTextW(dialog, IDC_EXTRACT_DESTINATION, text.c_str()); }

  ListTestHost host;
  CLVFolderFonts& list = g_AppState.FolderFonts;
  ScratchDir source, target;
};

TEST_F(ExtractDialog, RefusesWhatIsNoFullPathReportsFailuresAndCopiesIntoANewFolder) {
  CExtractZippedFontsDlg dlg;
  INT_PTR result = 0;
  const std::wstring destination = target.File(L"pack\\deep");
  ModalScript::Run({[&] {
                      HWND d = Dialog();
                      if (!d) return false;
                      wchar_t shown[MAX_PATH] = {};
                      ::GetDlgItemTextW(d, IDC_EXTRACT_DESTINATION, shown, MAX_PATH);
                      EXPECT_STREQ(shown, L"") << "not a zip item of the folder tree";
                      for (const wchar_t* refused : {L"", L"fonts\\out", L"Q:\\nowhere\\out"}) {
                        Type(d, refused);
                        ClickButton(d, IDOK);
                      }
                      EXPECT_TRUE(::IsWindow(d)) << "open for another destination";
                      Type(d, destination + L"\\");
                      ::CheckDlgButton(d, IDC_EXTRACT_SHOW_FOLDER, BST_CHECKED);
                      ClickButton(d, IDOK);
                      return true;
                    }},
                   [&] { result = dlg.DoModal(host.Window()); });
  EXPECT_EQ(result, IDOK);
  ASSERT_EQ(Boxes().size(), 3u);
  for (const RecordedBox& box : Boxes()) EXPECT_EQ(box.caption, L"Extract Fonts");
  EXPECT_NE(Boxes()[1].text.find(L"full path"), std::wstring::npos) << Narrow(Boxes()[1].text);
  EXPECT_NE(Boxes()[2].text.find(L"could not be copied"), std::wstring::npos) << Narrow(Boxes()[2].text);
  // One font and a folder that did not exist: the font goes into the folder, not onto its name.
  EXPECT_TRUE(::PathFileExistsW((destination + L"\\DejaVuSans.ttf").c_str()));
  EXPECT_EQ(dlg.Destination(), destination);
  EXPECT_TRUE(dlg.ShowDestination());
}

// In a zip folder the list's double-click and its copy command open the extraction dialog.
TEST_F(ExtractDialog, TheListsDoubleClickAndCopyOnAZipFolderOpenTheDialog) {
  for (int command = 0; command < 2; ++command) {
    bool opened = false;
    ModalScript::Run({[&] {
                        HWND d = Dialog();
                        if (d) ClickButton(d, IDCANCEL);
                        return opened = d != nullptr;
                      }},
                     [&] {
                       NMITEMACTIVATE activate{};
                       if (command == 0) list.OnItemActivate(&activate);
                       else list.CopySelectionToFolder();
                     });
    EXPECT_TRUE(opened) << command;
  }
}

}  // namespace
