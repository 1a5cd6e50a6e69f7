// Construction, the root item, branch enumeration and expansion, item records and marks.
#include "lists/CFolderTreeView.h"

#include <objbase.h>
#include <process.h>
#include <shellapi.h>
#include <shlwapi.h>
#include <uxtheme.h>

#include "common/RegistryValue.h"
#include "lists/FolderFontFiles.h"
#include "lists/FolderTreePrefill.h"
#include "lists/ShortcutTarget.h"

namespace {
constexpr wchar_t kZipFolderClass[] = L"{e88dcce0-b7b3-11d1-a9f0-00aa0060fa31}";
constexpr wchar_t kExplorerAdvancedKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Advanced";
// Never listed under the Desktop: the Control Panel and the Recycle Bin.
constexpr const wchar_t* kHiddenDesktopItems[] = {L"::{26EE0668-A00A-44D7-9371-BEB064C98683}",
                                                  L"::{645FF040-5081-101B-9F08-00AA002F954E}"};
// What the enumeration asks of each child: slow, ghosted, link, share, read-only, hidden.
constexpr ULONG kEnumAttributes =
    SFGAO_ISSLOW | SFGAO_GHOSTED | SFGAO_LINK | SFGAO_SHARE | SFGAO_READONLY | SFGAO_HIDDEN;
static_assert(kEnumAttributes == 0xFC000);
constexpr UINT kSharedOverlay = 1;

int ShellIconIndex(LPCITEMIDLIST list, UINT extra) {
  SHFILEINFOW info{};
  if (!::SHGetFileInfoW(reinterpret_cast<LPCWSTR>(list), 0, &info, sizeof(info),
                        SHGFI_PIDL | SHGFI_SYSICONINDEX | SHGFI_SMALLICON | extra))
    return 0;
  return info.iIcon;
}
}  // namespace

CFolderTreeView::CFolderTreeView() {
  SHELLFLAGSTATE settings{};
  ::SHGetSettings(&settings, SSF_SHOWALLOBJECTS | SSF_SHOWCOMPCOLOR | SSF_SHOWSYSFILES);
  showCompressedColor_ = settings.fShowCompColor != 0;
  if (!settings.fShowSysFiles) {
    showHidden_ = true;
    DWORD superHidden = 0;
    if (orv::ScopedKey key = OpenRegKey(HKEY_CURRENT_USER, kExplorerAdvancedKey, KEY_READ))
      if (!ReadRegDword(key.Get(), L"ShowSuperHidden", superHidden)) superHidden = 0;
    showSuperHidden_ = superHidden != 0;
  }
  ::CLSIDFromString(kZipFolderClass, &zipFolderClass_);
}

CFolderTreeView::~CFolderTreeView() {
  if (m_hWnd && ::IsWindow(m_hWnd)) ::DestroyWindow(m_hWnd);
  closing_ = true;
  ReapPrefillThreads(true);
  records_.clear();
}

HWND CFolderTreeView::CreateTree(HWND parent, int id) {
  return CreateTreeWindow(parent, kTreeStyle, kTreeExStyle, id);
}

void CFolderTreeView::OnTreeCreate() {
  closing_ = false;
  initPending_ = true;
  systemImages_ = nullptr;
  if (notifications_) RegisterShellNotifications();
}

void CFolderTreeView::OnTreeDestroy() {
  // Stop the pre-fill threads and the mark computation first: a thread may be waiting for
  // this window to take its answer.
  closing_ = true;
  ReapPrefillThreads(true);
  DeleteAllRecords();
}

void CFolderTreeView::DeleteAllRecords() {
  DeleteAllItems();
  // Items whose deletion a parent did not reflect back leave their records behind; none of
  // them has an item any more.
  records_.clear();
}

bool CFolderTreeView::IsPrefillRunning() const {
  for (const PrefillThread& thread : prefillThreads_)
    if (thread.job->running.load()) return true;
  return false;
}

FolderItemData* CFolderTreeView::GetItemRecord(HTREEITEM item) const {
  return item ? reinterpret_cast<FolderItemData*>(GetItemData(item)) : nullptr;
}

