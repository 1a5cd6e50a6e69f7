#include "lists/DetailReader.h"

#include <process.h>

#include "common/ResourceIdsLists.h"
#include "lists/COrvelListView.h"  // ReadFontDetails

namespace {

void ReadFromFile(const std::wstring& folder, FontItem& record) { (void)ReadFontDetails(folder, record); }

std::atomic<DetailReader::ReadFunction> g_read{&ReadFromFile};

}  // namespace

void DetailReader::SetReadFunction(ReadFunction read) { g_read = read ? read : &ReadFromFile; }

DetailReader::DetailReader(HWND list, std::wstring folder, std::vector<Job> jobs)
    : list_(list), folder_(std::move(folder)), jobs_(std::move(jobs)),
      skip_(std::make_unique<std::atomic<bool>[]>(jobs_.size())) {
  jobOfSerial_.reserve(jobs_.size());
  for (size_t i = 0; i < jobs_.size(); ++i) {
    skip_[i] = false;
    jobOfSerial_.emplace(jobs_[i].serial, i);
  }
}

DetailReader::~DetailReader() { Stop(); }

bool DetailReader::Start() {
  stop_.Reset(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
  if (!stop_) return false;
  thread_.Reset(reinterpret_cast<HANDLE>(_beginthreadex(nullptr, 0, &Run, this, 0, nullptr)));
  return static_cast<bool>(thread_);
}

void DetailReader::Stop() {
  if (!thread_) return;
  ::SetEvent(stop_.Get());
  ::WaitForSingleObject(thread_.Get(), INFINITE);
  thread_.Reset();
}

bool DetailReader::Running() const {
  return thread_ && ::WaitForSingleObject(thread_.Get(), 0) == WAIT_TIMEOUT;
}

void DetailReader::Skip(uint32_t serial) {
  const auto it = jobOfSerial_.find(serial);
  if (it != jobOfSerial_.end()) skip_[it->second] = true;
}

std::vector<DetailReader::Job> DetailReader::TakeResults() {
  std::lock_guard<std::mutex> lock(mailboxLock_);
  return std::exchange(mailbox_, {});
}

unsigned __stdcall DetailReader::Run(void* self) {
  static_cast<DetailReader*>(self)->Walk();
  return 0;
}

void DetailReader::Walk() {
  for (size_t i = 0; i < jobs_.size(); ++i) {
    if (::WaitForSingleObject(stop_.Get(), 0) == WAIT_OBJECT_0) return;
    if (skip_[i]) continue;
    Job& job = jobs_[i];
    g_read.load()(folder_, job.record);
    const uint32_t serial = job.serial;
    {
      std::lock_guard<std::mutex> lock(mailboxLock_);
      mailbox_.push_back(std::move(job));
    }
    ::PostMessageW(list_, WM_COMMAND, MAKEWPARAM(ID_LIST_DETAILS_READ, 0), static_cast<LPARAM>(serial));
  }
}
