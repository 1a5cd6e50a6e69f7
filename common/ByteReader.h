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
  // file is only probed (opened and closed again). A file another handle holds unshared (Wine's
  // font code holds one so while it loads or unloads it) is tried again for up to 10 ms.
  [[nodiscard]] bool Open(const std::wstring& path, DWORD extraAccess = 0);
  // How many opens on this thread failed because another handle still held the file unshared
  // (a sharing or lock violation).
  static uint32_t HeldOpens();
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
  // Reads [offset, offset + count) into a new block; null when nothing could be read. The
  // pointer is good until the next block is read.
  const Block* ReadBlock(uint64_t offset, uint64_t count);

  orv::ScopedHandle file_;
  uint64_t size_ = 0;      // the file's size when sizeKnown_, else a lower bound
  bool sizeKnown_ = false;
  uint64_t position_ = 0;  // where the next plain read starts
  std::vector<Block> blocks_;  // a block's bytes stay where they are when the vector grows
};
