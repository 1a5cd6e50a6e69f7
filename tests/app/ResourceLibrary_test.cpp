// The resource library as the program loads it: from the current directory, for its resources
// only. The code of a library of that name never runs, and every kind of resource the program
// takes from it still loads through the data-file handle.
#include <windows.h>

#include <string>

#include <gtest/gtest.h>

#include "app/ResourceLibrary.h"
#include "common/ResourceIds.h"
#include "framework/ToolbarResource.h"
#include "tests/support/TestSupport.h"

using namespace testing_support;

namespace {

bool Exists(const std::wstring& path) { return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

TEST(ResourceLibrary, CodeNeverRunsAndEveryKindOfResourceLoads) {
  ScratchDir dir;
  const std::wstring probe = BinDir() + L"\\OrvelResProbe.dll";
  // Loaded as code, the probe leaves its mark.
  const std::wstring control = dir.File(L"control.dll");
  ASSERT_TRUE(::CopyFileW(probe.c_str(), control.c_str(), FALSE));
  orv::ScopedModule(::LoadLibraryW(control.c_str())).Reset();
  ASSERT_TRUE(Exists(control + L".ran"));

  const std::wstring library = dir.File(L"OrvelRes64.dll");
  ASSERT_TRUE(::CopyFileW(probe.c_str(), library.c_str(), FALSE));
  wchar_t previous[MAX_PATH] = {};
  ::GetCurrentDirectoryW(MAX_PATH, previous);
  ::SetCurrentDirectoryW(dir.Path().c_str());
  orv::ScopedModule resources = LoadResourceLibrary();
  ::SetCurrentDirectoryW(previous);
  ASSERT_TRUE(resources) << "found in the current directory";
  EXPECT_FALSE(Exists(library + L".ran")) << "the library's code ran";
  const HMODULE res = resources.Get();
  EXPECT_NE(reinterpret_cast<ULONG_PTR>(res) & 3, 0u) << "a data-file handle";

  wchar_t text[64] = {};
  EXPECT_GT(::LoadStringW(res, IDS_CAPTION_APP, text, 64), 0);
  orv::ScopedMenu menu(::LoadMenuW(res, MAKEINTRESOURCEW(IDR_MAINFRAME)));
  EXPECT_GT(::GetMenuItemCount(menu.Get()), 3);
  HACCEL accelerators = ::LoadAcceleratorsW(res, MAKEINTRESOURCEW(IDR_MAINFRAME));
  EXPECT_GT(::CopyAcceleratorTableW(accelerators, nullptr, 0), 0);
  ::DestroyAcceleratorTable(accelerators);
  orv::ScopedBitmap strip(static_cast<HBITMAP>(
      ::LoadImageW(res, MAKEINTRESOURCEW(IDB_FONT_TYPES_LARGE), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
  BITMAP bm{};
  EXPECT_TRUE(strip && ::GetObjectW(strip.Get(), sizeof(bm), &bm) && bm.bmHeight == 32);
  EXPECT_TRUE(orv::ScopedCursor(static_cast<HCURSOR>(
      ::LoadImageW(res, MAKEINTRESOURCEW(IDCUR_VERTICAL_BAR), IMAGE_CURSOR, 0, 0, LR_DEFAULTSIZE))));
  EXPECT_TRUE(orv::ScopedIcon(static_cast<HICON>(::LoadImageW(res, MAKEINTRESOURCEW(IDR_MAINFRAME), IMAGE_ICON, 16, 16, 0))));
  HRSRC blocks = ::FindResourceW(res, MAKEINTRESOURCEW(IDR_UNICODE_BLOCKS), RT_RCDATA);
  const void* data = blocks ? ::LockResource(::LoadResource(res, blocks)) : nullptr;
  EXPECT_TRUE(data && static_cast<const char*>(data)[0] == '#' && ::SizeofResource(res, blocks) > 1000);
  const auto toolbar = orv::LoadToolbarResource(res, IDR_MAIN_TOOLBAR);
  EXPECT_TRUE(toolbar && toolbar->ImageCount() > 0);
  HWND dialog = ::CreateDialogParamW(res, MAKEINTRESOURCEW(IDD_CREATE_FONT_CASE), nullptr,
                                     [](HWND, UINT, WPARAM, LPARAM) -> INT_PTR { return FALSE; }, 0);
  EXPECT_TRUE(dialog && ::GetDlgItem(dialog, IDC_FONT_CASE_FOLDER));
  ::DestroyWindow(dialog);
}

}  // namespace
