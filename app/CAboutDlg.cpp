#include "app/CAboutDlg.h"

#include <objidl.h>
#include <shlwapi.h>

#include <algorithm>
#include <memory>
#include <vector>

using std::max;
using std::min;
#include <gdiplus.h>

#include "common/HelpRequest.h"
#include "common/ResString.h"
#include "framework/AppModule.h"

namespace {

constexpr int kEndedByClick = 1;
constexpr int kGlyphLeft = 5;  // the lower picture's distance from the left edge
constexpr Gdiplus::ARGB kLight = 0x80FCFEFF;
constexpr Gdiplus::ARGB kTint = 0x3300A4CA;

// A picture of the resource library (RCDATA holding an image file), decoded by GDI+; null when
// any step fails.
std::unique_ptr<Gdiplus::Bitmap> LoadResourceImage(UINT id) {
  const HINSTANCE module = orv::g_Module.GetResourceInstance();
  HRSRC found = ::FindResourceW(module, MAKEINTRESOURCEW(id), MAKEINTRESOURCEW(10));  // RT_RCDATA
  if (!found) return nullptr;
  HGLOBAL loaded = ::LoadResource(module, found);
  const void* data = loaded ? ::LockResource(loaded) : nullptr;
  const DWORD size = ::SizeofResource(module, found);
  if (!data || !size) return nullptr;
  orv::ComPtr<IStream> stream;
  stream = orv::ComPtr<IStream>::Attach(::SHCreateMemStream(static_cast<const BYTE*>(data), size));
  if (!stream) return nullptr;
  std::unique_ptr<Gdiplus::Bitmap> image(Gdiplus::Bitmap::FromStream(stream.Get()));
  if (!image || image->GetLastStatus() != Gdiplus::Ok) return nullptr;
  return image;
}

// The image scaled by the largest factor, in thousandths, at which it fits `box` keeping its
// aspect ratio; the size it is drawn at.
SIZE FitImage(const Gdiplus::Bitmap& image, const RECT& box) {
  Gdiplus::Bitmap& source = const_cast<Gdiplus::Bitmap&>(image);
  const int w = static_cast<int>(source.GetWidth()), h = static_cast<int>(source.GetHeight());
  const int boxW = box.right - box.left, boxH = box.bottom - box.top;
  if (w <= 0 || h <= 0 || boxW <= 0 || boxH <= 0) return {};
  const int scale = std::min(boxW * 1000 / w, boxH * 1000 / h);
  return {w * scale / 1000, h * scale / 1000};
}

RECT ChildRectInClient(HWND dialog, int id) { return orv::RectInParent(::GetDlgItem(dialog, id)); }

std::wstring ModulePath() {
  wchar_t path[MAX_PATH] = {};
  const DWORD n = ::GetModuleFileNameW(nullptr, path, MAX_PATH - 1);
  return n ? std::wstring(path, n) : std::wstring();
}

}  // namespace

bool ReadFixedFileInfo(const std::wstring& path, VS_FIXEDFILEINFO& info) {
  DWORD ignored = 0;
  const DWORD size = ::GetFileVersionInfoSizeW(path.c_str(), &ignored);
  if (!size) return false;
  std::vector<BYTE> data(size);
  if (!::GetFileVersionInfoW(path.c_str(), 0, size, data.data())) return false;
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT length = 0;
  if (!::VerQueryValueW(data.data(), L"\\", reinterpret_cast<void**>(&fixed), &length) || !fixed ||
      length < sizeof(VS_FIXEDFILEINFO))
    return false;
  info = *fixed;
  return true;
}

std::wstring AboutVersionText(const VS_FIXEDFILEINFO* info) {
  const DWORD ms = info ? info->dwProductVersionMS : 0;
  const DWORD ls = info ? info->dwProductVersionLS : 0;
  std::wstring text;
  if (info && !(info->dwFileFlags & VS_FF_PRERELEASE))
    text = FormatWide(L"Version %d.%d", HIWORD(ms), LOWORD(ms));
  else
    text = FormatWide(L"Version \u00DF %d.%d.%d.%d", HIWORD(ms), LOWORD(ms), HIWORD(ls), LOWORD(ls));
  return text + L" (64-bit)";
}

CAboutDlg::CAboutDlg() {
  Gdiplus::GdiplusStartupInput input;
  if (Gdiplus::GdiplusStartup(&gdiplusToken_, &input, nullptr) != Gdiplus::Ok) gdiplusToken_ = 0;
}

CAboutDlg::~CAboutDlg() {
  if (memoryDC_) {
    if (replacedBitmap_) ::SelectObject(memoryDC_.Get(), replacedBitmap_);
    if (replacedBrush_) ::SelectObject(memoryDC_.Get(), replacedBrush_);
  }
  background_.Reset();
  bitmap_.Reset();
  memoryDC_.Reset();
  if (gdiplusToken_) Gdiplus::GdiplusShutdown(gdiplusToken_);
}

