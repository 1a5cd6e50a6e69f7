#include "viewing/COrvPropPageVendor.h"

#include <shlwapi.h>

#include "common/ResString.h"
#include "common/StringHelpers.h"
#include "viewing/PropertyPageHelpers.h"

namespace {
constexpr DWORD kProfileValueMax = 260;
constexpr wchar_t kVendorListName[] = L"VendorList.ini";
}  // namespace

std::wstring COrvPropPageVendor::VendorListPath() {
  wchar_t path[MAX_PATH] = {};
  const DWORD n = ::GetModuleFileNameW(nullptr, path, MAX_PATH);
  if (n == 0 || n >= MAX_PATH) return {};
  ::PathRemoveFileSpecW(path);
  if (!::PathAppendW(path, kVendorListName)) return {};
  return path;
}

std::wstring COrvPropPageVendor::VendorName(const std::wstring& vendorId, const std::wstring& listFile) {
  std::wstring id = vendorId;
  TrimWhiteSpace(id);
  if (id.empty()) return LoadResString(IDS_PROP_UNKNOWN);
  wchar_t value[kProfileValueMax + 1] = {};
  if (!listFile.empty())
    ::GetPrivateProfileStringW(L"Vendors", id.c_str(), L"", value, kProfileValueMax, listFile.c_str());
  if (!value[0]) return L"[ " + id + L" ]";
  return value;
}

void COrvPropPageVendor::OnInitDialog() {
  SetControlText(m_hWnd, IDC_PROP_VENDOR_NAME,
                 manufacturer.empty() ? VendorName(vendorId, VendorListPath()) : manufacturer);
  SetControlText(m_hWnd, IDC_PROP_DESIGNER, designer);
  link_.Attach(GetDlgItem(IDC_PROP_VENDOR_URL), vendorUrl);
  SetControlText(m_hWnd, IDC_PROP_COPYRIGHT, copyright);
  SetControlText(m_hWnd, IDC_PROP_TRADEMARK, trademark);
}
