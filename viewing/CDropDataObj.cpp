#include "viewing/CDropDataObj.h"

#include <shlobj.h>

#include <cstring>

namespace {

const FORMATETC kFormats[] = {
    {CF_UNICODETEXT, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL},
    {CF_TEXT, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL},
};

// Movable global memory holding `bytes` bytes of `data`; null when it cannot be had.
HGLOBAL GlobalCopy(const void* data, size_t bytes) {
  HGLOBAL memory = ::GlobalAlloc(GMEM_MOVEABLE, bytes);
  if (!memory) return nullptr;
  void* target = ::GlobalLock(memory);
  if (!target) {
    ::GlobalFree(memory);
    return nullptr;
  }
  std::memcpy(target, data, bytes);
  ::GlobalUnlock(memory);
  return memory;
}

}  // namespace

HRESULT CDropDataObj::QueryInterface(REFIID riid, void** out) {
  if (!out) return E_POINTER;
  if (riid == IID_IUnknown || riid == IID_IDataObject) {
    *out = static_cast<IDataObject*>(this);
    AddRef();
    return S_OK;
  }
  *out = nullptr;
  return E_NOINTERFACE;
}

ULONG CDropDataObj::Release() {
  const ULONG left = --refs_;
  if (left == 0) delete this;
  return left;
}

HRESULT CDropDataObj::GetData(FORMATETC* format, STGMEDIUM* medium) {
  if (!format || !medium) return E_INVALIDARG;
  HGLOBAL memory = nullptr;
  if (format->cfFormat == CF_UNICODETEXT) {
    memory = GlobalCopy(text_.c_str(), (text_.size() + 1) * sizeof(wchar_t));
  } else if (format->cfFormat == CF_TEXT) {
    const int units = static_cast<int>(text_.size());
    const int bytes = ::WideCharToMultiByte(CP_THREAD_ACP, 0, text_.c_str(), units, nullptr, 0, nullptr, nullptr);
    std::string ansi(static_cast<size_t>(bytes > 0 ? bytes : 0), '\0');
    if (bytes > 0) ::WideCharToMultiByte(CP_THREAD_ACP, 0, text_.c_str(), units, ansi.data(), bytes, nullptr, nullptr);
    memory = GlobalCopy(ansi.c_str(), ansi.size() + 1);
  } else {
    return E_NOTIMPL;
  }
  if (!memory) return E_UNEXPECTED;
  medium->tymed = TYMED_HGLOBAL;
  medium->hGlobal = memory;
  medium->pUnkForRelease = nullptr;
  return S_OK;
}

HRESULT CDropDataObj::QueryGetData(FORMATETC* format) {
  if (!format) return E_INVALIDARG;
  for (const FORMATETC& f : kFormats)
    if (f.cfFormat == format->cfFormat) return S_OK;
  return DV_E_FORMATETC;
}

HRESULT CDropDataObj::EnumFormatEtc(DWORD, IEnumFORMATETC** out) {
  if (!out) return E_POINTER;
  return ::SHCreateStdEnumFmtEtc(static_cast<UINT>(std::size(kFormats)), kFormats, out);
}
