// The classification group builders over collections held in memory, read back through the
// group store; the classification dialog's scan of a scratch folder.
#include <gtest/gtest.h>

#include <algorithm>

#include <windows.h>

#include <atomic>
#include <vector>

#include <commctrl.h>

#include "app/AppState.h"
#include "app/Preferences.h"
#include "fonts/FontItem.h"
#include "groups/CFontClassificationsDlg.h"
#include "groups/ClassificationBuilder.h"
#include "common/Seams.h"
#include "groups/GroupNames.h"
#include "tests/groups/GroupsTestEnv.h"
#include "tests/support/ModalScript.h"
#include "tests/support/SfntBuilder.h"

using testing_support::ClickButton;
using testing_support::FindDialogWithControl;
using testing_support::ModalScript;
using testing_support::ScratchDir;
using namespace sfnt_test;

namespace {

struct FontSpec {
  std::wstring family, full, path;
  uint8_t kind = 2, subKind = 0;
  uint16_t familyClass = 0;
  uint32_t flags = font_flags::kTrueTypeOutlines;
};

FontItem MakeFont(const FontSpec& made) {
  FontItem font;
  font.names.English(NameSlot::Family) = made.family;
  font.names.English(NameSlot::FullName) = made.full;
  font.displayName = made.full;
  font.fullPath = made.path;
  font.flags = made.flags;
  font.panose[0] = made.kind;
  font.panose[1] = made.subKind;
  font.familyClass = static_cast<int16_t>(made.familyClass);
  if (font.IsType1()) font.pfbPath = made.path.substr(0, made.path.size() - 3) + L"pfb";
  return font;
}

std::vector<FontItem> MakeFonts(const std::vector<FontSpec>& wanted) {
  std::vector<FontItem> fonts;
  for (const FontSpec& one : wanted) fonts.push_back(MakeFont(one));
  return fonts;
}

// A group and everything below it as text: Name(font;font;[child][child]); a child whose
// Parent is not the group that lists it is marked with "!".
std::wstring Dump(const std::wstring& file) {
  FontGroup group;
  if (!group.Load(file)) return L"<unreadable " + file + L">";
  std::wstring out = group.Name + L"(";
  for (const FontGroupEntry& font : group.Fonts) out += font.Name + L";";
  for (const FontGroupEntry& node : group.Nodes) {
    FontGroup child;
    const bool linked = child.Load(node.Path) && child.Parent == file && child.Name == node.Name;
    out += L"[" + std::wstring(linked ? L"" : L"!") + Dump(node.Path) + L"]";
  }
  return out + L")";
}

std::wstring Field(UINT id, size_t index) { return ResourceStringField(id, index); }

class ClassificationTest : public GroupsTest {
protected:
  void SetUp() override {
    GroupsTest::SetUp();
    FontGroup root;
    root.FileName = kRootGroupFile;
    root.Name = L"Root";
    ASSERT_TRUE(root.Save());
  }
  // The root's children as their dumps.
  std::wstring DumpRoot() const { return Dump(kRootGroupFile); }
  ClassificationBuilder builder_{nullptr, nullptr};
};

}  // namespace

TEST_F(ClassificationTest, ByInitialFamiliesLettersAndDuplicates) {
  const std::vector<FontItem> fonts = MakeFonts({
      {L"Beta", L"Beta", L"C:\\F\\beta.ttf"},
      {L"alpha", L"alpha Regular", L"C:\\F\\alpha.ttf"},
      {L"alpha", L"alpha Bold", L"C:\\F\\alphab.ttf"},
      {L"alpha", L"ALPHA BOLD", L"c:\\f\\ALPHAB.TTF"},  // the same font again: skipped
      {L"Gamma", L"Gamma", L"C:\\F\\gamma.ttf", 2, 0, 0, font_flags::kTrueTypeOutlines | font_flags::kVariable},
  });
  const std::wstring kind = builder_.BuildByInitial(fonts);
  ASSERT_FALSE(kind.empty());
  const std::wstring name = LoadResString(IDS_CLASSIFY_BY_INITIAL);
  EXPECT_EQ(DumpRoot(), L"Root([" + name + L"([A([alpha(alpha Bold;alpha Regular;)])][B(Beta;)][G([Gamma(Gamma;)])])])");
  // A second tree of the same kind takes a name of its own.
  ASSERT_FALSE(builder_.BuildByInitial(MakeFonts({{L"Zed", L"Zed", L"C:\\F\\zed.ttf"}})).empty());
  FontGroup root;
  ASSERT_TRUE(root.Load(kRootGroupFile));
  ASSERT_EQ(root.Nodes.size(), 2u);
  EXPECT_NE(root.Nodes[0].Name, root.Nodes[1].Name);
}

