// The value reader against the real registry of the test prefix: a scratch key under
// HKCU\Software\OrvelTest with values of every type, odd-sized and unterminated strings, very
// long names and data, and values that grow after the key was opened.
#include "fonts/RegistryValueEnumerator.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

namespace {

constexpr wchar_t kTestRoot[] = L"Software\\OrvelTest";

constexpr wchar_t kType1Installer[] = L"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Type 1 Installer";

// The user's Type 1 installer key moved aside for one test and put back afterwards, so that the
// test sees it missing whatever an earlier test or program of the prefix installed.
class Type1KeyAside {
public:
  Type1KeyAside() {
    HKEY from = nullptr;
    if (::RegOpenKeyExW(HKEY_CURRENT_USER, kType1Installer, 0, KEY_READ, &from) != ERROR_SUCCESS) return;
    kept_ = Copy(from, kKept) && ::RegDeleteTreeW(HKEY_CURRENT_USER, kType1Installer) == ERROR_SUCCESS;
    ::RegCloseKey(from);
  }
  ~Type1KeyAside() {
    ::RegDeleteTreeW(HKEY_CURRENT_USER, kType1Installer);
    HKEY from = nullptr;
    if (kept_ && ::RegOpenKeyExW(HKEY_CURRENT_USER, kKept, 0, KEY_READ, &from) == ERROR_SUCCESS) {
      (void)Copy(from, kType1Installer);
      ::RegCloseKey(from);
    }
    ::RegDeleteTreeW(HKEY_CURRENT_USER, kKept);
  }

private:
  static constexpr wchar_t kKept[] = L"Software\\OrvelTestType1Aside";
  static bool Copy(HKEY from, const wchar_t* to) {
    ::RegDeleteTreeW(HKEY_CURRENT_USER, to);
    HKEY target = nullptr;
    if (::RegCreateKeyExW(HKEY_CURRENT_USER, to, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &target, nullptr) !=
        ERROR_SUCCESS)
      return false;
    const bool copied = ::RegCopyTreeW(from, nullptr, target) == ERROR_SUCCESS;
    ::RegCloseKey(target);
    return copied;
  }
  bool kept_ = false;
};

// A fresh key under HKCU\Software\OrvelTest, deleted with everything below it afterwards.
class ScratchKey {
public:
  ScratchKey() {
    path_ = std::wstring(kTestRoot) + L"\\Enum" + std::to_wstring(::GetCurrentProcessId()) + L"_" +
            std::to_wstring(counter_++);
    ::RegDeleteTreeW(HKEY_CURRENT_USER, path_.c_str());
    HKEY k = nullptr;
    if (::RegCreateKeyExW(HKEY_CURRENT_USER, path_.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &k, nullptr) ==
        ERROR_SUCCESS)
      key_.Reset(k);
  }
  ~ScratchKey() {
    key_.Reset();
    ::RegDeleteTreeW(HKEY_CURRENT_USER, path_.c_str());
    ::RegDeleteKeyW(HKEY_CURRENT_USER, kTestRoot);  // only goes when empty
  }
  HKEY Get() const { return key_.Get(); }
  const std::wstring& Path() const { return path_; }

