// The copy of font files and group files through the shell: the layouts of the destination,
// the folders named from PANOSE and the OS/2 family class, the group files' pattern, the
// messages for nothing to copy, and fonts this program loaded from a file that is replaced.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "app/AppState.h"
#include "common/ResString.h"
#include "common/ResourceIds.h"
#include "common/Seams.h"
#include "common/StringHelpers.h"
#include "groups/FontFileOperation.h"
#include "tests/support/SfntBuilder.h"
#include "tests/support/TestSupport.h"

using namespace sfnt_test;
using testing_support::Boxes;
using testing_support::Narrow;
using testing_support::ScratchDir;

namespace {

// A small TrueType font whose OS/2 table holds these PANOSE bytes and family class.
Bytes FontWith(uint8_t kind, uint8_t second, uint16_t familyClass) {
  Bytes os2 = BuildOs2(3);
  SetU16(os2, 30, familyClass);
  os2[32] = static_cast<char>(kind);
  os2[33] = static_cast<char>(second);
  return BuildSfnt({{"OS/2", os2}, {"head", BuildHead()}, {"name", BuildNameTable(WindowsNames(L"Probe", L"Regular", L"Probe"))}});
}

bool Exists(const std::wstring& path) { return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

void Put(const std::wstring& path, const Bytes& bytes = FontWith(2, 11, 0x0805)) {
  std::wstring folder = path;
  CutLastPathComponent(folder);
  ::SHCreateDirectoryExW(nullptr, folder.c_str(), nullptr);
  WriteFile(path, bytes);
}

std::wstring Field(UINT id, size_t index) { return ResourceStringField(id, index); }

class CopyTest : public ::testing::Test {
protected:
  void SetUp() override { testing_support::ResetRecords(); }
  void TearDown() override {
    seams::SetSystemCalls(nullptr);
    testing_support::ResetRecords();
  }
  std::wstring Src(const std::wstring& rel) const { return source_.File(rel); }
  std::wstring Dst(const std::wstring& rel) const { return target_.File(rel); }

  ScratchDir source_;
  ScratchDir target_;
};

}  // namespace

TEST(FontFileOperationFolders, PerTypeFoldersByExtensionAndFontData) {
  ScratchDir dir;
  Put(dir.File(L"p9.ttf"), FontWith(9, 3, 0x0800));            // kind above 6 reads as 0
  Put(dir.File(L"p2.ttf"), FontWith(2, 20, 0x0805));           // second byte above 15 reads as 0
  Put(dir.File(L"p3.otf"), FontWith(3, 8, 0x1203));            // class above 14 reads as 14
  Put(dir.File(L"none.ttf"), FontWith(0, 0, 0));
  Put(dir.File(L"broken.ttf"), Bytes("not a font"));
  FontFileOperation op;
  const std::wstring folder = dir.Path();
  struct Case {
    const wchar_t* name;
    std::wstring plain, panose, panose2, classes;
  } cases[] = {
      {L"a.ttf", L"ttf-otf", L"", L"", L""},  // missing file: the destination root
      {L"G.TTF", L"ttf-otf", L"", L"", L""},
      {L"c.ttc", L"ttf-otf", L"", L"", L""},
      {L"d.pfm", L"psfonts", L"psfonts", L"psfonts", L"psfonts"},
      {L"D.PFB", L"psfonts", L"psfonts", L"psfonts", L"psfonts"},
      {L"e.tte", L"EUDC", L"EUDC", L"EUDC", L"EUDC"},
      {L"f.euf", L"EUDC", L"EUDC", L"EUDC", L"EUDC"},
      {L"x.fon", LoadResString(IDS_PROP_UNKNOWN), LoadResString(IDS_PROP_UNKNOWN), LoadResString(IDS_PROP_UNKNOWN),
       LoadResString(IDS_PROP_UNKNOWN)},
      {L"p9.ttf", L"ttf-otf", Field(IDS_PANOSE_FAMILY_KINDS, 0), Field(IDS_PANOSE_FAMILY_KINDS, 0),
       Field(IDS_FAMILY_CLASSES, 8)},
      {L"p2.ttf", L"ttf-otf", Field(IDS_PANOSE_FAMILY_KINDS, 2),
       Field(IDS_PANOSE_FAMILY_KINDS, 2) + L"\\" + Field(IDS_PANOSE_SERIF_STYLE, 0),
       Field(IDS_FAMILY_CLASSES, 8) + L"\\" + Field(IDS_FAMILY_CLASSES + 8, 5)},
      // "Felt pen/brush tip": the slash cannot open a folder level of its own.
      {L"p3.otf", L"ttf-otf", Field(IDS_PANOSE_FAMILY_KINDS, 3), Field(IDS_PANOSE_FAMILY_KINDS, 3) + L"\\Felt pen-brush tip",
       Field(IDS_FAMILY_CLASSES, 14) + L"\\" + Field(IDS_FAMILY_CLASSES + 14, 0)},  // "?": field 0
      {L"none.ttf", L"ttf-otf", Field(IDS_PANOSE_FAMILY_KINDS, 0), Field(IDS_PANOSE_FAMILY_KINDS, 0), L""},
      {L"broken.ttf", L"ttf-otf", L"", L"", L""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing_support::Narrow(c.name));
    op.m_panoseFolders = op.m_panoseSecondLevel = op.m_classificationFolders = false;
    EXPECT_EQ(op.TypeFolder(folder, c.name), c.plain);
    op.m_panoseFolders = true;
    EXPECT_EQ(op.TypeFolder(folder, c.name), c.panose);
    op.m_panoseSecondLevel = true;
    EXPECT_EQ(op.TypeFolder(folder, c.name), c.panose2);
    op.m_classificationFolders = true;  // wins over PANOSE
    EXPECT_EQ(op.TypeFolder(folder, c.name), c.classes);
  }
}

// Every subclass and second-level string has the sixteen fields the lookups count on, so that a
// field past the named ones is a "?" placeholder and never a neighbour's name.
TEST(FontFileOperationFolders, NameStringsHoldEveryField) {
  for (UINT id = IDS_FAMILY_CLASSES + 1; id <= IDS_FAMILY_CLASSES + 14; ++id) {
    EXPECT_FALSE(Field(id, 15).empty()) << id;
    EXPECT_TRUE(Field(id, 16).empty()) << id;
  }
  for (UINT id = IDS_PANOSE_SERIF_STYLE; id <= IDS_PANOSE_SERIF_STYLE + 4; ++id) EXPECT_FALSE(Field(id, 15).empty()) << id;
  EXPECT_FALSE(Field(IDS_FAMILY_CLASSES, 14).empty());
  EXPECT_EQ(Field(IDS_FAMILY_CLASSES + 9, 15), L"Miscellaneous");
}

TEST_F(CopyTest, LayoutsPlaceEveryFontAndRootsAreNormalised) {
  Put(Src(L"a.ttf"));
  Put(Src(L"x\\y\\b.otf"));
  Put(Src(L"x\\d.pfm"), Bytes("pfm"));
  Put(Src(L"x\\d.pfb"), Bytes("pfb"));
  Put(Src(L"x\\notes.txt"), Bytes("text"));
  struct Layout {
    bool mirror, flat;
    std::vector<std::wstring> expected;
  } layouts[] = {
      {true, false, {L"m\\a.ttf", L"m\\x\\y\\b.otf", L"m\\x\\d.pfm", L"m\\x\\d.pfb"}},
      {false, true, {L"f\\a.ttf", L"f\\b.otf", L"f\\d.pfm", L"f\\d.pfb"}},
      {false, false, {L"t\\ttf-otf\\a.ttf", L"t\\ttf-otf\\b.otf", L"t\\psfonts\\d.pfm", L"t\\psfonts\\d.pfb"}},
  };
  for (const Layout& layout : layouts) {
    const std::wstring sub = layout.expected[0].substr(0, 1);
    FontFileOperation op;
    op.m_owner = nullptr;
    op.m_mirrorTree = layout.mirror;
    op.m_flat = layout.flat;
    op.m_recursive = 1;
    op.m_sourceRoot = source_.Path() + L"\\";        // a trailing backslash goes
    op.m_destinationRoot = Dst(sub) + L"\\";
    ASSERT_TRUE(op.CopyFontFiles()) << testing_support::Narrow(sub);
    EXPECT_EQ(op.m_sourceRoot, source_.Path());
    EXPECT_EQ(op.FileCount(), 4);
    EXPECT_TRUE(op.RequestFlags() & FOF_MULTIDESTFILES);
    EXPECT_FALSE(op.RequestFlags() & FOF_NOCONFIRMATION);
    for (const std::wstring& file : layout.expected) EXPECT_TRUE(Exists(Dst(file))) << testing_support::Narrow(file);
    EXPECT_FALSE(Exists(Dst(sub + L"\\x\\notes.txt")));
  }
  EXPECT_TRUE(Boxes().empty());

  std::wstring root;
  ASSERT_TRUE(FontFileOperation::NormaliseRoot(L"D:\\", root));
  EXPECT_EQ(root, L"D:\\") << "a drive root keeps its backslash";
}

TEST_F(CopyTest, NothingToCopyIsToldAndSeveralRootsAreRefused) {
  Put(Src(L"sub\\a.ttf"));  // only in a subfolder, and subfolders are off
  FontFileOperation op;
  op.m_owner = nullptr;
  op.m_sourceRoot = source_.Path();
  op.m_destinationRoot = Dst(L"out");
  EXPECT_FALSE(op.CopyFontFiles());
  ASSERT_EQ(Boxes().size(), 1u);
  EXPECT_EQ(Boxes()[0].caption, LoadResString(IDS_COPY_FONTS_CAPTION));
  EXPECT_NE(Boxes()[0].text.find(LoadResString(IDS_NO_FILES_TO_COPY)), std::wstring::npos);
  EXPECT_FALSE(Exists(Dst(L"out")));

  testing_support::ResetRecords();
  FontFileOperation two;
  two.m_sourceRoot = source_.Path() + L"|" + source_.Path();
  two.m_destinationRoot = Dst(L"out");
  EXPECT_FALSE(two.CopyFontFiles());
  EXPECT_TRUE(Boxes().empty()) << "several roots: refused without a message";
}

TEST_F(CopyTest, GroupFilesOnlyAndTheirCaption) {
  for (const wchar_t* name : {L"orvel_Root.xml", L"orvel_12.xml", L"other.xml", L"orvel_1.txt"})
    Put(Src(name), Bytes("<x/>"));
  Put(Src(L"sub\\orvel_3.xml"), Bytes("<x/>"));
  FontFileOperation op;
  op.m_owner = nullptr;
  ::CreateDirectoryW(Dst(L"backup").c_str(), nullptr);
  ASSERT_TRUE(op.CopyGroupFiles(source_.Path(), Dst(L"backup"), IDS_GROUPS_BACKUP_CAPTION));
  EXPECT_TRUE(Exists(Dst(L"backup\\orvel_Root.xml")));
  EXPECT_TRUE(Exists(Dst(L"backup\\orvel_12.xml")));
  EXPECT_FALSE(Exists(Dst(L"backup\\other.xml")));
  EXPECT_FALSE(Exists(Dst(L"backup\\orvel_1.txt")));
  EXPECT_FALSE(Exists(Dst(L"backup\\orvel_3.xml"))) << "subfolders are not copied";
  EXPECT_FALSE(op.RequestFlags() & (FOF_MULTIDESTFILES | FOF_NOCONFIRMATION));

  FontFileOperation empty;
  empty.m_owner = nullptr;
  EXPECT_FALSE(empty.CopyGroupFiles(Dst(L"nowhere"), source_.Path(), IDS_GROUPS_RESTORE_CAPTION));
  ASSERT_EQ(Boxes().size(), 1u);
  EXPECT_EQ(Boxes()[0].caption, LoadResString(IDS_GROUPS_RESTORE_CAPTION));
}

// A font drawn from a file about to be replaced is unloaded first, and only that one.
TEST_F(CopyTest, OverwriteUnloadsTheFontsLoadedFromReplacedFiles) {
  const std::wstring dejavu = L"Z:\\usr\\share\\fonts\\truetype\\dejavu\\";
  ASSERT_TRUE(::CopyFileW((dejavu + L"DejaVuSans.ttf").c_str(), Src(L"a.ttf").c_str(), FALSE));
  // Fonts of their own names: a copy of an installed font would add no face to load privately.
  ASSERT_TRUE(sfnt_test::WriteTaggedDejaVu(dejavu + L"DejaVuSerif.ttf", Dst(L"a.ttf"), "OrvFoa"));
  ASSERT_TRUE(sfnt_test::WriteTaggedDejaVu(dejavu + L"DejaVuSerif.ttf", Dst(L"kept.ttf"), "OrvFok"));
  PrivateFontCache& cache = g_AppState.FontCache;
  cache.RemoveAll(false);
  cache.Add(Dst(L"a.ttf"));
  cache.Add(Dst(L"kept.ttf"));
  FontFileOperation op;
  op.m_owner = nullptr;
  op.m_flat = true;
  op.m_overwrite = true;
  op.m_sourceRoot = source_.Path();
  op.m_destinationRoot = target_.Path();
  ASSERT_TRUE(op.CopyFontFiles());
  EXPECT_TRUE(op.RequestFlags() & FOF_NOCONFIRMATION);
  EXPECT_EQ(cache.Files(), std::vector<std::wstring>{Dst(L"kept.ttf")});
  EXPECT_EQ(ReadFile(Dst(L"a.ttf")), ReadFile(Src(L"a.ttf"))) << "replaced without a question";
  cache.RemoveAll(false);
}

namespace {

// Every file below `root`: its path relative to `root`, and its bytes.
std::map<std::wstring, Bytes> FilesBelow(const std::wstring& root, const std::wstring& relative = L"") {
  std::map<std::wstring, Bytes> files;
  const std::wstring folder = relative.empty() ? root : root + L"\\" + relative;
  WIN32_FIND_DATAW fd;
  HANDLE find = ::FindFirstFileW((folder + L"\\*").c_str(), &fd);
  if (find == INVALID_HANDLE_VALUE) return files;
  do {
    const std::wstring name = fd.cFileName;
    if (name == L"." || name == L"..") continue;
    const std::wstring below = relative.empty() ? name : relative + L"\\" + name;
    if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
      files.merge(FilesBelow(root, below));
    else
      files[below] = ReadFile(root + L"\\" + below);
  } while (::FindNextFileW(find, &fd));
  ::FindClose(find);
  return files;
}

std::multiset<Bytes> Contents(const std::map<std::wstring, Bytes>& files) {
  std::multiset<Bytes> contents;
  for (const auto& [name, bytes] : files) contents.insert(bytes);
  return contents;
}

// A shell that answers success for files it left where they were, as it does when the user
// declines to replace a file: it copies every file of the request but the one named here.
std::wstring g_declined;
int CopyAllButDeclined(SHFILEOPSTRUCTW* op) {
  const std::wstring pattern = op->pFrom;
  std::wstring folder = pattern;
  CutLastPathComponent(folder);
  WIN32_FIND_DATAW fd;
  HANDLE find = ::FindFirstFileW(pattern.c_str(), &fd);
  if (find == INVALID_HANDLE_VALUE) return 0;
  do {
    if (!EqualsNoCase(fd.cFileName, g_declined))
      ::CopyFileW((folder + L"\\" + fd.cFileName).c_str(), (std::wstring(op->pTo) + L"\\" + fd.cFileName).c_str(), FALSE);
  } while (::FindNextFileW(find, &fd));
  ::FindClose(find);
  return 0;
}

}  // namespace

// Fonts of one file name from different folders, copied into one folder with "replace without
// asking": none replaces another. A later one arrives under a name of its own (the two files of
// a Type 1 font keep one name between them), the same name on every run, and the user is told.
TEST_F(CopyTest, SameNamedFontsFromDifferentFoldersAllArrive) {
  Put(Src(L"x\\a.ttf"), FontWith(2, 1, 0x0101));
  Put(Src(L"y\\a.ttf"), FontWith(2, 2, 0x0102));
  Put(Src(L"y\\z\\A.TTF"), FontWith(2, 3, 0x0103));
  Put(Src(L"z\\a (2).ttf"), FontWith(2, 4, 0x0104));
  for (const wchar_t* folder : {L"x", L"y"}) {
    Put(Src(folder + std::wstring(L"\\d.pfm")), Bytes("pfm ") + Narrow(folder));
    Put(Src(folder + std::wstring(L"\\d.pfb")), Bytes("pfb ") + Narrow(folder));
  }
  const std::map<std::wstring, Bytes> sources = FilesBelow(source_.Path());
  struct Layout {
    bool flat;
    std::wstring sub;  // where the TrueType files go
  } layouts[] = {{true, L"flat"}, {false, L"type\\ttf-otf"}};
  for (const Layout& layout : layouts) {
    SCOPED_TRACE(Narrow(layout.sub));
    const std::wstring destination = Dst(layout.flat ? L"flat" : L"type");
    for (int run = 0; run < 2; ++run) {
      testing_support::ResetRecords();
      FontFileOperation op;
      op.m_owner = nullptr;
      op.m_flat = layout.flat;
      op.m_overwrite = true;
      op.m_recursive = 1;
      op.m_sourceRoot = source_.Path();
      op.m_destinationRoot = destination;
      ASSERT_TRUE(op.CopyFontFiles());
      const std::map<std::wstring, Bytes> copied = FilesBelow(destination);
      EXPECT_EQ(Contents(copied), Contents(sources)) << "every font arrived, none twice";
      // A Type 1 font's files still pair up by name.
      for (const auto& [name, bytes] : copied) {
        if (!EndsWithNoCase(name, L".pfm")) continue;
        const auto outline = copied.find(name.substr(0, name.size() - 4) + L".pfb");
        ASSERT_NE(outline, copied.end()) << Narrow(name);
        EXPECT_EQ(outline->second, "pfb" + bytes.substr(3)) << Narrow(name);
      }
      ASSERT_EQ(Boxes().size(), 1u);
      EXPECT_EQ(Boxes()[0].caption, LoadResString(IDS_COPY_FONTS_CAPTION));
      EXPECT_EQ(Boxes()[0].text.rfind(LoadResString(IDS_COPIED_UNDER_NEW_NAMES), 0), 0u);
      EXPECT_EQ(Boxes()[0].type & MB_ICONMASK, static_cast<UINT>(MB_ICONINFORMATION));
    }
    EXPECT_TRUE(Exists(destination + L"\\" + (layout.flat ? L"" : L"ttf-otf\\") + L"a.ttf"));
  }
}

// What the shell answers is not taken on trust: a copy after which a file is missing in the
// destination, or still differs there, is told and is no success.
TEST_F(CopyTest, ACopyThatLeftFilesOutIsNoSuccess) {
  seams::SystemCalls nothing;
  nothing.fileOperation = [](SHFILEOPSTRUCTW*) { return 0; };
  seams::SetSystemCalls(&nothing);
  Put(Src(L"a.ttf"));
  FontFileOperation fonts;
  fonts.m_owner = nullptr;
  fonts.m_flat = true;
  fonts.m_sourceRoot = source_.Path();
  fonts.m_destinationRoot = Dst(L"fonts");
  EXPECT_FALSE(fonts.CopyFontFiles());
  ASSERT_EQ(Boxes().size(), 1u);
  EXPECT_EQ(Boxes()[0].caption, LoadResString(IDS_COPY_FONTS_CAPTION));
  EXPECT_EQ(Boxes()[0].text.rfind(LoadResString(IDS_FILES_NOT_COPIED), 0), 0u);
  EXPECT_NE(Boxes()[0].text.find(Src(L"a.ttf")), std::wstring::npos) << "the file left out is named";

  // A groups backup into a folder with an older copy of one group, whose replacement the user
  // declined.
  testing_support::ResetRecords();
  Put(Src(L"orvel_Root.xml"), Bytes("<root/>"));
  Put(Src(L"orvel_1.xml"), Bytes("<new/>"));
  Put(Dst(L"groups\\orvel_1.xml"), Bytes("<old/>"));
  seams::SystemCalls declining;
  declining.fileOperation = &CopyAllButDeclined;
  g_declined = L"orvel_1.xml";
  seams::SetSystemCalls(&declining);
  FontFileOperation groups;
  groups.m_owner = nullptr;
  EXPECT_FALSE(groups.CopyGroupFiles(source_.Path(), Dst(L"groups"), IDS_GROUPS_BACKUP_CAPTION));
  EXPECT_EQ(ReadFile(Dst(L"groups\\orvel_Root.xml")), "<root/>");
  ASSERT_EQ(Boxes().size(), 1u);
  EXPECT_EQ(Boxes()[0].caption, LoadResString(IDS_GROUPS_BACKUP_CAPTION));
  EXPECT_NE(Boxes()[0].text.find(Src(L"orvel_1.xml")), std::wstring::npos);
  EXPECT_EQ(Boxes()[0].text.find(Src(L"orvel_Root.xml")), std::wstring::npos);

  // Everything there: a success without a word.
  testing_support::ResetRecords();
  g_declined.clear();
  FontFileOperation again;
  again.m_owner = nullptr;
  EXPECT_TRUE(again.CopyGroupFiles(source_.Path(), Dst(L"groups"), IDS_GROUPS_BACKUP_CAPTION));
  EXPECT_TRUE(Boxes().empty());
  seams::SetSystemCalls(nullptr);
}