TEST_F(ClassificationTest, ByPanoseLevels) {
  const std::vector<FontItem> fonts = MakeFonts({
      {L"T", L"Type One", L"C:\\F\\t.pfm", 14, 14, 0x7F7F, font_flags::kType1},
      {L"S", L"Sans", L"C:\\F\\s.ttf", 2, 11},
      {L"H", L"Hand", L"C:\\F\\h.ttf", 3, 2},
      {L"N", L"NoFit", L"C:\\F\\n.ttf", 1, 5},
      {L"A", L"AnyKind", L"C:\\F\\a.ttf", 0, 3},
      {L"S2", L"Sans Two", L"C:\\F\\s2.ttf", 2, 11},
  });
  ASSERT_FALSE(builder_.BuildByPanose(fonts).empty());
  const std::wstring expected =
      L"Root([" + LoadResString(IDS_CLASSIFY_BY_PANOSE) + L"(" +                          //
      // The store keeps child entries sorted by name.
      L"[" + Field(IDS_PANOSE_FAMILY_KINDS, 0) + L"(AnyKind;)]" +                         //
      L"[" + Field(IDS_PANOSE_FAMILY_KINDS, 3) + L"([" + Field(14061, 2) + L"(Hand;)])]" +  //
      L"[" + Field(IDS_PANOSE_FAMILY_KINDS, 2) + L"([" + Field(14060, 11) + L"(Sans;Sans Two;)])]" +
      L"[" + Field(IDS_PANOSE_FAMILY_KINDS, 1) + L"(NoFit;)]" +                           //
      L"[Type1(Type One;)])])";
  EXPECT_EQ(DumpRoot(), expected);
  // A Type 1 font's entry names both of its files.
  FontGroup root;
  ASSERT_TRUE(root.Load(kRootGroupFile));
  FontGroup kind;
  ASSERT_TRUE(kind.Load(root.Nodes.at(0).Path));
  FontGroup type1;
  ASSERT_TRUE(type1.Load(kind.Nodes.back().Path));
  ASSERT_EQ(type1.Fonts.size(), 1u);
  EXPECT_EQ(type1.Fonts[0].Path, L"C:\\F\\t.pfm|C:\\F\\t.pfb");
}

TEST_F(ClassificationTest, ByFamilyClassLevels) {
  const std::vector<FontItem> fonts = MakeFonts({
      {L"Sw", L"Swiss", L"C:\\F\\sw.ttf", 2, 0, 0x0802},
      {L"Sc", L"Script", L"C:\\F\\sc.ttf", 2, 0, 0x0A0F},
      {L"Nc", L"Plain", L"C:\\F\\nc.ttf", 2, 0, 0x0005},
      {L"T", L"Type One", L"C:\\F\\t.pfm", 14, 14, 0x7F7F, font_flags::kType1},
  });
  ASSERT_FALSE(builder_.BuildByFamilyClass(fonts).empty());
  const std::wstring expected =
      L"Root([" + LoadResString(IDS_CLASSIFY_BY_CLASS) + L"(" +                              //
      L"[" + Field(IDS_FAMILY_CLASSES, 0) + L"(Plain;)]" +                                   //
      L"[" + Field(IDS_FAMILY_CLASSES, 8) + L"([" + Field(14208, 2) + L"(Swiss;)])]" +       //
      L"[" + Field(IDS_FAMILY_CLASSES, 10) + L"([" + Field(14210, 15) + L"(Script;)])]" +    //
      L"[Type1(Type One;)])])";
  EXPECT_EQ(DumpRoot(), expected);
}

