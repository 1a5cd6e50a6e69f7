// Print jobs on a real printer: Wine's PostScript driver printing to a CUPS-PDF queue, the PDF
// read back with poppler's tools. Without such a printer these tests say so and skip.
#include "printing/CPrintFontSet.h"

#include <algorithm>

#include <gtest/gtest.h>

#include "app/AppState.h"
#include "app/Preferences.h"
#include "common/RegistryValue.h"
#include "common/ResourceIds.h"
#include "printing/CPrintFontList.h"
#include "tests/printing/PrintingTestSupport.h"
#include "tests/support/TestSupport.h"
#include "viewing/CFontSheetFrame.h"

using namespace printing_tests;
using namespace testing_support;

namespace {

const wchar_t kPrintCaption[] = L"Print";
const wchar_t kDoneCaption[] = L"Orvel Font Manager";

class RealPrinter : public testing::Test {
protected:
  void SetUp() override {
    pdfFolder_ = PdfFolder();
    if (pdfFolder_.empty() || DefaultPrinter().empty())
      GTEST_SKIP() << "no CUPS-PDF printer (ORVEL_PDF_DIR and a default printer come from ./orvel test)";
    ResetRecords();
    before_ = PdfFiles(pdfFolder_);
    owner_ = ::CreateWindowExW(0, L"STATIC", L"Owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200, 100, nullptr,
                               nullptr, nullptr, nullptr);
  }
  void TearDown() override {
    if (owner_) ::DestroyWindow(owner_);
  }
  // The new PDF's page count and text.
  int Pages(const std::wstring& pdf) {
    const std::string info = RunHostCommand("pdfinfo '" + UnixPath(pdf) + "'");
    const size_t at = info.find("Pages:");
    return at == std::string::npos ? -1 : std::atoi(info.c_str() + at + 6);
  }
  std::string Text(const std::wstring& pdf) { return RunHostCommand("pdftotext -layout '" + UnixPath(pdf) + "' -"); }
  // Prints `fonts` from a folder list, or as sheets with the first current; the dialogs seen.
  std::vector<std::wstring> PrintFonts(bool sheets, const std::vector<FontItem>& fonts) {
    ResetRecords();
    before_ = PdfFiles(pdfFolder_);
    DialogAnswerer answerer({kPrintCaption, kDoneCaption});
    COrvelListView list;
    ListHost host(list, IDC_FOLDER_FONTS_LIST);
    CPrintFontSet job;
    if (sheets) {
      for (size_t i = 0; i < fonts.size(); ++i) job.AddFont(fonts[i], i == 0);
      job.PrintFontSheets(owner_);
    } else {
      FillAndSelect(list, fonts);
      ::SendMessageW(list.m_hWnd, WM_COMMAND, ID_LIST_PRINT, 0);
    }
    return answerer.Seen();
  }

