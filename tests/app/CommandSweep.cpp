#include "tests/app/CommandSweep.h"

#include <commctrl.h>
#include <cxxabi.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <typeinfo>

#include "app/CToolWindow.h"
#include "common/Seams.h"
#include "framework/WindowImpl.h"
#include "search/CSearchDlg.h"

using namespace testing_support;

namespace command_sweep {

namespace {

constexpr UINT kCatchTickMs = 30;
constexpr DWORD kPostedWorkMs = 150;
constexpr int kToolCloseTries = 100;

Outcome* g_outcome = nullptr;
std::set<HWND> g_before;
std::set<HWND> g_handled;

std::string Demangle(const char* name) {
  int status = 0;
  std::unique_ptr<char, decltype(&std::free)> plain(abi::__cxa_demangle(name, nullptr, nullptr, &status), &std::free);
  return status == 0 && plain ? std::string(plain.get()) : std::string(name);
}

std::wstring Caption(HWND wnd) {
  wchar_t text[256] = {};
  ::InternalGetWindowText(wnd, text, 256);
  return text;
}

std::wstring ClassOf(HWND wnd) {
  wchar_t name[64] = {};
  ::GetClassNameW(wnd, name, 64);
  return name;
}

BOOL CALLBACK CollectChild(HWND child, LPARAM out) {
  auto* seen = reinterpret_cast<SeenWindow*>(out);
  seen->controls.push_back(::GetDlgCtrlID(child));
  if (ClassOf(child) != WC_TABCONTROLW) return TRUE;
  auto* tabs = &seen->tabs;
  const int count = static_cast<int>(::SendMessageW(child, TCM_GETITEMCOUNT, 0, 0));
  for (int i = 0; i < count; ++i) {
    wchar_t text[256] = {};
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = text;
    item.cchTextMax = 256;
    ::SendMessageW(child, TCM_GETITEMW, i, reinterpret_cast<LPARAM>(&item));
    tabs->push_back(text);
  }
  return TRUE;
}

SeenWindow Describe(HWND wnd) {
  SeenWindow seen;
  seen.caption = Caption(wnd);
  orv::CWindowImplRoot* object = orv::CWindowImplRoot::FromHandle(wnd);
  seen.kind = object ? Demangle(typeid(*object).name()) : "\"" + Narrow(seen.caption) + "\"";
  if (auto* search = dynamic_cast<CSearchDlg*>(object)) seen.similarSearch = search->InSimilarMode();
  ::EnumChildWindows(wnd, &CollectChild, reinterpret_cast<LPARAM>(&seen));
  return seen;
}

bool IsTool(HWND wnd) { return dynamic_cast<CToolWindow*>(orv::CWindowImplRoot::FromHandle(wnd)) != nullptr; }

void ReadMenu(HWND popup) {
  auto menu = reinterpret_cast<HMENU>(::SendMessageW(popup, MN_GETHMENU, 0, 0));
  if (!menu) return;
  g_outcome->menuShown = true;
  for (int i = 0; i < ::GetMenuItemCount(menu); ++i) {
    const UINT id = ::GetMenuItemID(menu, i);
    if (id == 0 || id == static_cast<UINT>(-1)) continue;  // separators and submenus
    const bool off = (::GetMenuState(menu, i, MF_BYPOSITION) & (MF_DISABLED | MF_GRAYED)) != 0;
    g_outcome->menu.push_back({id, !off});
  }
}

BOOL CALLBACK CatchOne(HWND wnd, LPARAM) {
  if (!::IsWindowVisible(wnd) || g_before.count(wnd) || g_handled.count(wnd)) return TRUE;
  const std::wstring cls = ClassOf(wnd);
  if (cls == L"#32768") {
    g_handled.insert(wnd);
    ReadMenu(wnd);
    ::EndMenu();
    return TRUE;
  }
  // The innermost modal window is the enabled one; tool windows are closed after the command.
  if (cls != L"#32770" || !::IsWindowEnabled(wnd) || IsTool(wnd)) return TRUE;
  g_handled.insert(wnd);
  g_outcome->modal.push_back(Describe(wnd));
  ::PostMessageW(wnd, WM_COMMAND, IDCANCEL, 0);
  return TRUE;
}

void CALLBACK CatchTick(HWND, UINT, UINT_PTR, DWORD) {
  if (g_outcome) ::EnumThreadWindows(::GetCurrentThreadId(), &CatchOne, 0);
}

BOOL CALLBACK CollectVisible(HWND wnd, LPARAM out) {
  if (::IsWindowVisible(wnd)) reinterpret_cast<std::set<HWND>*>(out)->insert(wnd);
  return TRUE;
}

void RecordHelp(HWND, const std::wstring&, UINT command, DWORD_PTR data) {
  if (g_outcome) g_outcome->help.emplace_back(command, data);
}

bool RecordStart(const SHELLEXECUTEINFOW& info) {
  if (g_outcome) g_outcome->started.push_back(std::wstring(info.lpVerb ? info.lpVerb : L"") + L"|" + info.lpFile);
  return false;  // as if the start failed: this process goes on
}

void RecordOpen(HWND, const std::wstring& target) {
  if (g_outcome) g_outcome->opened.push_back(target);
}

void OpenNothing(HWND, const std::wstring&) {}

int RecordFileOperation(SHFILEOPSTRUCTW* operation) {
  if (g_outcome)
    g_outcome->fileOperations.push_back(std::to_wstring(operation->wFunc) + L"|" +
                                        (operation->pFrom ? operation->pFrom : L""));
  operation->fAnyOperationsAborted = TRUE;  // the user said no
  return 0;
}

void RecordCall(const wchar_t* call, const wchar_t* argument) {
  if (g_outcome) g_outcome->systemCalls.push_back(std::wstring(call) + L"|" + (argument ? argument : L""));
}
int RefuseAddFont(const wchar_t* path) {
  RecordCall(L"add", path);
  return 0;
}
BOOL RefuseRemoveFont(const wchar_t* path) {
  RecordCall(L"remove", path);
  return FALSE;
}
LSTATUS RefuseSetValue(HKEY, const wchar_t* name, DWORD, const BYTE*, DWORD) {
  RecordCall(L"set", name);
  return ERROR_ACCESS_DENIED;
}
LSTATUS RefuseDeleteValue(HKEY, const wchar_t* name) {
  RecordCall(L"delete", name);
  return ERROR_ACCESS_DENIED;
}

const seams::SystemCalls kNothingChanges{&RefuseAddFont, &RefuseRemoveFont, &RefuseSetValue, &RefuseDeleteValue,
                                         &RecordFileOperation};

}  // namespace

bool SeenWindow::HasControl(int id) const { return std::find(controls.begin(), controls.end(), id) != controls.end(); }

std::string Outcome::Describe() const {
  std::string text;
  for (const SeenWindow& w : modal) text += "modal " + w.kind + " \"" + Narrow(w.caption) + "\"; ";
  for (const SeenWindow& w : tools) text += "tool " + w.kind + "; ";
  if (menuShown) text += "menu of " + std::to_string(menu.size()) + " items; ";
  for (const auto& [command, data] : help) text += "help " + std::to_string(command) + "/" + std::to_string(data) + "; ";
  for (const std::wstring& s : opened) text += "opened " + Narrow(s) + "; ";
  for (const std::wstring& s : started) text += "started " + Narrow(s) + "; ";
  for (const std::wstring& s : fileOperations) text += "file operation " + Narrow(s) + "; ";
  for (const std::wstring& s : systemCalls) text += "system call " + Narrow(s) + "; ";
  for (const RecordedBox& b : boxes) text += "box \"" + Narrow(b.caption) + ": " + Narrow(b.text) + "\"; ";
  if (!beeps.empty()) text += std::to_string(beeps.size()) + " beeps; ";
  return text.empty() ? "nothing" : text;
}

SweepSinks::SweepSinks() {
  seams::SetHelpSink(&RecordHelp);
  seams::SetProgramStartSink(&RecordStart);
  seams::SetShellOpenSink(&RecordOpen);
  seams::SetSystemCalls(&kNothingChanges);
}

SweepSinks::~SweepSinks() {
  seams::SetHelpSink(nullptr);
  seams::SetProgramStartSink(nullptr);
  seams::SetShellOpenSink(&OpenNothing);  // as the test main leaves it: no test opens a browser
  seams::SetSystemCalls(nullptr);
}

std::set<HWND> ThreadWindows() {
  std::set<HWND> windows;
  ::EnumThreadWindows(::GetCurrentThreadId(), &CollectVisible, reinterpret_cast<LPARAM>(&windows));
  return windows;
}

Outcome RunCommand(const std::function<void()>& send, const std::function<bool()>& toolsEmpty) {
  Outcome outcome;
  ResetRecords();
  SetBoxAnswer(IDNO);  // questions are answered no: nothing is installed, removed or deleted
  g_before = ThreadWindows();
  g_handled.clear();
  g_outcome = &outcome;
  const UINT_PTR timer = ::SetTimer(nullptr, 0, kCatchTickMs, &CatchTick);
  send();
  PumpMessages(kPostedWorkMs);  // what the command posted, and the windows that opens
  ::KillTimer(nullptr, timer);
  std::vector<HWND> tools;
  for (HWND wnd : ThreadWindows())
    if (!g_before.count(wnd) && IsTool(wnd)) tools.push_back(wnd);
  for (HWND wnd : tools) {
    outcome.tools.push_back(Describe(wnd));
    ::PostMessageW(wnd, WM_CLOSE, 0, 0);
  }
  for (int i = 0; i < kToolCloseTries && !tools.empty() && !toolsEmpty(); ++i) PumpMessages(20);
  outcome.toolSlotsEmpty = toolsEmpty();
  g_outcome = nullptr;
  outcome.boxes = Boxes();
  outcome.beeps = Beeps();
  ResetRecords();
  SetBoxAnswer(IDNO);
  return outcome;
}

}  // namespace command_sweep
