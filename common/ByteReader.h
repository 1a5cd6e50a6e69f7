// Bytes of a file read on demand through the bounds-checked `ByteReader` view
// (framework/ByteReader.h), which this header brings along for every reader of file data.
#pragma once

#include <windows.h>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "framework/ByteReader.h"
#include "framework/Handles.h"

// A file opened for reading whose bytes are read on demand with positioned reads: the first
// block (offset tables, table directories, often the small tables) at open, then only the
// ranges a reader asks for, each once. Nothing is read past the file's end, and nothing more
// than the asked range is read beyond the first block, so a reader never reads a whole file
// unless it asks for all of it. Move-only; the handle and the buffers go with Close or the
// destructor. One thread at a time.
class FileBytes {
public:
  static constexpr uint32_t kFirstBlock = 16 * 1024;

  FileBytes() = default;
  FileBytes(const FileBytes&) = delete;
  FileBytes& operator=(const FileBytes&) = delete;
  FileBytes(FileBytes&&) noexcept = default;
  FileBytes& operator=(FileBytes&&) noexcept = default;

  // Opens `path` with GENERIC_READ | extraAccess, sharing read. With extraAccess non-zero the
  // file is only probed (opened and closed again). Files over 4 GB are refused: no font
  // format here addresses past 32-bit offsets.
  [[nodiscard]] bool Open(const std::wstring& path, DWORD extraAccess = 0);
  void Close();
  bool IsOpen() const { return file_.IsValid(); }
  uint64_t Size() const { return size_; }

  // The bytes [offset, offset + count) cut at the end of the file; empty when offset lies past
  // the end or the read fails. The view stays valid until Close.
  ByteReader Read(uint64_t offset, uint64_t count);

private:
  struct Block {
    uint64_t offset;
    std::vector<uint8_t> data;
  };
  orv::ScopedHandle file_;
  uint64_t size_ = 0;
  std::vector<std::unique_ptr<Block>> blocks_;
};
