#include "common/ByteReader.h"

#include <algorithm>

namespace {

// The first read of a file: offset tables and table directories, and the small tables of
// small fonts.
constexpr uint64_t kFirstBlock = 4 * 1024;
// Ranges this close together are read as one: copying the gap costs less than another read.
constexpr uint64_t kJoinGap = 8 * 1024;
// Longer ranges are not prefetched; Read bounds them by the file's size first.
constexpr uint64_t kLongestPrefetch = 256 * 1024;
// The first block and the few that a face read adds: room for them is made once.
constexpr size_t kUsualBlocks = 4;

// The system's font code holds a font file unshared for a moment while it loads or unloads it:
// an open that meets such a hold is tried again, waiting 1 + 2 + 3 + 4 ms at most.
constexpr int kHeldOpenTries = 5;

thread_local uint32_t t_heldOpens = 0;

bool IsHeld(DWORD error) { return error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION; }

}  // namespace

uint32_t FileBytes::HeldOpens() { return t_heldOpens; }

bool FileBytes::Open(const std::wstring& path, DWORD extraAccess) {
  Close();
  orv::ScopedHandle file;
  for (int attempt = 1;; ++attempt) {
    file.Reset(::CreateFileW(path.c_str(), GENERIC_READ | extraAccess, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                             FILE_FLAG_RANDOM_ACCESS, nullptr));
    if (file) break;
    if (!IsHeld(::GetLastError())) return false;
    // A probe asks whether the file is held now: its answer is not waited for.
    if (extraAccess != 0 || attempt == kHeldOpenTries) {
      ++t_heldOpens;
      return false;
    }
    ::Sleep(static_cast<DWORD>(attempt));
  }
  if (extraAccess != 0) return true;
  file_ = std::move(file);
  blocks_.reserve(kUsualBlocks);
  // Headers and directories lie at the start: one read serves most of what a reader needs.
  (void)ReadBlock(0, kFirstBlock);
  return true;
}

void FileBytes::Close() {
  file_.Reset();
  size_ = 0;
  sizeKnown_ = false;
  position_ = 0;
  blocks_.clear();
}

uint64_t FileBytes::Size() {
  if (!sizeKnown_ && file_) {
    LARGE_INTEGER size{};
    // A size that cannot be had is taken as what was read: nothing beyond it is looked at.
    if (::GetFileSizeEx(file_.Get(), &size) && size.QuadPart >= 0) size_ = static_cast<uint64_t>(size.QuadPart);
    sizeKnown_ = true;
  }
  return size_;
}

bool FileBytes::HasBytes(uint64_t end) { return end <= size_ || end <= Size(); }

const FileBytes::Block* FileBytes::Find(uint64_t offset, uint64_t count) const {
  for (const Block& block : blocks_) {
    if (offset >= block.offset && offset - block.offset <= block.size && count <= block.size - (offset - block.offset))
      return &block;
  }
  return nullptr;
}

const FileBytes::Block* FileBytes::ReadBlock(uint64_t offset, uint64_t count) {
  if (sizeKnown_) count = offset > size_ ? 0 : std::min(count, size_ - offset);
  if (count == 0 || count > UINT32_MAX) return nullptr;
  Block block;
  block.offset = offset;
  block.data.reset(new uint8_t[static_cast<size_t>(count)]);
  // A plain read where the last one ended, else a seek first. Not a read at an OVERLAPPED
  // offset: Wine reports its completion through its server, ten times the cost of the read.
  if (offset != position_) {
    LARGE_INTEGER at{};
    at.QuadPart = static_cast<LONGLONG>(offset);
    if (!::SetFilePointerEx(file_.Get(), at, nullptr, FILE_BEGIN)) return nullptr;
    position_ = offset;
  }
  DWORD done = 0;
  if (!::ReadFile(file_.Get(), block.data.get(), static_cast<DWORD>(count), &done, nullptr)) {
    position_ = UINT64_MAX;  // unknown: the next read seeks
    return nullptr;
  }
  position_ = offset + done;
  if (!sizeKnown_) {
    // A read that stops short of its count stopped at the file's end.
    if (done < count && done > 0) {
      size_ = offset + done;
      sizeKnown_ = true;
    } else {
      size_ = std::max(size_, offset + done);
    }
  }
  if (done == 0) return nullptr;
  block.size = done;
  blocks_.push_back(std::move(block));
  return &blocks_.back();
}

ByteReader FileBytes::Read(uint64_t offset, uint64_t count) {
  if (!file_) return {};
  // A long range beyond what was read is bounded by the real size before a buffer is made for
  // it: a length a file states is never trusted for an allocation. A short one is just read.
  if (!sizeKnown_ && count > kFirstBlock && (offset > size_ || count > size_ - offset)) (void)Size();
  if (sizeKnown_) {
    if (offset > size_) return {};
    count = std::min(count, size_ - offset);
  }
  const Block* block = Find(offset, count);
  if (!block && count == 0) return ByteReader(nullptr, 0);
  if (!block) block = ReadBlock(offset, count);
  if (!block) return {};
  // A read that met the file's end (or a file that shrank) gives fewer bytes: the view ends
  // where they end.
  const uint64_t at = offset - block->offset;
  return ByteReader(block->data.get() + at, static_cast<size_t>(std::min<uint64_t>(count, block->size - at)));
}

void FileBytes::Prefetch(std::vector<Range> ranges) {
  if (!file_) return;
  std::erase_if(ranges, [&](const Range& r) { return r.count == 0 || r.count > kLongestPrefetch || Find(r.offset, r.count); });
  std::sort(ranges.begin(), ranges.end(), [](const Range& a, const Range& b) { return a.offset < b.offset; });
  for (size_t i = 0; i < ranges.size();) {
    const uint64_t start = ranges[i].offset;
    uint64_t end = start + ranges[i].count;
    for (++i; i < ranges.size() && ranges[i].offset <= end + kJoinGap &&
              std::max(end, ranges[i].offset + ranges[i].count) - start <= kLongestPrefetch;
         ++i)
      end = std::max(end, ranges[i].offset + ranges[i].count);
    (void)ReadBlock(start, end - start);
  }
}
