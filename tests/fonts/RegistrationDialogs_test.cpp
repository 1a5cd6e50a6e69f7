// The dialogs over the system's font registration, driven by their own messages under Wine with
// their keys redirected into a private key of the test prefix's registry: the registered fonts
// list, the font substitutes and the family defaults.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <map>

#include "app/AppState.h"
#include "app/Preferences.h"
#include "common/RegistryValue.h"
#include "common/ResString.h"
#include "common/ResourceIds.h"
#include "common/Seams.h"
#include "common/StringHelpers.h"
#include "fonts/CDefaultFamiliesDlg.h"
#include "fonts/CListRegistryFontsDlg.h"
#include "fonts/CSubstituteDlg.h"
#include "fonts/FontFileReader.h"
#include "fonts/RegistryDialogLists.h"
#include "tests/fonts/RegistryTestKey.h"
#include "tests/support/ModalScript.h"
#include "tests/support/TestSupport.h"

using namespace testing_support;

namespace {

const std::wstring kDejaVu = L"Z:\\usr\\share\\fonts\\truetype\\dejavu\\DejaVuSans.ttf";

std::wstring StatusText(HWND bar, int part) {
  wchar_t text[512] = {};
  ::SendMessageW(bar, SB_GETTEXTW, part, reinterpret_cast<LPARAM>(text));
  return text;
}

void SelectRow(HWND list, int row) {
  LVITEMW state{};
  state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
  state.state = LVIS_SELECTED | LVIS_FOCUSED;
  ::SendMessageW(list, LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&state));
}

// The values of a key: name -> text.
std::map<std::wstring, std::wstring> ValuesOf(const std::wstring& path) {
  std::map<std::wstring, std::wstring> values;
  for (const NamedText& value : ReadKeyTexts(HKEY_CURRENT_USER, path)) values[value.name] = value.text;
  return values;
}

class RegistrationDialogs : public ::testing::Test {
protected:
  void SetUp() override {
    ResetRecords();
    savedFolder_ = g_AppState.SystemFontsFolder;
    savedElevated_ = g_AppState.IsElevated;
    g_AppState.SystemFontsFolder = L"C:\\windows\\Fonts";
    g_AppState.IsElevated = true;
  }
  void TearDown() override {
    g_AppState.SystemFontsFolder = savedFolder_;
    g_AppState.IsElevated = savedElevated_;
  }
  std::wstring savedFolder_;
  bool savedElevated_ = false;
};

}  // namespace

