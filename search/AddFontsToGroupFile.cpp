#include "search/AddFontsToGroupFile.h"

#include <algorithm>

#include "common/StringHelpers.h"
#include "groups/FontGroup.h"
#include "lists/FontItemList.h"

namespace {
SelectedGroupFileSource g_selectedGroupFile = nullptr;
}  // namespace

void SetSelectedGroupFileSource(SelectedGroupFileSource source) { g_selectedGroupFile = source; }

std::wstring SelectedGroupFile() { return g_selectedGroupFile ? g_selectedGroupFile() : std::wstring(); }

bool AddFontsToGroupFile(const FontItemList& fonts, const std::wstring& groupFile) {
  if (groupFile.empty()) return false;
  FontGroup group;
  // Only a group that is there: a missing file would come back as a group without name or parent.
  if (!group.Load(groupFile)) return false;
  for (const FontItemListEntry& entry : fonts.Entries()) {
    if (!entry.marked) continue;
    FontItem record = entry.record;
    (void)EnsureFontItemLoaded(fonts, record);
    const std::wstring path = record.GetFilePaths();
    const std::wstring& name = record.displayName;
    const bool held = std::any_of(group.Fonts.begin(), group.Fonts.end(), [&](const FontGroupEntry& font) {
      return EqualsNoCase(font.Path, path) && EqualsNoCase(font.Name, name);
    });
    if (!held) group.AddFont(name, path);
  }
  return group.Save();
}
