// Message maps: one ProcessWindowMessage per class, written with the macros below.
//
//   BEGIN_MSG_MAP(CMyWnd)
//     MESSAGE_HANDLER(WM_CREATE, OnCreate)          // LRESULT OnCreate(UINT, WPARAM, LPARAM, BOOL& handled)
//     COMMAND_ID_HANDLER(IDOK, OnOK)                // LRESULT OnOK(WORD code, WORD id, HWND ctl, BOOL& handled)
//     NOTIFY_CODE_HANDLER(NM_DBLCLK, OnDblClk)      // LRESULT OnDblClk(int id, NMHDR* hdr, BOOL& handled)
//     CHAIN_MSG_MAP(CBase)                          // what this map leaves goes to the base
//   ALT_MSG_MAP(1)                                  // an alternate map, for a contained window
//     ...
//   END_MSG_MAP()
//
// A handler runs with `handled` set to TRUE; clearing it lets the search go on as if the
// handler had not matched. The map returns TRUE when some handler took the message.
#pragma once

#include <windows.h>
#include <commctrl.h>

namespace orv {

// Notifications reflected back to the control that sent them arrive as kReflectBase + message.
constexpr UINT kReflectBase = WM_USER + 0x1c00;

class CMessageMap {
public:
  virtual BOOL ProcessWindowMessage(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lResult,
                                    DWORD dwMsgMapID = 0) = 0;

protected:
  ~CMessageMap() = default;
};

}  // namespace orv

#define ORV_BEGIN_MSG_MAP_(virtSpec)                                                                  \
 public:                                                                                              \
  BOOL ProcessWindowMessage(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lResult,     \
                            DWORD dwMsgMapID = 0) virtSpec {                                          \
    BOOL bHandled = TRUE;                                                                             \
    (void)hWnd;                                                                                       \
    (void)uMsg;                                                                                       \
    (void)wParam;                                                                                     \
    (void)lParam;                                                                                     \
    (void)lResult;                                                                                    \
    (void)bHandled;                                                                                   \
    switch (dwMsgMapID) {                                                                             \
      case 0: {

#define BEGIN_MSG_MAP(theClass) ORV_BEGIN_MSG_MAP_(override)

// For mix-in classes that are not windows themselves (update-UI, custom draw, ...): the same map,
// not virtual; the window class chains to it with CHAIN_MSG_MAP.
#define BEGIN_MIXIN_MSG_MAP(theClass) ORV_BEGIN_MSG_MAP_()

#define ALT_MSG_MAP(mapId) \
  break;                   \
  }                        \
  case mapId: {

#define END_MSG_MAP() \
  break;              \
  }                   \
  default:            \
    break;            \
    }                 \
    return FALSE;     \
    }

#define ORV_RUN_HANDLER_(call)     \
  {                                \
    bHandled = TRUE;               \
    lResult = call;                \
    if (bHandled) return TRUE;     \
  }

#define MESSAGE_HANDLER(msg, func) \
  if (uMsg == (msg)) ORV_RUN_HANDLER_(func(uMsg, wParam, lParam, bHandled))

#define MESSAGE_RANGE_HANDLER(msgFirst, msgLast, func) \
  if (uMsg >= (msgFirst) && uMsg <= (msgLast)) ORV_RUN_HANDLER_(func(uMsg, wParam, lParam, bHandled))

#define COMMAND_HANDLER(id, code, func)                                        \
  if (uMsg == WM_COMMAND && (id) == LOWORD(wParam) && (code) == HIWORD(wParam)) \
  ORV_RUN_HANDLER_(func(HIWORD(wParam), LOWORD(wParam), reinterpret_cast<HWND>(lParam), bHandled))

#define COMMAND_ID_HANDLER(id, func)                 \
  if (uMsg == WM_COMMAND && (id) == LOWORD(wParam)) \
  ORV_RUN_HANDLER_(func(HIWORD(wParam), LOWORD(wParam), reinterpret_cast<HWND>(lParam), bHandled))

#define COMMAND_CODE_HANDLER(code, func)               \
  if (uMsg == WM_COMMAND && (code) == HIWORD(wParam)) \
  ORV_RUN_HANDLER_(func(HIWORD(wParam), LOWORD(wParam), reinterpret_cast<HWND>(lParam), bHandled))

