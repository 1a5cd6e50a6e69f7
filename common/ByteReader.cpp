#include "common/ByteReader.h"

#include <utility>

MappedFileBytes::MappedFileBytes(MappedFileBytes&& other) noexcept
    : file_(std::move(other.file_)), mapping_(std::move(other.mapping_)),
      view_(std::exchange(other.view_, nullptr)), bytes_(std::exchange(other.bytes_, {})),
      open_(std::exchange(other.open_, false)) {}

MappedFileBytes& MappedFileBytes::operator=(MappedFileBytes&& other) noexcept {
  if (this != &other) {
    Close();
    file_ = std::move(other.file_);
    mapping_ = std::move(other.mapping_);
    view_ = std::exchange(other.view_, nullptr);
    bytes_ = std::exchange(other.bytes_, {});
    open_ = std::exchange(other.open_, false);
  }
  return *this;
}

bool MappedFileBytes::Open(const std::wstring& path, DWORD extraAccess) {
  Close();
  orv::ScopedHandle file(::CreateFileW(path.c_str(), GENERIC_READ | extraAccess, FILE_SHARE_READ,
                                       nullptr, OPEN_EXISTING, FILE_FLAG_RANDOM_ACCESS, nullptr));
  if (!file) return false;
  if (extraAccess != 0) return true;
  LARGE_INTEGER size{};
  if (!::GetFileSizeEx(file.Get(), &size) || size.QuadPart < 0 || size.QuadPart > 0xFFFFFFFFLL)
    return false;
  if (size.QuadPart > 0) {
    // A zero-length file cannot be mapped; it is simply an empty span.
    orv::ScopedHandle mapping(::CreateFileMappingW(file.Get(), nullptr, PAGE_READONLY, 0, 0, nullptr));
    if (!mapping) return false;
    const void* view = ::MapViewOfFile(mapping.Get(), FILE_MAP_READ, 0, 0, 0);
    if (!view) return false;
    mapping_ = std::move(mapping);
    view_ = view;
    bytes_ = ByteReader(view, static_cast<size_t>(size.QuadPart));
  }
  file_ = std::move(file);
  open_ = true;
  return true;
}

void MappedFileBytes::Close() {
  if (view_) ::UnmapViewOfFile(view_);
  view_ = nullptr;
  bytes_ = {};
  mapping_.Reset();
  file_.Reset();
  open_ = false;
}