bool CFolderTreeView::IsZipItem(HTREEITEM item) const {
  const FolderItemData* record = GetItemRecord(item);
  return record && record->zip;
}

void CFolderTreeView::Initialize() {
  ::SetWindowTheme(m_hWnd, L"explorer", nullptr);
  if (!systemImages_) {
    SHFILEINFOW info{};
    systemImages_ = reinterpret_cast<HIMAGELIST>(
        ::SHGetFileInfoW(L"C:\\", 0, &info, sizeof(info), SHGFI_SYSICONINDEX | SHGFI_SMALLICON));
    if (systemImages_) ::SendMessageW(m_hWnd, TVM_SETIMAGELIST, TVSIL_NORMAL, reinterpret_cast<LPARAM>(systemImages_));
  }
  InsertRootItem();
  SelectInitialFolder();
}

bool CFolderTreeView::InsertRootItem() {
  orv::ComPtr<IShellFolder> desktop;
  if (FAILED(::SHGetDesktopFolder(desktop.Receive())) || !desktop) return false;
  ScopedIdList list;
  if (FAILED(::SHGetSpecialFolderLocation(m_hWnd, CSIDL_DESKTOP, list.Receive())) || !list) return false;
  auto record = std::make_unique<FolderItemData>();
  record->absolute = CloneIdList(list.Get());
  if (!record->absolute) return false;
  LPCITEMIDLIST self = list.Get();
  ULONG attributes = kEnumAttributes | SFGAO_HASSUBFOLDER | SFGAO_FOLDER;
  if (SUCCEEDED(desktop->GetAttributesOf(1, &self, &attributes))) record->attributes = attributes;
  record->marksDone = true;
  std::wstring text;
  if (!GetShellDisplayName(desktop.Get(), list.Get(), SHGDN_NORMAL, text)) return false;
  record->relative = std::move(list);
  return InsertFolderItem(TVI_ROOT, std::move(record), text, 1) != nullptr;
}

HTREEITEM CFolderTreeView::InsertFolderItem(HTREEITEM parent, std::unique_ptr<FolderItemData> record,
                                            const std::wstring& text, int childCount) {
  TVINSERTSTRUCTW insert{};
  insert.hParent = parent;
  insert.hInsertAfter = TVI_LAST;
  TVITEMW& item = insert.item;
  item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_CHILDREN | TVIF_PARAM | TVIF_STATE;
  item.pszText = const_cast<wchar_t*>(text.c_str());
  item.iImage = ShellIconIndex(record->absolute.Get(), 0);
  item.iSelectedImage = parent == TVI_ROOT ? item.iImage : ShellIconIndex(record->absolute.Get(), SHGFI_OPENICON);
  item.cChildren = childCount;
  item.stateMask = TVIS_CUT | TVIS_OVERLAYMASK;
  if (record->attributes & SFGAO_GHOSTED) item.state |= TVIS_CUT;
  if (record->attributes & SFGAO_SHARE) item.state |= INDEXTOOVERLAYMASK(kSharedOverlay);
  record->serial = nextSerial_++;
  item.lParam = reinterpret_cast<LPARAM>(record.get());
  const auto inserted =
      reinterpret_cast<HTREEITEM>(::SendMessageW(m_hWnd, TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&insert)));
  if (!inserted) return nullptr;
  record->item = inserted;
  const uint32_t serial = record->serial;
  records_[serial] = std::move(record);
  return inserted;
}

void CFolderTreeView::OnDeleteItem(NMTREEVIEWW* nm) {
  auto* record = reinterpret_cast<FolderItemData*>(nm->itemOld.lParam);
  if (!record) return;
  // Erasing frees the record: its parent folder reference and both item lists.
  records_.erase(record->serial);
}

orv::ComPtr<IShellFolder> CFolderTreeView::BindItemFolder(const FolderItemData& record) const {
  if (!record.parentFolder) {
    orv::ComPtr<IShellFolder> desktop;
    if (FAILED(::SHGetDesktopFolder(desktop.Receive()))) return {};
    return desktop;
  }
  orv::ComPtr<IShellFolder> folder;
  if (FAILED(record.parentFolder->BindToObject(record.relative.Get(), nullptr, IID_IShellFolder,
                                               folder.ReceiveVoid())))
    return {};
  return folder;
}