  std::wstring pdfFolder_;
  std::vector<std::wstring> before_;
  HWND owner_ = nullptr;
};

std::vector<FontItem> DejaVuFonts(size_t count) {
  const wchar_t* faces[] = {L"DejaVuSans.ttf", L"DejaVuSerif.ttf", L"DejaVuSansMono.ttf", L"DejaVuSans-Bold.ttf",
                            L"DejaVuSerif-Bold.ttf", L"DejaVuSansCondensed.ttf", L"DejaVuSerifCondensed.ttf",
                            L"DejaVuSansMono-Bold.ttf", L"DejaVuSans-Oblique.ttf", L"DejaVuSerif-Italic.ttf"};
  std::vector<FontItem> fonts;
  for (size_t i = 0; i < count && i < std::size(faces); ++i) fonts.push_back(ReadFont(kDejaVuFolder, faces[i]));
  return fonts;
}

// A job that presses the abort dialog's Cancel while it prints page 2.
class CancellingJob : public CPrintFontSet {
public:
  int printed = 0;

protected:
  bool PrintPage(UINT page, HDC dc) override {
    if (page == 1) ::PostMessageW(AbortDialogWindow(), WM_COMMAND, IDCANCEL, 0);
    ++printed;
    return CPrintFontSet::PrintPage(page, dc);
  }
};

// A job whose print dialog names a printer that does not exist.
class MissingPrinterJob : public CPrintFontSet {
protected:
  bool RunPrintDialog(HWND, PrintDialogResult& result) override {
    result.print = true;
    result.dc = ::CreateCompatibleDC(nullptr);
    result.printerName = L"No Such Printer";
    return true;
  }
};

// The fonts of make_long_name_fonts.py in `folder`.
void MakeLongNameFonts(const ScratchDir& folder) {
  RunHostCommand("/usr/bin/python3 '" + UnixPath(SourceDir() + L"\\tests\\printing\\data\\make_long_name_fonts.py") +
                 "' '" + UnixPath(folder.Path()) + "'");
}

// The words of a page that the footer ("Orvel Font Manager") begins, and the top of the footer.
double FooterTop(const PdfPage& page) {
  const auto& w = page.words;
  for (size_t i = 0; i + 2 < w.size(); ++i)
    if (w[i].text == "Orvel" && w[i + 1].text == "Font" && w[i + 2].text == "Manager") return w[i].top;
  return -1;
}

// The words at and below `first` that lie in its column (left edges from its left up to
// `width` further) above the footer, top to bottom, joined without spaces.
std::string ColumnText(const PdfPage& page, const PdfWord& first, double width) {
  const double footer = FooterTop(page);
  std::vector<PdfWord> column;
  for (const PdfWord& w : page.words)
    if (w.left > first.left - 1 && w.left < first.left + width && w.top > first.top - 1 && w.top < footer - 1)
      column.push_back(w);
  std::stable_sort(column.begin(), column.end(), [](const PdfWord& a, const PdfWord& b) {
    return a.top + 1 < b.top || (a.top < b.top + 1 && a.left < b.left);
  });
  std::string text;
  for (const PdfWord& w : column) text += w.text;
  return text;
}

const std::string kEllipsisUtf8 = "\xE2\x80\xA6";

// No word of a page covers another, and none reaches into the footer or past the paper.
void ExpectNothingDrawnOver(const PdfPage& page) {
  const double footer = FooterTop(page);
  ASSERT_GT(footer, 0) << "the footer";
  for (size_t i = 0; i < page.words.size(); ++i) {
    const PdfWord& a = page.words[i];
    EXPECT_LE(a.right, page.width) << a.text.substr(0, 40);
    if (a.top < footer - 1) EXPECT_LE(a.bottom, footer + 0.5) << "into the footer: " << a.text.substr(0, 40);
    for (size_t j = i + 1; j < page.words.size(); ++j)
      EXPECT_FALSE(Overlap(a, page.words[j])) << a.text.substr(0, 40) << " / " << page.words[j].text.substr(0, 40);
  }
}

}  // namespace

