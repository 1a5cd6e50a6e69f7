// The search filter record: its 168-byte layout, the registry value it is kept in (byte for
// byte, deleted when the record has no content), and what a damaged or hand-edited value reads as.
#include "search/SearchFilter.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "app/Preferences.h"
#include "common/RegistryValue.h"

namespace {

orv::ScopedKey PrefsKey() {
  HKEY key = nullptr;
  ::RegCreateKeyExW(HKEY_CURRENT_USER, kPrefsKeyPath, 0, nullptr, 0, KEY_READ | KEY_SET_VALUE, nullptr, &key, nullptr);
  return orv::ScopedKey(key);
}

std::string StoredBytes(DWORD* type = nullptr) {
  orv::ScopedKey key = PrefsKey();
  DWORD size = 0;
  if (::RegQueryValueExW(key.Get(), kSearchFilterValue, nullptr, type, nullptr, &size) != ERROR_SUCCESS) return {};
  std::string bytes(size, '\0');
  ::RegQueryValueExW(key.Get(), kSearchFilterValue, nullptr, type, reinterpret_cast<BYTE*>(bytes.data()), &size);
  return bytes;
}

void StoreRaw(DWORD type, const void* data, DWORD size) {
  orv::ScopedKey key = PrefsKey();
  ASSERT_EQ(::RegSetValueExW(key.Get(), kSearchFilterValue, 0, type, static_cast<const BYTE*>(data), size), ERROR_SUCCESS);
}

class SearchFilterStore : public testing::Test {
protected:
  void SetUp() override { ASSERT_TRUE(PrefsKey()); }
  void TearDown() override { ::RegDeleteValueW(PrefsKey().Get(), kSearchFilterValue); }
};

TEST(SearchFilterRecord, LayoutAndContent) {
  SearchFilter filter;
  EXPECT_FALSE(filter.HasContent()) << "the glyph mode alone is no content";
  const auto* bytes = reinterpret_cast<const uint8_t*>(&filter);
  EXPECT_EQ(bytes[0], 1);
  for (size_t i = 1; i < sizeof filter; ++i) ASSERT_EQ(bytes[i], 0) << i;

  filter.glyphMode = 0;
  filter.symbolMode = 1;
  filter.SetRangeBit(0);
  filter.SetRangeBit(127);
  filter.SetRangeBit(128);  // past the mask: ignored
  filter.SetCharacters(L"AB");
  filter.kindSwitch = SearchFilter::kKindsSelected;
  filter.kinds[1] = 2;
  filter.kinds[4] = 5;
  const uint8_t expected[][2] = {{0, 0},    {1, 1},    {4, 0x01}, {19, 0x80}, {20, 'A'},  {21, 0},
                                 {22, 'B'}, {24, 0},   {148, 255}, {149, 0},  {152, 2},   {158, 5}};
  for (const auto& [at, value] : expected) EXPECT_EQ(bytes[at], value) << "offset " << int{at};
  EXPECT_EQ(filter.Characters(), L"AB");
  EXPECT_TRUE(filter.HasKind(2) && filter.HasKind(5) && !filter.HasKind(1) && !filter.HasKind(7));

  // Each part alone gives content.
  SearchFilter part;
  part.symbolMode = 1;
  EXPECT_TRUE(part.HasContent());
  part = {};
  part.SetRangeBit(100);
  EXPECT_TRUE(part.HasContent());
  part = {};
  part.kindSwitch = SearchFilter::kKindsSelected;
  EXPECT_TRUE(part.HasContent());
  part = {};
  part.kinds[0] = 1;  // a kind without the switch
  EXPECT_FALSE(part.HasContent());

  // Sixty-four characters fill the field with no terminating 0; more are cut.
  part = {};
  part.SetCharacters(std::wstring(70, L'x'));
  EXPECT_EQ(part.Characters(), std::wstring(64, L'x'));
  EXPECT_EQ(reinterpret_cast<const uint8_t*>(&part)[147], 0);
  EXPECT_EQ(reinterpret_cast<const uint8_t*>(&part)[146], 'x');
}

TEST_F(SearchFilterStore, RoundTripsByteForByteAndGoesWhenEmpty) {
  SearchFilter filter;
  filter.SetCharacters(std::wstring(64, L'\u20AC'));
  filter.SetRangeBit(57);
  filter.padding = 0xBEEF;  // whatever the padding holds goes along
  ASSERT_TRUE(filter.Store());
  DWORD type = 0;
  const std::string stored = StoredBytes(&type);
  EXPECT_EQ(type, static_cast<DWORD>(REG_BINARY));
  ASSERT_EQ(stored.size(), 168u);
  EXPECT_EQ(std::memcmp(stored.data(), &filter, 168), 0);
  EXPECT_EQ(SearchFilter::Load(), filter);

  SearchFilter empty;
  empty.glyphMode = 0;
  ASSERT_TRUE(empty.Store());
  EXPECT_TRUE(StoredBytes().empty()) << "a filter without content is not kept";
  EXPECT_TRUE(empty.Store()) << "deleting what is not there is no failure";
  EXPECT_EQ(SearchFilter::Load(), SearchFilter{});
}

TEST_F(SearchFilterStore, DamagedValuesReadAsWhatTheyHold) {
  // A shorter value replaces only its own leading bytes.
  const uint8_t shortValue[6] = {0, 1, 0, 0, 0x10, 0};
  StoreRaw(REG_BINARY, shortValue, sizeof shortValue);
  SearchFilter expected;
  expected.glyphMode = 0;
  expected.symbolMode = 1;
  expected.rangeMask[0] = 0x10;
  EXPECT_EQ(SearchFilter::Load(), expected);
  // The type is not looked at; a longer value gives its first 168 bytes.
  std::string longer(400, '\0');
  longer[20] = 'Q';
  StoreRaw(REG_SZ, longer.data(), static_cast<DWORD>(longer.size()));
  EXPECT_EQ(SearchFilter::Load().Characters(), L"Q");
  // A value too large to be a filter leaves the defaults.
  std::string huge(200000, 'x');
  StoreRaw(REG_BINARY, huge.data(), static_cast<DWORD>(huge.size()));
  EXPECT_EQ(SearchFilter::Load(), SearchFilter{});
}

}  // namespace
