#include "tests/search/SearchTestFonts.h"

#include <windows.h>

#include "tests/support/TestSupport.h"

namespace search_test {

using namespace sfnt_test;

Bytes Format4(const std::u16string& characters) {
  // One segment per character, then the closing 0xFFFF segment.
  const uint16_t segments = static_cast<uint16_t>(characters.size() + 1);
  Bytes b;
  PutU16(b, 4);
  PutU16(b, static_cast<uint16_t>(16 + 8 * segments));
  PutU16(b, 0);
  PutU16(b, static_cast<uint16_t>(2 * segments));
  PutU16(b, 0);
  PutU16(b, 0);
  PutU16(b, 0);
  for (char16_t c : characters) PutU16(b, c);
  PutU16(b, 0xFFFF);
  PutU16(b, 0);
  for (char16_t c : characters) PutU16(b, c);
  PutU16(b, 0xFFFF);
  for (size_t i = 0; i < characters.size(); ++i) PutU16(b, static_cast<uint16_t>(i + 1 - characters[i]));
  PutU16(b, 1);
  for (uint16_t i = 0; i < segments; ++i) PutU16(b, 0);
  return b;
}

Bytes Format12(const std::vector<uint32_t>& groups) {
  Bytes b;
  PutU16(b, 12);
  PutU16(b, 0);
  PutU32(b, static_cast<uint32_t>(16 + 4 * groups.size()));
  PutU32(b, 0);
  PutU32(b, static_cast<uint32_t>(groups.size() / 3));
  for (uint32_t v : groups) PutU32(b, v);
  return b;
}

Bytes Cmap(const std::vector<std::pair<uint32_t, Bytes>>& subtables) {
  Bytes b;
  PutU16(b, 0);
  PutU16(b, static_cast<uint16_t>(subtables.size()));
  uint32_t offset = static_cast<uint32_t>(4 + 8 * subtables.size());
  Bytes data;
  for (const auto& [id, bytes] : subtables) {
    PutU16(b, static_cast<uint16_t>(id >> 16));
    PutU16(b, static_cast<uint16_t>(id & 0xFFFF));
    PutU32(b, offset + static_cast<uint32_t>(data.size()));
    data += bytes;
  }
  return b + data;
}

Bytes BuildFace(const Face& face) {
  Bytes os2 = BuildOs2(4);
  SetU16(os2, 30, face.familyClass);
  for (int i = 0; i < 10; ++i) os2[32 + i] = static_cast<char>(face.panose[i]);
  for (int w = 0; w < 4; ++w) SetU32(os2, 42 + 4 * w, face.ranges[w]);
  const uint16_t encoding = face.symbol ? 0 : 1;
  const std::vector<NameRecord> names = {{3, encoding, 0x409, 1, face.family},
                                         {3, encoding, 0x409, 2, face.style},
                                         {3, encoding, 0x409, 4, face.fullName}};
  std::vector<std::pair<std::string, Bytes>> tables = {
      {"head", BuildHead()}, {"name", BuildNameTable(names)}, {"OS/2", os2},
      {"cmap", Cmap({{(3u << 16) | encoding, Format4(face.characters)}})}};
  if (face.dsig) tables.push_back({"DSIG", Bytes(8, '\0')});
  if (face.cff) tables.push_back({"CFF ", Bytes(16, '\1')});
  if (face.fvar) tables.push_back({"fvar", Bytes(16, '\0')});
  return BuildSfnt(tables);
}

std::vector<std::wstring> WriteSearchTree(const std::wstring& root) {
  auto write = [&](const std::wstring& name, const Bytes& bytes) { WriteFile(root + L"\\" + name, bytes); };
  for (const wchar_t* folder : {L"bad", L".dot", L"deep", L"deep\\deeper"})
    ::CreateDirectoryW((root + L"\\" + folder).c_str(), nullptr);

  Face alpha{L"Alpha", L"Regular", L"Alpha Sans", u"ABC"};
  alpha.panose[0] = 2, alpha.panose[1] = 11, alpha.panose[2] = 5;
  alpha.familyClass = 0x0805;
  alpha.ranges[0] = 0x1;
  write(L"Alpha.ttf", BuildFace(alpha));

  Face beta{L"Beta", L"Bold", L"Beta Serif Bold", u"AB\u20AC"};
  beta.dsig = true;
  beta.panose[0] = 2, beta.panose[1] = 2, beta.panose[2] = 7;
  beta.familyClass = 0x0105;
  beta.ranges[0] = 0x3;
  write(L"Beta.ttf", BuildFace(beta));

  Face gamma{L"Gamma", L"Book", L"Gamma Book", u"A"};
  gamma.cff = true;
  gamma.panose[0] = 2, gamma.panose[1] = 0, gamma.panose[2] = 5, gamma.panose[3] = 9;
  gamma.familyClass = 0x0801;
  gamma.ranges[0] = 0x1;
  write(L"deep\\deeper\\Gamma.otf", BuildFace(gamma));

  Face duoOne{L"Duo", L"One", L"Duo One", u"AZ"};
  Face duoTwo{L"Duo", L"Two", L"Duo Two", u"A"};
  duoTwo.dsig = true;
  write(L"Duo.ttc", BuildCollection({BuildFace(duoOne), BuildFace(duoTwo)}));

  Face flex{L"Flex", L"Variable", L"Flex Variable", u"A"};
  flex.fvar = true;
  write(L"deep\\Flex.ttf", BuildFace(flex));

  Face symbol{L"Sym", L"Pi", L"Sym Pi", u"\uF041\uF042"};
  symbol.symbol = true;
  write(L"Sym.ttf", BuildFace(symbol));

  Face dotty{L"Dotty", L"Sans", L"Dotty Sans", u"xyz"};
  write(L".dot\\Dotty.ttf", BuildFace(dotty));

  write(L"Tee.pfm", MinimalPfm());
  write(L"Tee.pfb", BuildPfb(Type1ClearText("/FontName /TeeOne def\n/FullName (Tee One) def\n/FamilyName (Tee) def")));

  // Damaged files: cut short, noise, and a face whose cmap claims more than it holds.
  const Bytes whole = BuildFace(alpha);
  write(L"bad\\Trunc.ttf", whole.substr(0, 40));
  Bytes noise(3000, '\0');
  for (size_t i = 0; i < noise.size(); ++i) noise[i] = static_cast<char>((i * 7919) >> 3);
  write(L"bad\\Noise.otf", noise);
  write(L"bad\\Empty.ttc", Bytes());
  Face hostile{L"Hostile", L"Cmap", L"Hostile Cmap", u"A"};
  Bytes hostileFile = BuildFace(hostile);
  for (const TableEntry& table : ReadDirectory(hostileFile)) {
    if (table.tag != "cmap") continue;
    SetU16(hostileFile, table.offset + 12 + 6, 0xFFFF);  // segCountX2: odd, far past the table
  }
  write(L"bad\\Hostile.ttf", hostileFile);
  return {L"Alpha Sans", L"Beta Serif Bold", L"Gamma Book", L"Duo One", L"Duo Two", L"Flex Variable",
          L"Sym Pi", L"Dotty Sans", L"TeeOne", L"Hostile Cmap"};
}

}  // namespace search_test
