// Fonts a printer cannot take are left out of a print job: the name the printer is given.
#include "printing/PrintFilter.h"

#include <gtest/gtest.h>

#include "tests/support/TestSupport.h"

TEST(PrintFilter, PostScriptNamesLongerThanAPrinterTakesAreUnprintable) {
  struct Case {
    std::wstring postScriptName;
    std::wstring fullName;
    bool printable;
  };
  const Case cases[] = {
      {std::wstring(63, L'N'), L"Short", true},
      {std::wstring(64, L'N'), L"Short", false},
      {std::wstring(30000, L'N'), L"Short", false},
      {L"", L"DejaVu Serif", true},                         // no PostScript name: the full name stands in
      {L"", std::wstring(63, L'F') + L" Bold", false},      // 67 less the space
      {L"", std::wstring(58, L'F') + L" Bold", true},       // 63 less the space
      {L"Short", std::wstring(30000, L'F'), true},          // a long full name alone prints
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.postScriptName.size() << " / " << c.fullName.size());
    FontItem font;
    font.postScriptName = c.postScriptName;
    font.names.English(NameSlot::FullName) = c.fullName;
    EXPECT_EQ(HasPrintableName(font), c.printable);
  }
}
