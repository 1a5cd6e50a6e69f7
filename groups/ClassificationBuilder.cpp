#include "groups/ClassificationBuilder.h"

#include <shlwapi.h>

#include <algorithm>
#include <cwctype>

#include "common/ResString.h"
#include "common/ResourceIds.h"
#include "common/StringHelpers.h"
#include "fonts/FontFileReader.h"
#include "groups/FontGroup.h"
#include "groups/GroupFileNotices.h"
#include "groups/GroupFileTree.h"
#include "groups/GroupNames.h"

namespace {

constexpr UINT kPanoseSubKindBase = IDS_PANOSE_SERIF_STYLE - 2;  // + kind 2..6
constexpr int kPanoseKindLimit = 7;       // kinds 0..6 are kept by the scan
constexpr int kPanoseSubKindLimit = 16;   // sub-kinds 0..15
constexpr uint8_t kType1Panose = 14;
constexpr uint16_t kType1FamilyClass = 0x7F7F;
constexpr int kLastFamilyClass = 14;
constexpr int kLastFamilySubclass = 15;
constexpr wchar_t kType1GroupName[] = L"Type1";

bool IsType1Panose(const FontItem& font) { return font.panose[0] == kType1Panose && font.panose[1] == kType1Panose; }
uint16_t FamilyClassOf(const FontItem& font) { return static_cast<uint16_t>(font.familyClass); }

const std::wstring& FamilyNameOf(const FontItem& font) { return font.names.SystemFirst(NameSlot::Family); }
// The system-language full name goes with the system-language family name.
const std::wstring& FullNameOf(const FontItem& font) {
  return font.names.System(NameSlot::Family).empty() ? font.names.English(NameSlot::FullName)
                                                     : font.names.System(NameSlot::FullName);
}
std::wstring InitialOf(const FontItem& font) {
  const std::wstring& family = FamilyNameOf(font);
  if (family.empty()) return {};
  return std::wstring(1, static_cast<wchar_t>(std::towupper(family[0])));
}

bool LessNoCase(const std::wstring& a, const std::wstring& b) {
  return ::CompareStringOrdinal(a.c_str(), static_cast<int>(a.size()), b.c_str(), static_cast<int>(b.size()), TRUE) ==
         CSTR_LESS_THAN;
}

std::wstring EntryName(const FontItem& font) {
  if (!font.displayName.empty()) return font.displayName;
  if (!font.FullName().empty()) return font.FullName();
  return ::PathFindFileNameW(font.fullPath.c_str());
}

// Adds a font unless the group holds one of the same path and name, ignoring case.
void AddFontOnce(FontGroup& group, const std::wstring& name, const std::wstring& path) {
  for (const FontGroupEntry& font : group.Fonts)
    if (EqualsNoCase(font.Path, path) && EqualsNoCase(font.Name, name)) return;
  group.AddFont(name, path);
}
void AddFontOnce(FontGroup& group, const FontItem& font) { AddFontOnce(group, EntryName(font), font.GetFilePaths()); }

// Adds a child entry unless one of the parent's nodes has the same file, ignoring case.
void AddNodeOnce(FontGroup& parent, const std::wstring& name, const std::wstring& file) {
  for (const FontGroupEntry& node : parent.Nodes)
    if (EqualsNoCase(node.Path, file)) return;
  parent.AddNode(name, file, false, false);
}

// The next free group file other than `excluded` (and other than every existing file).
std::wstring NextGroupFile(const std::wstring& excluded) {
  FontGroup probe;
  probe.Parent = excluded;
  return probe.NewFileName();
}

}  // namespace

struct ClassificationBuilder::Levels {
  bool (*sameFirst)(const FontItem&, const FontItem&);
  std::wstring (*firstName)(const FontItem&, bool firstGroup);
  bool (*sameSecond)(const FontItem&, const FontItem&);
  bool (*direct)(const FontItem&);
  // The run of second-level fonts that ends: true when it gets a group of its own.
  bool (*ownGroup)(const std::vector<const FontItem*>& run);
  std::wstring (*secondName)(const FontItem&);
  std::wstring (*statusText)(const FontItem&);
  bool (*less)(const FontItem*, const FontItem*);
};

std::wstring ClassificationBuilder::PanoseKindName(int kind) {
  if (kind < 0) return {};
  return ResourceStringField(IDS_PANOSE_FAMILY_KINDS, static_cast<size_t>(kind));
}

std::wstring ClassificationBuilder::PanoseSubKindName(int kind, int subKind) {
  if (subKind < 0) return {};
  const UINT id = kind < 2 ? IDS_PANOSE_SERIF_STYLE : kPanoseSubKindBase + static_cast<UINT>(kind);
  return ResourceStringField(id, static_cast<size_t>(subKind));
}

std::wstring ClassificationBuilder::FamilyClassName(uint16_t familyClass) {
  const int c = familyClass < 0x0E00 ? familyClass >> 8 : kLastFamilyClass;
  return ResourceStringField(IDS_FAMILY_CLASSES, static_cast<size_t>(c));
}