// Fonts with very long names printed to a PDF, as a list in six narrow columns and as sheets.
// The font whose PostScript name no printer takes is left out and named in a list. A name of
// 30,000 letters without a space wraps inside its column and ends there with "…" (on its sheet,
// the heading ends with "…" and the font's type within its band), a name of 200 characters
// prints whole, no word covers another or the footer, and every other font prints. When every
// chosen font is left out, the message says that nothing was printed, and nothing is.
TEST_F(RealPrinter, LongNamesEndWithAnEllipsisInsideTheirColumnsAndBands) {
  ScratchDir folder;
  MakeLongNameFonts(folder);
  const FontItem longName = ReadFont(folder.Path(), L"LongName.ttf");
  ASSERT_EQ(longName.postScriptName.size(), 30000u) << "the fixture fonts (python3-fonttools)";
  const FontItem longFamily = ReadFont(folder.Path(), L"LongFamily.ttf"), midName = ReadFont(folder.Path(), L"MidName.ttf");
  const FontItem serif = ReadFont(kDejaVuFolder, L"DejaVuSerif.ttf");
  ASSERT_EQ(longFamily.displayName.size(), 30000u);
  ASSERT_EQ(midName.displayName.size(), 200u);
  std::wstring midText = midName.displayName;
  std::erase(midText, L' ');
  const std::string mid = Narrow(midText);
  g_Preferences.SampleText = L"Sphinx of black quartz, judge my vow";
  for (const bool sheets : {false, true}) {
    SCOPED_TRACE(sheets ? "sheets" : "list");
    const std::vector<std::wstring> seen = PrintFonts(sheets, {longName});
    ASSERT_EQ(Boxes().size(), 1u);
    EXPECT_EQ(Boxes()[0].text.rfind(L"Nothing was printed", 0), 0u) << Narrow(Boxes()[0].text);
    EXPECT_NE(Boxes()[0].text.find(L"\n\nAaLongName"), std::wstring::npos) << "the font named";
    EXPECT_EQ(std::find(seen.begin(), seen.end(), kDoneCaption), seen.end()) << "no note of a document sent";
    EXPECT_TRUE(WaitForNewPdf(pdfFolder_, before_, 3000).empty()) << "no document";

    orv::ScopedKey prefs;
    ::RegCreateKeyExW(HKEY_CURRENT_USER, kPrefsKeyPath, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, prefs.Receive(), nullptr);
    WriteRegDword(prefs.Get(), L"PrintFlags", 0x600);  // list mode, six columns
    PrintFonts(sheets, {longName, longFamily, midName, serif});
    ASSERT_EQ(Boxes().size(), 1u) << "one message names the font left out";
    const std::wstring& box = Boxes()[0].text;
    EXPECT_NE(box.find(L"PostScript names"), std::wstring::npos) << Narrow(box);
    EXPECT_EQ(box.find(L"Nothing was printed"), std::wstring::npos);
    EXPECT_NE(box.find(L"\n\nAaLongName"), std::wstring::npos) << "a list after a blank line, not in parentheses";
    EXPECT_NE(box.find(L"(LongName.ttf)\n"), std::wstring::npos) << Narrow(box);

    const std::wstring pdf = WaitForNewPdf(pdfFolder_, before_, 60000);
    ASSERT_FALSE(pdf.empty()) << "no PDF from the printer";
    const std::string artifact = UnixPath(ArtifactsDir()) + "/print-long-names-" + (sheets ? "sheets" : "list");
    RunHostCommand("pdftoppm -r 72 -png '" + UnixPath(pdf) + "' '" + artifact + "'");
    const std::vector<PdfPage> pages = PdfWords(pdf);
    ASSERT_EQ(pages.size(), sheets ? 3u : 1u);
    for (const PdfPage& page : pages) ExpectNothingDrawnOver(page);
    const std::string text = Text(pdf);
    EXPECT_EQ(text.find("AaLongName"), std::string::npos) << "the font left out";
    EXPECT_NE(text.find("DejaVu Serif"), std::string::npos) << "the font after the long names";

    const std::vector<PdfWord>& words = pages[0].words;
    auto starting = [&](const std::string& start) {
      return std::find_if(words.begin(), words.end(), [&](const PdfWord& w) { return w.text.rfind(start, 0) == 0; });
    };
    const auto longWord = starting("AaLongFamily");
    ASSERT_NE(longWord, words.end());
    if (!sheets) {
      // Column 1 holds the 30,000 letters down to its end, column 2 the 200 characters whole.
      const auto midWord = starting("AbMid");
      ASSERT_NE(midWord, words.end());
      const double pitch = midWord->left - longWord->left;
      EXPECT_GT(pitch, 0) << "the 200-character name starts the next column";
      const std::string column = ColumnText(pages[0], *longWord, pitch / 2);
      EXPECT_TRUE(column.ends_with(kEllipsisUtf8)) << column.substr(column.size() - std::min<size_t>(column.size(), 80));
      EXPECT_EQ(column.rfind("AaLongFamily", 0), 0u);
      EXPECT_EQ(column.find("Sphinx"), std::string::npos) << "no sample under a label that fills its column";
      for (const PdfWord& w : words)
        if (w.left > longWord->left - 1 && w.left < longWord->left + pitch / 2) EXPECT_LT(w.right, midWord->left) << w.text;
      // Every letter of the name in order: no letter lost between two lines.
      EXPECT_EQ(ColumnText(pages[0], *midWord, pitch / 2).rfind(mid, 0), 0u) << ColumnText(pages[0], *midWord, pitch / 2);
    } else {
      // The heading's band: its last line ends with "…" and the type, and the family line below it
      // ends with "…" as well.
      std::vector<size_t> cuts;
      for (size_t i = 0; i < words.size(); ++i)
        if (words[i].text.ends_with(kEllipsisUtf8)) cuts.push_back(i);
      ASSERT_EQ(cuts.size(), 2u) << "the heading and the family line";
      ASSERT_LT(cuts[0] + 1, words.size());
      EXPECT_EQ(words[cuts[0] + 1].text, "(TrueType)");
      EXPECT_NEAR(words[cuts[0] + 1].top, words[cuts[0]].top, 2.0) << "on the heading's last line";
      EXPECT_LT(words[cuts[0]].bottom - longWord->top, pages[0].height / 4) << "a quarter of the page at most";
      EXPECT_NE(text.find("Sphinx"), std::string::npos) << "the sample lines follow the heading";
      // The 200 characters: the heading whole or ended within its band (as the heading's face
      // is wide or narrow on this machine), the family line below it whole.
      std::string heading, family;
      bool inFamily = false;
      for (const PdfWord& w : pages[1].words) {
        if (w.text == "File:") break;
        if (inFamily) family += w.text;
        if (w.text == "Family:") inFamily = true;
        if (!inFamily && w.text != "(TrueType)") heading += w.text;
      }
      EXPECT_TRUE(heading == mid || (heading.ends_with(kEllipsisUtf8) &&
                                     mid.rfind(heading.substr(0, heading.size() - kEllipsisUtf8.size()), 0) == 0))
          << heading;
      EXPECT_EQ(family, mid) << "the family line whole";
    }
  }
  ::RegDeleteTreeW(HKEY_CURRENT_USER, kAppKeyPath);
}

