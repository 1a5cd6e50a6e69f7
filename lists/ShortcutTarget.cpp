#include "lists/ShortcutTarget.h"

#include <objbase.h>
#include <shlobj.h>

#include "framework/Handles.h"

namespace {
// SLR_NOUPDATE | SLR_NOTRACK | SLR_NOLINKINFO: no writes to the link, no searching.
constexpr DWORD kResolveFlags = static_cast<DWORD>(SLR_NOUPDATE) | static_cast<DWORD>(SLR_NOTRACK) |
                                static_cast<DWORD>(SLR_NOLINKINFO);
static_assert(kResolveFlags == 0x68);
}  // namespace

bool ResolveShortcutTarget(const std::wstring& link, HWND owner, std::wstring& target) {
  target.clear();
  orv::ComPtr<IShellLinkW> shellLink;
  if (FAILED(::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                shellLink.ReceiveVoid())))
    return false;
  orv::ComPtr<IPersistFile> file;
  if (FAILED(shellLink.As(file)) || FAILED(file->Load(link.c_str(), STGM_READ))) return false;
  if (FAILED(shellLink->Resolve(owner, kResolveFlags))) return false;
  wchar_t path[MAX_PATH] = {};
  if (FAILED(shellLink->GetPath(path, MAX_PATH, nullptr, SLGP_UNCPRIORITY)) || !path[0]) return false;
  target = path;
  return true;
}
