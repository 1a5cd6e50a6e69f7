// The fourteen name strings of a font record: seven in the system's default language, then the
// same seven in the other slot (US English, or a record of a non-Windows platform when the font
// has no US-English one). Within each group the order is name IDs 1, 2, 4, 16, 17, 21, 22.
#pragma once

#include <array>
#include <string>

enum class NameSlot : int {
  Family = 0,         // name ID 1
  Subfamily = 1,      // 2
  FullName = 2,       // 4
  TypoFamily = 3,     // 16
  TypoSubfamily = 4,  // 17
  WwsFamily = 5,      // 21
  WwsSubfamily = 6,   // 22
};

class FontNames {
public:
  static constexpr int kPerLanguage = 7;
  static constexpr int kCount = 2 * kPerLanguage;

  FontNames() = default;
  FontNames(const FontNames&) = default;
  FontNames& operator=(const FontNames&) = default;

  std::wstring& System(NameSlot slot) { return strings_[static_cast<int>(slot)]; }
  const std::wstring& System(NameSlot slot) const { return strings_[static_cast<int>(slot)]; }
  std::wstring& English(NameSlot slot) { return strings_[kPerLanguage + static_cast<int>(slot)]; }
  const std::wstring& English(NameSlot slot) const { return strings_[kPerLanguage + static_cast<int>(slot)]; }

  // The system-language string when it is not empty, else the English one.
  const std::wstring& SystemFirst(NameSlot slot) const {
    return System(slot).empty() ? English(slot) : System(slot);
  }

  std::wstring& operator[](int index) { return strings_[index]; }
  const std::wstring& operator[](int index) const { return strings_[index]; }

  void Clear() {
    for (auto& s : strings_) s.clear();
  }
  bool operator==(const FontNames&) const = default;

private:
  std::array<std::wstring, kCount> strings_;
};

// The name ID stored in each slot, by slot index 0..6.
constexpr unsigned short kNameSlotIds[FontNames::kPerLanguage] = {1, 2, 4, 16, 17, 21, 22};
