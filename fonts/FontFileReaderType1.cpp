// Type 1 fonts: a ".pfm" metrics file, which the lists enumerate, and its ".pfb" outlines beside
// it or in the parent folder; the record comes from the clear-text part of the ".pfb".
#include "fonts/FontFileReader.h"

#include "common/StringHelpers.h"

#include <shlwapi.h>

#include <algorithm>
#include <string_view>

using namespace font_flags;

namespace {

constexpr uint32_t kSegmentHeaderSize = 6;
constexpr size_t kShortValueLength = 64;
constexpr size_t kLongValueLength = 260;

std::wstring FileNameOf(const std::wstring& path) {
  const size_t slash = path.find_last_of(L"\\/");
  return slash == std::wstring::npos ? path : path.substr(slash + 1);
}

bool FileExists(const std::wstring& path) {
  const DWORD attributes = ::GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

void ReplaceAll(std::wstring& s, const std::wstring& from, const std::wstring& to) {
  for (size_t at = s.find(from); at != std::wstring::npos; at = s.find(from, at + to.size())) s.replace(at, from.size(), to);
}

bool StartsWithNoCase8(const char* text, size_t length, const char* prefix) {
  if (length < 8) return false;
  for (int i = 0; i < 8; ++i) {
    char a = text[i], b = prefix[i];
    if (a >= 'a' && a <= 'z') a = static_cast<char>(a - 32);
    if (b >= 'a' && b <= 'z') b = static_cast<char>(b - 32);
    if (a != b) return false;
  }
  return true;
}

}  // namespace

int FontFileReader::FindPfbFile() {
  const size_t bar = fileRef.find(L'|');
  const std::wstring pfmRef = fileRef.substr(0, bar);
  std::wstring pfbRef;
  if (bar != std::wstring::npos) {
    const size_t next = fileRef.find(L'|', bar + 1);
    pfbRef = fileRef.substr(bar + 1, next == std::wstring::npos ? std::wstring::npos : next - bar - 1);
  }
  fullPath = IsBareFileName(pfmRef) ? JoinPath(folder, pfmRef) : pfmRef;
  MarkFolderFlags(true, false);
  if (!pfbRef.empty()) {
    pfbPath = pfbRef;
    if (IsBareFileName(pfbRef) || pfbRef[0] == L'.') {
      const std::wstring base = folder.empty() ? ParentFolder(fullPath) : folder;
      pfbPath = JoinPath(base, pfbRef);
    }
  } else {
    // The ".pfm" path with its extension changed, as PathRenameExtensionW would, for any length.
    const size_t dot = fullPath.find_last_of(L'.');
    const size_t slash = fullPath.find_last_of(L"\\/");
    const bool hasExtension = dot != std::wstring::npos && (slash == std::wstring::npos || dot > slash);
    pfbPath = (hasExtension ? fullPath.substr(0, dot) : fullPath) + L".pfb";
  }
  if (FileExists(pfbPath)) return 0;
  // The folder above the one it was looked for in; a ".pfb" looked for at a root has none.
  const std::wstring parent = ParentFolder(ParentFolder(pfbPath));
  if (parent.empty()) return -1;
  pfbPath = JoinPath(parent, FileNameOf(pfbPath));
  return FileExists(pfbPath) ? static_cast<int>(kPfbInParent) : -1;
}

bool FontFileReader::ReadType1() {
  flags = kRead | kCffOrType1 | (flags & kPerUser);
  uniqueId.clear();
  version.clear();
  names.Clear();
  const int where = FindPfbFile();
  if (where < 0) {
    MarkUnreadable();
    return false;
  }
  flags |= static_cast<uint32_t>(where);
  std::wstring text;
  // A font without a name could be neither listed nor registered, as an sfnt face without one.
  if (!ReadType1Header(text) || !FindType1Key(text, L"/FontName /", postScriptName, kShortValueLength) ||
      postScriptName.empty()) {
    MarkUnreadable();
    return false;
  }
  FindType1Key(text, L"/UniqueID ", uniqueId, kShortValueLength);
  if (uniqueId.empty() || uniqueId == L"0") uniqueId = postScriptName;
  std::wstring english = postScriptName;
  std::replace(english.begin(), english.end(), L'-', L' ');
  names.English(NameSlot::FullName) = english;
  std::wstring value;
  FindType1Key(text, L"/FullName ", value, kLongValueLength);
  displayName = !value.empty() ? value : english;
  value.clear();
  FindType1Key(text, L"/FamilyName ", value, kLongValueLength);
  if (!value.empty()) names.English(NameSlot::Family) = value;
  FindType1Key(text, L"/version ", version, kShortValueLength);
  if (fileRef.find(L'|') == std::wstring::npos) {
    std::wstring pfbPart;
    if (IsBareFileName(fileRef))
      pfbPart = (where == static_cast<int>(kPfbInParent) ? L"..\\" : L"") + FileNameOf(pfbPath);
    else
      pfbPart = pfbPath;
    fileRef += L"|" + pfbPart;
  }
  return true;
}

bool FontFileReader::ReadType1Header(std::wstring& text) {
  text.clear();
  FileBytes pfb;
  if (!pfb.Open(pfbPath)) return false;
  const ByteReader header = pfb.Read(0, kSegmentHeaderSize);
  uint8_t marker = 0, type = 0;
  uint32_t length = 0;
  if (!header.U8(0, marker) || !header.U8(1, type) || marker != 0x80 || type != 0x01 || !header.U32LE(2, length))
    return false;
  // The whole 32-bit length counts; it only has to fit in the file.
  if (uint64_t{length} > pfb.Size() - kSegmentHeaderSize) return false;
  const ByteReader segment = pfb.Read(kSegmentHeaderSize, length);
  if (segment.Size() != length) return false;
  const char* clear = reinterpret_cast<const char*>(segment.Data());
  size_t size = 0;
  while (size < length && clear[size] != '\0') ++size;
  if (!StartsWithNoCase8(clear, size, "%!PS-AdobeFont-1.0") && !StartsWithNoCase8(clear, size, "%!FontType1"))
    return false;
  const std::string_view view(clear, size);
  const size_t begin = view.find("dict begin");
  if (begin == std::string_view::npos) return false;
  const size_t end = view.find("eexec", begin);
  if (end == std::string_view::npos) return false;
  const int count = static_cast<int>(end - begin);
  if (count == 0) return true;
  const int n = ::MultiByteToWideChar(CP_THREAD_ACP, 0, clear + begin, count, nullptr, 0);
  if (n <= 0) return false;
  text.resize(n);
  ::MultiByteToWideChar(CP_THREAD_ACP, 0, clear + begin, count, text.data(), n);
  return true;
}

bool FontFileReader::FindType1Key(const std::wstring& text, const std::wstring& key, std::wstring& out,
                                  size_t maxLength) {
  const size_t at = text.find(key);
  if (at == std::wstring::npos) return false;
  const size_t start = at + key.size();
  const size_t def = text.find(L" def", start);
  if (def == std::wstring::npos) return false;
  out = text.substr(start, def - start);
  ReplaceAll(out, L" readonly", L"");
  TrimWhiteSpace(out);
  if (!out.empty() && out.front() == L'(') out.front() = L' ';
  if (!out.empty() && out.back() == L')') out.back() = L' ';
  TrimWhiteSpace(out);
  if (maxLength != 0 && out.size() > maxLength) out.resize(maxLength);
  // Every line end, also the bare line feeds of files made on Unix, becomes CR LF.
  ReplaceAll(out, L"\r\n", L"\n");
  ReplaceAll(out, L"\r", L"\n");
  ReplaceAll(out, L"\n", L"\r\n");
  return true;
}
