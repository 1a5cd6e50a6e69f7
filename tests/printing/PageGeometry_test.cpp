// Page geometry of the printed pages and their previews: zoom steps, page sizes from the page
// setup, the printable rectangle on a printer, the default paper, the list's columns and the
// stored report options.
#include <gtest/gtest.h>

#include "app/AppState.h"
#include "app/Preferences.h"
#include "common/RegistryValue.h"
#include "printing/CPrintFontList.h"
#include "printing/CPrintFontSet.h"
#include "printing/ReportOptions.h"
#include "viewing/CPreviewFrame.h"

TEST(PageGeometry, ZoomStepsAndPageSizeFromThePageSetup) {
  const std::pair<int, int> zooms[] = {{10, 25}, {49, 25}, {50, 50}, {99, 50}, {149, 100},
                                       {150, 150}, {199, 150}, {200, 200}, {500, 200}, {-7, 25}};
  for (const auto& [asked, got] : zooms) EXPECT_EQ(CPreviewFrame::NormalizeZoom(asked), got) << asked;

  PageSetupData a4;
  a4.units = 8;
  a4.paperSize = SIZE{21000, 29700};
  a4.margins = RECT{1000, 1000, 1000, 1000};
  SIZE page = CPreviewFrame::PageSizeFromSetup(a4, 100, 96, 96);
  EXPECT_EQ(page.cx, 718);
  EXPECT_EQ(page.cy, 1047);
  page = CPreviewFrame::PageSizeFromSetup(a4, 50, 96, 96);
  EXPECT_EQ(page.cx, 359);
  PageSetupData letter;
  letter.units = 4;
  letter.paperSize = SIZE{8500, 11000};
  letter.margins = RECT{500, 500, 500, 500};
  page = CPreviewFrame::PageSizeFromSetup(letter, 100, 96, 96);
  EXPECT_EQ(page.cx, 720);
  EXPECT_EQ(page.cy, 960);
  // Never printed yet (no printer): the preview still has a page, the default A4.
  page = CPreviewFrame::PageSizeFromSetup(PageSetupData{}, 100, 96, 96);
  EXPECT_GT(page.cx, 600);
  EXPECT_GT(page.cy, page.cx);
}

// Margins count from the paper's edge; device pixels from the printable area's corner.
TEST(PageGeometry, PrintableRectangleKeepsMarginsOffsetsAndFooter) {
  PageSetupData setup;
  setup.units = 4;
  setup.margins = RECT{500, 500, 500, 500};  // half an inch
  PrinterMetrics printer;
  printer.dpiX = printer.dpiY = 300;
  printer.physWidth = 2550;  // Letter at 300 dpi
  printer.physHeight = 3300;
  struct Case {
    int offset;  // the unprintable edge, on every side
    RECT expected;
  };
  // 150 px margins; the footer band is 0.16 inch = 48 px.
  const Case cases[] = {
      {0, {150, 150, 2400, 3150}},
      {50, {100, 100, 2350, 3100}},
      {200, {0, 0, 2150, 2852}},  // the edge is wider than the margin: no margin left, footer kept
  };
  for (const Case& c : cases) {
    printer.offsetX = printer.offsetY = c.offset;
    printer.horzRes = printer.physWidth - 2 * c.offset;
    printer.vertRes = printer.physHeight - 2 * c.offset;
    const RECT r = CPrintFontSet::ComputePrintableRect(setup, printer);
    EXPECT_EQ(r.left, c.expected.left) << c.offset;
    EXPECT_EQ(r.top, c.expected.top) << c.offset;
    EXPECT_EQ(r.right, c.expected.right) << c.offset;
    EXPECT_EQ(r.bottom, c.expected.bottom) << c.offset;
  }
  // Millimetres: a 4 mm footer band even with no bottom margin.
  setup.units = 8;
  setup.margins = RECT{0, 0, 0, 0};
  printer.offsetX = printer.offsetY = 0;
  printer.horzRes = printer.physWidth;
  printer.vertRes = printer.physHeight;
  EXPECT_EQ(CPrintFontSet::ComputePrintableRect(setup, printer).bottom, 3300 - ::MulDiv(400, 300, 2540));
}

