// Variable fonts: one record per named instance of the 'fvar' table, named from the instance's
// subfamily name or, when the STAT design axes differ from the fvar axes, from STAT axis values.
#include "fonts/FontFileReader.h"

#include "common/StringHelpers.h"

#include <algorithm>

using namespace font_flags;

namespace {

constexpr uint32_t kFvarHeaderSize = 16;
constexpr uint32_t kFvarAxisRecordSize = 20;
constexpr uint32_t kStatHeaderSize = 18;
constexpr uint32_t kStatDesignAxisMinSize = 8;
constexpr uint32_t kStatAxisValueSize = 12;
constexpr uint16_t kAxisHidden = 0x0001;
constexpr uint16_t kAxisValueElidable = 0x0002;
constexpr uint16_t kNoNameId = 0xFFFF;

}  // namespace

void FontFileReader::FreeVariationState() {
  designAxes.clear();
  axisValues.clear();
  rangeMinValues.clear();
  rangeMaxValues.clear();
  fvarAxes.clear();
  walkingInstances_ = false;
}

bool FontFileReader::ReadVariationAxes() {
  // What each instance starts from: the font's own names, as the read of the file left them.
  fontNames_ = names;
  fontPostScriptName_ = postScriptName;
  instanceCount = instanceNumber = instanceSize = axisCount = 0;
  instanceOffset = 0;
  fsSelection = 0;
  if (!OpenSfnt(0)) return false;
  if (!SeekToTable("fvar")) {
    MarkUnreadable();
    return false;
  }
  const uint64_t fvarStart = tableOffset_;
  const ByteReader fvar = ReadTable("fvar");
  uint16_t axesArrayOffset = 0, axes = 0, axisSize = 0, instances = 0, size = 0;
  if (!fvar.U16(4, axesArrayOffset) || !fvar.U16(8, axes) || !fvar.U16(10, axisSize) || !fvar.U16(12, instances) ||
      !fvar.U16(14, size))
    return false;
  // Records smaller than their fixed fields would make every later read land in the wrong place.
  if (axisSize < kFvarAxisRecordSize || size < 4 + 4u * axes) return false;
  instanceSize = size;
  instanceCount = instances;
  axisCount = axes;
  instanceNumber = 1;
  fvarAxes.assign(axisCount, {});
  for (uint32_t i = 0; i < axisCount; ++i) {
    const uint64_t at = uint64_t{axesArrayOffset} + uint64_t{i} * axisSize;
    FvarAxis& axis = fvarAxes[i];
    if (!fvar.Bytes(at, axis.axisTag, 4) || !fvar.U32(at + 4, axis.minValue) || !fvar.U32(at + 8, axis.defaultValue) ||
        !fvar.U32(at + 12, axis.maxValue) || !fvar.U16(at + 16, axis.flags) || !fvar.U16(at + 18, axis.axisNameID))
      return false;
  }
  // The instance records follow the axis records, wherever the header puts those.
  const uint64_t firstInstance = fvarStart + axesArrayOffset + uint64_t{axisCount} * axisSize;
  if (firstInstance > 0xFFFFFFFFu) return false;
  instanceOffset = static_cast<uint32_t>(firstInstance);
  return ReadStatTable();
}

bool FontFileReader::ReadStatTable() {
  const ByteReader stat = ReadTable("STAT");
  if (!stat.Has(0, kStatHeaderSize) || !stat.U16(0, statMajorVersion) || !stat.U16(2, statMinorVersion) ||
      !stat.U16(4, designAxisSize) || !stat.U16(6, designAxisCount) || !stat.U32(8, designAxesOffset) ||
      !stat.U16(12, axisValueCount) || !stat.U32(14, offsetToAxisValueOffsets))
    return false;
  statAxesMatchFvar = true;
  if (designAxisCount == 0 || axisValueCount == 0) return true;
  if (designAxisSize < kStatDesignAxisMinSize) return false;
  designAxes.assign(designAxisCount, {});
  for (uint32_t i = 0; i < designAxisCount; ++i) {
    const uint64_t at = uint64_t{designAxesOffset} + uint64_t{i} * designAxisSize;
    StatDesignAxis& axis = designAxes[i];
    if (!stat.Bytes(at, axis.axisTag, 4) || !stat.U16(at + 4, axis.axisNameID) || !stat.U16(at + 6, axis.axisOrdering))
      return false;
    if (i < axisCount && fvarAxes[i].axisNameID != axis.axisNameID) statAxesMatchFvar = false;
  }
  if (statAxesMatchFvar) return true;
  axisValues.assign(axisValueCount, {});
  rangeMinValues.clear();
  rangeMaxValues.clear();
  for (uint32_t j = 0; j < axisValueCount; ++j) {
    uint16_t offset = 0;
    if (!stat.U16(uint64_t{offsetToAxisValueOffsets} + 2 * j, offset)) return false;
    const uint64_t at = uint64_t{offsetToAxisValueOffsets} + offset;
    StatAxisValue& value = axisValues[j];
    if (!stat.Has(at, kStatAxisValueSize) || !stat.U16(at, value.format) || !stat.U16(at + 2, value.axisIndex) ||
        !stat.U16(at + 4, value.flags) || !stat.U16(at + 6, value.valueNameID) || !stat.U32(at + 8, value.value))
      return false;
    if (value.format == 2) {
      if (rangeMinValues.empty()) {
        rangeMinValues.assign(axisValueCount, 0);
        rangeMaxValues.assign(axisValueCount, 0);
      }
      if (!stat.U32(at + 12, rangeMinValues[j]) || !stat.U32(at + 16, rangeMaxValues[j])) return false;
    }
  }
  return true;
}