TEST_F(ClassificationTest, AllType1NamesTheOnlyGroupByTheStrings) {
  const std::vector<FontItem> fonts = MakeFonts({
      {L"T", L"Type One", L"C:\\F\\t.pfm", 14, 14, 0x7F7F, font_flags::kType1},
      {L"U", L"Type Two", L"C:\\F\\u.pfm", 14, 14, 0x7F7F, font_flags::kType1},
  });
  ASSERT_FALSE(builder_.BuildByPanose(fonts).empty());
  ASSERT_FALSE(builder_.BuildByFamilyClass(fonts).empty());
  const std::wstring panoseName = Field(IDS_PANOSE_FAMILY_KINDS, 14);
  const std::wstring className = Field(IDS_FAMILY_CLASSES, 14);
  ASSERT_FALSE(panoseName.empty());
  ASSERT_FALSE(className.empty());
  EXPECT_EQ(DumpRoot(), L"Root([" + LoadResString(IDS_CLASSIFY_BY_PANOSE) + L"([" + panoseName +
                            L"(Type One;Type Two;)])][" + LoadResString(IDS_CLASSIFY_BY_CLASS) + L"([" + className +
                            L"(Type One;Type Two;)])])");
}

TEST(ClassificationNames, LookupsAndCollectedKeys) {
  EXPECT_EQ(ClassificationBuilder::PanoseKindName(-1), L"");
  EXPECT_EQ(ClassificationBuilder::PanoseKindName(40), L"");
  EXPECT_EQ(ClassificationBuilder::PanoseSubKindName(2, 40), L"");
  EXPECT_EQ(ClassificationBuilder::PanoseSubKindName(0, 3), ResourceStringField(14060, 3));
  EXPECT_EQ(ClassificationBuilder::FamilyClassName(0x7F7F), ResourceStringField(IDS_FAMILY_CLASSES, 14));
  EXPECT_EQ(ClassificationBuilder::FamilySubclassName(0x0D20), ResourceStringField(IDS_FAMILY_CLASSES + 13, 15));
  // Every class string has the fields the lookups reach.
  for (UINT c = 0; c <= 14; ++c) EXPECT_FALSE(ResourceStringField(IDS_FAMILY_CLASSES + c, c == 0 ? 14 : 15).empty()) << c;

  struct Case {
    uint8_t kind, subKind;
    int16_t familyClass;
    uint32_t flags;
    uint8_t wantKind, wantSub;
    int16_t wantClass;
  } cases[] = {
      {9, 3, 0x0102, font_flags::kTrueTypeOutlines, 0, 3, 0x0102},
      {6, 16, 0x0102, font_flags::kTrueTypeOutlines, 6, 0, 0x0102},
      {2, 11, 0x0802, font_flags::kType1, 14, 14, 0x7F7F},
      {2, 11, 0x0802, font_flags::kOpenTypeCff, 2, 11, 0x0802},  // CFF outlines are no Type 1
  };
  for (const Case& c : cases) {
    FontItem font;
    font.panose[0] = c.kind;
    font.panose[1] = c.subKind;
    font.familyClass = c.familyClass;
    font.flags = c.flags;
    ClassificationBuilder::NormaliseClassKeys(font);
    EXPECT_EQ(font.panose[0], c.wantKind);
    EXPECT_EQ(font.panose[1], c.wantSub);
    EXPECT_EQ(font.familyClass, c.wantClass);
  }
}

namespace {

Bytes TestFont(const std::wstring& family, const std::wstring& full) {
  return BuildSfnt({{"head", BuildHead()}, {"OS/2", BuildOs2(4)}, {"name", BuildNameTable(WindowsNames(family, L"Regular", full))}});
}

}  // namespace

