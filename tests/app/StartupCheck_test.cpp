#include "app/StartupCheck.h"

#include <gtest/gtest.h>

TEST(WindowsRelease, TableEdges) {
  struct Case {
    unsigned major, build;
    int32_t release;
  } cases[] = {
      {6, 9600, 700},    {5, 2600, 700},    {10, 10240, 0},   {10, 10586, 0},   {10, 15063, 1809},
      {10, 16299, 1809}, {10, 17134, 1809}, {10, 17763, 1809}, {10, 17762, 0},  {10, 17764, 1903},
      {10, 18362, 1903}, {10, 22631, 1903}, {11, 0, 2000},     {12, 17763, 2000},
  };
  for (const Case& c : cases)
    EXPECT_EQ(WindowsReleaseFromVersion(c.major, c.build), c.release) << c.major << "." << c.build;
}

TEST(WindowsRelease, ReadsKernel32UnderWine) {
  // Wine's kernel32 carries version 10.0.18362.
  EXPECT_EQ(ReadWindowsRelease(), 1903);
}
