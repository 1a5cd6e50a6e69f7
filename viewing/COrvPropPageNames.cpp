#include "viewing/COrvPropPageNames.h"

#include "viewing/PropertyPageHelpers.h"

void COrvPropPageNames::OnInitDialog() {
  SetControlText(m_hWnd, IDC_PROP_FULL_NAME, fullName);
  SetControlText(m_hWnd, IDC_PROP_FAMILY, family);
  SetControlText(m_hWnd, IDC_PROP_SUBFAMILY, subfamily);
  SetControlText(m_hWnd, IDC_PROP_UNIQUE_ID, uniqueId);
  SetControlText(m_hWnd, IDC_PROP_POSTSCRIPT_NAME, postScriptName);
}
