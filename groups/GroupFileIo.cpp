#include "groups/GroupFileIo.h"

#include <algorithm>

#include "framework/Handles.h"

namespace {

constexpr wchar_t kTempPrefix[] = L"~og";   // GetTempFileNameW: "~ogXXXX.tmp"
constexpr DWORD kReadChunk = 1u << 20;
constexpr DWORD kWriteChunk = 1u << 20;

group_store_seams::WriteHook g_writeHook = nullptr;

BOOL WriteChunk(HANDLE file, const void* data, DWORD size, DWORD* written) {
  if (g_writeHook) return g_writeHook(file, data, size, written);
  return ::WriteFile(file, data, size, written, nullptr);
}

bool IsNotFound(DWORD error) { return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND; }

DWORD ErrorOr(DWORD fallback) {
  const DWORD error = ::GetLastError();
  return error ? error : fallback;
}

DWORD WriteAll(HANDLE file, const std::string& bytes) {
  size_t done = 0;
  while (done < bytes.size()) {
    const DWORD chunk = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, kWriteChunk));
    DWORD written = 0;
    ::SetLastError(0);
    if (!WriteChunk(file, bytes.data() + done, chunk, &written)) return ErrorOr(ERROR_WRITE_FAULT);
    // A write that took fewer bytes than asked without an error is a full disk as well.
    if (written != chunk) return ERROR_DISK_FULL;
    done += chunk;
  }
  return 0;
}

}  // namespace

namespace group_store_seams {
void SetWriteHook(WriteHook hook) { g_writeHook = hook; }
}  // namespace group_store_seams

GroupFileBytes ReadGroupFileBytes(const std::wstring& path, ULONGLONG maxBytes) {
  GroupFileBytes out;
  orv::ScopedHandle file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                       FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
  if (!file) {
    out.error = ::GetLastError();
    out.result = IsNotFound(out.error) ? GroupFileRead::kMissing : GroupFileRead::kFailed;
    out.openFailed = out.result == GroupFileRead::kFailed;
    return out;
  }
  LARGE_INTEGER size{};
  if (!::GetFileSizeEx(file.Get(), &size) || size.QuadPart < 0) {
    out.error = ::GetLastError();
    out.result = GroupFileRead::kFailed;
    return out;
  }
  if (size.QuadPart == 0) {
    out.result = GroupFileRead::kEmpty;
    return out;
  }
  if (static_cast<ULONGLONG>(size.QuadPart) > maxBytes) {
    out.error = ERROR_FILE_TOO_LARGE;
    out.result = GroupFileRead::kTooLarge;
    return out;
  }
  const size_t total = static_cast<size_t>(size.QuadPart);
  out.bytes.resize(total);
  size_t done = 0;
  while (done < total) {
    const DWORD want = static_cast<DWORD>(std::min<size_t>(total - done, kReadChunk));
    DWORD got = 0;
    if (!::ReadFile(file.Get(), out.bytes.data() + done, want, &got, nullptr)) {
      out.error = ::GetLastError();
      out.result = GroupFileRead::kFailed;
      out.bytes.clear();
      return out;
    }
    if (got == 0) break;  // the file shrank meanwhile: keep what is there
    done += got;
  }
  out.bytes.resize(done);
  out.result = done ? GroupFileRead::kRead : GroupFileRead::kEmpty;
  return out;
}

DWORD ReplaceGroupFile(const std::wstring& folder, const std::wstring& path, const std::string& bytes) {
  // A read-only group file stays as it is, as creating it anew would refuse; not every file
  // system refuses to rename over it.
  const DWORD attributes = ::GetFileAttributesW(path.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)))
    return ERROR_ACCESS_DENIED;

  wchar_t temp[MAX_PATH] = {};
  if (!::GetTempFileNameW(folder.c_str(), kTempPrefix, 0, temp)) return ErrorOr(ERROR_PATH_NOT_FOUND);

  DWORD error = 0;
  {
    orv::ScopedHandle file(::CreateFileW(temp, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
      error = ErrorOr(ERROR_WRITE_FAULT);
    } else {
      error = WriteAll(file.Get(), bytes);
      if (!error && !::FlushFileBuffers(file.Get())) error = ErrorOr(ERROR_WRITE_FAULT);
      HANDLE raw = file.Release();
      if (!::CloseHandle(raw) && !error) error = ErrorOr(ERROR_WRITE_FAULT);
    }
  }
  if (!error && !::MoveFileExW(temp, path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
    error = ErrorOr(ERROR_WRITE_FAULT);
  if (error) ::DeleteFileW(temp);
  return error;
}
