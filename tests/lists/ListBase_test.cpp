// The font list base: sorted rows, the bulk sort, counting of selected fonts, the installed
// match ranks, colours, row heights, selection walks and the detail reader's messages.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <utility>

#include "app/AppState.h"
#include "app/Preferences.h"
#include "framework/Handles.h"
#include "lists/COrvelListView.h"
#include "lists/FontItemList.h"
#include "tests/lists/ListTestHost.h"
#include "tests/support/TestSupport.h"

namespace {

FontItem Record(const std::wstring& name, const std::wstring& file = L"a.ttf", uint32_t flags = 0x40000001) {
  FontItem r;
  r.displayName = name;
  r.names.English(NameSlot::FullName) = name;
  r.fileRef = file;
  r.flags = flags;
  return r;
}

std::vector<std::wstring> Names(const COrvelListView& list) {
  std::vector<std::wstring> out;
  for (const auto& row : list.Rows()) out.push_back(row->Name() + (row->record ? L"" : L"/") +
                                                    (row->record ? L"@" + row->record->fileRef : L""));
  return out;
}

}  // namespace

TEST(ListRows, SortedInsertKeepsEqualNamesInTheOrderAdded) {
  COrvelListView list;
  list.AddItem(Record(L"beta", L"1"), false);
  list.AddItem(Record(L"Alpha", L"2"), false);
  list.AddItem(Record(L"BETA", L"3"), false);
  list.AddItem(Record(L"alpha", L"4"), false);
  list.AddItem(Record(L"\x00C9cole", L"5"), false);  // not ASCII: compared without case too
  list.AddItem(Record(L"\x00E9cole", L"6"), false);
  EXPECT_EQ(Names(list), (std::vector<std::wstring>{L"Alpha@2", L"alpha@4", L"beta@1", L"BETA@3",
                                                    L"\x00C9cole@5", L"\x00E9cole@6"}));
}

TEST(ListRows, SubgroupsAndRecordsNeverStopEachOthersInsert) {
  COrvelListView list;
  list.AddSubgroupEntry(L"Zeta", L"orvelgrp00001.xml", false, false);
  list.AddItem(Record(L"Mid"), false);          // passes the subgroup, appended
  list.AddSubgroupEntry(L"Alpha", L"orvelgrp00002.xml", false, false);  // in front of Zeta
  list.AddItem(Record(L"Aaa"), false);          // in front of Mid, behind Zeta
  EXPECT_EQ(Names(list), (std::vector<std::wstring>{L"Alpha/", L"Zeta/", L"Aaa@a.ttf", L"Mid@a.ttf"}));
}

TEST(ListRows, BulkAppendAndOneSortEqualsTheSortedInserts) {
  std::mt19937 random(7);
  const wchar_t* stems[] = {L"Arial", L"arial", L"B", L"b", L"Zed", L"\x00C4pfel", L"\x00E4pfel", L"Ab", L"aB"};
  COrvelListView inserted;
  COrvelListView bulk;
  for (int i = 0; i < 400; ++i) {
    const FontItem r = Record(stems[random() % std::size(stems)], std::to_wstring(i));
    inserted.AddItem(r, false);
    bulk.AppendItem(r);
  }
  bulk.SortRows();
  EXPECT_EQ(Names(bulk), Names(inserted));
}

TEST(ListRows, RemoveRowAndCountRecords) {
  COrvelListView list;
  FontListRow* a = list.AddItem(Record(L"A"), false);
  list.AddSubgroupEntry(L"G", L"g.xml", true, false);
  list.AddItem(Record(L"B"), false);
  EXPECT_EQ(list.CountRecords(), 2);
  list.RemoveRow(a);
  EXPECT_EQ(list.CountRecords(), 1);
  list.RemoveRow(nullptr);
  EXPECT_EQ(list.Rows().size(), 2u);
}

