#include "tests/support/HostileFonts.h"

#include "tests/support/TestSupport.h"

namespace sfnt_test {

namespace {
std::wstring Fixture(const wchar_t* name) { return testing_support::SourceDir() + L"\\tests\\fonts\\data\\" + name; }
}  // namespace

std::vector<HostileSource> HostileSources() {
  std::vector<HostileSource> out;
  const Bytes varStat = ReadFile(Fixture(L"OrvelVarStat.ttf"));
  const Bytes varPlain = ReadFile(Fixture(L"OrvelVarPlain.ttf"));
  out.push_back({"variable", varStat, L"h.ttf"});
  const Bytes plain = BuildSfnt({{"OS/2", BuildOs2(5, 6, 48)},
                                 {"head", BuildHead()},
                                 {"DSIG", Bytes(8, '\0')},
                                 {"GSUB", Bytes("\0\1\0\0\0\0\0\x0a\0\0\0\1vert\0\0", 16)},
                                 {"name", BuildNameTable({{1, 0, 0, 1, L"Mac"}, {3, 1, 0x409, 1, L"Foo"},
                                                          {3, 1, 0x409, 2, L"Bold"}, {3, 1, 0x409, 4, L"Foo Bold"},
                                                          {3, 1, 0x409, 6, L"Foo-Bold"}})}});
  out.push_back({"sfnt", plain, L"h.otf"});
  out.push_back({"collection", BuildCollection({varPlain, plain, varStat}), L"h.ttc"});
  return out;
}

}  // namespace sfnt_test
