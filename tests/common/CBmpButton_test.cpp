// The image button on real buttons: image sizes fitted to the button, the disabled image faded
// towards the window colour (pixels read back), the image painted for each state, clicks and
// the tooltip.
#include "common/CBmpButton.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>

#include "tests/common/CommandIconStrip.h"

namespace {

constexpr COLORREF kIconColour = RGB(200, 40, 60);
constexpr COLORREF kMarker = RGB(255, 0, 255);
constexpr int kButtonId = 300;

// The owner of the buttons: reflects notifications back to them and counts clicks.
class CTestOwner : public orv::CWindowImpl<CTestOwner> {
public:
  DECLARE_WND_CLASS(L"OrvelTestBmpButtonOwner")
  BEGIN_MSG_MAP(CTestOwner)
    COMMAND_CODE_HANDLER(BN_CLICKED, OnClicked)
    REFLECT_NOTIFICATIONS()
  END_MSG_MAP()
  LRESULT OnClicked(WORD, WORD, HWND, BOOL&) {
    ++clicks;
    return 0;
  }
  int clicks = 0;
};

// A 16 x 16 icon: a solid square of kIconColour with a transparent border of 2 pixels.
orv::ScopedIcon MakeTestIcon() {
  BITMAPINFO bi{};
  bi.bmiHeader = {sizeof(BITMAPINFOHEADER), 16, -16, 1, 32, BI_RGB};
  void* bits = nullptr;
  orv::ScopedBitmap colour(::CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
  BYTE maskBits[16 * 2];  // monochrome rows are word aligned
  for (int y = 0; y < 16; ++y) {
    WORD row = 0;
    for (int x = 0; x < 16; ++x) {
      const bool inside = x >= 2 && x < 14 && y >= 2 && y < 14;
      static_cast<DWORD*>(bits)[y * 16 + x] =
          inside ? (0xFF000000u | (GetRValue(kIconColour) << 16) | (GetGValue(kIconColour) << 8) | GetBValue(kIconColour))
                 : 0;
      if (!inside) row |= static_cast<WORD>(0x8000 >> x);
    }
    maskBits[y * 2] = static_cast<BYTE>(row >> 8);
    maskBits[y * 2 + 1] = static_cast<BYTE>(row & 0xFF);
  }
  orv::ScopedBitmap mask(::CreateBitmap(16, 16, 1, 1, maskBits));
  ICONINFO info{TRUE, 0, 0, mask.Get(), colour.Get()};
  return orv::ScopedIcon(::CreateIconIndirect(&info));
}

COLORREF Blend(COLORREF source, COLORREF dest) {
  auto mix = [](int s, int d) { return (s * 0x9F + d * (255 - 0x9F) + 127) / 255; };
  return RGB(mix(GetRValue(source), GetRValue(dest)), mix(GetGValue(source), GetGValue(dest)),
             mix(GetBValue(source), GetBValue(dest)));
}

int Distance(COLORREF a, COLORREF b) {
  return std::abs(GetRValue(a) - GetRValue(b)) + std::abs(GetGValue(a) - GetGValue(b)) +
         std::abs(GetBValue(a) - GetBValue(b));
}

class CBmpButtonTest : public testing::Test {
protected:
  void SetUp() override {
    const RECT rc{100, 100, 400, 300};
    ASSERT_TRUE(owner_.Create(nullptr, &rc, L"Buttons", WS_OVERLAPPEDWINDOW));
    icon_ = MakeTestIcon();
    ASSERT_TRUE(icon_);
  }
  void TearDown() override {
    if (owner_.IsWindow()) owner_.DestroyWindow();
    buttons_.clear();
  }

  HWND MakeButton(int cx, int cy, int id = kButtonId) {
    return ::CreateWindowExW(0, L"BUTTON", L"", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 10, 10, cx, cy, owner_,
                             reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), nullptr, nullptr);
  }
  CBmpButton& NewButton() { return *buttons_.emplace_back(std::make_unique<CBmpButton>()); }

  // What the button paints, read at (x, y).
  static COLORREF Painted(HWND button, int x, int y) {
    RECT rc{};
    ::GetClientRect(button, &rc);
    orv::ScopedGetDC screen(nullptr);
    orv::ScopedCreatedDC dc(::CreateCompatibleDC(screen.Get()));
    orv::ScopedBitmap bitmap(::CreateCompatibleBitmap(screen.Get(), rc.right, rc.bottom));
    orv::ScopedSelectObject select(dc.Get(), bitmap.Get());
    ::SendMessageW(button, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc.Get()), PRF_CLIENT);
    return ::GetPixel(dc.Get(), x, y);
  }

