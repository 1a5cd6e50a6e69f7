#include "fonts/InstalledFontRecords.h"

#include <utility>

namespace {

std::vector<const FontItem*>& Records() {
  static std::vector<const FontItem*> records;
  return records;
}

}  // namespace

const std::vector<const FontItem*>& InstalledFontRecords() { return Records(); }

void SetInstalledFontRecords(std::vector<const FontItem*> records) { Records() = std::move(records); }
