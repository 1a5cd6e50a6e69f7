// The temporary fonts folder (fonts taken out of zip folders for drawing) is emptied of its
// files, and only of them.
#include <windows.h>

#include <string>

#include <gtest/gtest.h>

#include "lists/TempFontsFolder.h"
#include "tests/support/TestSupport.h"

using namespace testing_support;

TEST(TempFontsFolder, EmptyingDeletesTheFilesEvenReadOnlyButNoSubfolder) {
  const std::wstring folder = GetTempFontsFolder();
  ASSERT_FALSE(folder.empty());
  const std::wstring sub = folder + L"\\kept";
  ::CreateDirectoryW(sub.c_str(), nullptr);
  WriteFileBytes(folder + L"\\a.ttf", "x", 1);
  WriteFileBytes(folder + L"\\b (2).otf", "x", 1);
  WriteFileBytes(folder + L"\\locked.ttf", "x", 1);
  ASSERT_TRUE(::SetFileAttributesW((folder + L"\\locked.ttf").c_str(), FILE_ATTRIBUTE_READONLY));
  WriteFileBytes(sub + L"\\inner.ttf", "x", 1);

  EmptyTempFontsFolder();

  for (const wchar_t* name : {L"\\a.ttf", L"\\b (2).otf", L"\\locked.ttf"})
    EXPECT_EQ(::GetFileAttributesW((folder + name).c_str()), INVALID_FILE_ATTRIBUTES) << Narrow(name);
  EXPECT_NE(::GetFileAttributesW((sub + L"\\inner.ttf").c_str()), INVALID_FILE_ATTRIBUTES);
  ::DeleteFileW((sub + L"\\inner.ttf").c_str());
  ::RemoveDirectoryW(sub.c_str());
}