  CTestOwner owner_;
  orv::ScopedIcon icon_;
  std::vector<std::unique_ptr<CBmpButton>> buttons_;
};

TEST_F(CBmpButtonTest, ImageSizeFitsTheButton) {
  const struct {
    int cx, cy, size, expected;
  } table[] = {{20, 12, 0, 6}, {0, 0, 0, 16}, {40, 30, 0, 24}, {6, 6, 0, 16}, {7, 9, 0, 1}, {20, 20, 10, 10},
               {22, 16, 0, 10}};
  for (const auto& row : table) {
    SCOPED_TRACE(testing::Message() << row.cx << "x" << row.cy << " size " << row.size);
    for (bool shell : {false, true}) {
      HWND wnd = MakeButton(row.cx, row.cy);
      CBmpButton& button = NewButton();
      ASSERT_EQ(shell ? button.SetShellFolderIcon(wnd, L"C:\\DefDirIcon", FILE_ATTRIBUTE_DIRECTORY, row.size)
                      : button.SetIcon(wnd, icon_.Get(), row.size),
                wnd);
      int w = 0;
      int h = 0;
      ASSERT_TRUE(::ImageList_GetIconSize(button.GetImageList(), &w, &h));
      EXPECT_EQ(w, row.expected);
      EXPECT_EQ(h, row.expected);
      RECT rc{};
      ::GetClientRect(wnd, &rc);
      EXPECT_EQ(rc.right, row.cx);  // the button keeps its size
      EXPECT_EQ(rc.bottom, row.cy);
    }
  }
}

TEST_F(CBmpButtonTest, ShellFolderIconSetsUpTheBrowseButton) {
  HWND wnd = MakeButton(22, 22);
  CBmpButton& button = NewButton();
  EXPECT_EQ(button.GetBitmapButtonExtendedStyle(), BMPBTN_AUTOSIZE);
  for (int s = 0; s < CBmpButton::kImageStates; ++s) EXPECT_EQ(button.GetImageIndex(CBmpButton::ImageState(s)), -1);
  ASSERT_EQ(button.SetShellFolderIcon(wnd, L"C:\\DefDirIcon", FILE_ATTRIBUTE_DIRECTORY), wnd);
  EXPECT_EQ(button.backgroundColorIndex, COLOR_3DLIGHT);
  EXPECT_EQ(button.GetBitmapButtonExtendedStyle(), BMPBTN_AUTOSIZE | BMPBTN_HOVER | BMPBTN_AUTO3D_SINGLE);
  EXPECT_EQ(static_cast<DWORD>(::GetWindowLongPtrW(wnd, GWL_STYLE)) & BS_TYPEMASK, static_cast<DWORD>(BS_OWNERDRAW));
  EXPECT_EQ(::ImageList_GetImageCount(button.GetImageList()), 4);
  for (int s = 0; s < CBmpButton::kImageStates; ++s) EXPECT_EQ(button.GetImageIndex(CBmpButton::ImageState(s)), s);
  EXPECT_EQ(button.GetToolTip(), nullptr);

  // The disabled folder is the normal one faded towards the window colour.
  const COLORREF window = ::GetSysColor(COLOR_WINDOW);
  HIMAGELIST list = button.GetImageList();
  int opaque = 0;
  long normalDistance = 0;
  long disabledDistance = 0;
  for (int y = 0; y < 16; ++y) {
    for (int x = 0; x < 16; ++x) {
      const COLORREF normal = ImagePixel(list, 0, x, y, kMarker);
      if (normal == kMarker) continue;
      ++opaque;
      normalDistance += Distance(normal, window);
      disabledDistance += Distance(ImagePixel(list, 3, x, y, kMarker), window);
    }
  }
  ASSERT_GT(opaque, 20) << "the shell gave no folder icon";
  EXPECT_LT(disabledDistance, normalDistance * 3 / 4);
}

