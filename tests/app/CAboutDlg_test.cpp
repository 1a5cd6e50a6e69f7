// The About box's version line, from the version resource of a file (the box itself is opened
// in the running program by OrvelManagerProcess_test).
#include <windows.h>

#include <gtest/gtest.h>

#include "app/CAboutDlg.h"
#include "tests/support/TestSupport.h"

using testing_support::BinDir;

namespace {

TEST(AboutVersion, ReleaseShowsTwoPartsAndEverythingElseFourWithBeta) {
  VS_FIXEDFILEINFO info{};
  info.dwProductVersionMS = MAKELONG(2, 5);
  info.dwProductVersionLS = MAKELONG(4, 3);
  EXPECT_EQ(AboutVersionText(&info), L"Version 5.2 (64-bit)");
  info.dwFileFlags = VS_FF_PRERELEASE;
  EXPECT_EQ(AboutVersionText(&info), L"Version \u00DF 5.2.3.4 (64-bit)");
  EXPECT_EQ(AboutVersionText(nullptr), L"Version \u00DF 0.0.0.0 (64-bit)");
  // The program's own file against files without a version resource.
  ASSERT_TRUE(ReadFixedFileInfo(BinDir() + L"\\OrvelManager.exe", info));
  EXPECT_EQ(AboutVersionText(&info), L"Version 1.0 (64-bit)");
  EXPECT_FALSE(ReadFixedFileInfo(BinDir() + L"\\OrvelRes64.dll", info));
  EXPECT_FALSE(ReadFixedFileInfo(BinDir() + L"\\no such file.exe", info));
}

}  // namespace
