// The font sheet page: what it draws on a bounded and an unbounded page, the sheet of a raster
// font, a font that is not installed, and what a printer page under Wine draws as pictures.
#include "viewing/CFontSheetView.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "app/AppState.h"
#include "app/Preferences.h"
#include "framework/Handles.h"
#include "framework/WineHost.h"
#include "tests/printing/PrintingTestSupport.h"
#include "tests/support/TestSupport.h"

using namespace printing_tests;

namespace {

const std::wstring kCantarellFolder = L"Z:\\usr\\share\\fonts\\opentype\\cantarell";
const std::wstring kNotoCjkFolder = L"Z:\\usr\\share\\fonts\\opentype\\noto";
const std::wstring kSample = L"The quick brown fox jumps over the lazy dog";

// The sheet drawn on a page of the given rectangle into a metafile.
struct DrawnSheet {
  std::vector<DrawnText> texts;
  std::vector<std::wstring> faces;
  RECT pageAfter{};
  std::vector<RECT> pictures;
};

DrawnSheet DrawSheet(const FontItem& font, const RECT& page, bool unbounded, bool printerPage = false) {
  g_Preferences.SampleText = kSample;
  CFontSheetView view(100);
  view.SetFont(font);
  view.SetUnboundedPage(unbounded);
  view.SetPageRect(page);
  view.SetPrinterPage(printerPage);
  HDC dc = ::CreateEnhMetaFileW(nullptr, nullptr, nullptr, nullptr);
  view.DrawFontEntry(dc);
  HENHMETAFILE metafile = ::CloseEnhMetaFile(dc);
  DrawnSheet sheet{MetafileTexts(metafile), MetafileFaces(metafile), view.PageRect(), MetafilePictures(metafile)};
  ::DeleteEnhMetaFile(metafile);
  return sheet;
}

// The y of the size label "NN " (its reference point), or -1.
int LabelY(const DrawnSheet& sheet, int points) {
  wchar_t label[8];
  swprintf(label, 8, L"%2d ", points);
  for (const DrawnText& t : sheet.texts)
    if (t.text == label) return t.at.y;
  return -1;
}

// The sample text drawn right after the size label of `points`.
std::wstring SizeLineText(const DrawnSheet& sheet, int points) {
  wchar_t label[8];
  swprintf(label, 8, L"%2d ", points);
  for (size_t i = 0; i + 1 < sheet.texts.size(); ++i)
    if (sheet.texts[i].text == label) return sheet.texts[i + 1].text;
  return {};
}

}  // namespace

TEST(FontSheetPage, BoundedPageEndsAtTheFirstSizeLineThatDoesNotFit) {
  const FontItem serif = ReadFont(kDejaVuFolder, L"DejaVuSerif.ttf");
  ASSERT_FALSE(serif.FullName().empty());
  const DrawnSheet tall = DrawSheet(serif, RECT{0, 0, 4000, 5000}, false);
  for (int points : CFontSheetView::kSizeLinePoints) EXPECT_GE(LabelY(tall, points), 0) << points;
  EXPECT_EQ(SizeLineText(tall, 72), kSample) << "a wide page cuts nothing";

  // Room for the 24-point line but not for the 36-point one: no later line, though a small one
  // would fit.
  const int bottom = LabelY(tall, 24) + 40;
  const DrawnSheet cut = DrawSheet(serif, RECT{0, 0, 4000, bottom}, false);
  EXPECT_GE(LabelY(cut, 24), 0);
  for (int points : {36, 48, 60, 72}) EXPECT_EQ(LabelY(cut, points), -1) << points;

  // A narrow page: the long lines lose characters from their end, down to two at most.
  const DrawnSheet narrow = DrawSheet(serif, RECT{0, 0, 90, 5000}, false);
  EXPECT_EQ(SizeLineText(narrow, 72), kSample.substr(0, 2));
  const std::wstring twelve = SizeLineText(narrow, 12);
  EXPECT_TRUE(twelve.size() > 2 && twelve.size() < kSample.size() && kSample.rfind(twelve, 0) == 0)
      << testing_support::Narrow(twelve);
}