std::wstring ClassificationBuilder::FamilySubclassName(uint16_t familyClass) {
  const int c = familyClass < 0x0E00 ? familyClass >> 8 : kLastFamilyClass;
  const int s = std::min<int>(familyClass & 0xFF, kLastFamilySubclass);
  return ResourceStringField(IDS_FAMILY_CLASSES + static_cast<UINT>(c), static_cast<size_t>(s));
}

void ClassificationBuilder::NormaliseClassKeys(FontItem& font) {
  if (font.panose[0] >= kPanoseKindLimit) font.panose[0] = 0;
  if (font.panose[1] >= kPanoseSubKindLimit) font.panose[1] = 0;
  if (font.IsType1()) {
    font.panose[0] = kType1Panose;
    font.panose[1] = kType1Panose;
    font.familyClass = static_cast<int16_t>(kType1FamilyClass);
  }
}

std::wstring ClassificationBuilder::StartKindGroup(UINT baseStringId, std::wstring& kindName) {
  FontGroup root;
  kindName = root.MakeUniqueName(baseStringId, kRootGroupFile);
  const GroupLoadState state = root.LoadState();
  if (state == GroupLoadState::kUnreadable || state == GroupLoadState::kDamaged || state == GroupLoadState::kRefused) {
    if (state != GroupLoadState::kRefused) ReportRefusedGroupChange(kRootGroupFile);
    return {};
  }
  root.FileName = kRootGroupFile;
  const std::wstring file = NextGroupFile(kRootGroupFile);
  if (file.empty()) return {};
  AddNodeOnce(root, kindName, file);
  if (!root.Save()) return {};
  FontGroup kind;
  kind.Clear();
  kind.Parent = kRootGroupFile;
  kind.Name = kindName;
  kind.FileName = file;
  if (!kind.Save()) return {};
  return file;
}

std::wstring ClassificationBuilder::BuildTwoLevels(const std::vector<FontItem>& fonts, UINT kindStringId,
                                                   const Levels& levels) {
  std::wstring kindName;
  const std::wstring kindFile = StartKindGroup(kindStringId, kindName);
  if (kindFile.empty()) return {};
  FontGroup kind;
  kind.Parent = kRootGroupFile;
  kind.Name = kindName;
  kind.FileName = kindFile;

  std::vector<const FontItem*> rows;
  rows.reserve(fonts.size());
  for (const FontItem& font : fonts) rows.push_back(&font);
  std::stable_sort(rows.begin(), rows.end(), levels.less);

  FontGroup first;
  bool firstStarted = false;
  bool firstOfBuilder = true;
  std::wstring firstFile = NextGroupFile(kindFile);
  std::vector<const FontItem*> run;

  const auto flushRun = [&] {
    if (run.empty()) return;
    if (levels.ownGroup(run)) {
      FontGroup second;
      second.Name = levels.secondName(*run.back());
      second.Parent = first.FileName;
      for (const FontItem* font : run) AddFontOnce(second, *font);
      if (second.Save(true)) AddNodeOnce(first, second.Name, second.FileName);
    } else {
      for (const FontItem* font : run) AddFontOnce(first, *font);
    }
    Status(levels.statusText(*run.back()));
    run.clear();
  };
  const auto flushFirst = [&] {
    if (!firstStarted) return;
    if (first.Save()) AddNodeOnce(kind, first.Name, first.FileName);
    firstStarted = false;
    firstFile = NextGroupFile(kindFile);
  };

  for (size_t i = 0; i < rows.size(); ++i) {
    if (Stopped()) break;
    const FontItem& font = *rows[i];
    if (!firstStarted) {
      if (firstFile.empty()) break;  // every group number is taken
      first.Clear();
      first.Name = levels.firstName(font, firstOfBuilder);
      first.Parent = kindFile;
      first.FileName = firstFile;
      firstStarted = true;
      firstOfBuilder = false;
    }
    if (levels.direct(font)) AddFontOnce(first, font);
    else run.push_back(&font);
    const FontItem* next = i + 1 < rows.size() ? rows[i + 1] : nullptr;
    const bool firstEnds = !next || !levels.sameFirst(font, *next);
    if (firstEnds || !levels.sameSecond(font, *next)) flushRun();
    if (firstEnds) flushFirst();
  }
  flushRun();
  flushFirst();
  (void)kind.Save();
  return kindFile;
}

