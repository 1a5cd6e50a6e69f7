// Golden output of fontinfo.exe over the Debian fonts and the generated variable fonts: every
// field of every record the readers yield, compared line by line with data/golden/*.jsonl.
#include <windows.h>

#include <gtest/gtest.h>

#include <sstream>

#include "framework/Handles.h"
#include "tests/support/TestSupport.h"

namespace {

std::string RunFontInfo(const std::wstring& arguments, const std::wstring& workingFolder) {
  SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
  orv::ScopedHandle readEnd, writeEnd;
  if (!::CreatePipe(readEnd.Receive(), writeEnd.Receive(), &inherit, 0)) return {};
  ::SetHandleInformation(readEnd.Get(), HANDLE_FLAG_INHERIT, 0);
  STARTUPINFOW startup{sizeof startup};
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdOutput = writeEnd.Get();
  startup.hStdError = writeEnd.Get();
  startup.hStdInput = nullptr;
  std::wstring command = L"\"" + testing_support::BinDir() + L"\\fontinfo.exe\" " + arguments;
  PROCESS_INFORMATION process{};
  if (!::CreateProcessW(nullptr, command.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr,
                        workingFolder.c_str(), &startup, &process))
    return {};
  orv::ScopedHandle processHandle(process.hProcess), threadHandle(process.hThread);
  writeEnd.Reset();
  std::string out;
  char buffer[4096];
  DWORD got = 0;
  while (::ReadFile(readEnd.Get(), buffer, sizeof buffer, &got, nullptr) && got > 0) out.append(buffer, got);
  ::WaitForSingleObject(processHandle.Get(), 10000);
  return out;
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> out;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (!line.empty()) out.push_back(line);
  }
  return out;
}

void ExpectGolden(const std::wstring& arguments, const std::wstring& folder, const wchar_t* golden) {
  const std::wstring goldenPath = testing_support::SourceDir() + L"\\tests\\fonts\\data\\golden\\" + golden;
  const auto expected = Lines(testing_support::ReadFileBytes(goldenPath));
  const auto actual = Lines(RunFontInfo(arguments, folder));
  ASSERT_FALSE(expected.empty()) << testing_support::Narrow(goldenPath);
  ASSERT_EQ(actual.size(), expected.size());
  for (size_t i = 0; i < expected.size(); ++i) EXPECT_EQ(actual[i], expected[i]) << "record " << i;
}

TEST(FontInfoGolden, DebianFonts) {
  const wchar_t* files[] = {L"Z:\\usr\\share\\fonts\\truetype\\dejavu\\DejaVuSans.ttf",
                            L"Z:\\usr\\share\\fonts\\opentype\\cantarell\\Cantarell-Bold.otf",
                            L"Z:\\usr\\share\\fonts\\opentype\\noto\\NotoSansCJK-Regular.ttc"};
  std::wstring arguments;
  for (const wchar_t* f : files) {
    if (::GetFileAttributesW(f) == INVALID_FILE_ATTRIBUTES) GTEST_SKIP() << "font packages missing";
    arguments += L"\"" + std::wstring(f) + L"\" ";
  }
  ExpectGolden(arguments, testing_support::BinDir(), L"debian_fonts.jsonl");
}

TEST(FontInfoGolden, GeneratedVariableFonts) {
  ExpectGolden(L"OrvelVarStat.ttf OrvelVarPlain.ttf OrvelVarNoStat.ttf missing.ttf",
               testing_support::SourceDir() + L"\\tests\\fonts\\data", L"variable_fonts.jsonl");
}

}  // namespace