TEST(FontSheetPage, UnboundedPageTakesTheSizeOfItsDrawing) {
  const FontItem sans = ReadFont(kDejaVuFolder, L"DejaVuSans.ttf");
  const DrawnSheet sheet = DrawSheet(sans, RECT{5, 5, CPreviewFrame::kUnboundedExtent, CPreviewFrame::kUnboundedExtent}, true);
  // The 72-point line is the widest: label width + text width + 10.
  orv::ScopedCreatedDC dc(::CreateCompatibleDC(nullptr));
  FontItem copy = sans;
  orv::ScopedFont big(copy.CreateDisplayFont(-::MulDiv(72, ::GetDeviceCaps(dc.Get(), LOGPIXELSX), 72)));
  orv::ScopedFont arial(::CreateFontW(-::MulDiv(10, ::GetDeviceCaps(dc.Get(), LOGPIXELSX), 72), 0, 0, 0, 0, 0, 0, 0, 0,
                                      OUT_TT_PRECIS, 0, 0, 0, L"Arial"));
  SIZE label{}, text{};
  {
    orv::ScopedSelectObject select(dc.Get(), arial.Get());
    ::GetTextExtentPoint32W(dc.Get(), L"00 ", 3, &label);
  }
  {
    orv::ScopedSelectObject select(dc.Get(), big.Get());
    ::GetTextExtentPoint32W(dc.Get(), kSample.c_str(), static_cast<int>(kSample.size()), &text);
  }
  EXPECT_EQ(sheet.pageAfter.right, 5 + label.cx + text.cx + 10);
  EXPECT_GT(sheet.pageAfter.bottom, LabelY(sheet, 72) + 20) << "20 pixels below the last line";
  EXPECT_LT(sheet.pageAfter.bottom, LabelY(sheet, 72) + 140);
}

TEST(FontSheetPage, HeadingsOfRasterAndNamedFonts) {
  FontItem raster;
  raster.flags = font_flags::kRaster | font_flags::kInstalled;
  raster.displayName = L"Courier";
  raster.names.English(NameSlot::FullName) = L"Courier";
  raster.fileRef = L"COURE.FON";
  const DrawnSheet sheet = DrawSheet(raster, RECT{0, 0, 1400, 5000}, false);
  EXPECT_TRUE(ContainsText(sheet.texts, L"Courier (COURE.FON)"));
  EXPECT_FALSE(ContainsText(sheet.texts, L"[")) << "display name and full name are the same";
  EXPECT_FALSE(ContainsText(sheet.texts, L"Family: ")) << "a raster font has no information block";

  FontItem named = ReadFont(kDejaVuFolder, L"DejaVuSans-Bold.ttf");
  named.displayName = L"My Sans";
  named.flags |= font_flags::kOtherVersion;
  const DrawnSheet other = DrawSheet(named, RECT{0, 0, 1400, 5000}, false);
  EXPECT_TRUE(ContainsText(other.texts, L"My Sans [DejaVu Sans Bold] (TrueType)"));
  EXPECT_TRUE(ContainsText(other.texts, L"Another version"));
  EXPECT_TRUE(ContainsText(other.texts, L"Family: DejaVu Sans"));
  EXPECT_TRUE(ContainsText(other.texts, L"File: DejaVuSans-Bold.ttf"));
  EXPECT_TRUE(ContainsText(other.texts, L"\u03A4\u03AC\u03C7\u03B9\u03C3\u03C4\u03B7")) << "the sample paragraph";
}

// A font that is not installed is loaded privately for its sheet, so the sheet shows the font
// itself and not a substitute.
TEST(FontSheetPage, FontThatIsNotInstalledIsLoadedForItsSheet) {
  const FontItem cantarell = ReadFont(kCantarellFolder, L"Cantarell-Regular.otf");
  ASSERT_FALSE(cantarell.FullName().empty());
  ASSERT_FALSE(cantarell.IsInstalled());
  g_AppState.FontCache.SetReady(true);
  g_AppState.FontCache.RemoveAll(false);
  const DrawnSheet sheet = DrawSheet(cantarell, RECT{0, 0, 1400, 5000}, false);
  // Loaded privately for the sheet, unless GDI has the face from this very file already (the
  // host's own Cantarell under Wine): a load that adds no face is not counted as one.
  const auto files = g_AppState.FontCache.Files();
  const bool loaded = std::find(files.begin(), files.end(), cantarell.GetFilePaths()) != files.end();
  EXPECT_TRUE(loaded || testing_support::GdiKnows(L"Cantarell"));
  EXPECT_NE(std::find(sheet.faces.begin(), sheet.faces.end(), L"Cantarell"), sheet.faces.end());
  EXPECT_TRUE(ContainsText(sheet.texts, L"(OpenType)"));
  EXPECT_TRUE(ContainsText(sheet.texts, L"PostScript (CFF) outlines"));
  EXPECT_TRUE(ContainsText(sheet.texts, L"File size: "));
  g_AppState.FontCache.RemoveAll(false);
  g_AppState.FontCache.SetReady(false);
}