#define COMMAND_RANGE_HANDLER(idFirst, idLast, func)                                \
  if (uMsg == WM_COMMAND && LOWORD(wParam) >= (idFirst) && LOWORD(wParam) <= (idLast)) \
  ORV_RUN_HANDLER_(func(HIWORD(wParam), LOWORD(wParam), reinterpret_cast<HWND>(lParam), bHandled))

#define ORV_NMHDR_ reinterpret_cast<LPNMHDR>(lParam)

#define NOTIFY_HANDLER(id, cd, func)                                                          \
  if (uMsg == WM_NOTIFY && (id) == ORV_NMHDR_->idFrom && static_cast<UINT>(cd) == ORV_NMHDR_->code) \
  ORV_RUN_HANDLER_(func(static_cast<int>(wParam), ORV_NMHDR_, bHandled))

#define NOTIFY_ID_HANDLER(id, func)                     \
  if (uMsg == WM_NOTIFY && (id) == ORV_NMHDR_->idFrom) \
  ORV_RUN_HANDLER_(func(static_cast<int>(wParam), ORV_NMHDR_, bHandled))

#define NOTIFY_CODE_HANDLER(cd, func)                                      \
  if (uMsg == WM_NOTIFY && static_cast<UINT>(cd) == ORV_NMHDR_->code)    \
  ORV_RUN_HANDLER_(func(static_cast<int>(wParam), ORV_NMHDR_, bHandled))

#define NOTIFY_RANGE_HANDLER(idFirst, idLast, func)                                           \
  if (uMsg == WM_NOTIFY && ORV_NMHDR_->idFrom >= (idFirst) && ORV_NMHDR_->idFrom <= (idLast)) \
  ORV_RUN_HANDLER_(func(static_cast<int>(wParam), ORV_NMHDR_, bHandled))

// Handlers of notifications reflected to the control itself.
#define REFLECTED_COMMAND_CODE_HANDLER(code, func)                              \
  if (uMsg == ::orv::kReflectBase + WM_COMMAND && (code) == HIWORD(wParam)) \
  ORV_RUN_HANDLER_(func(HIWORD(wParam), LOWORD(wParam), reinterpret_cast<HWND>(lParam), bHandled))

#define REFLECTED_NOTIFY_CODE_HANDLER(cd, func)                                              \
  if (uMsg == ::orv::kReflectBase + WM_NOTIFY && static_cast<UINT>(cd) == ORV_NMHDR_->code) \
  ORV_RUN_HANDLER_(func(static_cast<int>(wParam), ORV_NMHDR_, bHandled))

#define CHAIN_MSG_MAP(theChainClass)                                                   \
  {                                                                                     \
    if (theChainClass::ProcessWindowMessage(hWnd, uMsg, wParam, lParam, lResult)) return TRUE; \
  }

#define CHAIN_MSG_MAP_ALT(theChainClass, mapId)                                              \
  {                                                                                           \
    if (theChainClass::ProcessWindowMessage(hWnd, uMsg, wParam, lParam, lResult, mapId)) return TRUE; \
  }

#define CHAIN_MSG_MAP_MEMBER(member)                                                  \
  {                                                                                    \
    if ((member).ProcessWindowMessage(hWnd, uMsg, wParam, lParam, lResult)) return TRUE; \
  }

#define CHAIN_MSG_MAP_ALT_MEMBER(member, mapId)                                              \
  {                                                                                           \
    if ((member).ProcessWindowMessage(hWnd, uMsg, wParam, lParam, lResult, mapId)) return TRUE; \
  }

// Sends control notifications (WM_COMMAND, WM_NOTIFY, ...) on to this window's parent.
#define FORWARD_NOTIFICATIONS() \
  ORV_RUN_HANDLER_(this->ForwardNotifications(uMsg, wParam, lParam, bHandled))

// Sends control notifications back to the control that sent them, as kReflectBase + message.
#define REFLECT_NOTIFICATIONS() \
  ORV_RUN_HANDLER_(this->ReflectNotifications(uMsg, wParam, lParam, bHandled))

// In a control's map: reflected messages it does not handle get their default result.
#define DEFAULT_REFLECTION_HANDLER() \
  if (this->DefaultReflectionHandler(hWnd, uMsg, wParam, lParam, lResult)) return TRUE;