// CFF fonts, alone and in a collection, beside a TrueType one, as a list and as sheets: the job
// ends as a finished job with every font's page or place, the CFF samples as pictures, the
// TrueType sample and every name as text.
TEST_F(RealPrinter, CffFontsPrintBesideTrueTypeOnes) {
  const std::vector<FontItem> fonts = {ReadFont(L"Z:\\usr\\share\\fonts\\opentype\\cantarell", L"Cantarell-Regular.otf"),
                                       ReadFont(L"Z:\\usr\\share\\fonts\\opentype\\noto", L"NotoSansCJK-Regular.ttc"),
                                       ReadFont(kDejaVuFolder, L"DejaVuSerif.ttf")};
  g_Preferences.SampleText = L"Sphinx of black quartz, judge my vow";
  for (const bool sheets : {false, true}) {
    SCOPED_TRACE(sheets ? "sheets" : "list");
    ::RegDeleteTreeW(HKEY_CURRENT_USER, kAppKeyPath);
    const std::vector<std::wstring> seen = PrintFonts(sheets, fonts);
    EXPECT_NE(std::find(seen.begin(), seen.end(), kDoneCaption), seen.end()) << "the finished job says so";
    EXPECT_TRUE(Boxes().empty());
    const std::wstring pdf = WaitForNewPdf(pdfFolder_, before_, 60000);
    ASSERT_FALSE(pdf.empty()) << "no PDF from the printer";
    const std::string text = Text(pdf);
    for (const FontItem& font : fonts) EXPECT_NE(text.find(Narrow(font.displayName)), std::string::npos) << Narrow(font.displayName);
    std::vector<size_t> sampleWords;  // per page: the TrueType sample as text, the CFF ones not
    for (const PdfPage& page : PdfWords(pdf))
      sampleWords.push_back(std::count_if(page.words.begin(), page.words.end(), [](const PdfWord& w) { return w.text == "Sphinx"; }));
    ASSERT_FALSE(sampleWords.empty());
    EXPECT_EQ(sampleWords, (sheets ? std::vector<size_t>{0, 0, std::max<size_t>(1, sampleWords.back())} : std::vector<size_t>{1}));
    const std::string images = RunHostCommand("pdfimages -list '" + UnixPath(pdf) + "'");
    EXPECT_GE(std::count(images.begin(), images.end(), '\n'), 2 + (sheets ? 2 * 11 : 2)) << images;
  }
}

TEST_F(RealPrinter, SetModePrintsOneSheetPerFont) {
  CPrintFontSet job;
  const std::vector<FontItem> fonts = DejaVuFonts(3);
  for (size_t i = 0; i < fonts.size(); ++i) job.AddFont(fonts[i], i == 0);
  g_Preferences.SampleText = L"Sphinx of black quartz, judge my vow";
  {
    DialogAnswerer answerer({kPrintCaption, kDoneCaption});
    job.PrintFontSheets(owner_);
    const auto seen = answerer.Seen();
    EXPECT_NE(std::find(seen.begin(), seen.end(), kDoneCaption), seen.end()) << "the finished job says so";
  }
  EXPECT_EQ(job.LastResult(), orv::CPrintJob::Result::Printed);
  EXPECT_TRUE(Boxes().empty());
  const std::wstring pdf = WaitForNewPdf(pdfFolder_, before_, 60000);
  ASSERT_FALSE(pdf.empty()) << "no PDF from the printer";
  EXPECT_EQ(Pages(pdf), 3);
  const std::string text = Text(pdf);
  for (const FontItem& font : fonts) EXPECT_NE(text.find(Narrow(font.displayName)), std::string::npos) << Narrow(font.displayName);
  EXPECT_NE(text.find("Orvel Font Manager"), std::string::npos) << "the footer";
  EXPECT_EQ(text.find("Page 1"), std::string::npos) << "no page number in set mode";
}

