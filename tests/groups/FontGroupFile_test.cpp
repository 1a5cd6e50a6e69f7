// Loading and saving group files: missing, empty, damaged and locked files, failed writes,
// names outside the groups folder and an unusable groups folder.
#include "tests/groups/GroupsTestEnv.h"

#include "groups/GroupNames.h"

namespace {

const std::string kGoodFile =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<OrvelFontGroups>\r\n<Name>Keep me</Name>\r\n<Parent></Parent>\r\n"
    "<fonts>\r\n\t<font>\r\n\t\t<name>A</name>\r\n\t\t<path>C:\\a.ttf</path>\r\n\t</font>\r\n</fonts>\r\n"
    "</OrvelFontGroups>\r\n";

int g_writeCalls = 0;

// A disk that fills up: the first chunk goes half in, then the write fails.
BOOL FailHalfway(HANDLE file, const void* data, DWORD size, DWORD* written) {
  ++g_writeCalls;
  DWORD half = 0;
  ::WriteFile(file, data, size / 2, &half, nullptr);
  *written = half;
  ::SetLastError(ERROR_DISK_FULL);
  return FALSE;
}

// A write that reports success but takes fewer bytes than asked.
BOOL ShortWrite(HANDLE file, const void* data, DWORD size, DWORD* written) {
  return ::WriteFile(file, data, size > 1 ? size - 1 : size, written, nullptr);
}

bool BoxMentions(const testing_support::RecordedBox& box, const std::wstring& text) {
  return box.text.find(text) != std::wstring::npos;
}

}  // namespace

TEST_F(GroupsTest, MissingFileIsQuietAndSaveCreatesExactlyIt) {
  FontGroup g;
  g.Installed = true;
  EXPECT_FALSE(g.Load(L"orvelgrp00042.xml"));
  EXPECT_EQ(g.LoadState(), GroupLoadState::kMissing);
  EXPECT_EQ(g.FileName, L"orvelgrp00042.xml");
  EXPECT_TRUE(g.Installed) << "Load leaves the Installed flag alone";
  EXPECT_TRUE(testing_support::Boxes().empty());
  g.Name = L"New";
  ASSERT_TRUE(g.Save());
  EXPECT_EQ(FolderFiles(), (std::vector<std::wstring>{L"orvelgrp00042.xml"}));
}

TEST_F(GroupsTest, EmptyAndBlankFilesMayBeReplaced) {
  for (const std::string& bytes : {std::string(), std::string(" \r\n\t"),
                                   std::string("\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n")}) {
    WriteRaw(L"orvel_Root.xml", bytes);
    FontGroup g;
    EXPECT_FALSE(g.Load(L"orvel_Root.xml"));
    EXPECT_EQ(g.LoadState(), GroupLoadState::kEmpty);
    g.Name = L"Orvel Classification";
    EXPECT_TRUE(g.Save());
    EXPECT_NE(ReadRaw(L"orvel_Root.xml").find("<Name>Orvel Classification</Name>"), std::string::npos);
  }
  EXPECT_TRUE(testing_support::Boxes().empty());
}

namespace {

// kGoodFile with `inserted` put in front of the text `before`.
std::string GoodFileWith(const std::string& before, const std::string& inserted) {
  std::string bytes = kGoodFile;
  bytes.insert(bytes.find(before), inserted);
  return bytes;
}

// kGoodFile with the text `what` replaced by `with`.
std::string GoodFileReplacing(const std::string& what, const std::string& with) {
  std::string bytes = kGoodFile;
  bytes.replace(bytes.find(what), what.size(), with);
  return bytes;
}

}  // namespace

