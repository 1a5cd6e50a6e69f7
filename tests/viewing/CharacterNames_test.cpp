// Character names from a getuname string table (a stand-in built from getuname_standin.rc) and
// the name the character map shows: the getuname name, else the block or the surrogate pair in
// angle brackets, nothing at all without the library.
#include <windows.h>

#include <gtest/gtest.h>

#include "app/AppState.h"
#include "common/ResString.h"
#include "common/ResourceIds.h"
#include "framework/Handles.h"
#include "tests/support/TestSupport.h"
#include "viewing/CCharMapGrid.h"
#include "viewing/LoadUnicodeCharName.h"

namespace {

orv::ScopedModule LoadStandIn() {
  return orv::ScopedModule(::LoadLibraryExW((testing_support::BinDir() + L"\\standin\\getuname.dll").c_str(), nullptr,
                                            LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE));
}

TEST(LoadUnicodeCharName, NamesOfTheStringTable) {
  orv::ScopedModule names = LoadStandIn();
  ASSERT_TRUE(names);
  struct Case {
    uint32_t codePoint;
    const wchar_t* name;  // null: no name, the output stays as it was
  } const cases[] = {
      {0x41, L"LATIN CAPITAL LETTER A"},
      {0xE9, L"LATIN SMALL LETTER E WITH ACUTE"},
      {0xE8, L"LATIN SMALL LETTER E WITH GRAVE"},  // the entry before, in the same block
      {0xEF, L"LATIN SMALL LETTER I WITH DIAERESIS"},  // the last entry of a block
      {0xFFFD, L"REPLACEMENT CHARACTER"},           // the last block there is
      {0xEA, nullptr},                              // an empty entry of a present block
      {0x42, nullptr},
      {0x20AD, nullptr},
      {0x3000, nullptr},                            // a block that is missing
      // Above U+FFFF there are no string identifiers: these blocks would wrap onto U+0041,
      // U+00E9 and U+FFFD.
      {0x100041, nullptr},
      {0x1000E9, nullptr},
      {0x10FFFD, nullptr},
      {0x1F600, nullptr},
      {0xFFFFFFFF, nullptr},
  };
  for (const Case& c : cases) {
    std::wstring out = L"unchanged";
    const bool found = LoadUnicodeCharName(out, names.Get(), c.codePoint);
    EXPECT_EQ(found, c.name != nullptr) << std::hex << c.codePoint;
    EXPECT_EQ(out, c.name ? c.name : L"unchanged") << std::hex << c.codePoint;
  }
  std::wstring out = L"unchanged";
  EXPECT_FALSE(LoadUnicodeCharName(out, nullptr, 0xE9));
  EXPECT_EQ(out, L"unchanged");
}

class CharacterName : public ::testing::Test {
protected:
  void SetUp() override {
    saved_ = g_AppState.BlockTable;
    g_AppState.BlockTable.Clear();
    g_AppState.BlockTable.LoadFromUtf8("0|0|0000|007F|Basic Latin\n1|1|0080|00FF|Latin-1 Supplement\n"
                                       "7|7|0370|03FF|Greek and Coptic\n57|127|10000|1007F|Linear B Syllabary\n");
  }
  void TearDown() override { g_AppState.BlockTable = saved_; }
  std::wstring NameOf(uint32_t codePoint, HMODULE names, bool ucs4) {
    CCharMapGrid grid;
    CCharMapGrid::FontSetup setup;
    setup.ucs4Cmap = ucs4;
    grid.SetFont(setup);
    grid.SetNameModule(names);
    return grid.GetCharacterName(codePoint);
  }
  UnicodeBlockTable saved_;
};

TEST_F(CharacterName, NameBlockOrSurrogatePair) {
  orv::ScopedModule names = LoadStandIn();
  ASSERT_TRUE(names);
  const std::wstring supplementary = LoadResString(IDS_SUPPLEMENTARY_CHAR);
  ASSERT_FALSE(supplementary.empty());
  struct Case {
    uint32_t codePoint;
    bool ucs4;
    std::wstring name;
  } const cases[] = {
      {0xE9, false, L"LATIN SMALL LETTER E WITH ACUTE"},  // getuname names come without brackets
      {0xE9, true, L"LATIN SMALL LETTER E WITH ACUTE"},
      {0xEA, false, L"<Latin-1 Supplement>"},
      {0x3A9, false, L"<Greek and Coptic>"},
      {0x10000, true, L"<Linear B Syllabary>"},           // a block beyond the BMP: no pair
      {0x2000, false, L""},                                // no name, no block
      {0x1F600, false, L"<" + supplementary + L" [xD83D - xDE00]>"},
      {0x1F600, true, L"<" + supplementary + L" [xD83D - xDE00] (UCS-4)>"},
      {0x100041, false, L"<" + supplementary + L" [xDBC0 - xDC41]>"},  // not the name of U+0041
  };
  for (const Case& c : cases) EXPECT_EQ(NameOf(c.codePoint, names.Get(), c.ucs4), c.name) << std::hex << c.codePoint;
  // Without the library there is no name at all, not even a block.
  for (const Case& c : cases) EXPECT_EQ(NameOf(c.codePoint, nullptr, c.ucs4), L"") << std::hex << c.codePoint;
}

}  // namespace
