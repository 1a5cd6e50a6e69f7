#include "app/CSamplePaneContainer.h"

#include <shellapi.h>

#include <algorithm>

#include "app/AppState.h"
#include "app/Preferences.h"
#include "common/LoadImageListFromResource.h"
#include "common/ResString.h"
#include "common/RegistryValue.h"
#include "framework/AppModule.h"
#include "lists/COrvelListView.h"
#include "framework/ToolbarResource.h"

namespace {

// Images of the toolbar: the main toolbar's three font commands, then the strip of bitmap 922.
constexpr int kImageSheet = 0, kImageCharMap = 1, kImageProperties = 2, kImageMarkMissing = 3;
constexpr int kImageStyleFirst = 4, kImageInfoBlock = 7, kImageStyleSetFirst = 8, kImageEudc = 11;
constexpr uint32_t kNoPropertiesMask = 0x80038;  // raster, known to GDI only, EUDC, unreadable
constexpr uint32_t kNoToolsMask = 0x80020;       // EUDC, unreadable
constexpr uint32_t kStyleBits[] = {font_flags::kBold, font_flags::kItalic, font_flags::kUnderline};

bool IsChecked(HWND toolbar, int command) { return ::SendMessageW(toolbar, TB_ISBUTTONCHECKED, command, 0) != 0; }

// The name the caption shows: the row's display name ("DejaVu Serif Book"), else the full name.
const std::wstring& CaptionName(const FontItem& item) {
  return item.displayName.empty() ? item.FullName() : item.displayName;
}

void Check(HWND toolbar, int command, bool check) {
  ::SendMessageW(toolbar, TB_CHECKBUTTON, command, MAKELPARAM(check ? TRUE : FALSE, 0));
}

}  // namespace

void CSamplePaneContainer::AddButtons() {
  const int ids[] = {ID_FONTS_SHEET, ID_FONTS_CHARMAP, ID_FONTS_PROPERTIES};
  if (LoadImageListFromResource(images_, 3, ids)) {
    orv::ScopedBitmap strip(static_cast<HBITMAP>(::LoadImageW(orv::g_Module.GetResourceInstance(),
                                                              MAKEINTRESOURCEW(IDB_SAMPLE_TOOLBAR), IMAGE_BITMAP, 0,
                                                              0, LR_CREATEDIBSECTION)));
    if (strip && m_cxImage == kCommandIconSize) {
      ::ImageList_Add(images_.Get(), strip.Get(), nullptr);
    } else if (strip) {
      // The strip is drawn for 96 DPI: its pictures at the screen's size, one by one.
      orv::ScopedImageList scaled = orv::ScaleImageList(
          orv::ImageListFromStrip(strip.Get(), kCommandIconSize, kCommandIconSize), m_cxImage, m_cyImage);
      for (int i = 0; scaled && i < ::ImageList_GetImageCount(scaled.Get()); ++i) {
        orv::ScopedIcon icon(::ImageList_GetIcon(scaled.Get(), i, ILD_TRANSPARENT));
        ::ImageList_AddIcon(images_.Get(), icon.Get());
      }
    }
    disabledImages_ = orv::SetToolbarImages(m_hWndToolBar, images_.Get());
  }
  ::SendMessageW(m_hWndToolBar, TB_SETEXTENDEDSTYLE, 0, TBSTYLE_EX_DRAWDDARROWS);
  AddToolbarButton(kImageEudc, ID_SAMPLE_EUDC_EDITOR, BTNS_BUTTON, TBSTATE_ENABLED | TBSTATE_HIDDEN);
  AddToolbarButton(kImageSheet, ID_FONTS_SHEET, BTNS_BUTTON, 0);
  AddToolbarButton(kImageCharMap, ID_FONTS_CHARMAP, BTNS_BUTTON, 0);
  AddToolbarButton(kImageProperties, ID_FONTS_PROPERTIES, BTNS_BUTTON, 0);
  AddToolbarSeparator();
  AddToolbarButton(kImageInfoBlock, ID_SAMPLE_INFO_BLOCK, BTNS_CHECK,
                   TBSTATE_ENABLED | (g_AppState.ShowInfoBlock ? TBSTATE_CHECKED : 0));
  AddToolbarButton(kImageMarkMissing, ID_SAMPLE_MARK_MISSING, BTNS_CHECK,
                   TBSTATE_ENABLED | (g_AppState.MarkMissingGlyphs ? TBSTATE_CHECKED : 0));
  AddToolbarSeparator();
  AddToolbarButton(I_IMAGENONE, ID_SAMPLE_CHOOSER, BTNS_DROPDOWN, TBSTATE_ENABLED, 0, kChooserImages * m_cxImage);
  AddToolbarSeparator();
  AddToolbarButton(kImageStyleFirst, ID_SAMPLE_BOLD, BTNS_CHECK, TBSTATE_ENABLED);
  AddToolbarButton(kImageStyleFirst + 1, ID_SAMPLE_ITALIC, BTNS_CHECK, TBSTATE_ENABLED);
  AddToolbarButton(kImageStyleFirst + 2, ID_SAMPLE_UNDERLINE, BTNS_CHECK, TBSTATE_ENABLED);
}

