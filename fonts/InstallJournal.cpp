#include "fonts/InstallJournal.h"

#include <algorithm>
#include <cwchar>

#include "common/RegistryValue.h"
#include "framework/ByteReader.h"
#include "common/Seams.h"

namespace {

constexpr REGSAM kValueAccess = KEY_QUERY_VALUE | KEY_SET_VALUE | KEY_WOW64_64KEY;
constexpr wchar_t kCommandValue[] = L"Command";
constexpr wchar_t kGroupValue[] = L"Group";
constexpr wchar_t kGroupNameValue[] = L"GroupName";
constexpr wchar_t kWasInstalledValue[] = L"GroupWasInstalled";
// Records are named by their number, so that they sort in the order they were written.
constexpr wchar_t kRecordFormat[] = L"R%08u";
constexpr size_t kRecordNameChars = 16;
constexpr uint8_t kValueRecord = 1;
constexpr uint8_t kLoadRecord = 2;
constexpr uint8_t kUnloadRecord = 3;
// The roots a record can name.
constexpr uint8_t kCurrentUser = 0;
constexpr uint8_t kLocalMachine = 1;
// What a journal record can hold at most: a registration value is short, a marker four bytes.
constexpr uint32_t kMaxRecordBytes = 256 * 1024;

InstallJournal* g_active = nullptr;

void PutU32(std::vector<BYTE>& out, uint32_t v) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<BYTE>(v >> (8 * i)));
}
void PutText(std::vector<BYTE>& out, const std::wstring& text) {
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
    if (!U8(exists) || !U32(type) || !U32(size) || !bytes_.Has(at_, size)) return false;
    out.exists = exists != 0;
    out.type = type;
    out.data.assign(bytes_.Data() + at_, bytes_.Data() + at_ + size);
    at_ += size;
    return true;
  }

private:
  ByteReader bytes_;
  uint64_t at_ = 0;
};

HKEY RootOf(uint8_t code) { return code == kLocalMachine ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER; }
uint8_t CodeOf(HKEY root) { return root == HKEY_LOCAL_MACHINE ? kLocalMachine : kCurrentUser; }

void Restore(HKEY root, const std::wstring& key, const std::wstring& name, const RegValueState& state) {
  if (state.exists) {
    HKEY raw = nullptr;
    if (::RegCreateKeyExW(root, key.c_str(), 0, nullptr, 0, kValueAccess, nullptr, &raw, nullptr) != ERROR_SUCCESS)
      return;
    const orv::ScopedKey open(raw);
    ::RegSetValueExW(open.Get(), name.c_str(), 0, state.type, state.data.data(), static_cast<DWORD>(state.data.size()));
    return;
  }
  const orv::ScopedKey open = OpenRegKey(root, key.c_str(), kValueAccess);
  if (open) ::RegDeleteValueW(open.Get(), name.c_str());
}

// Puts back what one record says the command changed.
void UndoRecord(const std::vector<BYTE>& bytes) {
  RecordReader record(bytes);
  uint8_t kind = 0;
  if (!record.U8(kind)) return;
  if (kind == kLoadRecord || kind == kUnloadRecord) {
    std::wstring file;
    if (!record.Text(file) || file.empty()) return;
    // A file loaded by the command is unloaded (a load that never happened finds nothing to
    // unload); one the command unloaded is loaded again.
    if (kind == kLoadRecord) seams::RemoveFontResource(file.c_str());
    else seams::AddFontResource(file.c_str());
    return;
  }
  if (kind != kValueRecord) return;
  uint8_t root = 0;
  std::wstring key, name;
  RegValueState before, after;
  if (!record.U8(root) || !record.Text(key) || !record.Text(name) || !record.State(before) || !record.State(after))
    return;
  // Only a value that still holds what the command wrote goes back: one changed since by
  // someone else is theirs.
  const RegValueState now = RegValueState::Read(RootOf(root), key.c_str(), name);
  if (now == after && now != before) Restore(RootOf(root), key, name, before);
}

}  // namespace