std::wstring ClassificationBuilder::BuildByInitial(const std::vector<FontItem>& fonts) {
  static const Levels levels{
      [](const FontItem& a, const FontItem& b) { return EqualsNoCase(InitialOf(a), InitialOf(b)); },
      [](const FontItem& font, bool) { return InitialOf(font); },
      [](const FontItem& a, const FontItem& b) { return EqualsNoCase(FamilyNameOf(a), FamilyNameOf(b)); },
      [](const FontItem&) { return false; },
      [](const std::vector<const FontItem*>& run) { return run.size() > 1 || run.back()->IsVariable(); },
      [](const FontItem& font) { return FamilyNameOf(font); },
      [](const FontItem& font) { return L"> " + FamilyNameOf(font); },
      [](const FontItem* a, const FontItem* b) { return LessNoCase(FullNameOf(*a), FullNameOf(*b)); },
  };
  return BuildTwoLevels(fonts, IDS_CLASSIFY_BY_INITIAL, levels);
}

std::wstring ClassificationBuilder::BuildByPanose(const std::vector<FontItem>& fonts) {
  static const Levels levels{
      [](const FontItem& a, const FontItem& b) { return a.panose[0] == b.panose[0]; },
      [](const FontItem& font, bool firstGroup) {
        return !firstGroup && IsType1Panose(font) ? std::wstring(kType1GroupName) : PanoseKindName(font.panose[0]);
      },
      [](const FontItem& a, const FontItem& b) { return a.panose[1] == b.panose[1]; },
      [](const FontItem& font) { return font.panose[0] < 2 || IsType1Panose(font); },
      [](const std::vector<const FontItem*>&) { return true; },
      [](const FontItem& font) { return PanoseSubKindName(font.panose[0], font.panose[1]); },
      [](const FontItem& font) { return PanoseSubKindName(font.panose[0], font.panose[1]); },
      [](const FontItem* a, const FontItem* b) {
        return a->panose[0] * 256 + a->panose[1] < b->panose[0] * 256 + b->panose[1];
      },
  };
  return BuildTwoLevels(fonts, IDS_CLASSIFY_BY_PANOSE, levels);
}

std::wstring ClassificationBuilder::BuildByFamilyClass(const std::vector<FontItem>& fonts) {
  static const Levels levels{
      [](const FontItem& a, const FontItem& b) { return (FamilyClassOf(a) >> 8) == (FamilyClassOf(b) >> 8); },
      [](const FontItem& font, bool firstGroup) {
        return !firstGroup && FamilyClassOf(font) == kType1FamilyClass ? std::wstring(kType1GroupName)
                                                                        : FamilyClassName(FamilyClassOf(font));
      },
      [](const FontItem& a, const FontItem& b) { return FamilyClassOf(a) == FamilyClassOf(b); },
      [](const FontItem& font) { return FamilyClassOf(font) < 256 || FamilyClassOf(font) == kType1FamilyClass; },
      [](const std::vector<const FontItem*>&) { return true; },
      [](const FontItem& font) { return FamilySubclassName(FamilyClassOf(font)); },
      [](const FontItem& font) { return FamilySubclassName(FamilyClassOf(font)); },
      [](const FontItem* a, const FontItem* b) { return a->familyClass < b->familyClass; },
  };
  return BuildTwoLevels(fonts, IDS_CLASSIFY_BY_CLASS, levels);
}

std::wstring ClassificationBuilder::BuildSystemSets(const std::wstring& fontsFolder) {
  std::wstring kindName;
  const std::wstring kindFile = StartKindGroup(IDS_CLASSIFY_SYSTEM_SETS, kindName);
  if (kindFile.empty()) return {};
  for (size_t i = 0;; ++i) {
    const std::wstring name = ResourceStringField(IDS_CLASSIFY_SET_NAMES, i);
    if (name.empty()) break;
    BuildSystemSetGroup(name, kindFile, i, fontsFolder);
  }
  Status(LoadResString(IDS_OPERATION_FINISHED));
  return kindFile;
}

bool ClassificationBuilder::BuildSystemSetGroup(const std::wstring& name, const std::wstring& parentFile, size_t index,
                                                const std::wstring& fontsFolder) {
  Status(name);
  FontGroup group;
  group.Name = name;
  group.Parent = parentFile;
  const UINT filesId = IDS_CLASSIFY_SET_FILES + static_cast<UINT>(index);
  for (size_t f = 0;; ++f) {
    const std::wstring fileName = ResourceStringField(filesId, f);
    if (fileName.empty()) break;
    wchar_t path[MAX_PATH];
    if (fontsFolder.size() >= MAX_PATH || !::PathCombineW(path, fontsFolder.c_str(), fileName.c_str())) continue;
    if (!::PathFileExistsW(path)) continue;
    FontFileReader reader;
    reader.folder = fontsFolder;
    const bool isCollection = EqualsNoCase(::PathFindExtensionW(path), L".ttc");
    if (!reader.ReadFontFile(fileName)) continue;
    do {
      if (!reader.FullName().empty()) AddFontOnce(group, reader.FullName(), path);
    } while (isCollection && reader.ReadNextCollectionFace());
  }
  if (group.Fonts.empty() || !group.Save(true)) return false;
  FontGroup parent;
  if (!LoadGroupForChange(parent, parentFile)) return false;
  AddNodeOnce(parent, name, group.FileName);
  return parent.Save();
}
