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

bool IsBareFileName(const std::wstring& ref) { return ref.find_first_of(L"\\/:") == std::wstring::npos; }

std::wstring Join(const std::wstring& folder, const std::wstring& name) {
  if (folder.empty()) return name;
  wchar_t buffer[MAX_PATH] = {};
  if (folder.size() + name.size() + 2 >= MAX_PATH) return folder + L"\\" + name;
  wcscpy(buffer, folder.c_str());
  if (!::PathAppendW(buffer, name.c_str())) return folder + L"\\" + name;
  return buffer;
}

std::wstring FolderOf(const std::wstring& path) {
  const size_t slash = path.find_last_of(L"\\/");
  return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash);
}

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
  fullPath = IsBareFileName(pfmRef) ? Join(folder, pfmRef) : pfmRef;
  MarkFolderFlags(true, false);
  if (!pfbRef.empty()) {
    pfbPath = pfbRef;
    if (IsBareFileName(pfbRef) || pfbRef[0] == L'.') {
      const std::wstring base = folder.empty() ? FolderOf(fullPath) : folder;
      pfbPath = Join(base, pfbRef);
    }
  } else {
    wchar_t buffer[MAX_PATH] = {};
    if (fullPath.size() < MAX_PATH) {
      wcscpy(buffer, fullPath.c_str());
      ::PathRenameExtensionW(buffer, L".pfb");
      pfbPath = buffer;
    } else {
      pfbPath = fullPath;
    }
  }
  if (FileExists(pfbPath)) return 0;
  const std::wstring parent = FolderOf(FolderOf(pfbPath));
  pfbPath = Join(parent, FileNameOf(pfbPath));
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
  if (!ReadType1Header(text) || !FindType1Key(text, L"/FontName /", postScriptName, kShortValueLength)) {
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
