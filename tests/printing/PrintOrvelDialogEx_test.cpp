// Our part of the print dialog's general page, made from its template as the system's dialog
// makes it and driven through the dialog's callback (Wine's print dialog takes no such part):
// the number of fonts to print, every control inside the part with its whole label, and a page
// range box grown longer (another language, a larger font) pushing the copies part right.
#include "printing/CPrintOrvelDialogEx.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>

#include "printing/CPrintFontSet.h"
#include "tests/support/ModalScript.h"

#include "common/ResourceIds.h"
#include "framework/AppModule.h"
#include "tests/printing/PrintingTestSupport.h"
#include "tests/support/ControlLayout.h"
#include "tests/support/TestSupport.h"

using namespace printing_tests;
using namespace testing_support;

namespace {

constexpr int kCopiesPart[] = {IDC_PRINT_COPIES_GROUP, IDC_PRINT_COPIES_LABEL, IDC_PRINT_COPIES,
                               IDC_PRINT_COPIES_SPIN,  IDC_PRINT_COLLATE,      IDC_PRINT_COLLATE_ICON};
constexpr int kStaying[] = {IDC_PRINT_RANGE_ALL, IDC_PRINT_RANGE_PAGES, IDC_PRINT_PAGES, IDC_PRINT_SELECTION_COUNT,
                            IDC_PRINT_REPORT_OPTIONS};

// The general part as the system's dialog holds it: a child dialog whose messages reach the
// callback. `stretchRange` widens the page range box before the callback sees the part.
struct GeneralPart {
  CPrintOrvelDialogEx* callback;
  int stretchRange;
  HWND window = nullptr;