bool FontFileReader::ReadNextNamedInstance() {
  if (instanceNumber == 0) {
    FontItem whole;
    whole.CopyFrom(*this);
    walkingInstances_ = true;
    if (ReadVariationAxes() && instanceNumber <= instanceCount && ReadNamedInstanceNames()) {
      instanceOffset += instanceSize;
      ++instanceNumber;
      flags |= kRead;
      return true;
    }
    // No named instance can be read (no STAT, a damaged fvar, no instances): the font still
    // gives one record, the font as a whole, so that it does not vanish from the lists.
    const bool unreadable = IsUnreadable();
    CloseFile();
    FreeVariationState();
    if (!unreadable) CopyFrom(whole);
    instanceNumber = 1;
    instanceCount = 0;
    flags |= kRead;
    return true;
  }
  if (instanceNumber <= instanceCount && ReadNamedInstanceNames()) {
    instanceOffset += instanceSize;
    ++instanceNumber;
    flags |= kRead;
    return true;
  }
  CloseFile();
  FreeVariationState();
  return false;
}

bool FontFileReader::ReadNamedInstanceByName() {
  const std::wstring target = FullName();
  const FontNames kept = names;
  instanceCount = instanceNumber = instanceSize = axisCount = 0;
  instanceOffset = 0;
  fsSelection = 0;
  while (ReadNextNamedInstance()) {
    if (target.empty() || target == FullName()) {
      CloseFile();
      FreeVariationState();
      return true;
    }
  }
  CloseFile();
  FreeVariationState();
  names = kept;
  return false;
}

bool FontFileReader::ReadNamedInstanceNames() {
  if (!file_.IsOpen()) return false;
  const ByteReader record = file_.Read(instanceOffset, instanceSize);
  uint16_t subfamilyNameId = 0;
  if (!record.Has(0, instanceSize) || !record.U16(0, subfamilyNameId)) return false;
  // Nothing of the instance before carries over: an instance without a subfamily of its own
  // or without a PostScript name has the font's.
  for (NameSlot slot : {NameSlot::TypoSubfamily, NameSlot::WwsSubfamily}) {
    names.English(slot) = fontNames_.English(slot);
    names.System(slot) = fontNames_.System(slot);
  }
  postScriptName = fontPostScriptName_;
  std::wstring& enSub = names.English(NameSlot::Subfamily);
  std::wstring& sysSub = names.System(NameSlot::Subfamily);
  if (statAxesMatchFvar) {
    ReadNameById(subfamilyNameId, &enSub, &sysSub);
  } else {
    if (!BuildStatStyleName()) return false;
    if (enSub.empty() && sysSub.empty()) ReadNameById(subfamilyNameId, &enSub, &sysSub);
  }
  auto compose = [&](std::wstring& full, const std::wstring& typoFamily, const std::wstring& family,
                     const std::wstring& sub, std::wstring& typoSub, std::wstring& wwsSub) {
    full = !typoFamily.empty() ? typoFamily : family;
    if (!sub.empty()) {
      typoSub = sub;
      wwsSub = sub;
      full += L" " + sub;
    }
    TrimWhiteSpace(full);
  };
  compose(names.English(NameSlot::FullName), names.English(NameSlot::TypoFamily), names.English(NameSlot::Family),
          enSub, names.English(NameSlot::TypoSubfamily), names.English(NameSlot::WwsSubfamily));
  compose(names.System(NameSlot::FullName), names.System(NameSlot::TypoFamily), names.System(NameSlot::Family),
          sysSub, names.System(NameSlot::TypoSubfamily), names.System(NameSlot::WwsSubfamily));
  uniqueId = names.English(NameSlot::FullName);
  displayName = BuildStyleName();
  if (instanceSize == axisCount * 4u + 6) {
    uint16_t postScriptNameId = 0;
    std::wstring instanceName;
    // 0xFFFF says the instance has no PostScript name of its own: the font's stays.
    if (record.U16(4 + 4u * axisCount, postScriptNameId) && postScriptNameId != kNoNameId &&
        ReadNameById(postScriptNameId, &instanceName, nullptr))
      postScriptName = instanceName;
  }
  fsSelection = 0;
  return true;
}