bool CFolderTreeView::EnumChildFolders(IShellFolder* folder, LPCITEMIDLIST parentList, HTREEITEM parentItem,
                                       bool parentZip) {
  orv::ComPtr<IEnumIDList> children;
  if (FAILED(folder->EnumObjects(m_hWnd, SHCONTF_FOLDERS | SHCONTF_INCLUDEHIDDEN, children.Receive()))) return false;
  if (!children) return true;  // S_FALSE: nothing to list
  const bool underRoot = parentItem == GetRootItem();
  for (;;) {
    LPITEMIDLIST raw = nullptr;
    if (children->Next(1, &raw, nullptr) != S_OK) break;
    ScopedIdList child(raw);
    LPCITEMIDLIST childList = child.Get();
    ULONG attributes = kEnumAttributes;
    if (FAILED(folder->GetAttributesOf(1, &childList, &attributes))) attributes = 0;
    attributes &= kEnumAttributes;
    if ((attributes & SFGAO_HIDDEN) && !showHidden_ && !showSuperHidden_) continue;
    if (underRoot) {
      std::wstring parsing;
      if (GetShellDisplayName(folder, childList, SHGDN_FORPARSING, parsing)) {
        bool hidden = false;
        for (const wchar_t* name : kHiddenDesktopItems) hidden = hidden || parsing == name;
        if (hidden) continue;
      }
    }
    bool zip = parentZip;
    if (!zip) {
      CLSID cls{};
      zip = GetItemClassId(folder, childList, cls) && ::IsEqualCLSID(cls, zipFolderClass_);
    }
    if (zip && hideZipFolders_) continue;
    std::wstring text;
    if (!GetShellDisplayName(folder, childList, SHGDN_NORMAL, text)) return false;

    auto record = std::make_unique<FolderItemData>();
    record->parentFolder = orv::ComPtr<IShellFolder>::Attach(folder);
    folder->AddRef();
    record->absolute = CombineIdLists(parentList, childList);
    if (!record->absolute) return false;
    record->relative = std::move(child);
    record->attributes = attributes;
    record->zip = zip;
    if (!InsertFolderItem(parentItem, std::move(record), text, 1)) return false;
  }
  return true;
}

int CALLBACK CFolderTreeView::CompareItems(LPARAM a, LPARAM b, LPARAM) {
  const auto* first = reinterpret_cast<const FolderItemData*>(a);
  const auto* second = reinterpret_cast<const FolderItemData*>(b);
  if (!first || !second || !first->parentFolder) return 0;
  const HRESULT hr = first->parentFolder->CompareIDs(0, first->relative.Get(), second->relative.Get());
  if (FAILED(hr)) return 0;
  return static_cast<short>(HRESULT_CODE(hr));
}

LRESULT CFolderTreeView::OnItemExpanding(NMTREEVIEWW* nm) {
  HTREEITEM item = nm->itemNew.hItem;
  if (!(nm->action & TVE_EXPAND) || (GetItemState(item, TVIS_EXPANDEDONCE) & TVIS_EXPANDEDONCE)) return 0;
  FolderItemData* record = GetItemRecord(item);
  if (!record) return 0;
  orv::ComPtr<IShellFolder> folder = BindItemFolder(*record);
  HCURSOR previous = ::SetCursor(::LoadCursorW(nullptr, IDC_APPSTARTING));
  bool listed = false;
  if (folder) {
    SetRedraw(false);
    listed = EnumChildFolders(folder.Get(), record->absolute.Get(), item, record->zip);
    if (listed) {
      TVSORTCB sort{item, &CFolderTreeView::CompareItems, reinterpret_cast<LPARAM>(this)};
      ::SendMessageW(m_hWnd, TVM_SORTCHILDRENCB, 0, reinterpret_cast<LPARAM>(&sort));
    }
    SetRedraw(true);
  }
  if (listed) {
    StartPrefill();
  } else {
    // Collapsed with its children reset once this expansion is over, so that the next one
    // tries again.
    PostMessage(kCollapseResetMessage, record->serial);
  }
  ::SetCursor(previous);
  return 0;  // the expansion itself is always allowed
}