// The font sheet frame's print command: the fonts of its tabs, one sheet per page in tab order.
TEST_F(RealPrinter, FontSheetFramePrintsItsTabsInTabOrder) {
  g_Preferences.SampleText = L"Sphinx of black quartz, judge my vow";
  CFontSheetFrame frame(nullptr, RectOnScreen({20, 20}, {680, 580}));
  ASSERT_TRUE(frame.CreateFrame());
  frame.ShowWindow(SW_SHOWNORMAL);
  const std::vector<FontItem> fonts = DejaVuFonts(3);
  for (const FontItem& font : fonts) ASSERT_TRUE(frame.AddFontTab(font));
  PumpMessages(50);
  {
    DialogAnswerer answerer({kPrintCaption, kDoneCaption});
    frame.SendMessage(WM_COMMAND, ID_SHEETS_PRINT);
  }
  frame.DestroyWindow();
  PumpMessages(20);
  const std::wstring pdf = WaitForNewPdf(pdfFolder_, before_, 60000);
  ASSERT_FALSE(pdf.empty()) << "no PDF from the printer";
  EXPECT_EQ(Pages(pdf), 3);
  const std::string text = Text(pdf);
  size_t last = 0;
  for (const FontItem& font : fonts) {
    const size_t at = text.find(Narrow(font.displayName));
    EXPECT_NE(at, std::string::npos) << Narrow(font.displayName);
    EXPECT_GE(at, last) << "in tab order: " << Narrow(font.displayName);
    last = at;
  }
}

TEST_F(RealPrinter, ListModeInTwoColumnsGivesThePagesTheLayoutPredicts) {
  ::RegDeleteTreeW(HKEY_CURRENT_USER, kAppKeyPath);
  orv::ScopedKey prefs;
  ::RegCreateKeyExW(HKEY_CURRENT_USER, kPrefsKeyPath, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, prefs.Receive(), nullptr);
  WriteRegDword(prefs.Get(), L"PrintFlags", 0x200);  // list mode, two columns
  WriteRegDword(prefs.Get(), L"SampleFontSize", 48);
  g_Preferences.SampleText = L"Sphinx of black quartz, judge my vow";
  const std::vector<FontItem> fonts = DejaVuFonts(10);
  COrvelListView list;
  ListHost host(list, IDC_INSTALLED_FONTS_LIST);
  FillAndSelect(list, fonts);

  // The prediction: the same layout on an information context of the printer.
  CPrintFontSet setup;  // fills the page setup from the default printer
  orv::ScopedCreatedDC ic(::CreateICW(nullptr, DefaultPrinter().c_str(), nullptr, nullptr));
  ASSERT_TRUE(ic);
  RECT page = CPrintFontSet::ComputePrintableRect(g_AppState.PageSetup, PrinterMetrics::FromDC(ic.Get()));
  page.bottom -= ::MulDiv(8, ::GetDeviceCaps(ic.Get(), LOGPIXELSY), 72);
  CPrintFontList predicted(100);
  for (const FontItem& font : fonts) predicted.Fonts().AddUnique(font, 0);
  predicted.SetTitle(L"Installed Fonts");
  predicted.SetPageRect(page);
  predicted.SetRange(0, static_cast<int>(fonts.size()));
  // An information context draws nothing (and measures no drawn text): a metafile of the
  // printer's resolution does.
  int expected = 0;
  for (bool more = true; more && expected < 20; ++expected) {
    HDC dc = ::CreateEnhMetaFileW(ic.Get(), nullptr, nullptr, nullptr);
    more = predicted.LayoutFontListPage(dc);
    ::DeleteEnhMetaFile(::CloseEnhMetaFile(dc));
  }
  ASSERT_GT(expected, 1) << "the test wants more than one page";

  {
    DialogAnswerer answerer({kPrintCaption, kDoneCaption});
    ::SendMessageW(list.m_hWnd, WM_COMMAND, ID_LIST_PRINT, 0);
  }
  const std::wstring pdf = WaitForNewPdf(pdfFolder_, before_, 60000);
  ASSERT_FALSE(pdf.empty()) << "no PDF from the printer";
  EXPECT_EQ(Pages(pdf), expected);
  const std::string text = Text(pdf);
  EXPECT_NE(text.find("Installed Fonts"), std::string::npos) << "the report title";
  EXPECT_NE(text.find("Page " + std::to_string(expected)), std::string::npos);
  EXPECT_NE(text.find("DejaVu Serif Italic"), std::string::npos) << "the last font";
  ::RegDeleteTreeW(HKEY_CURRENT_USER, kAppKeyPath);
}

