// The valid fonts the hostile-input tests damage: a variable font, a plain sfnt with DSIG and
// a GSUB 'vert' feature, and a collection of both kinds.
#pragma once

#include <string>
#include <vector>

#include "tests/support/SfntBuilder.h"

namespace sfnt_test {

struct HostileSource {
  const char* label;
  Bytes bytes;
  const wchar_t* fileName;  // the name the damaged file is written under
};

std::vector<HostileSource> HostileSources();

}  // namespace sfnt_test
