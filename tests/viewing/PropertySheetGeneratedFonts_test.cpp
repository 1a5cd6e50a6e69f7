// Property sheets of fonts made for the test, read back from the running sheet's controls:
// name strings of any length (a copyright may hold 32,700 characters, which an edit control
// would take seconds to lay out: the pages show the first few thousand characters, the end cut
// with an ellipsis), and the lists of a font that declares no code pages.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <map>

#include "app/CTreePropertySheet.h"
#include "common/ResourceIds.h"
#include "fonts/FontFileWalk.h"
#include "viewing/FontPropertySheets.h"
#include "viewing/PropertyPageHelpers.h"
#include "tests/support/ModalScript.h"
#include "tests/support/SfntBuilder.h"
#include "tests/support/TestSupport.h"

using namespace sfnt_test;
using namespace testing_support;

namespace {

constexpr wchar_t kEllipsis = L'\u2026';
constexpr int kNamesPage = 1, kVendorPage = 2, kDescriptionPage = 3, kCodePagesPage = 5;

// Words, so that the edit controls wrap the text as they would a real notice.
std::wstring Words(size_t length, const std::wstring& word = L"Copyright Example Foundry. ") {
  std::wstring out;
  while (out.size() < length) out += word;
  out.resize(length);
  return out;
}

std::wstring ControlText(HWND page, int control) {
  HWND wnd = ::GetDlgItem(page, control);
  wchar_t cls[16] = {};
  ::GetClassNameW(wnd, cls, 16);
  if (::lstrcmpiW(cls, L"ListBox") == 0) {
    std::wstring items;
    const int count = static_cast<int>(::SendMessageW(wnd, LB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
      wchar_t item[512] = {};
      ::SendMessageW(wnd, LB_GETTEXT, i, reinterpret_cast<LPARAM>(item));
      items += (i ? L"|" : L"") + std::wstring(item);
    }
    return items;
  }
  const int length = ::GetWindowTextLengthW(wnd);
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  text.resize(static_cast<size_t>(::GetWindowTextW(wnd, text.data(), length + 1)));
  return text;
}

using Shown = std::map<std::pair<int, int>, std::wstring>;  // (page, control) -> text or list items

// Runs the sheet of a font of these names and OS/2 table, as a font list opens it, and reads
// the asked controls (list boxes as their items joined by "|").
Shown ShowSheetOf(const std::vector<NameRecord>& names, const Bytes& os2,
                  const std::vector<std::pair<int, int>>& controls) {
  ScratchDir dir;
  WriteFile(dir.File(L"made.ttf"), BuildSfnt({{"OS/2", os2}, {"head", BuildHead()}, {"name", BuildNameTable(names)}}));
  FontItem record;
  bool found = false;
  ForEachFontItem(dir.Path(), L"made.ttf", [&](const FontItem& item) {
    record = item;
    found = true;
  });
  EXPECT_TRUE(found) << "the generated font was not read";
  Shown shown;
  if (!found) return shown;
  ModalScript::Run({[&] {
                     HWND sheet = TopDialogOfThread();
                     if (!sheet || !::GetDlgItem(sheet, CTreePropertySheet::kPageTreeId)) return false;
                     for (const auto& [page, control] : controls)
                       shown[{page, control}] = ControlText(ShowSheetPage(sheet, page), control);
                     ::PostMessageW(sheet, PSM_PRESSBUTTON, PSBTN_OK, 0);
                     return true;
                   }},
                   [&] { EXPECT_TRUE(ShowFontProperties(record, nullptr)); });
  return shown;
}

TEST(PropertySheetGeneratedFonts, LongTextsAreCutWithAnEllipsis) {
  const size_t limit = kMaxShownTextLength;
  ASSERT_GE(limit, 2000u) << "a few thousand characters are shown";
  const std::wstring atLimit = Words(limit);
  EXPECT_EQ(ShownText(atLimit), atLimit) << "a string of the limit is shown whole";
  EXPECT_EQ(ShownText(L"a\nb"), L"a\r\nb");
  EXPECT_EQ(ShownText(L""), L"");
  const struct {
    const char* label;
    std::wstring text;
    std::wstring shownEnd;  // the last characters before the ellipsis
  } cases[] = {
      {"one more", Words(limit) + L"x", Words(limit).substr(limit - 3)},
      // A surrogate pair across the cut is dropped whole, never halved.
      {"pair", std::wstring(limit - 1, L'a') + L"\U0001F600" + L"tail", L"aaa"},
      // Line ends count as the two characters shown; a CR LF is not split either.
      {"crlf", std::wstring(limit - 1, L'b') + L"\ntail", L"bbb"},
      {"long", Words(32700), Words(limit).substr(limit - 3)},
  };
  for (const auto& c : cases) {
    const std::wstring shown = ShownText(c.text);
    ASSERT_GE(shown.size(), 4u) << c.label;
    EXPECT_LE(shown.size(), limit + 1) << c.label;
    EXPECT_EQ(shown.back(), kEllipsis) << c.label;
    EXPECT_EQ(shown.substr(shown.size() - 4, 3), c.shownEnd) << c.label;
    EXPECT_EQ(shown.substr(0, 100), c.text.substr(0, 100)) << c.label;
  }
}

// A copyright of 32,700 characters and a description of 5,000: both pages show the start of
// the text and the ellipsis, the short names whole.
TEST(PropertySheetGeneratedFonts, SheetOfAFontWithAHugeCopyright) {
  const std::wstring copyright = Words(32700);
  const std::wstring description = Words(5000, L"A long description of the face. ");
  auto names = WindowsNames(L"Longname", L"Regular", L"Longname Regular");
  names.push_back({3, 1, 0x409, 0, copyright});
  names.push_back({3, 1, 0x409, 10, description});
  const Shown shown = ShowSheetOf(names, BuildOs2(4),
                                  {{kNamesPage, IDC_PROP_FULL_NAME},
                                   {kVendorPage, IDC_PROP_COPYRIGHT},
                                   {kDescriptionPage, IDC_PROP_DESCRIPTION}});
  ASSERT_EQ(shown.size(), 3u);
  EXPECT_EQ(shown.at({kNamesPage, IDC_PROP_FULL_NAME}), L"Longname Regular");
  for (const auto& [text, full] : {std::pair{shown.at({kVendorPage, IDC_PROP_COPYRIGHT}), copyright},
                                   std::pair{shown.at({kDescriptionPage, IDC_PROP_DESCRIPTION}), description}}) {
    ASSERT_FALSE(text.empty());
    EXPECT_LE(text.size(), kMaxShownTextLength + 1);
    EXPECT_EQ(text.back(), kEllipsis);
    EXPECT_EQ(text.substr(0, text.size() - 1), full.substr(0, text.size() - 1));
  }
}

// The code-page list of a font with no code-page bits says so with the text of an empty
// Unicode-range list, as does the range list of a font with no range bits.
TEST(PropertySheetGeneratedFonts, EmptyListsSayNoUnicodeRanges) {
  const auto names = WindowsNames(L"Nopages", L"Regular", L"Nopages Regular");
  Bytes noRanges = BuildOs2(4);
  for (size_t at = 42; at < 58; ++at) noRanges[at] = 0;
  const struct {
    const char* label;
    Bytes os2;
    bool rangesEmpty;
  } cases[] = {{"no code pages", BuildOs2(4), false}, {"nothing declared", noRanges, true}};
  for (const auto& c : cases) {
    const Shown shown = ShowSheetOf(names, c.os2, {{kCodePagesPage, IDC_PROP_CODE_PAGES},
                                                   {kCodePagesPage, IDC_PROP_UNICODE_RANGES}});
    ASSERT_EQ(shown.size(), 2u) << c.label;
    EXPECT_EQ(shown.at({kCodePagesPage, IDC_PROP_CODE_PAGES}), L"No Unicode ranges") << c.label;
    const std::wstring ranges = shown.at({kCodePagesPage, IDC_PROP_UNICODE_RANGES});
    EXPECT_EQ(ranges == L"No Unicode ranges", c.rangesEmpty) << c.label << ": " << Narrow(ranges);
  }
}

}  // namespace
