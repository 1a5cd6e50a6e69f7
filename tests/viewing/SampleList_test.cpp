// The sample texts: the naming rules of new and renamed samples, the built-in strings and the
// Samples key, which the editor replaces as a whole.
#include "viewing/SampleList.h"

#include <windows.h>

#include <gtest/gtest.h>

#include "app/Preferences.h"
#include "common/RegistryValue.h"
#include "tests/support/TestSupport.h"

using testing_support::Narrow;

namespace {

SampleList ListOf(std::initializer_list<const wchar_t*> titles) {
  SampleList list;
  for (const wchar_t* t : titles) list.Append(t, std::wstring(L"text of ") + t);
  return list;
}

TEST(SampleNaming, NewTitlesCountUpFromTheBase) {
  struct Case {
    std::initializer_list<const wchar_t*> existing;
    const wchar_t* expected;
  };
  const Case cases[] = {
      {{}, L"New Sample"},
      {{L"Pangram"}, L"New Sample"},
      {{L"New Sample"}, L"New Sample (1)"},
      {{L"New Sample", L"New Sample (1)"}, L"New Sample (2)"},
      // A gap is filled; the comparison is exact.
      {{L"New Sample", L"New Sample (2)"}, L"New Sample (1)"},
      {{L"new sample"}, L"New Sample"},
  };
  for (const Case& c : cases) EXPECT_EQ(NewSampleTitle(ListOf(c.existing), L"New Sample"), c.expected);
}

TEST(SampleNaming, RenamesAreTrimmedAndRefusedForEmptyOrTakenTitles) {
  const SampleList list = ListOf({L"Pangram", L"Alphabet"});
  struct Case {
    int index;
    const wchar_t* typed;
    TitleCheck expected;
    const wchar_t* trimmed;
  };
  const Case cases[] = {
      {0, L"Greek", TitleCheck::Accept, L"Greek"},
      {0, L"  Greek\t", TitleCheck::Accept, L"Greek"},
      {0, L"", TitleCheck::Refuse, L""},
      {0, L"   ", TitleCheck::Refuse, L""},
      {0, L"Pangram", TitleCheck::Refuse, L"Pangram"},           // its own title: no beep
      {0, L" Pangram ", TitleCheck::Refuse, L"Pangram"},
      {0, L"Alphabet", TitleCheck::RefuseWithBeep, L"Alphabet"},  // another sample's
      {1, L"Pangram", TitleCheck::RefuseWithBeep, L"Pangram"},
      {0, L"alphabet", TitleCheck::Accept, L"alphabet"},         // titles differ by case
  };
  for (const Case& c : cases) {
    std::wstring title = c.typed;
    EXPECT_EQ(CheckSampleTitle(list, c.index, title), c.expected) << Narrow(c.typed);
    EXPECT_EQ(title, c.trimmed);
  }
}

TEST(SampleNaming, BuiltinStringsSplitAtTheFirstTab) {
  const std::pair<const wchar_t*, const wchar_t*> cases[] = {
      {L"Tabs\tone\ttwo", L"Tabs|one\ttwo"}, {L"Empty\t", L"Empty|"}, {L"\tNo title", nullptr}, {L"No tab", nullptr}};
  for (const auto& [resource, expected] : cases) {
    std::wstring title, text;
    const bool split = SplitBuiltinSample(resource, title, text);
    EXPECT_EQ(split, expected != nullptr) << Narrow(resource);
    if (split) {
      EXPECT_EQ(title + L"|" + text, expected);
    }
  }
  // The six built-ins of the resource library all have the form.
  SampleList builtins;
  EXPECT_EQ(LoadBuiltinSamples(builtins), 6);
}

class SampleStore : public ::testing::Test {
protected:
  void SetUp() override { ::RegDeleteTreeW(HKEY_CURRENT_USER, kAppKeyPath); }
  void TearDown() override { ::RegDeleteTreeW(HKEY_CURRENT_USER, kAppKeyPath); }
};

TEST_F(SampleStore, SavingReplacesTheKeyAsAWhole) {
  SampleList none;
  LoadSamples(none);
  EXPECT_EQ(none.Count(), 6) << "no Samples key: the built-ins";
  SaveSamples(ListOf({L"Zeta", L"Alpha", L"Old"}));
  SampleList second = ListOf({L"Zeta", L"Alpha"});
  second.SetText(0, L"line one\r\nline two");
  SaveSamples(second);
  // A value of another type is still read as text.
  const wchar_t raw[] = L"raw";
  WriteRegBinary(OpenRegKey(HKEY_CURRENT_USER, kSamplesKeyPath, KEY_SET_VALUE).Get(), L"Binary", raw, sizeof(raw));
  SampleList loaded;
  EXPECT_EQ(LoadUserSamples(loaded), 3) << "the removed sample's value is gone";
  EXPECT_EQ(loaded.FindTitle(L"Old"), -1);
  EXPECT_EQ(loaded.Text(loaded.FindTitle(L"Zeta")), L"line one\r\nline two");
  EXPECT_EQ(loaded.Text(loaded.FindTitle(L"Binary")), L"raw");
  // An empty key means the built-ins again.
  SaveSamples(SampleList());
  loaded.Clear();
  LoadSamples(loaded);
  EXPECT_EQ(loaded.Count(), 6);
}

}  // namespace
