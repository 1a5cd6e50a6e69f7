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

  // Three adds in a row, as the editor makes them: each text equals its title.
  SampleList list;
  for (int i = 0; i < 3; ++i) {
    const std::wstring title = NewSampleTitle(list, L"New Sample");
    list.Append(title, title);
  }
  ASSERT_EQ(list.Count(), 3);
  EXPECT_EQ(list.Title(2), L"New Sample (2)");
  EXPECT_EQ(list.Text(1), L"New Sample (1)");
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
  struct Case {
    const wchar_t* resource;
    bool split;
    const wchar_t* title;
    const wchar_t* text;
  };
  const Case cases[] = {
      {L"Pangram\tThe quick fox", true, L"Pangram", L"The quick fox"},
      {L"Tabs\tone\ttwo", true, L"Tabs", L"one\ttwo"},
      {L"Empty\t", true, L"Empty", L""},
      {L"\tNo title", false, L"", L""},
      {L"No tab at all", false, L"", L""},
      {L"", false, L"", L""},
  };
  for (const Case& c : cases) {
    std::wstring title, text;
    EXPECT_EQ(SplitBuiltinSample(c.resource, title, text), c.split) << Narrow(c.resource);
    EXPECT_EQ(title, c.title);
    EXPECT_EQ(text, c.text);
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

  SampleList first = ListOf({L"Zeta", L"Alpha", L"Old"});
  SaveSamples(first);
  SampleList second = ListOf({L"Zeta", L"Alpha"});
  second.SetText(0, L"line one\r\nline two");
  SaveSamples(second);

  SampleList loaded;
  EXPECT_EQ(LoadUserSamples(loaded), 2) << "the removed sample's value is gone";
  ASSERT_EQ(loaded.Count(), 2);
  ASSERT_GE(loaded.FindTitle(L"Zeta"), 0);
  EXPECT_EQ(loaded.Text(loaded.FindTitle(L"Zeta")), L"line one\r\nline two");
  EXPECT_EQ(loaded.FindTitle(L"Old"), -1);

  // A value of another type is still read as text; an empty key means the built-ins again.
  {
    orv::ScopedKey key = OpenRegKey(HKEY_CURRENT_USER, kSamplesKeyPath, KEY_SET_VALUE);
    const wchar_t raw[] = L"raw";
    ASSERT_TRUE(WriteRegBinary(key.Get(), L"Binary", raw, sizeof(raw)));
  }
  loaded.Clear();
  LoadUserSamples(loaded);
  ASSERT_EQ(loaded.Count(), 3);
  EXPECT_EQ(loaded.Text(loaded.FindTitle(L"Binary")), L"raw");

  SaveSamples(SampleList());
  EXPECT_TRUE(OpenRegKey(HKEY_CURRENT_USER, kSamplesKeyPath, KEY_READ)) << "the key stays, empty";
  loaded.Clear();
  LoadSamples(loaded);
  EXPECT_EQ(loaded.Count(), 6);
}

TEST(SampleListArrays, RemoveKeepsOrderAndIgnoresBadIndexes) {
  SampleList list = ListOf({L"a", L"b", L"c"});
  list.RemoveAt(3);
  list.RemoveAt(-1);
  EXPECT_EQ(list.Count(), 3);
  list.RemoveAt(1);
  ASSERT_EQ(list.Count(), 2);
  EXPECT_EQ(list.Title(1), L"c");
  EXPECT_EQ(list.Text(1), L"text of c");
}

}  // namespace
