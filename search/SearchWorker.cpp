#include "search/SearchWorker.h"

#include "common/StringHelpers.h"
#include "fonts/FontFileReader.h"

SearchWorker::SearchWorker(HWND notify) : notify_(notify) {
  m_recursive = 1;
  m_threaded = 1;
  m_skipDotFolders = 0;
  m_patterns = kFontPatterns;
}

SearchWorker::~SearchWorker() {
  // The walk reads and writes the members below: it ends before they go.
  Stop();
  WaitForWalk();
}

std::wstring SearchWorker::RootsBeforeEmptyPiece(const std::wstring& roots) {
  size_t end = 0;
  while (end < roots.size()) {
    const size_t bar = roots.find(L'|', end);
    if (bar == end) break;  // an empty piece
    if (bar == std::wstring::npos) return roots;
    end = bar + 1;
  }
  return roots.substr(0, end == 0 ? 0 : end - 1);
}

bool SearchWorker::StartSearch(const std::wstring& roots, const SearchMatcher& matcher) {
  WaitForWalk();
  ++runSerial_;
  matcher_ = matcher;
  m_roots = RootsBeforeEmptyPiece(roots);
  {
    std::lock_guard<std::mutex> guard(lock_);
    pending_.clear();
    folder_.clear();
  }
  examined_ = 0;
  flushPosted_ = false;
  progressPosted_ = false;
  lastProgress_ = 0;
  return Start();
}

std::vector<FontItem> SearchWorker::TakePending() {
  std::vector<FontItem> taken;
  {
    std::lock_guard<std::mutex> guard(lock_);
    taken.swap(pending_);
  }
  flushPosted_ = false;
  return taken;
}

bool SearchWorker::HasPending() {
  std::lock_guard<std::mutex> guard(lock_);
  return !pending_.empty();
}

SearchWorker::Progress SearchWorker::TakeProgress() {
  progressPosted_ = false;
  Progress progress;
  progress.examined = examined_;
  std::lock_guard<std::mutex> guard(lock_);
  progress.folder = folder_;
  return progress;
}

bool SearchWorker::AcceptFolderFiles() {
  // A root that fails the hidden rule (a drive root is hidden and system) is walked for its
  // subfolders only.
  if (!IsFileShown(m_folderAttributes)) return false;
  {
    std::lock_guard<std::mutex> guard(lock_);
    folder_ = m_path;
  }
  PostProgress();
  return true;
}

void SearchWorker::OnFile() {
  ++examined_;
  PostProgress();
  FontFileReader face;
  face.folder = m_path;
  face.fileRef = ::JoinPath(m_path, m_fileName);
  face.fullPath = face.fileRef;
  // What the file holds decides: a "ttcf" file is read face by face, any other once (a
  // variable font as itself, without its named instances).
  if (!face.ReadFontFile()) return;
  TestFace(face);
  if (!face.IsCollectionFace()) return;
  while (m_status == 0 && face.ReadNextCollectionFace()) TestFace(face);
}

void SearchWorker::TestFace(FontFileReader& face) {
  if (face.IsUnreadable() || !matcher_.Matches(face)) return;
  AppendResult(face);
}

void SearchWorker::AppendResult(const FontItem& face) {
  size_t count = 0;
  {
    std::lock_guard<std::mutex> guard(lock_);
    pending_.push_back(FontItem::CopyConstruct(face));
    count = pending_.size();
  }
  if (count >= kFlushAt && notify_ && !flushPosted_.exchange(true)) ::PostMessageW(notify_, kMsgFlush, 0, 0);
}

void SearchWorker::PostProgress() {
  if (!notify_) return;
  const ULONGLONG now = ::GetTickCount64();
  if (now - lastProgress_ < kProgressIntervalMs) return;
  if (progressPosted_.exchange(true)) return;
  lastProgress_ = now;
  ::PostMessageW(notify_, kMsgProgress, 0, 0);
}

void SearchWorker::OnWalkEnd() {
  if (notify_) ::PostMessageW(notify_, kMsgDone, runSerial_, 0);
}