TEST(PageGeometry, DefaultPaperTurnsWithTheOrientation) {
  struct Case {
    int units;
    bool portrait;
    POINT reported;
    SIZE expected;
  };
  const Case cases[] = {
      {8, true, {0, 0}, {21000, 29700}},  {8, false, {0, 0}, {29700, 21000}},
      {4, true, {0, 0}, {8500, 11000}},   {4, false, {-1, 5}, {11000, 8500}},
      {8, true, {14800, 21000}, {14800, 21000}},
  };
  for (const Case& c : cases) {
    PageSetupData setup;
    setup.units = c.units;
    setup.portrait = c.portrait;
    CPrintFontSet::UpdatePaperSize(setup, c.reported);
    EXPECT_EQ(setup.paperSize.cx, c.expected.cx) << c.units << c.portrait;
    EXPECT_EQ(setup.paperSize.cy, c.expected.cy) << c.units << c.portrait;
  }
}

TEST(PageGeometry, ColumnsAndStoredReportOptions) {
  // An "A" 10 pixels wide makes a gutter of 20: two columns of 1000 pixels at 0 and 490.
  EXPECT_EQ(CPrintFontList::ColumnPitch(0, 1000, 2, 20), 490);
  EXPECT_EQ(CPrintFontList::ColumnPitch(0, 1000, 1, 0), 1000);
  EXPECT_EQ(CPrintFontList::ColumnPitch(100, 1000, 3, 20), 286);

  struct Case {
    DWORD flags;
    bool setMode, version, file, single, id, scripts;
    int columns;
  };
  const Case cases[] = {
      {0x0000, false, false, false, false, false, false, 1},
      {0x0100, false, false, false, false, false, false, 1},
      {0x03D5, true, false, true, true, true, true, 3},
      {0x0202, false, true, false, false, false, false, 2},
      {0xFF00, false, false, false, false, false, false, 6},  // hand-edited: the most the page offers
  };
  for (const Case& c : cases) {
    const ReportOptions o = ReportOptions::FromFlags(c.flags);
    EXPECT_EQ(o.setMode, c.setMode) << c.flags;
    EXPECT_EQ(o.showVersion, c.version) << c.flags;
    EXPECT_EQ(o.showFile, c.file) << c.flags;
    EXPECT_EQ(o.singleLineSample, c.single) << c.flags;
    EXPECT_EQ(o.showId, c.id) << c.flags;
    EXPECT_EQ(o.showScripts, c.scripts) << c.flags;
    EXPECT_EQ(o.columns, c.columns) << c.flags;
  }
  EXPECT_EQ(ReportOptions::FromFlags(0x3FF).ToFlags(), 0x3D7u) << "bits 3 and 5 are written as 0";

  ::RegDeleteTreeW(HKEY_CURRENT_USER, kAppKeyPath);
  EXPECT_EQ(ReadReportOptions().ToFlags(), ReportOptions::kDefaultFlags) << "missing value";
  orv::ScopedKey prefs;
  ::RegCreateKeyExW(HKEY_CURRENT_USER, kPrefsKeyPath, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, prefs.Receive(), nullptr);
  WriteRegString(prefs.Get(), L"PrintFlags", L"0x3D5");
  EXPECT_EQ(ReadReportOptions().ToFlags(), ReportOptions::kDefaultFlags) << "a value of another type";
  ReportOptions written = ReportOptions::FromFlags(0x2C2);
  WriteReportOptions(written);
  EXPECT_EQ(ReadReportOptions().ToFlags(), 0x2C2u);
  ::RegDeleteTreeW(HKEY_CURRENT_USER, kAppKeyPath);
}
