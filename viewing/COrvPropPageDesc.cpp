#include "viewing/COrvPropPageDesc.h"

#include "viewing/PropertyPageHelpers.h"

void COrvPropPageDesc::OnInitDialog() {
  SetControlText(m_hWnd, IDC_PROP_DESCRIPTION, description);
  SetControlText(m_hWnd, IDC_PROP_LICENSE, license);
  link_.Attach(GetDlgItem(IDC_PROP_LICENSE_URL), licenseUrl);
}
