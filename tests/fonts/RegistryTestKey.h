// A private key of the test prefix's real registry for the tests of the registration dialogs:
// HKCU\Software\OrvelTest\<name><pid>, deleted with everything below it afterwards. While it
// lives, the system's font registration keys are redirected below it (SystemFontKeys), so
// that "HKLM\<path>" is "<key>\Machine\<path>" and "HKCU\<path>" is "<key>\User\<path>".
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "fonts/SystemFontKeys.h"

class RegistryTestKey {
public:
  explicit RegistryTestKey(const wchar_t* name)
      : path_(std::wstring(L"Software\\OrvelTest\\") + name + std::to_wstring(::GetCurrentProcessId())) {
    ::RegDeleteTreeW(HKEY_CURRENT_USER, path_.c_str());
    seams::RedirectSystemFontKeys(HKEY_CURRENT_USER, path_);
  }
  ~RegistryTestKey() {
    seams::RedirectSystemFontKeys(nullptr, std::wstring());
    ::RegDeleteTreeW(HKEY_CURRENT_USER, path_.c_str());
    ::RegDeleteKeyW(HKEY_CURRENT_USER, L"Software\\OrvelTest");  // only goes when empty
  }
  RegistryTestKey(const RegistryTestKey&) = delete;
  RegistryTestKey& operator=(const RegistryTestKey&) = delete;

  // The path below HKCU that stands for `root`\`systemPath`.
  std::wstring PathOf(HKEY root, const wchar_t* systemPath) const {
    return MakeSystemFontKey(root, systemPath).path;
  }

  void Set(HKEY root, const wchar_t* systemPath, const std::wstring& name, DWORD type, const void* data,
           DWORD size) const {
    HKEY key = nullptr;
    ASSERT_EQ(::RegCreateKeyExW(HKEY_CURRENT_USER, PathOf(root, systemPath).c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                                nullptr, &key, nullptr),
              ERROR_SUCCESS);
    EXPECT_EQ(::RegSetValueExW(key, name.empty() ? nullptr : name.c_str(), 0, type,
                               static_cast<const BYTE*>(data), size),
              ERROR_SUCCESS);
    ::RegCloseKey(key);
  }
  // A string value as stored with its terminator; REG_MULTI_SZ texts carry their inner nulls.
  void SetText(HKEY root, const wchar_t* systemPath, const std::wstring& name, const std::wstring& text,
               DWORD type = REG_SZ) const {
    Set(root, systemPath, name, type, text.c_str(), static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
  }

private:
  std::wstring path_;
};
