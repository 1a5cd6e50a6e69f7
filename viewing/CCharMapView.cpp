#include "viewing/CCharMapView.h"

#include <richedit.h>
#include <shellapi.h>

#include <algorithm>

#include "app/AppState.h"
#include "common/ResString.h"
#include "viewing/LoadUnicodeCharName.h"

namespace {

constexpr uint32_t kBeyondBmpRangeBit = 57;
constexpr int kDisplayHeight = 10;

const orv::DlgResizeRule kResizeRules[] = {
    {IDC_CHARMAP_SYSTEM_TOOL, orv::DLSZ_MOVE_X},
    {IDC_CHARMAP_COUNT, orv::DLSZ_SIZE_X},
    {IDC_CHARMAP_GRID, orv::DLSZ_SIZE_X | orv::DLSZ_SIZE_Y},
    {IDC_CHARMAP_BLOCK_LABEL, orv::DLSZ_MOVE_Y},
    {IDC_CHARMAP_BLOCK, orv::DLSZ_MOVE_Y | orv::DLSZ_SIZE_X},
    {IDC_CHARMAP_COMPOSE_LABEL, orv::DLSZ_MOVE_Y},
    {IDC_CHARMAP_COMPOSE, orv::DLSZ_MOVE_Y | orv::DLSZ_SIZE_X},
    {IDC_CHARMAP_COPY, orv::DLSZ_MOVE_X | orv::DLSZ_MOVE_Y},
};

constexpr int kScrollLine = 16;

bool HasRangeBit(const FontItem& font, uint32_t bit) { return (font.unicodeRange[bit / 32] >> (bit % 32)) & 1; }

void ShowControl(HWND dialog, int id, bool show) {
  if (HWND ctl = ::GetDlgItem(dialog, id)) ::ShowWindow(ctl, show ? SW_SHOW : SW_HIDE);
}

}  // namespace

CCharMapView::CCharMapView(const FontItem& font, bool installed, HWND statusBar)
    : font_(font), installed_(installed), statusBar_(statusBar),
      richEditModule_(::LoadLibraryW(kRichEditLibrary)), nameModule_(LoadCharNameLibrary()) {}

CCharMapView::~CCharMapView() = default;

BOOL CCharMapView::OnInitDialog(HWND, LPARAM) {
  CreateGridInPlaceholder();
  const LOGFONTW lf = TakeLogFont();

  CCharMapGrid::FontSetup setup;
  setup.logFont = lf;
  setup.fontPath = font_.GetFilePaths();
  setup.itemFlags = font_.flags;
  setup.installed = installed_;
  setup.eightBit = font_.IsType1();
  if (font_.IsSymbol() || font_.IsRaster()) {
    setup.eightBit = true;
    ShowControl(m_hWnd, IDC_CHARMAP_BLOCK_LABEL, false);
    ShowControl(m_hWnd, IDC_CHARMAP_BLOCK, false);
  } else if (font_.IsType1()) {
    ShowControl(m_hWnd, IDC_CHARMAP_BLOCK_LABEL, false);
  }
  setup.wideList = HasRangeBit(font_, kBeyondBmpRangeBit);
  grid_.SetFont(std::move(setup));
  grid_.SetStatusBar(statusBar_);
  grid_.SetNameModule(nameModule_.Get());

  SetUpComposeBox(lf);
  grid_.BuildCodePointList();
  grid_.SetScrollOffset(0, 0);
  grid_.Invalidate();
  grid_.SetFocus();
  SetDlgItemText(IDC_CHARMAP_COUNT, BuildCountText().c_str());

  toolButton_.tooltipOn = 1;
  toolButton_.tooltipText = LoadResString(IDS_CHARMAP_SYSTEM_TOOL);
  if (HWND button = GetDlgItem(IDC_CHARMAP_SYSTEM_TOOL)) {
    auto icon = static_cast<HICON>(::LoadImageW(orv::g_Module.GetResourceInstance(),
                                                MAKEINTRESOURCEW(IDI_CHARMAP_SYSTEM_TOOL), IMAGE_ICON, 0, 0,
                                                LR_DEFAULTSIZE | LR_SHARED));
    if (icon) toolButton_.SetIcon(button, icon);
  }
  DlgResizeInit(m_hWnd, kResizeRules, std::size(kResizeRules));
  return FALSE;  // the focus is set
}

