// The sample editor driven through its own messages while it runs modally, and the sample
// window that runs it.
#include "viewing/CSampleNewDlg.h"

#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include "app/Preferences.h"
#include "common/RegistryValue.h"
#include "tests/support/ModalScript.h"
#include "tests/support/TestSupport.h"
#include "viewing/CSampleWindow.h"

using namespace testing_support;

namespace {

HWND Editor() { return FindDialogWithControl(IDC_SAMPLE_TITLES); }
HWND Titles() { return ::GetDlgItem(Editor(), IDC_SAMPLE_TITLES); }
LRESULT ListCall(UINT msg, WPARAM wp, const void* lp) {
  return ::SendMessageW(Titles(), msg, wp, reinterpret_cast<LPARAM>(lp));
}
void Click(int id) { ::SendMessageW(Editor(), WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0); }
int Selected() { return static_cast<int>(::SendMessageW(Titles(), LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED)); }

std::wstring ItemText(int item) {
  wchar_t text[64] = {};
  LVITEMW lv{};
  lv.pszText = text;
  lv.cchTextMax = 64;
  ListCall(LVM_GETITEMTEXTW, item, &lv);
  return text;
}

int FindItem(const std::wstring& title) {
  for (int i = 0; i < ListCall(LVM_GETITEMCOUNT, 0, nullptr); ++i)
    if (ItemText(i) == title) return i;
  return -1;
}

// The end of a label edit as the list view reports it; whether the title was taken.
bool Rename(int item, std::wstring title) {
  NMLVDISPINFOW info{};
  info.hdr = {Titles(), IDC_SAMPLE_TITLES, LVN_ENDLABELEDITW};
  info.item.iItem = item;
  info.item.pszText = title.data();
  ::SendMessageW(Editor(), WM_NOTIFY, IDC_SAMPLE_TITLES, reinterpret_cast<LPARAM>(&info));
  return ::GetWindowLongPtrW(Editor(), DWLP_MSGRESULT) != 0;
}

std::wstring EditText() {
  wchar_t text[256] = {};
  ::GetDlgItemTextW(Editor(), IDC_SAMPLE_TEXT, text, 256);
  return text;
}

class SampleEditor : public ::testing::Test {
protected:
  void SetUp() override {
    ::RegDeleteTreeW(HKEY_CURRENT_USER, kAppKeyPath);
    ResetRecords();
  }
  void TearDown() override { ::RegDeleteTreeW(HKEY_CURRENT_USER, kAppKeyPath); }
  static void Store(std::initializer_list<std::pair<const wchar_t*, const wchar_t*>> samples) {
    SampleList list;
    for (const auto& [title, text] : samples) list.Append(title, text);
    SaveSamples(list);
  }
  // The stored text of a title ("-" when there is no such sample).
  static std::wstring Stored(const wchar_t* title) {
    SampleList list;
    LoadUserSamples(list);
    return list.FindTitle(title) >= 0 ? list.Text(list.FindTitle(title)) : L"-";
  }
};

TEST_F(SampleEditor, NewSamplesRenamesAndDeletesReachTheStoreOnlyWithOk) {
  Store({{L"Zeta", L"z"}, {L"Alpha", L"a"}});
  CSampleNewDlg editor(16, L"");
  ModalScript::Run({[&] {
               if (!Editor()) return false;
               EXPECT_EQ(Selected(), -1) << "stored samples: nothing selected at the start";
               for (int i = 0; i < 3; ++i) {
                 Click(IDC_SAMPLE_NEW);
                 HWND label = reinterpret_cast<HWND>(ListCall(LVM_GETEDITCONTROL, 0, nullptr));
                 EXPECT_EQ(::SendMessageW(label, EM_GETLIMITTEXT, 0, 0), kSampleTitleMax);
                 ListCall(LVM_CANCELEDITLABEL, 0, nullptr);
               }
               EXPECT_EQ(ItemText(0), L"New Sample (2)") << "new samples come in at the top";
               EXPECT_EQ(EditText(), L"New Sample (2)") << "with their title as text";
               const int first = FindItem(L"New Sample");
               EXPECT_FALSE(Rename(first, L"Alpha"));
               EXPECT_EQ(Beeps().size(), 1u) << "another sample's title beeps";
               EXPECT_FALSE(Rename(first, L"New Sample"));
               EXPECT_FALSE(Rename(first, L"   "));
               EXPECT_EQ(Beeps().size(), 1u) << "its own title and blanks are refused quietly";
               EXPECT_TRUE(Rename(first, L"  Beta "));
               return true;
             },
             [&] {
               // Rebuilt in the samples' order: the two stored ones, then the new ones.
               EXPECT_EQ(ItemText(2), L"Beta");
               EXPECT_EQ(ItemText(4), L"New Sample (2)");
               LVITEMW last{};
               last.stateMask = last.state = LVIS_SELECTED | LVIS_FOCUSED;
               ListCall(LVM_SETITEMSTATE, 4, &last);
               Click(IDC_SAMPLE_DELETE);
               EXPECT_EQ(Selected(), 3) << "the new last sample";
               EXPECT_EQ(EditText(), L"New Sample (1)");
               Click(IDC_SAMPLE_OK);
               return true;
             }},
            [&] { EXPECT_EQ(editor.DoModal(nullptr), IDOK); }, &Editor);
  EXPECT_EQ(Stored(L"Beta"), L"New Sample");
  EXPECT_EQ(Stored(L"New Sample (1)"), L"New Sample (1)");
  EXPECT_EQ(Stored(L"New Sample (2)"), L"-");
  EXPECT_EQ(Stored(L"Zeta"), L"z");

  // Deleting everything and OK empties the store.
  CSampleNewDlg emptied(16, L"Zeta");
  ModalScript::Run({[&] {
               if (!Editor()) return false;
               for (int i = 0; i < 5; ++i) Click(IDC_SAMPLE_DELETE);
               Click(IDC_SAMPLE_OK);
               return true;
             }},
            [&] { emptied.DoModal(nullptr); }, &Editor);
  SampleList shown;
  LoadSamples(shown);
  EXPECT_EQ(shown.Count(), 6) << "no samples left: the built-ins come back";
}

// A rename lists the samples again; the text being edited in another sample must survive it.
TEST_F(SampleEditor, RenameKeepsAnUnsavedTextEdit) {
  Store({{L"One", L"first text"}, {L"Two", L"second text"}});
  CSampleNewDlg editor(16, L"One");
  ModalScript::Run({[&] {
               if (!Editor()) return false;
               EXPECT_EQ(EditText(), L"first text");
               HWND edit = ::GetDlgItem(Editor(), IDC_SAMPLE_TEXT);
               ::SendMessageW(edit, EM_SETSEL, 0, -1);
               ::SendMessageW(edit, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(L"edited, not saved"));
               EXPECT_TRUE(Rename(FindItem(L"Two"), L"Second"));
               return true;
             },
             [&] {
               EXPECT_EQ(EditText(), L"edited, not saved");
               Click(IDC_SAMPLE_OK);
               return true;
             }},
            [&] { editor.DoModal(nullptr); }, &Editor);
  EXPECT_EQ(Stored(L"One"), L"edited, not saved");
  EXPECT_EQ(Stored(L"Second"), L"second text");
}

// The pane's list is sorted, the editor's is in stored order: they meet by title.
TEST_F(SampleEditor, PaneAndEditorPassTheSampleByTitle) {
  // The list box sorts by words (the hyphen does not count); the key by characters.
  Store({{L"ab", L"ab text"}, {L"a-c", L"a-c text"}, {L"b", L"b text"}});
  orv::ScopedKey prefs;
  ::RegCreateKeyExW(HKEY_CURRENT_USER, kPrefsKeyPath, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, prefs.Receive(), nullptr);
  WriteRegString(prefs.Get(), L"ActiveSample", L"a-c");
  HWND host = ::CreateWindowExW(0, L"STATIC", nullptr, WS_POPUP, 0, 0, 400, 300, nullptr, nullptr, nullptr, nullptr);
  CSampleWindow sample;
  ASSERT_TRUE(sample.Create(host));
  const LRESULT paneIndex = ::SendMessageW(sample.SampleListBox(), LB_GETCURSEL, 0, 0);
  ModalScript::Run({[&] {
               if (!Editor()) return false;
               EXPECT_NE(FindItem(L"a-c"), paneIndex) << "the orders differ, or this proves nothing";
               EXPECT_EQ(Selected(), FindItem(L"a-c"));
               LVITEMW ab{};
               ab.stateMask = ab.state = LVIS_SELECTED | LVIS_FOCUSED;
               ListCall(LVM_SETITEMSTATE, FindItem(L"ab"), &ab);
               Click(IDC_SAMPLE_OK);
               return true;
             }},
            [&] { sample.EditSamples(); }, &Editor);
  EXPECT_EQ(sample.ActiveText(), L"ab text");
  wchar_t chosen[16] = {};
  ::SendMessageW(sample.SampleListBox(), LB_GETTEXT, ::SendMessageW(sample.SampleListBox(), LB_GETCURSEL, 0, 0),
                 reinterpret_cast<LPARAM>(chosen));
  EXPECT_STREQ(chosen, L"ab");
  sample.DestroyWindow();
  ::DestroyWindow(host);
}

}  // namespace
