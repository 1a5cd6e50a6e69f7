// Results a worker thread hands to a window by value: the worker posts a private message whose
// lParam owns a heap object, and the window takes it back into a unique_ptr. Nothing is lost
// when a post fails (the object is freed at once) or when the window goes away with messages
// still queued: after joining its worker the window discards what is left in its queue.
//
//   worker:  PostOwned(window, kMsgBatch, 0, std::move(batch));
//   window:  std::unique_ptr<Batch> batch = TakeOwned<Batch>(lParam);
//   closing: join the worker, then DiscardOwned<Batch>(window, kMsgBatch);
#pragma once

#include <windows.h>

#include <memory>

namespace orv {

// Posts `payload` with the message; false (and the payload freed) when the post fails.
template <class T>
bool PostOwned(HWND window, UINT message, WPARAM wParam, std::unique_ptr<T> payload) {
  if (!window || !::PostMessageW(window, message, wParam, reinterpret_cast<LPARAM>(payload.get()))) return false;
  (void)payload.release();  // the receiver owns it now
  return true;
}

// The payload of a message posted with PostOwned.
template <class T>
[[nodiscard]] std::unique_ptr<T> TakeOwned(LPARAM lParam) {
  return std::unique_ptr<T>(reinterpret_cast<T*>(lParam));
}

// Removes every queued `message` of `window` and hands each payload to `take`, in the order
// posted. Called on the window's thread once no worker can post any more; the number of
// messages removed.
template <class T, class F>
int DrainOwned(HWND window, UINT message, F&& take) {
  int count = 0;
  MSG msg;
  while (::PeekMessageW(&msg, window, message, message, PM_REMOVE | PM_NOYIELD)) {
    take(TakeOwned<T>(msg.lParam));
    ++count;
  }
  return count;
}

// The same, freeing the payloads.
template <class T>
int DiscardOwned(HWND window, UINT message) {
  return DrainOwned<T>(window, message, [](std::unique_ptr<T>) {});
}

}  // namespace orv
