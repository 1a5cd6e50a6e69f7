// The resource library as the program loads it: from the current directory, for its resources
// only. A library of that name with code in it never runs, and every kind of resource the
// program takes from it still loads through the data-file handle.
#include <windows.h>

#include <string>

#include <gtest/gtest.h>

#include "app/ResourceLibrary.h"
#include "common/ResourceIds.h"
#include "framework/ToolbarResource.h"
#include "tests/support/TestSupport.h"

using namespace testing_support;

namespace {

std::wstring ProbeDll() { return BinDir() + L"\\OrvelResProbe.dll"; }

bool Exists(const std::wstring& path) { return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// Makes `folder` the current directory for the lifetime of the object.
class InFolder {
public:
  explicit InFolder(const std::wstring& folder) {
    wchar_t previous[MAX_PATH] = {};
    ::GetCurrentDirectoryW(MAX_PATH, previous);
    previous_ = previous;
    ::SetCurrentDirectoryW(folder.c_str());
  }
  ~InFolder() { ::SetCurrentDirectoryW(previous_.c_str()); }

private:
  std::wstring previous_;
};

TEST(ResourceLibrary, TheEntryPointOfALibraryInTheCurrentFolderNeverRuns) {
  ScratchDir dir;
  // The probe does leave its mark when it is loaded as code.
  const std::wstring control = dir.File(L"control.dll");
  ASSERT_TRUE(::CopyFileW(ProbeDll().c_str(), control.c_str(), FALSE));
  {
    orv::ScopedModule code(::LoadLibraryW(control.c_str()));
    ASSERT_TRUE(code);
  }
  EXPECT_TRUE(Exists(control + L".ran"));

  const std::wstring library = dir.File(L"OrvelRes64.dll");
  ASSERT_TRUE(::CopyFileW(ProbeDll().c_str(), library.c_str(), FALSE));
  InFolder here(dir.Path());
  orv::ScopedModule resources = LoadResourceLibrary();
  ASSERT_TRUE(resources) << "found in the current directory";
  EXPECT_NE(reinterpret_cast<ULONG_PTR>(resources.Get()) & 3, 0u) << "a data-file handle";
  EXPECT_FALSE(Exists(library + L".ran")) << "the library's code ran";
  wchar_t text[64] = {};
  EXPECT_GT(::LoadStringW(resources.Get(), IDS_CAPTION_APP, text, 64), 0);
  resources.Reset();
  EXPECT_FALSE(Exists(library + L".ran"));
}

// Every kind of resource the program takes from the library, through the handle the program
// uses (the test main loads it the same way).
TEST(ResourceLibrary, EveryKindOfResourceLoadsFromTheDataFileHandle) {
  orv::ScopedModule resources = LoadResourceLibrary(BinDir() + L"\\OrvelRes64.dll");
  ASSERT_TRUE(resources);
  const HMODULE res = resources.Get();

  wchar_t text[64] = {};
  EXPECT_GT(::LoadStringW(res, IDS_CAPTION_APP, text, 64), 0) << "string";

  orv::ScopedMenu menu(::LoadMenuW(res, MAKEINTRESOURCEW(IDR_MAINFRAME)));
  ASSERT_TRUE(menu);
  EXPECT_GT(::GetMenuItemCount(menu.Get()), 3) << "menu";

  HACCEL accelerators = ::LoadAcceleratorsW(res, MAKEINTRESOURCEW(IDR_MAINFRAME));
  ASSERT_TRUE(accelerators);
  EXPECT_GT(::CopyAcceleratorTableW(accelerators, nullptr, 0), 0) << "accelerators";
  ::DestroyAcceleratorTable(accelerators);

  orv::ScopedBitmap strip(static_cast<HBITMAP>(
      ::LoadImageW(res, MAKEINTRESOURCEW(IDB_FONT_TYPES_LARGE), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
  BITMAP bm{};
  ASSERT_TRUE(strip && ::GetObjectW(strip.Get(), sizeof(bm), &bm));
  EXPECT_EQ(bm.bmHeight, 32) << "bitmap";

  orv::ScopedCursor cursor(static_cast<HCURSOR>(
      ::LoadImageW(res, MAKEINTRESOURCEW(IDCUR_VERTICAL_BAR), IMAGE_CURSOR, 0, 0, LR_DEFAULTSIZE)));
  EXPECT_TRUE(cursor) << "cursor";
  orv::ScopedIcon icon(static_cast<HICON>(::LoadImageW(res, MAKEINTRESOURCEW(IDR_MAINFRAME), IMAGE_ICON, 16, 16, 0)));
  EXPECT_TRUE(icon) << "icon";

  HRSRC blocks = ::FindResourceW(res, MAKEINTRESOURCEW(IDR_UNICODE_BLOCKS), RT_RCDATA);
  ASSERT_TRUE(blocks) << "RCDATA";
  EXPECT_GT(::SizeofResource(res, blocks), 1000u);
  const void* data = ::LockResource(::LoadResource(res, blocks));
  ASSERT_TRUE(data);
  EXPECT_EQ(static_cast<const char*>(data)[0], '#');

  const auto toolbar = orv::LoadToolbarResource(res, IDR_MAIN_TOOLBAR);
  ASSERT_TRUE(toolbar) << "RT_TOOLBAR";
  EXPECT_GT(toolbar->ImageCount(), 0u);

  HWND dialog = ::CreateDialogParamW(res, MAKEINTRESOURCEW(IDD_CREATE_FONT_CASE), nullptr,
                                     [](HWND, UINT, WPARAM, LPARAM) -> INT_PTR { return FALSE; }, 0);
  ASSERT_TRUE(dialog) << "dialog template";
  EXPECT_TRUE(::GetDlgItem(dialog, IDC_FONT_CASE_FOLDER));
  ::DestroyWindow(dialog);
}

}  // namespace
