#include "viewing/ValueFormatters.h"

#include <gtest/gtest.h>

#include "common/ResString.h"
#include "common/ResourceIdsViewing.h"
#include "tests/support/TestSupport.h"

namespace {

TEST(FormatByteSize, UnitsDecimalsAndGrouping) {
  const std::wstring kb = LoadResString(IDS_SIZE_KILOBYTES);
  const std::wstring mb = LoadResString(IDS_SIZE_MEGABYTES);
  const std::wstring bytes = LoadResString(IDS_SIZE_BYTES);
  ASSERT_FALSE(kb.empty());
  struct Case {
    uint32_t n;
    const wchar_t* approximate;
    const std::wstring* unit;
    const wchar_t* exact;
  } cases[] = {
      {0, L"0.00", &kb, L"0"},
      {999, L"0.97", &kb, L"999"},          // below 1000: no separator
      {1100, L"1.07", &kb, L"1,100"},       // hundredths truncated, two digits
      {1536, L"1.50", &kb, L"1,536"},
      {123456, L"120.56", &kb, L"123,456"}, // six digits: none in front
      {1048576, L"1024.00", &kb, L"1,048,576"},
      {1048577, L"1.00", &mb, L"1,048,577"},
      {0xFFFFFFFF, L"4095.99", &mb, L"4,294,967,295"},
  };
  for (const Case& c : cases) {
    const std::wstring expected = c.approximate + *c.unit + L" (" + c.exact + bytes + L")";
    EXPECT_EQ(FormatByteSize(c.n, L'.', L','), expected) << c.n;
  }
  EXPECT_EQ(FormatByteSize(2048, L',', L'\x00A0'), L"2,00" + kb + L" (2\x00A0" L"048" + bytes + L")");
}

TEST(FormatByteSize, UserLocaleSeparators) {
  // The test prefix runs in US English.
  if (::GetUserDefaultLCID() != MAKELCID(MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US), SORT_DEFAULT))
    GTEST_SKIP() << "not a US-English locale";
  EXPECT_EQ(FormatByteSize(1536), FormatByteSize(1536, L'.', L','));
}

TEST(FormatDateTime, LongDateDashTime) {
  SYSTEMTIME t{2020, 1, 4, 2, 15, 4, 5, 0};
  const std::wstring text = FormatDateTime(t);
  const size_t dash = text.find(L" - ");
  ASSERT_NE(dash, std::wstring::npos) << testing_support::Narrow(text);
  EXPECT_NE(text.substr(0, dash).find(L"2020"), std::wstring::npos);
  EXPECT_NE(text.substr(dash).find(L"04"), std::wstring::npos) << "minutes of the time part";
  if (::GetUserDefaultLCID() == MAKELCID(MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US), SORT_DEFAULT)) {
    EXPECT_EQ(text, L"Thursday, January 2, 2020 - 3:04:05 PM");
  }
}

}  // namespace