LRESULT CFolderTreeView::OnCollapseReset(UINT, WPARAM wParam, LPARAM, BOOL&) {
  const auto found = records_.find(static_cast<uint32_t>(wParam));
  if (found != records_.end() && !closing_) CollapseReset(found->second->item);
  return 0;
}

bool CFolderTreeView::FolderHasFontFiles(const std::wstring& path) const {
  return markFontFolders_ && FolderHoldsFontFiles(path);
}

int CFolderTreeView::ListZipFontFiles(HTREEITEM item, std::wstring& names, const wchar_t* extensions,
                                      bool stopAtFirst) {
  const FolderItemData* record = GetItemRecord(item);
  if (!record) return -1;
  orv::ComPtr<IShellFolder> folder = BindItemFolder(*record);
  return ListFontFilesInFolder(folder.Get(), m_hWnd, showHidden_, &names, extensions, stopAtFirst);
}

bool CFolderTreeView::GetZipFilePath(HTREEITEM item, std::wstring& out) {
  out.clear();
  HTREEITEM root = GetRootItem();
  for (HTREEITEM walker = item; walker && walker != root; walker = GetParentItem(walker)) {
    const FolderItemData* record = GetItemRecord(walker);
    if (!record || !record->parentFolder) continue;
    CLSID cls{};
    if (GetItemClassId(record->parentFolder.Get(), record->relative.Get(), cls) &&
        ::IsEqualCLSID(cls, zipFolderClass_))
      return GetShellDisplayName(record->parentFolder.Get(), record->relative.Get(), SHGDN_FORPARSING, out);
  }
  return false;
}

bool CFolderTreeView::GetItemPath(HTREEITEM item, const FolderItemData* data, std::wstring& out) {
  out.clear();
  if (closing_) return false;
  if (!data) data = GetItemRecord(item);
  if (!data) return false;
  if (data->zip) {
    if (!GetShellDisplayName(data->parentFolder.Get(), data->relative.Get(), SHGDN_FORPARSING, out)) out.clear();
  } else {
    out = PathOfIdList(data->absolute.Get());
  }
  if (out.empty()) return false;
  if (data->attributes & SFGAO_LINK) {
    std::wstring target;
    const bool resolved = ResolveShortcutTarget(out, m_hWnd, target);
    out = resolved ? target : std::wstring();
    return resolved;
  }
  return true;
}

bool CFolderTreeView::GetSelectedPath(std::wstring& out, HTREEITEM item) {
  if (!item) item = GetSelectedItem();
  if (!item) {
    out.clear();
    return false;
  }
  return GetItemPath(item, nullptr, out);
}

bool CFolderTreeView::UpdateItemMarks(HTREEITEM item, const std::wstring* path, bool force) {
  FolderItemData* record = GetItemRecord(item);
  if (!record) return false;
  if (force) record->marksDone = false;
  else if (record->marksDone) return true;
  std::wstring own;
  if (!path) {
    GetItemPath(item, record, own);
    path = &own;
  }
  bool bold = false;
  if (!path->empty()) {
    if (!record->zip) {
      bold = FolderHasFontFiles(*path);
    } else if (markFontFolders_) {
      std::wstring names;
      bold = ListZipFontFiles(item, names, kFontFileExtensions, true) >= 1;
    }
  }
  ULONG attributes = kMarkAttributes;
  bool known = false;
  if (record->parentFolder) {
    LPCITEMIDLIST child = record->relative.Get();
    known = SUCCEEDED(record->parentFolder->GetAttributesOf(1, &child, &attributes));
  }
  ApplyMarks(*record, bold, known, known ? attributes : 0);
  return true;
}

