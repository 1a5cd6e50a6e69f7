// The character grid driven by its own messages under Wine: dragging a character out as text
// (to a real drop target), the compose box, hit tests in both modes, the wheel, the zoom, and
// fonts whose (3,10) cmap is hostile.
#include <windows.h>
#include <oleidl.h>
#include <richedit.h>

#include <string>

#include <gtest/gtest.h>

#include "common/Seams.h"
#include "framework/Handles.h"
#include "tests/support/SfntBuilder.h"
#include "tests/viewing/CharMapTesting.h"
#include "viewing/CDropDataObj.h"

using namespace charmap_testing;
using namespace testing_support;

namespace {

constexpr uint32_t kGrinningFace = 0x1F600;
const std::wstring kGrinningFaceText{wchar_t(0xD83D), wchar_t(0xDE00)};

std::wstring UnicodeTextOf(IDataObject* data) {
  FORMATETC format{CF_UNICODETEXT, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
  STGMEDIUM medium{};
  if (FAILED(data->GetData(&format, &medium))) return L"(none)";
  std::wstring text;
  const size_t bytes = ::GlobalSize(medium.hGlobal);
  if (const auto* p = static_cast<const wchar_t*>(::GlobalLock(medium.hGlobal))) {
    text.assign(p, bytes / sizeof(wchar_t));
    ::GlobalUnlock(medium.hGlobal);
  }
  ::ReleaseStgMedium(&medium);
  return text;
}

TEST(CharDragData, UnicodeAndAnsiTextOfACharacter) {
  IDataObject* data = new CDropDataObj(kGrinningFaceText);
  data->AddRef();
  auto owner = orv::ComPtr<IDataObject>::Attach(data);
  // The pair and its terminator.
  EXPECT_EQ(UnicodeTextOf(data), kGrinningFaceText + L'\0');

  FORMATETC ansi{CF_TEXT, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
  STGMEDIUM medium{};
  ASSERT_EQ(data->GetData(&ansi, &medium), S_OK);
  const char* bytes = static_cast<const char*>(::GlobalLock(medium.hGlobal));
  CPINFO info{};
  ASSERT_TRUE(::GetCPInfo(CP_THREAD_ACP, &info));
  ASSERT_TRUE(bytes);
  // A character the code page lacks: its default character (once, or once per UTF-16 unit).
  const std::string text(bytes);
  EXPECT_TRUE(text == std::string(1, char(info.DefaultChar[0])) || text == std::string(2, char(info.DefaultChar[0])))
      << text;
  ::GlobalUnlock(medium.hGlobal);
  ::ReleaseStgMedium(&medium);

  FORMATETC other{CF_HDROP, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
  EXPECT_EQ(data->QueryGetData(&other), DV_E_FORMATETC);
  EXPECT_EQ(data->GetData(&other, &medium), E_NOTIMPL);
  EXPECT_EQ(data->QueryGetData(&ansi), S_OK);
  orv::ComPtr<IEnumFORMATETC> formats;
  ASSERT_EQ(data->EnumFormatEtc(DATADIR_GET, formats.Receive()), S_OK);
  FORMATETC listed[3]{};
  ULONG count = 0;
  formats->Next(3, listed, &count);
  ASSERT_EQ(count, 2u);
  EXPECT_EQ(listed[0].cfFormat, CF_UNICODETEXT);
  EXPECT_EQ(listed[1].cfFormat, CF_TEXT);
}

// A window that accepts dropped text and keeps it.
class TextDropTarget final : public IDropTarget {
public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override {
    if (riid == IID_IUnknown || riid == IID_IDropTarget) {
      *out = this;
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }
  HRESULT STDMETHODCALLTYPE DragEnter(IDataObject*, DWORD, POINTL, DWORD* effect) override {
    *effect = DROPEFFECT_COPY;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE DragOver(DWORD, POINTL, DWORD* effect) override {
    *effect = DROPEFFECT_COPY;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE DragLeave() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE Drop(IDataObject* data, DWORD, POINTL, DWORD* effect) override {
    dropped = UnicodeTextOf(data);
    *effect = DROPEFFECT_COPY;
    return S_OK;
  }
  std::wstring dropped;
};

class CharMapGrid : public ::testing::Test {
protected:
  void SetUp() override {
    seams::SetCharNameLibrary(BinDir() + L"\\standin\\getuname.dll");
    frame_ = OpenFrame(RectOnScreen({0, 0}, {700, 640}));
    ASSERT_TRUE(frame_);
  }
  void TearDown() override {
    if (frame_ && frame_->IsWindow()) frame_->DestroyWindow();
    PumpMessages(20);
    frame_.reset();
    seams::SetCharNameLibrary(L"");
  }
  CCharMapGrid& Open(const FontItem& font, bool installed) {
    child_ = frame_->AddFontTab(font, installed);
    EXPECT_TRUE(child_);
    PumpMessages(30);
    child_->View().Grid().EnsureLayout();
    return child_->View().Grid();
  }
  // Moves over the cell of `codePoint` as the mouse does; its client point.
  POINT Hover(CCharMapGrid& grid, uint32_t codePoint) {
    const POINT pt = PointAtEntry(grid, IndexOf(grid, codePoint));
    grid.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(pt.x, pt.y));
    return pt;
  }
  std::unique_ptr<CCharMapFrame> frame_;
  CCharMapChildFrame* child_ = nullptr;
};

TEST_F(CharMapGrid, DragOfACharacterBeyondTheBmpDropsItsSurrogatePair) {
  CCharMapGrid& grid = Open(ReadFont(DejaVu(L"DejaVuSans.ttf")), true);
  const POINT pt = Hover(grid, kGrinningFace);
  ASSERT_EQ(grid.DropChar(), kGrinningFace);
  EXPECT_EQ(UnicodeTextOf(grid.CreateDragData().Get()), kGrinningFaceText + L'\0');

  ASSERT_TRUE(SUCCEEDED(::OleInitialize(nullptr)));
  WNDCLASSW cls{};
  cls.lpfnWndProc = ::DefWindowProcW;
  cls.hInstance = ::GetModuleHandleW(nullptr);
  cls.lpszClassName = L"OrvelTestDropTarget";
  ::RegisterClassW(&cls);
  HWND target = ::CreateWindowExW(WS_EX_TOPMOST, cls.lpszClassName, L"drop here", WS_POPUP | WS_VISIBLE | WS_BORDER,
                                  900, 300, 300, 200, nullptr, nullptr, cls.hInstance, nullptr);
  TextDropTarget drop;
  ASSERT_EQ(::RegisterDragDrop(target, &drop), S_OK);
  // The pointer rests over the target; the button goes down over the character (as the grid
  // sees it) and stays down: after 200 ms the drag starts, and the drop happens where the
  // pointer is once the button is found up.
  ::SetCursorPos(1050, 400);
  PumpMessages(50);
  const POINT down = PointAtEntry(grid, IndexOf(grid, kGrinningFace), false);
  grid.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(down.x, down.y));
  const ULONGLONG began = ::GetTickCount64();
  grid.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(down.x, down.y));
  EXPECT_GE(::GetTickCount64() - began, CCharMapGrid::kDragDelayMs);
  EXPECT_EQ(drop.dropped, kGrinningFaceText + L'\0');
  ::RevokeDragDrop(target);
  ::DestroyWindow(target);
  ::OleUninitialize();

  // A press released before it moved or waited starts nothing.
  drop.dropped.clear();
  Hover(grid, kGrinningFace);
  grid.PostMessage(WM_LBUTTONUP, 0, MAKELPARAM(pt.x, pt.y));
  const ULONGLONG clicked = ::GetTickCount64();
  grid.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(pt.x, pt.y));
  EXPECT_LT(::GetTickCount64() - clicked, CCharMapGrid::kDragDelayMs);
  EXPECT_EQ(grid.DropChar(), kGrinningFace) << "the click leaves the character under the mouse";
}

TEST_F(CharMapGrid, DoubleClickComposesAndOnlyAnInstalledFontOffersIt) {
  CCharMapGrid& grid = Open(ReadFont(DejaVu(L"DejaVuSans.ttf")), true);
  HWND compose = child_->View().ComposeBox();
  ASSERT_TRUE(compose && ::IsWindowVisible(compose));
  HWND copy = ::GetDlgItem(child_->View(), IDC_CHARMAP_COPY);
  EXPECT_FALSE(::IsWindowEnabled(copy));
  for (uint32_t cp : {uint32_t{0xE9}, kGrinningFace}) {
    const POINT pt = Hover(grid, cp);
    grid.SendMessage(WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(pt.x, pt.y));
  }
  PumpMessages(20);
  wchar_t text[16]{};
  ::GetWindowTextW(compose, text, 16);
  EXPECT_EQ(std::wstring(text), L"\u00E9" + kGrinningFaceText);
  EXPECT_TRUE(::IsWindowEnabled(copy)) << "Copy follows the compose box's text";

  // A font that is not installed: no compose box, and a press over a character starts nothing.
  CCharMapGrid& privateGrid = Open(ReadFont(DejaVu(L"DejaVuSansMono.ttf")), false);
  EXPECT_FALSE(::IsWindowVisible(child_->View().ComposeBox()));
  EXPECT_FALSE(::IsWindowVisible(::GetDlgItem(child_->View(), IDC_CHARMAP_COPY)));
  const POINT pt = Hover(privateGrid, 0x41);
  ASSERT_EQ(privateGrid.HoverChar(), 0x41u);
  const ULONGLONG began = ::GetTickCount64();
  privateGrid.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(pt.x, pt.y));
  EXPECT_LT(::GetTickCount64() - began, 150u);
}

TEST_F(CharMapGrid, HitTestsWheelAndZoom) {
  // Byte mode (a Type 1 font): 14 rows of the codes 0x20 to 0xFF.
  FontItem type1 = ReadFont(DejaVu(L"DejaVuSans.ttf"));
  type1.flags = (type1.flags & ~font_flags::kTypeMask) | font_flags::kType1;
  CCharMapGrid& bytes = Open(type1, true);
  ASSERT_TRUE(bytes.IsEightBit());
  const int cell = bytes.CellSize();
  ASSERT_GT(cell, 10);
  HWND status = frame_->m_hWndStatusBar;
  auto moveTo = [](CCharMapGrid& g, int x, int y) { g.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(x, y)); };
  bytes.SetScrollOffset(0, 0);
  moveTo(bytes, 15 * cell + cell / 2, 13 * cell + cell / 2 - bytes.GetScrollOffset().y);
  EXPECT_EQ(StatusText(status, 0), L" xFF (255)");
  moveTo(bytes, cell / 2, 14 * cell + 2 - bytes.GetScrollOffset().y);
  EXPECT_EQ(StatusText(status, 0), L"") << "row 14 and beyond hold nothing";
  EXPECT_EQ(bytes.HoverChar(), 0u);

  CCharMapGrid& grid = Open(ReadFont(DejaVu(L"DejaVuSans.ttf")), true);
  RECT client{};
  grid.GetClientRect(&client);
  moveTo(grid, 16 * grid.CellSize() + 1, cell);
  if (16 * grid.CellSize() + 1 < client.right) {
    EXPECT_EQ(grid.HoverChar(), 0u) << "right of the sixteenth column";
  }

  // A wheel delta beyond 800 scrolls as 800 does.
  auto wheel = [&](short delta) {
    grid.SetScrollOffset(0, 0);
    grid.SendMessage(WM_MOUSEWHEEL, MAKEWPARAM(0, delta), MAKELPARAM(100, 100));
    return grid.GetScrollOffset().y;
  };
  const int by1200 = wheel(-1200);
  grid.SendMessage(WM_MOUSEWHEEL, MAKEWPARAM(0, 800 % WHEEL_DELTA), 0);  // back to no remainder
  EXPECT_GT(by1200, 0);
  EXPECT_EQ(wheel(-800), by1200);

  // The zoom: right-click shows it over the character, three cells large less a pixel;
  // its factor stays within 2 and 10; near the screen's corner it is pushed to 0.
  grid.SetScrollOffset(0, 0);
  const POINT pt = Hover(grid, 0x20);
  grid.SendMessage(WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(pt.x, pt.y));
  ASSERT_TRUE(grid.IsZoomShown());
  RECT zoom{};
  grid.ZoomWindow().GetWindowRect(&zoom);
  EXPECT_EQ(zoom.right - zoom.left, CCharMapGrid::kZoomFactorDefault * grid.CellSize() - 1);
  EXPECT_GE(zoom.left, 0);
  EXPECT_GE(zoom.top, 0);
  EXPECT_TRUE(zoom.left == 0 || zoom.top == 0) << "the first cell lies near the screen's top-left corner";
  for (int i = 0; i < 12; ++i) grid.SendMessage(WM_MOUSEWHEEL, MAKEWPARAM(MK_CONTROL, -WHEEL_DELTA), 0);
  EXPECT_EQ(grid.ZoomFactor(), CCharMapGrid::kZoomFactorMin);
  BYTE keys[256]{};
  ::GetKeyboardState(keys);
  keys[VK_CONTROL] = 0x80;
  ::SetKeyboardState(keys);
  for (int i = 0; i < 12; ++i) grid.SendMessage(WM_KEYDOWN, VK_UP, 0);
  keys[VK_CONTROL] = 0;
  ::SetKeyboardState(keys);
  EXPECT_EQ(grid.ZoomFactor(), CCharMapGrid::kZoomFactorMax);
  grid.SendMessage(WM_KEYDOWN, VK_SPACE, 0);
  EXPECT_EQ(grid.ZoomAlpha(), CCharMapGrid::kZoomAlphaOpaque);
  grid.SendMessage(WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(pt.x, pt.y));
  EXPECT_FALSE(grid.IsZoomShown());
  EXPECT_FALSE(grid.ZoomWindow().IsWindowVisible());
}

TEST_F(CharMapGrid, HostileCmapsOpenBoundedMaps) {
  using namespace sfnt_test;
  const Bytes dejavu = ReadFile(DejaVu(L"DejaVuSans.ttf"));
  ASSERT_FALSE(dejavu.empty());
  uint32_t cmapAt = 0;
  for (const TableEntry& t : ReadDirectory(dejavu))
    if (t.tag == "cmap") cmapAt = t.offset;
  ASSERT_NE(cmapAt, 0u);
  // The (3,10) subtable of DejaVu Sans: its offset from the record that names it.
  uint32_t sub = 0;
  for (uint16_t i = 0; i < GetU16(dejavu, cmapAt + 2); ++i) {
    const uint32_t record = cmapAt + 4 + 8 * i;
    if (GetU16(dejavu, record) == 3 && GetU16(dejavu, record + 2) == 10) sub = cmapAt + GetU32(dejavu, record + 4);
  }
  ASSERT_NE(sub, 0u);
  struct Case {
    const char* what;
    size_t at;
    uint32_t value;
  } const cases[] = {
      {"group count", sub + 12, 0xFFFFFFFF},  {"length", sub + 4, 0xFFFFFFFF},
      {"first end", sub + 20, 0xFFFFFFFF},     {"first start", sub + 16, 0},
      {"subtable offset", cmapAt + 4 + 8 * 4 + 4, 0xFFFFFFF0},
  };
  ScratchDir dir;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Bytes hostile = dejavu;
    SetU32(hostile, c.at, c.value);
    const std::wstring path = dir.File(L"hostile.ttf");
    WriteFile(path, hostile);
    FontItem font = ReadFont(path);
    CCharMapGrid& grid = Open(font, false);
    EXPECT_LE(grid.CodePoints().Size(), CodePointList::kMaxCodePoints);
    grid.SetScrollOffset(0, 1 << 30);
    grid.UpdateWindow();
    if (grid.CodePoints().Size() > 0) Hover(grid, grid.CodePoints().At(grid.CodePoints().Size() - 1));
    frame_->SendMessage(WM_COMMAND, ID_TAB_CLOSE);
    PumpMessages(30);
    g_AppState.FontCache.RemoveAll(false);
    if (!frame_->IsWindow()) frame_ = OpenFrame(RectOnScreen({0, 0}, {700, 640}));
  }
}

}  // namespace