bool FontFileReader::ReadNameById(uint16_t id, std::wstring* englishOut, std::wstring* systemOut) {
  if (englishOut) englishOut->clear();
  if (systemOut) systemOut->clear();
  const uint32_t savedOffset = tableOffset_;
  const uint32_t savedLength = tableLength_;
  const bool taken = DecodeNameRecordById(id, englishOut, systemOut);
  tableOffset_ = savedOffset;
  tableLength_ = savedLength;
  return taken;
}

bool FontFileReader::DecodeNameRecordById(uint16_t id, std::wstring* englishOut, std::wstring* systemOut) {
  const ByteReader table = ReadTable("name");
  if (table.Size() == 0) return false;
  uint16_t recordCount = 0, stringOffset = 0;
  if (!table.U16(2, recordCount) || !table.U16(4, stringOffset)) return false;
  const uint16_t systemLanguage = SystemLanguage();
  bool taken = false;
  for (uint32_t r = 0; r < recordCount; ++r) {
    const uint64_t at = 6 + uint64_t{r} * 12;
    uint16_t platform = 0, language = 0, nameId = 0, length = 0, offset = 0;
    if (!table.U16(at, platform) || !table.U16(at + 4, language) || !table.U16(at + 6, nameId) ||
        !table.U16(at + 8, length) || !table.U16(at + 10, offset))
      break;
    if (nameId != id || length == 0) continue;
    std::wstring* out = nullptr;
    std::wstring* other = nullptr;
    if (language == 0x0409 && englishOut) {
      out = englishOut;
      other = systemOut;
    } else if (language == systemLanguage && systemOut) {
      out = systemOut;
      other = englishOut;
    } else {
      continue;
    }
    std::wstring text = DecodeNameString(table, uint64_t{stringOffset} + offset, length, platform);
    if (text.empty()) continue;
    *out = std::move(text);
    taken = true;
    if (other && !other->empty()) break;
  }
  return taken;
}

bool FontFileReader::BuildStatStyleName() {
  const ByteReader record = file_.Read(instanceOffset, instanceSize);
  std::vector<uint32_t> coordinates(axisCount);
  for (uint32_t k = 0; k < axisCount; ++k)
    if (!record.U32(4 + 4u * k, coordinates[k])) return false;
  for (NameSlot slot : {NameSlot::Subfamily, NameSlot::TypoSubfamily, NameSlot::WwsSubfamily}) {
    names.English(slot).clear();
    names.System(slot).clear();
  }
  std::wstring english, system;
  // Design axes in the order STAT gives them; orderings past the axis count are never used.
  std::vector<uint32_t> order;
  for (uint32_t d = 0; d < designAxes.size(); ++d)
    if (designAxes[d].axisOrdering < designAxisCount) order.push_back(d);
  std::stable_sort(order.begin(), order.end(),
                   [&](uint32_t a, uint32_t b) { return designAxes[a].axisOrdering < designAxes[b].axisOrdering; });
  for (uint32_t d : order) {
    const uint16_t ordering = designAxes[d].axisOrdering;
    bool found = false;
    for (uint32_t k = 0; k < axisCount && !found; ++k) {
      if (fvarAxes[k].flags & kAxisHidden) continue;
      if (ordering < axisCount && fvarAxes[k].axisNameID != designAxes[d].axisNameID) continue;
      for (const StatAxisValue& value : axisValues) {
        if (value.axisIndex != d || value.value != coordinates[k] || (value.flags & kAxisValueElidable)) continue;
        std::wstring en, sys;
        ReadNameById(value.valueNameID, &en, &sys);
        if (!en.empty()) english += en + L" ";
        if (!sys.empty()) system += sys + L" ";
        found = true;
        break;
      }
    }
  }
  TrimWhiteSpace(english);
  TrimWhiteSpace(system);
  names.English(NameSlot::Subfamily) = english;
  names.System(NameSlot::Subfamily) = system;
  return true;
}
