// The image export: file names, the HTML page's escaping and links, images in every format that
// decode again, a failed image left out of the page, and the page rendered by a real browser.
#include "printing/FontImageExport.h"

#include <gtest/gtest.h>

#include <objidl.h>
using std::max;
using std::min;
#include <gdiplus.h>

#include <regex>

#include "app/AppState.h"
#include "app/Preferences.h"
#include "printing/HtmlReportWriter.h"
#include "printing/ImageEncoder.h"
#include "common/Seams.h"
#include "common/UnicodeText.h"
#include "tests/printing/PrintingTestSupport.h"
#include "tests/support/TestSupport.h"
#include "viewing/CSampleWindow.h"

using namespace printing_tests;
using namespace testing_support;

namespace {

std::vector<std::wstring> g_opened;
void RecordOpen(HWND, const std::wstring& path) { g_opened.push_back(path); }
void OpenNothing(HWND, const std::wstring&) {}

SIZE DecodedSize(const std::wstring& path) {
  Gdiplus::Bitmap bitmap(path.c_str());
  if (bitmap.GetLastStatus() != Gdiplus::Ok) return SIZE{};
  return SIZE{static_cast<LONG>(bitmap.GetWidth()), static_cast<LONG>(bitmap.GetHeight())};
}

std::string PercentDecode(const std::string& s) {
  std::string out;
  for (size_t i = 0; i < s.size(); ++i) {
    if (s[i] == '%' && i + 2 < s.size()) {
      out += static_cast<char>(std::stoi(s.substr(i + 1, 2), nullptr, 16));
      i += 2;
    } else {
      out += s[i];
    }
  }
  return out;
}

// A sample pane and a font list to export from, with the given fonts selected.
class ExportFixture : public testing::Test {
protected:
  void SetUp() override {
    g_opened.clear();
    seams::SetShellOpenSink(&RecordOpen);
    ResetRecords();
    host_ = std::make_unique<ListHost>(list_);
    paneHost_ = ::CreateWindowExW(0, L"STATIC", nullptr, WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 620, 0, 420, 300,
                                  nullptr, nullptr, nullptr, nullptr);
    RECT rc{0, 0, 420, 300};
    ASSERT_TRUE(pane_.Create(paneHost_, &rc));
  }
  void TearDown() override {
    pane_.DestroyWindow();
    ::DestroyWindow(paneHost_);
    host_.reset();
    seams::SetShellOpenSink(&OpenNothing);
  }
  void Select(const std::vector<FontItem>& fonts) { FillAndSelect(list_, fonts); }

  GdiplusSession gdiplus_;
  COrvelListView list_;
  std::unique_ptr<ListHost> host_;
  HWND paneHost_ = nullptr;
  CSampleWindow pane_;
  ScratchDir scratch_;
};

}  // namespace

TEST(ImageExportNames, FileNamesEscapingAndUniqueNames) {
  struct Case {
    const wchar_t* name;
    bool html;
    const wchar_t* file;
  };
  const Case cases[] = {
      {L"Foo Bar: Bold/Italic.Pro", true, L"foo_bar__bold_italic_pro"},
      {L"Foo Bar: Bold/Italic.Pro", false, L"Foo Bar_ Bold_Italic_Pro"},
      {L"A<b>\"c\"|*?", false, L"A(b)'c'___"},
      {L"con", false, L"_con"},
      {L"LPT1", true, L"_lpt1"},
      {L"COM10", false, L"COM10"},
      {L"Tab\there\x01", false, L"Tab_here_"},
      {L"Trailing  ", false, L"Trailing__"},
      {L"", false, L"_"},
      {L"\u00C9L\u00C9GANT", true, L"\u00E9l\u00E9gant"},
  };
  for (const Case& c : cases) EXPECT_EQ(MakeImageFileName(c.name, c.html), c.file) << Narrow(c.name);

  EXPECT_EQ(HtmlEscape(L"<b>Tom & \"Jerry's\"</b>"), L"&lt;b&gt;Tom &amp; &quot;Jerry&#39;s&quot;&lt;/b&gt;");
  EXPECT_EQ(PercentEncodePath(L"images/a b#c?%\u00E9.png"), L"images/a%20b%23c%3F%25%C3%A9.png");

  ScratchDir dir;
  std::wstring path = dir.File(L"arial.jpg");
  ASSERT_TRUE(WriteFileBytes(path, "x", 1));
  MakeUniqueImageName(path, image_format::kJpeg);
  EXPECT_EQ(path, dir.File(L"arial(1).jpg"));
  ASSERT_TRUE(WriteFileBytes(path, "x", 1));
  path = dir.File(L"arial.jpg");
  MakeUniqueImageName(path, image_format::kJpeg);
  EXPECT_EQ(path, dir.File(L"arial(2).jpg"));

  // A long name is cut so that the path, with "(n)" and extension, stays within MAX_PATH - 1.
  std::wstring longPath = dir.File(std::wstring(300, L'n') + L".png");
  FitPathLength(longPath);
  EXPECT_EQ(longPath.size(), size_t{MAX_PATH - 1});
  EXPECT_EQ(longPath.substr(longPath.size() - 4), L".png");
  ASSERT_TRUE(WriteFileBytes(longPath, "x", 1));
  MakeUniqueImageName(longPath, image_format::kPng);
  EXPECT_EQ(longPath.size(), size_t{MAX_PATH - 1});
  EXPECT_EQ(longPath.substr(longPath.size() - 7), L"(1).png");
}

