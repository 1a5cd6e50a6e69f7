// The one reader of bytes that come from outside the program (font files, group files, blobs of
// the resource library). Every offset, count and length read from such data is checked against
// the bytes actually there before it is used: a read past the end fails and returns false, it
// never touches memory outside the span.
//
// `ByteReader` is a view (pointer and size) over memory it does not own: bytes read from a file
// (`FileBytes`, common/ByteReader.h), a locked resource, or a buffer a test built. Values are
// big-endian unless the name says LE.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

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
