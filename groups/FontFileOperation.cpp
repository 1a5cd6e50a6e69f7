#include "groups/FontFileOperation.h"

#include <commctrl.h>

#include <algorithm>
#include <new>
#include <unordered_map>

#include "app/AppState.h"
#include "common/AppMessageBox.h"
#include "common/AppShell.h"
#include "common/ResString.h"
#include "common/ResourceIds.h"
#include "common/Seams.h"
#include "common/StringHelpers.h"
#include "fonts/FontFileReader.h"
#include "framework/Handles.h"
#include "groups/CopiedFileCheck.h"

namespace {

constexpr FILEOP_FLAGS kBaseFlags = FOF_ALLOWUNDO | FOF_FILESONLY | FOF_NOCONFIRMMKDIR;
static_assert(kBaseFlags == 0x2C0);
constexpr wchar_t kFontPatterns[] = L"*.ttf|*.otf|*.ttc|*.pfm|*.pfb|*.tte|*.euf";
constexpr wchar_t kGroupFilePattern[] = L"orvel*.xml";
constexpr wchar_t kListSeparator = L'\t';
constexpr size_t kListReserve = 16;
// Room counted for the subfolder of the per-type layouts, whose names come from the font itself
// and are known only when the file is read in the collecting walk.
constexpr size_t kTypeFolderRoom = 64;
constexpr int kPanoseFamilyLimit = 6;
constexpr int kPanoseValueLimit = 15;
constexpr int kFamilyClassLimit = 14;
constexpr int kFamilySubclassLimit = 15;
// String of the second PANOSE level for family kind k: kPanoseSubkindBase + k (kinds 2 to 6).
constexpr UINT kPanoseSubkindBase = IDS_PANOSE_SERIF_STYLE - 2;
constexpr ULONGLONG kLookInterval = 50;  // ms between looks at the input queue during a walk
constexpr size_t kFilesListed = 12;      // files named in a message; more are cut to "..."

// A folder name made of resource texts: characters a file name cannot hold become "-" (the
// PANOSE names hold "/", which would otherwise open a folder level of its own).
std::wstring AsFolderName(std::wstring name) {
  for (wchar_t& c : name)
    if (c < L' ' || std::wstring_view(L"\\/:*?\"<>|").find(c) != std::wstring_view::npos) c = L'-';
  return name;
}

// Field `index` of string `id`; a field that begins with "?" (no name of its own) gives field 0.
std::wstring NamedField(UINT id, size_t index) {
  std::wstring name = ResourceStringField(id, index);
  if (!name.empty() && name[0] == L'?') name = ResourceStringField(id, 0);
  return name;
}

std::wstring Extension(const std::wstring& fileName) {
  const size_t dot = fileName.find_last_of(L'.');
  return dot == std::wstring::npos ? std::wstring() : fileName.substr(dot);
}

bool ExtensionIsOneOf(const std::wstring& fileName, std::initializer_list<const wchar_t*> extensions) {
  const std::wstring extension = Extension(fileName);
  return std::any_of(extensions.begin(), extensions.end(),
                     [&](const wchar_t* e) { return EqualsNoCase(extension, e); });
}

// Reads the font (the first face of a collection) for the layouts that sort by what it says.
bool ReadFontForFolder(const std::wstring& folder, const std::wstring& fileName, FontFileReader& reader) {
  reader.folder = folder;
  reader.fileRef = fileName;
  return reader.ReadFontFile() && !reader.IsUnreadable();
}

}  // namespace

FontFileOperation::FontFileOperation() : caption_(IDS_FILE_OPERATION_CAPTION), flags_(kBaseFlags) {
  m_recursive = 0;
  m_threaded = 0;
  m_owner = GetAppShell().MainWindow;
}

// ---------------------------------------------------------------------------------------------
// Font files

bool FontFileOperation::CopyFontFiles() {
  if (m_sourceRoot.find(L'|') != std::wstring::npos) return false;  // one root only
  NormalizeRoots();
  m_roots = m_sourceRoot;
  m_patterns = kFontPatterns;
  caption_ = IDS_COPY_FONTS_CAPTION;
  if (!CountFiles()) return false;
  try {
    sources_.reserve(sourceLength_);
    destinations_.reserve(destinationLength_);
  } catch (const std::bad_alloc&) {
    AppMessageBox(m_owner, MB_ICONHAND, caption_, IDS_OUT_OF_MEMORY);
    return false;
  }
  mode_ = WalkMode::kCollecting;
  countedFiles_ = fileCount_;
  fileCount_ = 0;
  Start();
  flags_ |= FOF_MULTIDESTFILES;
  const bool ran = fileCount_ > 0 && Run();
  if (ran) ReportRenamedFiles();
  if (::IsWindow(g_AppState.FolderTree.m_hWnd)) g_AppState.FolderTree.RefreshFolder(m_destinationRoot);
  // Esc during the collection copies what was collected until then: not the whole copy.
  return ran && fileCount_ >= countedFiles_;
}

