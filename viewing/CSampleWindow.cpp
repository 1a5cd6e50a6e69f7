#include "viewing/CSampleWindow.h"

#include <algorithm>

#include "app/AppState.h"
#include "app/CTbPaneContainerImpl.h"
#include "app/Preferences.h"
#include "common/RegistryValue.h"
#include "common/ResourceIds.h"

namespace {

constexpr size_t kActiveSampleChars = 63;  // the title of "ActiveSample", without its terminator
constexpr DWORD kShowInfoBlockBit = 0x1;
constexpr DWORD kMarkMissingGlyphsBit = 0x2;

}  // namespace

CSampleWindow::CSampleWindow() { ReadSettings(); }

CSampleWindow::~CSampleWindow() = default;

void CSampleWindow::ReadSettings() {
  orv::ScopedKey key = OpenRegKey(HKEY_CURRENT_USER, kPrefsKeyPath, KEY_READ);
  if (!key) return;
  DWORD value = 0;
  // A hand-edited size outside the up-down's range would leave the arrows stuck: clamp it.
  if (ReadRegDword(key.Get(), L"SampleFontSize", value))
    sampleSize_ = static_cast<int>(std::clamp<DWORD>(value, kMinSampleSize, kMaxSampleSize));
  std::wstring title;
  if (ReadRegString(key.Get(), L"ActiveSample", kActiveSampleChars + 1, title) && title.size() <= kActiveSampleChars)
    activeTitle_ = title;
  if (ReadRegDword(key.Get(), L"SampleFlags", value)) {
    g_AppState.ShowInfoBlock = (value & kShowInfoBlockBit) != 0;
    g_AppState.MarkMissingGlyphs = (value & kMarkMissingGlyphsBit) != 0;
  }
}

void CSampleWindow::ShowFont(const FontItem& record, COrvelListView* source) {
  item_.CopyFrom(record);
  sourceList_ = source;
  RecalcLayout(true);
}

void CSampleWindow::ClearFont() {
  item_ = FontItem();
  sourceList_ = nullptr;
  RecalcLayout(true);
}

void CSampleWindow::SetSampleSize(int points) { sampleSize_ = std::clamp(points, kMinSampleSize, kMaxSampleSize); }

void CSampleWindow::SetShowSizeLabel(bool show) {
  if (showSizeLabel_ == show) return;
  showSizeLabel_ = show;
  if (m_hWnd) Invalidate();
}

HFONT CSampleWindow::MessageFont() {
  if (!messageFont_) messageFont_ = CreatePaneCaptionFont();
  return messageFont_ ? messageFont_.Get() : static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
}

bool CSampleWindow::RecalcLayout(bool resetStyles) {
  if (resetStyles) {
    std::fill(std::begin(styleOverrides_), std::end(styleOverrides_), 0);
    item_.flags &= ~font_flags::kStyleOverride;
    laidOutName_.clear();
  }
  if (!HasFont() || item_.IsUnreadable()) {
    if (m_hWnd) {
      SetScrollSize(1, 1, true, true);
      Invalidate();
      UpdateWindow();
    }
    return false;
  }
  const std::wstring name = item_.FullName();
  if (laidOutName_ == name) return true;
  if (!m_hWnd) return false;
  bool eudcLoaded = false;
  if (!LoadFontForDrawing(eudcLoaded)) return false;

  orv::ScopedFont font;
  {
    orv::ScopedGetDC dc(m_hWnd);
    font.Reset(item_.CreateDisplayFont(-::MulDiv(sampleSize_, ::GetDeviceCaps(dc.Get(), LOGPIXELSY), 72)));
    RECT client{};
    GetClientRect(&client);
    if (font) {
      orv::ScopedSelectObject select(dc.Get(), font.Get());
      RECT text = client;
      contentHeight_ = ::DrawTextW(dc.Get(), activeText_.c_str(), static_cast<int>(activeText_.size()), &text,
                                   DT_CALCRECT | DT_EXTERNALLEADING | DT_WORDBREAK | DT_NOPREFIX);
      RECT m = client;
      lineHeight_ = ::DrawTextW(dc.Get(), L"M", 1, &m, DT_CALCRECT | DT_EXTERNALLEADING | DT_SINGLELINE);
      if (lineHeight_ < 1) {
        laidOutName_.clear();
      } else {
        // One line of the sample per wheel step or arrow; the page stays the client height.
        SetScrollLine(1, lineHeight_);
        laidOutName_ = name;
      }
      Invalidate();
      UpdateWindow();
    }
  }
  UnloadEudc(eudcLoaded);
  return static_cast<bool>(font);
}

