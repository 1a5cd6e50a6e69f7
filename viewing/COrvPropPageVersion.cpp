#include "viewing/COrvPropPageVersion.h"

#include <cwchar>

#include "common/ResString.h"
#include "common/StringHelpers.h"
#include "viewing/PropertyPageHelpers.h"
#include "viewing/ValueFormatters.h"

namespace {

constexpr uint16_t kEmbedRestricted = 0x2;
constexpr uint16_t kEmbedPreviewPrint = 0x4;
constexpr uint16_t kEmbedEditable = 0x8;
constexpr uint16_t kEmbedNoSubsetting = 0x100;
constexpr uint16_t kEmbedBitmapOnly = 0x200;
constexpr uint16_t kNoUpperOpticalSize = 0xFFFF;
constexpr uint16_t kOs2WithOpticalSizes = 5;
constexpr int64_t kTicksPerSecond = 10000000;

// The file time of 1904-01-01 00:00 UTC, where 'head' dates count from.
int64_t HeadEpochTicks() {
  const SYSTEMTIME epoch{1904, 1, 5, 1, 0, 0, 0, 0};
  FILETIME ft{};
  ::SystemTimeToFileTime(&epoch, &ft);
  return static_cast<int64_t>((uint64_t{ft.dwHighDateTime} << 32) | ft.dwLowDateTime);
}

std::wstring PointSize(uint16_t twentieths) {
  wchar_t text[32] = {};
  std::swprintf(text, 32, L"%.1f", twentieths / 20.0);
  return text;
}

}  // namespace

std::wstring COrvPropPageVersion::RevisionText(int32_t fontRevision) {
  const bool negative = fontRevision < 0;
  const uint32_t magnitude = negative ? 0u - static_cast<uint32_t>(fontRevision) : static_cast<uint32_t>(fontRevision);
  uint32_t whole = magnitude >> 16;
  uint32_t thousandths = static_cast<uint32_t>(::MulDiv(1000, static_cast<int>(magnitude & 0xFFFF), 0x10000));
  if (thousandths >= 1000) {
    ++whole;
    thousandths -= 1000;
  }
  wchar_t text[32] = {};
  std::swprintf(text, 32, L"%ls%u.%03u", negative ? L"-" : L"", whole, thousandths);
  return text;
}

bool COrvPropPageVersion::HeadDateToUtc(uint32_t high, uint32_t low, SYSTEMTIME& out) {
  const auto seconds = static_cast<int64_t>((uint64_t{high} << 32) | low);
  const int64_t epoch = HeadEpochTicks();
  // Within what a file time can hold (1601 to 30827).
  if (seconds < -(epoch / kTicksPerSecond) || seconds > (INT64_MAX - epoch) / kTicksPerSecond) return false;
  const auto ticks = static_cast<uint64_t>(epoch + seconds * kTicksPerSecond);
  const FILETIME ft{static_cast<DWORD>(ticks), static_cast<DWORD>(ticks >> 32)};
  return ::FileTimeToSystemTime(&ft, &out) != FALSE;
}

std::wstring COrvPropPageVersion::HeadDateText(uint32_t high, uint32_t low) {
  SYSTEMTIME utc{}, local{};
  if (!HeadDateToUtc(high, low, utc)) return {};
  if (!::SystemTimeToTzSpecificLocalTime(nullptr, &utc, &local)) local = utc;
  std::wstring text = FormatDateTime(local);
  if (!text.empty()) ::CharUpperBuffW(text.data(), 1);
  return text;
}

std::wstring COrvPropPageVersion::EmbeddingText(uint16_t fsType) {
  const std::wstring names = LoadResString(IDS_PROP_EMBEDDING);
  std::wstring text;
  if (fsType & kEmbedEditable) text = FieldAt(names, 0);
  if (fsType & kEmbedPreviewPrint) text = FieldAt(names, 1);
  if (fsType & kEmbedRestricted) text = FieldAt(names, 2);
  if (text.empty()) text = FieldAt(names, 3);
  if (fsType & kEmbedNoSubsetting) text += FieldAt(names, 4);
  if (fsType & kEmbedBitmapOnly) text += FieldAt(names, 5);
  return text;
}

bool COrvPropPageVersion::PanoseSaysMonospaced(const uint8_t (&panose)[10]) {
  const int kind = panose[0] & 0xF;
  if (kind < 2 || kind > 5) return false;
  return (panose[3] & 0xF) == ((kind % 2 == 0) ? 9 : 3);
}

std::wstring COrvPropPageVersion::FeaturesText() const {
  std::wstring text;
  auto line = [&text](const std::wstring& s) { text += s + L"\r\n"; };
  if (hasDsig) line(LoadResString(IDS_PROP_SIGNED));
  if (hasCff) {
    line(LoadResString(IDS_PROP_CFF_OUTLINES));
    if (hasDsig) line(LoadResString(IDS_PROP_SIGNED_CFF));
  }
  // Metrics that could not be taken say nothing about the pitch.
  if (PanoseSaysMonospaced(panose) || (haveMetrics && !(metrics.tmPitchAndFamily & TMPF_FIXED_PITCH)))
    line(LoadResString(IDS_PROP_MONOSPACED));
  if (verticalLayout) line(LoadResString(IDS_PROP_VERTICAL));
  if (hasEbdt) line(LoadResString(IDS_PROP_EMBEDDED_BITMAPS));
  if (hasSvg) line(LoadResString(IDS_PROP_SVG_GLYPHS));
  if (hasFvar) line(FormatResString(IDS_PROP_NAMED_INSTANCES, static_cast<int>(instanceCount)));
  if (os2Version >= kOs2WithOpticalSizes && (lowerOpticalSize != 0 || upperOpticalSize != kNoUpperOpticalSize)) {
    const std::wstring upper = upperOpticalSize == kNoUpperOpticalSize ? L"\u221E" : PointSize(upperOpticalSize);
    line(LoadResString(IDS_PROP_OPTICAL_SIZE) + L"(" + PointSize(lowerOpticalSize) + L" \u2264 pts < " + upper + L")");
  }
  return text;
}

void COrvPropPageVersion::OnInitDialog() {
  SetControlText(m_hWnd, IDC_PROP_VERSION_STRING, version);
  SetControlText(m_hWnd, IDC_PROP_REVISION, RevisionText(fontRevision));
  std::wstring dates;
  if (created[0] || created[1]) dates = HeadDateText(created[0], created[1]);
  if (modified[0] || modified[1]) dates += L"\n" + HeadDateText(modified[0], modified[1]);
  if (!dates.empty()) SetControlText(m_hWnd, IDC_PROP_HEAD_DATES, dates);
  SetControlText(m_hWnd, IDC_PROP_GLYPH_COUNT, std::to_wstring(numGlyphs));
  SetControlText(m_hWnd, IDC_PROP_EMBEDDING, EmbeddingText(fsType));
  SetControlText(m_hWnd, IDC_PROP_FEATURES, FeaturesText());
}
