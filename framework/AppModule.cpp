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

ScopedIcon CAppModule::LoadResourceIcon(UINT id, int width, int height) const {
  const UINT sizing = width == 0 && height == 0 ? LR_DEFAULTSIZE : 0;
  return ScopedIcon(
      static_cast<HICON>(::LoadImageW(GetResourceInstance(), MAKEINTRESOURCEW(id), IMAGE_ICON, width, height, sizing)));
}

ScopedCursor CAppModule::LoadResourceCursor(UINT id) const {
  return ScopedCursor(
      static_cast<HCURSOR>(::LoadImageW(GetResourceInstance(), MAKEINTRESOURCEW(id), IMAGE_CURSOR, 0, 0, LR_DEFAULTSIZE)));
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