TEST_F(ClassificationTest, SystemSetsOnlyForFilesThatExist) {
  ScratchDir fonts;
  const std::wstring first = ResourceStringField(IDS_CLASSIFY_SET_FILES, 0);
  WriteFile(fonts.File(first), TestFont(L"Arial", L"Arial"));
  ASSERT_FALSE(builder_.BuildSystemSets(fonts.Path()).empty());
  EXPECT_EQ(DumpRoot(), L"Root([" + LoadResString(IDS_CLASSIFY_SYSTEM_SETS) + L"([" +
                            ResourceStringField(IDS_CLASSIFY_SET_NAMES, 0) + L"(Arial;)])])");
}

namespace {

struct DialogEnv {
  ScratchDir fonts;
  std::wstring savedCase = g_Preferences.FontCaseRoot;
  std::wstring savedFavorites = g_Preferences.FavoriteFolders;
  DialogEnv() {
    g_Preferences.FontCaseRoot = fonts.Path();
    g_Preferences.FavoriteFolders.clear();
    WriteFile(fonts.File(L"one.ttf"), TestFont(L"Alpha", L"Alpha"));
    WriteFile(fonts.File(L"two.ttf"), TestFont(L"Bravo", L"Bravo"));
    WriteFile(fonts.File(L"marlett.ttf"), TestFont(L"Marlett", L"Marlett"));
  }
  ~DialogEnv() {
    g_Preferences.FontCaseRoot = savedCase;
    g_Preferences.FavoriteFolders = savedFavorites;
  }
};

HWND ClassifyDialog() { return FindDialogWithControl(IDC_CLASSIFY_SYSTEM_SETS); }

std::wstring ItemText(HWND dialog, int id) {
  wchar_t text[128]{};
  ::GetDlgItemTextW(dialog, id, text, 128);
  return text;
}

// A script's first step: the groups by initial chosen and the scan started.
bool StartByInitial() {
  HWND d = ClassifyDialog();
  if (!d) return false;
  ::CheckDlgButton(d, IDC_CLASSIFY_BY_INITIAL, BST_CHECKED);
  ClickButton(d, IDOK);
  return true;
}

}  // namespace

TEST_F(ClassificationTest, DialogScansAFolderAndBuildsEachKindOnce) {
  DialogEnv env;
  const std::wstring start = LoadResString(IDS_CLASSIFY_START);
  ModalScript::Run(
      {StartByInitial,
       [&start] {
         HWND d = ClassifyDialog();
         // Scanning until the button shows its start caption again.
         if (!d || ItemText(d, IDOK) != start) return false;
         EXPECT_FALSE(::IsWindowEnabled(::GetDlgItem(d, IDC_CLASSIFY_BY_INITIAL)));
         EXPECT_TRUE(::IsWindowEnabled(::GetDlgItem(d, IDC_CLASSIFY_FOLDER)));
         ::PostMessageW(d, WM_COMMAND, IDCANCEL, 0);
         return true;
       }},
      [] {
        CFontClassificationsDlg dialog;
        dialog.DoModal(nullptr);
      });
  const std::wstring name = LoadResString(IDS_CLASSIFY_BY_INITIAL);
  EXPECT_EQ(DumpRoot(), L"Root([" + name + L"([A(Alpha;)][B(Bravo;)])])");
}

// The worker builds the groups; when their files cannot be written, the dialog tells it once,
// from its own thread, in front of itself, after the scan.
TEST_F(ClassificationTest, DialogTellsAFailedWriteOnceInFrontOfItself) {
  DialogEnv env;
  group_store_seams::SetWriteHook([](HANDLE, const void*, DWORD, DWORD* written) -> BOOL {
    *written = 0;
    ::SetLastError(ERROR_DISK_FULL);
    return FALSE;
  });
  const std::wstring start = LoadResString(IDS_CLASSIFY_START);
  HWND dialog = nullptr;
  size_t boxesWhileScanning = 0;
  ModalScript::Run({[&] { return StartByInitial() && (dialog = ClassifyDialog()) != nullptr; },
                    [&] {
                      if (ItemText(dialog, IDOK) != start) {
                        boxesWhileScanning = std::max(boxesWhileScanning, testing_support::Boxes().size());
                        return false;
                      }
                      ::PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
                      return true;
                    }},
                   [] {
                     CFontClassificationsDlg classify;
                     classify.DoModal(nullptr);
                   });
  group_store_seams::SetWriteHook(nullptr);
  EXPECT_EQ(boxesWhileScanning, 0u) << "nothing is told while the worker writes";
  ASSERT_EQ(testing_support::Boxes().size(), 1u);
  EXPECT_EQ(testing_support::Boxes()[0].owner, dialog);
  EXPECT_NE(testing_support::Boxes()[0].text.find(LoadResString(IDS_GROUP_FILE_FAILED)), std::wstring::npos);
  EXPECT_FALSE(HasPendingGroupFileNotices()) << "and not told again by the main window";
}

