// The detail reader of a font list: a worker thread that reads the records of the rows from
// their files in row order, ahead of the painting.
//
// It works on a snapshot: the list gives it copies of the records to read, each tagged with its
// row's serial number, so the rows may change while it runs. Each completed copy goes into a
// mailbox and the reader posts WM_COMMAND 218 (lParam = the serial) to the list window; the list,
// on the main thread, takes the copies out (TakeResults) and swaps each into its row when that
// row still exists and is not read yet; a row whose copy came back unread (its file held) it
// reads itself. Reading a file holds no lock; the mailbox lock is held only to put a copy in or
// take the copies out.
//
// Owned by the list, which destroys it (stop and join) before it frees the rows or its window.
// Start, Stop, Skip and TakeResults are called on the main thread only.
#pragma once

#include <windows.h>

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <unordered_map>
#include <vector>

#include "fonts/FontItem.h"
#include "framework/Handles.h"

class DetailReader {
public:
  struct Job {
    uint32_t serial = 0;  // the row the copy belongs to
    FontItem record;
  };

  // `list` gets command 218 for each completed copy; bare file names resolve in `folder`.
  DetailReader(HWND list, std::wstring folder, std::vector<Job> jobs);
  ~DetailReader();
  DetailReader(const DetailReader&) = delete;
  DetailReader& operator=(const DetailReader&) = delete;

  // Starts the thread; false when it could not be started (nothing runs then).
  [[nodiscard]] bool Start();
  // Signals the stop event and waits for the thread without time-out.
  void Stop();
  // Whether the thread is still walking its snapshot.
  bool Running() const;
  // The row was completed on the main thread: the reader passes it over.
  void Skip(uint32_t serial);
  // The copies completed since the last call, in the order read.
  std::vector<Job> TakeResults();

  // How a copy is read; a test may slow the reader down or count its reads.
  using ReadFunction = void (*)(const std::wstring& folder, FontItem& record);
  static void SetReadFunction(ReadFunction read);

private:
  static unsigned __stdcall Run(void* self);
  void Walk();

  HWND list_;
  std::wstring folder_;
  std::vector<Job> jobs_;
  std::unique_ptr<std::atomic<bool>[]> skip_;
  std::unordered_map<uint32_t, size_t> jobOfSerial_;
  std::mutex mailboxLock_;
  std::vector<Job> mailbox_;
  orv::ScopedHandle stop_;
  orv::ScopedHandle thread_;
};
