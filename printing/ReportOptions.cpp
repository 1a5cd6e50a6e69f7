#include "printing/ReportOptions.h"

#include <algorithm>

#include "app/Preferences.h"
#include "common/RegistryValue.h"

namespace {
constexpr wchar_t kPrintFlags[] = L"PrintFlags";
constexpr DWORD kSetMode = 0x1;
constexpr DWORD kVersion = 0x2;
constexpr DWORD kFile = 0x4;
constexpr DWORD kSingleLine = 0x10;
constexpr DWORD kId = 0x40;
constexpr DWORD kScripts = 0x80;
constexpr int kColumnShift = 8;
constexpr DWORD kColumnMask = 0xFF;
}  // namespace

ReportOptions ReportOptions::FromFlags(DWORD flags) {
  ReportOptions o;
  o.setMode = flags & kSetMode;
  o.showVersion = flags & kVersion;
  o.showFile = flags & kFile;
  o.singleLineSample = flags & kSingleLine;
  o.showId = flags & kId;
  o.showScripts = flags & kScripts;
  o.columns = std::clamp(static_cast<int>((flags >> kColumnShift) & kColumnMask), kMinColumns, kMaxColumns);
  return o;
}

DWORD ReportOptions::ToFlags() const {
  DWORD flags = static_cast<DWORD>(std::clamp(columns, kMinColumns, kMaxColumns)) << kColumnShift;
  if (setMode) flags |= kSetMode;
  if (showVersion) flags |= kVersion;
  if (showFile) flags |= kFile;
  if (singleLineSample) flags |= kSingleLine;
  if (showId) flags |= kId;
  if (showScripts) flags |= kScripts;
  return flags;
}

ReportOptions ReadReportOptions() {
  DWORD flags = ReportOptions::kDefaultFlags;
  if (orv::ScopedKey key = OpenRegKey(HKEY_CURRENT_USER, kPrefsKeyPath, KEY_READ)) {
    if (!ReadRegDword(key.Get(), kPrintFlags, flags)) flags = ReportOptions::kDefaultFlags;
  }
  return ReportOptions::FromFlags(flags);
}

void WriteReportOptions(const ReportOptions& options) {
  if (orv::ScopedKey key = OpenRegKey(HKEY_CURRENT_USER, kPrefsKeyPath, KEY_WRITE))
    WriteRegDword(key.Get(), kPrintFlags, options.ToFlags());
}
