#include "viewing/CPropPageNameT1.h"

#include "common/ResString.h"
#include "fonts/FontFileReader.h"
#include "viewing/PropertyPageHelpers.h"

namespace {
constexpr size_t kLongValue = 260;
constexpr size_t kFontNameValue = 64;

std::wstring KeyValue(const std::wstring& header, const wchar_t* key, size_t maxLength) {
  std::wstring value;
  return FontFileReader::FindType1Key(header, key, value, maxLength) ? value : std::wstring();
}

// Sets the control only when the key is there.
void ShowKey(HWND page, int control, const std::wstring& header, const wchar_t* key, size_t maxLength) {
  std::wstring value;
  if (FontFileReader::FindType1Key(header, key, value, maxLength)) SetControlText(page, control, value);
}
}  // namespace

std::wstring CPropPageNameT1::WeightAndAngle(const std::wstring& header) {
  return KeyValue(header, L"/Weight ", kLongValue) + L" / angle: " + KeyValue(header, L"/ItalicAngle ", kLongValue) +
         L" \u00B0";
}

void CPropPageNameT1::OnInitDialog() {
  std::wstring header;
  if (reader_) (void)reader_->ReadType1Header(header);
  ShowKey(m_hWnd, IDC_PROP_FULL_NAME, header, L"/FullName ", kLongValue);
  ShowKey(m_hWnd, IDC_PROP_FAMILY, header, L"/FamilyName ", kLongValue);
  SetControlText(m_hWnd, IDC_PROP_SUBFAMILY, WeightAndAngle(header));
  std::wstring fixedPitch;
  const bool monospaced = FontFileReader::FindType1Key(header, L"/isFixedPitch ", fixedPitch, kLongValue) &&
                          !fixedPitch.empty() && fixedPitch[0] == L't';
  SetControlText(m_hWnd, IDC_PROP_MONOSPACED, monospaced ? LoadResString(IDS_PROP_MONOSPACED) : std::wstring());
  ShowKey(m_hWnd, IDC_PROP_UNIQUE_ID, header, L"/UniqueID ", kLongValue);
  ShowKey(m_hWnd, IDC_PROP_POSTSCRIPT_NAME, header, L"/FontName /", kFontNameValue);
}