TEST_F(CBmpButtonTest, DisabledImageIsFadedTowardsTheWindowColour) {
  HWND wnd = MakeButton(22, 22);
  CBmpButton& button = NewButton();
  ASSERT_EQ(button.SetIcon(wnd, icon_.Get(), 16), wnd);
  HIMAGELIST list = button.GetImageList();
  ASSERT_EQ(::ImageList_GetImageCount(list), 4);
  const COLORREF window = ::GetSysColor(COLOR_WINDOW);
  const COLORREF faded = Blend(kIconColour, window);
  const struct {
    int x, y;
  } inside[] = {{2, 2}, {8, 8}, {13, 13}, {2, 13}};
  for (const auto& p : inside) {
    SCOPED_TRACE(testing::Message() << p.x << "," << p.y);
    for (int image : {0, 1, 2}) EXPECT_EQ(ImagePixel(list, image, p.x, p.y, kMarker), kIconColour);
    const COLORREF got = ImagePixel(list, 3, p.x, p.y, kMarker);
    EXPECT_TRUE(NearColour(got, faded, 3)) << std::hex << got << " want " << faded;
  }
  // The icon's transparent border stays transparent in the disabled image.
  for (const auto& p : {POINT{0, 0}, POINT{15, 15}, POINT{1, 8}}) {
    EXPECT_EQ(ImagePixel(list, 3, p.x, p.y, kMarker), kMarker) << p.x << "," << p.y;
  }
}

TEST_F(CBmpButtonTest, PaintsTheImageOfItsState) {
  HWND wnd = MakeButton(30, 30);
  CBmpButton& button = NewButton();
  ASSERT_EQ(button.SetIcon(wnd, icon_.Get(), 16), wnd);
  const COLORREF background = ::GetSysColor(button.backgroundColorIndex);
  const COLORREF faded = Blend(kIconColour, ::GetSysColor(COLOR_WINDOW));

  EXPECT_EQ(button.CurrentImage(), CBmpButton::kImageNormal);
  EXPECT_EQ(Painted(wnd, 15, 15), kIconColour);
  EXPECT_EQ(Painted(wnd, 4, 4), background);  // image at (7, 7); the rest is background
  EXPECT_EQ(Painted(wnd, 8, 8), background);  // the icon's transparent border

  ::SendMessageW(wnd, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
  EXPECT_EQ(button.CurrentImage(), CBmpButton::kImageFocusOrHover);
  ::SendMessageW(wnd, WM_MOUSELEAVE, 0, 0);
  EXPECT_EQ(button.CurrentImage(), CBmpButton::kImageNormal);

  ::SendMessageW(wnd, BM_SETSTATE, TRUE, 0);
  EXPECT_EQ(button.CurrentImage(), CBmpButton::kImagePushed);
  EXPECT_EQ(Painted(wnd, 15, 15), kIconColour);
  ::SendMessageW(wnd, BM_SETSTATE, FALSE, 0);

  ::EnableWindow(wnd, FALSE);
  EXPECT_EQ(button.CurrentImage(), CBmpButton::kImageDisabled);
  EXPECT_TRUE(NearColour(Painted(wnd, 15, 15), faded, 3));
  EXPECT_EQ(Painted(wnd, 4, 4), background);
  ::EnableWindow(wnd, TRUE);
  EXPECT_EQ(button.CurrentImage(), CBmpButton::kImageNormal);
}

TEST_F(CBmpButtonTest, FocusImageWithoutHoverStyle) {
  HWND wnd = MakeButton(30, 30);
  CBmpButton& button = NewButton();
  ASSERT_EQ(button.SetIcon(wnd, icon_.Get(), 16), wnd);
  button.SetBitmapButtonExtendedStyle(0, BMPBTN_HOVER);
  ::SetForegroundWindow(owner_);
  ::SetFocus(wnd);
  ASSERT_EQ(::GetFocus(), wnd);
  EXPECT_EQ(button.CurrentImage(), CBmpButton::kImageFocusOrHover);
  ::SendMessageW(wnd, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));  // hovering means nothing now
  ::SetFocus(owner_);
  EXPECT_EQ(button.CurrentImage(), CBmpButton::kImageNormal);
}

