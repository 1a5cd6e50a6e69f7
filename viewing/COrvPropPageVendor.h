// The Vendor page of the TrueType/OpenType property sheet (template 1024): vendor (the
// manufacturer's name, else the OS/2 vendor identifier looked up in "VendorList.ini" beside
// the program), designer, a link to the vendor's address, copyright and trademark.
#pragma once

#include <string>

#include "common/CHyperLink.h"
#include "common/ResourceIdsProperties.h"
#include "viewing/CFontPropertyPage.h"

class COrvPropPageVendor : public CFontPropertyPage<COrvPropPageVendor> {
public:
  enum { IDD = IDD_PROP_VENDOR };

  // The vendor's name for an OS/2 identifier: the "Vendors" entry of the list file, "[ id ]"
  // when the file has none, the "unknown" text for an empty identifier.
  static std::wstring VendorName(const std::wstring& vendorId, const std::wstring& listFile);
  // "VendorList.ini" in the program's folder.
  static std::wstring VendorListPath();

  void OnInitDialog();

  std::wstring vendorId;      // OS/2 achVendID as text
  std::wstring manufacturer;  // name ID 8
  std::wstring designer;      // 9
  std::wstring vendorUrl;     // 11
  std::wstring copyright;     // 0
  std::wstring trademark;     // 7

private:
  CHyperLink link_;
};
