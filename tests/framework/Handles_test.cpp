#include "framework/Handles.h"

#include <gtest/gtest.h>

#include <type_traits>

using namespace orv;

namespace {

static_assert(!std::is_copy_constructible_v<ScopedHandle>);
static_assert(!std::is_copy_assignable_v<ScopedKey>);
static_assert(std::is_nothrow_move_constructible_v<ScopedFont>);
static_assert(!std::is_copy_constructible_v<ComPtr<IUnknown>>);

bool IsOpenHandle(HANDLE h) {
  DWORD flags = 0;
  return ::GetHandleInformation(h, &flags) != FALSE;
}

TEST(Handles, OwnersCloseOnceAndMovesLeaveTheSourceEmpty) {
  HANDLE raw = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
  ASSERT_NE(raw, nullptr);
  {
    ScopedHandle a(raw);
    ScopedHandle b(std::move(a));
    EXPECT_FALSE(a.IsValid());
    EXPECT_EQ(b.Get(), raw);
    ScopedHandle c;
    c = std::move(b);
    EXPECT_TRUE(IsOpenHandle(raw));
  }
  EXPECT_FALSE(IsOpenHandle(raw)) << "the last owner closes";

  // INVALID_HANDLE_VALUE is "nothing held" too and is never closed.
  ScopedHandle invalid(INVALID_HANDLE_VALUE);
  EXPECT_FALSE(invalid.IsValid());

  HANDLE kept = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
  ScopedHandle owner(kept);
  HANDLE released = owner.Release();
  EXPECT_FALSE(owner.IsValid());
  EXPECT_TRUE(IsOpenHandle(released));
  ::CloseHandle(released);
}

TEST(Handles, RegistryKeyAndGdiOwners) {
  ScopedKey key;
  ASSERT_EQ(::RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\OrvelTestHandles", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                              key.Receive(), nullptr),
            ERROR_SUCCESS);
  EXPECT_TRUE(key.IsValid());
  key.Reset();
  EXPECT_FALSE(key.IsValid());
  ::RegDeleteKeyW(HKEY_CURRENT_USER, L"Software\\OrvelTestHandles");

  ScopedBrush brush(::CreateSolidBrush(RGB(1, 2, 3)));
  HBRUSH raw = brush.Get();
  EXPECT_EQ(::GetObjectType(raw), static_cast<DWORD>(OBJ_BRUSH));
  brush.Reset();
  EXPECT_EQ(::GetObjectType(raw), 0u);
}

}  // namespace