TEST_F(ExportFixture, FivePngImagesWithAnIndexWhoseLinksResolve) {
  std::vector<FontItem> fonts;
  for (const wchar_t* face : {L"DejaVuSans.ttf", L"DejaVuSerif.ttf", L"DejaVuSansMono.ttf", L"DejaVuSans-Bold.ttf",
                              L"DejaVuSerif-Italic.ttf"})
    fonts.push_back(ReadFont(kDejaVuFolder, face));
  fonts[1].displayName = L"<b>Serif & \"Co\"";  // hostile text for the page
  Select(fonts);
  ImageExportOptions options;
  options.folder = scratch_.Path();
  options.format = image_format::kPng;
  options.writeHtml = true;
  options.imagesSubfolder = true;
  const bool infoBlock = g_AppState.ShowInfoBlock = true;
  ASSERT_TRUE(ExportFontImages(pane_, list_, options, nullptr));
  EXPECT_EQ(g_AppState.ShowInfoBlock, infoBlock) << "the information block is back as it was";
  ASSERT_EQ(g_opened.size(), 1u);
  EXPECT_EQ(g_opened[0], scratch_.File(L"index.htm"));
  EXPECT_TRUE(Boxes().empty());

  const std::string page = ReadFileBytes(scratch_.File(L"index.htm"));
  ASSERT_FALSE(page.empty());
  EXPECT_EQ(page.rfind("<!DOCTYPE html>\r\n", 0), 0u);
  EXPECT_EQ(page.find("<b>Serif"), std::string::npos);
  EXPECT_NE(page.find("&lt;b&gt;Serif &amp; &quot;Co&quot;"), std::string::npos);
  const std::regex src("<img src=\"([^\"]*)\"");
  int links = 0;
  for (auto it = std::sregex_iterator(page.begin(), page.end(), src); it != std::sregex_iterator(); ++it, ++links) {
    std::wstring relative = Utf8ToUtf16(PercentDecode((*it)[1].str()));
    EXPECT_EQ(relative.rfind(L"images/", 0), 0u);
    std::replace(relative.begin(), relative.end(), L'/', L'\\');
    const SIZE size = DecodedSize(scratch_.File(relative));
    EXPECT_EQ(size.cx, 420 - ::GetSystemMetrics(SM_CXVSCROLL)) << Narrow(relative);
    EXPECT_GT(size.cy, 10) << Narrow(relative);
  }
  EXPECT_EQ(links, 5);

  // What a person sees: the page in a real browser, when the machine has one.
  const std::string shot = UnixPath(ArtifactsDir() + L"\\printing_image_index.png");
  const std::string answer = RunHostCommand(
      "if [ -x /usr/bin/chromium ]; then timeout 100 /usr/bin/chromium --headless --no-sandbox --disable-gpu --disable-quic "
      "--no-first-run --disable-background-networking --disable-component-update --disable-sync "
      "--user-data-dir=$(mktemp -d) --window-size=900,900 --screenshot=" + shot + " file://" +
      UnixPath(scratch_.File(L"index.htm")) + " >/dev/null 2>&1 && echo shot; else echo no-browser; fi");
  if (answer.find("no-browser") != std::string::npos) {
    std::printf("[ NOTE     ] no chromium on this machine: no browser screenshot of the page\n");
  } else {
    EXPECT_NE(answer.find("shot"), std::string::npos) << answer;
  }
}

TEST_F(ExportFixture, EveryFormatDecodesAndAFailedImageIsLeftOut) {
  const FontItem sans = ReadFont(kDejaVuFolder, L"DejaVuSans.ttf");
  FontItem serif = ReadFont(kDejaVuFolder, L"DejaVuSerif.ttf");
  Select({sans, serif});
  for (int format : {image_format::kBmp, image_format::kJpeg, image_format::kGif, image_format::kPng}) {
    ImageExportOptions options;
    options.folder = scratch_.Path();
    options.format = format;
    ASSERT_TRUE(ExportFontImages(pane_, list_, options, nullptr)) << format;
    const std::wstring file = scratch_.File(MakeImageFileName(sans.FullName(), false) + ImageExtension(format));
    const SIZE size = DecodedSize(file);
    EXPECT_GT(size.cx, 100) << format;
    EXPECT_GT(size.cy, 10) << format;
  }
  // Exporting again without replacing gives new names.
  ImageExportOptions again;
  again.folder = scratch_.Path();
  again.format = image_format::kGif;
  ASSERT_TRUE(ExportFontImages(pane_, list_, again, nullptr));
  EXPECT_GT(DecodedSize(scratch_.File(MakeImageFileName(sans.FullName(), false) + L"(1).gif")).cx, 100);

  // The serif image cannot be written (a folder has its name): reported, and not on the page.
  ResetRecords();
  g_opened.clear();
  const std::wstring blocked = scratch_.File(MakeImageFileName(serif.FullName(), true) + L".png");
  ASSERT_TRUE(::CreateDirectoryW(blocked.c_str(), nullptr));
  ImageExportOptions html;
  html.folder = scratch_.Path();
  html.format = image_format::kPng;
  html.writeHtml = true;
  html.overwrite = true;
  html.htmlName = L"page.htm";
  EXPECT_TRUE(ExportFontImages(pane_, list_, html, nullptr));
  ASSERT_EQ(Boxes().size(), 1u);
  EXPECT_NE(Boxes()[0].text.find(blocked), std::wstring::npos);
  const std::string page = ReadFileBytes(scratch_.File(L"page.htm"));
  EXPECT_NE(page.find(Narrow(MakeImageFileName(sans.FullName(), true))), std::string::npos);
  EXPECT_EQ(page.find(Narrow(MakeImageFileName(serif.FullName(), true))), std::string::npos);
  EXPECT_EQ(g_opened.size(), 1u) << "the page is still opened";
}
