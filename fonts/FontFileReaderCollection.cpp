// Collections: one record per face of a "ttcf" file.
#include "fonts/FontFileReader.h"

#include "common/ResString.h"
#include "common/ResourceIdsFonts.h"

using namespace font_flags;

namespace {
constexpr uint32_t kCollectionHeaderSize = 12;
constexpr uint32_t kMaxCollectionFaces = 63;
}  // namespace

bool FontFileReader::ReadCollectionHeader() {
  if (!HasFlag(kCollectionFace)) flags = kCollectionFace | kSfnt;
  faceOffsets.clear();
  faceIndex = 0;
  if (fullPath.empty()) ResolveFullPath();
  if (!OpenFileBytes()) {
    CloseFile();
    faceNames.clear();
    collectionName.clear();
    instanceCount = instanceNumber = instanceSize = axisCount = 0;
    instanceOffset = 0;
    fsSelection = 0;
    flags |= kUnreadable;
    SetUnreadableName();
    return false;
  }
  const ByteReader header = file_.Read(0, kCollectionHeaderSize);
  uint32_t numFonts = 0;
  const bool accepted = header.Has(0, kCollectionHeaderSize) && header.TagIs(0, "ttcf") && header.U32(8, numFonts) &&
                        numFonts >= 1 && numFonts <= kMaxCollectionFaces;
  const ByteReader bytes = accepted ? file_.Read(0, kCollectionHeaderSize + uint64_t{numFonts} * 4) : ByteReader();
  if (!accepted || !bytes.Has(kCollectionHeaderSize, uint64_t{numFonts} * 4)) {
    CloseFile();
    return false;
  }
  std::vector<uint32_t> offsets(numFonts + 1, 0);
  for (uint32_t i = 0; i < numFonts; ++i) {
    if (!bytes.U32(kCollectionHeaderSize + 4 * i, offsets[i])) {
      CloseFile();
      return false;
    }
  }
  PrefetchFaceTables(offsets.data(), numFonts);
  faceNames.clear();
  for (uint32_t i = 0; offsets[i] != 0; ++i) {
    // A face that fails drops the offsets (MarkUnreadable); the header walk goes on regardless.
    faceOffsets = offsets;
    faceIndex = static_cast<int32_t>(i);
    flags |= kCollectionFace;
    if (ReadSfnt())
      faceNames.push_back({FullName(), BuildRegistryName(), names.English(NameSlot::FullName)});
  }
  faceOffsets = std::move(offsets);
  faceIndex = 0;
  if (!OpenFileBytes()) {
    faceOffsets.clear();
    return false;
  }
  if (faceNames.empty()) {
    // Not one face with a name: nothing that could be listed or registered under a name.
    faceOffsets.clear();
    CloseFile();
    return false;
  }
  collectionName = faceNames[0].fullName;
  for (size_t i = 1; i < faceNames.size(); ++i) collectionName += L" & " + faceNames[i].fullName;
  return true;
}

bool FontFileReader::ReadFirstCollectionFace() {
  const FontNames kept = names;
  faceIndex = 0;
  if (!ReadCollectionHeader() || !ReadSfnt()) {
    names = kept;
    flags |= kCollectionFace;
    MarkUnreadable();
    faceIndex = -1;
    return false;
  }
  return true;
}

bool FontFileReader::ReadNextCollectionFace() {
  if (faceOffsets.empty()) return ReadFirstCollectionFace();
  ++faceIndex;
  if (faceIndex < 0 || static_cast<size_t>(faceIndex) >= faceOffsets.size() || faceOffsets[faceIndex] == 0) {
    faceIndex = 0;
    CloseFile();
    return false;
  }
  const FontNames kept = names;
  if (!ReadSfnt()) {
    MarkUnreadable();
    names = kept;
    return false;
  }
  return true;
}

bool FontFileReader::ReadCollectionFaceByName() {
  const std::wstring target = FullName();
  const FontNames kept = names;
  for (;;) {
    const bool read = faceOffsets.empty() ? ReadFirstCollectionFace() : ReadNextCollectionFace();
    if (!read) {
      names = kept;
      CloseFile();
      return false;
    }
    if (target.empty() || target == FullName()) {
      CloseFile();
      return true;
    }
  }
}

std::wstring FontFileReader::BuildCollectionRegistryName() const {
  std::wstring out;
  for (size_t i = 0; i < faceNames.size(); ++i) {
    if (i) out += L" & ";
    out += faceNames[i].registryName;
  }
  return out;
}
