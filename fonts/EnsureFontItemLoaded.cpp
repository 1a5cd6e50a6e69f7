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

// A record known by a name and a file only, as a group stores its fonts (never read, no full
// name): the face or instance it stands for is found by that name.
bool IsListedByNameOnly(const FontItem& item) {
  return !item.HasFlag(kRead) && item.FullName().empty() && !item.displayName.empty();
}

// The name a group stored is the display name the lists showed; the full name is taken too.
bool HasListedName(const FontFileReader& reader, const std::wstring& name) {
  return reader.displayName == name || reader.FullName() == name;
}

// Reads the collection face or the variable font's named instance called `name`; a single font
// is what its file holds. False when the file holds no face or instance of that name.
bool ReadListedFace(FontFileReader& reader, const std::wstring& name) {
  bool found = false;
  if (reader.IsCollectionFile()) {
    bool read = reader.ReadFirstCollectionFace();
    while (read && !(found = HasListedName(reader, name))) read = reader.ReadNextCollectionFace();
  } else if (reader.ReadFontFile() && reader.IsVariable() && !reader.IsUnreadable()) {
    // Without named instances the walk gives the font as a whole once.
    while (!found && reader.ReadNextNamedInstance()) found = HasListedName(reader, name);
  } else {
    found = true;
  }
  reader.CloseFile();
  return found;
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
  if (IsListedByNameOnly(item)) {
    // A font that is gone keeps the name it was stored under, so that the user sees which.
    if (!ReadListedFace(reader, listedDisplayName) || reader.IsUnreadable()) notFound();
  } else if (reader.IsCollectionFile()) {
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
