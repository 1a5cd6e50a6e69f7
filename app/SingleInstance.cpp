#include "app/SingleInstance.h"

#include "framework/Handles.h"

namespace {
// Made on first use: the entry point's module claims the mutex during its own static
// initialisation, before this file's objects would be built.
orv::ScopedHandle& InstanceMutex() {
  static orv::ScopedHandle mutex;
  return mutex;
}
}  // namespace

bool SingleInstance::Claim() {
  orv::ScopedHandle& mutex = InstanceMutex();
  if (mutex) return true;
  HANDLE created = ::CreateMutexW(nullptr, FALSE, kSingleInstanceName);
  const DWORD error = ::GetLastError();
  mutex.Reset(created);
  return !(created && error == ERROR_ALREADY_EXISTS);
}

void SingleInstance::Release() { InstanceMutex().Reset(); }

bool SingleInstance::Held() { return static_cast<bool>(InstanceMutex()); }
