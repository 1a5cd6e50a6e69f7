// The Names page of the TrueType/OpenType property sheet (template 1023): full name, family,
// subfamily, unique identifier and PostScript name, as the sheet's loader found them (for a
// named instance of a variable font, the instance's names).
#pragma once

#include <string>

#include "common/ResourceIdsProperties.h"
#include "viewing/CFontPropertyPage.h"

class COrvPropPageNames : public CFontPropertyPage<COrvPropPageNames> {
public:
  enum { IDD = IDD_PROP_NAMES };

  void OnInitDialog();

  std::wstring fullName;        // name ID 4
  std::wstring family;          // 1
  std::wstring subfamily;       // 2
  std::wstring uniqueId;        // 3
  std::wstring postScriptName;  // 6
};