BOOL CAboutDlg::OnInitDialog(HWND, LPARAM) {
  // Centred on the owner.
  if (HWND owner = GetParent()) {
    RECT dlg{}, area{};
    GetWindowRect(&dlg);
    ::GetWindowRect(owner, &area);
    const int x = area.left + ((area.right - area.left) - (dlg.right - dlg.left)) / 2;
    const int y = area.top + ((area.bottom - area.top) - (dlg.bottom - dlg.top)) / 2;
    SetWindowPos(nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  RECT client{};
  GetClientRect(&client);
  width_ = client.right;
  height_ = client.bottom;
  {
    orv::ScopedGetDC screen(nullptr);
    memoryDC_.Reset(::CreateCompatibleDC(screen.Get()));
    bitmap_.Reset(::CreateCompatibleBitmap(screen.Get(), width_, height_));
  }
  background_.Reset(::CreateSolidBrush(kBackground));
  if (memoryDC_ && bitmap_) {
    replacedBitmap_ = ::SelectObject(memoryDC_.Get(), bitmap_.Get());
    if (background_) replacedBrush_ = ::SelectObject(memoryDC_.Get(), background_.Get());
    ::PatBlt(memoryDC_.Get(), 0, 0, width_, height_, PATCOPY);
    if (gdiplusToken_) PaintBackground();
  }

  VS_FIXEDFILEINFO info{};
  const bool known = ReadFixedFileInfo(ModulePath(), info);
  SetDlgItemText(IDC_ABOUT_VERSION, AboutVersionText(known ? &info : nullptr).c_str());
  return TRUE;
}

void CAboutDlg::PaintBackground() {
  const int y0 = ChildRectInClient(m_hWnd, IDC_ABOUT_TITLE).top;
  const int x0 = ChildRectInClient(m_hWnd, IDC_ABOUT_VERSION).left;
  const int w = width_, h = height_;
  Gdiplus::Graphics graphics(memoryDC_.Get());
  graphics.SetSmoothingMode(Gdiplus::SmoothingModeAntiAlias);
  graphics.SetInterpolationMode(Gdiplus::InterpolationModeHighQualityBicubic);

  // The band across the top and down the left side, light where the two meet.
  const Gdiplus::Point corners[] = {{0, 0}, {w, 0}, {w, y0}, {x0, y0}, {x0, h}, {0, h}};
  Gdiplus::GraphicsPath path;
  path.AddPolygon(corners, 6);
  Gdiplus::PathGradientBrush brush(&path);
  brush.SetCenterColor(Gdiplus::Color(kLight));
  brush.SetCenterPoint(Gdiplus::Point(x0, y0));
  if (path.GetPointCount() >= 6) {
    Gdiplus::Color surround[] = {Gdiplus::Color(kTint),  Gdiplus::Color(kTint),  Gdiplus::Color(kLight),
                                 Gdiplus::Color(kLight), Gdiplus::Color(kLight), Gdiplus::Color(kTint)};
    INT count = 6;
    brush.SetSurroundColors(surround, &count);
  }
  graphics.FillPath(&brush, &path);

  if (auto banner = LoadResourceImage(IDR_ABOUT_BANNER)) {
    const RECT box{0, 0, w, y0};
    const SIZE size = FitImage(*banner, box);
    graphics.DrawImage(banner.get(), static_cast<INT>((w - size.cx) / 2), static_cast<INT>((y0 - size.cy) / 2),
                       static_cast<INT>(size.cx), static_cast<INT>(size.cy));
  }
  if (auto glyph = LoadResourceImage(IDR_ABOUT_GLYPH)) {
    const RECT box{0, y0, x0, h};
    const SIZE size = FitImage(*glyph, box);
    graphics.DrawImage(glyph.get(), static_cast<INT>(kGlyphLeft), static_cast<INT>(y0 + (h - y0 - size.cy) / 2),
                       static_cast<INT>(size.cx), static_cast<INT>(size.cy));
  }
}

LRESULT CAboutDlg::OnEraseBackground(UINT, WPARAM wParam, LPARAM, BOOL&) {
  if (memoryDC_) ::BitBlt(reinterpret_cast<HDC>(wParam), 0, 0, width_, height_, memoryDC_.Get(), 0, 0, SRCCOPY);
  return 1;
}

LRESULT CAboutDlg::OnControlColor(UINT, WPARAM wParam, LPARAM, BOOL&) {
  const HDC dc = reinterpret_cast<HDC>(wParam);
  ::SetBkColor(dc, kBackground);
  return reinterpret_cast<LRESULT>(background_.Get());
}

LRESULT CAboutDlg::OnHelp(UINT, WPARAM, LPARAM, BOOL&) {
  ShowHelpTopic(IDD);
  return TRUE;
}

LRESULT CAboutDlg::OnLButtonDown(UINT, WPARAM, LPARAM, BOOL&) {
  EndDialog(kEndedByClick);
  return 0;
}

void CAboutDlg::OnCancel(UINT, int, HWND) { EndDialog(IDCANCEL); }