TEST_F(GroupsTest, DamagedFilesAreReportedAndNeverSavedOver) {
  std::string binary;
  for (int i = 0; i < 4096; ++i) binary += static_cast<char>((i * 7919) & 0xFF);
  const std::string node = "\t<node>\r\n\t<name>Child</name>\r\n\t<file>orvelgrp00002.xml</file>\r\n\t</node>\r\n";
  const std::string font = "\t<font>\r\n\t\t<name>B</name>\r\n\t\t<path>C:\\b.ttf</path>\r\n\t</font>\r\n";
  struct Case {
    const char* what;
    std::string bytes;
  } cases[] = {
      {"truncated in the fonts", kGoodFile.substr(0, kGoodFile.size() / 2)},
      {"truncated before the closing root tag", kGoodFile.substr(0, kGoodFile.size() - 8)},
      {"binary", binary},
      {"another program's XML", "<?xml version=\"1.0\"?><settings><a>1</a></settings>"},
      {"root tag in the wrong case", "<orvelfontgroups><Name>x</Name></orvelfontgroups>"},
      // Files the element reader would read only in part.
      {"an empty node before other nodes",
       GoodFileWith("<fonts>", "<orvelnodes>\r\n\t<node></node>\r\n" + node + "</orvelnodes>\r\n")},
      {"an empty node after the last one",
       GoodFileWith("<fonts>", "<orvelnodes>\r\n" + node + "\t<node></node>\r\n</orvelnodes>\r\n")},
      {"an empty font before other fonts", GoodFileWith("\t<font>", "\t<font></font>\r\n")},
      {"an empty font after the last one", GoodFileWith("</fonts>", "\t<font></font>\r\n" )},
      {"an unterminated node", GoodFileWith("<fonts>", "<orvelnodes>\r\n\t<node>\r\n\t<name>x</name>\r\n</orvelnodes>\r\n")},
      {"an unterminated node section", GoodFileWith("<fonts>", "<orvelnodes>\r\n" + node)},
      {"an unterminated font", GoodFileWith("</fonts>", "\t<font>\r\n\t\t<name>B</name>\r\n")},
      {"an unterminated name inside a font", GoodFileReplacing("<name>A</name>", "<name>A")},
      {"an unterminated Parent", GoodFileReplacing("<Parent></Parent>", "<Parent>orvel_Root.xml")},
      {"a font behind a zero byte", GoodFileWith("\t<font>", std::string("\0", 1) + font)},
      {"bytes that are no text under a UTF-8 mark", "\xEF\xBB\xBF" + GoodFileReplacing("Keep me", "Caf\xE9")},
      {"UTF-16 with a lone surrogate", [] {
         std::string bytes = "\xFF\xFE";
         for (wchar_t c : std::wstring(L"<OrvelFontGroups><Name>\xD834</Name></OrvelFontGroups>")) {
           bytes += static_cast<char>(c & 0xFF);
           bytes += static_cast<char>(c >> 8);
         }
         return bytes;
       }()},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    testing_support::ResetRecords();
    WriteRaw(L"orvel_Root.xml", c.bytes);
    FontGroup g;
    EXPECT_FALSE(g.Load(L"orvel_Root.xml"));
    EXPECT_EQ(g.LoadState(), GroupLoadState::kDamaged);
    EXPECT_TRUE(testing_support::Boxes().empty()) << "the main thread shows the notice once the action is done";
    EXPECT_TRUE(FlushGroupFileNotices());
    ASSERT_EQ(testing_support::Boxes().size(), 1u);
    EXPECT_EQ(testing_support::Boxes()[0].caption, GroupCaption());
    EXPECT_EQ(testing_support::Boxes()[0].type, static_cast<UINT>(MB_ICONHAND));
    EXPECT_TRUE(BoxMentions(testing_support::Boxes()[0], L"(orvel_Root.xml)"));
    // What the groups tree does at start-up when the root does not load.
    g.Name = L"Orvel Classification";
    EXPECT_FALSE(g.Save());
    g.Clear();
    g.FileName = L"ORVEL_ROOT.XML";
    EXPECT_FALSE(g.Save());
    EXPECT_EQ(ReadRaw(L"orvel_Root.xml"), c.bytes);
  }
}

