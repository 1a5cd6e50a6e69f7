#include "groups/GroupNames.h"

#include <windows.h>

#include <cwchar>

namespace {

constexpr std::wstring_view kGroupFilePrefix = L"orvel";
constexpr std::wstring_view kGroupFileSuffix = L".xml";
constexpr std::wstring_view kNumberedPrefix = L"orvelgrp";
constexpr size_t kNumberDigits = 5;
constexpr size_t kFileNameMax = 255;

bool IsForbiddenNameChar(wchar_t c) {
  return c < 0x20 || c == L'<' || c == L'>' || c == L':' || c == L'"' || c == L'/' || c == L'\\' || c == L'|' ||
         c == L'?' || c == L'*' || c == 0x7F;
}

}  // namespace


bool IsGroupFileName(std::wstring_view name) {
  if (name.size() < kGroupFilePrefix.size() + kGroupFileSuffix.size() || name.size() > kFileNameMax) return false;
  if (!StartsWithNoCase(name, kGroupFilePrefix) || !EndsWithNoCase(name, kGroupFileSuffix)) return false;
  if (name.find(L"..") != std::wstring_view::npos) return false;
  for (wchar_t c : name)
    if (IsForbiddenNameChar(c)) return false;
  return true;
}

bool IsRootGroupFile(std::wstring_view name) { return EqualsNoCase(name, kRootGroupFile); }

std::wstring GroupLabel(const std::wstring& name, const std::wstring& fallbackName, const std::wstring& file) {
  if (!name.empty()) return name;
  return fallbackName.empty() ? file : fallbackName;
}

std::wstring FormatGroupFileName(int number) {
  wchar_t buffer[32];
  std::swprintf(buffer, 32, kGroupFileFormat, number);
  return buffer;
}

int GroupFileNumber(std::wstring_view name) {
  if (name.size() != kNumberedPrefix.size() + kNumberDigits + kGroupFileSuffix.size()) return -1;
  if (!StartsWithNoCase(name, kNumberedPrefix) || !EndsWithNoCase(name, kGroupFileSuffix)) return -1;
  int number = 0;
  for (size_t i = 0; i < kNumberDigits; ++i) {
    const wchar_t c = name[kNumberedPrefix.size() + i];
    if (c < L'0' || c > L'9') return -1;
    number = number * 10 + (c - L'0');
  }
  return number;
}

int PickFreeGroupNumber(const std::vector<bool>& taken, int excluded) {
  for (int i = kFirstGroupNumber; i <= kLastGroupNumber; ++i) {
    if (i == excluded) continue;
    if (static_cast<size_t>(i) < taken.size() && taken[static_cast<size_t>(i)]) continue;
    return i;
  }
  return 0;
}

std::wstring GroupFontKey(const std::wstring& path, const std::wstring& name) {
  return FoldCase(path) + L'\n' + FoldCase(name);
}

bool IsUsableGroupsFolder(const std::wstring& folder) {
  // Only a full path: a relative or drive-relative folder would resolve against whatever the
  // current directory happens to be (the folder trees change it all the time).
  if (folder.size() >= 3 && ((folder[0] >= L'A' && folder[0] <= L'Z') || (folder[0] >= L'a' && folder[0] <= L'z')) &&
      folder[1] == L':' && folder[2] == L'\\')
    return true;
  return folder.size() > 2 && folder[0] == L'\\' && folder[1] == L'\\';
}

std::wstring GroupFilePath(const std::wstring& folder, std::wstring_view name) {
  if (!IsUsableGroupsFolder(folder) || !IsGroupFileName(name)) return {};
  std::wstring path = folder;
  if (path.back() != L'\\') path += L'\\';
  path += name;
  if (path.size() >= kGroupPathMax) return {};
  return path;
}