void FontFileOperation::NormalizeRoots() {
  for (std::wstring* root : {&m_sourceRoot, &m_destinationRoot}) {
    std::wstring normal;
    if (NormaliseRoot(*root, normal)) *root = std::move(normal);
  }
}

// The counting walk: the number of files and the room both lists need. False (after the
// message) when there is nothing to copy.
bool FontFileOperation::CountFiles() {
  mode_ = WalkMode::kCounting;
  fileCount_ = 0;
  sourceLength_ = destinationLength_ = 0;
  Start();
  if (fileCount_ == 0) {
    AppMessageBox(m_owner, MB_ICONEXCLAMATION, caption_, IDS_NO_FILES_TO_COPY);
    return false;
  }
  sourceLength_ += kListReserve;
  destinationLength_ += kListReserve;
  return true;
}

void FontFileOperation::OnFile() {
  ++fileCount_;
  if (mode_ == WalkMode::kCounting) {
    sourceLength_ += m_path.size() + m_fileName.size() + 2;
    destinationLength_ += m_destinationRoot.size() + m_path.size() + m_fileName.size() + kTypeFolderRoom;
    // The group copy hands the shell a pattern: what it should bring is known from this walk.
    if (groupCopy_) planned_.emplace_back(::JoinPath(m_path, m_fileName), ::JoinPath(m_destinationRoot, m_fileName));
    return;
  }
  AddFile();
}

bool FontFileOperation::ShouldAbort() {
  const ULONGLONG now = ::GetTickCount64();
  if (lastLook_ != 0 && now - lastLook_ < kLookInterval) return false;
  lastLook_ = now;
  MSG msg;
  while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE | PM_QS_INPUT)) {
    if (msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE) {
      seams::Beep(MB_ICONEXCLAMATION);
      return true;
    }
  }
  return false;
}

void FontFileOperation::AddFile() {
  orv::ScopedWaitCursor wait;
  std::wstring source = ::JoinPath(m_path, m_fileName);
  std::wstring destination = targets_.Claim(source, DestinationOf(m_path, m_fileName));
  sources_ += source;
  sources_ += kListSeparator;
  destinations_ += destination;
  destinations_ += kListSeparator;
  planned_.emplace_back(std::move(source), std::move(destination));
}

std::wstring FontFileOperation::DestinationOf(const std::wstring& folder, const std::wstring& fileName) const {
  if (m_mirrorTree) {
    std::wstring relative = StartsWithNoCase(folder, m_sourceRoot) ? folder.substr(m_sourceRoot.size()) : std::wstring();
    relative.erase(0, relative.find_first_not_of(L'\\'));
    return ::JoinPath(relative.empty() ? m_destinationRoot : ::JoinPath(m_destinationRoot, relative), fileName);
  }
  if (m_flat) return ::JoinPath(m_destinationRoot, fileName);
  const std::wstring sub = TypeFolder(folder, fileName);
  return ::JoinPath(sub.empty() ? m_destinationRoot : ::JoinPath(m_destinationRoot, sub), fileName);
}

std::wstring FontFileOperation::TypeFolder(const std::wstring& folder, const std::wstring& fileName) const {
  if (ExtensionIsOneOf(fileName, {L".ttf", L".otf", L".ttc"})) {
    if (m_classificationFolders) return ClassificationFolder(folder, fileName);
    if (m_panoseFolders) return PanoseFolder(folder, fileName);
    return L"ttf-otf";
  }
  if (ExtensionIsOneOf(fileName, {L".pfb", L".pfm"})) return L"psfonts";
  if (ExtensionIsOneOf(fileName, {L".tte", L".euf"})) return L"EUDC";
  return AsFolderName(LoadResString(IDS_PROP_UNKNOWN));
}

std::wstring FontFileOperation::PanoseFolder(const std::wstring& folder, const std::wstring& fileName) const {
  FontFileReader reader;
  if (!ReadFontForFolder(folder, fileName, reader)) return {};
  int family = reader.panose[0];
  if (family > kPanoseFamilyLimit) family = 0;
  std::wstring name = AsFolderName(ResourceStringField(IDS_PANOSE_FAMILY_KINDS, family));
  if (!m_panoseSecondLevel || family < 2 || name.empty()) return name;
  const int value = reader.panose[1] > kPanoseValueLimit ? 0 : reader.panose[1];
  const std::wstring sub = AsFolderName(NamedField(kPanoseSubkindBase + family, value));
  return sub.empty() ? name : name + L'\\' + sub;
}

std::wstring FontFileOperation::ClassificationFolder(const std::wstring& folder, const std::wstring& fileName) const {
  FontFileReader reader;
  if (!ReadFontForFolder(folder, fileName, reader)) return {};
  const auto familyClass = static_cast<uint16_t>(reader.familyClass);
  if (familyClass == 0) return {};
  const int cls = std::min<int>(familyClass >> 8, kFamilyClassLimit);
  std::wstring name = AsFolderName(ResourceStringField(IDS_FAMILY_CLASSES, cls));
  const int subclass = familyClass & 0xFF;
  if (subclass == 0 || name.empty()) return name;
  const std::wstring sub = AsFolderName(NamedField(IDS_FAMILY_CLASSES + cls, std::min(subclass, kFamilySubclassLimit)));
  return sub.empty() ? name : name + L'\\' + sub;
}

