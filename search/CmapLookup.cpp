#include "search/CmapLookup.h"

#include <algorithm>

namespace {

constexpr uint16_t kPlatformWindows = 3;
constexpr uint16_t kEncodingUnicodeBmp = 1;
constexpr uint16_t kEncodingUcs4 = 10;
constexpr uint16_t kFormatSegmentMapping = 4;
constexpr uint16_t kFormatSegmented = 12;
constexpr uint32_t kEncodingRecordSize = 8;
constexpr uint32_t kSegmentedHeaderSize = 16;
constexpr uint32_t kGroupSize = 12;
constexpr uint32_t kSegmentMappingHeaderSize = 14;

// The subtable of the first encoding record (platform, encoding) whose format is `format`.
ByteReader FindSubtable(const ByteReader& cmap, uint16_t encoding, uint16_t format) {
  uint16_t count = 0;
  if (!cmap.U16(2, count)) return {};
  for (uint32_t i = 0; i < count; ++i) {
    const uint64_t record = 4 + uint64_t{kEncodingRecordSize} * i;
    uint16_t platform = 0, enc = 0, found = 0;
    uint32_t offset = 0;
    if (!cmap.U16(record, platform) || !cmap.U16(record + 2, enc) || !cmap.U32(record + 4, offset)) return {};
    if (platform != kPlatformWindows || enc != encoding) continue;
    if (cmap.U16(offset, found) && found == format) return cmap.From(offset);
  }
  return {};
}

}  // namespace

bool CmapLookup::Load(const ByteReader& cmap) {
  kind_ = Kind::kNone;
  groups_.clear();
  format4Bytes_.clear();
  format4_ = {};
  segCount_ = 0;
  if (LoadSegmented(FindSubtable(cmap, kEncodingUcs4, kFormatSegmented))) return true;
  return LoadSegmentMapping(FindSubtable(cmap, kEncodingUnicodeBmp, kFormatSegmentMapping));
}

bool CmapLookup::LoadSegmented(const ByteReader& subtable) {
  uint32_t length = 0, count = 0;
  if (!subtable.U32(4, length) || !subtable.U32(12, count)) return false;
  // The groups lie inside both the declared length and the bytes there are.
  const ByteReader table = subtable.Sub(0, length);
  if (table.Size() < kSegmentedHeaderSize || count > (table.Size() - kSegmentedHeaderSize) / kGroupSize) return false;
  groups_.reserve(count);
  uint32_t next = 0;  // the lowest code point a later group may still add
  bool full = false;
  for (uint32_t g = 0; g < count && !full; ++g) {
    const uint64_t at = kSegmentedHeaderSize + uint64_t{kGroupSize} * g;
    Group group{};
    if (!table.U32(at, group.first) || !table.U32(at + 4, group.last) || !table.U32(at + 8, group.glyph)) break;
    if (group.first > group.last || group.first > kLastCodePoint || group.last < next) continue;
    if (group.first < next) {
      // Only the code points the groups before did not map yet.
      group.glyph += next - group.first;
      group.first = next;
    }
    group.last = std::min(group.last, kLastCodePoint);
    full = group.last == kLastCodePoint;
    next = group.last + 1;
    groups_.push_back(group);
  }
  if (groups_.empty()) return false;
  kind_ = Kind::kSegmented;
  return true;
}

bool CmapLookup::LoadSegmentMapping(const ByteReader& subtable) {
  uint16_t segCountX2 = 0;
  if (!subtable.U16(6, segCountX2) || segCountX2 == 0 || (segCountX2 & 1) != 0) return false;
  // Large fonts often declare a wrong 16-bit length: the four arrays must fit the bytes there are.
  const uint32_t segCount = segCountX2 / 2u;
  if (!subtable.Has(kSegmentMappingHeaderSize, 8ull * segCount + 2)) return false;
  // The farthest a glyph index can lie: an idRangeOffset of 0xFFFF from the last segment's,
  // plus a code point 0xFFFF past the segment's start.
  const uint64_t reach = kSegmentMappingHeaderSize + 8ull * segCount + 2 + 0xFFFFull * 3;
  const size_t kept = static_cast<size_t>(std::min<uint64_t>(subtable.Size(), reach));
  format4Bytes_.assign(subtable.Data(), subtable.Data() + kept);
  format4_ = ByteReader(format4Bytes_.data(), format4Bytes_.size());
  segCount_ = segCount;
  kind_ = Kind::kSegmentMapping;
  return true;
}

uint32_t CmapLookup::GlyphOf(uint32_t codePoint) const {
  if (kind_ == Kind::kSegmentMapping) return SegmentGlyph(codePoint);
  if (kind_ != Kind::kSegmented) return 0;
  const auto it = std::upper_bound(groups_.begin(), groups_.end(), codePoint,
                                   [](uint32_t cp, const Group& g) { return cp < g.first; });
  if (it == groups_.begin()) return 0;
  const Group& group = *(it - 1);
  if (codePoint > group.last) return 0;
  return group.glyph + (codePoint - group.first);
}

uint32_t CmapLookup::SegmentGlyph(uint32_t codePoint) const {
  if (codePoint > 0xFFFF) return 0;
  const uint64_t endCodes = kSegmentMappingHeaderSize;
  const uint64_t startCodes = endCodes + 2ull * segCount_ + 2;
  const uint64_t deltas = startCodes + 2ull * segCount_;
  const uint64_t rangeOffsets = deltas + 2ull * segCount_;
  // The first segment whose end is at or past the code point (segments ascend by their ends).
  uint32_t low = 0, high = segCount_;
  while (low < high) {
    const uint32_t mid = low + (high - low) / 2;
    uint16_t end = 0;
    if (!format4_.U16(endCodes + 2ull * mid, end)) return 0;
    if (end < codePoint)
      low = mid + 1;
    else
      high = mid;
  }
  if (low == segCount_) return 0;
  uint16_t start = 0, delta = 0, rangeOffset = 0;
  if (!format4_.U16(startCodes + 2ull * low, start) || !format4_.U16(deltas + 2ull * low, delta) ||
      !format4_.U16(rangeOffsets + 2ull * low, rangeOffset) || codePoint < start)
    return 0;
  if (rangeOffset == 0) return (codePoint + delta) & 0xFFFF;
  const uint64_t at = rangeOffsets + 2ull * low + rangeOffset + 2ull * (codePoint - start);
  uint16_t glyph = 0;
  if (!format4_.U16(at, glyph) || glyph == 0) return 0;
  return (glyph + delta) & 0xFFFFu;
}
