#include "tests/support/ModalScript.h"

#include <commctrl.h>
#include <prsht.h>

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
Player* g_player = nullptr;

bool IsDialog(HWND wnd) {
  wchar_t cls[16] = {};
  ::GetClassNameW(wnd, cls, 16);
  return ::lstrcmpW(cls, L"#32770") == 0;
}

void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
  Player* player = g_player;
  if (!player) return;
  if (player->next < player->steps.size()) {
    // A step may open a nested modal window, which runs this timer again: advance first.
    const size_t index = player->next++;
    if (!player->steps[index]()) player->next = index;
    return;
  }
  if (++player->idleTicks > kIdleTicksBeforeCancel)
    if (HWND dialog = player->leftOpen ? player->leftOpen() : TopDialogOfThread()) ::PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
}

BOOL CALLBACK FindTop(HWND wnd, LPARAM found) {
  if (IsDialog(wnd) && ::IsWindowVisible(wnd) && ::IsWindowEnabled(wnd)) {
    *reinterpret_cast<HWND*>(found) = wnd;
    return FALSE;
  }
  return TRUE;
}

}  // namespace

void ModalScript::Run(std::vector<std::function<bool()>> steps, const std::function<void()>& body,
                      HWND (*leftOpen)()) {
  Player player;
  player.steps = std::move(steps);
  player.leftOpen = leftOpen;
  Player* const outer = g_player;
  g_player = &player;
  const UINT_PTR timer = ::SetTimer(nullptr, 0, kTickMs, &Tick);
  body();
  ::KillTimer(nullptr, timer);
  g_player = outer;
  EXPECT_EQ(player.next, player.steps.size()) << "every step ran";
}

HWND TopDialogOfThread() {
  HWND found = nullptr;
  ::EnumThreadWindows(::GetCurrentThreadId(), &FindTop, reinterpret_cast<LPARAM>(&found));
  return found;
}

HWND FindDialogWithControl(int controlId) {
  HWND wnd = nullptr;
  while ((wnd = ::FindWindowExW(nullptr, wnd, L"#32770", nullptr)))
    if (::GetWindowThreadProcessId(wnd, nullptr) == ::GetCurrentThreadId() && ::GetDlgItem(wnd, controlId) &&
        ::IsWindowVisible(wnd))
      return wnd;
  return nullptr;
}

HWND ShowSheetPage(HWND sheet, int index) {
  ::SendMessageW(sheet, PSM_SETCURSEL, index, 0);
  return reinterpret_cast<HWND>(::SendMessageW(sheet, PSM_INDEXTOHWND, index, 0));
}

int CurrentSheetPage(HWND sheet) {
  HWND tab = reinterpret_cast<HWND>(::SendMessageW(sheet, PSM_GETTABCONTROL, 0, 0));
  return static_cast<int>(::SendMessageW(tab, TCM_GETCURSEL, 0, 0));
}

void ClickButton(HWND dialog, int id) {
  ::SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(::GetDlgItem(dialog, id)));
}

}  // namespace testing_support
