#include "printing/PrintFilter.h"

#include <algorithm>

namespace {
// A name in the message is cut after this many characters: a name too long for a printer is
// as a rule too long for a message box as well.
constexpr size_t kShownNameLength = 60;
// The message names this many fonts and then says that there are more.
constexpr size_t kShownFonts = 10;
constexpr wchar_t kEllipsis[] = L"\u2026";

std::wstring CutShort(const std::wstring& text) {
  return text.size() <= kShownNameLength ? text : text.substr(0, kShownNameLength) + kEllipsis;
}
}  // namespace

std::wstring PrinterFontName(const FontItem& font) {
  if (!font.postScriptName.empty()) return font.postScriptName;
  std::wstring name = font.FullName();
  name.erase(std::remove(name.begin(), name.end(), L' '), name.end());
  return name;
}

bool HasPrintableName(const FontItem& font) { return PrinterFontName(font).size() <= kMaxPostScriptName; }

std::vector<std::wstring> LeaveOutUnprintableFonts(FontItemList& list) {
  std::vector<std::wstring> left;
  list.Entries().remove_if([&](FontItemListEntry& e) {
    FontItem& font = e.record;
    // The name the printer gets is the one in the file: a record not read yet is read first.
    if (!font.HasFlag(font_flags::kResolved)) EnsureFontItemLoaded(list, font);
    if (font.IsUnreadable() || font.IsEudc()) return true;
    if (HasPrintableName(font)) return false;
    left.push_back(CutShort(font.displayName) + L" (" + CutShort(font.fileRef) + L")");
    return true;
  });
  return left;
}

std::wstring LeftOutFontsText(const std::vector<std::wstring>& left) {
  std::wstring text;
  for (size_t i = 0; i < left.size() && i < kShownFonts; ++i) text += left[i] + L"\n";
  if (left.size() > kShownFonts) text += std::wstring(kEllipsis) + L"\n";
  return text;
}