// ---------------------------------------------------------------------------------------------
// Group files

bool FontFileOperation::CopyGroupFiles(const std::wstring& source, const std::wstring& destination, UINT caption) {
  m_sourceRoot = source;
  m_destinationRoot = destination;
  caption_ = caption;
  NormalizeRoots();
  m_recursive = 0;
  m_roots = m_sourceRoot;
  m_patterns = kGroupFilePattern;
  groupCopy_ = true;
  planned_.clear();
  if (!CountFiles()) return false;
  // The shell expands the pattern itself; without FOF_NOCONFIRMATION it asks before it replaces
  // a group file.
  sources_ = ::JoinPath(m_sourceRoot, kGroupFilePattern) + kListSeparator;
  destinations_ = m_destinationRoot + kListSeparator;
  m_overwrite = false;
  return Run();
}

// ---------------------------------------------------------------------------------------------
// The shell's copy

bool FontFileOperation::Run() {
  orv::ScopedWaitCursor wait;
  const bool groupCopy = caption_ == IDS_GROUPS_BACKUP_CAPTION || caption_ == IDS_GROUPS_RESTORE_CAPTION;
  const std::wstring status = groupCopy ? std::wstring() : FormatResString(IDS_COPYING_FILES, fileCount_);
  if (m_statusBar) ::SendMessageW(m_statusBar, SB_SETTEXTW, 0, reinterpret_cast<LPARAM>(status.c_str()));
  UnloadTargets(destinations_);
  // Both lists as the shell reads them: NUL-terminated paths closed by an empty one.
  std::replace(sources_.begin(), sources_.end(), kListSeparator, L'\0');
  std::replace(destinations_.begin(), destinations_.end(), kListSeparator, L'\0');
  sources_ += L'\0';
  destinations_ += L'\0';
  if (m_overwrite) flags_ |= FOF_NOCONFIRMATION;

  SHFILEOPSTRUCTW request{};
  request.hwnd = m_owner;
  request.wFunc = FO_COPY;
  request.pFrom = sources_.c_str();
  request.pTo = destinations_.c_str();
  request.fFlags = flags_;
  const int result = seams::FileOperation(request);
  if (m_statusBar) ::SendMessageW(m_statusBar, SB_SETTEXTW, 0, reinterpret_cast<LPARAM>(L""));
  // An error or a cancel the shell reported itself.
  if (result != 0 || request.fAnyOperationsAborted) return false;
  return ConfirmCopies();
}

// The shell's success also covers files it passed over (a replacement the user declined): a
// copy succeeded only when every file is there.
bool FontFileOperation::ConfirmCopies() const {
  const std::vector<std::wstring> missing = MissingCopies(planned_);
  if (missing.empty()) return true;
  AppMessageBox(m_owner, MB_ICONEXCLAMATION, caption_, IDS_FILES_NOT_COPIED, 0,
                ListForMessage(missing, kFilesListed).c_str());
  return false;
}

void FontFileOperation::ReportRenamedFiles() const {
  const std::vector<CopyTargetNames::Renamed>& renamed = targets_.RenamedFiles();
  if (renamed.empty()) return;
  std::vector<std::wstring> lines;
  for (const CopyTargetNames::Renamed& file : renamed) lines.push_back(file.source + L" \x2192 " + file.target);
  AppMessageBox(m_owner, MB_ICONINFORMATION, caption_, IDS_COPIED_UNDER_NEW_NAMES, 0,
                ListForMessage(lines, kFilesListed).c_str());
}

// Fonts this program loaded privately from a file about to be replaced are unloaded first, so
// that the copy can write it. A Type 1 font is cached as "x.pfm|x.pfb": either half matches.
void FontFileOperation::UnloadTargets(const std::wstring& destinations) const {
  PrivateFontCache& cache = g_AppState.FontCache;
  std::unordered_map<std::wstring, std::wstring> loaded;
  for (const std::wstring& entry : cache.Files()) {
    const size_t bar = entry.find(L'|');
    if (bar == std::wstring::npos) {
      loaded.emplace(entry, entry);
      continue;
    }
    loaded.emplace(entry.substr(0, bar), entry);
    loaded.emplace(entry.substr(bar + 1), entry);
  }
  if (loaded.empty()) return;
  size_t begin = 0;
  while (begin < destinations.size()) {
    size_t end = destinations.find(kListSeparator, begin);
    if (end == std::wstring::npos) end = destinations.size();
    const auto found = loaded.find(destinations.substr(begin, end - begin));
    if (found != loaded.end()) cache.RemoveFile(found->second);  // a second match finds it gone
    begin = end + 1;
  }
}
