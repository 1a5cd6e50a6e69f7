// Damaged and hostile font files: valid fonts of each kind cut at every table boundary and at
// random lengths, and with offsets, counts and lengths overwritten by extreme values. Every case
// must end in a record marked unreadable or a partial record: no crash, no hang, no read
// outside the bytes read (every access goes through the bounds-checked byte reader, whose
// views end where the file's bytes end).
#include <gtest/gtest.h>

#include <chrono>
#include <random>

#include "fonts/FontFileReader.h"
#include "fonts/FontFileWalk.h"
#include "tests/support/HostileFonts.h"
#include "tests/support/TestSupport.h"

using namespace sfnt_test;

namespace {

constexpr size_t kMaxRecordsPerFile = 64 * 1024;

using Source = HostileSource;
std::vector<Source> Sources() { return HostileSources(); }

// One read of the damaged file, as the lists, the loader and the property pages do it.
size_t Exercise(const std::wstring& folder, const wchar_t* fileName) {
  size_t records = 0;
  ForEachFontItem(folder, fileName, [&](const FontItem& item) {
    ++records;
    EXPECT_TRUE(item.IsUnreadable() || item.HasFlag(font_flags::kRead));
    EXPECT_FALSE(item.FullName().empty() && !item.IsUnreadable() && !item.IsVariable());
    if (records > kMaxRecordsPerFile) throw std::runtime_error("endless walk");
  });
  FontFileReader byName;
  byName.folder = folder;
  byName.fileRef = fileName;
  byName.names.English(NameSlot::FullName) = L"Nothing Of That Name";
  if (std::wstring(fileName).ends_with(L".ttc")) {
    (void)byName.ReadCollectionFaceByName();
  } else if (byName.ReadFontFile() && byName.IsVariable()) {
    byName.names.English(NameSlot::FullName) = L"Nothing Of That Name";
    (void)byName.ReadNamedInstanceByName();
  }
  FontFileReader pages;
  pages.folder = folder;
  pages.fileRef = fileName;
  if (pages.OpenSfnt(0)) {
    std::wstring all[26];
    pages.ReadAllNames(all);
    (void)pages.SupportsVerticalLayout();
    pages.CloseFile();
  }
  return records;
}

class HostileInput : public ::testing::Test {
protected:
  void Run(const Bytes& bytes, const wchar_t* fileName, const std::string& what) {
    WriteFile(dir_.File(fileName), bytes);
    const size_t records = Exercise(dir_.Path(), fileName);
    EXPECT_GE(records, 1u) << what;
    ++cases_;
  }
  void TearDown() override { std::printf("%zu hostile cases\n", cases_); }

