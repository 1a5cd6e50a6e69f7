// fontinfo: prints, for each font file named on the command line, one JSON object per line for
// every record the readers yield (each collection face, each named instance; an unreadable file
// gives one object with its flags). The fields carry the record's code names. Tests compare
// its output with golden files; a person can use it to look into a font.
#include <windows.h>

#include <cstdio>
#include <string>

#include "common/UnicodeText.h"
#include "fonts/FontFileWalk.h"
#include "framework/AppModule.h"

namespace {

std::string Json(const std::wstring& s) {
  std::string out = "\"";
  size_t units = 0;
  for (size_t i = 0; i < s.size(); i += units) {
    const char32_t c = CodePointAt(s, i, units);
    if (c == '"' || c == '\\') {
      out += '\\';
      out += static_cast<char>(c);
    } else if (c < 0x20 || IsSurrogate(c)) {
      char buffer[8];
      snprintf(buffer, sizeof buffer, "\\u%04x", static_cast<unsigned>(c));
      out += buffer;
    } else {
      AppendUtf8(out, c);
    }
  }
  return out + "\"";
}

std::string Hex(uint32_t v, int digits) {
  char buffer[16];
  snprintf(buffer, sizeof buffer, "%0*x", digits, static_cast<unsigned>(v));
  return buffer;
}

std::string Describe(const FontItem& item) {
  static const char* kSlotNames[] = {"family", "subfamily", "fullName", "typoFamily", "typoSubfamily",
                                     "wwsFamily", "wwsSubfamily"};
  std::string out = "{\"flags\":\"" + Hex(item.flags, 8) + "\"";
  out += ",\"displayName\":" + Json(item.displayName);
  out += ",\"names\":{\"system\":{";
  for (int i = 0; i < 7; ++i)
    out += std::string(i ? "," : "") + "\"" + kSlotNames[i] + "\":" + Json(item.names.System(static_cast<NameSlot>(i)));
  out += "},\"english\":{";
  for (int i = 0; i < 7; ++i)
    out += std::string(i ? "," : "") + "\"" + kSlotNames[i] + "\":" + Json(item.names.English(static_cast<NameSlot>(i)));
  out += "}}";
  out += ",\"postScriptName\":" + Json(item.postScriptName);
  out += ",\"version\":" + Json(item.version);
  out += ",\"uniqueId\":" + Json(item.uniqueId);
  out += ",\"collectionName\":" + Json(item.collectionName);
  out += ",\"fileRef\":" + Json(item.fileRef);
  out += ",\"fullPath\":" + Json(item.fullPath);
  out += ",\"pfbPath\":" + Json(item.pfbPath);
  std::string panose;
  for (uint8_t b : item.panose) panose += Hex(b, 2);
  out += ",\"panose\":\"" + panose + "\"";
  out += ",\"familyClass\":" + std::to_string(item.familyClass);
  out += ",\"unicodeRange\":[";
  for (int i = 0; i < 4; ++i) out += std::string(i ? "," : "") + "\"" + Hex(item.unicodeRange[i], 8) + "\"";
  out += "]";
  out += ",\"fsSelection\":" + std::to_string(item.fsSelection);
  out += ",\"numTables\":" + std::to_string(item.numTables);
  out += ",\"os2Version\":" + std::to_string(item.os2Version);
  out += ",\"lowerOpticalSize\":" + std::to_string(item.lowerOpticalSize);
  out += ",\"upperOpticalSize\":" + std::to_string(item.upperOpticalSize);
  out += ",\"instanceCount\":" + std::to_string(item.instanceCount);
  out += ",\"axisCount\":" + std::to_string(item.axisCount);
  return out + "}\n";
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) {
    fputs("usage: fontinfo <font file>...\n", stderr);
    return 2;
  }
  // The resource library beside the tool names unreadable fonts as the program does.
  orv::g_Module.Init(::GetModuleHandleW(nullptr));
  wchar_t self[MAX_PATH] = {};
  ::GetModuleFileNameW(nullptr, self, MAX_PATH);
  std::wstring library = self;
  library = library.substr(0, library.find_last_of(L'\\') + 1) + L"OrvelRes64.dll";
  if (HMODULE resources = ::LoadLibraryExW(library.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE))
    orv::g_Module.SetResourceInstance(resources);
  for (int i = 1; i < argc; ++i) {
    ForEachFontItem(L"", argv[i], [](const FontItem& item) {
      const std::string line = Describe(item);
      fwrite(line.data(), 1, line.size(), stdout);
    });
  }
  fflush(stdout);
  return 0;
}
