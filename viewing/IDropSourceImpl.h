// IDropSourceImpl: the drop source of a character dragged out of the character map. The drag
// ends with a drop when the mouse button that started it (left or right, recorded at the
// start) is released, and is cancelled by Esc; the system's cursors show the effect.
//
// Reference-counted COM object, made with a count of 0 and deleted at its last Release; lives
// for one drag. Main thread only.
#pragma once

#include <windows.h>
#include <oleidl.h>

#include <atomic>

class IDropSourceImpl final : public IDropSource {
public:
  static constexpr DWORD kLeftButton = 1;
  static constexpr DWORD kRightButton = 2;

  IDropSourceImpl() = default;
  IDropSourceImpl(const IDropSourceImpl&) = delete;
  IDropSourceImpl& operator=(const IDropSourceImpl&) = delete;

  // The buttons down when the drag began (kLeftButton, kRightButton).
  void SetStartButtons(DWORD buttons) { startButtons_ = buttons; }

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override;
  ULONG STDMETHODCALLTYPE AddRef() override { return ++refs_; }
  ULONG STDMETHODCALLTYPE Release() override;
  HRESULT STDMETHODCALLTYPE QueryContinueDrag(BOOL escapePressed, DWORD keyState) override;
  HRESULT STDMETHODCALLTYPE GiveFeedback(DWORD) override { return DRAGDROP_S_USEDEFAULTCURSORS; }

private:
  ~IDropSourceImpl() = default;

  std::atomic<ULONG> refs_{0};
  DWORD startButtons_ = 0;
};
