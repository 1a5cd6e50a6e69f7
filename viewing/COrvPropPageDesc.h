// The Description page of the TrueType/OpenType property sheet (template 1025): description,
// licence text and a link to the licence's address.
#pragma once

#include <string>

#include "common/CHyperLink.h"
#include "common/ResourceIdsProperties.h"
#include "viewing/CFontPropertyPage.h"

class COrvPropPageDesc : public CFontPropertyPage<COrvPropPageDesc> {
public:
  enum { IDD = IDD_PROP_DESCRIPTION };

  void OnInitDialog();

  std::wstring description;  // name ID 10
  std::wstring license;      // 13
  std::wstring licenseUrl;   // 14

private:
  CHyperLink link_;
};
