#include "viewing/COrvPropPageCPCharMap.h"

#include <algorithm>

#include "app/AppState.h"
#include "common/ResString.h"
#include "common/ResourceIdsFonts.h"
#include "common/StringHelpers.h"
#include "framework/Handles.h"
#include "viewing/PropertyPageHelpers.h"
#include "viewing/UnicodeBlockTable.h"

namespace {

constexpr uint16_t kPlatformUnicode = 0;
constexpr uint16_t kPlatformMacintosh = 1;
constexpr uint16_t kPlatformIso = 2;
constexpr uint16_t kPlatformWindows = 3;
constexpr uint16_t kPlatformCustom = 4;
constexpr uint16_t kLastWindowsEncoding = 11;  // every encoding above 10 shares the last name

const wchar_t* const kUnicodeEncodings[] = {L" 1.0", L" 1.1", L" 10646", L" 2.0 (UCS-2)", L" 2.0",
                                            L" Variations Sequences", L" UCS-4"};
const wchar_t* const kIsoEncodings[] = {L"ASCII (7 bits)", L"10646", L"8859-1"};

constexpr int kTextMargin = 6;  // the list box's own space around an item's text

// A list too narrow for its longest line scrolls sideways to it (its scroll bar shows only then).
void FitScrollToLines(HWND list, const std::vector<std::wstring>& lines) {
  orv::ScopedGetDC dc(list);
  if (!dc) return;
  orv::ScopedSelectObject font(dc.Get(), reinterpret_cast<HFONT>(::SendMessageW(list, WM_GETFONT, 0, 0)));
  int widest = 0;
  for (const std::wstring& line : lines) {
    SIZE size{};
    if (::GetTextExtentPoint32W(dc.Get(), line.c_str(), static_cast<int>(line.size()), &size))
      widest = std::max(widest, static_cast<int>(size.cx));
  }
  ::SendMessageW(list, LB_SETHORIZONTALEXTENT, widest + kTextMargin, 0);
}

// The lines, or the text for none.
void FillList(HWND list, std::vector<std::wstring> lines, UINT noneText) {
  if (lines.empty()) lines.push_back(LoadResString(noneText));
  for (const std::wstring& line : lines) ::SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line.c_str()));
  FitScrollToLines(list, lines);
}

}  // namespace

std::wstring COrvPropPageCPCharMap::EncodingText(uint16_t platformId, uint16_t encodingId) {
  switch (platformId) {
    case kPlatformUnicode:
      return std::wstring(L"Unicode") + (encodingId < std::size(kUnicodeEncodings) ? kUnicodeEncodings[encodingId] : L"");
    case kPlatformMacintosh:
      return L"Macintosh";
    case kPlatformIso:
      return std::wstring(L"ISO ") + (encodingId < std::size(kIsoEncodings) ? kIsoEncodings[encodingId] : L"");
    case kPlatformWindows:
      return L"Windows " + FieldAt(LoadResString(IDS_PROP_WINDOWS_ENCODINGS),
                                   encodingId < kLastWindowsEncoding ? encodingId : kLastWindowsEncoding);
    case kPlatformCustom:
      return LoadResString(IDS_PROP_CUSTOM_ENCODING);
    default:
      return LoadResString(IDS_PROP_UNKNOWN);
  }
}

std::vector<std::wstring> COrvPropPageCPCharMap::CodePageNames(uint32_t range1, uint32_t range2) {
  // Sixteen names per string, by bit: bits 0-15, 16-31 and 48-63; bits 32-47 have none.
  const std::wstring names[4] = {LoadResString(IDS_PROP_CODE_PAGES_LOW), LoadResString(IDS_PROP_CODE_PAGES_HIGH),
                                 std::wstring(), LoadResString(IDS_PROP_CODE_PAGES_OEM)};
  std::vector<std::wstring> out;
  for (int bit = 0; bit < 64; ++bit) {
    const uint32_t word = bit < 32 ? range1 : range2;
    if (!(word & (1u << (bit % 32)))) continue;
    std::wstring name = FieldAt(names[bit / 16], bit % 16);
    if (name.empty()) name = FormatResString(IDS_PROP_CODE_PAGE_BIT, bit);
    out.push_back(name);
  }
  return out;
}

std::vector<std::wstring> COrvPropPageCPCharMap::RangeNames(const uint32_t (&ranges)[4], const UnicodeBlockTable& table) {
  std::vector<std::wstring> out;
  for (int bit = 0; bit < 128; ++bit) {
    if (!(ranges[bit / 32] & (1u << (bit % 32)))) continue;
    std::wstring name = table.NameOfRangeBit(bit);
    if (!name.empty()) out.push_back(std::move(name));
  }
  return out;
}

void COrvPropPageCPCharMap::OnInitDialog() {
  SetControlText(m_hWnd, IDC_PROP_ENCODING, EncodingText(platformId, encodingId));
  std::vector<std::wstring> codePages;
  if (os2Version != 0) codePages = CodePageNames(codePageRange[0], codePageRange[1]);
  FillList(GetDlgItem(IDC_PROP_CODE_PAGES), codePages, IDS_NO_UNICODE_RANGES);
  UnicodeBlockTable& table = g_AppState.BlockTable;
  // The main window loads the table as it starts; a sheet opened without it loads it here.
  if (table.Rows().empty()) (void)table.Load();
  FillList(GetDlgItem(IDC_PROP_UNICODE_RANGES), RangeNames(unicodeRange, table), IDS_NO_UNICODE_RANGES);
}
