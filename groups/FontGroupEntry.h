// One entry of a group: a child group (a node) or a font. A plain value owned by its FontGroup.
#pragma once

#include <string>

struct FontGroupEntry {
  bool Installed = false;   // nodes only: the child group is marked installed
  bool IsLink = false;      // nodes only: Path is a link target, not a child group file
  std::wstring Name;        // node: the child group's Name; font: its display name
  std::wstring Path;        // node: the child's group file; font: the full path ("a.pfm|a.pfb" for Type 1)
};