// A printed group font list is titled with the group selected in the groups tree.
TEST_F(RealPrinter, GroupListIsTitledWithTheSelectedGroup) {
  ::RegDeleteTreeW(HKEY_CURRENT_USER, kAppKeyPath);
  testing_support::ScratchDir groups;
  SelectedGroup selected(groups.Path(), L"Holiday Posters");
  ASSERT_TRUE(selected.IsSelected());
  g_Preferences.SampleText = L"Sphinx of black quartz, judge my vow";
  COrvelListView list;
  ListHost host(list, IDC_GROUP_FONTS_LIST);
  FillAndSelect(list, DejaVuFonts(2));
  {
    DialogAnswerer answerer({kPrintCaption, kDoneCaption});
    ::SendMessageW(list.m_hWnd, WM_COMMAND, ID_LIST_PRINT, 0);
  }
  const std::wstring pdf = WaitForNewPdf(pdfFolder_, before_, 60000);
  ASSERT_FALSE(pdf.empty()) << "no PDF from the printer";
  const std::string text = Text(pdf);
  EXPECT_NE(text.find("Font Group Holiday Posters"), std::string::npos) << text.substr(0, 400);
}

TEST_F(RealPrinter, CancelOnPageTwoOfFiveAbortsTheDocument) {
  CancellingJob job;
  for (const FontItem& font : DejaVuFonts(5)) job.AddFont(font, false);
  std::vector<std::wstring> seen;
  {
    DialogAnswerer answerer({kPrintCaption, kDoneCaption});
    job.PrintFontSheets(owner_);
    seen = answerer.Seen();
  }
  EXPECT_EQ(job.LastResult(), orv::CPrintJob::Result::Cancelled);
  EXPECT_EQ(job.printed, 2) << "page 2 is finished, no page after it";
  EXPECT_EQ(std::find(seen.begin(), seen.end(), kDoneCaption), seen.end()) << "no note after a cancelled job";
  EXPECT_NE(std::find(seen.begin(), seen.end(), L"Printing"), seen.end()) << "the abort dialog";
  EXPECT_TRUE(WaitForNewPdf(pdfFolder_, before_, 4000).empty()) << "an aborted document reaches no printer";
}

// The page setup dialog on a real printer: OK keeps the margins and takes the paper.
TEST_F(RealPrinter, PageSetupTakesThePrintersPaper) {
  g_AppState.PageSetup = PageSetupData{};
  CPrintFontSet job;
  const PageSetupData first = g_AppState.PageSetup;
  EXPECT_NE(first.units, 0) << "the default printer fills the page setup";
  EXPECT_EQ(first.margins.left, first.units == 8 ? 1250 : 500);
  EXPECT_GT(first.paperSize.cx, 0);
  bool ok = false;
  {
    DialogAnswerer answerer({L"Page Setup", L"Setup Page"});  // Windows and Wine
    ::SetActiveWindow(owner_);
    ok = job.RunPageSetup();
  }
  EXPECT_TRUE(ok);
  EXPECT_EQ(g_AppState.PageSetup.units, first.units);
  EXPECT_EQ(g_AppState.PageSetup.margins.top, first.margins.top);
  EXPECT_EQ(g_AppState.PageSetup.paperSize.cx, first.paperSize.cx);
  EXPECT_EQ(g_AppState.PageSetup.paperSize.cy, first.paperSize.cy);
}

// Without a printer of that name nothing is printed, and the user is told once.
TEST(PrintJob, PrinterThatCannotBeOpenedIsReportedOnce) {
  ResetRecords();
  MissingPrinterJob job;
  job.AddFont(ReadFont(kDejaVuFolder, L"DejaVuSans.ttf"), true);
  job.PrintFontSheets(nullptr);
  ASSERT_EQ(Boxes().size(), 1u);
  EXPECT_NE(Boxes()[0].text.find(L"could not be printed"), std::wstring::npos);
  EXPECT_EQ(job.LastResult(), orv::CPrintJob::Result::NoDocument);
}
