// The journal's writer side: the records of a running group command, written and flushed
// before each change, and the undo of the command when it had to stop.
#include "fonts/InstallJournal.h"

#include <cwchar>

#include "common/Seams.h"
#include "fonts/InstallJournalRecords.h"

using namespace journal_detail;

InstallJournal::InstallJournal(UINT command, const std::wstring& groupFile, const std::wstring& groupName,
                               bool groupWasInstalled) {
  HKEY raw = nullptr;
  const LSTATUS created = ::RegCreateKeyExW(HKEY_CURRENT_USER, kGroupCommandJournalKey, 0, nullptr, 0,
                                            KEY_QUERY_VALUE | KEY_SET_VALUE, nullptr, &raw, nullptr);
  if (created != ERROR_SUCCESS) {
    Stop(created);
    return;
  }
  key_ = orv::ScopedKey(raw);
  const auto text = [](const std::wstring& value) {
    return RegValueState::Bytes(REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()), (value.size() + 1) * sizeof(wchar_t));
  };
  // The command is written last: a journal without it is one whose command never began.
  const std::pair<const wchar_t*, RegValueState> header[] = {
      {kGroupValue, text(groupFile)},
      {kGroupNameValue, text(groupName)},
      {kWasInstalledValue, RegValueState::Dword(groupWasInstalled ? 1 : 0)},
      {kCommandValue, RegValueState::Dword(command)}};
  for (const auto& [name, value] : header) {
    LSTATUS status = seams::WriteJournalValue(key_.Get(), name, value.type, value.data.data(),
                                              static_cast<DWORD>(value.data.size()));
    if (status == ERROR_SUCCESS) status = ::RegFlushKey(key_.Get());
    if (status != ERROR_SUCCESS) {
      // Nothing was done yet: no journal is left behind, and no change will be made.
      Stop(status);
      key_.Reset();
      ::RegDeleteKeyW(HKEY_CURRENT_USER, kGroupCommandJournalKey);
      return;
    }
  }
}

void InstallJournal::Finish() {
  if (finished_) return;
  finished_ = true;
  key_.Reset();
  if (!keepsRecords_) ::RegDeleteKeyW(HKEY_CURRENT_USER, kGroupCommandJournalKey);
}

LSTATUS InstallJournal::Append(const std::vector<BYTE>& record) {
  if (!key_ || finished_) {
    Stop(ERROR_INVALID_HANDLE);
    return StopError();
  }
  wchar_t name[kRecordNameChars];
  swprintf(name, kRecordNameChars, kRecordFormat, static_cast<unsigned>(next_));
  LSTATUS status =
      seams::WriteJournalValue(key_.Get(), name, REG_BINARY, record.data(), static_cast<DWORD>(record.size()));
  if (status == ERROR_SUCCESS) status = ::RegFlushKey(key_.Get());
  if (status != ERROR_SUCCESS) {
    Stop(status);
    return status;
  }
  ++next_;
  written_.emplace_back(name, record);
  return ERROR_SUCCESS;
}

namespace {
// Only what the undo at start would carry out is made: a change it would refuse as none of
// this program's could not be undone, so it is not made either (the font is left out).
bool UndoWouldTake(const std::vector<BYTE>& record) {
  std::wstring what;
  return DecodeRecord(record, what).has_value();
}
}  // namespace

LSTATUS InstallJournal::BeforeValueChange(HKEY root, const wchar_t* key, const std::wstring& name,
                                          const RegValueState& after) {
  ValueChange change{root, key, name, {}, after};
  // A value whose state cannot be read could not be put back: it is not changed.
  if (const LSTATUS read = RegValueState::Read(root, key, name, change.before); read != ERROR_SUCCESS) return read;
  const std::vector<BYTE> record = EncodeValueChange(change);
  if (!UndoWouldTake(record)) return ERROR_INVALID_DATA;
  return Append(record);
}

LSTATUS InstallJournal::BeforeFontChange(const std::wstring& file, bool load) {
  const std::vector<BYTE> record = EncodeFontChange({file, load});
  if (!UndoWouldTake(record)) return ERROR_INVALID_DATA;
  return Append(record);
}

std::vector<UndoFailure> InstallJournal::UndoCommand() {
  std::vector<UndoFailure> failures;
  for (auto record = written_.rbegin(); record != written_.rend(); ++record) {
    std::wstring what;
    const std::optional<Change> change = DecodeRecord(record->second, what);
    if (!change) continue;  // not one this command can have written: nothing to put back
    if (std::optional<UndoFailure> failure = UndoChange(*change)) {
      failures.push_back(std::move(*failure));
      keepsRecords_ = true;
    } else if (key_) {
      ::RegDeleteValueW(key_.Get(), record->first.c_str());
    }
  }
  written_.clear();
  return failures;
}