void CCharMapView::CreateGridInPlaceholder() {
  const RECT rc = orv::TakePlaceholder(m_hWnd, IDC_CHARMAP_GRID);
  grid_.CreateGrid(m_hWnd, rc, IDC_CHARMAP_GRID);
}

LOGFONTW CCharMapView::TakeLogFont() {
  LOGFONTW lf{};
  if (!installed_) g_AppState.FontCache.Add(font_.GetFilePaths());
  orv::ScopedFont font(font_.CreateDisplayFont(kDisplayHeight));
  if (!font || !::GetObjectW(font.Get(), sizeof(lf), &lf)) return lf;
  orv::ScopedGetDC dc(m_hWnd);
  if (dc) {
    orv::ScopedSelectObject select(dc.Get(), font.Get());
    lf.lfCharSet = static_cast<BYTE>(::GetTextCharset(dc.Get()));
  }
  return lf;
}

void CCharMapView::SetUpComposeBox(const LOGFONTW& lf) {
  composeEdit_ = GetDlgItem(IDC_CHARMAP_COMPOSE);
  if (!installed_ || !composeEdit_) {
    for (int id : {IDC_CHARMAP_COMPOSE, IDC_CHARMAP_COMPOSE_LABEL, IDC_CHARMAP_COPY}) ShowControl(m_hWnd, id, false);
    return;
  }
  grid_.SetComposeBox(composeEdit_);
  const LRESULT options = ::SendMessageW(composeEdit_, EM_GETLANGOPTIONS, 0, 0);
  ::SendMessageW(composeEdit_, EM_SETLANGOPTIONS, 0, options & ~static_cast<LRESULT>(IMF_AUTOFONT));
  ::SendMessageW(composeEdit_, EM_SETEVENTMASK, 0, ENM_CHANGE);
  ::SendMessageW(composeEdit_, EM_EXLIMITTEXT, 0, CCharMapGrid::kComposeLimit);
  RECT client{};
  ::GetClientRect(composeEdit_, &client);
  LOGFONTW composeLf = lf;
  composeLf.lfHeight = client.bottom * kComposeFontPercent / 100;
  composeFont_.Reset(::CreateFontIndirectW(&composeLf));
  ::SendMessageW(composeEdit_, WM_SETFONT, reinterpret_cast<WPARAM>(composeFont_.Get()), FALSE);
  ::EnableWindow(GetDlgItem(IDC_CHARMAP_COPY), FALSE);
}

std::wstring CCharMapView::BuildCountText() const {
  if (font_.IsSymbol()) return LoadResString(IDS_CHARMAP_SYMBOL_COUNT);
  const std::wstring count = FormatCodePointCount(grid_.CodePoints().ReportedCount());
  const std::wstring format = LoadResString(IDS_CHARMAP_COUNT);
  std::wstring text = L"( ";
  const DWORD_PTR args[] = {reinterpret_cast<DWORD_PTR>(count.c_str())};
  wchar_t* formatted = nullptr;
  if (::FormatMessageW(FORMAT_MESSAGE_FROM_STRING | FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_ARGUMENT_ARRAY,
                       format.c_str(), 0, 0, reinterpret_cast<wchar_t*>(&formatted), 0,
                       reinterpret_cast<va_list*>(const_cast<DWORD_PTR*>(args))) &&
      formatted) {
    text += formatted;
  } else {
    text += count;
  }
  orv::ScopedLocal release(formatted);
  if (HasRangeBit(font_, kBeyondBmpRangeBit))
    text += L"  * " + g_AppState.BlockTable.NameOfRangeBit(kBeyondBmpRangeBit) + L" * ";
  return text + L" )";
}