  void Set(const std::wstring& name, DWORD type, const void* data, DWORD size) const {
    ASSERT_EQ(::RegSetValueExW(key_.Get(), name.c_str(), 0, type, static_cast<const BYTE*>(data), size), ERROR_SUCCESS);
  }
  void SetString(const std::wstring& name, const std::wstring& text, DWORD type = REG_SZ) const {
    Set(name, type, text.c_str(), static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
  }

private:
  static inline int counter_ = 0;
  std::wstring path_;
  orv::ScopedKey key_;
};

struct SeenValue {
  DWORD type;
  DWORD size;
  std::wstring text;
  std::vector<BYTE> data;
  bool textTerminated;
};

std::map<std::wstring, SeenValue> ReadAll(RegistryValueEnumerator& e) {
  std::map<std::wstring, SeenValue> seen;
  while (e.Next()) {
    const auto text = e.Text();
    seen[std::wstring(e.Name())] = {e.Type(), e.DataSize(), std::wstring(text),
                                    std::vector<BYTE>(e.Data(), e.Data() + e.DataSize()),
                                    text.data() == nullptr || text.data()[text.size()] == L'\0'};
  }
  return seen;
}

TEST(RegistryValueEnumerator, ValuesOfEveryType) {
  ScratchKey key;
  ASSERT_TRUE(key.Get());
  const std::wstring longName(2000, L'N');
  const std::wstring longText(300000, L'x');
  const DWORD dword = 0x12345678;
  const ULONGLONG qword = 0x1122334455667788ull;
  const BYTE binary[5] = {1, 2, 3, 4, 5};
  const wchar_t multi[] = L"one\0two\0";

  key.SetString(L"plain", L"hello");
  key.Set(L"unterminated", REG_SZ, L"abcX", 3 * sizeof(wchar_t));
  key.Set(L"odd7", REG_SZ, L"abcd", 7);
  key.Set(L"odd1", REG_SZ, L"z", 1);
  key.Set(L"empty", REG_SZ, L"", 0);
  key.Set(L"embeddedNull", REG_SZ, L"ab\0cd", 6 * sizeof(wchar_t));
  key.SetString(L"expand", L"%TEMP%\\x", REG_EXPAND_SZ);
  key.Set(L"expandOdd", REG_EXPAND_SZ, L"%A%", 5);
  key.Set(L"multi", REG_MULTI_SZ, multi, sizeof(multi));
  key.Set(L"dword", REG_DWORD, &dword, sizeof(dword));
  key.Set(L"shortDword", REG_DWORD, &dword, 3);
  key.Set(L"qword", REG_QWORD, &qword, sizeof(qword));
  key.Set(L"binary", REG_BINARY, binary, sizeof(binary));
  key.Set(L"none", REG_NONE, nullptr, 0);
  key.SetString(longName, L"long name");
  key.SetString(L"longData", longText);
  key.SetString(L"", L"default");  // the key's default value

  struct Expected {
    const wchar_t* name;
    DWORD type;
    DWORD size;
    std::wstring text;  // the text a string value reads as
  };
  const std::vector<Expected> table = {
      {L"plain", REG_SZ, 12, L"hello"},
      {L"unterminated", REG_SZ, 6, L"abc"},
      {L"odd7", REG_SZ, 7, L"abc"},
      {L"odd1", REG_SZ, 1, L""},
      {L"empty", REG_SZ, 0, L""},
      {L"embeddedNull", REG_SZ, 12, L"ab"},
      {L"expand", REG_EXPAND_SZ, 18, L"%TEMP%\\x"},
      {L"expandOdd", REG_EXPAND_SZ, 5, L"%A"},
      {L"multi", REG_MULTI_SZ, sizeof(multi), L""},
      {L"dword", REG_DWORD, 4, L""},
      {L"shortDword", REG_DWORD, 3, L""},
      {L"qword", REG_QWORD, 8, L""},
      {L"binary", REG_BINARY, 5, L""},
      {L"none", REG_NONE, 0, L""},
      {longName.c_str(), REG_SZ, 20, L"long name"},
      {L"longData", REG_SZ, static_cast<DWORD>((longText.size() + 1) * 2), longText},
      {L"", REG_SZ, 16, L"default"},
  };

  RegistryValueEnumerator e(HKEY_CURRENT_USER, key.Path().c_str());
  ASSERT_TRUE(e.IsOpen());
  EXPECT_EQ(e.MaxNameLength(), longName.size() + 1);
  EXPECT_EQ(e.MaxDataLength(), ((longText.size() + 1) * 2 + 2) / 2);
  const auto seen = ReadAll(e);
  EXPECT_EQ(e.LastError(), ERROR_NO_MORE_ITEMS);
  EXPECT_FALSE(e.IsOpen());
  ASSERT_EQ(seen.size(), table.size());
  for (const auto& want : table) {
    SCOPED_TRACE(testing::Message() << "value " << std::wstring(want.name).substr(0, 20));
    const auto it = seen.find(want.name);
    ASSERT_NE(it, seen.end());
    EXPECT_EQ(it->second.type, want.type);
    EXPECT_EQ(it->second.size, want.size);
    EXPECT_TRUE(it->second.text == want.text);
    EXPECT_TRUE(it->second.textTerminated);
  }
  EXPECT_EQ(seen.at(L"dword").data, std::vector<BYTE>({0x78, 0x56, 0x34, 0x12}));
  EXPECT_EQ(seen.at(L"binary").data, std::vector<BYTE>(binary, binary + 5));
}

TEST(RegistryValueEnumerator, TypedReadsAndStringFilter) {
  ScratchKey key;
  const DWORD dword = 7;
  key.Set(L"a_dword", REG_DWORD, &dword, sizeof(dword));
  key.Set(L"b_short", REG_DWORD, &dword, 2);
  key.SetString(L"c_text", L"one");
  key.Set(L"d_bin", REG_BINARY, "xy", 2);
  key.SetString(L"e_text", L"two", REG_EXPAND_SZ);

  {
    RegistryValueEnumerator e(HKEY_CURRENT_USER, key.Path().c_str());
    std::map<std::wstring, bool> dwordRead;
    while (e.Next()) {
      DWORD v = 0;
      dwordRead[std::wstring(e.Name())] = e.GetDword(v) && v == 7;
      if (!e.IsString()) {
        EXPECT_TRUE(e.Text().empty());
      }
    }
    EXPECT_EQ(dwordRead, (std::map<std::wstring, bool>{
                             {L"a_dword", true}, {L"b_short", false}, {L"c_text", false}, {L"d_bin", false},
                             {L"e_text", false}}));
  }
  RegistryValueEnumerator e(HKEY_CURRENT_USER, key.Path().c_str());
  std::map<std::wstring, std::wstring> strings;
  while (e.NextString()) strings[std::wstring(e.Name())] = std::wstring(e.Text());
  EXPECT_EQ(strings, (std::map<std::wstring, std::wstring>{{L"c_text", L"one"}, {L"e_text", L"two"}}));
}

// Values written after the key was opened outgrow the buffers sized at opening: the reader
// grows them and reads the value whole instead of stopping.
TEST(RegistryValueEnumerator, ValuesThatGrewAfterOpeningAreReadWhole) {
  ScratchKey key;
  key.SetString(L"a", L"1");
  key.SetString(L"b", L"2");
  RegistryValueEnumerator e(HKEY_CURRENT_USER, key.Path().c_str());
  ASSERT_TRUE(e.IsOpen());
  const DWORD nameBefore = e.MaxNameLength();
  const DWORD dataBefore = e.MaxDataLength();

  const std::wstring bigText(100000, L'q');
  const std::wstring bigName(700, L'n');
  key.SetString(L"a", bigText);
  key.SetString(bigName, L"named");
  key.Set(L"b", REG_SZ, bigText.c_str(), static_cast<DWORD>(bigText.size() * 2 - 1));  // odd, unterminated

  const auto seen = ReadAll(e);
  EXPECT_EQ(e.LastError(), ERROR_NO_MORE_ITEMS);
  ASSERT_EQ(seen.size(), 3u);
  EXPECT_TRUE(seen.at(L"a").text == bigText);
  EXPECT_TRUE(seen.at(bigName).text == L"named");
  EXPECT_EQ(seen.at(L"b").text.size(), bigText.size() - 1);
  EXPECT_TRUE(seen.at(L"b").textTerminated);
  EXPECT_GT(e.MaxNameLength(), nameBefore);
  EXPECT_GT(e.MaxDataLength(), dataBefore);
}

TEST(RegistryValueEnumerator, SizesOfTheKey) {
  ScratchKey key;
  key.Set(L"0123456789", REG_BINARY, "123456789", 9);
  key.Set(L"short", REG_BINARY, "1", 1);
  RegistryValueEnumerator e(HKEY_CURRENT_USER, key.Path().c_str());
  ASSERT_TRUE(e.IsOpen());
  EXPECT_EQ(e.MaxNameLength(), 11u);
  EXPECT_EQ(e.MaxDataLength(), 5u);
  EXPECT_EQ(e.NextIndex(), 0u);
  ASSERT_TRUE(e.Next());
  EXPECT_EQ(e.NextIndex(), 1u);
}

TEST(RegistryValueEnumerator, ViewFlagsOfTheAccess) {
  ScratchKey key;
  const struct {
    REGSAM extra;
    DWORD view;
  } table[] = {{0, 0}, {KEY_WOW64_64KEY, KEY_WOW64_64KEY}, {KEY_WOW64_32KEY, KEY_WOW64_32KEY},
               {KEY_WOW64_64KEY | KEY_SET_VALUE, KEY_WOW64_64KEY}};
  for (const auto& row : table) {
    RegistryValueEnumerator e(HKEY_CURRENT_USER, key.Path().c_str(), row.extra);
    EXPECT_TRUE(e.IsOpen());
    EXPECT_EQ(e.ViewFlags(), row.view);
  }
}

TEST(RegistryValueEnumerator, MissingKeysYieldNothingAndAreNotCreated) {
  const Type1KeyAside aside;
  ScratchKey key;
  const std::wstring missing = key.Path() + L"\\Missing";
  RegistryValueEnumerator e(HKEY_CURRENT_USER, missing.c_str());
  EXPECT_FALSE(e.IsOpen());
  EXPECT_FALSE(e.Next());
  EXPECT_FALSE(e.NextString());
  HKEY probe = nullptr;
  EXPECT_NE(::RegOpenKeyExW(HKEY_CURRENT_USER, missing.c_str(), 0, KEY_READ, &probe), ERROR_SUCCESS);
  if (probe) ::RegCloseKey(probe);

  // The Type 1 key's name in other letter case is just another missing key.
  std::wstring otherCase = kType1FontsKey;
  otherCase.back() = L'S';
  RegistryValueEnumerator e2(HKEY_CURRENT_USER, otherCase.c_str());
  EXPECT_FALSE(e2.IsOpen());
}

TEST(RegistryValueEnumerator, MissingType1KeyIsCreated) {
  const Type1KeyAside aside;
  HKEY probe = nullptr;
  ASSERT_NE(::RegOpenKeyExW(HKEY_CURRENT_USER, kType1Installer, 0, KEY_READ, &probe), ERROR_SUCCESS)
      << "the user's Type 1 key could not be moved aside";
  {
    RegistryValueEnumerator e(HKEY_CURRENT_USER, kType1FontsKey);
    EXPECT_TRUE(e.IsOpen());
    EXPECT_EQ(e.ViewFlags(), static_cast<DWORD>(KEY_WOW64_64KEY));
    EXPECT_EQ(e.MaxNameLength(), 0u);
    EXPECT_EQ(e.MaxDataLength(), 0u);
    EXPECT_FALSE(e.Next());
    EXPECT_EQ(e.LastError(), ERROR_NO_MORE_ITEMS);
  }
  EXPECT_EQ(::RegOpenKeyExW(HKEY_CURRENT_USER, kType1FontsKey, 0, KEY_READ, &probe), ERROR_SUCCESS);
  if (probe) ::RegCloseKey(probe);
  // Opened a second time it exists and is read normally.
  {
    RegistryValueEnumerator e(HKEY_CURRENT_USER, kType1FontsKey);
    EXPECT_TRUE(e.IsOpen());
    EXPECT_EQ(e.ViewFlags(), 0u);
    EXPECT_EQ(e.MaxNameLength(), 1u);
  }
}

TEST(RegistryValueEnumerator, ReadsTheSystemFontList) {
  constexpr wchar_t kFonts[] = L"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Fonts";
  HKEY k = nullptr;
  ASSERT_EQ(::RegOpenKeyExW(HKEY_LOCAL_MACHINE, kFonts, 0, KEY_READ, &k), ERROR_SUCCESS);
  orv::ScopedKey owner(k);
  DWORD count = 0;
  ASSERT_EQ(::RegQueryInfoKeyW(k, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &count, nullptr, nullptr,
                               nullptr, nullptr),
            ERROR_SUCCESS);
  RegistryValueEnumerator e(HKEY_LOCAL_MACHINE, kFonts, KEY_WOW64_64KEY);
  DWORD read = 0;
  while (e.NextString()) {
    ++read;
    EXPECT_FALSE(e.Text().empty());
  }
  EXPECT_EQ(e.LastError(), ERROR_NO_MORE_ITEMS);
  EXPECT_EQ(read, count);
  EXPECT_GT(read, 0u);
}

}  // namespace