HWND CSamplePaneContainer::CreateSampleWindow() {
  HWND window = sample_.Create(m_hWnd, nullptr, nullptr, 0, WS_EX_CLIENTEDGE);
  SetClient(window);
  return window;
}

void CSamplePaneContainer::ShowFont(const FontItem* record, COrvelListView* source) {
  if (record) sample_.ShowFont(*record, source);
  else sample_.ClearFont();
  const FontItem& shown = sample_.Item();
  UpdateTitle(CaptionName(shown), sample_.SampleSize(), shown.flags);
}

bool CSamplePaneContainer::Refresh(bool full) {
  const bool laidOut = sample_.RecalcLayout(full);
  const FontItem& shown = sample_.Item();
  UpdateTitle(CaptionName(shown), sample_.SampleSize(), shown.flags);
  return laidOut;
}

void CSamplePaneContainer::UpdateTitle(const std::wstring& name, int size, uint32_t flags) {
  // The size is kept whole; a long name is shortened.
  const std::wstring size_text = FormatWide(L"[%d points] ", size);
  SetCaption(size_text + name, size_text.size());
  flags_ = name.empty() ? 0 : flags;
  if (m_hWnd) UpdateWindow();
  SetButtonStates();
  PlaceBars();
}

void CSamplePaneContainer::SetButtonStates() {
  HWND tb = m_hWndToolBar;
  if (!tb) return;
  const bool none = !sample_.HasFont();
  ::SendMessageW(tb, TB_ENABLEBUTTON, ID_FONTS_PROPERTIES, !none && !(flags_ & kNoPropertiesMask));
  ::SendMessageW(tb, TB_ENABLEBUTTON, ID_FONTS_CHARMAP, !none && !(flags_ & kNoToolsMask));
  ::SendMessageW(tb, TB_ENABLEBUTTON, ID_FONTS_SHEET, !none && !(flags_ & kNoToolsMask));
  for (int i = 0; i < CSampleWindow::kStyleCount; ++i) {
    const bool set = (flags_ & kStyleBits[i]) != 0;
    Check(tb, ID_SAMPLE_BOLD + i, set);
    ::SendMessageW(tb, TB_CHANGEBITMAP, ID_SAMPLE_BOLD + i, (set ? kImageStyleSetFirst : kImageStyleFirst) + i);
  }
  ::SendMessageW(tb, TB_HIDEBUTTON, ID_SAMPLE_EUDC_EDITOR, (flags_ & font_flags::kEudc) ? FALSE : TRUE);
}

void CSamplePaneContainer::PlaceBars() {
  if (!m_hWnd) return;
  RECT client{};
  GetClientRect(&client);
  if (upDown_)
    ::SetWindowPos(upDown_, nullptr, 0, 0, ::GetSystemMetrics(SM_CXVSCROLL), m_cyCaption,
                   SWP_NOACTIVATE | SWP_NOZORDER);
  if (m_hWndToolBar) {
    const int width = m_cxToolBar - ((flags_ & font_flags::kEudc) ? 0 : ButtonWidth());
    ::SetWindowPos(m_hWndToolBar, nullptr, client.right - width - 3, 3, width, m_cyImage + 7,
                   SWP_NOACTIVATE | SWP_NOZORDER);
  }
}

