#include "viewing/CPropPageDescT1.h"

#include "fonts/FontFileReader.h"
#include "viewing/PropertyPageHelpers.h"

namespace {
constexpr size_t kVersionValue = 64;
constexpr size_t kUnlimited = 0;
}  // namespace

void CPropPageDescT1::OnInitDialog() {
  std::wstring header;
  if (reader_) (void)reader_->ReadType1Header(header);
  const struct {
    int control;
    const wchar_t* key;
    size_t maxLength;
  } keys[] = {{IDC_PROP_VERSION_STRING, L"/version ", kVersionValue},
              {IDC_PROP_COPYRIGHT, L"/Copyright ", kUnlimited},
              {IDC_PROP_TRADEMARK, L"/Notice ", kUnlimited}};
  for (const auto& k : keys) {
    std::wstring value;
    if (FontFileReader::FindType1Key(header, k.key, value, k.maxLength)) SetControlText(m_hWnd, k.control, value);
  }
}
