// The message loop of a UI thread, with message filters and idle handlers.
//
// Filters see each message before it is translated and dispatched, the most recently added
// first; the first that returns true takes the message. Idle handlers run once each per idle
// phase: when the queue is empty after a message that was not a mouse move, paint or caret
// blink. Used on the thread that owns it only.
#pragma once

#include <windows.h>
#include <vector>

namespace orv {

class CMessageFilter {
public:
  virtual bool PreTranslateMessage(MSG* msg) = 0;

protected:
  ~CMessageFilter() = default;
};

class CIdleHandler {
public:
  virtual bool OnIdle() = 0;

protected:
  ~CIdleHandler() = default;
};

class CMessageLoop {
public:
  void AddMessageFilter(CMessageFilter* filter);
  void RemoveMessageFilter(CMessageFilter* filter);
  void AddIdleHandler(CIdleHandler* handler);
  void RemoveIdleHandler(CIdleHandler* handler);

  // Runs until WM_QUIT and returns its wParam.
  int Run();

  // Offers the message to the filters; true when one of them took it.
  bool PreTranslateMessage(MSG* msg);

  // Calls every idle handler once; the count is the number of idle passes so far in this phase.
  bool OnIdle(int idleCount);

  // Messages after which the loop does not start a new idle phase.
  static bool IsIdleMessage(const MSG& msg);

private:
  std::vector<CMessageFilter*> filters_;
  std::vector<CIdleHandler*> idleHandlers_;
};

}  // namespace orv
