#include "app/ResourceLibrary.h"

orv::ScopedModule LoadResourceLibrary(const std::wstring& path) {
  return orv::ScopedModule(::LoadLibraryExW(path.c_str(), nullptr, kResourceLibraryLoadFlags));
}