TEST(SelectedFonts, AddUniqueCountsTheSameFontFromTheSameFile) {
  FontItemList items;
  const FontItem a = Record(L"Face", L"C:\\F\\a.ttf", 0xC0000001);
  items.AddUnique(a, 0);
  items.AddUnique(Record(L"Face", L"c:\\f\\A.TTF", 0xC0000001), 1);  // same file, other case
  items.AddUnique(Record(L"Face", L"C:\\F\\b.ttf", 0xC0000001), 2);  // same face, other file
  ASSERT_EQ(items.Count(), 2u);
  EXPECT_EQ(items.Entries().front().count, 2);
  EXPECT_EQ(items.Entries().front().row, 0);
  EXPECT_TRUE(items.Entries().front().marked);
  EXPECT_EQ(items.Entries().back().count, 1);
  EXPECT_EQ(items.Entries().back().row, 2);
  // A display name that differs from the full name never matches an earlier entry.
  FontItem styled = Record(L"Face", L"C:\\F\\a.ttf", 0xC0000001);
  styled.displayName = L"Face Regular";
  items.AddUnique(styled, 3);
  EXPECT_EQ(items.Count(), 3u);
  items.RemoveAll();
  EXPECT_TRUE(items.Empty());
  items.RemoveAll();
  EXPECT_TRUE(items.Empty());
}

TEST(SelectedFonts, AnEntryIsCompletedBeforeItIsComparedAndManyKeepTheirOrder) {
  // A row never read is completed first: its full name comes from its file.
  const std::wstring sans = L"Z:\\usr\\share\\fonts\\truetype\\dejavu\\DejaVuSans.ttf";
  FontItemList items;
  items.AddUnique(Record(L"Listed name", sans, 0), 0);
  items.AddUnique(Record(L"DejaVu Sans", L"z:\\USR\\share\\fonts\\truetype\\dejavu\\dejavusans.TTF"), 1);
  ASSERT_EQ(items.Count(), 1u);
  EXPECT_EQ(items.Entries().front().count, 2);
  // Each font met twice, its file in other letter case (beyond ASCII too): one entry each, in order.
  for (int i = 0; i < 1000; ++i) {
    items.AddUnique(Record(L"F" + std::to_wstring(i), L"\x00C9" + std::to_wstring(i)), i);
    items.AddUnique(Record(L"F" + std::to_wstring(i), L"\x00E9" + std::to_wstring(i)), -1);
  }
  items.AddUnique(Record(L"f7", L"\x00E9" L"7"), -1);  // names compare exactly: another font
  ASSERT_EQ(items.Count(), 1002u);
  auto entry = std::next(items.Entries().begin());
  for (int i = 0; i < 1000; ++i, ++entry) EXPECT_TRUE(entry->row == i && entry->count == 2) << i;
  EXPECT_EQ(entry->count, 1);
}

TEST(SelectedFonts, GroupFontsCountBySameNameAndPath) {
  FontItemList items;
  items.AddGroupFont(L"Serif", L"C:\\F\\s.ttf");
  items.AddGroupFont(L"Serif", L"C:\\f\\S.TTF");
  items.AddGroupFont(L"serif", L"C:\\F\\s.ttf");
  ASSERT_EQ(items.Count(), 2u);
  EXPECT_EQ(items.Entries().front().count, 2);
}

TEST_F(HostedList, FindMatchingRowPrefersSameNameAndTypeThenRanks) {
  COrvelListView installed;
  FontItem otf = Record(L"Face", L"a.otf", 0xC0000005);
  FontItem englishOnly = Record(L"Other", L"b.ttf", 0xC0000001);
  englishOnly.names.System(NameSlot::FullName) = L"Autre";
  englishOnly.names.English(NameSlot::FullName) = L"Face";
  installed.AddItem(otf, false);
  installed.AddItem(englishOnly, false);
  Show(installed);
  // Same full name, other type: rank 3; English name with the same type: rank 1 wins.
  FontItem wanted = Record(L"Face", L"x.ttf", 0xC0000001);
  EXPECT_EQ(installed.GetRowName(installed.FindMatchingRow(wanted)), L"Other");
  // Same full name and type: that row at once.
  FontItem cff = Record(L"Face", L"y.otf", 0xC0000005);
  EXPECT_EQ(installed.GetRowName(installed.FindMatchingRow(cff)), L"Face");
  EXPECT_EQ(installed.FindMatchingRow(Record(L"Nothing")), -1);
}

