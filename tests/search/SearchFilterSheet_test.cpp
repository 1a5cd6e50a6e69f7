// The search filter sheet run for real under Wine: characters typed into the list's cells in
// three ways, refused entries, the 64-row limit, the range list's order and its summary, the
// kinds page, the tree marks, and what OK and Cancel leave in the record.
#include "search/CSearchFilterPropSheet.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "app/AppState.h"
#include "common/Seams.h"
#include "tests/support/ControlLayout.h"
#include "tests/support/ModalScript.h"
#include "tests/support/TestSupport.h"

using namespace testing_support;

namespace {

class SearchFilterSheet : public testing::Test {
protected:
  void SetUp() override {
    seams::SetCharNameLibrary(BinDir() + L"\\standin\\getuname.dll");
    if (g_AppState.BlockTable.Rows().empty()) {
      ASSERT_TRUE(g_AppState.BlockTable.Load());
    }
    ResetRecords();
  }
  void TearDown() override { seams::SetCharNameLibrary(L""); }

  // Runs the sheet on `filter` while `steps` play on the Characters page's list (or whatever
  // they find), then presses `button`.
  INT_PTR RunSheet(CSearchFilterPropSheet& sheet, std::vector<std::function<bool()>> steps, int button) {
    steps.push_back([&sheet, button] {
      ::PostMessageW(sheet.m_hWnd, PSM_PRESSBUTTON, button, 0);
      return true;
    });
    INT_PTR result = -1;
    ModalScript::Run(std::move(steps), [&] { result = sheet.DoModal(nullptr); });
    return result;
  }
};

// A check box clicked: its state flips and its parent hears of it.
void Toggle(HWND dialog, int id) { ::SendMessageW(::GetDlgItem(dialog, id), BM_CLICK, 0, 0); }

HWND EditOf(HWND list) { return ::FindWindowExW(list, nullptr, L"Edit", nullptr); }

// Types `text` into the open cell editor and presses Enter.
void Enter(HWND list, const wchar_t* text) {
  HWND edit = EditOf(list);
  ASSERT_TRUE(edit) << "no cell is being edited";
  ::SetWindowTextW(edit, text);
  ::SendMessageW(edit, WM_KEYDOWN, VK_RETURN, 0);
}

// A click on a cell (the list tells its parent of a click when the button comes up), then F2.
void EditCell(HWND list, int row, int column) {
  RECT cell{};
  cell.top = column;
  cell.left = column == 0 ? LVIR_LABEL : LVIR_BOUNDS;
  ::SendMessageW(list, LVM_GETSUBITEMRECT, row, reinterpret_cast<LPARAM>(&cell));
  const LPARAM at = MAKELPARAM((cell.left + cell.right) / 2, (cell.top + cell.bottom) / 2);
  ::SendMessageW(list, WM_LBUTTONDOWN, MK_LBUTTON, at);
  ::SendMessageW(list, WM_LBUTTONUP, 0, at);
  ::SendMessageW(list, WM_KEYDOWN, VK_F2, 0);
}

TEST_F(SearchFilterSheet, CharactersTypedThreeWaysAndRefusedEntries) {
  CSearchFilterPropSheet sheet(SearchFilter{});
  CSearchFilterListView& list = sheet.m_pageGlyphs.List();
  const INT_PTR result = RunSheet(
      sheet,
      {[&] {
         if (!list.m_hWnd || !EditOf(list.m_hWnd)) return false;
         EXPECT_EQ(list.EditColumn(), 0) << "an empty list starts with a row whose character is edited";
         EXPECT_FALSE(sheet.m_pageGlyphs.IsTreeMarked());
         Enter(list.m_hWnd, L"A");
         EXPECT_EQ(list.RowCount(), 1);
         EXPECT_EQ(list.CellText(0, 0), L"A");
         EXPECT_EQ(list.CellText(0, 1), L"  65");
         EXPECT_EQ(list.CellText(0, 2), L"0041");
         EXPECT_EQ(list.CellText(0, 3), L"LATIN CAPITAL LETTER A");
         // The same character by its decimal or hexadecimal code is a duplicate.
         ::SendMessageW(list.m_hWnd, WM_KEYDOWN, VK_INSERT, 0);
         Enter(list.m_hWnd, L"\u20AC");
         EditCell(list.m_hWnd, 1, 1);
         Enter(list.m_hWnd, L"65");
         EditCell(list.m_hWnd, 1, 2);
         Enter(list.m_hWnd, L"41");
         EXPECT_EQ(Beeps().size(), 2u);
         EXPECT_EQ(list.CellText(1, 3), L"EURO SIGN") << "a refused entry leaves the row as it was";
         for (const wchar_t* refused : {L"31", L"70000", L""}) {
           EditCell(list.m_hWnd, 1, 1);
           Enter(list.m_hWnd, refused);
         }
         EXPECT_EQ(Beeps().size(), 5u);
         EditCell(list.m_hWnd, 1, 2);
         Enter(list.m_hWnd, L"e8");
         EXPECT_EQ(list.CellText(1, 0), L"\u00E8");
         // Up and Down carry the edit to the next row; Delete removes the selected one.
         EditCell(list.m_hWnd, 1, 0);
         ::SendMessageW(EditOf(list.m_hWnd), WM_KEYDOWN, VK_UP, 0);
         EXPECT_EQ(::SendMessageW(list.m_hWnd, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED), 0);
         ::SendMessageW(EditOf(list.m_hWnd), WM_KEYDOWN, VK_ESCAPE, 0);
         EXPECT_EQ(list.CollectCharacters(), L"A\u00E8");
         ::CheckRadioButton(sheet.m_pageGlyphs.m_hWnd, IDC_GLYPHS_PRESENT, IDC_GLYPHS_ABSENT, IDC_GLYPHS_ABSENT);
         return true;
       },
       [&] {
         EXPECT_TRUE(sheet.m_pageGlyphs.IsTreeMarked());
         return true;
       }},
      PSBTN_OK);
  EXPECT_GT(result, 0);
  EXPECT_EQ(sheet.Filter().Characters(), L"A\u00E8");
  EXPECT_EQ(sheet.Filter().glyphMode, 0);
}

TEST_F(SearchFilterSheet, SixtyFourRowsAtMost) {
  SearchFilter filter;
  std::wstring full;
  for (wchar_t c = L'0'; full.size() < 63; ++c) full += c;
  filter.SetCharacters(full);
  CSearchFilterPropSheet sheet(filter);
  CSearchFilterListView& list = sheet.m_pageGlyphs.List();
  RunSheet(sheet,
           {[&] {
             if (!list.m_hWnd) return false;
             EXPECT_EQ(list.RowCount(), 63);
             ::SendMessageW(list.m_hWnd, WM_KEYDOWN, VK_INSERT, 0);
             Enter(list.m_hWnd, L"~");
             EXPECT_TRUE(Beeps().empty());
             ::SendMessageW(list.m_hWnd, WM_KEYDOWN, VK_INSERT, 0);
             EXPECT_EQ(Beeps().size(), 1u) << "a 65th row is refused";
             EXPECT_EQ(list.RowCount(), 64);
             return true;
           }},
           PSBTN_OK);
  EXPECT_EQ(sheet.Filter().Characters().size(), 64u);
}

TEST_F(SearchFilterSheet, RangesKindsMarksAndCancel) {
  SearchFilter filter;
  filter.SetRangeBit(1);  // Latin-1 Supplement
  filter.kinds[2] = 3;    // kind 3 without the switch: the page shows the box, the record has no kind
  const SearchFilter before = filter;
  CSearchFilterPropSheet sheet(filter);
  const INT_PTR cancelled = RunSheet(
      sheet,
      {[&] {
         HWND s = sheet.m_hWnd;
         if (!s || !sheet.IsLayoutDone()) return false;
         HWND ranges = ShowSheetPage(s, 1);
         HWND list = ::GetDlgItem(ranges, IDC_RANGES_LIST);
         EXPECT_EQ(::SendMessageW(list, LVM_GETITEMCOUNT, 0, 0),
                   static_cast<LRESULT>(CSearchFilterPropPageRanges::ListedBlocks(g_AppState.BlockTable).size()));
         EXPECT_EQ(sheet.m_pageRanges.Summary(), L"Latin-1 Supplement");
         EXPECT_TRUE(sheet.m_pageRanges.IsTreeMarked());
         Toggle(ranges, IDC_RANGES_SYMBOL);
         EXPECT_FALSE(::IsWindowEnabled(list));
         EXPECT_EQ(sheet.m_pageRanges.Summary(), L"Symbol font instead of Unicode ranges");
         ClickButton(ranges, IDC_FILTER_CLEAR);
         EXPECT_EQ(sheet.m_pageRanges.Summary(), L"(no Unicode range chosen)");
         EXPECT_FALSE(sheet.m_pageRanges.IsTreeMarked());
         HWND kinds = ShowSheetPage(s, 2);
         EXPECT_EQ(::IsDlgButtonChecked(kinds, IDC_TYPES_TRUETYPE), BST_CHECKED);
         EXPECT_TRUE(sheet.m_pageTypes.IsTreeMarked());
         ClickButton(kinds, IDC_FILTER_CLEAR);
         EXPECT_FALSE(sheet.m_pageTypes.IsTreeMarked());
         return true;
       }},
      PSBTN_CANCEL);
  EXPECT_EQ(cancelled, 0);
  EXPECT_EQ(sheet.Filter(), before) << "Cancel writes nothing into the record";

  CSearchFilterPropSheet chosen(SearchFilter{});
  RunSheet(chosen,
           {[&] {
             HWND s = chosen.m_hWnd;
             if (!s || !chosen.IsLayoutDone()) return false;
             HWND kinds = ShowSheetPage(s, 2);
             Toggle(kinds, IDC_TYPES_TRUETYPE_NO_DSIG);
             Toggle(kinds, IDC_TYPES_COLLECTION);
             HWND ranges = ShowSheetPage(s, 1);
             HWND list = ::GetDlgItem(ranges, IDC_RANGES_LIST);
             ListView_SetCheckState(list, 0, TRUE);
             ListView_SetCheckState(list, 8, TRUE);
             ::SendMessageW(ranges, WM_COMMAND, ID_RANGES_UPDATE_SUMMARY, 0);
             EXPECT_EQ(chosen.m_pageRanges.Summary(), L"Basic Latin; Cyrillic");
             return true;
           }},
           PSBTN_OK);
  const SearchFilter& result = chosen.Filter();
  EXPECT_EQ(result.kindSwitch, 255);
  const uint16_t kinds[6] = {0, 2, 0, 0, 5, 0};
  EXPECT_TRUE(std::equal(std::begin(kinds), std::end(kinds), result.kinds));
  EXPECT_EQ(result.rangeMask[0], (1u << 0) | (1u << 9)) << "Cyrillic is range bit 9";
  EXPECT_TRUE(result.Characters().empty()) << "an empty character row is no character";
}

TEST(SearchFilterRanges, ListStopsAtTheFirstUnlistedBlock) {
  UnicodeBlockTable table;
  table.LoadFromUtf8("5|1|0100|017F|Second\n0|0|0000|007F|First\n9|127|0400|04FF|Hidden\n7|2|0370|03FF|After\n");
  const auto listed = CSearchFilterPropPageRanges::ListedBlocks(table);
  ASSERT_EQ(listed.size(), 2u);
  EXPECT_EQ(listed[0]->name, L"First");
  EXPECT_EQ(listed[1]->name, L"Second");
  UnicodeBlockTable gap;
  gap.LoadFromUtf8("0|0|0000|007F|First\n1|2|0080|00FF|Third\n");
  EXPECT_EQ(CSearchFilterPropPageRanges::ListedBlocks(gap).size(), 1u);
}

// The sheet as a user sees it: its caption, and on every page each control lies wholly inside
// the page and shows its whole label, at the dialog units of the fonts Wine gives. A picture
// of each page is kept.
TEST_F(SearchFilterSheet, CaptionAndEveryControlInsideItsPage) {
  CSearchFilterPropSheet sheet(SearchFilter{});
  std::wstring caption;
  RunSheet(sheet,
           {[&] {
             HWND s = sheet.m_hWnd;
             if (!s || !sheet.IsLayoutDone()) return false;
             wchar_t text[128] = {};
             ::InternalGetWindowText(s, text, 128);
             caption = text;
             for (int index = 0; index < 3; ++index) {
               HWND page = ShowSheetPage(s, index);
               ::UpdateWindow(s);
               RECT client{};
               ::GetClientRect(page, &client);
               const std::vector<HWND> children = VisibleChildren(page);
               for (HWND child : children) {
                 wchar_t name[128] = {};
                 ::InternalGetWindowText(child, name, 128);
                 const RECT rc = ShownRect(child);
                 EXPECT_TRUE(LiesInside(child, client))
                     << "page " << index << ", control " << ::GetDlgCtrlID(child) << " \"" << Narrow(name)
                     << "\" at (" << rc.left << "," << rc.top << ")-(" << rc.right << "," << rc.bottom
                     << ") outside the page's (" << client.right << "x" << client.bottom << ")";
                 EXPECT_TRUE(ShowsWholeText(child)) << "page " << index << ": \"" << Narrow(name) << "\" is cut";
               }
               EXPECT_GT(children.size(), 1u) << "page " << index;
               SaveWindowImage(s, ArtifactsDir() + L"\\search_filter_page" + std::to_wstring(index) + L".bmp");
             }
             return true;
           }},
           PSBTN_CANCEL);
  EXPECT_EQ(caption, L"Search Filter");
}

}  // namespace
