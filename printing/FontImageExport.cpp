#include "printing/FontImageExport.h"

#include <commdlg.h>
#include <shlobj.h>
#include <shlwapi.h>

#include <algorithm>

#include "app/AppState.h"
#include "common/AppMessageBox.h"
#include "common/ResString.h"
#include "common/ResourceIds.h"
#include "common/Seams.h"
#include "common/StringHelpers.h"
#include "common/UnicodeText.h"
#include "framework/Handles.h"
#include "lists/COrvelListView.h"
#include "printing/CSaveImagesDlg.h"
#include "printing/HtmlReportWriter.h"
#include "printing/ImageEncoder.h"
#include "viewing/CSampleWindow.h"

namespace {

constexpr size_t kMaxPathChars = MAX_PATH - 1;
constexpr int kMaxUniqueTries = 100000;
constexpr wchar_t kImagesFolder[] = L"images";
constexpr wchar_t kDeviceNames[][5] = {L"CON", L"PRN", L"AUX", L"NUL"};

bool FileExists(const std::wstring& path) { return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

bool IsDeviceName(const std::wstring& name) {
  for (const wchar_t* device : kDeviceNames)
    if (EqualsNoCase(name, device)) return true;
  // COM1..COM9 and LPT1..LPT9.
  return name.size() == 4 && (StartsWithNoCase(name, L"COM") || StartsWithNoCase(name, L"LPT")) && name[3] >= L'1' &&
         name[3] <= L'9';
}

std::wstring WithBackslash(std::wstring folder) {
  if (!folder.empty() && folder.back() != L'\\') folder += L'\\';
  return folder;
}

// The selected row's font, read from its file when the list has not read it yet.
FontItem CompletedRecord(COrvelListView& list, int row) {
  FontItem font = *list.GetRecordAt(row);
  ReadFontDetails(list.m_folder, font);
  EnsureFontItemLoaded(list.m_folder, font);
  return font;
}

void SaveSingleFontImage(CSampleWindow& pane, const std::wstring& folder) {
  std::wstring path = folder + MakeImageFileName(pane.Item().FullName(), false);
  std::wstring filter = LoadResString(IDS_IMAGE_FILTER);
  std::replace(filter.begin(), filter.end(), L'|', L'\0');
  filter.push_back(L'\0');
  std::vector<wchar_t> buffer(MAX_PATH, L'\0');
  wcsncpy_s(buffer.data(), buffer.size(), path.c_str(), _TRUNCATE);
  OPENFILENAMEW dialog{sizeof(dialog)};
  dialog.hwndOwner = g_AppState.MainWindow;
  dialog.lpstrFilter = filter.c_str();
  dialog.nFilterIndex = image_format::kJpeg;
  dialog.lpstrFile = buffer.data();
  dialog.nMaxFile = static_cast<DWORD>(buffer.size());
  dialog.Flags = OFN_EXPLORER | OFN_ENABLESIZING | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY;
  if (!::GetSaveFileNameW(&dialog)) return;
  path = buffer.data();
  const int format = static_cast<int>(dialog.nFilterIndex);
  if (*::PathFindExtensionW(path.c_str()) == L'\0') path += ImageExtension(format);
  if (!RenderSampleImage(pane, path, format, g_AppState.ShowInfoBlock))
    AppMessageBox(g_AppState.MainWindow, MB_ICONEXCLAMATION, IDS_CAPTION_APP, IDS_IMAGES_NOT_SAVED, 0, path.c_str());
}

}  // namespace

std::wstring DefaultImageFolder() {
  wchar_t pictures[MAX_PATH] = {};
  if (SUCCEEDED(::SHGetFolderPathW(nullptr, CSIDL_MYPICTURES, nullptr, SHGFP_TYPE_CURRENT, pictures)) && pictures[0])
    return WithBackslash(pictures);
  return WithBackslash(g_AppState.FolderFonts.m_folder);
}

std::wstring MakeImageFileName(const std::wstring& fullName, bool forHtml) {
  std::wstring name = fullName;
  for (wchar_t& c : name) {
    switch (c) {
      case L'?': case L'*': case L'/': case L'\\': case L':': case L'|': case L'.': c = L'_'; break;
      case L'<': c = L'('; break;
      case L'>': c = L')'; break;
      case L'"': c = L'\''; break;
      case L' ': if (forHtml) c = L'_'; break;
      default: if (c < L' ') c = L'_'; break;
    }
  }
  if (forHtml && !name.empty()) ::CharLowerBuffW(name.data(), static_cast<DWORD>(name.size()));
  // Windows drops trailing blanks from a file name: the page would point at another name.
  for (auto it = name.rbegin(); it != name.rend() && *it == L' '; ++it) *it = L'_';
  if (name.empty() || IsDeviceName(name)) name.insert(name.begin(), L'_');
  return name;
}

void FitPathLength(std::wstring& path) {
  if (path.size() <= kMaxPathChars) return;
  const size_t slash = path.find_last_of(L'\\');
  const size_t nameStart = slash == std::wstring::npos ? 0 : slash + 1;
  const size_t dot = path.find_last_of(L'.');
  const size_t stemEnd = (dot == std::wstring::npos || dot < nameStart) ? path.size() : dot;
  const size_t excess = path.size() - kMaxPathChars;
  if (stemEnd - nameStart <= excess) return;  // the folder alone is too long: saving will fail
  path.erase(stemEnd - excess, excess);
}

void MakeUniqueImageName(std::wstring& path, int format) {
  std::wstring stem = path.substr(0, static_cast<size_t>(::PathFindExtensionW(path.c_str()) - path.c_str()));
  const std::wstring extension = ImageExtension(format);
  for (int n = 1; n <= kMaxUniqueTries; ++n) {
    std::wstring candidate = stem + FormatWide(L"(%d)", n) + extension;
    if (candidate.size() > kMaxPathChars) {
      const size_t cut = candidate.size() - kMaxPathChars;
      const size_t slash = stem.find_last_of(L'\\');
      if (stem.size() - (slash == std::wstring::npos ? 0 : slash + 1) <= cut) return;
      stem.erase(stem.size() - cut);
      candidate = stem + FormatWide(L"(%d)", n) + extension;
    }
    if (!FileExists(candidate)) {
      path = candidate;
      return;
    }
  }
}

std::wstring HtmlEscape(const std::wstring& text) {
  std::wstring out;
  AppendMarkupEscaped(out, text);
  return out;
}

std::wstring PercentEncodePath(const std::wstring& path) {
  const std::string utf8 = Utf16ToUtf8(path);
  static constexpr wchar_t kHex[] = L"0123456789ABCDEF";
  std::wstring out;
  for (unsigned char c : utf8) {
    const bool keep = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' ||
                      c == '.' || c == '_' || c == '~' || c == '/';
    if (keep) {
      out += static_cast<wchar_t>(c);
    } else {
      out += L'%';
      out += kHex[c >> 4];
      out += kHex[c & 0xF];
    }
  }
  return out;
}

bool RenderSampleImage(CSampleWindow& pane, const std::wstring& path, int format, bool infoBlockAfter) {
  g_AppState.ShowInfoBlock = false;
  RECT client{};
  pane.GetClientRect(&client);
  Picture picture;
  picture.width = client.right - client.left;
  picture.height = pane.MeasureContentHeight();
  int depth = 0;
  {
    orv::ScopedGetDC screen(pane.m_hWnd);
    depth = ::GetDeviceCaps(screen.Get(), BITSPIXEL);
  }
  bool saved = false;
  if (picture.width > 0 && picture.height > 0) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = picture.width;
    info.bmiHeader.biHeight = -picture.height;  // top row first
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    orv::ScopedCreatedDC dc(::CreateCompatibleDC(nullptr));
    orv::ScopedBitmap bitmap(::CreateDIBSection(dc.Get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (dc && bitmap && bits) {
      {
        orv::ScopedSelectObject select(dc.Get(), bitmap.Get());
        RECT all{0, 0, picture.width, picture.height};
        ::FillRect(dc.Get(), &all, ::GetSysColorBrush(COLOR_WINDOW));
        pane.DrawSample(dc.Get());
        ::GdiFlush();
      }
      const auto* pixels = static_cast<const uint32_t*>(bits);
      picture.pixels.assign(pixels, pixels + size_t(picture.width) * size_t(picture.height));
      // The background in the pixels' byte order (0x00RRGGBB), a COLORREF being 0x00BBGGRR.
      const COLORREF window = ::GetSysColor(COLOR_WINDOW);
      const uint32_t background = (uint32_t(GetRValue(window)) << 16) | (uint32_t(GetGValue(window)) << 8) | GetBValue(window);
      picture.hasAlpha = format == image_format::kPng && depth == 32;
      for (uint32_t& p : picture.pixels) {
        p &= 0xFFFFFF;
        if (!picture.hasAlpha || p != background) p |= 0xFF000000;
      }
      GdiplusSession gdiplus;
      saved = gdiplus.Ok() && SavePicture(picture, path, format);
    }
  }
  g_AppState.ShowInfoBlock = infoBlockAfter;
  return saved;
}

bool ExportFontImages(CSampleWindow& pane, COrvelListView& list, const ImageExportOptions& options, HWND statusBar) {
  HCURSOR oldCursor = ::SetCursor(::LoadCursorW(nullptr, IDC_WAIT));
  struct CursorBack {
    HCURSOR cursor;
    ~CursorBack() { ::SetCursor(cursor); }
  } cursorBack{oldCursor};
  const std::vector<int> rows = list.GetSelectedFileIndices();
  if (rows.empty()) return false;
  const std::wstring folder = WithBackslash(options.folder);
  const HWND owner = ::GetActiveWindow();
  HtmlReportWriter page(options.imagesSubfolder, options.infoColumn);
  const std::wstring pagePath = folder + options.htmlName;
  if (options.writeHtml) {
    if (!options.overwrite && FileExists(pagePath) &&
        seams::ShowMessageBox(owner, LoadResString(IDS_ASK_REPLACE_PAGE), options.htmlName, MB_ICONWARNING | MB_YESNO) != IDYES)
      return false;
    if (!page.Create(pagePath)) {
      AppMessageBox(owner, MB_ICONHAND, IDS_CAPTION_APP, IDS_GROUP_FILE_FAILED, ::GetLastError(), pagePath.c_str());
      return false;
    }
    if (FAILED(page.WriteHeader())) return false;
  }
  std::wstring imageFolder = folder;
  if (options.imagesSubfolder) {
    imageFolder += kImagesFolder;
    if (!::PathIsDirectoryW(imageFolder.c_str()) && !::CreateDirectoryW(imageFolder.c_str(), nullptr)) {
      AppMessageBox(owner, MB_ICONEXCLAMATION, IDS_FOLDER_ERROR_CAPTION, 0, ::GetLastError(), imageFolder.c_str());
      return false;
    }
    imageFolder += L'\\';
  }
  const bool infoBlock = g_AppState.ShowInfoBlock;
  bool pageFailed = false;
  std::vector<std::wstring> failed;
  ::SendMessageW(pane.m_hWnd, WM_SETREDRAW, FALSE, 0);
  for (int row : rows) {
    if (!list.GetRecordAt(row)) continue;
    const FontItem font = CompletedRecord(list, row);
    pane.Item().CopyFrom(font);
    pane.RecalcLayout(true);
    std::wstring path = imageFolder + MakeImageFileName(font.FullName(), options.writeHtml) + ImageExtension(options.format);
    FitPathLength(path);
    if (statusBar) ::SendMessageW(statusBar, SB_SETTEXTW, 0, reinterpret_cast<LPARAM>(font.FullName().c_str()));
    if (!options.overwrite && FileExists(path)) MakeUniqueImageName(path, options.format);
    if (!RenderSampleImage(pane, path, options.format, infoBlock)) {
      failed.push_back(path);
      continue;
    }
    if (options.writeHtml && FAILED(page.WriteRow(font, path.substr(path.find_last_of(L'\\') + 1)))) pageFailed = true;
  }
  ::SendMessageW(pane.m_hWnd, WM_SETREDRAW, TRUE, 0);
  pane.Invalidate();
  if (options.writeHtml && FAILED(page.WriteFooter())) pageFailed = true;
  page.Close();
  if (!failed.empty())
    AppMessageBox(owner, MB_ICONEXCLAMATION, IDS_CAPTION_APP, IDS_IMAGES_NOT_SAVED, 0, failed.front().c_str());
  if (options.writeHtml && !pageFailed) seams::ShellOpen(nullptr, pagePath);
  return failed.size() < rows.size();
}

void SaveFontImages(CSampleWindow& pane) {
  COrvelListView* list = pane.SourceList();
  if (!list || !list->m_hWnd) return;
  const std::vector<int> rows = list->GetSelectedFileIndices();
  if (rows.empty()) return;
  if (rows.size() == 1 && pane.Item().FullName().empty()) return;
  const std::wstring folder = DefaultImageFolder();
  if (rows.size() == 1) {
    SaveSingleFontImage(pane, folder);
    return;
  }
  CSaveImagesDlg dialog(pane, *list, folder);
  dialog.DoModal(::GetActiveWindow());
}