TEST_F(ClassificationTest, DialogClosedDuringTheScanBuildsNothing) {
  DialogEnv env;
  ModalScript::Run({[] {
                     HWND d = ClassifyDialog();
                     if (!d) return false;
                     ::CheckDlgButton(d, IDC_CLASSIFY_BY_PANOSE, BST_CHECKED);
                     ClickButton(d, IDOK);
                     // Esc while the walk runs: the dialog stops and joins it, then ends.
                     ::SendMessageW(d, WM_COMMAND, IDCANCEL, 0);
                     return true;
                   }},
                   [] {
                     CFontClassificationsDlg dialog;
                     dialog.DoModal(nullptr);
                   });
  EXPECT_EQ(DumpRoot(), L"Root()");
}

namespace {

// The builders' third save (the root, the kind group, then the first letter group) waits until
// the test lets it go: the window must still answer while the worker is held there.
struct HeldBuild {
  static inline std::atomic<int> saves{0};
  static inline HANDLE reached = nullptr;
  static inline HANDLE go = nullptr;
  static constexpr DWORD kLongestHoldMs = 10000;  // only so that a failing test cannot hang

  HeldBuild() {
    saves = 0;
    reached = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    go = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    group_store_seams::SetWriteHook([](HANDLE file, const void* data, DWORD size, DWORD* written) -> BOOL {
      if (++saves == 3) {
        ::SetEvent(reached);
        ::WaitForSingleObject(go, kLongestHoldMs);
      }
      return ::WriteFile(file, data, size, written, nullptr);
    });
  }
  ~HeldBuild() {
    group_store_seams::SetWriteHook(nullptr);
    ::CloseHandle(reached);
    ::CloseHandle(go);
  }
  static bool Reached() { return ::WaitForSingleObject(reached, 0) == WAIT_OBJECT_0; }
};

std::wstring StatusText(HWND dialog, int part) {
  wchar_t text[256]{};
  HWND bar = ::FindWindowExW(dialog, nullptr, STATUSCLASSNAMEW, nullptr);
  if (bar) ::SendMessageW(bar, SB_GETTEXTW, static_cast<WPARAM>(part), reinterpret_cast<LPARAM>(text));
  return text;
}

}  // namespace

