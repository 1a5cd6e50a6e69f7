#include "framework/MessageLoop.h"

#include <gtest/gtest.h>

#include <vector>


using namespace orv;

namespace {

struct RecordingFilter : CMessageFilter {
  RecordingFilter(std::vector<int>& log, int id, bool take) : log(log), id(id), take(take) {}
  bool PreTranslateMessage(MSG* msg) override {
    if (msg->message != WM_APP) return false;
    log.push_back(id);
    return take;
  }
  std::vector<int>& log;
  int id;
  bool take;
};

struct CountingIdle : CIdleHandler {
  bool OnIdle() override {
    // Asks for more, but the loop runs each handler once per idle phase; a posted message
    // starts the next phase.
    ++calls;
    if (calls == 3) ::PostQuitMessage(7);
    else ::PostThreadMessageW(::GetCurrentThreadId(), WM_NULL, 0, 0);
    return true;
  }
  int calls = 0;
};

TEST(MessageLoop, FiltersNewestFirstAndIdleOncePerPhase) {
  std::vector<int> log;
  CMessageLoop loop;
  RecordingFilter older(log, 1, false), newer(log, 2, true);
  loop.AddMessageFilter(&older);
  loop.AddMessageFilter(&newer);
  MSG msg{nullptr, WM_APP, 0, 0, 0, {0, 0}};
  EXPECT_TRUE(loop.PreTranslateMessage(&msg));
  EXPECT_EQ(log, std::vector<int>{2});  // the newest took it; the older never saw it
  loop.RemoveMessageFilter(&newer);
  log.clear();
  EXPECT_FALSE(loop.PreTranslateMessage(&msg));
  EXPECT_EQ(log, std::vector<int>{1});

  CountingIdle idle;
  loop.AddIdleHandler(&idle);
  // Mouse moves do not start an idle phase.
  for (UINT m : {WM_MOUSEMOVE, WM_MOUSEMOVE}) ::PostThreadMessageW(::GetCurrentThreadId(), m, 0, 0);
  EXPECT_EQ(loop.Run(), 7);
  EXPECT_EQ(idle.calls, 3);
  EXPECT_FALSE(CMessageLoop::IsIdleMessage(MSG{nullptr, WM_PAINT, 0, 0, 0, {0, 0}}));
  EXPECT_FALSE(CMessageLoop::IsIdleMessage(MSG{nullptr, 0x0118, 0, 0, 0, {0, 0}}));
  EXPECT_TRUE(CMessageLoop::IsIdleMessage(MSG{nullptr, WM_KEYDOWN, 0, 0, 0, {0, 0}}));
}

}  // namespace
