// Texts of dates and byte counts as the property pages and the font sheet show them, in the
// user's locale. Any thread; strings from the resource library.
#pragma once

#include <windows.h>
#include <cstdint>
#include <string>

// The long date, " - ", and the time of `time`, in the user's default locale.
std::wstring FormatDateTime(const SYSTEMTIME& time);

// "1.50 KB (1,536 bytes)": the size in kilobytes up to 1 MB and in megabytes above, with two
// truncated decimals, then the exact count grouped by threes; separators of the user's locale.
std::wstring FormatByteSize(uint32_t bytes);
// The same with the given decimal and thousands separators.
std::wstring FormatByteSize(uint32_t bytes, wchar_t decimalSeparator, wchar_t thousandsSeparator);