RECT CSamplePaneContainer::CaptionTextRect() {
  const int left = ::GetSystemMetrics(SM_CXVSCROLL) + 4;
  SIZE extent{};
  {
    orv::ScopedGetDC dc(m_hWnd);
    orv::ScopedSelectObject select(dc.Get(), GetTitleFont());
    ::GetTextExtentPoint32W(dc.Get(), m_caption.c_str(), static_cast<int>(m_caption.size()), &extent);
  }
  // As drawn: a caption shortened to fit is as wide as what is shown of it.
  if (!ShownCaption().text.empty()) extent.cx = std::min<LONG>(extent.cx, ShownCaption().textWidth);
  return RECT{left, 0, left + extent.cx, m_cyCaption};
}

DWORD CSamplePaneContainer::OnItemPostPaint(int, NMCUSTOMDRAW* cd) {
  if (cd->dwItemSpec != ID_SAMPLE_CHOOSER || (cd->uItemState & CDIS_DISABLED)) return CDRF_DODEFAULT;
  // The chooser shows the active sample's title over its text area.
  RECT text = cd->rc;
  text.right -= m_cxImage;
  RECT fill = text;
  ::InflateRect(&fill, -1, -1);
  ::FillRect(cd->hdc, &fill, ::GetSysColorBrush(COLOR_3DFACE));
  const std::wstring& title = sample_.ActiveTitle();
  orv::ScopedSelectObject select(cd->hdc, GetTitleFont());
  ::SetBkMode(cd->hdc, TRANSPARENT);
  ::SetTextColor(cd->hdc, ::GetSysColor(COLOR_BTNTEXT));
  ::InflateRect(&text, -3, 0);
  ::DrawTextW(cd->hdc, title.c_str(), static_cast<int>(title.size()), &text,
              DT_END_ELLIPSIS | DT_NOPREFIX | DT_SINGLELINE | DT_VCENTER);
  return CDRF_SKIPDEFAULT;
}

LRESULT CSamplePaneContainer::OnSize(UINT, WPARAM, LPARAM lParam, BOOL&) {
  UpdateLayout(LOWORD(lParam), HIWORD(lParam));
  PlaceBars();
  return 0;
}

