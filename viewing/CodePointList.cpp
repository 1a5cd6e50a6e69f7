#include "viewing/CodePointList.h"

#include <algorithm>
#include <cstddef>

#include <cwchar>

#include "common/UnicodeText.h"

namespace {

constexpr uint16_t kPlatformWindows = 3;
constexpr uint16_t kEncodingUcs4 = 10;
constexpr uint16_t kFormatSegmentedCoverage = 12;
constexpr uint16_t kFormatManyToOne = 13;
constexpr uint32_t kEncodingRecordSize = 8;
constexpr uint32_t kGroupHeaderSize = 16;
constexpr uint32_t kGroupSize = 12;
constexpr DWORD kCmapTag = 'c' | ('m' << 8) | ('a' << 16) | ('p' << 24);

// The offset of the first (3,10) subtable, or false.
bool FindUcs4Subtable(const ByteReader& cmap, uint32_t& offset) {
  uint16_t count = 0;
  if (!cmap.U16(2, count)) return false;
  for (uint32_t i = 0; i < count; ++i) {
    const uint64_t record = 4 + uint64_t{kEncodingRecordSize} * i;
    uint16_t platform = 0, encoding = 0;
    if (!cmap.U16(record, platform) || !cmap.U16(record + 2, encoding) || !cmap.U32(record + 4, offset)) return false;
    if (platform == kPlatformWindows && encoding == kEncodingUcs4) return true;
  }
  return false;
}

}  // namespace

void CodePointList::Clear() {
  points_.clear();
  points_.shrink_to_fit();
  reportedCount_ = 0;
}

bool CodePointList::ReadUcs4Cmap(const ByteReader& cmap) {
  Clear();
  uint32_t offset = 0;
  if (!FindUcs4Subtable(cmap, offset)) return false;
  uint16_t format = 0;
  uint32_t length = 0, groups = 0;
  if (!cmap.U16(offset, format) || !cmap.U32(offset + 4, length) || !cmap.U32(offset + 12, groups)) return false;
  if (format != kFormatSegmentedCoverage && format != kFormatManyToOne) return false;
  // The groups lie inside the subtable's declared length and inside the bytes there are.
  const ByteReader subtable = cmap.Sub(offset, length);
  if (subtable.Size() < kGroupHeaderSize || groups > (subtable.Size() - kGroupHeaderSize) / kGroupSize) return false;

  uint32_t next = kFirstShown;  // the lowest code point a later group may still add
  for (uint32_t g = 0; g < groups && points_.size() < kMaxCodePoints && next <= kLastCodePoint; ++g) {
    const uint64_t at = kGroupHeaderSize + uint64_t{kGroupSize} * g;
    uint32_t first = 0, last = 0;
    if (!subtable.U32(at, first) || !subtable.U32(at + 4, last)) break;
    if (first > last) continue;
    first = std::max(first, next);
    last = std::min(last, kLastCodePoint);
    if (first > last) continue;
    const uint64_t room = kMaxCodePoints - points_.size();
    const uint32_t end = static_cast<uint32_t>(std::min<uint64_t>(last, first + room - 1));
    for (uint32_t cp = first;; ++cp) {
      points_.push_back(cp);
      if (cp == end) break;
    }
    next = end + 1;
  }
  reportedCount_ = static_cast<uint32_t>(points_.size());
  if (points_.empty()) {
    Clear();
    return false;
  }
  return true;
}

bool CodePointList::HasUcs4Subtable(const ByteReader& cmap) {
  uint32_t offset = 0;
  return FindUcs4Subtable(cmap, offset);
}

std::vector<uint8_t> CodePointList::ReadCmapTable(HDC dc) {
  const DWORD size = ::GetFontData(dc, kCmapTag, 0, nullptr, 0);
  if (size == GDI_ERROR || size < 4 || size > kMaxCmapBytes) return {};
  std::vector<uint8_t> bytes(size);
  if (::GetFontData(dc, kCmapTag, 0, bytes.data(), size) != size) return {};
  return bytes;
}

void CodePointList::ReadUnicodeRanges(HDC dc) {
  Clear();
  const DWORD size = ::GetFontUnicodeRanges(dc, nullptr);
  if (size < sizeof(GLYPHSET)) return;
  std::vector<uint8_t> buffer(size);
  auto* set = reinterpret_cast<GLYPHSET*>(buffer.data());
  if (::GetFontUnicodeRanges(dc, set) == 0) return;
  // GDI's own ranges, still kept within the buffer it filled and the count it reported.
  const size_t ranges = std::min<size_t>(set->cRanges, (size - offsetof(GLYPHSET, ranges)) / sizeof(WCRANGE));
  const size_t limit = std::min<size_t>(set->cGlyphsSupported, kMaxCodePoints);
  reportedCount_ = set->cGlyphsSupported;
  points_.reserve(limit);
  for (size_t r = 0; r < ranges && points_.size() < limit; ++r) {
    const uint32_t low = set->ranges[r].wcLow;
    const uint32_t high = std::min<uint32_t>(low + set->ranges[r].cGlyphs, 0x10000);
    for (uint32_t cp = std::max(low, kFirstShown); cp < high && points_.size() < limit; ++cp) points_.push_back(cp);
  }
}

std::wstring CodePointText(uint32_t codePoint) {
  std::wstring text;
  AppendCodePoint(text, codePoint);
  return text;
}

std::wstring FormatCodePointCount(uint32_t count) {
  wchar_t text[32]{};
  if (count < 1000)
    std::swprintf(text, std::size(text), L"%u", count);
  else
    std::swprintf(text, std::size(text), L"%u %03u", count / 1000, count % 1000);
  return text;
}
