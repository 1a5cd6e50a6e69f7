#include "groups/CopyTargetNames.h"

#include "common/StringHelpers.h"

namespace {

struct PathParts {
  std::wstring folder;  // with its trailing backslash, or empty
  std::wstring stem;
  std::wstring extension;  // with its dot, or empty
};

PathParts Split(const std::wstring& path) {
  const size_t slash = path.find_last_of(L"\\/");
  PathParts parts;
  parts.folder = slash == std::wstring::npos ? std::wstring() : path.substr(0, slash + 1);
  const std::wstring name = slash == std::wstring::npos ? path : path.substr(slash + 1);
  const size_t dot = name.find_last_of(L'.');
  parts.stem = dot == std::wstring::npos || dot == 0 ? name : name.substr(0, dot);
  parts.extension = dot == std::wstring::npos || dot == 0 ? std::wstring() : name.substr(dot);
  return parts;
}

bool IsType1File(const std::wstring& extension) {
  return EqualsNoCase(extension, L".pfm") || EqualsNoCase(extension, L".pfb");
}

std::wstring NumberedStem(const std::wstring& stem, int number) {
  return number == 1 ? stem : stem + L" (" + std::to_wstring(number) + L")";
}

}  // namespace

std::wstring CopyTargetNames::Claim(const std::wstring& source, const std::wstring& target) {
  const PathParts to = Split(target);
  const bool type1 = IsType1File(to.extension);
  const std::wstring sourceFolder = FoldCase(Split(source).folder);
  // The partner of a Type 1 file already chose its name: the pair keeps one name.
  const std::wstring pairKey = sourceFolder + L'|' + FoldCase(to.folder + to.stem);
  if (type1) {
    if (const auto chosen = type1Stems_.find(pairKey); chosen != type1Stems_.end()) {
      const std::wstring path = to.folder + chosen->second + to.extension;
      if (taken_.insert(FoldCase(path)).second) {
        if (chosen->second != to.stem) renamed_.push_back({source, path});
        return path;
      }
    }
  }
  for (int number = 1;; ++number) {
    const std::wstring stem = NumberedStem(to.stem, number);
    const std::wstring path = to.folder + stem + to.extension;
    const std::wstring folded = FoldCase(path);
    if (taken_.count(folded)) continue;
    if (type1) {
      // A Type 1 name belongs to the folder whose pair took it first, for both of its files.
      const auto [owner, fresh] = stemOwners_.emplace(FoldCase(to.folder + stem), sourceFolder);
      if (!fresh && owner->second != sourceFolder) continue;
      type1Stems_[pairKey] = stem;
    }
    taken_.insert(folded);
    if (number > 1) renamed_.push_back({source, path});
    return path;
  }
}
