#include "viewing/SampleList.h"

#include <windows.h>

#include <algorithm>

#include "app/Preferences.h"
#include "common/RegistryValue.h"
#include "common/ResString.h"
#include "common/ResourceIds.h"
#include "common/StringHelpers.h"
#include "fonts/RegistryValueEnumerator.h"

namespace {

// A value's data as text whatever its type: up to its first null, whole characters only.
std::wstring ValueText(const RegistryValueEnumerator& values) {
  if (values.IsString()) return std::wstring(values.Text());
  const size_t chars = values.DataSize() / sizeof(wchar_t);
  std::wstring text(reinterpret_cast<const wchar_t*>(values.Data()), chars);
  const size_t nul = text.find(L'\0');
  if (nul != std::wstring::npos) text.resize(nul);
  return text;
}

using DeleteKeyExW = LSTATUS(WINAPI*)(HKEY, LPCWSTR, REGSAM, DWORD);

// RegDeleteKeyExW where advapi32 has it (looked up once), RegDeleteKeyW otherwise.
LSTATUS DeleteSubKey(HKEY parent, const wchar_t* name) {
  static const DeleteKeyExW deleteEx = [] {
    HMODULE advapi = ::GetModuleHandleW(L"advapi32.dll");
    return advapi ? reinterpret_cast<DeleteKeyExW>(::GetProcAddress(advapi, "RegDeleteKeyExW")) : nullptr;
  }();
  return deleteEx ? deleteEx(parent, name, 0, 0) : ::RegDeleteKeyW(parent, name);
}

}  // namespace

void SampleList::Append(std::wstring title, std::wstring text) {
  titles_.push_back(std::move(title));
  texts_.push_back(std::move(text));
}

void SampleList::RemoveAt(int index) {
  if (!IsValidIndex(index)) return;
  titles_.erase(titles_.begin() + index);
  texts_.erase(texts_.begin() + index);
}

void SampleList::Clear() {
  titles_.clear();
  texts_.clear();
}

int SampleList::FindTitle(const std::wstring& title) const {
  const auto it = std::find(titles_.begin(), titles_.end(), title);
  return it == titles_.end() ? -1 : static_cast<int>(it - titles_.begin());
}

int LoadUserSamples(SampleList& list) {
  RegistryValueEnumerator values(HKEY_CURRENT_USER, kSamplesKeyPath);
  if (!values.IsOpen()) return 0;
  int added = 0;
  while (values.Next()) {
    const std::wstring title(values.Name());
    // Value names are unique within a key; this only guards the list's promise.
    if (list.FindTitle(title) >= 0) continue;
    list.Append(title, ValueText(values));
    ++added;
  }
  return added;
}

bool SplitBuiltinSample(const std::wstring& resource, std::wstring& title, std::wstring& text) {
  const size_t tab = resource.find(L'\t');
  if (tab == std::wstring::npos || tab == 0) return false;
  title = resource.substr(0, tab);
  text = resource.substr(tab + 1);
  return true;
}

int LoadBuiltinSamples(SampleList& list) {
  int added = 0;
  for (UINT id = IDS_SAMPLE_BUILTIN_FIRST; id <= IDS_SAMPLE_BUILTIN_LAST; ++id) {
    std::wstring title, text;
    if (!SplitBuiltinSample(LoadResString(id), title, text) || list.FindTitle(title) >= 0) continue;
    list.Append(std::move(title), std::move(text));
    ++added;
  }
  return added;
}

void LoadSamples(SampleList& list) {
  if (LoadUserSamples(list) == 0) LoadBuiltinSamples(list);
}

void SaveSamples(const SampleList& list) {
  if (orv::ScopedKey app = OpenRegKey(HKEY_CURRENT_USER, kAppKeyPath, KEY_WRITE))
    DeleteSubKey(app.Get(), kSamplesSubKey);
  orv::ScopedKey key;
  if (::RegCreateKeyExW(HKEY_CURRENT_USER, kSamplesKeyPath, 0, nullptr, REG_OPTION_NON_VOLATILE,
                        KEY_READ | KEY_SET_VALUE | KEY_CREATE_SUB_KEY, nullptr, key.Receive(),
                        nullptr) != ERROR_SUCCESS)
    return;
  for (int i = 0; i < list.Count(); ++i) WriteRegString(key.Get(), list.Title(i).c_str(), list.Text(i));
}

std::wstring NewSampleTitle(const SampleList& list, const std::wstring& base) {
  std::wstring candidate = base;
  for (int n = 1; list.FindTitle(candidate) >= 0; ++n) candidate = FormatWide(L"%s (%d)", base.c_str(), n);
  return candidate;
}

TitleCheck CheckSampleTitle(const SampleList& list, int index, std::wstring& title) {
  TrimWhiteSpace(title);
  if (title.empty()) return TitleCheck::Refuse;
  const int holder = list.FindTitle(title);
  if (holder < 0) return TitleCheck::Accept;
  return holder == index ? TitleCheck::Refuse : TitleCheck::RefuseWithBeep;
}
