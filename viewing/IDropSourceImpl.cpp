#include "viewing/IDropSourceImpl.h"

HRESULT IDropSourceImpl::QueryInterface(REFIID riid, void** out) {
  if (!out) return E_POINTER;
  if (riid == IID_IUnknown || riid == IID_IDropSource) {
    *out = static_cast<IDropSource*>(this);
    AddRef();
    return S_OK;
  }
  *out = nullptr;
  return E_NOINTERFACE;
}

ULONG IDropSourceImpl::Release() {
  const ULONG left = --refs_;
  if (left == 0) delete this;
  return left;
}

HRESULT IDropSourceImpl::QueryContinueDrag(BOOL escapePressed, DWORD keyState) {
  if (escapePressed) return DRAGDROP_S_CANCEL;
  if ((startButtons_ & kLeftButton) && !(keyState & MK_LBUTTON)) return DRAGDROP_S_DROP;
  if ((startButtons_ & kRightButton) && !(keyState & MK_RBUTTON)) return DRAGDROP_S_DROP;
  return S_OK;
}
