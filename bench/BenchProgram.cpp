#include "bench/BenchProgram.h"

#include <windows.h>
#include <commctrl.h>
#include <objbase.h>

#include <algorithm>
#include <cstdio>

#include "app/AppState.h"
#include "app/Preferences.h"
#include "app/ResourceLibrary.h"
#include "common/Seams.h"
#include "framework/AppModule.h"

namespace {

const char* g_name = "bench";

int ReportBox(HWND, const std::wstring& text, const std::wstring&, UINT) {
  fprintf(stderr, "%s: message box: %ls\n", g_name, text.c_str());
  return IDOK;
}

void IgnoreBeep(UINT) {}

}  // namespace

BenchProgram::BenchProgram(const char* name) {
  g_name = name;
  ::CoInitialize(nullptr);
  INITCOMMONCONTROLSEX icc{sizeof(icc), 0x672F};
  ::InitCommonControlsEx(&icc);
  orv::g_Module.Init(::GetModuleHandleW(nullptr));
  wchar_t exe[MAX_PATH] = {};
  ::GetModuleFileNameW(nullptr, exe, MAX_PATH);
  std::wstring bin = exe;
  bin.resize(bin.find_last_of(L'\\') + 1);
  // Mapped as the program maps it, so that resource loads cost what they cost the program.
  resources_ = LoadResourceLibrary(bin + L"OrvelRes64.dll");
  if (!resources_) {
    fprintf(stderr, "%s: OrvelRes64.dll not found beside the benchmark\n", name);
    return;
  }
  orv::g_Module.SetResourceInstance(resources_.Get());
  seams::SetMessageBoxSink(&ReportBox);
  seams::SetBeepSink(&IgnoreBeep);
  SetDefaultPreferences(g_Preferences);
  g_AppState.FontCache.SetLimit(g_Preferences.FontCacheSize);
  g_AppState.FontCache.SetReady(true);
}

BenchProgram::~BenchProgram() {
  orv::g_Module.Term();
  ::CoUninitialize();
}

std::wstring BenchDataFolder() {
  wchar_t value[MAX_PATH] = {};
  if (!::GetEnvironmentVariableW(L"ORVEL_BENCH_DATA", value, MAX_PATH)) return {};
  std::wstring path = value;
  if (!path.empty() && path[0] == L'/') path = L"Z:" + path;
  std::replace(path.begin(), path.end(), L'/', L'\\');
  while (!path.empty() && path.back() == L'\\') path.pop_back();
  return path;
}

int BenchRuns(int fallback) {
  wchar_t value[16] = {};
  if (!::GetEnvironmentVariableW(L"ORVEL_BENCH_RUNS", value, 16)) return fallback;
  return std::max(1, _wtoi(value));
}