  testing_support::ScratchDir dir_;
  size_t cases_ = 0;
};

TEST_F(HostileInput, TruncatedAtEveryTableBoundaryAndAtRandom) {
  std::mt19937 random(20260);
  for (const Source& s : Sources()) {
    std::vector<size_t> cuts = {0, 1, 4, 11, 12, 13, 27, 28};
    const bool collection = s.bytes.compare(0, 4, "ttcf") == 0;
    std::vector<uint32_t> faces = {0};
    if (collection) {
      faces.clear();
      for (uint32_t i = 0; i < GetU32(s.bytes, 8); ++i) faces.push_back(GetU32(s.bytes, 12 + 4 * i));
    }
    for (uint32_t face : faces) {
      for (const TableEntry& t : ReadDirectory(s.bytes, face)) {
        for (size_t c : {size_t{t.recordOffset}, size_t{t.recordOffset} + 8, size_t{t.offset}, size_t{t.offset} + 1,
                         size_t{t.offset} + t.length / 2, size_t{t.offset} + t.length - 1, size_t{t.offset} + t.length})
          cuts.push_back(c);
      }
    }
    for (int i = 0; i < 300; ++i) cuts.push_back(random() % (s.bytes.size() + 1));
    for (size_t cut : cuts) {
      if (cut > s.bytes.size()) continue;
      Run(s.bytes.substr(0, cut), s.fileName, std::string(s.label) + " cut at " + std::to_string(cut));
    }
  }
}

TEST_F(HostileInput, RealFontCutAtTableBoundaries) {
  const Bytes dejavu = ReadFile(L"Z:\\usr\\share\\fonts\\truetype\\dejavu\\DejaVuSans.ttf");
  if (dejavu.empty()) GTEST_SKIP();
  for (const TableEntry& t : ReadDirectory(dejavu)) {
    // Tables the record needs are read; cut inside them and right after them.
    if (t.tag != "name" && t.tag != "OS/2" && t.tag != "head" && t.tag != "GSUB") continue;
    for (size_t cut : {size_t{t.offset}, size_t{t.offset} + 20, size_t{t.offset} + t.length - 1})
      Run(dejavu.substr(0, cut), L"d.ttf", "DejaVu cut at " + std::to_string(cut));
  }
}

TEST_F(HostileInput, ExtremeOffsetsCountsAndLengths) {
  for (const Source& s : Sources()) {
    const uint32_t size = static_cast<uint32_t>(s.bytes.size());
    const uint32_t extremes32[] = {0, 1, 0xFFFF, 0x7FFFFFFF, 0xFFFFFFFF, size, size - 1, size + 1};
    const uint16_t extremes16[] = {0, 1, 0x7FFF, 0xFFFF, static_cast<uint16_t>(size)};
    const bool collection = s.bytes.compare(0, 4, "ttcf") == 0;
    std::vector<uint32_t> faces = {0};
    if (collection) {
      faces.clear();
      for (uint32_t i = 0; i < GetU32(s.bytes, 8); ++i) faces.push_back(GetU32(s.bytes, 12 + 4 * i));
      for (uint32_t v : extremes32) {
        Bytes b = s.bytes;
        SetU32(b, 8, v);
        Run(b, s.fileName, "numFonts");
        for (size_t i = 0; i < faces.size(); ++i) {
          Bytes c = s.bytes;
          SetU32(c, 12 + 4 * i, v);
          Run(c, s.fileName, "face offset");
        }
      }
    }
    for (uint32_t face : faces) {
      for (uint16_t v : extremes16) {
        Bytes b = s.bytes;
        SetU16(b, face + 4, v);
        Run(b, s.fileName, "numTables");
      }
      for (const TableEntry& t : ReadDirectory(s.bytes, face)) {
        for (uint32_t v : extremes32) {
          Bytes b = s.bytes;
          SetU32(b, t.recordOffset + 8, v);
          Run(b, s.fileName, t.tag + " offset");
          Bytes c = s.bytes;
          SetU32(c, t.recordOffset + 12, v);
          Run(c, s.fileName, t.tag + " length");
        }
        if (t.tag != "name" && t.tag != "fvar" && t.tag != "STAT" && t.tag != "OS/2" && t.tag != "GSUB") continue;
        // Every 16-bit field of the table's first 64 bytes (headers, first records).
        const uint32_t span = std::min<uint32_t>(t.length, 64);
        for (uint32_t at = 0; at + 2 <= span; at += 2) {
          for (uint16_t v : {uint16_t{0}, uint16_t{0xFFFF}, uint16_t{0x8000}}) {
            Bytes b = s.bytes;
            SetU16(b, t.offset + at, v);
            Run(b, s.fileName, t.tag + " field " + std::to_string(at));
          }
        }
        // fvar instance records and STAT offsets are 32-bit in places.
        for (uint32_t at = 0; at + 4 <= span; at += 4) {
          Bytes b = s.bytes;
          SetU32(b, t.offset + at, 0xFFFFFFFF);
          Run(b, s.fileName, t.tag + " word " + std::to_string(at));
        }
      }
    }
  }
}

TEST_F(HostileInput, Type1SegmentLengths) {
  const std::string text = Type1ClearText("/FontName /Hostile def\n/FullName (Hostile) readonly def\n");
  std::mt19937 random(7);
  WriteFile(dir_.File(L"t.pfm"), MinimalPfm());
  const Bytes pfb = BuildPfb(text);
  for (uint32_t declared : {0u, 1u, 6u, 0xFFFFu, 0x10000u, 0x7FFFFFFFu, 0xFFFFFFFEu,
                            static_cast<uint32_t>(text.size()) + 1, static_cast<uint32_t>(pfb.size())}) {
    Run(BuildPfb(text, declared), L"t.pfm", "pfb length");
    WriteFile(dir_.File(L"t.pfb"), BuildPfb(text, declared));
    Run(MinimalPfm(), L"t.pfm", "pfb length");
  }
  for (int i = 0; i < 100; ++i) {
    WriteFile(dir_.File(L"t.pfb"), pfb.substr(0, random() % (pfb.size() + 1)));
    Run(MinimalPfm(), L"t.pfm", "pfb cut");
  }
}

}  // namespace