TEST_F(RegistrationDialogs, RegisteredFontsListExplainsSortsAndSavesItsPlace) {
  RegistryTestKey key(L"RegList");
  FontFileReader reader;
  reader.fileRef = kDejaVu;
  ASSERT_TRUE(reader.ReadSfnt());
  key.SetText(HKEY_LOCAL_MACHINE, kFontsKey, reader.FullName() + L" (TrueType)", kDejaVu);
  key.SetText(HKEY_LOCAL_MACHINE, kFontsKey, L"Zz Gone (TrueType)", L"gone.ttf");
  key.SetText(HKEY_LOCAL_MACHINE, kFontsKey, L"Aa Wrong (TrueType)", kDejaVu);

  auto dialog = std::make_unique<CListRegistryFontsDlg>();
  ASSERT_TRUE(dialog->CreateModeless());
  HWND list = dialog->List().m_hWnd;
  ASSERT_EQ(::SendMessageW(list, LVM_GETITEMCOUNT, 0, 0), 3);
  const auto rowOf = [&](const std::wstring& valueName) {
    for (int row = 0; row < 3; ++row)
      if (GetListViewItemText(list, row, 2) == valueName) return row;
    return -1;
  };
  // Shown in key order, numbered from 1; the name column comes from the file.
  EXPECT_EQ(GetListViewItemText(list, 0, 0), L"1");
  EXPECT_EQ(GetListViewItemText(list, rowOf(reader.FullName() + L" (TrueType)"), 1), reader.FullName());
  EXPECT_EQ(GetListViewItemText(list, rowOf(L"Zz Gone (TrueType)"), 3), L"gone.ttf");

  // The most telling result is explained: missing file, then wrong name, then the duplicate.
  const std::pair<std::wstring, UINT> explained[] = {{L"Zz Gone (TrueType)", IDS_REGISTRY_FONT_UNREADABLE},
                                                     {L"Aa Wrong (TrueType)", IDS_REGISTRY_FONT_NAME_MISMATCH},
                                                     {reader.FullName() + L" (TrueType)", IDS_REGISTRY_FONT_DUPLICATE}};
  for (const auto& [valueName, text] : explained) {
    SelectRow(list, rowOf(valueName));
    EXPECT_EQ(StatusText(dialog->StatusBar(), 0), LoadResString(text)) << Narrow(valueName);
  }
  // Clicks on the value-name header: ascending, then descending.
  for (bool ascending : {true, false}) {
    NMLISTVIEW click{};
    click.hdr = {list, IDC_REGISTRY_FONTS_LIST, LVN_COLUMNCLICK};
    click.iItem = -1;
    click.iSubItem = CRegListView::kColumnValueName;
    ::SendMessageW(dialog->m_hWnd, WM_NOTIFY, IDC_REGISTRY_FONTS_LIST, reinterpret_cast<LPARAM>(&click));
    EXPECT_EQ(dialog->List().SortAscending(), ascending);
    EXPECT_EQ(GetListViewItemText(list, 0, 2), ascending ? L"Aa Wrong (TrueType)" : L"Zz Gone (TrueType)");
  }
  PumpMessages(100);
  SaveWindowImage(dialog->m_hWnd, ArtifactsDir() + L"\\registered_fonts.bmp");

  orv::ScopedKey created;
  ASSERT_EQ(::RegCreateKeyExW(HKEY_CURRENT_USER, kPrefsKeyPath, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                              created.Receive(), nullptr),
            ERROR_SUCCESS);
  // Closing saves the window's place, which the next dialog starts from: a place inside whatever
  // screen the test has, half its width but never below the dialog's least size.
  const RECT place = RectOnScreen({40, 50}, {::GetSystemMetrics(SM_CXVIRTUALSCREEN) / 2, 400},
                                  LeastWindowSize(dialog->m_hWnd));
  ::SetWindowPos(dialog->m_hWnd, nullptr, place.left, place.top, place.right - place.left, place.bottom - place.top,
                 SWP_NOZORDER);
  ::SendMessageW(dialog->m_hWnd, WM_COMMAND, IDCANCEL, 0);
  EXPECT_FALSE(::IsWindow(dialog->m_hWnd));
  CListRegistryFontsDlg reopened;
  EXPECT_EQ(reopened.SavedRect().left, place.left);
  EXPECT_EQ(reopened.SavedRect().right, place.right);
  ::RegDeleteValueW(created.Get(), CListRegistryFontsDlg::kRectValue);
}

TEST(CharsetLabels, ExplainsTheNumberAfterTheComma) {
  const CharsetLabels labels(L"-1=Set: %s||0=ANSI|=bare|x|204=Cyrillic|abc=junk");
  EXPECT_EQ(labels.Count(), 3u);
  const std::pair<const wchar_t*, const wchar_t*> cases[] = {
      {L"Arial,204", L"Set: Cyrillic"}, {L"Arial,0", L"Set: ANSI"},  {L"Arial, 204", L"Set: Cyrillic"},
      {L"Arial", L""},                  {L"Arial,999", L""},         {L"Arial,", L""},
      {L"Arial,abc", L""},              {L"Arial,99999999999999", L""},
  };
  for (const auto& [text, want] : cases) EXPECT_EQ(labels.Explain(text), want) << Narrow(text);
  // A format without its slot is shown as it is; no other "%" is ever taken as a format.
  EXPECT_EQ(CharsetLabels(L"1=Set %d %n|0=ANSI").Explain(L"x,0"), L"Set %d %n");
}

