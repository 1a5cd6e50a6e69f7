// The journal read back: its records checked like any input from outside (any program of the
// user can write the journal's key), and the undo of what they say the command changed.
#include <shlwapi.h>

#include <algorithm>
#include <cstring>
#include <cwchar>

#include "common/ResourceIds.h"
#include "common/Seams.h"
#include "common/StringHelpers.h"
#include "fonts/FontChanges.h"
#include "fonts/FontInstaller.h"
#include "fonts/InstallJournalRecords.h"
#include "fonts/InstalledMarkers.h"
#include "fonts/RegistryValueEnumerator.h"
#include "framework/ByteReader.h"

namespace journal_detail {

namespace {

constexpr uint8_t kValueRecord = 1;
constexpr uint8_t kLoadRecord = 2;
constexpr uint8_t kUnloadRecord = 3;
// The roots a record can name.
constexpr uint8_t kCurrentUser = 0;
constexpr uint8_t kLocalMachine = 1;
// What a journal record can hold at most: a registration value is short, a marker four bytes.
constexpr uint32_t kMaxRecordBytes = 256 * 1024;
// The registry's own limit for a value name.
constexpr size_t kMaxValueName = 16383;
// Texts from a journal are cut to this length in a message: a forged name can be of any length.
constexpr size_t kShownJournalText = 80;

void PutU32(std::vector<BYTE>& out, uint32_t v) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<BYTE>(v >> (8 * i)));
}
void PutText(std::vector<BYTE>& out, std::wstring_view text) {
  PutU32(out, static_cast<uint32_t>(text.size()));
  for (wchar_t ch : text) {
    out.push_back(static_cast<BYTE>(ch & 0xFF));
    out.push_back(static_cast<BYTE>(ch >> 8));
  }
}
void PutState(std::vector<BYTE>& out, const RegValueState& state) {
  out.push_back(state.exists ? 1 : 0);
  PutU32(out, state.type);
  PutU32(out, static_cast<uint32_t>(state.data.size()));
  out.insert(out.end(), state.data.begin(), state.data.end());
}

// Reads a record back; every length it holds is checked against the bytes there.
class RecordReader {
public:
  explicit RecordReader(const std::vector<BYTE>& bytes) : bytes_(bytes.data(), bytes.size()) {}
  bool U8(uint8_t& out) { return bytes_.U8(at_, out) && (++at_, true); }
  bool U32(uint32_t& out) { return bytes_.U32LE(at_, out) && (at_ += 4, true); }
  bool Text(std::wstring& out) {
    uint32_t count = 0;
    if (!U32(count) || !bytes_.Has(at_, uint64_t{count} * 2)) return false;
    out.resize(count);
    for (uint32_t i = 0; i < count; ++i) {
      uint16_t ch = 0;
      if (!bytes_.U16LE(at_ + 2 * i, ch)) return false;
      out[i] = static_cast<wchar_t>(ch);
    }
    at_ += uint64_t{count} * 2;
    return true;
  }
  bool State(RegValueState& out) {
    uint8_t exists = 0;
    uint32_t type = 0;
    uint32_t size = 0;
    if (!U8(exists) || exists > 1 || !U32(type) || !U32(size) || !bytes_.Has(at_, size)) return false;
    out.exists = exists != 0;
    out.type = type;
    out.data.assign(bytes_.Data() + at_, bytes_.Data() + at_ + size);
    at_ += size;
    return out.exists || (type == REG_NONE && size == 0);
  }
  bool AtEnd() const { return at_ == bytes_.Size(); }

private:
  ByteReader bytes_;
  uint64_t at_ = 0;
};

bool HasExtension(std::wstring_view path, std::initializer_list<const wchar_t*> extensions) {
  return std::any_of(extensions.begin(), extensions.end(), [&](const wchar_t* ext) { return EndsWithNoCase(path, ext); });
}

// One name of a path: not empty, not "." or "..", nothing a path could turn into something
// else (wildcards, a stream's colon, a control character), no trailing dot or space.
bool IsPlainName(std::wstring_view name) {
  if (name.empty() || name == L"." || name == L".." || name.back() == L'.' || name.back() == L' ') return false;
  for (wchar_t ch : name)
    if (ch < 32 || wcschr(L"<>:\"/\\|?*", ch)) return false;
  return true;
}

