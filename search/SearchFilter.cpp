#include "search/SearchFilter.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "app/Preferences.h"
#include "common/RegistryValue.h"

namespace {
// A hand-edited value may be of any size; more than this is not read at all.
constexpr DWORD kMaxStoredBytes = 64 * 1024;
}  // namespace

bool SearchFilter::HasContent() const {
  return characters[0] != 0 || (rangeMask[0] | rangeMask[1] | rangeMask[2] | rangeMask[3]) != 0 || symbolMode != 0 ||
         kindSwitch == kKindsSelected;
}

std::wstring SearchFilter::Characters() const {
  size_t n = 0;
  while (n < kMaxCharacters && characters[n] != 0) ++n;
  return std::wstring(characters, n);
}

void SearchFilter::SetCharacters(const std::wstring& text) {
  std::fill(std::begin(characters), std::end(characters), L'\0');
  std::copy_n(text.begin(), std::min(text.size(), kMaxCharacters), characters);
}

bool SearchFilter::HasRangeBit(uint32_t bit) const {
  return bit < kRangeBits && ((rangeMask[bit / 32] >> (bit % 32)) & 1) != 0;
}

void SearchFilter::SetRangeBit(uint32_t bit) {
  if (bit < kRangeBits) rangeMask[bit / 32] |= 1u << (bit % 32);
}

bool SearchFilter::HasKind(int kind) const {
  return kind >= 1 && kind <= kKindCount && kinds[kind - 1] != 0;
}

SearchFilter SearchFilter::Load() {
  SearchFilter filter;
  const orv::ScopedKey key = OpenRegKey(HKEY_CURRENT_USER, kPrefsKeyPath, KEY_READ);
  if (!key) return filter;
  DWORD size = 0;
  if (::RegQueryValueExW(key.Get(), kSearchFilterValue, nullptr, nullptr, nullptr, &size) != ERROR_SUCCESS ||
      size == 0 || size > kMaxStoredBytes)
    return filter;
  std::vector<BYTE> bytes(size);
  if (::RegQueryValueExW(key.Get(), kSearchFilterValue, nullptr, nullptr, bytes.data(), &size) != ERROR_SUCCESS)
    return filter;
  std::memcpy(&filter, bytes.data(), std::min<size_t>(size, sizeof filter));
  return filter;
}

bool SearchFilter::Store() const {
  const orv::ScopedKey key = OpenRegKey(HKEY_CURRENT_USER, kPrefsKeyPath, KEY_SET_VALUE);
  if (!key) return false;
  if (HasContent()) return WriteRegBinary(key.Get(), kSearchFilterValue, this, sizeof *this);
  const LSTATUS deleted = ::RegDeleteValueW(key.Get(), kSearchFilterValue);
  return deleted == ERROR_SUCCESS || deleted == ERROR_FILE_NOT_FOUND;
}
