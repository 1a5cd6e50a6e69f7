#include "common/ResString.h"

#include <cstdarg>

#include "common/Seams.h"
#include "common/StringHelpers.h"
#include "framework/AppModule.h"

namespace {

constexpr int kWsprintfLimit = 1024;

std::wstring VFormat(const wchar_t* format, va_list args) {
  wchar_t buffer[kWsprintfLimit + 1];
  const int n = ::wvsprintfW(buffer, format, args);
  return std::wstring(buffer, n > 0 ? static_cast<size_t>(n) : 0);
}

}  // namespace

std::wstring LoadResString(UINT id) {
  if (auto source = seams::GetStringSource()) return source(id);
  const wchar_t* text = nullptr;
  // With a zero buffer length LoadStringW hands out a pointer into the loaded resource.
  const int len = ::LoadStringW(orv::g_Module.GetResourceInstance(), id, reinterpret_cast<LPWSTR>(&text), 0);
  if (len <= 0 || !text) return {};
  return std::wstring(text, static_cast<size_t>(len));
}

std::wstring ResourceStringField(UINT id, size_t index) { return TokenAt(LoadResString(id), index); }

std::wstring FormatResString(UINT id, ...) {
  const std::wstring format = LoadResString(id);
  va_list args;
  va_start(args, id);
  std::wstring s = VFormat(format.c_str(), args);
  va_end(args);
  return s;
}

std::wstring FormatWide(const wchar_t* format, ...) {
  va_list args;
  va_start(args, format);
  std::wstring s = VFormat(format, args);
  va_end(args);
  return s;
}