void CCharMapView::OnSystemCharMap(UINT, int, HWND) {
  wchar_t windows[MAX_PATH]{};
  if (!::GetWindowsDirectoryW(windows, MAX_PATH)) return;
  const std::wstring tool = std::wstring(windows) + L"\\system32\\charmap.exe";
  SHELLEXECUTEINFOW info{sizeof(info)};
  info.fMask = SEE_MASK_FLAG_NO_UI;  // a system without Character Map just does nothing
  info.hwnd = m_hWnd;
  info.lpVerb = L"open";
  info.lpFile = tool.c_str();
  info.nShow = SW_SHOWDEFAULT;
  (void)::ShellExecuteExW(&info);
}

void CCharMapView::OnBlockOf(UINT, int, HWND codePoint) {
  const auto cp = static_cast<uint32_t>(reinterpret_cast<UINT_PTR>(codePoint));
  SetDlgItemText(IDC_CHARMAP_BLOCK, cp ? g_AppState.BlockTable.NameOfCodePoint(cp).c_str() : L"");
}

void CCharMapView::OnCopy(UINT, int, HWND) {
  if (!composeEdit_) return;
  CHARRANGE all{0, -1};
  ::SendMessageW(composeEdit_, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&all));
  ::SendMessageW(composeEdit_, WM_COPY, 0, 0);
}

void CCharMapView::OnComposeChange(UINT, int, HWND) {
  ::EnableWindow(GetDlgItem(IDC_CHARMAP_COPY), composeEdit_ && ::GetWindowTextLengthW(composeEdit_) > 0);
}

void CCharMapView::OnDestroy() {
  if (composeEdit_) ::SendMessageW(composeEdit_, WM_SETFONT, 0, FALSE);
  composeFont_.Reset();
  composeEdit_ = nullptr;
}

LRESULT CCharMapView::OnSize(UINT, WPARAM wParam, LPARAM lParam, BOOL&) {
  if (wParam == SIZE_MINIMIZED) return 0;
  const int width = LOWORD(lParam);
  // The controls are laid out at scroll position 0, then moved by the kept position.
  DlgResizeUpdateLayout(width, HIWORD(lParam));
  if (MinClientSize().cx <= 0) return 0;  // before WM_INITDIALOG
  const int pos = std::clamp(scrollX_, 0, std::max(0, static_cast<int>(MinClientSize().cx) - width));
  scrollX_ = 0;
  SCROLLINFO info{};
  info.cbSize = sizeof(info);
  info.fMask = SIF_RANGE | SIF_PAGE;
  info.nMax = MinClientSize().cx - 1;
  info.nPage = static_cast<UINT>(width);
  ::SetScrollInfo(m_hWnd, SB_HORZ, &info, TRUE);
  ScrollSideways(pos);
  return 0;
}

LRESULT CCharMapView::OnHScroll(UINT, WPARAM wParam, LPARAM lParam, BOOL& handled) {
  if (lParam) {  // a scroll bar control of its own
    handled = FALSE;
    return 0;
  }
  SCROLLINFO info{};
  info.cbSize = sizeof(info);
  info.fMask = SIF_ALL;
  ::GetScrollInfo(m_hWnd, SB_HORZ, &info);
  int pos = scrollX_;
  switch (LOWORD(wParam)) {
    case SB_LINELEFT: pos -= kScrollLine; break;
    case SB_LINERIGHT: pos += kScrollLine; break;
    case SB_PAGELEFT: pos -= static_cast<int>(info.nPage); break;
    case SB_PAGERIGHT: pos += static_cast<int>(info.nPage); break;
    case SB_LEFT: pos = 0; break;
    case SB_RIGHT: pos = info.nMax; break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: pos = info.nTrackPos; break;
    default: return 0;
  }
  ScrollSideways(std::clamp(pos, 0, std::max(0, info.nMax + 1 - static_cast<int>(info.nPage))));
  return 0;
}

void CCharMapView::ScrollSideways(int pos) {
  if (pos == scrollX_) return;
  ::ScrollWindowEx(m_hWnd, scrollX_ - pos, 0, nullptr, nullptr, nullptr, nullptr,
                   SW_SCROLLCHILDREN | SW_INVALIDATE | SW_ERASE);
  scrollX_ = pos;
  ::SetScrollPos(m_hWnd, SB_HORZ, pos, TRUE);
}