TEST_F(RegistrationDialogs, SubstitutesListEveryValueAndExplainTheSelectedRow) {
  RegistryTestKey key(L"RegSubst");
  key.SetText(HKEY_LOCAL_MACHINE, kFontSubstitutesKey, L"Arial,204", L"Arial");
  key.SetText(HKEY_LOCAL_MACHINE, kFontSubstitutesKey, L"Helv", L"MS Sans Serif,777");
  const DWORD number = 1;
  key.Set(HKEY_LOCAL_MACHINE, kFontSubstitutesKey, L"Number", REG_DWORD, &number, sizeof(number));
  const std::wstring cyrillic = CharsetLabels(LoadResString(IDS_CHARSET_LABELS)).Explain(L"x,204");
  ASSERT_FALSE(cyrillic.empty());

  CSubstituteDlg dialog;
  INT_PTR result = 0;
  ModalScript::Run(
      {[&] {
        if (!dialog.m_hWnd) return false;
        HWND list = dialog.GetDlgItem(IDC_SUBSTITUTES_LIST);
        EXPECT_EQ(::SendMessageW(list, LVM_GETITEMCOUNT, 0, 0), 3);
        // Each value went in at the top: the key's first value is the last row.
        EXPECT_EQ(GetListViewItemText(list, 2, 0), L"Arial,204");
        EXPECT_EQ(GetListViewItemText(list, 0, 1), L"");
        SelectRow(list, 2);
        EXPECT_EQ(StatusText(dialog.StatusBar(), 0), cyrillic);
        EXPECT_EQ(StatusText(dialog.StatusBar(), 1), L"");
        SelectRow(list, 1);  // an unknown number explains nothing
        EXPECT_EQ(StatusText(dialog.StatusBar(), 0), L"");
        EXPECT_EQ(StatusText(dialog.StatusBar(), 1), L"");
        ClickButton(dialog.m_hWnd, IDOK);
        return true;
      }},
      [&] { result = dialog.DoModal(nullptr); });
  EXPECT_EQ(result, IDOK);
}

namespace {

// The family defaults dialog run with a script; `installed` is the only installed face.
INT_PTR RunFamilyDefaults(const std::function<void(CDefaultFamiliesDlg&)>& script) {
  CDefaultFamiliesDlg dialog([](const std::wstring& face) { return face == L"DejaVu Sans"; });
  INT_PTR result = 0;
  ModalScript::Run(
      {[&] {
        if (!dialog.m_hWnd || !::IsWindowVisible(dialog.m_hWnd)) return false;
        script(dialog);
        return true;
      }},
      [&] { result = dialog.DoModal(nullptr); });
  return result;
}

HWND FamilyList(const CDefaultFamiliesDlg& dialog) { return dialog.GetDlgItem(IDC_FAMILY_DEFAULTS_LIST); }

}  // namespace

TEST_F(RegistrationDialogs, FamilyDefaultsKeepTheKeyUnlessTold) {
  RegistryTestKey key(L"RegFamily");
  const std::wstring path = key.PathOf(HKEY_LOCAL_MACHINE, kFamilyDefaultsKey);
  const std::vector<CDefaultFamiliesDlg::Row> defaults = CDefaultFamiliesDlg::BuiltInDefaults();
  ASSERT_GE(defaults.size(), 2u);

  // A missing key is made and filled with the built-in defaults before the user sees it.
  RunFamilyDefaults([](CDefaultFamiliesDlg& dialog) { ClickButton(dialog.m_hWnd, IDCANCEL); });
  std::map<std::wstring, std::wstring> values = ValuesOf(path);
  ASSERT_EQ(values.size(), defaults.size());
  EXPECT_EQ(values[L""], defaults[0].face);
  EXPECT_EQ(values[defaults[1].family], defaults[1].face);

  // A key of named values only: OK keeps every one of them, and none becomes the unnamed value.
  ::RegDeleteTreeW(HKEY_CURRENT_USER, path.c_str());
  key.SetText(HKEY_LOCAL_MACHINE, kFamilyDefaultsKey, L"Swiss", L"Arial");
  key.SetText(HKEY_LOCAL_MACHINE, kFamilyDefaultsKey, L"Roman", L"Times New Roman");
  EXPECT_EQ(RunFamilyDefaults([](CDefaultFamiliesDlg& dialog) { ClickButton(dialog.m_hWnd, IDOK); }), IDOK);
  values = ValuesOf(path);
  EXPECT_EQ(values, (std::map<std::wstring, std::wstring>{{L"Swiss", L"Arial"}, {L"Roman", L"Times New Roman"}}));

  // The unnamed value's row leads, wherever the key holds it; OK writes it back as the unnamed value.
  key.SetText(HKEY_LOCAL_MACHINE, kFamilyDefaultsKey, L"", L"Verdana");
  RunFamilyDefaults([&](CDefaultFamiliesDlg& dialog) {
    const std::vector<CDefaultFamiliesDlg::Row> rows = dialog.ListedRows();
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_TRUE(rows[0].unnamed);
    EXPECT_EQ(rows[0].family, defaults[0].family);
    EXPECT_EQ(rows[0].face, L"Verdana");
    ClickButton(dialog.m_hWnd, IDOK);
  });
  EXPECT_EQ(ValuesOf(path).size(), 3u);
  EXPECT_EQ(ValuesOf(path)[L""], L"Verdana");

  // The defaults button, then Cancel: nothing written.
  RunFamilyDefaults([&](CDefaultFamiliesDlg& dialog) {
    ClickButton(dialog.m_hWnd, IDC_FAMILY_DEFAULTS_RESET);
    EXPECT_EQ(dialog.ListedRows().size(), defaults.size());
    ClickButton(dialog.m_hWnd, IDCANCEL);
  });
  EXPECT_EQ(ValuesOf(path).size(), 3u);
}