TEST_F(HostedList, TextColourFollowsTheStatus) {
  COrvelListView list;
  const COLORREF* c = g_Preferences.Colors;
  const COLORREF text = ::GetSysColor(COLOR_WINDOWTEXT);
  EXPECT_EQ(list.GetItemTextColor(0x8 | 0x200000 | 0x80000, 204), c[4]);
  EXPECT_EQ(list.GetItemTextColor(0x200000 | 0x80000, 204), c[2]);
  EXPECT_EQ(list.GetItemTextColor(0x80000 | 0x400, 204), c[3]);
  EXPECT_EQ(list.GetItemTextColor(0x400, 206), text);
  EXPECT_EQ(list.GetItemTextColor(0x400, 204), c[0]);
  EXPECT_EQ(list.GetItemTextColor(0x400 | 0x100000, 204), c[1]);
  EXPECT_EQ(list.GetItemTextColor(0x1, 204), text);
}

TEST_F(HostedList, RowHeightFromThePointSizeAndTheMessageFont) {
  COrvelListView list;
  host.Attach(list);
  int x = 0;
  {
    HDC dc = ::GetDC(list.m_hWnd);
    HFONT font = CreateListFont();
    HGDIOBJ old = ::SelectObject(dc, font);
    SIZE size{};
    ::GetTextExtentPoint32W(dc, L"X", 1, &size);
    x = size.cy;
    ::SelectObject(dc, old);
    ::DeleteObject(font);
    const int dpi = ::GetDeviceCaps(dc, LOGPIXELSY);
    ::ReleaseDC(list.m_hWnd, dc);
    ASSERT_EQ(dpi, 96);
  }
  // The font that carries the height to the control stays a live font after the measuring.
  static HFONT sent = nullptr;
  orv::ScopedHook watch(::SetWindowsHookExW(
      WH_CALLWNDPROC,
      [](int code, WPARAM wp, LPARAM lp) -> LRESULT {
        const auto* call = reinterpret_cast<const CWPSTRUCT*>(lp);
        if (code == HC_ACTION && call->message == WM_SETFONT) sent = reinterpret_cast<HFONT>(call->wParam);
        return ::CallNextHookEx(nullptr, code, wp, lp);
      },
      nullptr, ::GetCurrentThreadId()));
  ASSERT_TRUE(watch);
  auto controlFont = [] {
    LOGFONTW lf{};
    return ::GetObjectType(sent) == OBJ_FONT && ::GetObjectW(sent, sizeof(lf), &lf) ? lf.lfHeight : -1;
  };
  g_Preferences.FontPointSize = 12;  // MulDiv(1500, 96, 7200) = 20
  list.MeasureRows();
  EXPECT_EQ(list.RowHeight(), x + 26);
  EXPECT_EQ(controlFont(), list.RowHeight());
  g_Preferences.FontPointSize = 8;  // 13 pixels, raised to 16
  list.MeasureRows();
  EXPECT_EQ(list.RowHeight(), x + 22);
  EXPECT_EQ(controlFont(), list.RowHeight());
  // A size the options cannot give is drawn at the nearest one they can: 240 points are 400
  // pixels, 4 points 7 pixels (raised to 16).
  const std::pair<int, int> sizes[] = {{241, x + 406}, {100000, x + 406}, {0x7FFFFFFF, x + 406},
                                       {3, x + 22},   {0, x + 22},      {-1, x + 22}};
  for (const auto& [points, height] : sizes) {
    g_Preferences.FontPointSize = points;
    list.MeasureRows();
    EXPECT_EQ(list.RowHeight(), height) << points;
  }
  g_Preferences.FontPointSize = 8;
  list.MeasureRows();
  list.SetNamesOnly(true);
  EXPECT_EQ(list.RowHeight(), std::max(20, x));
  // The control took the height from its parent's answer.
  for (int i = 0; i < 3; ++i) list.AddItem(Record(L"R" + std::to_wstring(i)), false);
  list.Repopulate();
  RECT a{LVIR_BOUNDS}, b{LVIR_BOUNDS};
  ::SendMessageW(list.m_hWnd, LVM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&a));
  ::SendMessageW(list.m_hWnd, LVM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&b));
  EXPECT_EQ(b.top - a.top, list.RowHeight());
}

