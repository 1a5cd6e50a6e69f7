#include "fonts/EnsureFontItemLoaded.h"

#include "fonts/FontFileReader.h"

using namespace font_flags;

namespace {

// A record that stands for one named instance of a variable font: the reader numbers the
// instances from 1, so a record that came from the instance walk carries a number.
// (The record a variable font gives when none of its instances can be read has no count.)
bool IsInstanceRecord(const FontItem& item) {
  return item.IsVariable() && item.instanceNumber != 0 && item.instanceCount != 0;
}

}  // namespace

void ReadFontItemFromFile(const std::wstring& listFolder, FontItem& item) {
  const std::wstring fullName = item.FullName();
  const FontNames listedNames = item.names;
  const std::wstring listedDisplayName = item.displayName;
  FontFileReader reader;
  // The kind bits the list knows (EUDC, per user, collection face) go with the record into the
  // reader, which keeps what it needs of them.
  reader.flags = item.flags & ~(kRead | kResolved);
  reader.displayHeight = item.displayHeight;
  reader.folder = listFolder;
  reader.fileRef = item.fileRef;
  reader.names.English(NameSlot::FullName) = fullName;
  // A face or an instance that the file no longer holds under this name: the record keeps the
  // names it was listed under and is marked unreadable, so it is never drawn or installed as
  // some other face of the file.
  auto notFound = [&] {
    if (!reader.IsUnreadable()) reader.MarkUnreadable();
    reader.names = listedNames;
    if (!listedDisplayName.empty()) reader.displayName = listedDisplayName;
  };
  // What the file holds decides, not its name nor what the record was listed as.
  if (reader.IsCollectionFile()) {
    if (!reader.ReadCollectionFaceByName()) notFound();
  } else if (IsInstanceRecord(item)) {
    // The file's names describe the font as a whole; the instance is found again by its name.
    if (reader.ReadFontFile() && reader.IsVariable() && !reader.IsUnreadable()) {
      reader.names.System(NameSlot::FullName).clear();
      reader.names.English(NameSlot::FullName) = fullName;
      if (!reader.ReadNamedInstanceByName()) notFound();
    }
  } else {
    (void)reader.ReadFontFile();
  }
  reader.flags |= kRead;
  item.CopyFrom(reader);
}

bool EnsureFontItemLoaded(const std::wstring& listFolder, FontItem& item) {
  if (item.HasFlag(kResolved)) return true;
  if (!item.HasFlag(kRead)) ReadFontItemFromFile(listFolder, item);
  item.ResolveInstallStatus();
  const bool marked = item.ReadInstalledMarker();
  item.flags |= kResolved;
  return marked;
}
