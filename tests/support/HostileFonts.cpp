#include "tests/support/HostileFonts.h"

#include <gtest/gtest.h>

#include "tests/support/TestSupport.h"

namespace sfnt_test {

namespace {

// A fixture font of the source tree; a missing one fails the calling test, saying where it was
// looked for, and leaves the sources made of it out.
Bytes Fixture(const wchar_t* name) {
  const std::wstring path = testing_support::SourceDir() + L"\\tests\\fonts\\data\\" + name;
  Bytes bytes = ReadFile(path);
  if (bytes.empty())
    ADD_FAILURE() << "fixture font " << testing_support::Narrow(path)
                  << " not found: set ORVEL_SOURCE_DIR to the source tree";
  return bytes;
}

}  // namespace

std::vector<HostileSource> HostileSources() {
  std::vector<HostileSource> out;
  const Bytes varStat = Fixture(L"OrvelVarStat.ttf");
  const Bytes varPlain = Fixture(L"OrvelVarPlain.ttf");
  if (!varStat.empty()) out.push_back({"variable", varStat, L"h.ttf"});
  const Bytes plain = BuildSfnt({{"OS/2", BuildOs2(5, 6, 48)},
                                 {"head", BuildHead()},
                                 {"DSIG", Bytes(8, '\0')},
                                 {"GSUB", Bytes("\0\1\0\0\0\0\0\x0a\0\0\0\1vert\0\0", 16)},
                                 {"name", BuildNameTable({{1, 0, 0, 1, L"Mac"}, {3, 1, 0x409, 1, L"Foo"},
                                                          {3, 1, 0x409, 2, L"Bold"}, {3, 1, 0x409, 4, L"Foo Bold"},
                                                          {3, 1, 0x409, 6, L"Foo-Bold"}})}});
  out.push_back({"sfnt", plain, L"h.otf"});
  if (!varStat.empty() && !varPlain.empty())
    out.push_back({"collection", BuildCollection({varPlain, plain, varStat}), L"h.ttc"});
  return out;
}

}  // namespace sfnt_test
