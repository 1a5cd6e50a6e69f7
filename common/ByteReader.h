// The one reader of bytes that come from a file. Every offset, count and length read from font
// data is checked against the bytes actually there before it is used: a read past the end fails
// and returns false, it never touches memory outside the span.
//
// `ByteReader` is a view (pointer and size) over memory it does not own: bytes read from a file
// (`FileBytes`), or a buffer a test built. Values are big-endian unless the name says LE.
#pragma once

#include <windows.h>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "framework/Handles.h"

class ByteReader {
public:
  ByteReader() = default;
  ByteReader(const void* data, size_t size) : data_(static_cast<const uint8_t*>(data)), size_(size) {}

  size_t Size() const { return size_; }
  const uint8_t* Data() const { return data_; }

  // True when `count` bytes start at `offset` (overflow-safe for any 64-bit values).
  bool Has(uint64_t offset, uint64_t count) const {
    return offset <= size_ && count <= size_ - offset;
  }

  [[nodiscard]] bool U8(uint64_t offset, uint8_t& out) const {
    if (!Has(offset, 1)) return false;
    out = data_[offset];
    return true;
  }
  [[nodiscard]] bool U16(uint64_t offset, uint16_t& out) const {
    if (!Has(offset, 2)) return false;
    const uint8_t* p = data_ + offset;
    out = static_cast<uint16_t>((p[0] << 8) | p[1]);
    return true;
  }
  [[nodiscard]] bool U16LE(uint64_t offset, uint16_t& out) const {
    if (!Has(offset, 2)) return false;
    const uint8_t* p = data_ + offset;
    out = static_cast<uint16_t>(p[0] | (p[1] << 8));
    return true;
  }
  [[nodiscard]] bool I16(uint64_t offset, int16_t& out) const {
    uint16_t v = 0;
    if (!U16(offset, v)) return false;
    out = static_cast<int16_t>(v);
    return true;
  }
  [[nodiscard]] bool U32(uint64_t offset, uint32_t& out) const {
    if (!Has(offset, 4)) return false;
    const uint8_t* p = data_ + offset;
    out = (uint32_t{p[0]} << 24) | (uint32_t{p[1]} << 16) | (uint32_t{p[2]} << 8) | p[3];
    return true;
  }
  [[nodiscard]] bool U32LE(uint64_t offset, uint32_t& out) const {
    if (!Has(offset, 4)) return false;
    const uint8_t* p = data_ + offset;
    out = (uint32_t{p[3]} << 24) | (uint32_t{p[2]} << 16) | (uint32_t{p[1]} << 8) | p[0];
    return true;
  }
  // Copies `count` bytes; nothing is copied unless all of them are there.
  [[nodiscard]] bool Bytes(uint64_t offset, void* out, size_t count) const {
    if (!Has(offset, count)) return false;
    if (count) memcpy(out, data_ + offset, count);
    return true;
  }
  // Four bytes at offset equal the four characters of `tag`.
  bool TagIs(uint64_t offset, const char* tag) const {
    return Has(offset, 4) && memcmp(data_ + offset, tag, 4) == 0;
  }

  // The bytes [offset, offset + count), cut at the end of this span; empty when offset is
  // past the end.
  ByteReader Sub(uint64_t offset, uint64_t count) const {
    if (offset > size_) return {};
    const uint64_t left = size_ - offset;
    return ByteReader(data_ + offset, static_cast<size_t>(count < left ? count : left));
  }
  ByteReader From(uint64_t offset) const { return Sub(offset, UINT64_MAX); }

private:
  const uint8_t* data_ = nullptr;
  size_t size_ = 0;
};

// A file opened for reading whose bytes are read on demand: the first block (offset tables,
// table directories, often the small tables) at open, then the ranges a reader asks for, each
// once, or a set of ranges it will ask for (`Prefetch`), those that lie close together in one
// read. Under Wine each read, and each seek before it, costs far more than the bytes it
// copies, and the file's size is not asked unless a read needs it. Nothing is read past the
// file's end, and a reader never reads a whole file unless it asks for all of it. Move-only;
// the handle and the buffers go with Close or the destructor. One thread at a time.
class FileBytes {
public:
  struct Range {
    uint64_t offset;
    uint64_t count;
  };

  FileBytes() = default;
  FileBytes(const FileBytes&) = delete;
  FileBytes& operator=(const FileBytes&) = delete;
  FileBytes(FileBytes&&) noexcept = default;
  FileBytes& operator=(FileBytes&&) noexcept = default;

  // Opens `path` with GENERIC_READ | extraAccess, sharing read. With extraAccess non-zero the
  // file is only probed (opened and closed again).
  [[nodiscard]] bool Open(const std::wstring& path, DWORD extraAccess = 0);
  void Close();
  bool IsOpen() const { return file_.IsValid(); }
  // The file's size. Asked of the system only when the reads so far have not shown it (a read
  // that stops short of what it asked for ends at the file's end), which for most font files
  // is never.
  uint64_t Size();
  // The file holds at least `end` bytes: answered from the bytes read so far when they reach
  // that far, else from the size.
  bool HasBytes(uint64_t end);

  // The bytes [offset, offset + count) cut at the end of the file; empty when offset lies past
  // the end or the read fails. The view stays valid until Close.
  ByteReader Read(uint64_t offset, uint64_t count);
  // Reads the ranges not held yet, those a few kilobytes apart or less in one read, so that
  // the Read calls for them that follow find their bytes. Long ranges are left to Read.
  void Prefetch(std::vector<Range> ranges);

private:
  struct Block {
    uint64_t offset = 0;
    size_t size = 0;
    std::unique_ptr<uint8_t[]> data;  // not zeroed: only the bytes read are ever looked at
  };
  const Block* Find(uint64_t offset, uint64_t count) const;
  // Reads [offset, offset + count) into a new block; null when nothing could be read.
  const Block* ReadBlock(uint64_t offset, uint64_t count);

  orv::ScopedHandle file_;
  uint64_t size_ = 0;      // the file's size when sizeKnown_, else a lower bound
  bool sizeKnown_ = false;
  uint64_t position_ = 0;  // where the next plain read starts
  std::vector<std::unique_ptr<Block>> blocks_;
};