LRESULT CSamplePaneContainer::OnCaptionClick(UINT, WPARAM, LPARAM lParam, BOOL& handled) {
  handled = FALSE;
  const POINT pt{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
  const RECT hit = CaptionTextRect();
  COrvelListView* source = sample_.SourceList();
  if (!::PtInRect(&hit, pt) || !source) return 0;
  const bool sourceIsFolderList = source == &g_AppState.FolderFonts;
  if (sourceIsFolderList && g_AppState.GroupListShown)
    ::PostMessageW(g_AppState.MainWindow, WM_COMMAND, ID_SHOW_FONT_LIST, 1);
  else if (!sourceIsFolderList && source != &g_AppState.InstalledFonts && !g_AppState.GroupListShown)
    ::PostMessageW(g_AppState.MainWindow, WM_COMMAND, ID_SHOW_FONT_LIST, 2);
  source->ScrollToRow(source->GetFirstSelected(), 0);
  return 0;
}

// The up-down's minimum (72) lies above its maximum (4): its up arrow gives a negative delta.
LRESULT CSamplePaneContainer::OnSizeDelta(int, NMHDR* hdr, BOOL&) {
  const auto* change = reinterpret_cast<NMUPDOWN*>(hdr);
  sample_.SetSampleSize(sample_.SampleSize() + (change->iDelta < 0 ? 1 : -1));
  const int size = sample_.SampleSize();
  ::SendMessageW(upDown_, UDM_SETPOS, 0, size);
  // Without the Prefs key the size holds until the program ends.
  if (orv::ScopedKey key = OpenRegKey(HKEY_CURRENT_USER, kPrefsKeyPath, KEY_SET_VALUE))
    WriteRegDword(key.Get(), L"SampleFontSize", static_cast<DWORD>(size));
  Refresh(true);
  return TRUE;  // the position is set here, not by the control
}

LRESULT CSamplePaneContainer::OnToolbarNotify(UINT, WPARAM, LPARAM lParam, BOOL& handled) {
  const auto* hdr = reinterpret_cast<NMHDR*>(lParam);
  handled = FALSE;
  if (!m_hWndToolBar || hdr->hwndFrom != m_hWndToolBar) return 0;
  if (hdr->code == NM_RCLICK && reinterpret_cast<const NMMOUSE*>(hdr)->dwItemSpec == ID_SAMPLE_CHOOSER) {
    handled = TRUE;
    sample_.EditSamples();
    return TRUE;
  }
  if (hdr->code == TBN_DROPDOWN) {
    handled = TRUE;
    sample_.ToggleSampleList(*reinterpret_cast<const NMTOOLBARW*>(hdr));
    return TBDDRET_DEFAULT;
  }
  return 0;
}

LRESULT CSamplePaneContainer::OnChooser(WORD, WORD, HWND, BOOL&) {
  RECT button{};
  ::SendMessageW(m_hWndToolBar, TB_GETRECT, ID_SAMPLE_CHOOSER, reinterpret_cast<LPARAM>(&button));
  POINT corner{button.left, button.top};
  ::MapWindowPoints(m_hWndToolBar, sample_.m_hWnd, &corner, 1);
  sample_.SelectActiveSample(corner.x);
  return 0;
}

LRESULT CSamplePaneContainer::OnFontCommand(WORD, WORD id, HWND, BOOL&) {
  COrvelListView* source = sample_.SourceList();
  if (!source || !sample_.HasFont()) return 0;
  const LPARAM list = id == ID_FONTS_PROPERTIES ? reinterpret_cast<LPARAM>(source) : 0;
  ::PostMessageW(g_AppState.MainWindow, WM_COMMAND, id, list);
  return 0;
}

LRESULT CSamplePaneContainer::OnEditTexts(WORD, WORD, HWND, BOOL&) {
  sample_.EditSamples();
  return 0;
}

// The system's EUDC editor; where there is none (Wine) the click does nothing.
LRESULT CSamplePaneContainer::OnEudcEditor(WORD, WORD, HWND, BOOL&) {
  SHELLEXECUTEINFOW run{sizeof(run)};
  run.fMask = SEE_MASK_FLAG_NO_UI;
  run.hwnd = m_hWnd;
  run.lpFile = L"eudcedit.exe";
  run.lpDirectory = L".";
  run.nShow = SW_SHOWDEFAULT;
  ::ShellExecuteExW(&run);
  return 0;
}

LRESULT CSamplePaneContainer::OnSampleApplied(WORD, WORD, HWND, BOOL&) {
  if (m_hWndToolBar) {
    ::InvalidateRect(m_hWndToolBar, nullptr, TRUE);
    ::UpdateWindow(m_hWndToolBar);
  }
  if (g_Preferences.ShowSampleInList && g_AppState.MainWindow)
    ::SendMessageW(g_AppState.MainWindow, WM_COMMAND, ID_LISTS_REDRAW, 1);
  return 0;
}

LRESULT CSamplePaneContainer::OnInfoBlock(WORD, WORD, HWND, BOOL&) {
  g_AppState.ShowInfoBlock = !g_AppState.ShowInfoBlock;
  Check(m_hWndToolBar, ID_SAMPLE_INFO_BLOCK, g_AppState.ShowInfoBlock);
  sample_.Invalidate();
  return 0;
}

LRESULT CSamplePaneContainer::OnMarkMissing(WORD, WORD, HWND, BOOL&) {
  g_AppState.MarkMissingGlyphs = !g_AppState.MarkMissingGlyphs;
  Check(m_hWndToolBar, ID_SAMPLE_MARK_MISSING, g_AppState.MarkMissingGlyphs);
  sample_.Invalidate();
  return 0;
}

// A style override follows its button, except that a face's own style cannot be taken away.
LRESULT CSamplePaneContainer::OnStyle(WORD, WORD id, HWND, BOOL&) {
  const auto style = static_cast<CSampleWindow::Style>(id - ID_SAMPLE_BOLD);
  const uint32_t bit = kStyleBits[style];
  if (!sample_.HasFont()) {
    Check(m_hWndToolBar, id, false);
    return 0;
  }
  const bool checked = IsChecked(m_hWndToolBar, id);
  FontItem& item = sample_.Item();
  if (sample_.StyleOverride(style) != 0 || !item.HasFlag(bit)) {
    sample_.SetStyleOverride(style, checked ? 1 : 0);
    if (checked) item.flags |= bit;
    else item.flags &= ~bit;
  } else if (!checked) {
    Check(m_hWndToolBar, id, true);
    return 0;
  }
  flags_ = item.flags;
  ::SendMessageW(m_hWndToolBar, TB_CHANGEBITMAP, id, ((flags_ & bit) ? kImageStyleSetFirst : kImageStyleFirst) + style);
  sample_.ForgetLayout();
  sample_.RecalcLayout(false);
  return 0;
}