void CFolderTreeView::ApplyMarks(FolderItemData& record, bool bold, bool attributesKnown, ULONG attributes) {
  record.attributes |= attributes;
  record.marksDone = true;
  TVITEMW tvi{};
  tvi.mask = TVIF_STATE | TVIF_CHILDREN;
  tvi.hItem = record.item;
  tvi.stateMask = TVIS_BOLD;
  tvi.state = bold ? TVIS_BOLD : 0;
  // The root always shows its button; an item whose children are listed keeps it too.
  const bool hasChildren = !record.parentFolder || GetChildItem(record.item) != nullptr ||
                           (attributesKnown && (attributes & SFGAO_HASSUBFOLDER));
  tvi.cChildren = hasChildren ? 1 : 0;
  ::SendMessageW(m_hWnd, TVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&tvi));
}

HTREEITEM CFolderTreeView::TopLevelAncestor(HTREEITEM item) const {
  HTREEITEM root = GetRootItem();
  if (!item || item == root) return nullptr;
  for (;;) {
    HTREEITEM parent = GetParentItem(item);
    if (!parent || parent == root) return item;
    item = parent;
  }
}

// Pre-fill threads.

void CFolderTreeView::StartPrefill() {
  if (closing_) return;
  ReapPrefillThreads(false);
  auto job = std::make_unique<PrefillJob>();
  job->tree = m_hWnd;
  job->message = kPrefillMarksMessage;
  job->closing = &closing_;
  job->markFontFolders = markFontFolders_;
  job->includeHidden = showHidden_;
  CollectPrefillItems(GetChildItem(GetRootItem()), *job);
  if (job->entries.empty()) return;
  const uintptr_t handle = ::_beginthreadex(nullptr, 0, &PrefillThreadProc, job.get(), 0, nullptr);
  if (!handle) {
    for (const PrefillEntry& entry : job->entries) {
      const auto found = records_.find(entry.serial);
      if (found != records_.end()) found->second->prefillQueued = false;
    }
    return;
  }
  prefillThreads_.push_back({orv::ScopedHandle(reinterpret_cast<HANDLE>(handle)), std::move(job)});
}

void CFolderTreeView::CollectPrefillItems(HTREEITEM first, PrefillJob& job) {
  // Every existing item from `first` on, depth first; the main thread takes the copies the
  // thread needs, so that the thread never touches a record or a main-thread shell folder.
  for (HTREEITEM item = first; item; item = GetNextSiblingItem(item)) {
    FolderItemData* record = GetItemRecord(item);
    if (record && !record->marksDone && !record->prefillQueued) {
      PrefillEntry entry;
      entry.serial = record->serial;
      entry.absolute = CloneIdList(record->absolute.Get());
      entry.zip = record->zip;
      GetItemPath(item, record, entry.path);
      if (entry.absolute) {
        record->prefillQueued = true;
        job.entries.push_back(std::move(entry));
      }
    }
    if (HTREEITEM child = GetChildItem(item)) CollectPrefillItems(child, job);
  }
}

LRESULT CFolderTreeView::OnPrefillMarks(UINT, WPARAM, LPARAM lParam, BOOL&) {
  const auto* marks = reinterpret_cast<const PrefillMarks*>(lParam);
  if (!marks || closing_) return 0;
  const auto found = records_.find(marks->serial);
  if (found == records_.end()) return 0;
  FolderItemData& record = *found->second;
  record.prefillQueued = false;
  if (!record.marksDone) ApplyMarks(record, marks->bold, marks->attributesKnown, marks->attributes);
  return 0;
}

void CFolderTreeView::ReapPrefillThreads(bool all) {
  for (auto it = prefillThreads_.begin(); it != prefillThreads_.end();) {
    HANDLE handle = it->handle.Get();
    bool ended = ::WaitForSingleObject(handle, 0) == WAIT_OBJECT_0;
    while (all && !ended) {
      // A thread may be inside SendMessageW to this window: take sent messages while waiting.
      const DWORD wait = ::MsgWaitForMultipleObjects(1, &handle, FALSE, INFINITE, QS_SENDMESSAGE);
      if (wait == WAIT_OBJECT_0 + 1) {
        MSG msg;
        ::PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
      } else {
        if (wait != WAIT_OBJECT_0) ::WaitForSingleObject(handle, INFINITE);
        ended = true;
      }
    }
    it = ended ? prefillThreads_.erase(it) : it + 1;
  }
}