TEST_F(HostedList, CtrlDownJumpsToTheNextFlaggedRow) {
  COrvelListView list;
  list.AddItem(Record(L"A", L"a", 0xC0000001), false);
  list.AddItem(Record(L"B", L"b", 0xC0000001), false);
  list.AddItem(Record(L"C", L"c", 0xC0080001), false);  // unreadable
  list.AddItem(Record(L"D", L"d", 0xC0000001), false);
  Show(list);
  // No selection: Ctrl+Down searches from the first row.
  ::SendMessageW(list.m_hWnd, WM_KEYDOWN, VK_DOWN, 0);  // without Ctrl: the control's own move
  list.SelectAll(false);
  BYTE keys[256] = {};
  ::GetKeyboardState(keys);
  INPUT ctrl[1] = {};
  ctrl[0].type = INPUT_KEYBOARD;
  ctrl[0].ki.wVk = VK_CONTROL;
  ::SendInput(1, ctrl, sizeof(INPUT));
  bool ctrlSeen = false;
  for (int i = 0; i < 400 && !ctrlSeen; ++i) {
    ctrlSeen = (::GetAsyncKeyState(VK_CONTROL) & 0x8000) != 0;
    if (!ctrlSeen) ::Sleep(5);
  }
  ::SendMessageW(list.m_hWnd, WM_KEYDOWN, VK_DOWN, 0);
  ctrl[0].ki.dwFlags = KEYEVENTF_KEYUP;
  ::SendInput(1, ctrl, sizeof(INPUT));
  if (!ctrlSeen) GTEST_SKIP() << "no keyboard state under this display";
  EXPECT_EQ(list.GetSelectedIndices(), std::vector<int>{2});
}

TEST_F(HostedList, CollectItemsTakesTheSelectionAndItsCollectionFaces) {
  COrvelListView list;
  list.AddItem(Record(L"A", L"one.ttc", 0xC0000081), false);
  list.AddItem(Record(L"B", L"one.ttc", 0xC0000081), false);
  list.AddItem(Record(L"C", L"c.ttf", 0xC0000001), false);
  Show(list);
  LVITEMW item{};
  item.stateMask = LVIS_SELECTED;
  item.state = LVIS_SELECTED;
  ::SendMessageW(list.m_hWnd, LVM_SETITEMSTATE, 0, reinterpret_cast<LPARAM>(&item));
  FontItemList items;
  EXPECT_EQ(list.CollectItems(items, true), 2);  // the other face of the same collection joins
  EXPECT_EQ(list.GetSelectedIndices(), (std::vector<int>{0, 1}));
  FontItemList all;
  EXPECT_EQ(list.CollectItems(all, false), 3);
}

TEST_F(HostedList, PositionComesBackAfterARefill) {
  COrvelListView list;
  for (int i = 0; i < 60; ++i) list.AddItem(Record(L"Row " + std::to_wstring(100 + i)), false);
  Show(list);
  list.ScrollToRow(30, -1);
  const int top = static_cast<int>(::SendMessageW(list.m_hWnd, LVM_GETTOPINDEX, 0, 0));
  ASSERT_GT(top, 0);
  list.SavePosition(false);
  const std::wstring remembered = list.m_rememberedRow;
  EXPECT_EQ(remembered, list.GetRowName(top));
  list.Repopulate();
  list.RestorePosition(true);
  EXPECT_EQ(::SendMessageW(list.m_hWnd, LVM_GETTOPINDEX, 0, 0), top);
  EXPECT_TRUE(list.m_rememberedRow.empty());
  // With select on restore only that row ends selected and focused.
  list.SelectAll(true);
  list.SetPositionName(L"Row 105", true);
  list.RestorePosition(true);
  EXPECT_EQ(list.GetSelectedIndices(), std::vector<int>{5});
}

