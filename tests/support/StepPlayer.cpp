#include "tests/support/StepPlayer.h"

#include <gtest/gtest.h>

namespace testing_support {

namespace {

constexpr UINT kTickMs = 40;
constexpr int kIdleTicksBeforeCancel = 50;

struct Player {
  std::vector<std::function<bool()>> steps;
  size_t next = 0;
  int idleTicks = 0;
  HWND (*leftOpen)() = nullptr;
};
Player g_player;

void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
  Player& p = g_player;
  if (p.next < p.steps.size()) {
    // Steps may open nested modal windows, which run this timer again: advance first.
    const size_t index = p.next++;
    if (!p.steps[index]()) p.next = index;
    return;
  }
  if (++p.idleTicks > kIdleTicksBeforeCancel && p.leftOpen)
    if (HWND window = p.leftOpen()) ::PostMessageW(window, WM_COMMAND, IDCANCEL, 0);
}

}  // namespace

void PlaySteps(std::vector<std::function<bool()>> steps, const std::function<void()>& body, HWND (*leftOpen)()) {
  g_player = Player{std::move(steps), 0, 0, leftOpen};
  const UINT_PTR timer = ::SetTimer(nullptr, 0, kTickMs, &Tick);
  body();
  ::KillTimer(nullptr, timer);
  EXPECT_EQ(g_player.next, g_player.steps.size()) << "every step ran";
}

HWND FindDialogWithControl(int controlId) {
  HWND wnd = nullptr;
  while ((wnd = ::FindWindowExW(nullptr, wnd, L"#32770", nullptr)))
    if (::GetWindowThreadProcessId(wnd, nullptr) == ::GetCurrentThreadId() && ::GetDlgItem(wnd, controlId) &&
        ::IsWindowVisible(wnd))
      return wnd;
  return nullptr;
}

}  // namespace testing_support
