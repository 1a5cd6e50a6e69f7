// Unpacking of font files out of a zip folder through the shell's own zip folders
// (Shell.Application): a mix-in for the owner T, which supplies
//   bool ShouldAbort()                                       asked before each file
//   void OnZipFile(const std::wstring& folder, const std::wstring& name)  each copied file
// The shell's copy can finish after CopyHere returns, so a file is handed on only once it can
// be opened for reading with its size settled.
#pragma once

#include <windows.h>
#include <shldisp.h>
#include <shlwapi.h>

#include <string>

#include "common/StringHelpers.h"
#include "framework/Handles.h"

namespace zip_detail {

// Waits (up to about five seconds) until the file exists, opens for reading without sharing
// violations and keeps its size between two looks.
bool WaitForCompleteFile(const std::wstring& path);

class ScopedVariant {
public:
  ScopedVariant() { ::VariantInit(&v); }
  ~ScopedVariant() { ::VariantClear(&v); }
  ScopedVariant(const ScopedVariant&) = delete;
  ScopedVariant& operator=(const ScopedVariant&) = delete;
  VARIANT v;
};

}  // namespace zip_detail

template <typename T>
class CZipperImpl {
public:
  bool m_aborted = false;

  // Copies the files of `zip` whose names occur in the tab-separated `names` into
  // `destination`. Returns the last shell result.
  HRESULT Extract(const std::wstring& zip, const std::wstring& destination, const std::wstring& names) {
    using zip_detail::ScopedVariant;
    std::wstring wanted = names;
    for (wchar_t& ch : wanted)
      if (ch == L'\t') ch = L'|';
    wanted = L"|" + wanted + L"|";

    orv::ComPtr<IShellDispatch> shell;
    HRESULT hr = ::CoCreateInstance(CLSID_Shell, nullptr, CLSCTX_INPROC_SERVER, IID_IShellDispatch,
                                    reinterpret_cast<void**>(shell.Receive()));
    if (FAILED(hr)) return hr;
    orv::ComPtr<Folder> target;
    orv::ComPtr<Folder> source;
    {
      ScopedVariant where;
      where.v.vt = VT_BSTR;
      where.v.bstrVal = ::SysAllocString((destination + L"\\").c_str());
      hr = shell->NameSpace(where.v, target.Receive());
      if (FAILED(hr) || !target) return FAILED(hr) ? hr : E_FAIL;
      ScopedVariant from;
      from.v.vt = VT_BSTR;
      from.v.bstrVal = ::SysAllocString((zip + L"\\").c_str());
      hr = shell->NameSpace(from.v, source.Receive());
      if (FAILED(hr) || !source) return FAILED(hr) ? hr : E_FAIL;
    }
    orv::ComPtr<FolderItems> items;
    hr = source->Items(items.Receive());
    if (FAILED(hr) || !items) return FAILED(hr) ? hr : E_FAIL;
    long count = 0;
    hr = items->get_Count(&count);
    if (FAILED(hr)) return hr;
    ScopedVariant options;
    options.v.vt = VT_I4;
    options.v.lVal = 0x614;  // FOF_SILENT | FOF_NOCONFIRMATION | FOF_NOCONFIRMMKDIR | FOF_NOERRORUI
    for (long i = 0; i < count; ++i) {
      ScopedVariant index;
      index.v.vt = VT_I4;
      index.v.lVal = i;
      orv::ComPtr<FolderItem> item;
      hr = items->Item(index.v, item.Receive());
      if (FAILED(hr) || !item) break;
      BSTR path = nullptr;
      if (FAILED(item->get_Path(&path)) || !path) continue;
      std::wstring name = path;
      ::SysFreeString(path);
      ::PathStripPathW(name.data());
      name.resize(wcslen(name.c_str()));
      if (FindNoCase(wanted, L"|" + name + L"|") < 0) continue;
      if (static_cast<T*>(this)->ShouldAbort()) {
        m_aborted = true;
        break;
      }
      ScopedVariant what;
      what.v.vt = VT_DISPATCH;
      what.v.pdispVal = item.Get();
      what.v.pdispVal->AddRef();
      hr = target->CopyHere(what.v, options.v);
      if (SUCCEEDED(hr) && zip_detail::WaitForCompleteFile(destination + L"\\" + name))
        static_cast<T*>(this)->OnZipFile(destination, name);
    }
    if (!m_aborted) ::Sleep(1000);
    return hr;
  }
};
