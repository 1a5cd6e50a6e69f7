// A stand-in for the resource library that carries the same resources and also code: its entry
// point leaves an empty file "<its own path>.ran" beside itself. Loaded the way the program
// loads OrvelRes64, it must never leave that file.
#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
  if (reason != DLL_PROCESS_ATTACH) return TRUE;
  wchar_t path[MAX_PATH + 8] = {};
  const DWORD n = ::GetModuleFileNameW(instance, path, MAX_PATH);
  if (n == 0 || n >= MAX_PATH) return TRUE;
  ::lstrcatW(path, L".ran");
  HANDLE mark = ::CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (mark != INVALID_HANDLE_VALUE) ::CloseHandle(mark);
  return TRUE;
}
