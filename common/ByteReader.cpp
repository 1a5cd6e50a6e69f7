#include "common/ByteReader.h"

bool FileBytes::Open(const std::wstring& path, DWORD extraAccess) {
  Close();
  orv::ScopedHandle file(::CreateFileW(path.c_str(), GENERIC_READ | extraAccess, FILE_SHARE_READ, nullptr,
                                       OPEN_EXISTING, FILE_FLAG_RANDOM_ACCESS, nullptr));
  if (!file) return false;
  if (extraAccess != 0) return true;
  LARGE_INTEGER size{};
  if (!::GetFileSizeEx(file.Get(), &size) || size.QuadPart < 0 || size.QuadPart > 0xFFFFFFFFLL) return false;
  file_ = std::move(file);
  size_ = static_cast<uint64_t>(size.QuadPart);
  // Headers and directories lie at the start: one read serves most of what a reader needs.
  (void)Read(0, kFirstBlock);
  return true;
}

void FileBytes::Close() {
  file_.Reset();
  size_ = 0;
  blocks_.clear();
}

ByteReader FileBytes::Read(uint64_t offset, uint64_t count) {
  if (!file_ || offset > size_) return {};
  if (count > size_ - offset) count = size_ - offset;
  for (const auto& block : blocks_) {
    if (offset >= block->offset && offset - block->offset <= block->data.size() &&
        count <= block->data.size() - (offset - block->offset))
      return ByteReader(block->data.data() + (offset - block->offset), static_cast<size_t>(count));
  }
  if (count == 0) return ByteReader(nullptr, 0);
  auto block = std::make_unique<Block>();
  block->offset = offset;
  block->data.resize(static_cast<size_t>(count));
  OVERLAPPED at{};
  at.Offset = static_cast<DWORD>(offset & 0xFFFFFFFF);
  at.OffsetHigh = static_cast<DWORD>(offset >> 32);
  DWORD done = 0;
  if (!::ReadFile(file_.Get(), block->data.data(), static_cast<DWORD>(count), &done, &at)) return {};
  // A file that shrank since it was opened gives fewer bytes: the view ends where they end.
  block->data.resize(done);
  blocks_.push_back(std::move(block));
  return ByteReader(blocks_.back()->data.data(), done);
}