int CSampleWindow::MeasureContentHeight() {
  RECT client{};
  GetClientRect(&client);
  textHeight_ = client.bottom - client.top;
  measuring_ = true;
  {
    orv::ScopedGetDC dc(m_hWnd);
    DrawSample(dc.Get());
  }
  measuring_ = false;
  return textHeight_;
}

void CSampleWindow::HideSampleList() const {
  if (listBox_ && ::IsWindowVisible(listBox_))
    ::SetWindowPos(listBox_, nullptr, 0, 0, 0, 0,
                   SWP_HIDEWINDOW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

LRESULT CSampleWindow::OnCreate(UINT, WPARAM, LPARAM, BOOL&) {
  constexpr DWORD kListStyle = WS_CHILD | WS_BORDER | WS_VSCROLL | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | LBS_NOTIFY |
                               LBS_SORT | LBS_HASSTRINGS | LBS_NOINTEGRALHEIGHT;
  listBox_ = ::CreateWindowExW(0, WC_LISTBOXW, nullptr, kListStyle, 0, 0, 0, 0, m_hWnd,
                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(kListBoxId)), nullptr, nullptr);
  ::SendMessageW(listBox_, WM_SETFONT, reinterpret_cast<WPARAM>(MessageFont()), FALSE);
  LoadSampleList();
  currentIndex_ = FindListEntry(activeTitle_);
  if (currentIndex_ < 0) currentIndex_ = EditorEntry() - 1;
  ApplySelectedSample();
  ::SendMessageW(listBox_, LB_SETCURSEL, currentIndex_, 0);
  HideSampleList();
  return 0;
}

LRESULT CSampleWindow::OnDestroy(UINT, WPARAM, LPARAM, BOOL& handled) {
  if (orv::ScopedKey key = OpenRegKey(HKEY_CURRENT_USER, kPrefsKeyPath, KEY_SET_VALUE)) {
    WriteRegString(key.Get(), L"ActiveSample", activeTitle_);
    const DWORD flags = (g_AppState.ShowInfoBlock ? kShowInfoBlockBit : 0) |
                        (g_AppState.MarkMissingGlyphs ? kMarkMissingGlyphsBit : 0);
    WriteRegDword(key.Get(), L"SampleFlags", flags);
  }
  if (listBox_) ::SendMessageW(listBox_, WM_SETFONT, 0, FALSE);
  listBox_ = nullptr;
  handled = FALSE;
  return 0;
}

LRESULT CSampleWindow::OnSize(UINT msg, WPARAM wParam, LPARAM lParam, BOOL& handled) {
  HideSampleList();
  OnScrollSize(msg, wParam, lParam, handled);
  RecalcLayout(false);
  Invalidate();
  FitSampleList();
  return 0;
}

LRESULT CSampleWindow::OnEraseBackground(UINT, WPARAM wParam, LPARAM, BOOL&) {
  RECT client{};
  GetClientRect(&client);
  ::FillRect(reinterpret_cast<HDC>(wParam), &client, ::GetSysColorBrush(COLOR_WINDOW));
  return 1;
}

LRESULT CSampleWindow::OnListSelChange(WORD, WORD, HWND, BOOL&) {
  HideSampleList();
  currentIndex_ = static_cast<int>(::SendMessageW(listBox_, LB_GETCURSEL, 0, 0));
  ApplySelectedSample();
  return 0;
}

LRESULT CSampleWindow::OnListKillFocus(WORD, WORD, HWND, BOOL&) {
  HideSampleList();
  return 0;
}

LRESULT CSampleWindow::OnLButtonDown(UINT, WPARAM, LPARAM, BOOL&) {
  HideSampleList();
  return 0;
}

LRESULT CSampleWindow::OnLButtonDblClk(UINT, WPARAM, LPARAM, BOOL&) {
  ::PostMessageW(GetParent(), WM_COMMAND, ID_SAMPLE_INFO_BLOCK, 0);
  return 0;
}
