#include "app/Preferences.h"

#include <gtest/gtest.h>

#include <array>
#include <cstring>

#include "app/WindowLayout.h"
#include "common/ClampRectToVirtualScreen.h"
#include "common/RegistryValue.h"
#include "groups/FontGroup.h"

namespace {

// Each test starts without settings and leaves none behind.
class PrefsRegistry : public ::testing::Test {
protected:
  void SetUp() override {
    ::RegDeleteTreeW(HKEY_CURRENT_USER, kAppKeyPath);
    saved_ = g_Preferences;
    g_Preferences = Preferences{};
  }
  void TearDown() override {
    ::RegDeleteTreeW(HKEY_CURRENT_USER, kAppKeyPath);
    g_Preferences = saved_;
  }
  orv::ScopedKey CreatePrefs() {
    orv::ScopedKey key;
    ::RegCreateKeyExW(HKEY_CURRENT_USER, kPrefsKeyPath, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, key.Receive(), nullptr);
    return key;
  }
  Preferences saved_;
};

TEST_F(PrefsRegistry, DefaultsWithoutKeyAndGroupsFolderStaysEmpty) {
  LoadPreferences();
  EXPECT_EQ(g_Preferences.FontPointSize, 12);
  EXPECT_EQ(g_Preferences.StyleFlags, 0x72u);
  EXPECT_EQ(g_Preferences.FontInstallFlags, 0x30u);
  EXPECT_EQ(g_Preferences.InstallThreshold, 0u);
  EXPECT_EQ(g_Preferences.TreeViewFlags, 0u);
  EXPECT_EQ(g_Preferences.FontCacheSize, 2000);
  const COLORREF expected[] = {0xFF8000, 0x8040B8, 0x40A8FF, 0x4000FF, 0x40B800, ::GetSysColor(COLOR_3DLIGHT)};
  for (int i = 0; i < kColorCount; ++i) EXPECT_EQ(g_Preferences.Colors[i], expected[i]) << i;
  EXPECT_TRUE(g_Preferences.GroupsFolder.empty());
  EXPECT_TRUE(g_Preferences.FontCaseRoot.empty());
}

TEST_F(PrefsRegistry, StoredValuesAndTypeRules) {
  orv::ScopedKey key = CreatePrefs();
  ASSERT_TRUE(key);
  WriteRegDword(key.Get(), L"FontPointSize", 18);
  WriteRegDword(key.Get(), L"FontCacheSize", 50);
  WriteRegString(key.Get(), L"StyleFlags", L"1");       // wrong type: default stays
  const BYTE shortDword[2] = {1, 0};
  WriteRegBinary(key.Get(), L"InstallThreshold", shortDword, 2);
  const COLORREF colors[6] = {1, 2, 3, 4, 5, 6};
  WriteRegBinary(key.Get(), L"Colors", colors, sizeof(colors));
  LoadPreferences();
  EXPECT_EQ(g_Preferences.FontPointSize, 18);
  EXPECT_EQ(g_Preferences.FontCacheSize, 50);
  EXPECT_EQ(g_Preferences.StyleFlags, 0x72u);
  EXPECT_EQ(g_Preferences.InstallThreshold, 0u);
  EXPECT_EQ(g_Preferences.Colors[5], 6u);
  EXPECT_FALSE(g_Preferences.GroupsFolder.empty());
  EXPECT_NE(g_Preferences.GroupsFolder.find(L"\\Orvel Font Manager\\Font Groups"), std::wstring::npos);
  EXPECT_NE(g_Preferences.GroupsFolder.back(), L'\\');
  // The group store keeps its files there.
  EXPECT_EQ(FontGroup().GroupsFolder, g_Preferences.GroupsFolder);
}

TEST_F(PrefsRegistry, FontPointSizeOutOfTheOptionsRangeKeepsTheDefault) {
  orv::ScopedKey key = CreatePrefs();
  const struct {
    DWORD stored;
    int32_t loaded;
  } cases[] = {{4, 4}, {240, 240}, {18, 18}, {3, 12}, {241, 12}, {0, 12}, {0xFFFFFFFF, 12}, {100000, 12},
               {0x7FFFFFFF, 12}, {0x80000000, 12}};
  for (const auto& c : cases) {
    WriteRegDword(key.Get(), L"FontPointSize", c.stored);
    LoadPreferences();
    EXPECT_EQ(g_Preferences.FontPointSize, c.loaded) << c.stored;
  }
}

TEST_F(PrefsRegistry, ColorsOfWrongSizeOrNotRgbKeepDefaults) {
  orv::ScopedKey key = CreatePrefs();
  const COLORREF shortColors[3] = {1, 2, 3};
  WriteRegBinary(key.Get(), L"Colors", shortColors, sizeof(shortColors));
  LoadPreferences();
  EXPECT_EQ(g_Preferences.Colors[0], 0xFF8000u);
  const COLORREF bad[6] = {1, 2, 3, 0xFF000000, 5, 6};
  WriteRegBinary(key.Get(), L"Colors", bad, sizeof(bad));
  LoadPreferences();
  EXPECT_EQ(g_Preferences.Colors[0], 0xFF8000u);
}

TEST_F(PrefsRegistry, FontCaseRootBackslashRuleForSzAndExpandSz) {
  orv::ScopedKey key = CreatePrefs();
  struct Case {
    DWORD type;
    const wchar_t* stored;
    const wchar_t* loaded;
  } cases[] = {
      {REG_SZ, L"D:\\Fonts\\", L"D:\\Fonts"},
      {REG_SZ, L"D:", L"D:\\"},
      {REG_EXPAND_SZ, L"%SystemDrive%\\Fonts", L"%SystemDrive%\\Fonts"},  // kept unexpanded
      {REG_SZ, L"C:\\", L"C:\\"},
  };
  for (const Case& c : cases) {
    const std::wstring v = c.stored;
    ::RegSetValueExW(key.Get(), L"FontCaseRoot", 0, c.type, reinterpret_cast<const BYTE*>(v.c_str()),
                     static_cast<DWORD>((v.size() + 1) * 2));
    LoadPreferences();
    EXPECT_EQ(g_Preferences.FontCaseRoot, c.loaded);
  }
  // An unterminated string of odd size still reads, and ends where the data ends.
  const BYTE raw[] = {'X', 0, ':', 0, '\\', 0, 'A', 0, 'b'};
  ::RegSetValueExW(key.Get(), L"FontCaseRoot", 0, REG_SZ, raw, sizeof(raw));
  LoadPreferences();
  EXPECT_EQ(g_Preferences.FontCaseRoot.substr(0, 4), L"X:\\A");
}

TEST_F(PrefsRegistry, OptionsRoundTripOnlyWhenChanged) {
  CreatePrefs();
  LoadPreferences();
  g_Preferences.FontPointSize = 20;
  g_Preferences.FontCaseRoot = L"E:\\Case";
  SaveOptionPreferences();  // not changed: nothing written
  LoadPreferences();
  EXPECT_EQ(g_Preferences.FontPointSize, 12);

  g_Preferences.FontPointSize = 20;
  g_Preferences.Colors[2] = 0x123456;
  g_Preferences.FontCaseRoot = L"E:\\Case";
  g_Preferences.Changed = true;
  SaveOptionPreferences();
  EXPECT_FALSE(g_Preferences.Changed);
  LoadPreferences();
  EXPECT_EQ(g_Preferences.FontPointSize, 20);
  EXPECT_EQ(g_Preferences.Colors[2], 0x123456u);
  EXPECT_EQ(g_Preferences.FontCaseRoot, L"E:\\Case");
}

TEST(WindowLayoutDefaults, ScreenSizes) {
  const WindowLayout big = DefaultWindowLayout(1920, 1080);
  EXPECT_EQ(big.WindowRect.left, 50);
  EXPECT_EQ(big.WindowRect.top, 50);
  EXPECT_EQ(big.WindowRect.right, 950);
  EXPECT_EQ(big.WindowRect.bottom, 750);
  EXPECT_EQ(big.MainSplitterPos, 300);
  EXPECT_EQ(big.SampleSplitterPos, 388);
  EXPECT_EQ(big.ListsSplitterPos, -1);
  EXPECT_EQ(big.TreesSplitterPos, -1);
  EXPECT_EQ(big.MainSinglePane, -1);
  EXPECT_EQ(big.StatusBarShown, 1);
  EXPECT_EQ(big.ToolbarShown, 1);
  EXPECT_EQ(big.Maximized, 0);
  EXPECT_EQ(big.RebarRect.right, big.RebarRect.left);

  const WindowLayout small = DefaultWindowLayout(800, 600);
  EXPECT_EQ(small.WindowRect.right, 750);
  EXPECT_EQ(small.WindowRect.bottom, 550);
  EXPECT_EQ(small.MainSplitterPos, 233);
  EXPECT_EQ(small.SampleSplitterPos, 277);
}

// The first window at other densities: the 96-DPI rectangle scaled (margins, least and most
// sizes), then moved and cut into the work area; the splitters share out what is left.
TEST(WindowLayoutDefaults, ScaledToTheDensityAndKeptInTheWorkArea) {
  const struct {
    int width, height, dpi;
    RECT work;  // empty: the whole screen
    RECT window;
    int32_t main, sample;
  } cases[] = {
      {800, 600, 96, {0, 0, 800, 560}, {50, 50, 750, 550}, 233, 277},
      {1920, 1080, 120, {}, {63, 63, 1017, 938}, 318, 486},
      {1366, 768, 120, {}, {63, 63, 938, 705}, 291, 356},
      {1366, 768, 120, {0, 0, 1366, 728}, {63, 63, 938, 705}, 291, 356},
      {1600, 1000, 144, {}, {75, 75, 1125, 925}, 350, 472},
      {1024, 768, 144, {}, {0, 18, 1024, 768}, 341, 416},
      {1024, 768, 144, {0, 0, 1024, 728}, {0, 0, 1024, 728}, 341, 404},
      {1024, 768, 144, {0, 40, 1024, 768}, {0, 40, 1024, 768}, 341, 404},  // a bar along the top
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.width) + "x" + std::to_string(c.height) + " at " + std::to_string(c.dpi));
    const WindowLayout l = DefaultWindowLayout(c.width, c.height, c.dpi, ::IsRectEmpty(&c.work) ? nullptr : &c.work);
    EXPECT_TRUE(::EqualRect(&l.WindowRect, &c.window))
        << l.WindowRect.left << "," << l.WindowRect.top << "," << l.WindowRect.right << "," << l.WindowRect.bottom;
    EXPECT_EQ(l.MainSplitterPos, c.main);
    EXPECT_EQ(l.SampleSplitterPos, c.sample);
  }
}