InstallJournal::InstallJournal(UINT command, const std::wstring& groupFile, const std::wstring& groupName,
                               bool groupWasInstalled) {
  HKEY raw = nullptr;
  if (::RegCreateKeyExW(HKEY_CURRENT_USER, kGroupCommandJournalKey, 0, nullptr, 0, KEY_QUERY_VALUE | KEY_SET_VALUE,
                        nullptr, &raw, nullptr) != ERROR_SUCCESS)
    return;
  key_ = orv::ScopedKey(raw);
  // The command is written last: a journal without it is one whose command never began.
  (void)WriteRegString(key_.Get(), kGroupValue, groupFile);
  (void)WriteRegString(key_.Get(), kGroupNameValue, groupName);
  (void)WriteRegDword(key_.Get(), kWasInstalledValue, groupWasInstalled ? 1 : 0);
  (void)WriteRegDword(key_.Get(), kCommandValue, command);
  g_active = this;
}

InstallJournal::~InstallJournal() {
  if (g_active == this) g_active = nullptr;
}

InstallJournal* InstallJournal::Active() { return g_active; }

void InstallJournal::Finish() {
  if (finished_) return;
  finished_ = true;
  if (g_active == this) g_active = nullptr;
  key_.Reset();
  ::RegDeleteKeyW(HKEY_CURRENT_USER, kGroupCommandJournalKey);
}

void InstallJournal::Append(const std::vector<BYTE>& record) {
  if (!key_ || finished_) return;
  wchar_t name[kRecordNameChars];
  swprintf(name, kRecordNameChars, kRecordFormat, static_cast<unsigned>(next_++));
  ::RegSetValueExW(key_.Get(), name, 0, REG_BINARY, record.data(), static_cast<DWORD>(record.size()));
}

void InstallJournal::BeforeValueChange(HKEY root, const wchar_t* key, const std::wstring& name,
                                       const RegValueState& after) {
  std::vector<BYTE> record{kValueRecord, CodeOf(root)};
  PutText(record, key);
  PutText(record, name);
  PutState(record, RegValueState::Read(root, key, name));
  PutState(record, after);
  Append(record);
}

void InstallJournal::BeforeFontLoad(const std::wstring& file, bool load) {
  std::vector<BYTE> record{load ? kLoadRecord : kUnloadRecord};
  PutText(record, file);
  Append(record);
}

void JournalValueChange(HKEY root, const wchar_t* key, const std::wstring& name, const RegValueState& after) {
  if (InstallJournal* journal = InstallJournal::Active()) journal->BeforeValueChange(root, key, name, after);
}

void JournalFontLoad(const std::wstring& file, bool load) {
  if (InstallJournal* journal = InstallJournal::Active()) journal->BeforeFontLoad(file, load);
}

std::optional<CutShortGroupCommand> UndoCutShortGroupCommand() {
  if (InstallJournal::Active()) return std::nullopt;
  const orv::ScopedKey key = OpenRegKey(HKEY_CURRENT_USER, kGroupCommandJournalKey, KEY_READ);
  if (!key) return std::nullopt;
  CutShortGroupCommand command;
  DWORD id = 0;
  DWORD wasInstalled = 0;
  const bool begun = ReadRegDword(key.Get(), kCommandValue, id);
  (void)ReadRegString(key.Get(), kGroupValue, MAX_PATH, command.groupFile);
  (void)ReadRegString(key.Get(), kGroupNameValue, 1024, command.groupName);
  (void)ReadRegDword(key.Get(), kWasInstalledValue, wasInstalled);
  command.command = id;
  command.groupWasInstalled = wasInstalled != 0;
  // The records, newest first.
  std::vector<std::pair<std::wstring, std::vector<BYTE>>> records;
  for (DWORD index = 0;; ++index) {
    wchar_t name[kRecordNameChars];
    DWORD nameChars = kRecordNameChars;
    DWORD type = 0;
    DWORD size = 0;
    const LSTATUS status = ::RegEnumValueW(key.Get(), index, name, &nameChars, nullptr, &type, nullptr, &size);
    if (status == ERROR_NO_MORE_ITEMS) break;
    if (status != ERROR_SUCCESS || type != REG_BINARY || name[0] != L'R' || size > kMaxRecordBytes) continue;
    std::vector<BYTE> bytes(size);
    DWORD got = size;
    if (::RegQueryValueExW(key.Get(), name, nullptr, &type, bytes.data(), &got) != ERROR_SUCCESS) continue;
    bytes.resize(got);
    records.emplace_back(name, std::move(bytes));
  }
  std::sort(records.begin(), records.end(), [](const auto& a, const auto& b) { return a.first > b.first; });
  for (const auto& record : records) UndoRecord(record.second);
  ::RegDeleteKeyW(HKEY_CURRENT_USER, kGroupCommandJournalKey);
  if (!begun) return std::nullopt;
  return command;
}