TEST_F(CBmpButtonTest, ClicksReachTheOwner) {
  HWND wnd = MakeButton(30, 30);
  CBmpButton& button = NewButton();
  ASSERT_EQ(button.SetIcon(wnd, icon_.Get()), wnd);
  const LPARAM at = MAKELPARAM(10, 10);
  ::SendMessageW(wnd, WM_LBUTTONDOWN, MK_LBUTTON, at);
  EXPECT_EQ(button.CurrentImage(), CBmpButton::kImagePushed);
  ::SendMessageW(wnd, WM_LBUTTONUP, 0, at);
  EXPECT_EQ(owner_.clicks, 1);
  // The second click of a fast pair is a click too.
  ::SendMessageW(wnd, WM_LBUTTONDBLCLK, MK_LBUTTON, at);
  ::SendMessageW(wnd, WM_LBUTTONUP, 0, at);
  EXPECT_EQ(owner_.clicks, 2);
  EXPECT_EQ(button.CurrentImage(), CBmpButton::kImageNormal);

  // Owner-drawn painting asked of the owner comes back to the button.
  DRAWITEMSTRUCT draw{ODT_BUTTON, kButtonId, 0, ODA_DRAWENTIRE, 0, wnd, nullptr, {0, 0, 30, 30}, 0};
  orv::ScopedGetDC screen(nullptr);
  orv::ScopedCreatedDC dc(::CreateCompatibleDC(screen.Get()));
  orv::ScopedBitmap bitmap(::CreateCompatibleBitmap(screen.Get(), 30, 30));
  orv::ScopedSelectObject select(dc.Get(), bitmap.Get());
  draw.hDC = dc.Get();
  EXPECT_EQ(::SendMessageW(owner_, WM_DRAWITEM, kButtonId, reinterpret_cast<LPARAM>(&draw)), TRUE);
  EXPECT_EQ(::GetPixel(dc.Get(), 15, 15), kIconColour);
}

TEST_F(CBmpButtonTest, TooltipWhenAskedFor) {
  HWND plain = MakeButton(30, 30, kButtonId + 1);
  CBmpButton& without = NewButton();
  ASSERT_EQ(without.SetIcon(plain, icon_.Get()), plain);
  EXPECT_EQ(without.GetToolTip(), nullptr);

  HWND wnd = MakeButton(30, 30);
  CBmpButton& button = NewButton();
  button.tooltipOn = 1;
  button.tooltipText = L"Browse for a folder";
  ASSERT_EQ(button.SetIcon(wnd, icon_.Get()), wnd);
  HWND tip = button.GetToolTip();
  ASSERT_TRUE(tip);
  wchar_t cls[64] = {};
  ::GetClassNameW(tip, cls, 64);
  EXPECT_STREQ(cls, L"tooltips_class32");
  EXPECT_TRUE(::GetWindowLongPtrW(tip, GWL_EXSTYLE) & WS_EX_TOPMOST);
  EXPECT_EQ(::SendMessageW(tip, TTM_GETTOOLCOUNT, 0, 0), 1);
  wchar_t text[80] = {};
  TTTOOLINFOW tool{};
  tool.cbSize = sizeof(tool);
  tool.hwnd = wnd;
  tool.uId = 1;
  tool.lpszText = text;
  ::SendMessageW(tip, TTM_GETTEXTW, 80, reinterpret_cast<LPARAM>(&tool));
  EXPECT_STREQ(text, L"Browse for a folder");
  ::DestroyWindow(wnd);
  EXPECT_FALSE(::IsWindow(tip));
}

