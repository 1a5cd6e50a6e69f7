// The PANOSE page of the TrueType/OpenType property sheet (template 1028): the family kind,
// the names and values of the nine PANOSE digits for that kind, and the OS/2 family class and
// subclass. Values from the sheet's loader.
#pragma once

#include <cstdint>
#include <string>

#include "common/ResourceIdsProperties.h"
#include "viewing/CFontPropertyPage.h"

class COrvPropPagePanose : public CFontPropertyPage<COrvPropPagePanose> {
public:
  enum { IDD = IDD_PROP_PANOSE };

  struct Texts {
    std::wstring kind;
    std::wstring titles[9];
    std::wstring values[9];
    std::wstring familyClass;
    std::wstring familySubclass;
  };
  // Everything the page shows, from the ten PANOSE bytes and sFamilyClass.
  static Texts Describe(const uint8_t (&panose)[10], int16_t familyClass);

  void OnInitDialog();

  uint8_t panose[10] = {};
  int16_t familyClass = 0;
};
