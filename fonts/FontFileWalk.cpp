#include "fonts/FontFileWalk.h"

#include "fonts/FontFileReader.h"

size_t ForEachFontItem(const std::wstring& folder, const std::wstring& fileRef,
                       const std::function<void(const FontItem&)>& visit, VariableFontRecords variable) {
  FontFileReader reader;
  reader.folder = folder;
  reader.fileRef = fileRef;
  size_t count = 0;
  const bool read = reader.ReadFontFile();
  if (reader.IsCollectionFace()) {
    // The first face, or the one record marked unreadable when the collection failed.
    visit(reader);
    ++count;
    if (!read) return count;
    while (reader.ReadNextCollectionFace()) {
      visit(reader);
      ++count;
    }
    return count;
  }
  if (variable == VariableFontRecords::kEachInstance && read && reader.IsVariable() && !reader.IsUnreadable()) {
    while (reader.ReadNextNamedInstance()) {
      visit(reader);
      ++count;
    }
    return count;
  }
  visit(reader);
  return count + 1;
}
