#include "lists/CZipperImpl.h"

namespace zip_detail {

bool WaitForCompleteFile(const std::wstring& path) {
  LONGLONG lastSize = -1;
  for (int attempt = 0; attempt < 50; ++attempt) {
    orv::ScopedHandle file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                         FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file) {
      LARGE_INTEGER size{};
      if (::GetFileSizeEx(file.Get(), &size) && size.QuadPart == lastSize) return true;
      lastSize = size.QuadPart;
    }
    ::Sleep(100);
  }
  return false;
}

}  // namespace zip_detail
