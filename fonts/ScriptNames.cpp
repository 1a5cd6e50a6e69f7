// The writing systems of a font, from its OS/2 Unicode-range bits: the block names of the
// table in the application state, led by the labels for symbol, East Asian and Latin fonts.
#include "fonts/FontItem.h"

#include "app/AppState.h"
#include "common/ResString.h"
#include "common/ResourceIdsFonts.h"

namespace {

constexpr int kUnlimited = 4095;
constexpr int kRangeBits = 128;
constexpr int kNonPlane0Bit = 57;
// The range bits that name a script of their own; Latin, the East Asian blocks and the
// combining, symbol and punctuation blocks are left to the labels or left out.
constexpr uint32_t kScriptBitMask[4] = {0x0FFFFF80, 0x00200000, 0xE09B3FC0, 0x007F1615};
constexpr uint32_t kLatinBits = 0x2000000F;     // word 1: bits 0 to 3 and 29
constexpr uint32_t kEastAsianBit = 0x10000000;  // word 1: bit 28
constexpr uint32_t kEastAsianBits2 = 0x291E0000;  // word 2: bits 49 to 52, 56, 59 and 61
constexpr uint32_t kNonPlane0Bits2 = 0x02000000;  // word 2: bit 57
const wchar_t kMoreMark[] = L"( \u2026 )";

}  // namespace

bool FontItem::GetScriptNames(std::wstring& out, const std::wstring& separator, int maxCount) const {
  if (IsType1()) return false;
  out.clear();
  const int limit = maxCount < 0 ? kUnlimited : maxCount;
  int count = 0;
  std::vector<std::wstring> labels = SplitFields(LoadResString(IDS_SCRIPT_LABELS));  // symbol, East Asian, Latin
  labels.resize(3);

  const bool symbol = namePlatformId == 3 && nameEncodingId == 0;
  bool latin = false;
  bool eastAsian = false;
  if (!symbol) {
    if (!HasUnicodeRanges()) {
      out = LoadResString(IDS_NO_UNICODE_RANGES);
      return false;
    }
    latin = (unicodeRange[0] & kLatinBits) != 0;
    eastAsian = (unicodeRange[0] & kEastAsianBit) != 0 || (unicodeRange[1] & kEastAsianBits2) != 0;
    for (int bit = 0; bit < kRangeBits && count <= limit; ++bit) {
      const uint32_t mask = 1u << (bit % 32);
      if (!(unicodeRange[bit / 32] & kScriptBitMask[bit / 32] & mask)) continue;
      const std::wstring name = g_AppState.BlockTable.NameOfRangeBit(bit);
      if (name.empty()) continue;
      out += name + separator;
      ++count;
    }
  }
  const bool nonPlane0 = (unicodeRange[1] & kNonPlane0Bits2) != 0;
  if (out.empty() && !latin && !eastAsian && !symbol && !nonPlane0) {
    out = LoadResString(IDS_NO_UNICODE_RANGES);
    return true;
  }
  if (symbol) {
    out = labels[0] + separator + out;
  } else {
    if (eastAsian) out = labels[1] + separator + out;
    if (latin) out = labels[2] + separator + out;
  }
  if (!separator.empty() && out.size() >= separator.size() &&
      out.compare(out.size() - separator.size(), separator.size(), separator) == 0)
    out.resize(out.size() - separator.size());
  if (nonPlane0) {
    if (!out.empty()) out += separator;
    out += g_AppState.BlockTable.NameOfRangeBit(kNonPlane0Bit);
  }
  if (count > limit) out += separator + kMoreMark;
  return true;
}
