#include "lists/FolderTreePrefill.h"

#include <objbase.h>
#include <shlobj.h>

#include "lists/FolderFontFiles.h"

PrefillMarks ComputePrefillMarks(const PrefillEntry& entry, bool markFontFolders, bool includeHidden) {
  PrefillMarks marks;
  marks.serial = entry.serial;
  if (!entry.path.empty()) {
    if (!entry.zip) {
      marks.bold = markFontFolders && FolderHoldsFontFiles(entry.path);
    } else if (markFontFolders) {
      orv::ComPtr<IShellFolder> folder = BindAbsoluteFolder(entry.absolute.Get());
      marks.bold = ListFontFilesInFolder(folder.Get(), nullptr, includeHidden, nullptr, kFontFileExtensions, true) >= 1;
    }
  }
  orv::ComPtr<IShellFolder> parent;
  PCUITEMID_CHILD last = nullptr;
  if (entry.absolute && SUCCEEDED(::SHBindToParent(entry.absolute.Get(), IID_IShellFolder, parent.ReceiveVoid(), &last)) &&
      parent) {
    ULONG attributes = kMarkAttributes;
    if (SUCCEEDED(parent->GetAttributesOf(1, &last, &attributes))) {
      marks.attributesKnown = true;
      marks.attributes = attributes;
    }
  }
  return marks;
}

unsigned __stdcall PrefillThreadProc(void* arg) {
  auto* job = static_cast<PrefillJob*>(arg);
  const HRESULT com = ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  for (const PrefillEntry& entry : job->entries) {
    if (job->closing->load()) break;
    PrefillMarks marks = ComputePrefillMarks(entry, job->markFontFolders, job->includeHidden);
    if (job->closing->load()) break;
    ::SendMessageW(job->tree, job->message, 0, reinterpret_cast<LPARAM>(&marks));
  }
  if (SUCCEEDED(com)) ::CoUninitialize();
  job->running.store(false);
  return 0;
}
