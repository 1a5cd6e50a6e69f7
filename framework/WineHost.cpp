#include "framework/WineHost.h"

#include <windows.h>

#include <atomic>

namespace {
// -1: ask ntdll; 0 or 1: the test's answer.
std::atomic<int> g_answer{-1};

bool NtdllIsWines() {
  const HMODULE ntdll = ::GetModuleHandleW(L"ntdll.dll");
  return ntdll && ::GetProcAddress(ntdll, "wine_get_version") != nullptr;
}
}  // namespace

namespace orv {

bool RunsUnderWine() {
  const int answer = g_answer.load();
  if (answer >= 0) return answer != 0;
  static const bool underWine = NtdllIsWines();
  return underWine;
}

}  // namespace orv

namespace seams {

void SetRunsUnderWine(std::optional<bool> answer) { g_answer = answer ? (*answer ? 1 : 0) : -1; }

}  // namespace seams