TEST_F(HostedList, EmptyingTheListFlagsTheSelectionAndRedrawsTheWholeList) {
  COrvelListView list;
  for (int i = 0; i < 60; ++i) list.AddItem(Record(L"Row " + std::to_wstring(100 + i)), false);
  Show(list);
  ::UpdateWindow(list.m_hWnd);
  // One item deleted on its own: its notification flags the selection.
  list.m_selectionChanged = false;
  ASSERT_TRUE(::SendMessageW(list.m_hWnd, LVM_DELETEITEM, 59, 0));
  EXPECT_TRUE(list.m_selectionChanged);
  ::UpdateWindow(list.m_hWnd);
  // All items at once: one notification for them all, and the whole client is to be redrawn.
  list.m_selectionChanged = false;
  list.Clear();
  EXPECT_TRUE(list.m_selectionChanged);
  EXPECT_EQ(::SendMessageW(list.m_hWnd, LVM_GETITEMCOUNT, 0, 0), 0);
  RECT client{}, update{};
  ::GetClientRect(list.m_hWnd, &client);
  ASSERT_TRUE(::GetUpdateRect(list.m_hWnd, &update, FALSE));
  EXPECT_EQ(update.top, client.top);
  EXPECT_EQ(update.bottom, client.bottom);
  // The emptied list fills again.
  list.AddItem(Record(L"Again"), false);
  list.Repopulate();
  EXPECT_EQ(list.GetRowName(0), L"Again");
}

TEST_F(HostedList, EscapeWhileCollectingEmptiesTheCollectionAndBeepsOnce) {
  COrvelListView list;
  for (int i = 0; i < 20; ++i) list.AddItem(Record(L"F" + std::to_wstring(i), L"f" + std::to_wstring(i)), false);
  Show(list);
  list.SelectAll(true);
  ::SetForegroundWindow(host.Window());
  ::SetFocus(list.m_hWnd);
  INPUT input[1] = {};
  input[0].type = INPUT_KEYBOARD;
  input[0].ki.wVk = VK_ESCAPE;
  ::SendInput(1, input, sizeof(INPUT));
  EXPECT_TRUE(testing_support::WaitForQueuedInput()) << "the key press did not arrive";
  FontItemList items;
  EXPECT_EQ(list.CollectItems(items, true), 0);
  EXPECT_TRUE(items.Empty());
  EXPECT_EQ(testing_support::Beeps(), std::vector<UINT>{MB_ICONEXCLAMATION});
  input[0].ki.dwFlags = KEYEVENTF_KEYUP;
  ::SendInput(1, input, sizeof(INPUT));
  testing_support::PumpMessages(50);
}

TEST_F(HostedList, ShowInInstalledListLinesUpTheMatchingRow) {
  COrvelListView folder;
  COrvelListView& installed = g_AppState.InstalledFonts;
  for (int i = 0; i < 80; ++i) {
    folder.AddItem(Record(L"Face " + std::to_wstring(100 + i), L"f" + std::to_wstring(i)), false);
    if (i >= 5) installed.AddItem(Record(L"Face " + std::to_wstring(100 + i), L"i" + std::to_wstring(i)), false);
  }
  host.Attach(folder);
  host.Attach(installed, 206);
  folder.Repopulate();
  installed.Repopulate();
  auto top = [](const COrvelListView& l) { return static_cast<int>(::SendMessageW(l.m_hWnd, LVM_GETTOPINDEX, 0, 0)); };
  auto select = [](COrvelListView& l, int row) {
    l.SelectAll(false);
    LVITEMW item{};
    item.stateMask = LVIS_SELECTED;
    item.state = LVIS_SELECTED;
    ::SendMessageW(l.m_hWnd, LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&item));
  };
  // "Face 140" three rows below the folder list's top: the installed one (row 35) goes three
  // rows below the installed list's top.
  folder.ScrollToRow(37, -1);
  ASSERT_EQ(top(folder), 37);
  select(folder, 40);
  folder.ShowInInstalledList();
  EXPECT_EQ(top(installed), 32);
  EXPECT_EQ(top(folder), 37);
  // "Face 108" eight rows below the top, installed at row 3: the installed list cannot go above
  // its first row, so the folder list moves down instead and both show the face three rows down.
  folder.ScrollToRow(0, -1);
  installed.ScrollToRow(0, -1);
  select(folder, 8);
  folder.ShowInInstalledList();
  EXPECT_EQ(top(installed), 0);
  EXPECT_EQ(top(folder), 5);
  installed.Clear();
}
