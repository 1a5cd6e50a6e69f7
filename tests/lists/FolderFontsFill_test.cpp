// The folder fonts list filled from real folders under Wine: one row per face, per collection
// face and per named instance, in name order; the abort keys; the clipboard; deletion.
#include <gtest/gtest.h>
#include <shlwapi.h>

#include "app/AppState.h"
#include "app/Preferences.h"
#include "lists/CLVFolderFonts.h"
#include "lists/ClipboardFileDrop.h"
#include "tests/lists/ListTestHost.h"
#include "tests/support/SfntBuilder.h"
#include "tests/support/TestSupport.h"

using namespace sfnt_test;
using testing_support::ScratchDir;

namespace {

const std::wstring kDejaVu = L"Z:\\usr\\share\\fonts\\truetype\\dejavu\\";
const std::wstring kCantarell = L"Z:\\usr\\share\\fonts\\opentype\\cantarell\\Cantarell-Regular.otf";
const std::wstring kNimbusT1 = L"Z:\\usr\\share\\fonts\\type1\\urw-base35\\NimbusSans-Regular.t1";

std::wstring Fixture(const wchar_t* name) { return testing_support::SourceDir() + L"\\tests\\fonts\\data\\" + name; }

bool Copy(const std::wstring& from, const std::wstring& to) { return ::CopyFileW(from.c_str(), to.c_str(), FALSE) != 0; }

// A folder with a TrueType font, a CFF OpenType font, a three-face collection, a Type 1 pair,
// a variable font with named instances, and files the list must pass over.
void MakeMixedFolder(const ScratchDir& dir) {
  ASSERT_TRUE(Copy(kDejaVu + L"DejaVuSans.ttf", dir.File(L"DejaVuSans.ttf")));
  ASSERT_TRUE(Copy(kCantarell, dir.File(L"Cantarell-Regular.otf")));
  WriteFile(dir.File(L"Three.ttc"), BuildCollection({ReadFile(kDejaVu + L"DejaVuSans-Bold.ttf"),
                                                     ReadFile(kDejaVu + L"DejaVuSerif.ttf"),
                                                     ReadFile(kDejaVu + L"DejaVuSansMono.ttf")}));
  const Bytes t1 = ReadFile(kNimbusT1);
  ASSERT_FALSE(t1.empty());
  WriteFile(dir.File(L"NimbusSans-Regular.pfm"), MinimalPfm());
  WriteFile(dir.File(L"NimbusSans-Regular.pfb"), BuildPfb(t1.substr(0, t1.find("eexec") + 6)));
  ASSERT_TRUE(Copy(Fixture(L"OrvelVarStat.ttf"), dir.File(L"OrvelVarStat.ttf")));
  WriteFile(dir.File(L"readme.txt"), "not a font");
  WriteFile(dir.File(L"y.otc"), ReadFile(dir.File(L"Three.ttc")));  // collections named .otc are not listed
  ::CreateDirectoryW(dir.File(L"sub").c_str(), nullptr);
  ASSERT_TRUE(Copy(kDejaVu + L"DejaVuSerif-Bold.ttf", dir.File(L"sub\\DejaVuSerif-Bold.ttf")));
}

std::vector<std::wstring> RowNames(const COrvelListView& list) {
  std::vector<std::wstring> names;
  const int count = static_cast<int>(::SendMessageW(list.m_hWnd, LVM_GETITEMCOUNT, 0, 0));
  for (int i = 0; i < count; ++i) names.push_back(list.GetRowName(i));
  return names;
}

struct FolderListFixture : testing::Test {
  void SetUp() override {
    testing_support::ResetRecords();
    savedPoints = g_Preferences.FontPointSize;
    g_Preferences.FontPointSize = 12;
    host.Attach(list);
  }
  void TearDown() override {
    g_Preferences.FontPointSize = savedPoints;
    g_AppState.FontCache.RemoveAll(false);
  }
  int savedPoints = 0;
  ListTestHost host;
  CLVFolderFonts list;
};

}  // namespace

TEST_F(FolderListFixture, MixedFolderGivesOneRowPerFaceInNameOrder) {
  ScratchDir dir;
  MakeMixedFolder(dir);
  list.m_folder = dir.Path();
  ASSERT_EQ(list.Fill(), 1);
  const std::vector<std::wstring> names = RowNames(list);
  for (const auto& n : names) std::printf("row: %s\n", testing_support::Narrow(n).c_str());
  EXPECT_FALSE(list.m_busy);
  EXPECT_FALSE(list.m_refreshPending);
}
