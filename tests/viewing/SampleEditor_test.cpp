// The sample editor driven through its own messages while it runs modally: new samples and
// their names, renames, deletes, restore, OK and Cancel, and the sample pane that runs it.
#include "viewing/CSampleNewDlg.h"

#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <vector>

#include <gtest/gtest.h>

#include "app/Preferences.h"
#include "common/RegistryValue.h"
#include "viewing/CSampleWindow.h"
#include "tests/support/StepPlayer.h"
#include "tests/support/TestSupport.h"

using namespace testing_support;

namespace {

HWND FindEditor() { return FindDialogWithControl(IDC_SAMPLE_TITLES); }

void RunWithSteps(std::vector<std::function<bool()>> steps, const std::function<void()>& body) {
  PlaySteps(std::move(steps), body, &FindEditor);
}

void Click(HWND dlg, int id) {
  ::SendMessageW(dlg, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(::GetDlgItem(dlg, id)));
}

HWND Titles(HWND dlg) { return ::GetDlgItem(dlg, IDC_SAMPLE_TITLES); }

int ItemCount(HWND dlg) { return static_cast<int>(::SendMessageW(Titles(dlg), LVM_GETITEMCOUNT, 0, 0)); }

std::wstring ItemText(HWND dlg, int item) {
  wchar_t text[64] = {};
  LVITEMW lv{};
  lv.pszText = text;
  lv.cchTextMax = 64;
  ::SendMessageW(Titles(dlg), LVM_GETITEMTEXTW, item, reinterpret_cast<LPARAM>(&lv));
  return text;
}

int FindItem(HWND dlg, const std::wstring& title) {
  for (int i = 0; i < ItemCount(dlg); ++i)
    if (ItemText(dlg, i) == title) return i;
  return -1;
}

int SelectedItem(HWND dlg) {
  return static_cast<int>(::SendMessageW(Titles(dlg), LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}

void Select(HWND dlg, int item) {
  LVITEMW lv{};
  lv.stateMask = lv.state = LVIS_SELECTED | LVIS_FOCUSED;
  ::SendMessageW(Titles(dlg), LVM_SETITEMSTATE, item, reinterpret_cast<LPARAM>(&lv));
}

// The end of a label edit as the list view reports it.
LRESULT Rename(HWND dlg, int item, const wchar_t* title) {
  std::wstring text = title;
  NMLVDISPINFOW info{};
  info.hdr.hwndFrom = Titles(dlg);
  info.hdr.idFrom = IDC_SAMPLE_TITLES;
  info.hdr.code = LVN_ENDLABELEDITW;
  info.item.iItem = item;
  info.item.pszText = text.data();
  ::SendMessageW(dlg, WM_NOTIFY, IDC_SAMPLE_TITLES, reinterpret_cast<LPARAM>(&info));
  return ::GetWindowLongPtrW(dlg, DWLP_MSGRESULT);
}

// Replaces the text box's text the way typing does (with a change notification).
void Type(HWND dlg, const wchar_t* text) {
  HWND edit = ::GetDlgItem(dlg, IDC_SAMPLE_TEXT);
  ::SendMessageW(edit, EM_SETSEL, 0, -1);
  ::SendMessageW(edit, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(text));
}

std::wstring EditText(HWND dlg) {
  wchar_t text[256] = {};
  ::GetDlgItemTextW(dlg, IDC_SAMPLE_TEXT, text, 256);
  return text;
}

class SampleEditor : public ::testing::Test {
protected:
  void SetUp() override {
    ::RegDeleteTreeW(HKEY_CURRENT_USER, kAppKeyPath);
    ResetRecords();
  }
  void TearDown() override {
    ::RegDeleteTreeW(HKEY_CURRENT_USER, kAppKeyPath);
    ResetRecords();
  }
  static void Store(std::initializer_list<std::pair<const wchar_t*, const wchar_t*>> samples) {
    SampleList list;
    for (const auto& [title, text] : samples) list.Append(title, text);
    SaveSamples(list);
  }
  static SampleList Stored() {
    SampleList list;
    LoadUserSamples(list);
    return list;
  }
};

TEST_F(SampleEditor, NewSamplesAreNumberedAndRenamesFollowTheRules) {
  Store({{L"Zeta", L"z"}, {L"Alpha", L"a"}});
  CSampleNewDlg editor(16, L"");
  INT_PTR result = 0;
  RunWithSteps(
      {[&] {
         HWND dlg = FindEditor();
         if (!dlg) return false;
         EXPECT_EQ(ItemCount(dlg), 2);
         EXPECT_EQ(SelectedItem(dlg), -1) << "stored samples: nothing selected at the start";
         for (int i = 0; i < 3; ++i) {
           Click(dlg, IDC_SAMPLE_NEW);
           HWND label = reinterpret_cast<HWND>(::SendMessageW(Titles(dlg), LVM_GETEDITCONTROL, 0, 0));
           EXPECT_TRUE(label) << "a new sample's title is being edited";
           EXPECT_EQ(::SendMessageW(label, EM_GETLIMITTEXT, 0, 0), kSampleTitleMax);
           ::SendMessageW(Titles(dlg), LVM_CANCELEDITLABEL, 0, 0);
         }
         EXPECT_EQ(ItemText(dlg, 0), L"New Sample (2)") << "new samples come in at the top";
         EXPECT_EQ(EditText(dlg), L"New Sample (2)") << "with their title as text";

         const int first = FindItem(dlg, L"New Sample");
         EXPECT_FALSE(Rename(dlg, first, L"Alpha"));
         EXPECT_EQ(Beeps().size(), 1u) << "another sample's title beeps";
         EXPECT_FALSE(Rename(dlg, first, L"New Sample"));
         EXPECT_FALSE(Rename(dlg, first, L"   "));
         EXPECT_EQ(Beeps().size(), 1u) << "its own title and blanks are refused quietly";
         EXPECT_TRUE(Rename(dlg, first, L"  Beta "));
         return true;
       },
       [&] {
         HWND dlg = FindEditor();
         // The rebuilt list is in the samples' order: the two stored ones, then the new ones.
         EXPECT_EQ(ItemText(dlg, 2), L"Beta");
         EXPECT_EQ(ItemText(dlg, 3), L"New Sample (1)");
         EXPECT_EQ(ItemText(dlg, 4), L"New Sample (2)");
         Click(dlg, IDC_SAMPLE_OK);
         return true;
       }},
      [&] { result = editor.DoModal(nullptr); });
  EXPECT_EQ(result, IDOK);
  const SampleList stored = Stored();
  EXPECT_EQ(stored.Count(), 5);
  const std::pair<const wchar_t*, const wchar_t*> expected[] = {
      {L"Zeta", L"z"}, {L"Alpha", L"a"}, {L"Beta", L"New Sample"}, {L"New Sample (1)", L"New Sample (1)"},
      {L"New Sample (2)", L"New Sample (2)"}};
  for (const auto& [title, text] : expected) {
    const int i = stored.FindTitle(title);
    ASSERT_GE(i, 0) << Narrow(title);
    EXPECT_EQ(stored.Text(i), text);
  }
}

// A rename lists the samples again; the text being edited in another sample must survive it.
TEST_F(SampleEditor, RenameKeepsAnUnsavedTextEdit) {
  Store({{L"One", L"first text"}, {L"Two", L"second text"}});
  CSampleNewDlg editor(16, L"One");
  RunWithSteps({[&] {
                     HWND dlg = FindEditor();
                     if (!dlg) return false;
                     EXPECT_EQ(SelectedItem(dlg), FindItem(dlg, L"One"));
                     EXPECT_EQ(EditText(dlg), L"first text");
                     Type(dlg, L"edited, not yet saved");
                     EXPECT_TRUE(Rename(dlg, FindItem(dlg, L"Two"), L"Second"));
                     return true;
                   },
                   [&] {
                     HWND dlg = FindEditor();
                     EXPECT_NE(FindItem(dlg, L"Second"), -1);
                     EXPECT_EQ(EditText(dlg), L"edited, not yet saved");
                     Click(dlg, IDC_SAMPLE_OK);
                     return true;
                   }},
                  [&] { editor.DoModal(nullptr); });
  const SampleList stored = Stored();
  ASSERT_EQ(stored.Count(), 2);
  ASSERT_GE(stored.FindTitle(L"One"), 0);
  ASSERT_GE(stored.FindTitle(L"Second"), 0);
  EXPECT_EQ(stored.Text(stored.FindTitle(L"One")), L"edited, not yet saved");
  EXPECT_EQ(stored.Text(stored.FindTitle(L"Second")), L"second text");
  EXPECT_EQ(editor.CurrentTitle(), L"One");
}

TEST_F(SampleEditor, DeletingSelectsTheNewLastAndAnEmptyListBringsTheBuiltinsBack) {
  Store({{L"a", L"1"}, {L"b", L"2"}, {L"c", L"3"}});
  CSampleNewDlg editor(16, L"c");
  RunWithSteps({[&] {
                     HWND dlg = FindEditor();
                     if (!dlg) return false;
                     Click(dlg, IDC_SAMPLE_DELETE);
                     EXPECT_EQ(ItemCount(dlg), 2);
                     EXPECT_EQ(SelectedItem(dlg), 1);
                     EXPECT_EQ(EditText(dlg), L"2") << "the new last sample's text";
                     Click(dlg, IDC_SAMPLE_DELETE);
                     Click(dlg, IDC_SAMPLE_DELETE);
                     Click(dlg, IDC_SAMPLE_DELETE);  // nothing left to delete
                     EXPECT_EQ(ItemCount(dlg), 0);
                     Click(dlg, IDC_SAMPLE_OK);
                     return true;
                   }},
                  [&] { editor.DoModal(nullptr); });
  EXPECT_EQ(Stored().Count(), 0);
  SampleList shown;
  LoadSamples(shown);
  EXPECT_EQ(shown.Count(), 6);
}

TEST_F(SampleEditor, RestoreThenCancelKeepsTheStoredSamples) {
  Store({{L"mine", L"my text"}});
  CSampleNewDlg editor(16, L"mine");
  INT_PTR result = 0;
  RunWithSteps({[&] {
                     HWND dlg = FindEditor();
                     if (!dlg) return false;
                     Click(dlg, IDC_SAMPLE_RESTORE);
                     EXPECT_EQ(ItemCount(dlg), 6);
                     EXPECT_EQ(FindItem(dlg, L"mine"), -1);
                     Click(dlg, IDCANCEL);
                     return true;
                   }},
                  [&] { result = editor.DoModal(nullptr); });
  EXPECT_EQ(result, IDCANCEL);
  const SampleList stored = Stored();
  ASSERT_EQ(stored.Count(), 1);
  EXPECT_EQ(stored.Text(0), L"my text");
}

// The pane's list is sorted, the editor's is in stored order: they meet by title.
TEST_F(SampleEditor, PaneAndEditorPassTheSampleByTitle) {
  // The list box sorts by words (the hyphen does not count); the key by characters.
  Store({{L"ab", L"ab text"}, {L"a-c", L"a-c text"}, {L"b", L"b text"}});
  HKEY prefs = nullptr;
  ::RegCreateKeyExW(HKEY_CURRENT_USER, kPrefsKeyPath, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &prefs, nullptr);
  WriteRegString(prefs, L"ActiveSample", L"a-c");
  ::RegCloseKey(prefs);
  HWND host = ::CreateWindowExW(0, L"STATIC", nullptr, WS_POPUP | WS_VISIBLE, 0, 0, 400, 300, nullptr, nullptr,
                                nullptr, nullptr);
  CSampleWindow sample;
  RECT rc{0, 0, 400, 300};
  ASSERT_TRUE(sample.Create(host, &rc));
  EXPECT_EQ(sample.ActiveText(), L"a-c text");
  const int paneIndex = static_cast<int>(::SendMessageW(sample.SampleListBox(), LB_GETCURSEL, 0, 0));
  RunWithSteps({[&] {
                     HWND dlg = FindEditor();
                     if (!dlg) return false;
                     EXPECT_NE(FindItem(dlg, L"a-c"), paneIndex) << "the orders differ, or this proves nothing";
                     EXPECT_EQ(SelectedItem(dlg), FindItem(dlg, L"a-c"));
                     Select(dlg, FindItem(dlg, L"ab"));
                     Click(dlg, IDC_SAMPLE_OK);
                     return true;
                   }},
                  [&] { sample.EditSamples(); });
  EXPECT_EQ(sample.ActiveTitle(), L"ab");
  EXPECT_EQ(sample.ActiveText(), L"ab text");
  const int abInPane = static_cast<int>(::SendMessageW(sample.SampleListBox(), LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                             reinterpret_cast<LPARAM>(L"ab")));
  EXPECT_EQ(::SendMessageW(sample.SampleListBox(), LB_GETCURSEL, 0, 0), abInPane);
  sample.DestroyWindow();
  ::DestroyWindow(host);
}

}  // namespace