// A full path ("C:\a\b.ttf", "\\server\share\b.ttf") with no relative parts, ending in one of
// the extensions.
bool IsFullFontPath(std::wstring_view path, std::initializer_list<const wchar_t*> extensions) {
  if (path.size() >= MAX_PATH || !HasExtension(path, extensions)) return false;
  size_t at = 0;
  if (path.size() > 3 && iswalpha(path[0]) && path[1] == L':' && path[2] == L'\\') at = 3;
  else if (path.size() > 2 && path[0] == L'\\' && path[1] == L'\\') at = 2;
  else return false;
  size_t names = 0;
  for (size_t end; at <= path.size(); at = end + 1) {
    end = std::min(path.find(L'\\', at), path.size());
    if (!IsPlainName(path.substr(at, end - at))) return false;
    ++names;
  }
  // A share path needs its server and share before the file.
  return path[1] != L'\\' || names >= 3;
}

// A file reference as the Fonts keys hold one: a bare file name (a file of the system Fonts
// folder) or a full path.
bool IsFontFileReference(std::wstring_view ref, std::initializer_list<const wchar_t*> extensions) {
  return IsBareFileName(ref) ? IsPlainName(ref) && HasExtension(ref, extensions) : IsFullFontPath(ref, extensions);
}

constexpr std::initializer_list<const wchar_t*> kSfntExtensions = {L".ttf", L".ttc", L".otf", L".otc"};

// The strings of string data: whole characters, up to the end or the empty string that ends a
// list, with only terminators after it.
bool SplitStrings(const std::vector<BYTE>& data, std::vector<std::wstring>& out) {
  if (data.size() % 2 || data.size() < 2) return false;
  std::wstring text(data.size() / 2, L'\0');
  std::memcpy(text.data(), data.data(), data.size());
  if (text.back() != L'\0') return false;
  out.clear();
  for (size_t at = 0; at < text.size() && text[at] != L'\0';) {
    const size_t end = text.find(L'\0', at);
    out.push_back(text.substr(at, end - at));
    at = end + 1;
  }
  // Nothing but terminators after the strings.
  size_t used = 0;
  for (const std::wstring& s : out) used += s.size() + 1;
  return text.find_first_not_of(L'\0', used) == std::wstring::npos;
}

// The key a record names, as one of the program's own names: the Fonts keys (both roots), the
// Type 1 key (both roots) and the markers' key (the user's only).
const wchar_t* KnownKey(uint8_t root, const std::wstring& key) {
  if (EqualsNoCase(key, kFontsKey)) return kFontsKey;
  if (EqualsNoCase(key, kType1FontsKey)) return kType1FontsKey;
  if (root == kCurrentUser && EqualsNoCase(key, kFontsInstalledKey)) return kFontsInstalledKey;
  return nullptr;
}

// A state the installer can leave a value of that key in.
bool IsInstallerState(const wchar_t* key, const RegValueState& state) {
  if (!state.exists) return true;
  std::vector<std::wstring> strings;
  if (key == kFontsKey)
    return state.type == REG_SZ && SplitStrings(state.data, strings) && strings.size() == 1 &&
           IsFontFileReference(strings[0], kSfntExtensions);
  if (key == kType1FontsKey)
    return state.type == REG_MULTI_SZ && SplitStrings(state.data, strings) && strings.size() == 3 &&
           strings[0] == L"T" && IsFontFileReference(strings[1], {L".pfm"}) &&
           IsFontFileReference(strings[2], {L".pfb"});
  // A marker: a group count in the low word, the "installed before" word 0 or 1.
  if (state.type != REG_DWORD || state.data.size() != sizeof(DWORD)) return false;
  DWORD value = 0;
  std::memcpy(&value, state.data.data(), sizeof(value));
  return (value & ~(kGroupCountMask | kInstalledBeforeMark)) == 0;
}

bool IsMarkerName(const std::wstring& name) {
  return name.size() > 2 && name[1] == L'|' && (name[0] == L'0' || name[0] == L'1' || name[0] == L'2');
}

// A font file a command loads or unloads: a full path, for Type 1 the ".pfm" and ".pfb" paths.
bool IsLoadableFile(const std::wstring& file) {
  const size_t bar = file.find(L'|');
  if (bar == std::wstring::npos) return IsFullFontPath(file, kSfntExtensions);
  return IsFullFontPath(std::wstring_view(file).substr(0, bar), {L".pfm"}) &&
         IsFullFontPath(std::wstring_view(file).substr(bar + 1), {L".pfb"});
}

HKEY RootOf(uint8_t code) { return code == kLocalMachine ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER; }
uint8_t CodeOf(HKEY root) { return root == HKEY_LOCAL_MACHINE ? kLocalMachine : kCurrentUser; }

std::wstring Shown(std::wstring_view text) { return ShortenedForDisplay(text, kShownJournalText); }

}  // namespace