// The view in a real window, as a font sheet frame hosts it: an unbounded sheet scrolls over
// what it drew; in page mode it is the printable area of the page setup (here the default A4
// with 12.5 mm margins: 699 x 1028 pixels at 96 dpi, at 5 pixels from the corner).
TEST(FontSheetPage, ViewInAWindowScrollsOverItsPage) {
  g_Preferences.SampleText = kSample;
  g_AppState.PageSetup = PageSetupData{};
  HWND host = ::CreateWindowExW(0, L"STATIC", nullptr, WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, 640, 480,
                                nullptr, nullptr, nullptr, nullptr);
  CFontSheetView view(100);
  view.SetFont(ReadFont(kDejaVuFolder, L"DejaVuSerif.ttf"));
  RECT rc{0, 0, 640, 480};
  ASSERT_TRUE(view.Create(host, &rc));
  testing_support::PumpMessages(200);
  const SIZE drawn = view.GetScrollSize();
  EXPECT_EQ(drawn.cx, view.PageRect().right);
  EXPECT_EQ(drawn.cy, view.PageRect().bottom);
  EXPECT_LT(drawn.cy, CPreviewFrame::kUnboundedExtent) << "the first paint shrinks the page to the drawing";
  EXPECT_GT(drawn.cx, 640) << "the 72-point line is wider than the window";
  EXPECT_TRUE(testing_support::SaveWindowImage(host, testing_support::ArtifactsDir() + L"\\printing_font_sheet_view.bmp"));

  view.RefreshPage(false, true);
  testing_support::PumpMessages(200);
  EXPECT_EQ(view.GetScrollSize().cx, 5 + 699);
  EXPECT_EQ(view.GetScrollSize().cy, 5 + 1028);
  view.DestroyWindow();
  ::DestroyWindow(host);
}

// On a printer page under Wine, text in a font Wine's PostScript driver cannot take (CFF outlines,
// alone or in a collection) is drawn as pictures where the text would stand; a TrueType font's
// text, all text on Windows and all on the screen stays text.
TEST(FontSheetPage, PrinterPageUnderWineDrawsCffTextAsPictures) {
  struct Undo {
    ~Undo() { seams::SetRunsUnderWine(std::nullopt); }
  } undo;
  const struct {
    const std::wstring& folder;
    const wchar_t* file;
    bool printerPage, underWine, pictures;
  } cases[] = {{kCantarellFolder, L"Cantarell-Regular.otf", true, true, true},
               {kNotoCjkFolder, L"NotoSansCJK-Regular.ttc", true, true, true},
               {kDejaVuFolder, L"DejaVuSerif.ttf", true, true, false},
               {kCantarellFolder, L"Cantarell-Regular.otf", true, false, false},
               {kCantarellFolder, L"Cantarell-Regular.otf", false, true, false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(testing_support::Narrow(c.file) + (c.printerPage ? " printer" : " screen") + (c.underWine ? " Wine" : ""));
    const FontItem font = ReadFont(c.folder, c.file);
    seams::SetRunsUnderWine(c.underWine);
    const DrawnSheet sheet = DrawSheet(font, RECT{0, 0, 4000, 6000}, false, c.printerPage);
    EXPECT_EQ(ContainsText(sheet.texts, kSample), !c.pictures);
    EXPECT_EQ(sheet.pictures.empty(), !c.pictures);
    if (!c.pictures) continue;
    // Each size line, as the same page draws it in text, has a picture at its top.
    seams::SetRunsUnderWine(false);
    size_t lines = 0;
    for (const DrawnText& t : DrawSheet(font, RECT{0, 0, 4000, 6000}, false, true).texts) {
      if (t.text != kSample) continue;
      ++lines;
      EXPECT_TRUE(std::any_of(sheet.pictures.begin(), sheet.pictures.end(), [&](const RECT& p) {
        return p.top == t.at.y && p.left <= t.at.x && p.right > t.at.x;
      })) << t.at.y;
    }
    EXPECT_EQ(lines, std::size(CFontSheetView::kSizeLinePoints));
  }
}
