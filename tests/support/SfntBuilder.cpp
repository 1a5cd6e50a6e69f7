#include "tests/support/SfntBuilder.h"

#include <windows.h>

#include "tests/support/TestSupport.h"

namespace sfnt_test {

void PutU16(Bytes& b, uint16_t v) {
  b += static_cast<char>(v >> 8);
  b += static_cast<char>(v & 0xFF);
}
void PutU32(Bytes& b, uint32_t v) {
  PutU16(b, static_cast<uint16_t>(v >> 16));
  PutU16(b, static_cast<uint16_t>(v & 0xFFFF));
}
void SetU16(Bytes& b, size_t at, uint16_t v) {
  b[at] = static_cast<char>(v >> 8);
  b[at + 1] = static_cast<char>(v & 0xFF);
}
void SetU32(Bytes& b, size_t at, uint32_t v) {
  SetU16(b, at, static_cast<uint16_t>(v >> 16));
  SetU16(b, at + 2, static_cast<uint16_t>(v & 0xFFFF));
}
uint16_t GetU16(const Bytes& b, size_t at) {
  return static_cast<uint16_t>((static_cast<uint8_t>(b[at]) << 8) | static_cast<uint8_t>(b[at + 1]));
}
uint32_t GetU32(const Bytes& b, size_t at) { return (uint32_t{GetU16(b, at)} << 16) | GetU16(b, at + 2); }

Bytes BuildNameTable(const std::vector<NameRecord>& records) {
  Bytes strings;
  Bytes header;
  PutU16(header, 0);
  PutU16(header, static_cast<uint16_t>(records.size()));
  PutU16(header, static_cast<uint16_t>(6 + 12 * records.size()));
  for (const NameRecord& r : records) {
    Bytes text;
    for (wchar_t c : r.text) {
      if (r.platform == 1)
        text += static_cast<char>(c);
      else
        PutU16(text, static_cast<uint16_t>(c));
    }
    PutU16(header, r.platform);
    PutU16(header, r.encoding);
    PutU16(header, r.language);
    PutU16(header, r.nameId);
    PutU16(header, r.emptyLength ? 0 : static_cast<uint16_t>(text.size()));
    PutU16(header, static_cast<uint16_t>(strings.size()));
    strings += text;
  }
  return header + strings;
}

std::vector<NameRecord> WindowsNames(const std::wstring& family, const std::wstring& subfamily,
                                     const std::wstring& fullName) {
  return {{3, 1, 0x409, 1, family}, {3, 1, 0x409, 2, subfamily}, {3, 1, 0x409, 4, fullName}};
}

Bytes BuildHead() {
  Bytes b(54, '\0');
  SetU32(b, 0, 0x00010000);
  SetU32(b, 12, 0x5F0F3CF5);
  SetU16(b, 18, 1000);
  return b;
}

Bytes BuildOs2(uint16_t version, uint16_t lowerOptical, uint16_t upperOptical) {
  Bytes b(version >= 5 ? 100 : 96, '\0');
  SetU16(b, 0, version);
  SetU16(b, 30, 0x0802);          // sFamilyClass
  for (int i = 0; i < 10; ++i) b[32 + i] = static_cast<char>(i + 1);
  SetU32(b, 42, 0x11);
  SetU32(b, 46, 0x22);
  SetU32(b, 50, 0x33);
  SetU32(b, 54, 0x44);
  SetU16(b, 62, 0x20);
  if (version >= 5) {
    SetU16(b, 96, lowerOptical);
    SetU16(b, 98, upperOptical);
  }
  return b;
}

Bytes BuildSfnt(const std::vector<std::pair<std::string, Bytes>>& tables) {
  Bytes out;
  PutU32(out, 0x00010000);
  PutU16(out, static_cast<uint16_t>(tables.size()));
  PutU16(out, 0);
  PutU16(out, 0);
  PutU16(out, 0);
  uint32_t offset = static_cast<uint32_t>(12 + 16 * tables.size());
  Bytes data;
  for (const auto& [tag, bytes] : tables) {
    out += tag.substr(0, 4);
    PutU32(out, 0);
    PutU32(out, offset + static_cast<uint32_t>(data.size()));
    PutU32(out, static_cast<uint32_t>(bytes.size()));
    data += bytes;
    while (data.size() % 4) data += '\0';
  }
  return out + data;
}

std::vector<TableEntry> ReadDirectory(const Bytes& file, uint32_t faceOffset) {
  std::vector<TableEntry> out;
  const uint16_t count = GetU16(file, faceOffset + 4);
  for (uint32_t i = 0; i < count; ++i) {
    const uint32_t at = faceOffset + 12 + 16 * i;
    if (at + 16 > file.size()) break;
    out.push_back({file.substr(at, 4), at, GetU32(file, at + 8), GetU32(file, at + 12)});
  }
  return out;
}

Bytes BuildCollection(const std::vector<Bytes>& fonts, uint32_t declaredFaces) {
  Bytes out = "ttcf";
  PutU32(out, 0x00010000);
  PutU32(out, declaredFaces ? declaredFaces : static_cast<uint32_t>(fonts.size()));
  const size_t offsetsAt = out.size();
  out.append(4 * fonts.size(), '\0');
  for (size_t f = 0; f < fonts.size(); ++f) {
    while (out.size() % 4) out += '\0';
    const uint32_t faceAt = static_cast<uint32_t>(out.size());
    SetU32(out, offsetsAt + 4 * f, faceAt);
    const auto directory = ReadDirectory(fonts[f]);
    out += fonts[f].substr(0, 12 + 16 * directory.size());
    for (size_t t = 0; t < directory.size(); ++t) {
      while (out.size() % 4) out += '\0';
      SetU32(out, faceAt + 12 + 16 * t + 8, static_cast<uint32_t>(out.size()));
      out += fonts[f].substr(directory[t].offset, directory[t].length);
    }
  }
  return out;
}

Bytes BuildPfb(const std::string& clearText, uint32_t declaredLength) {
  Bytes out;
  out += static_cast<char>(0x80);
  out += static_cast<char>(0x01);
  const uint32_t length = declaredLength == UINT32_MAX ? static_cast<uint32_t>(clearText.size()) : declaredLength;
  for (int i = 0; i < 4; ++i) out += static_cast<char>((length >> (8 * i)) & 0xFF);
  out += clearText;
  // A binary segment and the end marker, as a real ".pfb" carries them.
  out += static_cast<char>(0x80);
  out += static_cast<char>(0x02);
  out += std::string("\x04\0\0\0\x11\x22\x33\x44", 8);
  out += static_cast<char>(0x80);
  out += static_cast<char>(0x03);
  return out;
}

std::string Type1ClearText(const std::string& keys) {
  return "%!PS-AdobeFont-1.0: Test 001.000\n%%CreationDate: today\n11 dict begin\n" + keys +
         "\ncurrentdict end\ncurrentfile eexec\n";
}

Bytes MinimalPfm() {
  // dfVersion 0x0100, dfSize, copyright: the reader looks no further than the file's presence.
  Bytes b(117, '\0');
  b[0] = 0x00;
  b[1] = 0x01;
  b[2] = 117;
  return b;
}

Bytes ReadFile(const std::wstring& path) { return testing_support::ReadFileBytes(path); }

void WriteFile(const std::wstring& path, const Bytes& bytes) {
  testing_support::WriteFileBytes(path, bytes.data(), bytes.size());
}

bool WriteTaggedDejaVu(const std::wstring& source, const std::wstring& target, const std::string& tag) {
  Bytes bytes = ReadFile(source);
  if (bytes.empty() || tag.size() != 6) return false;
  auto wide = [](const std::string& text) {
    std::string out;
    for (char c : text) out += std::string(1, '\0') + c;
    return out;
  };
  for (const auto& [from, to] : {std::pair{std::string("DejaVu"), tag}, std::pair{wide("DejaVu"), wide(tag)}})
    for (size_t at = bytes.find(from); at != std::string::npos; at = bytes.find(from, at + 1))
      bytes.replace(at, to.size(), to);
  WriteFile(target, bytes);
  return true;
}

}  // namespace sfnt_test

namespace sfnt_test {

std::vector<std::wstring> MakeRenamedFontCopies(const std::wstring& folder, int count) {
  // "Orvel Vnn" has the length of "Orvel Var", so no offset in the file moves.
  const Bytes original = ReadFile(testing_support::SourceDir() + L"\\tests\\fonts\\data\\OrvelVarNoStat.ttf");
  const std::string family("\0O\0r\0v\0e\0l\0 \0V\0a\0r", 18);
  std::vector<std::wstring> out;
  for (int i = 0; i < count && i < 100; ++i) {
    Bytes bytes = original;
    for (size_t at = bytes.find(family); at != std::string::npos; at = bytes.find(family, at + 1)) {
      bytes[at + 15] = static_cast<char>('0' + i / 10);
      bytes[at + 17] = static_cast<char>('0' + i % 10);
    }
    out.push_back(folder + L"\\f" + std::to_wstring(i) + L".ttf");
    WriteFile(out.back(), bytes);
  }
  return out;
}

}  // namespace sfnt_test