std::vector<BYTE> EncodeValueChange(const ValueChange& change) {
  std::vector<BYTE> record{kValueRecord, CodeOf(change.root)};
  PutText(record, change.key);
  PutText(record, change.name);
  PutState(record, change.before);
  PutState(record, change.after);
  return record;
}

std::vector<BYTE> EncodeFontChange(const FontChange& change) {
  std::vector<BYTE> record{change.load ? kLoadRecord : kUnloadRecord};
  PutText(record, change.file);
  return record;
}

std::optional<Change> DecodeRecord(const std::vector<BYTE>& bytes, std::wstring& what) {
  what.clear();
  RecordReader record(bytes);
  uint8_t kind = 0;
  if (bytes.size() > kMaxRecordBytes || !record.U8(kind)) return std::nullopt;
  if (kind == kLoadRecord || kind == kUnloadRecord) {
    FontChange change{{}, kind == kLoadRecord};
    if (!record.Text(change.file) || !record.AtEnd()) return std::nullopt;
    what = Shown(change.file);
    if (!IsLoadableFile(change.file)) return std::nullopt;
    return change;
  }
  if (kind != kValueRecord) return std::nullopt;
  uint8_t root = 0;
  std::wstring key;
  ValueChange change;
  if (!record.U8(root) || !record.Text(key) || !record.Text(change.name) || !record.State(change.before) ||
      !record.State(change.after) || !record.AtEnd())
    return std::nullopt;
  what = Shown((root == kLocalMachine ? L"HKEY_LOCAL_MACHINE\\" : root == kCurrentUser ? L"HKEY_CURRENT_USER\\" : L"?\\") +
               key + L"\\" + change.name);
  if (root > kLocalMachine || !(change.key = KnownKey(root, key))) return std::nullopt;
  change.root = RootOf(root);
  if (change.name.empty() || change.name.size() > kMaxValueName || change.name.find(L'\0') != std::wstring::npos)
    return std::nullopt;
  if (change.key == kFontsInstalledKey && !IsMarkerName(change.name)) return std::nullopt;
  if (!IsInstallerState(change.key, change.before) || !IsInstallerState(change.key, change.after)) return std::nullopt;
  return change;
}

std::wstring DescribeChange(const Change& change) {
  if (const auto* font = std::get_if<FontChange>(&change)) return Shown(font->file);
  return Shown(std::get<ValueChange>(change).name);
}

std::optional<UndoFailure> UndoChange(const Change& change) {
  if (const auto* font = std::get_if<FontChange>(&change)) {
    // A file the command loaded is unloaded: a load that never happened, or one gone with the
    // process that made it, finds nothing to unload, which is what the undo is after.
    if (font->load) {
      (void)RemoveFontResourceRepeatedly(font->file);
      return std::nullopt;
    }
    // One it unloaded is loaded again; a file that is gone since has nothing to load.
    const std::wstring first = font->file.substr(0, font->file.find(L'|'));
    if (!::PathFileExistsW(first.c_str())) return std::nullopt;
    ::SetLastError(0);
    if (seams::AddFontResource(font->file.c_str()) > 0) return std::nullopt;
    return UndoFailure{DescribeChange(change), IDS_UNDO_NOT_LOADED, ::GetLastError()};
  }
  const ValueChange& value = std::get<ValueChange>(change);
  RegValueState now;
  if (const LSTATUS read = RegValueState::Read(value.root, value.key, value.name, now); read != ERROR_SUCCESS)
    return UndoFailure{DescribeChange(change), IDS_UNDO_VALUE_UNREADABLE, static_cast<DWORD>(read)};
  // Only a value that still holds what the command wrote goes back: one changed since by
  // someone else is theirs.
  if (now != value.after || now == value.before) return std::nullopt;
  if (const LSTATUS put = SetRegistryValueState(value.root, value.key, value.name, value.before); put != ERROR_SUCCESS)
    return UndoFailure{DescribeChange(change), IDS_UNDO_VALUE_NOT_WRITTEN, static_cast<DWORD>(put)};
  return std::nullopt;
}

}  // namespace journal_detail

using namespace journal_detail;

namespace {

constexpr REGSAM kJournalAccess = KEY_QUERY_VALUE | KEY_SET_VALUE;
constexpr size_t kMaxHeaderText = 32 * 1024;
// Longer than any name of the journal's own values.
constexpr DWORD kMaxNameChars = 64;

// A header value of the given type: a string (REG_SZ, at most kMaxHeaderText characters) or a
// DWORD. False when it is missing, of another type or cannot be read.
bool ReadHeaderString(HKEY key, const wchar_t* name, std::wstring& out) {
  DWORD type = 0;
  DWORD size = 0;
  if (::RegQueryValueExW(key, name, nullptr, &type, nullptr, &size) != ERROR_SUCCESS || type != REG_SZ ||
      size > kMaxHeaderText * sizeof(wchar_t))
    return false;
  return ReadRegString(key, name, kMaxHeaderText, out);
}

bool ReadHeaderDword(HKEY key, const wchar_t* name, DWORD& out) { return ReadRegDword(key, name, out); }

}  // namespace

