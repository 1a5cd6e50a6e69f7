// Typed message handlers for the message maps of MessageMap.h: each macro unpacks its message
// and calls a handler that takes the message's own arguments. A handler that wants the default
// processing as well calls DefWindowProc() itself.
//
//   MSG_WM_CREATE(OnCreate)            LRESULT OnCreate(CREATESTRUCTW*)   (-1 stops the creation)
//   MSG_WM_DESTROY(OnDestroy)          void OnDestroy()
//   MSG_WM_SIZE(OnSize)                void OnSize(UINT type, SIZE client)
//   MSG_WM_GETMINMAXINFO(OnMinMax)     void OnMinMax(MINMAXINFO*)
//   MSG_WM_MOUSE(WM_MOUSEMOVE, OnMove) void OnMove(UINT keys, POINT client)   (any client-area mouse message)
//   MSG_WM_MOUSEWHEEL(OnWheel)         void OnWheel(UINT keys, short delta, POINT screen)
//   MSG_WM_KEYDOWN(OnKeyDown)          void OnKeyDown(UINT key, UINT repeat, UINT flags)
//   MSG_WM_INITDIALOG(OnInitDialog)    BOOL OnInitDialog(HWND focus, LPARAM init)
//   MSG_WM_TIMER(OnTimer)              void OnTimer(UINT_PTR id)   (an unhandled id: call DefWindowProc)
//   MSG_WM_FONTCHANGE(OnFontChange)    void OnFontChange()
//   COMMAND_ID_HANDLER_EX(id, OnCmd)   void OnCmd(UINT code, int id, HWND control)
//   COMMAND_HANDLER_EX(id, code, OnCmd)  the same for one notification code
//   COMMAND_RANGE_HANDLER_EX(first, last, OnCmd)  the same for every id from first to last
//   NOTIFY_CODE_HANDLER_EX(code, OnNm) LRESULT OnNm(NMHDR*)
#pragma once

#include <windows.h>

#include "framework/MessageMap.h"

// The signed coordinates of a mouse message (windowsx.h's GET_X_LPARAM, without its macros).
#define ORV_CLIENT_POINT_ \
  POINT{static_cast<LONG>(static_cast<short>(LOWORD(lParam))), static_cast<LONG>(static_cast<short>(HIWORD(lParam)))}

#define MSG_WM_CREATE(func)                                         \
  if (uMsg == WM_CREATE) {                                          \
    lResult = func(reinterpret_cast<CREATESTRUCTW*>(lParam));       \
    return TRUE;                                                    \
  }

#define MSG_WM_DESTROY(func) \
  if (uMsg == WM_DESTROY) {  \
    func();                  \
    lResult = 0;             \
    return TRUE;             \
  }

#define MSG_WM_SIZE(func)                                                                            \
  if (uMsg == WM_SIZE) {                                                                             \
    func(static_cast<UINT>(wParam), SIZE{static_cast<LONG>(LOWORD(lParam)), static_cast<LONG>(HIWORD(lParam))}); \
    lResult = 0;                                                                                     \
    return TRUE;                                                                                     \
  }

#define MSG_WM_GETMINMAXINFO(func)                     \
  if (uMsg == WM_GETMINMAXINFO) {                      \
    func(reinterpret_cast<MINMAXINFO*>(lParam));       \
    lResult = 0;                                       \
    return TRUE;                                       \
  }

#define MSG_WM_MOUSE(msg, func)                          \
  if (uMsg == (msg)) {                                   \
    func(static_cast<UINT>(wParam), ORV_CLIENT_POINT_);  \
    lResult = 0;                                         \
    return TRUE;                                         \
  }

#define MSG_WM_MOUSEWHEEL(func)                                                                          \
  if (uMsg == WM_MOUSEWHEEL) {                                                                           \
    func(static_cast<UINT>(GET_KEYSTATE_WPARAM(wParam)), GET_WHEEL_DELTA_WPARAM(wParam), ORV_CLIENT_POINT_); \
    lResult = 0;                                                                                         \
    return TRUE;                                                                                         \
  }

#define MSG_WM_KEYDOWN(func)                                                                     \
  if (uMsg == WM_KEYDOWN) {                                                                      \
    func(static_cast<UINT>(wParam), static_cast<UINT>(lParam & 0xFFFF), static_cast<UINT>(HIWORD(lParam))); \
    lResult = 0;                                                                                 \
    return TRUE;                                                                                 \
  }

#define MSG_WM_INITDIALOG(func)                                    \
  if (uMsg == WM_INITDIALOG) {                                     \
    lResult = func(reinterpret_cast<HWND>(wParam), lParam);        \
    return TRUE;                                                   \
  }

#define MSG_WM_TIMER(func)                    \
  if (uMsg == WM_TIMER) {                     \
    func(static_cast<UINT_PTR>(wParam));      \
    lResult = 0;                              \
    return TRUE;                              \
  }

#define MSG_WM_FONTCHANGE(func) \
  if (uMsg == WM_FONTCHANGE) {  \
    func();                     \
    lResult = 0;                \
    return TRUE;                \
  }

#define COMMAND_ID_HANDLER_EX(id, func)                                                       \
  if (uMsg == WM_COMMAND && (id) == LOWORD(wParam)) {                                         \
    func(static_cast<UINT>(HIWORD(wParam)), static_cast<int>(LOWORD(wParam)), reinterpret_cast<HWND>(lParam)); \
    lResult = 0;                                                                              \
    return TRUE;                                                                              \
  }

#define COMMAND_HANDLER_EX(id, code, func)                                                     \
  if (uMsg == WM_COMMAND && (id) == LOWORD(wParam) && (code) == HIWORD(wParam)) {              \
    func(static_cast<UINT>(HIWORD(wParam)), static_cast<int>(LOWORD(wParam)), reinterpret_cast<HWND>(lParam)); \
    lResult = 0;                                                                               \
    return TRUE;                                                                               \
  }

#define COMMAND_RANGE_HANDLER_EX(first, last, func)                                             \
  if (uMsg == WM_COMMAND && LOWORD(wParam) >= (first) && LOWORD(wParam) <= (last)) {              \
    func(static_cast<UINT>(HIWORD(wParam)), static_cast<int>(LOWORD(wParam)), reinterpret_cast<HWND>(lParam)); \
    lResult = 0;                                                                                  \
    return TRUE;                                                                                  \
  }

#define NOTIFY_CODE_HANDLER_EX(cd, func)                                      \
  if (uMsg == WM_NOTIFY && static_cast<UINT>(cd) == ORV_NMHDR_->code) {     \
    lResult = func(ORV_NMHDR_);                                               \
    return TRUE;                                                              \
  }
