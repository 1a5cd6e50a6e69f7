#include "viewing/ValueFormatters.h"

#include <cwchar>

#include "common/ResString.h"
#include "common/ResourceIdsViewing.h"

namespace {

constexpr uint32_t kMegabyteThreshold = 0x100000;  // up to here the size is given in kilobytes
constexpr wchar_t kDefaultDecimal = L'.';
constexpr wchar_t kDefaultThousands = L' ';

// A one-character separator of the user's locale, or `fallback` when it is missing or longer.
wchar_t LocaleSeparator(LCTYPE type, wchar_t fallback) {
  wchar_t buffer[2] = {};
  if (::GetLocaleInfoW(LOCALE_USER_DEFAULT, type, buffer, 2) == 0 || buffer[0] == L'\0') return fallback;
  return buffer[0];
}

std::wstring GroupDigits(uint32_t value, wchar_t separator) {
  const std::wstring digits = std::to_wstring(value);
  std::wstring out;
  for (size_t i = 0; i < digits.size(); ++i) {
    if (i > 0 && (digits.size() - i) % 3 == 0) out += separator;
    out += digits[i];
  }
  return out;
}

}  // namespace

std::wstring FormatDateTime(const SYSTEMTIME& time) {
  wchar_t date[128] = {};
  wchar_t clock[64] = {};
  ::GetDateFormatW(LOCALE_USER_DEFAULT, DATE_LONGDATE | LOCALE_NOUSEROVERRIDE, &time, nullptr, date, 128);
  ::GetTimeFormatW(LOCALE_USER_DEFAULT, LOCALE_NOUSEROVERRIDE, &time, nullptr, clock, 64);
  return std::wstring(date) + L" - " + clock;
}

std::wstring FormatByteSize(uint32_t bytes) {
  return FormatByteSize(bytes, LocaleSeparator(LOCALE_SDECIMAL, kDefaultDecimal),
                        LocaleSeparator(LOCALE_SMONTHOUSANDSEP, kDefaultThousands));
}

std::wstring FormatByteSize(uint32_t bytes, wchar_t decimalSeparator, wchar_t thousandsSeparator) {
  uint32_t whole = 0, hundredths = 0;
  UINT unit = 0;
  if (bytes <= kMegabyteThreshold) {
    whole = bytes >> 10;
    hundredths = ((bytes & 0x3FF) * 100) >> 10;
    unit = IDS_SIZE_KILOBYTES;
  } else {
    whole = bytes >> 20;
    hundredths = ((bytes & 0xFFFFF) * 100) >> 20;
    unit = IDS_SIZE_MEGABYTES;
  }
  wchar_t approximate[32] = {};
  std::swprintf(approximate, 32, L"%u%lc%02u", whole, static_cast<wint_t>(decimalSeparator), hundredths);
  return approximate + LoadResString(unit) + L" (" + GroupDigits(bytes, thousandsSeparator) +
         LoadResString(IDS_SIZE_BYTES) + L")";
}
