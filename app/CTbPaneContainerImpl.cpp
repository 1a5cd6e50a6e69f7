#include "app/CTbPaneContainerImpl.h"

orv::ScopedFont CreatePaneCaptionFont() {
  // The structure size without the padded-border field: what every Windows release accepts.
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = 504;
  static_assert(sizeof(NONCLIENTMETRICSW) >= 504);
  if (::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, metrics.cbSize, &metrics, 0))
    return orv::ScopedFont(::CreateFontIndirectW(&metrics.lfMessageFont));
  LOGFONTW fallback{};
  ::GetObjectW(::GetStockObject(DEFAULT_GUI_FONT), sizeof(fallback), &fallback);
  return orv::ScopedFont(::CreateFontIndirectW(&fallback));
}
