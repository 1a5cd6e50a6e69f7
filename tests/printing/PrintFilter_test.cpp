// The name a printer is given decides whether a font can be printed.
#include "printing/PrintFilter.h"

#include <gtest/gtest.h>

TEST(PrintFilter, PostScriptNamesOver63CharactersAreUnprintable) {
  const struct {
    size_t postScript;  // characters, 0 for none: the full name less its spaces stands in
    std::wstring fullName;
    bool printable;
  } cases[] = {{63, L"Short", true},
               {64, L"Short", false},
               {0, L"DejaVu Serif", true},
               {0, std::wstring(60, L'F') + L" Bold", false},
               {5, std::wstring(30000, L'F'), true}};
  for (const auto& c : cases) {
    FontItem font;
    font.postScriptName.assign(c.postScript, L'N');
    font.names.English(NameSlot::FullName) = c.fullName;
    EXPECT_EQ(HasPrintableName(font), c.printable) << c.postScript << " / " << c.fullName.size();
  }
}