TEST_F(GroupsTest, LockedFileIsReportedAndNotSavedOver) {
  WriteRaw(L"orvelgrp00001.xml", kGoodFile);
  HANDLE lock = ::CreateFileW(PathOf(L"orvelgrp00001.xml").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(lock, INVALID_HANDLE_VALUE);
  FontGroup g;
  EXPECT_FALSE(g.Load(L"orvelgrp00001.xml"));
  EXPECT_EQ(g.LoadState(), GroupLoadState::kUnreadable);
  EXPECT_TRUE(FlushGroupFileNotices());
  ASSERT_EQ(testing_support::Boxes().size(), 1u);
  EXPECT_FALSE(g.Save());
  ::CloseHandle(lock);
  EXPECT_FALSE(g.Save()) << "still the file this record could not read";
  EXPECT_EQ(ReadRaw(L"orvelgrp00001.xml"), kGoodFile);
  // A fresh load that succeeds lifts the guard.
  ASSERT_TRUE(g.Load(L"orvelgrp00001.xml"));
  EXPECT_TRUE(g.Save());
}

TEST_F(GroupsTest, FailedWriteLeavesTheOldFileAndIsReported) {
  WriteRaw(L"orvelgrp00001.xml", kGoodFile);
  struct Case {
    const char* what;
    group_store_seams::WriteHook hook;
  } cases[] = {{"disk full midway", &FailHalfway}, {"short write", &ShortWrite}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    testing_support::ResetRecords();
    g_writeCalls = 0;
    group_store_seams::SetWriteHook(c.hook);
    FontGroup g;
    ASSERT_TRUE(g.Load(L"orvelgrp00001.xml"));
    for (int i = 0; i < 200; ++i) g.AddFont(L"Font " + std::to_wstring(i), L"C:\\f" + std::to_wstring(i) + L".ttf");
    EXPECT_FALSE(g.Save());
    group_store_seams::SetWriteHook(nullptr);
    EXPECT_EQ(ReadRaw(L"orvelgrp00001.xml"), kGoodFile);
    EXPECT_EQ(FolderFiles(), (std::vector<std::wstring>{L"orvelgrp00001.xml"})) << "no temporary file left";
    EXPECT_TRUE(testing_support::Boxes().empty()) << "told after the step, by the idle pass";
    EXPECT_TRUE(FlushGroupFileNotices());
    ASSERT_EQ(testing_support::Boxes().size(), 1u);
    EXPECT_EQ(testing_support::Boxes()[0].caption, GroupCaption());
    EXPECT_TRUE(BoxMentions(testing_support::Boxes()[0], LoadResString(IDS_GROUP_FILE_FAILED)));
    EXPECT_TRUE(BoxMentions(testing_support::Boxes()[0], L"(orvelgrp00001.xml)"));
    if (c.hook == &FailHalfway) {
      EXPECT_EQ(g_writeCalls, 1);
    }
  }
}

TEST_F(GroupsTest, ReadOnlyTargetIsReportedAndKept) {
  WriteRaw(L"orvelgrp00001.xml", kGoodFile);
  ASSERT_TRUE(::SetFileAttributesW(PathOf(L"orvelgrp00001.xml").c_str(), FILE_ATTRIBUTE_READONLY));
  FontGroup g;
  ASSERT_TRUE(g.Load(L"orvelgrp00001.xml"));
  g.Name = L"Changed";
  EXPECT_FALSE(g.Save());
  EXPECT_FALSE(g.Save());
  EXPECT_TRUE(FlushGroupFileNotices());
  EXPECT_EQ(testing_support::Boxes().size(), 1u) << "two failed writes of one file, told once";
  ::SetFileAttributesW(PathOf(L"orvelgrp00001.xml").c_str(), FILE_ATTRIBUTE_NORMAL);
  EXPECT_EQ(ReadRaw(L"orvelgrp00001.xml"), kGoodFile);
  EXPECT_EQ(FolderFiles(), (std::vector<std::wstring>{L"orvelgrp00001.xml"}));
}

TEST_F(GroupsTest, TemporaryFileNeverLooksLikeAGroupFile) {
  // While the write runs, the only other file in the folder is the temporary one.
  static std::wstring s_folder;
  static std::vector<std::wstring> s_seen;
  s_folder = Folder();
  s_seen.clear();
  group_store_seams::SetWriteHook([](HANDLE file, const void* data, DWORD size, DWORD* written) -> BOOL {
    WIN32_FIND_DATAW fd;
    HANDLE find = ::FindFirstFileW((s_folder + L"\\*").c_str(), &fd);
    if (find != INVALID_HANDLE_VALUE) {
      do {
        if (fd.cFileName[0] != L'.') s_seen.push_back(fd.cFileName);
      } while (::FindNextFileW(find, &fd));
      ::FindClose(find);
    }
    return ::WriteFile(file, data, size, written, nullptr);
  });
  FontGroup g;
  g.FileName = L"orvelgrp00001.xml";
  ASSERT_TRUE(g.Save());
  ASSERT_EQ(s_seen.size(), 1u);
  EXPECT_FALSE(IsGroupFileName(s_seen[0]));
  EXPECT_EQ(FolderFiles(), (std::vector<std::wstring>{L"orvelgrp00001.xml"}));
}

TEST_F(GroupsTest, NamesOutsideTheGroupsFolderAreRefused) {
  testing_support::ScratchDir outside;
  const std::wstring outsideFile = outside.File(L"orvelgrp00001.xml");
  const std::wstring names[] = {
      L"..\\orvelgrp00001.xml", L"sub\\orvelgrp00001.xml", L"C:\\orvelgrp00001.xml", outsideFile,
      L"orvelgrp00001.xml:stream", L"orvel*.xml", L"notes.txt", L"group.xml", L"orvelgrp00001.xml ",
      L"orvel..xml", L"\\\\server\\share\\orvel_Root.xml", L"orvelgrp0\n0001.xml", L""};
  for (const std::wstring& name : names) {
    SCOPED_TRACE(testing_support::Narrow(name));
    FontGroup g;
    EXPECT_FALSE(g.Load(name));
    EXPECT_EQ(g.LoadState(), GroupLoadState::kRefused);
    if (name.empty()) continue;  // an empty name gets a new one on saving
    g.FileName = name;
    EXPECT_FALSE(g.Save());
  }
  EXPECT_TRUE(FolderFiles().empty());
  EXPECT_EQ(::GetFileAttributesW(outsideFile.c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST_F(GroupsTest, UnusableGroupsFolderRefusesToWork) {
  wchar_t cwd[MAX_PATH];
  ::GetCurrentDirectoryW(MAX_PATH, cwd);
  ::SetCurrentDirectoryW(Folder().c_str());
  for (const wchar_t* folder : {L"", L"Font Groups", L"\\Font Groups", L"C:Font Groups"}) {
    SCOPED_TRACE(testing_support::Narrow(folder));
    testing_support::ResetRecords();
    SetGroupsFolder(folder);
    FontGroup g;
    EXPECT_FALSE(g.Load(L"orvel_Root.xml"));
    EXPECT_EQ(g.LoadState(), GroupLoadState::kRefused);
    EXPECT_TRUE(g.NewFileName().empty());
    g.Name = L"Orvel Classification";
    EXPECT_FALSE(g.Save());
    g.FileName.clear();
    EXPECT_FALSE(g.Save());
    EXPECT_TRUE(FlushGroupFileNotices());
    ASSERT_EQ(testing_support::Boxes().size(), 1u) << "both failed writes in one box";
  }
  ::SetCurrentDirectoryW(cwd);
  EXPECT_TRUE(FolderFiles().empty()) << "nothing written into the current directory";
}

TEST_F(GroupsTest, HugeFileIsBoundedAndKept) {
  // 50 MB: more than any group holds. It is not read, so it is not saved over either.
  const size_t size = 50u * 1024 * 1024;
  {
    HANDLE f = ::CreateFileW(PathOf(L"orvelgrp00001.xml").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(f, INVALID_HANDLE_VALUE);
    std::string head = "<OrvelFontGroups><Name>big</Name><fonts>";
    DWORD w = 0;
    ::WriteFile(f, head.data(), static_cast<DWORD>(head.size()), &w, nullptr);
    LARGE_INTEGER end;
    end.QuadPart = static_cast<LONGLONG>(size);
    ::SetFilePointerEx(f, end, nullptr, FILE_BEGIN);
    ::SetEndOfFile(f);
    ::CloseHandle(f);
  }
  const ULONGLONG start = ::GetTickCount64();
  FontGroup g;
  EXPECT_FALSE(g.Load(L"orvelgrp00001.xml"));
  EXPECT_EQ(g.LoadState(), GroupLoadState::kUnreadable);
  EXPECT_LT(::GetTickCount64() - start, 2000u);
  EXPECT_TRUE(FlushGroupFileNotices());
  ASSERT_EQ(testing_support::Boxes().size(), 1u);
  EXPECT_FALSE(g.Save());
  WIN32_FILE_ATTRIBUTE_DATA data;
  ASSERT_TRUE(::GetFileAttributesExW(PathOf(L"orvelgrp00001.xml").c_str(), GetFileExInfoStandard, &data));
  EXPECT_EQ(data.nFileSizeLow, size);
}

TEST_F(GroupsTest, LargeUnsortedFileLoadsSorted) {
  // 60,000 fonts in reverse order, a few duplicates among them: about 6 MB.
  constexpr int kCount = 60000;
  std::string body = "<OrvelFontGroups>\r\n<Name>many</Name>\r\n<fonts>\r\n";
  for (int i = kCount; i > 0; --i) {
    char line[128];
    std::snprintf(line, sizeof(line), "\t<font>\r\n\t\t<name>Font %06d</name>\r\n\t\t<path>C:\\F\\%06d.ttf</path>\r\n\t</font>\r\n",
                  i, i % 59990);
    body += line;
  }
  body += "</fonts>\r\n</OrvelFontGroups>\r\n";
  WriteRaw(L"orvelgrp00001.xml", body);
  FontGroup g;
  ASSERT_TRUE(g.Load(L"orvelgrp00001.xml"));
  ASSERT_EQ(g.Fonts.size(), static_cast<size_t>(kCount));
  EXPECT_TRUE(std::is_sorted(g.Fonts.begin(), g.Fonts.end(),
                             [](const FontGroupEntry& a, const FontGroupEntry& b) { return a.Name < b.Name; }));
  EXPECT_EQ(g.Fonts.front().Name, L"Font 000001");
}
