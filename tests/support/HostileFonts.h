// The valid fonts the hostile-input tests damage: a variable font, a plain sfnt with DSIG and
// a GSUB 'vert' feature, and a collection of both kinds. The variable font and the collection
// are made from fixture fonts of the source tree: when one is missing, the calling test fails
// saying so and gets the sources it can have.
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
