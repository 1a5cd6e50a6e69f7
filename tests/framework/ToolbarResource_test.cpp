#include "framework/ToolbarResource.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

std::vector<uint8_t> Blob(std::initializer_list<WORD> words) {
  std::vector<uint8_t> bytes;
  for (WORD w : words) {
    bytes.push_back(static_cast<uint8_t>(w & 0xFF));
    bytes.push_back(static_cast<uint8_t>(w >> 8));
  }
  return bytes;
}

}  // namespace

TEST(ToolbarResource, ParsesCommandsAndSeparators) {
  const auto blob = Blob({1, 16, 15, 5, 170, 0, 142, 0xE800, 0});
  const auto res = orv::ParseToolbarResource(blob.data(), blob.size());
  ASSERT_TRUE(res);
  EXPECT_EQ(res->ImageWidth, 16);
  EXPECT_EQ(res->ImageHeight, 15);
  EXPECT_EQ(res->Items, (std::vector<WORD>{170, 0, 142, 0xE800, 0}));
  EXPECT_EQ(res->ImageCount(), 3u);
  EXPECT_EQ(res->ImageOf(170), 0);
  EXPECT_EQ(res->ImageOf(142), 1);
  EXPECT_EQ(res->ImageOf(0xE800), 2);
  EXPECT_EQ(res->ImageOf(999), -1);
  EXPECT_EQ(res->ImageOf(0), -1);  // a separator has no image
}

TEST(ToolbarResource, RejectsBrokenBlobs) {
  struct Case {
    const char* what;
    std::vector<uint8_t> bytes;
    bool ok;
  } cases[] = {
      {"empty", {}, false},
      {"half a header", Blob({1, 16}), false},
      {"header without count", Blob({1, 16, 16}), false},
      {"version 2", Blob({2, 16, 16, 1, 100}), false},
      {"zero width", Blob({1, 0, 16, 1, 100}), false},
      {"zero height", Blob({1, 16, 0, 1, 100}), false},
      {"count past the end", Blob({1, 16, 16, 3, 100, 101}), false},
      {"huge count", Blob({1, 16, 16, 0xFFFF, 100}), false},
      {"odd trailing byte in an item", [] { auto b = Blob({1, 16, 16, 2, 100}); b.push_back(7); return b; }(), false},
      {"no items", Blob({1, 16, 16, 0}), true},
      {"trailing padding kept out", Blob({1, 16, 16, 1, 100, 0, 0}), true},
  };
  for (const Case& c : cases) {
    const auto res = orv::ParseToolbarResource(c.bytes.empty() ? nullptr : c.bytes.data(), c.bytes.size());
    EXPECT_EQ(res.has_value(), c.ok) << c.what;
  }
  const auto padded = Blob({1, 16, 16, 1, 100, 0, 0});
  EXPECT_EQ(orv::ParseToolbarResource(padded.data(), padded.size())->Items.size(), 1u);
}

TEST(ToolbarResource, MissingResourceGivesNothing) {
  EXPECT_FALSE(orv::LoadToolbarResource(::GetModuleHandleW(nullptr), 4711));
  EXPECT_FALSE(orv::LoadToolbarImageList(::GetModuleHandleW(nullptr), 4711, 16, 16));
}