TEST_F(ClassificationTest, DialogPaintsWhileTheGroupsAreBuiltAndStopsThemBetweenFonts) {
  DialogEnv env;
  HeldBuild held;
  ModalScript::Run(
      {StartByInitial,
       [] {
         if (!HeldBuild::Reached()) return false;
         // The builders are held inside a save, and the dialog still paints and answers.
         HWND d = ClassifyDialog();
         ::RedrawWindow(d, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
         RECT dirty{};
         EXPECT_FALSE(::GetUpdateRect(d, &dirty, FALSE));
         EXPECT_EQ(ItemText(d, IDOK), LoadResString(IDS_CLASSIFY_STOP));
         EXPECT_EQ(ItemText(d, IDC_CLASSIFY_PROGRESS), LoadResString(IDS_CLASSIFY_BUILDING));
         ClickButton(d, IDOK);
         ::SetEvent(HeldBuild::go);
         return true;
       },
       [] {
         HWND d = ClassifyDialog();
         if (!d || ItemText(d, IDOK) != LoadResString(IDS_CLASSIFY_START)) return false;
         EXPECT_EQ(StatusText(d, CFontClassificationsDlg::kStatusTextPart), LoadResString(IDS_CLASSIFY_STOPPED));
         EXPECT_FALSE(::IsWindowEnabled(::GetDlgItem(d, IDC_CLASSIFY_BY_INITIAL))) << "a kind is built once";
         ::PostMessageW(d, WM_COMMAND, IDCANCEL, 0);
         return true;
       }},
      [] {
        CFontClassificationsDlg dialog;
        dialog.DoModal(nullptr);
      });
  // The stop came while the first letter group was saved: the second font was never reached,
  // and the kind group was still saved with what was built.
  EXPECT_EQ(DumpRoot(), L"Root([" + LoadResString(IDS_CLASSIFY_BY_INITIAL) + L"([A(Alpha;)])])");
}

static int g_beeps = 0;

TEST_F(ClassificationTest, DialogWithNothingChosenOnlyBeeps) {
  DialogEnv env;
  g_beeps = 0;
  seams::SetBeepSink([](UINT) { ++g_beeps; });
  ModalScript::Run({[] {
                     HWND d = ClassifyDialog();
                     if (!d) return false;
                     ClickButton(d, IDOK);
                     EXPECT_EQ(g_beeps, 1);
                     EXPECT_EQ(ItemText(d, IDOK), LoadResString(IDS_CLASSIFY_START));
                     ::CheckDlgButton(d, IDC_CLASSIFY_SYSTEM_SETS, BST_CHECKED);
                     ::SendMessageW(d, WM_COMMAND, IDC_CLASSIFY_SYSTEM_SETS, 0);
                     EXPECT_FALSE(::IsWindowEnabled(::GetDlgItem(d, IDC_CLASSIFY_BY_INITIAL)));
                     EXPECT_FALSE(::IsWindowEnabled(::GetDlgItem(d, IDC_CLASSIFY_FOLDER)));
                     ::PostMessageW(d, WM_COMMAND, IDCANCEL, 0);
                     return true;
                   }},
                   [] {
                     CFontClassificationsDlg dialog;
                     dialog.DoModal(nullptr);
                   });
  seams::SetBeepSink(nullptr);
  EXPECT_EQ(DumpRoot(), L"Root()");
}

TEST(ClassifyScanWorker, RootsPutTheWantedFontsFoldersFirst) {
  ClassifyScanWorker::Options o;
  o.roots = L"D:\\A|D:\\B";
  o.systemFonts = L"C:\\Windows\\Fonts";
  o.userFonts = L"C:\\Users\\u\\Fonts";
  EXPECT_EQ(ClassifyScanWorker::BuildRoots(o), L"D:\\A|D:\\B");
  o.wantUser = true;
  EXPECT_EQ(ClassifyScanWorker::BuildRoots(o), L"C:\\Users\\u\\Fonts|D:\\A|D:\\B");
  o.wantSystem = true;
  EXPECT_EQ(ClassifyScanWorker::BuildRoots(o), L"C:\\Windows\\Fonts|C:\\Users\\u\\Fonts|D:\\A|D:\\B");
}

// The system Fonts folder is read once, as the first root, though the chosen folder holds it.
TEST(ClassifyScanWorker, WantedFontsFolderReadOnce) {
  ScratchDir dir;
  const std::wstring fonts = dir.File(L"Fonts");
  ::CreateDirectoryW(fonts.c_str(), nullptr);
  WriteFile(fonts + L"\\one.ttf", TestFont(L"Alpha", L"Alpha"));
  WriteFile(dir.File(L"two.ttf"), TestFont(L"Bravo", L"Bravo"));
  WriteFile(fonts + L"\\marlett.ttf", TestFont(L"Marlett", L"Marlett"));
  ClassifyScanWorker worker;
  ClassifyScanWorker::Options o;
  o.roots = dir.Path();
  o.systemFonts = fonts;
  o.wantSystem = true;
  ASSERT_TRUE(worker.StartScan(o));
  worker.WaitForWalk();
  std::vector<std::wstring> names;
  for (const FontItemListEntry& e : worker.Collected().Entries())
    names.push_back(e.record.FullName() + L"*" + std::to_wstring(e.count));
  EXPECT_EQ(names, (std::vector<std::wstring>{L"Alpha*1", L"Bravo*1"}));
}
