// Copies and deletes of font files through the shell's file operation under Wine.
#include <gtest/gtest.h>
#include <shlwapi.h>

#include "app/AppState.h"
#include "common/ResString.h"
#include "common/ResourceIds.h"
#include "fonts/FontFileCommand.h"
#include "lists/FontItemList.h"
#include "tests/support/SfntBuilder.h"
#include "tests/support/TestSupport.h"

using testing_support::ScratchDir;

namespace {

const std::wstring kDejaVuSans = L"Z:\\usr\\share\\fonts\\truetype\\dejavu\\DejaVuSans.ttf";

FontItem FileRecord(const std::wstring& folder, const std::wstring& name, uint32_t flags = 0xC0000001) {
  FontItem r;
  r.displayName = name;
  r.names.English(NameSlot::FullName) = name;
  r.folder = folder;
  r.fileRef = name;
  r.fullPath = folder + L"\\" + name;
  r.flags = flags;
  return r;
}

}  // namespace

TEST(FontFileCommand, CopyIntoTheFontsOwnFolderCopiesNothing) {
  ScratchDir dir;
  ASSERT_TRUE(::CopyFileW(kDejaVuSans.c_str(), dir.File(L"a.ttf").c_str(), FALSE));
  // The folder in any of the forms a caller may give it.
  for (const std::wstring& target : {dir.Path(), dir.Path() + L"\\", dir.Path() + L"\\\\"}) {
    SCOPED_TRACE(testing_support::Narrow(target));
    FontItemList items;
    items.AddUnique(FileRecord(dir.Path(), L"a.ttf"), 0);
    FontFileCommand command(&items, FontFileCommand::kCopy, 21001);
    EXPECT_EQ(command.RunToFolder(target, FOF_NOCONFIRMATION | FOF_SILENT), 0);
    EXPECT_FALSE(items.Entries().front().marked);
  }
}

// The target folder comes from the prompt the application supplies, asked with the command's
// title and the start folder; a cancelled prompt copies nothing.
struct PromptRecord {
  static inline std::wstring title, start, answer;
  static bool Ask(const std::wstring& t, std::wstring& folder) {
    title = t;
    start = folder;
    folder = answer;
    return !answer.empty();
  }
};

TEST(FontFileCommand, TargetFolderComesFromTheApplicationsPrompt) {
  ScratchDir from, to;
  ASSERT_TRUE(::CopyFileW(kDejaVuSans.c_str(), from.File(L"a.ttf").c_str(), FALSE));
  FontFileCommand::SetFolderPrompt(&PromptRecord::Ask);
  for (const std::wstring& answer : {std::wstring(), to.Path()}) {
    FontItemList items;
    items.AddUnique(FileRecord(from.Path(), L"a.ttf"), 0);
    FontFileCommand command(&items, FontFileCommand::kCopy, IDS_COPY_FONTS_CAPTION);
    PromptRecord::answer = answer;
    EXPECT_EQ(command.AskTargetAndRun(from.Path()), answer.empty() ? 0 : 1);
    EXPECT_EQ(PromptRecord::title, LoadResString(IDS_COPY_FONTS_CAPTION));
    EXPECT_EQ(PromptRecord::start, from.Path());
    EXPECT_EQ(::PathFileExistsW(to.File(L"a.ttf").c_str()) != FALSE, !answer.empty());
  }
  FontFileCommand::SetFolderPrompt(nullptr);
}

TEST(FontFileCommand, CopyTakesBothFilesOfAType1FontAndEachFileOnce) {
  ScratchDir from;
  ScratchDir to;
  sfnt_test::WriteFile(from.File(L"t.pfm"), sfnt_test::MinimalPfm());
  sfnt_test::WriteFile(from.File(L"t.pfb"), sfnt_test::BuildPfb(sfnt_test::Type1ClearText("/FontName /T def")));
  ASSERT_TRUE(::CopyFileW(kDejaVuSans.c_str(), from.File(L"c.ttc").c_str(), FALSE));
  FontItemList items;
  FontItem type1 = FileRecord(from.Path(), L"t.pfm", 0xC0000004);
  type1.pfbPath = from.File(L"t.pfb");
  items.AddUnique(type1, 0);
  items.AddUnique(FileRecord(from.Path(), L"c.ttc", 0xC0000081), 1);
  FontItem secondFace = FileRecord(from.Path(), L"c.ttc", 0xC0000081);
  secondFace.displayName = L"other face";
  secondFace.names.English(NameSlot::FullName) = L"other face";
  items.AddUnique(secondFace, 2);
  ASSERT_EQ(items.Count(), 3u);
  FontFileCommand command(&items, FontFileCommand::kCopy, 21001);
  EXPECT_EQ(command.RunToFolder(to.Path(), FOF_NOCONFIRMATION | FOF_SILENT), 1);
  for (const wchar_t* name : {L"t.pfm", L"t.pfb", L"c.ttc"}) EXPECT_TRUE(::PathFileExistsW(to.File(name).c_str()));
  // The second face of the collection named the same file: left out of the sources.
  EXPECT_FALSE(items.Entries().back().marked);
  const std::wstring expected = from.File(L"t.pfm") + L'\0' + from.File(L"t.pfb") + L'\0' + from.File(L"c.ttc") +
                                L'\0' + L'\0';
  EXPECT_EQ(command.Sources(), expected);
}

TEST(FontFileCommand, DeleteWarnsWhenNothingCanBeDeleted) {
  testing_support::ResetRecords();
  FontItemList items;
  items.AddUnique(FileRecord(L"C:\\windows\\Fonts", L"gdi.fon", 0xC0000018), 0);  // raster, GDI only
  FontFileCommand command(&items, FontFileCommand::kDelete, 21000);
  EXPECT_EQ(command.CollectSourcesNoUndo(), 0);
  ASSERT_EQ(testing_support::Boxes().size(), 1u);
  EXPECT_EQ(testing_support::Boxes()[0].type & MB_ICONMASK, static_cast<UINT>(MB_ICONWARNING));
}

TEST(FontFileCommand, SourcesLoadedForDrawingAreUnloadedFirst) {
  ScratchDir dir;
  // A font of its own name: a copy of an installed one would add no face to load privately.
  ASSERT_TRUE(sfnt_test::WriteTaggedDejaVu(kDejaVuSans, dir.File(L"a.ttf"), "OrvFcu"));
  PrivateFontCache& cache = g_AppState.FontCache;
  cache.SetReady(true);
  cache.Add(dir.File(L"a.ttf"));
  ASSERT_EQ(cache.Count(), 1u);
  FontFileCommand command(nullptr, FontFileCommand::kDelete, 21000);
  command.AddFlags(FOF_NOCONFIRMATION | FOF_SILENT | FOF_NOERRORUI);
  ASSERT_TRUE(command.SetSourcePaths(dir.File(L"a.ttf") + L"|", L'|'));
  EXPECT_TRUE(command.Execute());
  EXPECT_EQ(cache.Count(), 0u);
  EXPECT_FALSE(::PathFileExistsW(dir.File(L"a.ttf").c_str()));
}
