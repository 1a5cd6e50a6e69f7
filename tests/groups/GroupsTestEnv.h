// What the group store tests share: a fixture whose groups folder is a fresh scratch folder,
// and helpers to write and read group files there.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "common/ResString.h"
#include "common/ResourceIds.h"
#include "groups/FontGroup.h"
#include "groups/GroupFileNotices.h"
#include "groups/GroupFileIo.h"
#include "tests/support/TestSupport.h"

class GroupsTest : public ::testing::Test {
protected:
  void SetUp() override {
    groupsFolder_ = dir_.Path();
    FontGroup::SetGroupsFolderSource(&groupsFolder_);
    ForgetToldGroupFiles();
    testing_support::ResetRecords();
  }
  void TearDown() override {
    FontGroup::SetGroupsFolderSource(nullptr);
    group_store_seams::SetWriteHook(nullptr);
    testing_support::ResetRecords();
  }

  // The groups folder of the records made from now on.
  void SetGroupsFolder(const std::wstring& folder) { groupsFolder_ = folder; }

  std::wstring Folder() const { return dir_.Path(); }
  std::wstring PathOf(const std::wstring& name) const { return dir_.File(name); }

  void WriteRaw(const std::wstring& name, const std::string& bytes) const {
    ASSERT_TRUE(testing_support::WriteFileBytes(PathOf(name), bytes.data(), bytes.size()));
  }
  std::string ReadRaw(const std::wstring& name) const { return testing_support::ReadFileBytes(PathOf(name)); }
  bool Exists(const std::wstring& name) const {
    return ::GetFileAttributesW(PathOf(name).c_str()) != INVALID_FILE_ATTRIBUTES;
  }

  // Every file name in the groups folder, sorted.
  std::vector<std::wstring> FolderFiles() const {
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW fd;
    HANDLE find = ::FindFirstFileW((dir_.Path() + L"\\*").c_str(), &fd);
    if (find != INVALID_HANDLE_VALUE) {
      do {
        const std::wstring n = fd.cFileName;
        if (n != L"." && n != L"..") names.push_back(n);
      } while (::FindNextFileW(find, &fd));
      ::FindClose(find);
    }
    std::sort(names.begin(), names.end());
    return names;
  }

  // A group file with the given Name, Parent and child files, saved through the store.
  void MakeGroup(const std::wstring& file, const std::wstring& name, const std::wstring& parent,
                 const std::vector<std::wstring>& children = {}, const std::vector<std::wstring>& fonts = {}) {
    FontGroup g;
    g.FileName = file;
    g.Name = name;
    g.Parent = parent;
    for (const std::wstring& child : children) g.AddNode(child + L" name", child, false, false);
    for (const std::wstring& font : fonts) g.AddFont(font, L"C:\\Fonts\\" + font + L".ttf");
    ASSERT_TRUE(g.Save()) << testing_support::Narrow(file);
  }

  static std::wstring GroupCaption() { return LoadResString(IDS_GROUPS_CAPTION); }

private:
  testing_support::ScratchDir dir_;
  std::wstring groupsFolder_;
};
