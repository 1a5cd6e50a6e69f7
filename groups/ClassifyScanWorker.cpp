#include "groups/ClassifyScanWorker.h"

#include "common/StringHelpers.h"
#include "fonts/EnsureFontItemLoaded.h"
#include "fonts/FontFileReader.h"
#include "groups/ClassificationBuilder.h"

namespace {
constexpr wchar_t kMarlett[] = L"Marlett";  // the system's window-control glyphs, no text font
}

ClassifyScanWorker::~ClassifyScanWorker() {
  Stop();
  WaitForWalk();
}

std::wstring ClassifyScanWorker::BuildRoots(const Options& options) {
  std::wstring roots = options.roots;
  if (options.wantUser && !options.userFonts.empty()) roots = options.userFonts + L'|' + roots;
  if (options.wantSystem && !options.systemFonts.empty()) roots = options.systemFonts + L'|' + roots;
  return roots;
}

bool ClassifyScanWorker::StartScan(const Options& options) {
  WaitForWalk();
  options_ = options;
  systemMet_ = userMet_ = false;
  collected_.RemoveAll();
  built_.clear();
  {
    std::lock_guard<std::mutex> guard(lock_);
    building_ = false;
    buildText_.clear();
  }
  count_ = 0;
  lastProgress_ = 0;
  progressPosted_ = false;
  m_roots = BuildRoots(options);
  m_patterns = kFontPatterns;
  m_recursive = 1;
  m_threaded = 1;
  m_silent = 1;
  return Start();
}

ClassifyScanWorker::Progress ClassifyScanWorker::TakeProgress() {
  progressPosted_ = false;
  Progress progress;
  progress.count = count_;
  std::lock_guard<std::mutex> guard(lock_);
  progress.folder = folder_;
  progress.building = building_;
  progress.buildText = buildText_;
  return progress;
}

// A wanted Fonts folder is read once, the first time the walk meets it (as a root).
bool ClassifyScanWorker::AcceptFolderFiles() {
  {
    std::lock_guard<std::mutex> guard(lock_);
    folder_ = m_path;
  }
  PostProgress(false);
  const std::wstring folder = WithoutTrailingBackslash(m_path);
  const auto once = [&folder](bool wanted, const std::wstring& fonts, bool& met) -> int {
    if (!wanted || fonts.empty() || !EqualsNoCase(folder, WithoutTrailingBackslash(fonts))) return -1;
    if (met) return 0;
    met = true;
    return 1;
  };
  if (const int system = once(options_.wantSystem, options_.systemFonts, systemMet_); system >= 0) return system == 1;
  if (const int user = once(options_.wantUser, options_.userFonts, userMet_); user >= 0) return user == 1;
  return m_path.size() <= 3 || IsFileShown(m_folderAttributes);
}

void ClassifyScanWorker::OnFile() {
  if (m_status != 0) return;
  FontFileReader reader;
  reader.folder = m_path;
  const bool isCollection = m_pattern == L"*.ttc";
  const bool read = reader.ReadFontFile(m_fileName);
  if (!read) {
    // Collected as it is: the builders group unreadable files like any other.
    reader.ResolveFullPath();
    if (reader.displayName.empty()) reader.displayName = m_fileName;
    reader.flags |= font_flags::kUnreadable;
    AddFace(reader);
  } else if (isCollection) {
    do AddFace(reader);
    while (m_status == 0 && reader.ReadNextCollectionFace());
  } else if (reader.FullName() != kMarlett) {
    AddFace(reader);
  }
}

void ClassifyScanWorker::AddFace(FontFileReader& face) {
  FontItem item;
  item.CopyFrom(face);
  ClassificationBuilder::NormaliseClassKeys(item);
  collected_.AddUnique(item, 1);
  count_ = static_cast<uint32_t>(collected_.Count());
  PostProgress(false);
}

void ClassifyScanWorker::PostProgress(bool force) {
  if (!notify_) return;
  const ULONGLONG now = ::GetTickCount64();
  if (!force && now - lastProgress_ < kProgressIntervalMs) return;
  if (progressPosted_.exchange(true) && !force) return;
  lastProgress_ = now;
  ::PostMessageW(notify_, kMsgProgress, 0, 0);
}

// Completes the records (installed status) while still on the worker thread, builds the
// groups, then reports.
void ClassifyScanWorker::OnWalkEnd() {
  for (FontItemListEntry& entry : collected_.Entries()) {
    if (m_status != 0) break;
    if (!entry.record.HasFlag(font_flags::kResolved)) EnsureFontItemLoaded(collected_, entry.record);
  }
  if (m_status == 0 && !collected_.Empty() && !options_.kinds.empty()) BuildGroups();
  PostProgress(true);
  if (notify_) ::PostMessageW(notify_, kMsgDone, 0, 0);
}

void ClassifyScanWorker::BuildGroups() {
  {
    std::lock_guard<std::mutex> guard(lock_);
    building_ = true;
  }
  PostProgress(true);
  std::vector<FontItem> fonts;
  fonts.reserve(collected_.Count());
  for (const FontItemListEntry& entry : collected_.Entries()) fonts.push_back(entry.record);
  ClassificationBuilder builder(
      [this](const std::wstring& text) {
        {
          std::lock_guard<std::mutex> guard(lock_);
          buildText_ = text;
        }
        PostProgress(false);
      },
      &m_status);
  for (Kind kind : options_.kinds) {
    // A stop ends the builder at work, which saves what it built; the kinds after it are not begun.
    if (m_status != 0) break;
    switch (kind) {
      case Kind::kByInitial: (void)builder.BuildByInitial(fonts); break;
      case Kind::kByPanose: (void)builder.BuildByPanose(fonts); break;
      case Kind::kByFamilyClass: (void)builder.BuildByFamilyClass(fonts); break;
    }
    built_.push_back(kind);
  }
}