TEST_F(RegistrationDialogs, FamilyDefaultsEditOnlyInstalledFaces) {
  RegistryTestKey key(L"RegFamEdit");
  key.SetText(HKEY_LOCAL_MACHINE, kFamilyDefaultsKey, L"", L"Verdana");
  key.SetText(HKEY_LOCAL_MACHINE, kFamilyDefaultsKey, L"Swiss", L"Arial");
  const std::wstring path = key.PathOf(HKEY_LOCAL_MACHINE, kFamilyDefaultsKey);

  const auto edit = [](CDefaultFamiliesDlg& dialog, int row, const std::wstring& text) {
    HWND list = FamilyList(dialog);
    SelectRow(list, row);
    ::SendMessageW(list, LVM_EDITLABELW, row, 0);
    HWND editor = dialog.Editor();
    ASSERT_NE(editor, nullptr);
    wchar_t shown[64] = {};
    ::GetWindowTextW(editor, shown, 64);
    EXPECT_EQ(std::wstring(shown), GetListViewItemText(list, row, 1));  // the face is edited, not the family
    ::SetWindowTextW(editor, text.c_str());
    ::SendMessageW(editor, WM_KEYDOWN, VK_RETURN, 0);
  };
  RunFamilyDefaults([&](CDefaultFamiliesDlg& dialog) {
    HWND list = FamilyList(dialog);
    edit(dialog, 1, L"Nowhere Sans");
    EXPECT_EQ(GetListViewItemText(list, 1, 1), L"Arial");
    EXPECT_EQ(StatusText(dialog.StatusBar(), 0), LoadResString(IDS_FAMILY_DEFAULT_NOT_INSTALLED));
    EXPECT_EQ(Beeps().size(), 1u);
    edit(dialog, 1, L"DejaVu Sans");
    EXPECT_EQ(GetListViewItemText(list, 1, 0), L"Swiss");
    EXPECT_EQ(GetListViewItemText(list, 1, 1), L"DejaVu Sans");
    // The preview asks for the selected row's face, cut to what a LOGFONT holds.
    ::RedrawWindow(dialog.GetDlgItem(IDC_FAMILY_DEFAULTS_PREVIEW), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    EXPECT_EQ(dialog.PreviewFace(), L"DejaVu Sans");
    ClickButton(dialog.m_hWnd, IDOK);
  });
  EXPECT_EQ(ValuesOf(path)[L"Swiss"], L"DejaVu Sans");

  // Not elevated: the defaults button is off and no edit starts.
  g_AppState.IsElevated = false;
  RunFamilyDefaults([&](CDefaultFamiliesDlg& dialog) {
    EXPECT_FALSE(::IsWindowEnabled(dialog.GetDlgItem(IDC_FAMILY_DEFAULTS_RESET)));
    HWND list = FamilyList(dialog);
    SelectRow(list, 0);
    ::SendMessageW(list, LVM_EDITLABELW, 0, 0);
    EXPECT_EQ(::SendMessageW(list, LVM_GETEDITCONTROL, 0, 0), 0);
    ClickButton(dialog.m_hWnd, IDCANCEL);
  });
}

namespace {

// A value exactly as the registry holds it.
struct RawValue {
  DWORD type = REG_NONE;
  std::string data;
  bool operator==(const RawValue&) const = default;
};

std::map<std::wstring, RawValue> RawValuesOf(const std::wstring& path) {
  std::map<std::wstring, RawValue> values;
  HKEY key = nullptr;
  if (::RegOpenKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return values;
  for (DWORD i = 0;; ++i) {
    wchar_t name[256] = {};
    DWORD nameLength = 256;
    char data[1024] = {};
    DWORD size = sizeof(data);
    DWORD type = 0;
    if (::RegEnumValueW(key, i, name, &nameLength, nullptr, &type, reinterpret_cast<BYTE*>(data), &size) != ERROR_SUCCESS)
      break;
    values[name] = {type, std::string(data, size)};
  }
  ::RegCloseKey(key);
  return values;
}

std::string Utf16Bytes(const std::wstring& text) {
  return std::string(reinterpret_cast<const char*>(text.c_str()), (text.size() + 1) * sizeof(wchar_t));
}

// Starts editing a row's face and types `text` into the editor.
void EditFace(CDefaultFamiliesDlg& dialog, const std::wstring& family, const std::wstring& text) {
  HWND list = FamilyList(dialog);
  const std::vector<CDefaultFamiliesDlg::Row> rows = dialog.ListedRows();
  int row = -1;
  for (size_t i = 0; i < rows.size(); ++i)
    if (rows[i].family == family) row = static_cast<int>(i);
  ASSERT_GE(row, 0) << Narrow(family);
  SelectRow(list, row);
  ::SendMessageW(list, LVM_EDITLABELW, row, 0);
  ASSERT_NE(dialog.Editor(), nullptr);
  ::SetWindowTextW(dialog.Editor(), text.c_str());
  ::SendMessageW(dialog.Editor(), WM_KEYDOWN, VK_RETURN, 0);
  ASSERT_EQ(GetListViewItemText(list, row, 1), text);
}

}  // namespace

// OK writes the one value the user edited, in the type it had; every other value keeps its type
// and its bytes, also those the dialog cannot show as a face name.
TEST_F(RegistrationDialogs, FamilyDefaultsWriteOnlyTheEditedValueInItsOwnType) {
  RegistryTestKey key(L"RegFamTypes");
  const std::wstring path = key.PathOf(HKEY_LOCAL_MACHINE, kFamilyDefaultsKey);
  key.SetText(HKEY_LOCAL_MACHINE, kFamilyDefaultsKey, L"", L"Verdana");
  key.SetText(HKEY_LOCAL_MACHINE, kFamilyDefaultsKey, L"Swiss", L"Arial");
  key.SetText(HKEY_LOCAL_MACHINE, kFamilyDefaultsKey, L"Roman", L"%FaceRoot%Times", REG_EXPAND_SZ);
  const DWORD number = 0x12345678;
  key.Set(HKEY_LOCAL_MACHINE, kFamilyDefaultsKey, L"Count", REG_DWORD, &number, sizeof(number));
  const wchar_t tail[] = L"Courier New\0kept";  // data after the first null
  key.Set(HKEY_LOCAL_MACHINE, kFamilyDefaultsKey, L"Modern", REG_SZ, tail, sizeof(tail));
  const std::map<std::wstring, RawValue> before = RawValuesOf(path);
  ASSERT_EQ(before.size(), 5u);

  EXPECT_EQ(RunFamilyDefaults([](CDefaultFamiliesDlg& dialog) {
              EditFace(dialog, L"Swiss", L"DejaVu Sans");
              ClickButton(dialog.m_hWnd, IDOK);
            }),
            IDOK);
  std::map<std::wstring, RawValue> expected = before;
  expected[L"Swiss"] = {REG_SZ, Utf16Bytes(L"DejaVu Sans")};
  EXPECT_EQ(RawValuesOf(path), expected);

  EXPECT_EQ(RunFamilyDefaults([](CDefaultFamiliesDlg& dialog) {
              EditFace(dialog, L"Roman", L"DejaVu Sans");
              ClickButton(dialog.m_hWnd, IDOK);
            }),
            IDOK);
  expected[L"Roman"] = {REG_EXPAND_SZ, Utf16Bytes(L"DejaVu Sans")};
  EXPECT_EQ(RawValuesOf(path), expected);

  // OK without an edit writes nothing at all.
  EXPECT_EQ(RunFamilyDefaults([](CDefaultFamiliesDlg& dialog) { ClickButton(dialog.m_hWnd, IDOK); }), IDOK);
  EXPECT_EQ(RawValuesOf(path), expected);

  // The built-in defaults, then OK: the key holds the defaults, each family value keeping its
  // type, a value that already held its default face untouched (bytes after its null and all);
  // the shown value that the defaults left out goes, a value the dialog never showed (written
  // meanwhile by someone else) stays.
  EXPECT_EQ(RunFamilyDefaults([&](CDefaultFamiliesDlg& dialog) {
              ClickButton(dialog.m_hWnd, IDC_FAMILY_DEFAULTS_RESET);
              key.SetText(HKEY_LOCAL_MACHINE, kFamilyDefaultsKey, L"Later", L"Arial");
              ClickButton(dialog.m_hWnd, IDOK);
            }),
            IDOK);
  std::map<std::wstring, RawValue> defaults{{L"Later", {REG_SZ, Utf16Bytes(L"Arial")}}};
  for (const CDefaultFamiliesDlg::Row& row : CDefaultFamiliesDlg::BuiltInDefaults())
    defaults[row.unnamed ? L"" : row.family] = {row.family == L"Roman" ? DWORD{REG_EXPAND_SZ} : DWORD{REG_SZ},
                                                Utf16Bytes(row.face)};
  ASSERT_EQ(defaults[L"Modern"].data, Utf16Bytes(L"Courier New"));
  defaults[L"Modern"] = before.at(L"Modern");
  EXPECT_EQ(RawValuesOf(path), defaults);
}

// A value that cannot be written is reported; the dialog stays open and nothing else in the key
// changed.
TEST_F(RegistrationDialogs, FamilyDefaultsReportAFailedWrite) {
  RegistryTestKey key(L"RegFamFail");
  const std::wstring path = key.PathOf(HKEY_LOCAL_MACHINE, kFamilyDefaultsKey);
  key.SetText(HKEY_LOCAL_MACHINE, kFamilyDefaultsKey, L"", L"Verdana");
  key.SetText(HKEY_LOCAL_MACHINE, kFamilyDefaultsKey, L"Swiss", L"Arial");
  key.SetText(HKEY_LOCAL_MACHINE, kFamilyDefaultsKey, L"Roman", L"Times New Roman");
  const std::map<std::wstring, RawValue> before = RawValuesOf(path);
  seams::SystemCalls failing;
  failing.setRegValue = [](HKEY, const wchar_t*, DWORD, const BYTE*, DWORD) -> LSTATUS { return ERROR_ACCESS_DENIED; };
  failing.deleteRegValue = [](HKEY, const wchar_t*) -> LSTATUS { return ERROR_ACCESS_DENIED; };

  const INT_PTR result = RunFamilyDefaults([&](CDefaultFamiliesDlg& dialog) {
    EditFace(dialog, L"Swiss", L"DejaVu Sans");
    seams::SetSystemCalls(&failing);
    ClickButton(dialog.m_hWnd, IDOK);
    seams::SetSystemCalls(nullptr);
    EXPECT_TRUE(::IsWindowVisible(dialog.m_hWnd)) << "the dialog stays open";
    ASSERT_EQ(Boxes().size(), 1u);
    EXPECT_EQ(Boxes()[0].caption, LoadResString(IDS_CAPTION_APP));
    EXPECT_EQ(Boxes()[0].text.rfind(LoadResString(IDS_FAMILY_DEFAULTS_NOT_WRITTEN), 0), 0u);
    EXPECT_NE(Boxes()[0].text.find(L"Swiss"), std::wstring::npos) << "the value is named";
    ClickButton(dialog.m_hWnd, IDCANCEL);
  });
  seams::SetSystemCalls(nullptr);
  EXPECT_EQ(result, IDCANCEL);
  EXPECT_EQ(RawValuesOf(path), before);
}