// A stored layout fitted to a 1600 x 1000 screen: at least the least size and on the screen, each
// bar leaving the least pane size on both sides (80 at 96 DPI, and the font lists' room right of
// the main bar), a rebar wider than the window gone. A layout that fits is kept exactly as stored,
// at any density.
TEST(WindowLayoutFit, WindowOnScreenAndBarsWithinIt) {
  const struct {
    RECT window;
    uint8_t maximized;
    int32_t pos;  // all four bars
    RECT fitted;
    int32_t main, lists, trees, sample;
    int dpi;
  } cases[] = {
      {{10, 10, 11, 11}, 0, 99999, {10, 10, 360, 310}, 182, 266, 216, 216, 96},
      {{100, 80, 700, 500}, 0, 222, {100, 80, 700, 500}, 222, 222, 222, 222, 96},
      {{0, 0, 800, 600}, 0, 5, {0, 0, 800, 600}, 80, 80, 80, 80, 96},
      {{1500, 900, 1600, 950}, 0, -1, {1250, 700, 1600, 1000}, -1, -1, -1, -1, 96},
      {{-100, -100, 5000, 5000}, 0, 4000, {0, 0, 1600, 1000}, 1432, 1516, 916, 916, 96},
      {{10, 10, 11, 11}, 1, 900, {10, 10, 360, 310}, 900, 900, 900, 900, 96},  // maximised: the screen's room
      {{10, 10, 11, 11}, 0, 99999, {10, 10, 448, 385}, 230, 334, 271, 271, 120},
      {{100, 80, 700, 500}, 0, 222, {100, 80, 700, 500}, 222, 222, 222, 222, 120},
      {{0, 0, 800, 600}, 0, 5, {0, 0, 800, 600}, 100, 100, 100, 100, 120},
      {{10, 10, 11, 11}, 0, -1, {10, 10, 535, 460}, -1, -1, -1, -1, 144},
      {{1200, 700, 1600, 1000}, 0, 150, {1075, 550, 1600, 1000}, 150, 150, 150, 150, 144},
  };
  for (const auto& c : cases) {
    WindowLayout l = DefaultWindowLayout(1600, 1000);
    l.WindowRect = c.window;
    l.Maximized = c.maximized;
    l.MainSplitterPos = l.ListsSplitterPos = l.TreesSplitterPos = l.SampleSplitterPos = c.pos;
    l.RebarRect = {0, 0, 1000, 50};
    FitWindowLayout(l, {0, 0, 1600, 1000}, c.dpi);
    EXPECT_TRUE(::EqualRect(&l.WindowRect, &c.fitted)) << c.window.left << " " << c.pos << " at " << c.dpi;
    EXPECT_EQ((std::array{l.MainSplitterPos, l.ListsSplitterPos, l.TreesSplitterPos, l.SampleSplitterPos}),
              (std::array{c.main, c.lists, c.trees, c.sample}))
        << c.window.left << " " << c.pos << " at " << c.dpi;
    EXPECT_EQ(l.RebarRect.right, c.window.right - c.window.left < 1000 && !c.maximized ? 0 : 1000);
  }
}

TEST(ClampRect, OneAndTwoScreens) {
  RECT big{0, 0, 3000, 2000};
  ClampRectToArea(big, 0, 0, 1920, 1080);
  EXPECT_EQ(big.right, 1920);
  EXPECT_EQ(big.bottom, 1080);
  RECT left{-900, 100, -100, 500};
  ClampRectToArea(left, 0, 0, 1920, 1080);
  EXPECT_EQ(left.left, 0);
  EXPECT_EQ(left.right, 800);
  // Two screens side by side, the second left of the primary.
  RECT onSecond{-1500, 100, -700, 600};
  ClampRectToArea(onSecond, -1920, 0, 3840, 1080);
  EXPECT_EQ(onSecond.left, -1500);
  RECT below{200, 1000, 800, 1400};
  ClampRectToArea(below, -1920, 0, 3840, 1080);
  EXPECT_EQ(below.bottom, 1080);
  EXPECT_EQ(below.top, 680);
}

}  // namespace