TEST_F(CBmpButtonTest, ButtonOutlivingItsObjectKeepsWorking) {
  HWND wnd = MakeButton(30, 30);
  {
    CBmpButton button;
    ASSERT_EQ(button.SetIcon(wnd, icon_.Get()), wnd);
  }
  EXPECT_TRUE(::IsWindow(wnd));
  ::SendMessageW(wnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  ::SendMessageW(wnd, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  ::UpdateWindow(wnd);
  EXPECT_EQ(owner_.clicks, 1);
}

// Browse buttons in their four looks side by side, kept for a person to look at.
TEST_F(CBmpButtonTest, ArtifactOfTheStates) {
  constexpr int kCell = 28;
  constexpr int kCells = 4;
  BITMAPINFO bi{};
  bi.bmiHeader = {sizeof(BITMAPINFOHEADER), kCell * kCells, kCell, 1, 32, BI_RGB};
  void* bits = nullptr;
  orv::ScopedGetDC screen(nullptr);
  orv::ScopedBitmap strip(::CreateDIBSection(screen.Get(), &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
  orv::ScopedCreatedDC dc(::CreateCompatibleDC(screen.Get()));
  ASSERT_TRUE(strip && dc);
  {
    orv::ScopedSelectObject select(dc.Get(), strip.Get());
    for (int cell = 0; cell < kCells; ++cell) {
      HWND wnd = MakeButton(kCell, kCell, kButtonId + 10 + cell);
      CBmpButton& button = NewButton();
      ASSERT_EQ(button.SetShellFolderIcon(wnd, L"C:\\DefDirIcon", FILE_ATTRIBUTE_DIRECTORY), wnd);
      if (cell == 1) ::SendMessageW(wnd, WM_MOUSEMOVE, 0, MAKELPARAM(3, 3));
      if (cell == 2) ::SendMessageW(wnd, BM_SETSTATE, TRUE, 0);
      if (cell == 3) ::EnableWindow(wnd, FALSE);
      ::SetViewportOrgEx(dc.Get(), cell * kCell, 0, nullptr);
      ::SendMessageW(wnd, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc.Get()), PRF_CLIENT);
    }
    ::GdiFlush();
  }
  const DWORD imageBytes = kCell * kCells * kCell * 4;
  // GDI leaves the alpha bytes at zero; a viewer would show nothing but transparency.
  for (DWORD i = 0; i < imageBytes / 4; ++i) static_cast<DWORD*>(bits)[i] |= 0xFF000000u;
  BITMAPFILEHEADER file{0x4D42, static_cast<DWORD>(sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER) + imageBytes), 0,
                        0, static_cast<DWORD>(sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER))};
  std::string out(reinterpret_cast<const char*>(&file), sizeof(file));
  out.append(reinterpret_cast<const char*>(&bi.bmiHeader), sizeof(BITMAPINFOHEADER));
  out.append(static_cast<const char*>(bits), imageBytes);
  ::CreateDirectoryW(testing_support::ArtifactsDir().c_str(), nullptr);
  EXPECT_TRUE(testing_support::WriteFileBytes(testing_support::ArtifactsDir() + L"\\bmpbutton_states.bmp", out.data(),
                                              out.size()));
}

}  // namespace
