// Writes to a registry key that the caller opened and owns: the value forms the font
// registration needs beyond the single-value helpers of RegistryValue.h. Every write goes
// through the registry seam (common/Seams.h), so that tests can make it fail.
#pragma once

#include <windows.h>
#include <string>

#include "common/RegistryValue.h"

class RegistryKey {
public:
  explicit RegistryKey(HKEY key) : key_(key) {}

  // Writes a "|"-separated text as REG_MULTI_SZ: each "|" becomes a NUL and two NULs end the
  // data ("T|a.pfm|a.pfb" holds the strings "T", "a.pfm" and "a.pfb").
  [[nodiscard]] LSTATUS SetMultiString(const wchar_t* name, const std::wstring& text) const;
  [[nodiscard]] LSTATUS SetString(const wchar_t* name, const std::wstring& text) const;

  // The values those two write.
  static RegValueState MultiStringState(const std::wstring& text);
  static RegValueState StringState(const std::wstring& text);

private:
  HKEY key_;
};
