// Print jobs on a real printer: Wine's PostScript driver printing to a CUPS-PDF queue, the PDF
// read back with poppler's tools. Without such a printer these tests say so and skip. Only
// TrueType fonts here: Wine's PostScript driver cannot print privately loaded CFF fonts.
#include "printing/CPrintFontSet.h"

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

}  // namespace

// A font whose PostScript name no printer takes is left out and named, as a list and as sheets;
// the fonts after it print, with a footer on every page. In a narrow column of the list a label
// taller than the column ends with an ellipsis.
TEST_F(RealPrinter, UnprintableFontIsLeftOutAndNamed) {
  ScratchDir folder;
  RunHostCommand("/usr/bin/python3 '" + UnixPath(SourceDir() + L"\\tests\\printing\\data\\make_long_name_fonts.py") +
                 "' '" + UnixPath(folder.Path()) + "'");
  const FontItem longName = ReadFont(folder.Path(), L"LongName.ttf");
  ASSERT_EQ(longName.postScriptName.size(), 30000u) << "the fixture fonts (python3-fonttools)";
  const FontItem longFamily = ReadFont(folder.Path(), L"LongFamily.ttf"), serif = ReadFont(kDejaVuFolder, L"DejaVuSerif.ttf");
  g_Preferences.SampleText = L"Sphinx of black quartz, judge my vow";
  for (const bool sheets : {false, true}) {
    SCOPED_TRACE(sheets ? "sheets" : "list");
    ResetRecords();
    before_ = PdfFiles(pdfFolder_);
    orv::ScopedKey prefs;
    ::RegCreateKeyExW(HKEY_CURRENT_USER, kPrefsKeyPath, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, prefs.Receive(), nullptr);
    WriteRegDword(prefs.Get(), L"PrintFlags", 0x600);  // list mode, six columns
    {
      DialogAnswerer answerer({kPrintCaption, kDoneCaption});
      COrvelListView list;
      ListHost host(list, IDC_FOLDER_FONTS_LIST);
      CPrintFontSet job;
      if (sheets) {
        job.AddFont(longName, true);
        job.AddFont(serif, false);
        job.PrintFontSheets(owner_);
      } else {
        FillAndSelect(list, {longName, longFamily, serif});
        ::SendMessageW(list.m_hWnd, WM_COMMAND, ID_LIST_PRINT, 0);
      }
    }
    ASSERT_EQ(Boxes().size(), 1u) << "one message names the font left out";
    EXPECT_NE(Boxes()[0].text.find(L"PostScript names"), std::wstring::npos);
    EXPECT_NE(Boxes()[0].text.find(L"(LongName.ttf)"), std::wstring::npos) << Narrow(Boxes()[0].text);
    const std::wstring pdf = WaitForNewPdf(pdfFolder_, before_, 60000);
    ASSERT_FALSE(pdf.empty()) << "no PDF from the printer";
    const std::string text = Text(pdf), artifact = UnixPath(ArtifactsDir()) + "/print-long-names-" + (sheets ? "sheets" : "list");
    RunHostCommand("pdftotext -layout '" + UnixPath(pdf) + "' '" + artifact + ".txt'; pdftoppm -r 50 -png '" + UnixPath(pdf) + "' '" + artifact + "'");
    EXPECT_NE(text.find("DejaVu Serif"), std::string::npos) << text.substr(0, 400);
    EXPECT_EQ(text.find("OrvelOrvel"), std::string::npos) << "the font left out";
    EXPECT_EQ(text.find("\xE2\x80\xA6") != std::string::npos, !sheets) << "the long label's ellipsis";
    EXPECT_EQ(Pages(pdf), 1);
    EXPECT_EQ(text.find("Orvel Font Manager"), text.rfind("Orvel Font Manager")) << "the footer, once";
    EXPECT_NE(text.find("Orvel Font Manager"), std::string::npos);
  }
  ::RegDeleteTreeW(HKEY_CURRENT_USER, kAppKeyPath);
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
  CFontSheetFrame frame(nullptr, RECT{20, 20, 700, 600});
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
