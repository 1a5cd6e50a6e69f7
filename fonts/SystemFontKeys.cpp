#include "fonts/SystemFontKeys.h"

namespace {

HKEY g_redirectRoot = nullptr;
std::wstring g_redirectPrefix;

}  // namespace

SystemFontKey MakeSystemFontKey(HKEY systemRoot, const wchar_t* path) {
  if (g_redirectPrefix.empty()) return {systemRoot, path};
  const wchar_t* hive = systemRoot == HKEY_LOCAL_MACHINE ? L"\\Machine\\" : L"\\User\\";
  return {g_redirectRoot, g_redirectPrefix + hive + path};
}

void seams::RedirectSystemFontKeys(HKEY root, const std::wstring& prefix) {
  g_redirectRoot = root;
  g_redirectPrefix = prefix;
}
