#include "viewing/LoadUnicodeCharName.h"

#include "common/ByteReader.h"
#include "common/Seams.h"

namespace {
constexpr uint32_t kLastStringId = 0xFFFF;
constexpr uint32_t kStringsPerBlock = 16;
}  // namespace

orv::ScopedModule LoadCharNameLibrary() {
  const std::wstring& standIn = seams::GetCharNameLibrary();
  if (!standIn.empty()) return orv::ScopedModule(::LoadLibraryW(standIn.c_str()));
  // Loaded as a library so that its names come from the user's language resources.
  return orv::ScopedModule(::LoadLibraryExW(kCharNameLibrary, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32));
}

bool LoadUnicodeCharName(std::wstring& out, HMODULE getuname, uint32_t codePoint) {
  if (!getuname || codePoint > kLastStringId) return false;
  // String n lives in block (n / 16) + 1 as entry n % 16; each entry is a 16-bit length and
  // that many UTF-16 units.
  const WORD block = static_cast<WORD>(codePoint / kStringsPerBlock + 1);
  HRSRC info = ::FindResourceW(getuname, MAKEINTRESOURCEW(block), RT_STRING);
  if (!info) return false;
  HGLOBAL data = ::LoadResource(getuname, info);
  const void* bytes = data ? ::LockResource(data) : nullptr;
  if (!bytes) return false;
  const ByteReader table(bytes, ::SizeofResource(getuname, info));
  uint64_t at = 0;
  for (uint32_t entry = 0;; ++entry) {
    uint16_t length = 0;
    if (!table.U16LE(at, length)) return false;
    at += 2;
    if (entry == codePoint % kStringsPerBlock) {
      if (length == 0 || !table.Has(at, uint64_t{length} * 2)) return false;
      std::wstring name(length, L'\0');
      for (uint16_t i = 0; i < length; ++i) {
        uint16_t unit = 0;
        (void)table.U16LE(at + 2 * i, unit);
        name[i] = static_cast<wchar_t>(unit);
      }
      out = std::move(name);
      return true;
    }
    at += uint64_t{length} * 2;
  }
}