std::optional<CutShortGroupCommand> UndoCutShortGroupCommand() {
  orv::ScopedKey key = OpenRegKey(HKEY_CURRENT_USER, kGroupCommandJournalKey, kJournalAccess);
  if (!key) return std::nullopt;
  // The records by name, and the other values of the key.
  std::vector<std::pair<std::wstring, std::vector<BYTE>>> records;
  std::vector<std::wstring> strays;
  bool hasCommand = false;
  for (DWORD index = 0;; ++index) {
    wchar_t name[kMaxNameChars] = {};
    DWORD nameChars = kMaxNameChars;
    DWORD type = 0;
    DWORD size = 0;
    const LSTATUS status = ::RegEnumValueW(key.Get(), index, name, &nameChars, nullptr, &type, nullptr, &size);
    if (status == ERROR_NO_MORE_ITEMS) break;
    if (status == ERROR_MORE_DATA) {
      strays.emplace_back(L"?");  // a name longer than any of the journal's
      continue;
    }
    if (status != ERROR_SUCCESS) break;
    const std::wstring valueName(name, nameChars);
    const bool numbered = valueName.size() == 9 && valueName[0] == L'R' &&
                          valueName.find_first_not_of(L"0123456789", 1) == std::wstring::npos;
    if (EqualsNoCase(valueName, kCommandValue)) hasCommand = true;
    if (!numbered) {
      if (!EqualsNoCase(valueName, kGroupValue) && !EqualsNoCase(valueName, kGroupNameValue) &&
          !EqualsNoCase(valueName, kWasInstalledValue) && !EqualsNoCase(valueName, kCommandValue))
        strays.push_back(Shown(valueName));
      continue;
    }
    std::vector<BYTE> bytes;
    if (type == REG_BINARY && size <= kMaxRecordBytes) {
      bytes.resize(size);
      DWORD got = size;
      if (::RegQueryValueExW(key.Get(), name, nullptr, &type, bytes.data(), &got) != ERROR_SUCCESS || type != REG_BINARY)
        bytes.clear();
      else
        bytes.resize(got);
    }
    records.emplace_back(valueName, std::move(bytes));
  }
  // A journal whose command never began (the program stopped while it wrote the header) holds
  // nothing to undo.
  if (!hasCommand && records.empty() && strays.empty()) {
    key.Reset();
    ::RegDeleteKeyW(HKEY_CURRENT_USER, kGroupCommandJournalKey);
    return std::nullopt;
  }
  CutShortGroupCommand command;
  DWORD id = 0;
  DWORD wasInstalled = 2;
  command.headerValid = ReadHeaderDword(key.Get(), kCommandValue, id) &&
                        ReadHeaderString(key.Get(), kGroupValue, command.groupFile) &&
                        ReadHeaderString(key.Get(), kGroupNameValue, command.groupName) &&
                        ReadHeaderDword(key.Get(), kWasInstalledValue, wasInstalled) &&
                        // An install begins on a group not installed, an uninstall on one that is.
                        ((id == kInstallGroup && wasInstalled == 0) ||
                         (id == kUninstallGroup && wasInstalled == 1));
  command.command = id;
  command.groupWasInstalled = wasInstalled == 1;
  command.groupName = Shown(command.groupName);
  bool keep = false;
  if (command.headerValid) {
    command.ignored = std::move(strays);
    std::sort(records.begin(), records.end(), [](const auto& a, const auto& b) { return a.first > b.first; });
    for (const auto& [name, bytes] : records) {
      std::wstring what;
      const std::optional<Change> change = DecodeRecord(bytes, what);
      if (!change) {
        command.ignored.push_back(what.empty() ? Shown(name) : what);
      } else if (std::optional<UndoFailure> failure = UndoChange(*change)) {
        command.notPutBack.push_back(std::move(*failure));
        keep = true;
        continue;
      }
      ::RegDeleteValueW(key.Get(), name.c_str());
    }
  }
  key.Reset();
  // Nothing of a journal that is not this program's is carried out, and it goes with the rest.
  if (!keep) ::RegDeleteKeyW(HKEY_CURRENT_USER, kGroupCommandJournalKey);
  return command;
}
