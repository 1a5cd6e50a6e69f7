// The sample window: its information block and optical-size note, the marking of missing
// characters, and a real window under Wine with its stored settings and layouts.
#include "viewing/CSampleWindow.h"

#include <windows.h>

#include <tuple>

#include <gtest/gtest.h>

#include "app/AppState.h"
#include "app/Preferences.h"
#include "common/RegistryValue.h"
#include "fonts/FontFileReader.h"
#include "tests/support/TestSupport.h"

using namespace testing_support;

namespace {

const std::wstring kDejaVuFolder = L"Z:\\usr\\share\\fonts\\truetype\\dejavu";

FontItem Record(uint32_t flags, const wchar_t* fileRef) {
  FontItem item;
  item.flags = flags;
  item.fileRef = fileRef;
  item.names.English(NameSlot::FullName) = L"Face";
  return item;
}

TEST(SampleInfoBlock, LocationVariationsAndScripts) {
  using namespace font_flags;
  const std::wstring user = L"C:\\users\\me\\Local\\Microsoft\\Windows\\Fonts";
  FontItem variable = Record(kSfnt | kVariable, L"v.ttf"), collection = Record(kSfnt | kCollectionFace, L"x.ttc");
  variable.instanceCount = 5;
  collection.collectionName = L"A & B";
  FontItem unreadableVariable = variable;
  unreadableVariable.flags |= kUnreadable;
  struct Case {
    FontItem item;
    const wchar_t* start;
    bool scripts;
  };
  const Case cases[] = {
      {Record(kCffOrType1, L"a.pfm|a.pfb"), L" [ a.pfm +\r\n   a.pfb ]\r\n", false},
      {Record(kSfnt | kGdiOnly, L"x.ttf"), L" [ ? (Temp) ]\r\n", true},
      {variable, L" [ v.ttf ] (5 Variations)\r\n", true},
      {collection, L"Collection: A & B\r\n [ x.ttc ]\r\n", true},
      {Record(kSfnt | kInUserFonts, (user + L"\\u.ttf").c_str()), L" [ u.ttf ]\r\n", true},
      {unreadableVariable, L" [ v.ttf ]\r\n", false},
  };
  for (const Case& c : cases) {
    const std::wstring text = InfoBlockLeftText(c.item, user);
    SCOPED_TRACE(Narrow(text));
    EXPECT_EQ(text.substr(0, wcslen(c.start)), c.start);
    EXPECT_EQ(text.find(L"Scripts: ") != std::wstring::npos, c.scripts);
  }
}

TEST(SampleInfoBlock, OpticalSizeNoteFromOs2Version5AndMissingCharacters) {
  const std::tuple<uint16_t, uint16_t, uint16_t, const wchar_t*> notes[] = {
      {5, 120, 0xFFFF, L"(6.0 \u2264 pts < \u221E)"}, {5, 170, 290, L"(8.5 \u2264 pts < 14.5)"},
      {4, 120, 0xFFFF, L""}, {5, 0, 0xFFFF, L""}};
  for (const auto& [version, lower, upper, note] : notes) {
    FontItem item;
    item.os2Version = version;
    item.lowerOpticalSize = lower;
    item.upperOpticalSize = upper;
    EXPECT_EQ(OpticalSizeNote(item), note) << version << " " << lower << " " << upper;
  }
  // DejaVu Sans has no CJK characters; line breaks and tabs are no characters to mark.
  orv::ScopedCreatedDC dc(::CreateCompatibleDC(nullptr));
  orv::ScopedFont font(::CreateFontW(-20, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, L"DejaVu Sans"));
  orv::ScopedSelectObject select(dc.Get(), font.Get());
  std::wstring text = L"A\r\n\t\u4E00B";
  MarkMissingGlyphs(dc.Get(), text);
  EXPECT_EQ(text, L"A\r\n\t\uFFFDB");
}

// A real window: the stored settings (hostile ones clamped), a layout that wraps and scrolls
// back to the top, an empty window without a font, and the settings written back.
TEST(SampleWindowTest, SettingsLayoutsAndAnEmptyWindow) {
  ::RegDeleteTreeW(HKEY_CURRENT_USER, kAppKeyPath);
  orv::ScopedKey prefs;
  ::RegCreateKeyExW(HKEY_CURRENT_USER, kPrefsKeyPath, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, prefs.Receive(), nullptr);
  WriteRegDword(prefs.Get(), L"SampleFontSize", 500);
  WriteRegString(prefs.Get(), L"ActiveSample", L"Languages");
  WriteRegDword(prefs.Get(), L"SampleFlags", 0xFF);
  const auto saved = std::make_pair(g_AppState.ShowInfoBlock, g_AppState.MarkMissingGlyphs);
  HWND host = ::CreateWindowExW(0, L"STATIC", nullptr, WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 20, 20, 520, 320,
                                nullptr, nullptr, nullptr, nullptr);
  auto w = std::make_unique<CSampleWindow>();
  RECT rc{0, 0, 520, 320};
  ASSERT_TRUE(w->Create(host, &rc));
  EXPECT_EQ(w->SampleSize(), CSampleWindow::kMaxSampleSize);
  EXPECT_TRUE(g_AppState.ShowInfoBlock && g_AppState.MarkMissingGlyphs);
  EXPECT_EQ(g_Preferences.SampleText, w->ActiveText()) << "the lists draw the active text too";
  EXPECT_EQ(::SendMessageW(w->SampleListBox(), LB_GETCOUNT, 0, 0), 7) << "six built-ins and the editor's entry";

  FontFileReader reader;
  reader.folder = kDejaVuFolder;
  reader.fileRef = L"DejaVuSerif.ttf";
  ASSERT_TRUE(reader.ReadFontFile());
  FontItem serif;
  serif.CopyFrom(reader);
  w->SetSampleSize(40);
  w->ShowFont(serif, nullptr);
  EXPECT_TRUE(w->RecalcLayout(false));
  PumpMessages(100);
  const int needed = w->MeasureContentHeight();
  EXPECT_GT(needed, 320) << "the sample at 40 points wraps past the window";
  EXPECT_GT(w->GetScrollSize().cy, needed) << "the content is the information block and the text";
  EXPECT_TRUE(SaveWindowImage(host, ArtifactsDir() + L"\\viewing_sample_window.bmp"));
  // A narrower window wraps into more lines and starts again at the top.
  w->SetScrollOffset(0, 40);
  w->SetWindowPos(nullptr, 0, 0, 260, 320, SWP_NOMOVE | SWP_NOZORDER);
  PumpMessages(100);
  EXPECT_GT(w->MeasureContentHeight(), needed);
  EXPECT_EQ(w->GetScrollOffset().y, 0);

  serif.flags |= font_flags::kUnreadable;
  w->ShowFont(serif, nullptr);
  EXPECT_FALSE(w->RecalcLayout(true));
  w->ClearFont();
  EXPECT_EQ(w->GetScrollSize().cy, 1);

  g_AppState.MarkMissingGlyphs = false;
  w->DestroyWindow();
  std::wstring title;
  DWORD flags = 0;
  EXPECT_TRUE(ReadRegString(prefs.Get(), L"ActiveSample", 64, title) && title == L"Languages");
  EXPECT_TRUE(ReadRegDword(prefs.Get(), L"SampleFlags", flags));
  EXPECT_EQ(flags, 1u) << "other bits are written as 0";
  ::DestroyWindow(host);
  g_AppState.ShowInfoBlock = saved.first;
  g_AppState.MarkMissingGlyphs = saved.second;
  ::RegDeleteTreeW(HKEY_CURRENT_USER, kAppKeyPath);
}

}  // namespace