  static INT_PTR CALLBACK Proc(HWND dialog, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_INITDIALOG) {
      auto* self = reinterpret_cast<GeneralPart*>(lp);
      ::SetWindowLongPtrW(dialog, DWLP_USER, lp);
      HWND range = ::GetDlgItem(dialog, IDC_PRINT_RANGE_GROUP);
      RECT rc{};
      ::GetWindowRect(range, &rc);
      ::SetWindowPos(range, nullptr, 0, 0, rc.right - rc.left + self->stretchRange, rc.bottom - rc.top,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    auto* self = reinterpret_cast<GeneralPart*>(::GetWindowLongPtrW(dialog, DWLP_USER));
    LRESULT result = 0;
    if (self && self->callback->HandleMessage(dialog, msg, wp, lp, &result) == S_OK) {
      // A colour message answers with its brush, the others through the message result.
      if (msg >= WM_CTLCOLORMSGBOX && msg <= WM_CTLCOLORSTATIC) return static_cast<INT_PTR>(result);
      ::SetWindowLongPtrW(dialog, DWLP_MSGRESULT, result);
      return TRUE;
    }
    return msg == WM_INITDIALOG;
  }

  void Create(HWND parent) {
    window = ::CreateDialogParamW(orv::g_Module.GetResourceInstance(), MAKEINTRESOURCEW(IDD_PRINT_GENERAL), parent,
                                  &Proc, reinterpret_cast<LPARAM>(this));
    ::ShowWindow(window, SW_SHOWNOACTIVATE);
  }
  ~GeneralPart() {
    if (window) ::DestroyWindow(window);
  }

  RECT Rect(int id) const { return ShownRect(::GetDlgItem(window, id)); }
  int Width() const {
    RECT rc{};
    ::GetWindowRect(window, &rc);
    return rc.right - rc.left;
  }
};

std::wstring TextOf(HWND window) {
  wchar_t text[128] = {};
  ::InternalGetWindowText(window, text, 128);
  return text;
}

void ExpectEveryControlInside(const GeneralPart& part) {
  RECT client{};
  ::GetClientRect(part.window, &client);
  for (HWND child : VisibleChildren(part.window)) {
    EXPECT_TRUE(LiesInside(child, client)) << "control " << ::GetDlgCtrlID(child) << " lies outside the part";
    EXPECT_TRUE(ShowsWholeText(child)) << "\"" << Narrow(TextOf(child)) << "\" is cut";
  }
}

constexpr int kPrinterNameCombo = 0x473;  // the system print dialog's printer list

}  // namespace

// Cancelling a print dialog ends the print quietly: no failure message, no job. Under Wine the
// dialog with our part cannot run and the plain one follows it, after a failure of the first
// that the system still reports after the cancel, and after it for the font sheets' dialog.
TEST(PrintDialog, CancelShowsNoFailure) {
  if (!HasDefaultPrinter()) GTEST_SKIP() << "no printer: the print dialog cannot open";
  COrvelListView list;
  ListHost host(list, IDC_INSTALLED_FONTS_LIST);
  const FontItem font = ReadFont(kDejaVuFolder, L"DejaVuSans.ttf");
  FillAndSelect(list, {font});
  const std::function<bool()> cancel = [] {
    HWND print = FindDialogWithControl(kPrinterNameCombo);
    if (print) ClickButton(print, IDCANCEL);
    return print != nullptr;
  };
  CPrintFontSet printing;
  Boxes().clear();
  ModalScript::Run({cancel}, [&] { printing.PrintFontList(list); });
  printing.AddFont(font, true);
  ModalScript::Run({cancel}, [&] { printing.PrintFontSheets(host.Window()); });
  for (const auto& box : Boxes()) ADD_FAILURE() << "a message after a cancel: " << Narrow(box.text);
  EXPECT_EQ(printing.LastResult(), orv::CPrintJob::Result::NoDocument) << "no job ran";
}

TEST(PrintDialogGeneralPart, CountLayoutAndCopiesMovedForALongerRange) {
  COrvelListView list;
  ListHost host(list, IDC_INSTALLED_FONTS_LIST);
  FillAndSelect(list, {ReadFont(kDejaVuFolder, L"DejaVuSans.ttf"), ReadFont(kDejaVuFolder, L"DejaVuSerif.ttf"),
                       ReadFont(kDejaVuFolder, L"DejaVuSansMono.ttf")});
  CPrintOrvelDialogEx dialog(list);

  // As the template has it.
  GeneralPart shipped{&dialog, 0};
  shipped.Create(host.Window());
  ASSERT_TRUE(shipped.window);
  EXPECT_EQ(TextOf(::GetDlgItem(shipped.window, IDC_PRINT_SELECTION_COUNT)), L"Print 3 selected fonts");
  for (int id : kCopiesPart)
    EXPECT_GE(shipped.Rect(id).left, shipped.Rect(IDC_PRINT_RANGE_GROUP).right + 7) << "control " << id;
  ExpectEveryControlInside(shipped);
  SaveWindowImage(host.Window(), ArtifactsDir() + L"\\print_general_part.bmp");
  std::map<int, RECT> before;
  for (int id : kCopiesPart) before[id] = shipped.Rect(id);
  for (int id : kStaying) before[id] = shipped.Rect(id);
  const int leftmost = shipped.Rect(IDC_PRINT_COPIES_GROUP).left;
  const int width = shipped.Width();

  // A page range box 60 pixels longer: the copies part moves right as a whole, 7 pixels clear of
  // it, and the part grows by as much; the rest stays.
  GeneralPart longer{&dialog, 60};
  longer.Create(host.Window());
  ASSERT_TRUE(longer.window);
  const int shift = longer.Rect(IDC_PRINT_RANGE_GROUP).right + 7 - leftmost;
  ASSERT_GT(shift, 0);
  for (int id : kCopiesPart) {
    EXPECT_EQ(longer.Rect(id).left, before[id].left + shift) << "control " << id;
    EXPECT_EQ(longer.Rect(id).top, before[id].top) << "control " << id;
  }
  for (int id : kStaying) {
    const RECT rc = longer.Rect(id);
    EXPECT_TRUE(::EqualRect(&rc, &before[id])) << "control " << id;
  }
  EXPECT_EQ(longer.Width(), width + shift);
  ExpectEveryControlInside(longer);
}
