#include "framework/AppModule.h"

namespace orv {

CAppModule g_Module;

void CAppModule::Init(HINSTANCE instance) {
  instance_ = instance ? instance : ::GetModuleHandleW(nullptr);
  resourceInstance_ = instance_;
}

void CAppModule::Term() {
  std::lock_guard guard(lock_);
  loops_.clear();
}

HINSTANCE CAppModule::SetResourceInstance(HINSTANCE resources) {
  HINSTANCE previous = GetResourceInstance();
  resourceInstance_ = resources;
  return previous;
}

bool CAppModule::AddMessageLoop(CMessageLoop* loop) {
  std::lock_guard guard(lock_);
  return loops_.emplace(::GetCurrentThreadId(), loop).second;
}

bool CAppModule::RemoveMessageLoop() {
  std::lock_guard guard(lock_);
  return loops_.erase(::GetCurrentThreadId()) != 0;
}

CMessageLoop* CAppModule::GetMessageLoop(DWORD threadId) const {
  std::lock_guard guard(lock_);
  auto it = loops_.find(threadId);
  return it == loops_.end() ? nullptr : it->second;
}

}  // namespace orv
