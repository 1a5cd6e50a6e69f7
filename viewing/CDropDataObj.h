// CDropDataObj: the data object of a character dragged out of the character map. It offers the
// character as Unicode text (CF_UNICODETEXT) and as ANSI text of the thread's code page
// (CF_TEXT; a character the code page lacks becomes its default character), each in movable
// global memory that the receiver frees.
//
// Reference-counted COM object, made with a count of 0 and deleted at its last Release; lives
// for one drag (a drop target may keep it longer). Main thread only.
#pragma once

#include <windows.h>
#include <objidl.h>

#include <atomic>
#include <string>

class CDropDataObj final : public IDataObject {
public:
  // `text`: the dragged character, one UTF-16 unit or a surrogate pair.
  explicit CDropDataObj(std::wstring text) : text_(std::move(text)) {}
  CDropDataObj(const CDropDataObj&) = delete;
  CDropDataObj& operator=(const CDropDataObj&) = delete;

  // IUnknown
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override;
  ULONG STDMETHODCALLTYPE AddRef() override { return ++refs_; }
  ULONG STDMETHODCALLTYPE Release() override;

  // IDataObject
  HRESULT STDMETHODCALLTYPE GetData(FORMATETC* format, STGMEDIUM* medium) override;
  HRESULT STDMETHODCALLTYPE GetDataHere(FORMATETC*, STGMEDIUM*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE QueryGetData(FORMATETC* format) override;
  HRESULT STDMETHODCALLTYPE GetCanonicalFormatEtc(FORMATETC*, FORMATETC*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE SetData(FORMATETC*, STGMEDIUM*, BOOL) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE EnumFormatEtc(DWORD direction, IEnumFORMATETC** out) override;
  HRESULT STDMETHODCALLTYPE DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE DUnadvise(DWORD) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE EnumDAdvise(IEnumSTATDATA**) override { return E_NOTIMPL; }

private:
  ~CDropDataObj() = default;

  std::atomic<ULONG> refs_{0};
  std::wstring text_;
};
